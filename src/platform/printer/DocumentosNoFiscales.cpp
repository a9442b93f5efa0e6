// The handlers of the non-fiscal documents: on the paper, on the slip station, and the homologated card voucher
// and health-insurance document.
#include "ImpresoraSimuladaInterna.h"

using namespace simulada;

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFAbrir_(MemoriaFiscal& m, const Argumentos&) {
    const auto siguiente = Siguiente(m.numeros, QStringLiteral("dnf"));
    if (!siguiente) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    ImprimeEncabezado(m, QStringLiteral("DOCUMENTO NO FISCAL Nro ") + NumeroDocumento(numero));
    m.estado = EstadoFiscal::DNF;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFSlipAbrir_(MemoriaFiscal& m, const Argumentos&) {
    const auto siguiente = Siguiente(m.numeros, QStringLiteral("dnf"));
    if (!siguiente) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    Imprime(QStringLiteral("[SLIP] ") + Raya(QLatin1Char('=')).left(kAncho - 7));
    Imprime(QStringLiteral("[SLIP] DOCUMENTO NO FISCAL Nro ") + NumeroDocumento(numero));
    m.estado = EstadoFiscal::DNFSlip;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFTexto_(MemoriaFiscal& m, const Argumentos& a) {
    const bool slip = m.estado == EstadoFiscal::DNFSlip;
    if (a[0].size() > (slip ? m.columnasSlip : kAncho)) return Resultado::ArgumentoInvalido;
    Imprime((slip ? QStringLiteral("[SLIP] ") : QString()) + a[0]);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFCerrar_(MemoriaFiscal& m, const Argumentos&) {
    const int numero = m.numeros.value("dnf");
    if (!Suma(m.diarios.dnf, 1)) return Resultado::MemoriaLlena;
    if (m.estado == EstadoFiscal::DNFSlip) {
        Imprime(QStringLiteral("[SLIP] --- fin del documento no fiscal Nro ") + QString::number(numero) +
                QStringLiteral(" ---"));
        Imprime(QStringLiteral("[SLIP] retire la hoja"));
    } else {
        Imprime(Raya());
        Imprime(Centrado(QStringLiteral("fin del documento no fiscal")));
        Imprime(Raya(QLatin1Char('=')));
    }
    m.estado = EstadoFiscal::Libre;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

// What a power cut leaves open on the non-fiscal side ends on the paper, saying so: a document keeps its number
// and counts among the day's non-fiscal ones; a slip prepared or placed is given back.
ImpresoraSimulada::Resultado ImpresoraSimulada::CancelaNoFiscal(MemoriaFiscal& m) {
    const int numero = m.numeros.value("dnf");
    switch (m.estado) {
        case EstadoFiscal::DNF:
            Imprime(Raya());
            Imprime(Centrado(QStringLiteral("*** DOCUMENTO NO FISCAL CANCELADO ***")));
            Imprime(Raya(QLatin1Char('=')));
            break;
        case EstadoFiscal::DNFSlip:
            Imprime(QStringLiteral("[SLIP] --- documento no fiscal Nro ") + QString::number(numero) +
                    QStringLiteral(" cancelado ---"));
            Imprime(QStringLiteral("[SLIP] retire la hoja"));
            break;
        case EstadoFiscal::SlipPreparado:
            Imprime(QStringLiteral("[SLIP] --- slip cancelado ---"));
            break;
        case EstadoFiscal::SlipColocado:
            Imprime(QStringLiteral("[SLIP] --- slip cancelado ---"));
            Imprime(QStringLiteral("[SLIP] retire la hoja"));
            break;
        default:
            return Resultado::FueraDeEstado;
    }
    if (m.estado == EstadoFiscal::DNF || m.estado == EstadoFiscal::DNFSlip) {
        if (!Suma(m.diarios.dnf, 1)) return Resultado::MemoriaLlena;
        respuestas_[0] = QString::number(numero);
    }
    m.estado = EstadoFiscal::Libre;
    aviso_ = Bit2::DocumentoCancelado;
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::SlipPreparar_(MemoriaFiscal& m, const Argumentos&) {
    m.estado = EstadoFiscal::SlipPreparado;
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::SlipHojaColocada_(MemoriaFiscal& m, const Argumentos&) {
    m.estado = EstadoFiscal::SlipColocado;
    return Resultado::Acepta;
}

// The card voucher: card, card number, holder, expiry, establishment, voucher, terminal, batch, payment form,
// amount, instalments, currency, till, cashier, authorisation, related voucher, related document, shop code,
// and whether the shop's copy, the customer's copy and the signature line print.
ImpresoraSimulada::Resultado ImpresoraSimulada::DNFHTC_(MemoriaFiscal& m, const Argumentos& a) {
    const auto siguiente = Siguiente(m.numeros, QStringLiteral("dnfh"));
    if (!siguiente || !Suma(m.diarios.dnfh, 1)) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    ImprimeEncabezado(m, QStringLiteral("CUPÓN DE TARJETA Nro ") + NumeroDocumento(numero));
    Imprime(Renglon(QStringLiteral("Tarjeta"), a[0]));
    Imprime(Renglon(QStringLiteral("Número"), a[1]));
    Imprime(Renglon(QStringLiteral("Titular"), a[2]));
    Imprime(Renglon(QStringLiteral("Vencimiento"), Fecha(a[3])));
    Imprime(Renglon(QStringLiteral("Establecimiento"), a[4]));
    Imprime(Renglon(QStringLiteral("Cupón"), a[5]));
    Imprime(Renglon(QStringLiteral("Terminal"), a[6]));
    Imprime(Renglon(QStringLiteral("Lote"), a[7]));
    Imprime(Renglon(QStringLiteral("Forma de pago"), a[8]));
    Imprime(Renglon(QStringLiteral("Importe ") + a[11], Importe(a.Largo(9))));
    Imprime(Renglon(QStringLiteral("Cuotas"), a[10]));
    Imprime(Renglon(QStringLiteral("Caja / cajero"), a[12] + QStringLiteral(" / ") + a[13]));
    Imprime(Renglon(QStringLiteral("Autorización"), a[14]));
    Imprime(Renglon(QStringLiteral("Comprobante asociado"), a[15] + QStringLiteral(" / ") + a[16]));
    Imprime(Renglon(QStringLiteral("Comercio"), a[17]));
    if (a[18] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA COMERCIO")));
    if (a[19] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA CLIENTE")));
    if (a[20] == QLatin1String("P")) Imprime(QStringLiteral("Firma: ______________________________"));
    Imprime(Raya(QLatin1Char('=')));
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

// The health-insurance document: insurer, three plan lines, member number, member, date, two address lines,
// remarks, related document, two extra lines, and five print options (P prints, N does not).
ImpresoraSimulada::Resultado ImpresoraSimulada::DNFHOS_(MemoriaFiscal& m, const Argumentos& a) {
    const auto siguiente = Siguiente(m.numeros, QStringLiteral("dnfh"));
    if (!siguiente || !Suma(m.diarios.dnfh, 1)) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    ImprimeEncabezado(m, QStringLiteral("OBRA SOCIAL Nro ") + NumeroDocumento(numero));
    Imprime(Renglon(QStringLiteral("Obra social"), a[0]));
    for (int i = 1; i <= 3; ++i)
        if (!a[i].isEmpty()) Imprime(QStringLiteral("  ") + a[i]);
    Imprime(Renglon(QStringLiteral("Afiliado"), a[4] + QLatin1Char(' ') + a[5]));
    Imprime(Renglon(QStringLiteral("Fecha"), Fecha(a[6])));
    for (int i = 7; i <= 8; ++i)
        if (!a[i].isEmpty()) Imprime(QStringLiteral("Domicilio: ") + a[i]);
    if (!a[9].isEmpty()) Imprime(QStringLiteral("Observaciones: ") + a[9]);
    Imprime(Renglon(QStringLiteral("Documento asociado"), a[10]));
    for (int i = 11; i <= 12; ++i)
        if (!a[i].isEmpty()) Imprime(a[i]);
    if (a[13] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA OBRA SOCIAL")));
    if (a[14] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA AFILIADO")));
    if (a[15] == QLatin1String("P")) Imprime(QStringLiteral("Firma del afiliado: ____________________"));
    if (a[16] == QLatin1String("P")) Imprime(QStringLiteral("Aclaración: ____________________________"));
    if (a[17] == QLatin1String("P")) Imprime(QStringLiteral("Sello del prestador: ___________________"));
    Imprime(Raya(QLatin1Char('=')));
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}
