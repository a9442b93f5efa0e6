// The handlers of the fiscal documents: tickets, ticket-invoices and invoices on sheets, from their opening to
// their close or cancel. Each works on the copy of the memory it is given and says whether the command is accepted.
#include "ImpresoraSimuladaInterna.h"

#include <algorithm>
#include <limits>

using namespace simulada;

namespace {
// a × b / divisor, rounded half away from zero.
qint64 Redondea(qint64 a, qint64 b, qint64 divisor) {
    const qint64 p = a * b;
    return (p >= 0 ? p + divisor / 2 : p - divisor / 2) / divisor;
}

// A closed document into the day's totals: its kind's count, sales, VAT and discounts. False, and the day as it
// was, when one of them would pass its limit or the net of an invoice "A" would not fit.
bool SumaAlDia(MemoriaFiscal& m, int& cuenta) {
    const auto& d = m.documento;
    MemoriaFiscal::Totales t = m.diarios;
    int c = cuenta;
    qint64 neto;
    if (!Suma(c, 1) || !Suma(t.ventas, d.Total()) || !Suma(t.iva, d.Iva()) || !Suma(t.descuentos, d.descuentos) ||
        __builtin_sub_overflow(d.importe, d.Iva(), &neto))
        return false;
    m.diarios.ventas = t.ventas;
    m.diarios.iva = t.iva;
    m.diarios.descuentos = t.descuentos;
    cuenta = c;
    return true;
}
}  // namespace

// Ends the open fiscal document without adding it to the sales: its number stays used.
ImpresoraSimulada::Resultado ImpresoraSimulada::CancelaDocumento(MemoriaFiscal& m) {
    if (!Suma(m.diarios.cancelados, 1)) return Resultado::MemoriaLlena;
    Imprime(Raya());
    Imprime(Centrado(QStringLiteral("*** DOCUMENTO CANCELADO ***")));
    Imprime(Raya(QLatin1Char('=')));
    respuestas_[0] = QString::number(m.documento.numero);
    m.documento = {};
    m.estado = EstadoFiscal::Libre;
    aviso_ = Bit2::DocumentoCancelado;
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::TiqueAbrir_(MemoriaFiscal& m, const Argumentos& a) {
    const auto siguiente = Siguiente(m.numeros, QStringLiteral("tique"));
    if (!siguiente) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    m.documento = {};
    m.documento.clase = QStringLiteral("tique");
    m.documento.numero = numero;
    ImprimeEncabezado(
        m, (a[0] == QLatin1String("C") ? QStringLiteral("TIQUE DE CAMBIO Nro ") : QStringLiteral("TIQUE Nro ")) +
               NumeroDocumento(numero));
    m.estado = EstadoFiscal::Tique;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::FacturaAbrir_(MemoriaFiscal& m, const Argumentos& a) {
    // 1. The customer: a letter "A" goes to a registered buyer with a CUIT; a CUIT or CUIL has its check digit.
    const QString& letra = a[2];
    const QString& tipoDoc = a[10];
    if (letra == QLatin1String("A") &&
        (a[6] != QLatin1String("I") || (a[7] != QLatin1String("I") && a[7] != QLatin1String("N")) ||
         tipoDoc != QLatin1String("CUIT")))
        return Resultado::ArgumentoInvalido;
    if ((tipoDoc == QLatin1String("CUIT") || tipoDoc == QLatin1String("CUIL")) && !CuitValido(a[11]))
        return Resultado::ArgumentoInvalido;

    // 2. The number, and the document's head.
    const auto siguiente = Siguiente(m.numeros, letra);
    if (!siguiente) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    m.documento = {};
    m.documento.clase = a[0];
    m.documento.letra = letra;
    m.documento.comprador = a[7];
    m.documento.numero = numero;
    const bool hojas = a[0] == QLatin1String("F");
    const QString titulo = (hojas ? QStringLiteral("FACTURA \"") : QStringLiteral("TIQUE FACTURA \"")) + letra +
                           QStringLiteral("\" Nro ") + NumeroDocumento(numero);
    ImprimeEncabezado(m, titulo);
    for (int n = 21; n <= 65; ++n)
        if (!m.lineas.value(n).isEmpty()) Imprime(m.lineas.value(n));
    if (hojas) Imprime(Centrado(QStringLiteral("Hoja 1")));
    static const QMap<QString, QString> condiciones{
        {"I", "Responsable inscripto"}, {"N", "Responsable no inscripto"}, {"E", "Exento"},
        {"M", "Monotributo"},           {"F", "Consumidor final"},         {"A", "No alcanzado"}};
    Imprime(QStringLiteral("Cliente: ") + (a[8] + QLatin1Char(' ') + a[9]).trimmed());
    Imprime(tipoDoc + QStringLiteral(": ") +
            (tipoDoc == QLatin1String("CUIT") || tipoDoc == QLatin1String("CUIL") ? CuitConGuiones(a[11]) : a[11]));
    Imprime(QStringLiteral("IVA: ") + condiciones.value(a[7]));
    const QString domicilio = QStringList{a[13], a[14], a[15]}.join(QLatin1Char(' ')).simplified();
    if (!domicilio.isEmpty()) Imprime(QStringLiteral("Domicilio: ") + domicilio);
    const QString remitos = QStringList{a[16], a[17]}.join(QLatin1Char(' ')).simplified();
    if (!remitos.isEmpty()) Imprime(QStringLiteral("Remitos: ") + remitos);
    Imprime(Raya());
    m.estado = EstadoFiscal::Factura;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

// TiqueItem and FacturaItem: description, quantity (3 decimals), unit price (2 decimals), VAT rate (2 decimals),
// "M" to sell or "m" to take back, packages, internal tax per unit; FacturaItem adds three extra description
// lines, the surcharge rate for a buyer not registered, and a product code.
ImpresoraSimulada::Resultado ImpresoraSimulada::Item_(MemoriaFiscal& m, const Argumentos& a) {
    auto& d = m.documento;
    if (d.pagando) return Resultado::FueraDeEstado;
    const qint64 cantidad = a.Largo(1), precio = a.Largo(2), internos = a.Largo(6);
    const int tasa = a.Digitos(3);
    const int signo = a[4] == QLatin1String("m") ? -1 : 1;
    if (cantidad == 0) return Resultado::ArgumentoInvalido;

    // An invoice "A" shows net prices and adds the VAT; every other document's prices include it.
    const qint64 neto = Redondea(cantidad, precio, 1000);
    const qint64 impInternos = Redondea(cantidad, internos, 1000);
    qint64 importe, iva;
    if (d.letra == QLatin1String("A")) {
        const int recargo = a.size() > 10 && d.comprador == QLatin1String("N") ? a.Digitos(10) : 0;
        iva = Redondea(neto, tasa + recargo, 10000);
        importe = neto + iva + impInternos;
    } else {
        iva = neto - Redondea(neto, 10000, 10000 + tasa);
        importe = neto + impInternos;
    }
    qint64 nuevoImporte = d.importe, ivaTasa = d.ivaPorTasa.value(tasa);
    if (!Suma(nuevoImporte, signo * importe) || !Suma(ivaTasa, signo * iva)) return Resultado::MemoriaLlena;
    if (nuevoImporte < 0) return Resultado::FueraDeEstado;  // more taken back than sold
    if (!Suma(d.items, 1)) return Resultado::MemoriaLlena;
    d.importe = nuevoImporte;
    d.ivaPorTasa[tasa] = ivaTasa;
    if (!d.IvaCabe()) return Resultado::MemoriaLlena;

    Imprime(Cantidad(cantidad) + QStringLiteral(" x ") + Importe(precio) +
            (a.Largo(5) ? QStringLiteral("  bultos ") + a[5] : QString()));
    Imprime(Renglon(a[0] + QStringLiteral(" (") + Tasa(tasa) + QLatin1Char(')'), Importe(signo * neto)));
    if (impInternos) ImprimeImporte(QStringLiteral("  Impuestos internos"), signo * impInternos);
    for (int i = 7; i <= 9 && i < a.size(); ++i)
        if (!a[i].isEmpty()) Imprime(QStringLiteral("  ") + a[i]);
    if (a.size() > 11 && a.Largo(11)) Imprime(QStringLiteral("  Código ") + a[11]);
    respuestas_[0] = QString::number(d.items);
    respuestas_[1] = QString::number(d.Total());
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::Subtotal_(MemoriaFiscal& m, const Argumentos& a) {
    const auto& d = m.documento;
    if (d.pagando) return Resultado::FueraDeEstado;
    if (a[0] == QLatin1String("P")) ImprimeImporte(a[1].isEmpty() ? QStringLiteral("SUBTOTAL") : a[1], d.Total());
    respuestas_[0] = QString::number(d.items);
    respuestas_[1] = QString::number(d.Total());
    respuestas_[2] = QString::number(d.Iva());
    return Resultado::Acepta;
}

// TiquePago and FacturaPago: "T" a payment, "D" a discount (before any payment), "C" cancels the document.
ImpresoraSimulada::Resultado ImpresoraSimulada::Pago_(MemoriaFiscal& m, const Argumentos& a) {
    auto& d = m.documento;
    const QString& codigo = a[2];
    const qint64 monto = a.Largo(1);
    if (codigo == QLatin1String("C")) {
        return CancelaDocumento(m);
    }
    if (m.estado == EstadoFiscal::FinDeHoja || d.items == 0) return Resultado::FueraDeEstado;
    if (a[0].isEmpty() || monto == 0) return Resultado::ArgumentoInvalido;
    if (codigo == QLatin1String("D")) {
        if (d.pagando) return Resultado::FueraDeEstado;
        if (monto > d.Total()) return Resultado::ArgumentoInvalido;
        d.descuentos += monto;
        ImprimeImporte(a[0], -monto);
    } else {
        if (d.pagado >= d.Total()) return Resultado::FueraDeEstado;  // already paid in full
        if (!Suma(d.pagado, monto)) return Resultado::MemoriaLlena;
        d.pagando = true;
        ImprimeImporte(a[0], monto);
    }
    respuestas_[0] = QString::number(std::max<qint64>(0, d.Total() - d.pagado));
    respuestas_[1] = QString::number(std::max<qint64>(0, d.pagado - d.Total()));
    return Resultado::Acepta;
}

// Closing a ticket that is not paid in full cancels it: that is how the operator clears a ticket left open.
ImpresoraSimulada::Resultado ImpresoraSimulada::TiqueCerrar_(MemoriaFiscal& m, const Argumentos&) {
    auto& d = m.documento;
    if (d.items == 0 || d.pagado < d.Total()) return CancelaDocumento(m);
    if (!SumaAlDia(m, m.diarios.tiques)) return Resultado::MemoriaLlena;
    ImprimeCierreDocumento(m);
    Imprime(Centrado(QStringLiteral("TIQUE Nro ") + NumeroDocumento(d.numero)));
    Imprime(Raya(QLatin1Char('=')));
    respuestas_[0] = QString::number(d.numero);
    respuestas_[1] = QString::number(d.Total());
    respuestas_[2] = QString::number(std::max<qint64>(0, d.pagado - d.Total()));
    m.documento = {};
    m.estado = EstadoFiscal::Libre;
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::FacturaCerrar_(MemoriaFiscal& m, const Argumentos& a) {
    auto& d = m.documento;
    if (a[0] != d.clase || a[1] != d.letra) return Resultado::ArgumentoInvalido;
    if (d.items == 0 || d.pagado < d.Total()) return Resultado::FueraDeEstado;
    const bool hojas = d.clase == QLatin1String("F");
    if (!SumaAlDia(m, hojas ? m.diarios.facturas : m.diarios.tiquesFactura)) return Resultado::MemoriaLlena;
    ImprimeCierreDocumento(m);
    if (!a[2].isEmpty()) Imprime(Centrado(a[2]));
    Imprime(Centrado((hojas ? QStringLiteral("FACTURA \"") : QStringLiteral("TIQUE FACTURA \"")) + d.letra +
                     QStringLiteral("\" Nro ") + NumeroDocumento(d.numero)));
    Imprime(Raya(QLatin1Char('=')));
    respuestas_[0] = QString::number(d.numero);
    respuestas_[1] = QString::number(d.Total());
    respuestas_[2] = QString::number(std::max<qint64>(0, d.pagado - d.Total()));
    m.documento = {};
    m.estado = EstadoFiscal::Libre;
    return Resultado::Acepta;
}

// Only an invoice on sheets has sheets, and a sheet ends after at least one item.
ImpresoraSimulada::Resultado ImpresoraSimulada::FinHoja_(MemoriaFiscal& m, const Argumentos&) {
    auto& d = m.documento;
    if (d.clase != QLatin1String("F") || d.items == 0 || d.pagando) return Resultado::FueraDeEstado;
    if (d.hoja == std::numeric_limits<int>::max()) return Resultado::MemoriaLlena;
    Imprime(Raya());
    ImprimeImporte(QStringLiteral("Transporte a la hoja ") + QString::number(d.hoja + 1), d.Total());
    Imprime(Centrado(QStringLiteral("--- fin de la hoja ") + QString::number(d.hoja) + QStringLiteral(" ---")));
    m.estado = EstadoFiscal::FinDeHoja;
    respuestas_[0] = QString::number(d.hoja);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::SiguienteHoja_(MemoriaFiscal& m, const Argumentos&) {
    auto& d = m.documento;
    if (!Suma(d.hoja, 1)) return Resultado::MemoriaLlena;
    Imprime(Raya(QLatin1Char('=')));
    Imprime(Centrado(QStringLiteral("FACTURA \"") + d.letra + QStringLiteral("\" Nro ") + NumeroDocumento(d.numero)));
    Imprime(Centrado(QStringLiteral("Hoja ") + QString::number(d.hoja)));
    ImprimeImporte(QStringLiteral("Transporte de la hoja ") + QString::number(d.hoja - 1), d.Total());
    Imprime(Raya());
    m.estado = EstadoFiscal::Factura;
    respuestas_[0] = QString::number(d.hoja);
    return Resultado::Acepta;
}
