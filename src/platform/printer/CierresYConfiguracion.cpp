// The handlers of the closes, the status, and the device's settings: header and trailer lines, date and time,
// drawers, the invoice sheet, its zones and its design.
#include "ImpresoraSimuladaInterna.h"

#include <algorithm>

#include <QDateTime>

#include "Proceso.h"

using namespace simulada;

ImpresoraSimulada::Resultado ImpresoraSimulada::VerEstado_(MemoriaFiscal& m, const Argumentos&) {
    respuestas_[0] = QString::number(m.numeros.value("tique"));
    respuestas_[1] = QString::number(m.numeros.value("A"));
    respuestas_[2] = QString::number(std::max(m.numeros.value("B"), m.numeros.value("C")));
    respuestas_[3] = QString::number(m.numeros.value("dnf"));
    respuestas_[4] = QString::number(m.numeros.value("dnfh"));
    respuestas_[5] = QString::number(m.numeros.value("z"));
    respuestas_[6] = HoraImpresora(m).toString(QStringLiteral("yyMMdd HHmmss"));
    respuestas_[7] = QStringLiteral("COM%1 %2").arg(m.puerto).arg(m.baud);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::RealizarCierre_(MemoriaFiscal& m, const Argumentos& a) {
    const bool z = a[0] == QLatin1String("Z");
    const QString clave = z ? QStringLiteral("z") : QStringLiteral("x");
    const auto siguiente = Siguiente(m.numeros, clave);
    if (!siguiente) return Resultado::MemoriaLlena;
    const int numero = *siguiente;
    const auto& t = m.diarios;

    // The report prints unless an X close asks for no print ("N").
    if (a.size() < 2 || a[1] != QLatin1String("N")) {
        ImprimeEncabezado(
            m, (z ? QStringLiteral("INFORME DIARIO DE CIERRE Z Nro ") : QStringLiteral("INFORME DE CIERRE X Nro ")) +
                   QString::number(numero));
        Imprime(Renglon(QStringLiteral("Tiques"), QString::number(t.tiques)));
        Imprime(Renglon(QStringLiteral("Tiques factura"), QString::number(t.tiquesFactura)));
        Imprime(Renglon(QStringLiteral("Facturas"), QString::number(t.facturas)));
        Imprime(Renglon(QStringLiteral("Cancelados"), QString::number(t.cancelados)));
        Imprime(Renglon(QStringLiteral("No fiscales"), QString::number(t.dnf)));
        Imprime(Renglon(QStringLiteral("No fiscales homologados"), QString::number(t.dnfh)));
        ImprimeImporte(QStringLiteral("Total ventas"), t.ventas);
        ImprimeImporte(QStringLiteral("Total IVA"), t.iva);
        ImprimeImporte(QStringLiteral("Total descuentos"), t.descuentos);
        Imprime(Renglon(QStringLiteral("Último tique"), QString::number(m.numeros.value("tique"))));
        Imprime(Renglon(QStringLiteral("Última factura A"), QString::number(m.numeros.value("A"))));
        Imprime(Raya(QLatin1Char('=')));
    }
    respuestas_[0] = QString::number(numero);
    respuestas_[1] = QString::number(t.Fiscales());
    respuestas_[2] = QString::number(t.cancelados);
    respuestas_[3] = QString::number(t.ventas);
    respuestas_[4] = QString::number(t.iva);
    respuestas_[5] = QString::number(m.numeros.value("tique"));
    respuestas_[6] = QString::number(m.numeros.value("A"));
    respuestas_[7] = QString::number(t.descuentos);

    // A Z close ends the fiscal day, and with it the notice of a memory started afresh.
    if (z) {
        m.diarios = {};
        nuevoDia_ = true;
    }
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::HeaderTrailer_(MemoriaFiscal& m, const Argumentos& a) {
    const int linea = a.valores[1].Tipo() == TipoVariant::String ? a[1].toInt() : a.Entero(1);
    respuestas_[0] = QString::number(linea);
    if (a[0] == QLatin1String("G")) {
        if (a.size() != 2) return Resultado::ArgumentoInvalido;
        respuestas_[6] = m.lineas.value(linea);
        return Resultado::Acepta;
    }
    if (a.size() != 3) return Resultado::ArgumentoInvalido;
    if (a[2] == kBorrado)
        m.lineas.remove(linea);
    else
        m.lineas[linea] = a[2];
    respuestas_[6] = m.lineas.value(linea);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::HoraFecha_(MemoriaFiscal& m, const Argumentos& a) {
    const QDateTime fijada(FechaAAMMDD(a[1]), HoraHHMMSS(a[2]));
    m.desfaseReloj = proceso().Ahora().secsTo(fijada);
    Imprime(Renglon(QStringLiteral("Fecha y hora ajustadas"), fijada.toString(QStringLiteral("dd/MM/yy HH:mm:ss"))));
    respuestas_[0] = a[1];
    respuestas_[1] = a[2];
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::Cajon_(MemoriaFiscal&, const Argumentos& a) {
    Imprime(QStringLiteral("--- apertura de cajón ") + a[0] + QStringLiteral(" ---"));
    return Resultado::Acepta;
}

// Columns 20 to 136 and lines 20 to 120: the invoice sheet when idle, the slip sheet once the slip is prepared.
ImpresoraSimulada::Resultado ImpresoraSimulada::FormatoHoja_(MemoriaFiscal& m, const Argumentos& a) {
    const int columnas = a.Entero(0), lineas = a.Entero(1);
    if (columnas < 20 || columnas > 136 || lineas < 20 || lineas > 120) return Resultado::ArgumentoInvalido;
    if (m.estado == EstadoFiscal::SlipPreparado) {
        m.columnasSlip = columnas;
        m.lineasSlip = lineas;
    } else {
        m.columnas = columnas;
        m.lineasHoja = lineas;
    }
    return Resultado::Acepta;
}

// A zone is a rectangle of the invoice sheet: columns A to C, lines B to D.
ImpresoraSimulada::Resultado ImpresoraSimulada::SetZona_(MemoriaFiscal& m, const Argumentos& a) {
    const MemoriaFiscal::Zona z{a.Entero(1), a.Entero(2), a.Entero(3), a.Entero(4)};
    if (z.a > z.c || z.b > z.d || z.c > m.columnas || z.d > m.lineasHoja) return Resultado::ArgumentoInvalido;
    m.zonas[a.Entero(0)] = z;
    return Resultado::Acepta;
}

namespace {
// The design option groups: the group letter, how many texts the call has, and each option's check.
struct GrupoDiseno {
    const char* grupo;
    int argumentos;
    QList<Chequeo> opciones;  // arguments 3 onwards
};
const QList<GrupoDiseno>& GruposDiseno() {
    static const QList<GrupoDiseno> grupos{
        {"D", 6, {C("M|G|C"), C("F|R"), C("A|M"), C("N|S")}},
        {"P", 7, {C("R|C"), C("S|D"), C("U|D"), D(3), D(3)}},
        {"C", 6, {C("O|D|T"), D(4), D(2), D(2)}},
    };
    return grupos;
}
}  // namespace

ImpresoraSimulada::Resultado ImpresoraSimulada::SeteaDiseno_(MemoriaFiscal& m, const Argumentos& a) {
    for (const GrupoDiseno& g : GruposDiseno()) {
        if (a[1] != QLatin1String(g.grupo)) continue;
        if (a.size() != g.argumentos) return Resultado::ArgumentoInvalido;
        for (int i = 2; i < a.size(); ++i)
            if (!Cumple(g.opciones[i - 2], a.valores[i], a[i])) return Resultado::ArgumentoInvalido;
        m.diseno[a[1]] = a.textos.mid(2);
        return Resultado::Acepta;
    }
    return Resultado::ArgumentoInvalido;
}
