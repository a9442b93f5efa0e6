// The simulated printer's status words: the description of each bit, the words as the device's state gives them,
// and the properties read from the control (the two status texts, the reply fields, port and speed).
#include "ImpresoraSimulada.h"

#include "ErrorEjecucion.h"

namespace {
struct DescripcionBit {
    quint16 bit;
    const char* texto;
};
const DescripcionBit kBits1[] = {
    {Bit1::SinComunicacion, "Sin comunicación con la impresora"},
    {Bit1::EsperaHojaSlip, "Esperando una hoja en el slip"},
    {Bit1::HojaEnSlip, "Hoja colocada en el slip"},
    {Bit1::EsperaHojaSiguiente, "Esperando la hoja siguiente"},
    {Bit1::PapelPresente, "Papel presente"},
    {Bit1::EnLinea, "Impresora en línea"},
};
const DescripcionBit kBits2[] = {
    {Bit2::FueraDeEstado, "Comando no válido en el estado actual"},
    {Bit2::ArgumentoInvalido, "Campo de datos inválido"},
    {Bit2::MemoriaReiniciada, "Memoria fiscal reiniciada: el archivo dañado se apartó"},
    {Bit2::ComandoDesconocido, "Comando desconocido"},
    {Bit2::TiqueAbierto, "Tique abierto"},
    {Bit2::FacturaAbierta, "Factura abierta"},
    {Bit2::DNFAbierto, "Documento no fiscal abierto"},
    {Bit2::DNFSlipAbierto, "Documento no fiscal en slip abierto"},
    {Bit2::MemoriaLlena, "Memoria fiscal llena"},
    {Bit2::JornadaAbierta, "Jornada fiscal abierta"},
    {Bit2::EnServicio, "Controlador fiscal en servicio"},
    {Bit2::ErrorAlGuardar, "Error al guardar la memoria fiscal"},
    {Bit2::DocumentoCancelado, "Documento cancelado"},
};

template <size_t N>
QStringList Describe(const DescripcionBit (&tabla)[N], quint16 palabra) {
    QStringList r;
    for (const auto& b : tabla)
        if (palabra & b.bit) r << QString::fromUtf8(b.texto);
    return r;
}

// "0600 Impresora lista": the word in hex and the conditions beyond the base bits, or the base text.
QString TextoEstado(quint16 palabra, quint16 base, const DescripcionBit* tabla, size_t n, const char* listo) {
    QStringList partes;
    for (size_t i = 0; i < n; ++i)
        if ((palabra & tabla[i].bit) && !(base & tabla[i].bit)) partes << QString::fromUtf8(tabla[i].texto);
    QString texto = partes.isEmpty() ? QString::fromUtf8(listo) : partes.join(QStringLiteral(", "));
    return QStringLiteral("%1").arg(palabra, 4, 16, QLatin1Char('0')).toUpper() + QLatin1Char(' ') + texto;
}
}  // namespace

QStringList DescribeBits1(quint16 palabra) {
    return Describe(kBits1, palabra);
}

QStringList DescribeBits2(quint16 palabra) {
    return Describe(kBits2, palabra);
}
quint16 ImpresoraSimulada::Palabra1() const {
    if (!Conectada()) return Bit1::SinComunicacion;
    quint16 p = Bit1::EnLinea | Bit1::PapelPresente;
    switch (memoria_.estado) {
        case EstadoFiscal::SlipPreparado:
            p |= Bit1::EsperaHojaSlip;
            break;
        case EstadoFiscal::SlipColocado:
        case EstadoFiscal::DNFSlip:
            p |= Bit1::HojaEnSlip;
            break;
        case EstadoFiscal::FinDeHoja:
            p |= Bit1::EsperaHojaSiguiente;
            break;
        default:
            break;
    }
    return p;
}

quint16 ImpresoraSimulada::Palabra2() const {
    if (!Conectada()) return 0;
    quint16 p = Bit2::EnServicio | fallo_ | aviso_;
    if (reiniciada_) p |= Bit2::MemoriaReiniciada;
    const auto& d = memoria_.diarios;
    if (d.Fiscales() + d.cancelados + d.dnf + d.dnfh > 0) p |= Bit2::JornadaAbierta;
    switch (memoria_.estado) {
        case EstadoFiscal::Tique:
            p |= Bit2::TiqueAbierto;
            break;
        case EstadoFiscal::Factura:
        case EstadoFiscal::FinDeHoja:
            p |= Bit2::FacturaAbierta;
            break;
        case EstadoFiscal::DNF:
            p |= Bit2::DNFAbierto;
            break;
        case EstadoFiscal::DNFSlip:
            p |= Bit2::DNFSlipAbierto;
            break;
        default:
            break;
    }
    return p;
}

QString ImpresoraSimulada::Lee(const QString& propiedad) {
    if (propiedad == QLatin1String("Estado1")) {
        if (!Conectada()) {
            const QString motivo =
                ocupada_ ? QStringLiteral("Dispositivo ocupado")
                : !puertoEscrito_ || !baudEscrito_
                    ? QStringLiteral("puerto y velocidad sin asignar")
                    : QStringLiteral("la impresora está en COM%1 a %2").arg(memoria_.puerto).arg(memoria_.baud);
            return QStringLiteral("0001 Sin comunicación: ") + motivo;
        }
        return TextoEstado(Palabra1(), Bit1::EnLinea | Bit1::PapelPresente, kBits1, std::size(kBits1),
                           "Impresora lista");
    }
    if (propiedad == QLatin1String("Estado2")) {
        if (!Conectada()) return QStringLiteral("0000 Sin respuesta del controlador fiscal");
        return TextoEstado(Palabra2(), Bit2::EnServicio, kBits2, std::size(kBits2), "Controlador fiscal listo");
    }
    for (int i = 0; i < 8; ++i)
        if (propiedad == QStringLiteral("CampoRespuesta%1").arg(i + 1)) return respuestas_[i];
    if (propiedad == QLatin1String("Puerto")) return puertoEscrito_ ? QString::number(*puertoEscrito_) : QString();
    if (propiedad == QLatin1String("Baud")) return baudEscrito_ ? QString::number(*baudEscrito_) : QString();
    Lanza(Err::ArgumentoInvalido, QStringLiteral("La impresora no tiene la propiedad ") + propiedad);
}
