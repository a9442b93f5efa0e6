// The printer control's members, each forwarded to the generic call.
#include "PrinterFiscal.h"

namespace {
struct Miembro {
    const char* nombre;
    long id;
};
const Miembro kMiembros[] = {
    {"RealizarCierre", 0x60030016},   {"HeaderTrailer", 0x60030019},   {"HoraFecha", 0x6003001A},
    {"VerEstado", 0x6003001B},        {"Cajon", 0x6003001C},           {"DNFAbrir", 0x6003001E},
    {"FormatoHoja", 0x6003001F},      {"SetZona", 0x60030020},         {"SiguienteHoja", 0x60030022},
    {"FinHoja", 0x60030023},          {"SeteaDiseno", 0x60030024},     {"SlipPreparar", 0x60030027},
    {"SlipHojaColocada", 0x60030028}, {"DNFTexto", 0x60030029},        {"DNFCerrar", 0x6003002A},
    {"TiqueAbrir", 0x6003002B},       {"TiqueItem", 0x6003002C},       {"TiqueSubtotal", 0x6003002E},
    {"TiquePago", 0x6003002F},        {"TiqueCerrar", 0x60030030},     {"FacturaAbrir", 0x60030031},
    {"FacturaItem", 0x60030032},      {"FacturaSubtotal", 0x60030034}, {"FacturaPago", 0x60030036},
    {"FacturaCerrar", 0x60030037},    {"DNFHTC", 0x60030038},          {"DNFHOS", 0x60030039},
    {"DNFSlipAbrir", 0x60030041},     {"CampoRespuesta1", 0x6803000A}, {"CampoRespuesta2", 0x6803000B},
    {"CampoRespuesta3", 0x6803000C},  {"CampoRespuesta4", 0x6803000D}, {"CampoRespuesta5", 0x6803000E},
    {"CampoRespuesta6", 0x6803000F},  {"CampoRespuesta7", 0x68030010}, {"CampoRespuesta8", 0x68030011},
    {"Estado1", 0x68030012},          {"Estado2", 0x68030013},         {"Baud", 0x68030014},
    {"Puerto", 0x68030015},
};
}  // namespace

long IdDespacho(const QString& miembro) {
    for (const auto& m : kMiembros)
        if (miembro == QLatin1String(m.nombre)) return m.id;
    return 0;
}

bool PrinterFiscal::RealizarCierre(const QString& tipo, const std::optional<QString>& extra) {
    QList<Variant> a{tipo};
    if (extra) a << *extra;
    return Invoca(QStringLiteral("RealizarCierre"), a);
}

bool PrinterFiscal::HeaderTrailer(const QString& accion, const Variant& linea, const std::optional<QString>& texto) {
    QList<Variant> a{accion, linea};
    if (texto) a << *texto;
    return Invoca(QStringLiteral("HeaderTrailer"), a);
}

bool PrinterFiscal::HoraFecha(const QString& t1, const QString& t2, const QString& t3) {
    return Invoca(QStringLiteral("HoraFecha"), {Variant(t1), Variant(t2), Variant(t3)});
}

bool PrinterFiscal::VerEstado() {
    return Invoca(QStringLiteral("VerEstado"), {});
}

bool PrinterFiscal::Cajon(const QString& t1) {
    return Invoca(QStringLiteral("Cajon"), {Variant(t1)});
}

bool PrinterFiscal::DNFAbrir() {
    return Invoca(QStringLiteral("DNFAbrir"), {});
}

bool PrinterFiscal::FormatoHoja(qint16 n1, qint16 n2) {
    return Invoca(QStringLiteral("FormatoHoja"), {Variant(n1), Variant(n2)});
}

bool PrinterFiscal::SetZona(qint16 n1, qint16 n2, qint16 n3, qint16 n4, qint16 n5) {
    return Invoca(QStringLiteral("SetZona"), {Variant(n1), Variant(n2), Variant(n3), Variant(n4), Variant(n5)});
}

bool PrinterFiscal::SiguienteHoja() {
    return Invoca(QStringLiteral("SiguienteHoja"), {});
}

bool PrinterFiscal::FinHoja() {
    return Invoca(QStringLiteral("FinHoja"), {});
}

bool PrinterFiscal::SeteaDiseno(const QString& t1, const QString& t2, const QString& t3, const QString& t4,
                                const QString& t5, const QString& t6, const std::optional<QString>& t7) {
    QList<Variant> a{t1, t2, t3, t4, t5, t6};
    if (t7) a << *t7;
    return Invoca(QStringLiteral("SeteaDiseno"), a);
}

bool PrinterFiscal::SlipPreparar() {
    return Invoca(QStringLiteral("SlipPreparar"), {});
}

bool PrinterFiscal::SlipHojaColocada() {
    return Invoca(QStringLiteral("SlipHojaColocada"), {});
}

bool PrinterFiscal::DNFTexto(const QString& t1) {
    return Invoca(QStringLiteral("DNFTexto"), {Variant(t1)});
}

bool PrinterFiscal::DNFCerrar() {
    return Invoca(QStringLiteral("DNFCerrar"), {});
}

bool PrinterFiscal::TiqueAbrir(const QString& t1) {
    return Invoca(QStringLiteral("TiqueAbrir"), {Variant(t1)});
}

bool PrinterFiscal::TiqueItem(const QString& t1, const QString& t2, const QString& t3, const QString& t4,
                              const QString& t5, const QString& t6, const QString& t7) {
    return Invoca(QStringLiteral("TiqueItem"),
                  {Variant(t1), Variant(t2), Variant(t3), Variant(t4), Variant(t5), Variant(t6), Variant(t7)});
}

bool PrinterFiscal::TiqueSubtotal(const QString& t1, const QString& t2) {
    return Invoca(QStringLiteral("TiqueSubtotal"), {Variant(t1), Variant(t2)});
}

bool PrinterFiscal::TiquePago(const QString& t1, const QString& t2, const QString& t3) {
    return Invoca(QStringLiteral("TiquePago"), {Variant(t1), Variant(t2), Variant(t3)});
}

bool PrinterFiscal::TiqueCerrar() {
    return Invoca(QStringLiteral("TiqueCerrar"), {});
}

bool PrinterFiscal::FacturaAbrir(const QString& t1, const QString& t2, const QString& t3, const QString& t4,
                                 const QString& t5, const QString& t6, const QString& t7, const QString& t8,
                                 const QString& t9, const QString& t10, const QString& t11, const QString& t12,
                                 const QString& t13, const QString& t14, const QString& t15, const QString& t16,
                                 const QString& t17, const QString& t18, const QString& t19) {
    return Invoca(QStringLiteral("FacturaAbrir"),
                  {Variant(t1), Variant(t2), Variant(t3), Variant(t4), Variant(t5), Variant(t6), Variant(t7),
                   Variant(t8), Variant(t9), Variant(t10), Variant(t11), Variant(t12), Variant(t13), Variant(t14),
                   Variant(t15), Variant(t16), Variant(t17), Variant(t18), Variant(t19)});
}

bool PrinterFiscal::FacturaItem(const QString& t1, const QString& t2, const QString& t3, const QString& t4,
                                const QString& t5, const QString& t6, const QString& t7, const QString& t8,
                                const QString& t9, const QString& t10, const QString& t11, const QString& t12) {
    return Invoca(QStringLiteral("FacturaItem"),
                  {Variant(t1), Variant(t2), Variant(t3), Variant(t4), Variant(t5), Variant(t6), Variant(t7),
                   Variant(t8), Variant(t9), Variant(t10), Variant(t11), Variant(t12)});
}

bool PrinterFiscal::FacturaSubtotal(const QString& t1, const QString& t2) {
    return Invoca(QStringLiteral("FacturaSubtotal"), {Variant(t1), Variant(t2)});
}

bool PrinterFiscal::FacturaPago(const QString& t1, const QString& t2, const QString& t3) {
    return Invoca(QStringLiteral("FacturaPago"), {Variant(t1), Variant(t2), Variant(t3)});
}

bool PrinterFiscal::FacturaCerrar(const QString& t1, const QString& t2, const QString& t3) {
    return Invoca(QStringLiteral("FacturaCerrar"), {Variant(t1), Variant(t2), Variant(t3)});
}

bool PrinterFiscal::DNFHTC(const QString& t1, const QString& t2, const QString& t3, const QString& t4,
                           const QString& t5, const QString& t6, const QString& t7, const QString& t8,
                           const QString& t9, const QString& t10, const QString& t11, const QString& t12,
                           const QString& t13, const QString& t14, const QString& t15, const QString& t16,
                           const QString& t17, const QString& t18, const QString& t19, const QString& t20,
                           const QString& t21) {
    return Invoca(QStringLiteral("DNFHTC"),
                  {Variant(t1),  Variant(t2),  Variant(t3),  Variant(t4),  Variant(t5),  Variant(t6),  Variant(t7),
                   Variant(t8),  Variant(t9),  Variant(t10), Variant(t11), Variant(t12), Variant(t13), Variant(t14),
                   Variant(t15), Variant(t16), Variant(t17), Variant(t18), Variant(t19), Variant(t20), Variant(t21)});
}

bool PrinterFiscal::DNFHOS(const QString& t1, const QString& t2, const QString& t3, const QString& t4,
                           const QString& t5, const QString& t6, const QString& t7, const QString& t8,
                           const QString& t9, const QString& t10, const QString& t11, const QString& t12,
                           const QString& t13, const QString& t14, const QString& t15, const QString& t16,
                           const QString& t17, const QString& t18) {
    return Invoca(QStringLiteral("DNFHOS"),
                  {Variant(t1), Variant(t2), Variant(t3), Variant(t4), Variant(t5), Variant(t6), Variant(t7),
                   Variant(t8), Variant(t9), Variant(t10), Variant(t11), Variant(t12), Variant(t13), Variant(t14),
                   Variant(t15), Variant(t16), Variant(t17), Variant(t18)});
}

bool PrinterFiscal::DNFSlipAbrir() {
    return Invoca(QStringLiteral("DNFSlipAbrir"), {});
}
