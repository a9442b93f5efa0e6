// Fuzzes the lookup catalogue consultas.tkw. Whatever the file holds, looking a table up never fails and never
// changes the file, and gives the first whole 1202-byte record whose cleaned table is the one asked for (a short
// record at the end is no record), or none. Every record the reader gives, written again by the catalogue's
// writer, comes back as the same bytes (but the end of record, which the reader never reads and the writer always
// writes as CR LF) and reads back as the same record. The standard catalogue the start-up writes reads back too.
#include <QFile>
#include <QStringList>

#include "Catalogo.h"
#include "Cp1252.h"
#include "Entorno.h"
#include "LecturaCatalogo.h"
#include "Texto.h"

namespace {

QByteArray Lee(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escribe(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    EXIGE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(), "cannot write %s",
          qPrintable(ruta));
}

bool Iguales(const ConsultaCatalogo& a, const ConsultaCatalogo& b) {
    return a.Nombre == b.Nombre && a.Tabla == b.Tabla && a.Campos == b.Campos && a.Extra == b.Extra;
}

// A whole record's fields, cut at the offsets of the format.
ConsultaCatalogo Campos(const QByteArray& registro) {
    return {DeCp1252(registro.mid(0, 100)), DeCp1252(registro.mid(100, 100)), DeCp1252(registro.mid(200, 500)),
            DeCp1252(registro.mid(700, 500))};
}

// The record the writer makes of a record read: its fields untrimmed, as the reader gave them.
QByteArray Reescrito(const ConsultaCatalogo& r) {
    return RegistroCatalogo(r.Nombre, r.Tabla, r.Campos, r.Extra);
}

// Writer, then reader: each record comes back as the bytes the writer made.
void VuelveIgual(const ConsultaCatalogo& r, const QByteArray& original, const QString& ruta) {
    const QByteArray escrito = Reescrito(r);
    EXIGE(escrito.size() == kLargoConsulta, "a rewritten record has %lld bytes",
          static_cast<long long>(escrito.size()));
    EXIGE(escrito.endsWith("\r\n"), "a rewritten record does not end in CR LF");
    EXIGE(escrito.left(kLargoConsulta - 2) == original.left(kLargoConsulta - 2), "the record changed on rewriting: %s",
          qPrintable(CampoLimpio(r.Tabla)));
    Escribe(ruta, escrito);
    const std::optional<ConsultaCatalogo> otra = BuscaConsulta(ruta, CampoLimpio(r.Tabla));
    EXIGE(otra && Iguales(*otra, r), "the rewritten record does not read back: %s", qPrintable(CampoLimpio(r.Tabla)));
}

// The writer's standard catalogue, once: each of its tables finds its own record, which rewrites as it was.
void CatalogoEstandar(EntornoFuzz& entorno) {
    static bool hecho = false;
    if (hecho) return;
    hecho = true;
    const QString ruta = entorno.Ruta(QStringLiteral("estandar.tkw"));
    EscribeCatalogo(ruta);
    const QByteArray bytes = Lee(ruta);
    EXIGE(bytes.size() == 11 * kLargoConsulta, "the standard catalogue has %lld bytes",
          static_cast<long long>(bytes.size()));
    for (qsizetype i = 0; i < bytes.size(); i += kLargoConsulta) {
        const QByteArray registro = bytes.mid(i, kLargoConsulta);
        const QString tabla = CampoLimpio(DeCp1252(registro.mid(100, 100)));
        const std::optional<ConsultaCatalogo> r = BuscaConsulta(ruta, tabla);
        EXIGE(r && Reescrito(*r) == registro, "standard lookup %s not read back", qPrintable(tabla));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz& entorno = EntornoFuzz::Uno();
    entorno.Reinicia();
    CatalogoEstandar(entorno);

    const QByteArray contenido(reinterpret_cast<const char*>(bytes), qsizetype(largo));
    const QString ruta = entorno.Ruta(QStringLiteral("consultas.tkw"));
    Escribe(ruta, contenido);

    // The whole records, and the tables asked for: each record's own, and the one a short record at the end names.
    QList<QByteArray> registros;
    for (qsizetype i = 0; i + kLargoConsulta <= contenido.size(); i += kLargoConsulta)
        registros << contenido.mid(i, kLargoConsulta);
    QStringList tablas;
    for (const QByteArray& registro : registros) tablas << CampoLimpio(Campos(registro).Tabla);
    const qsizetype resto = contenido.size() % kLargoConsulta;
    if (resto > 100) tablas << CampoLimpio(DeCp1252(contenido.right(resto).mid(100, 100)));
    tablas << QStringLiteral(" V_MA_ARTICULOS ");

    for (const QString& tabla : tablas) {
        qsizetype primero = -1;
        for (qsizetype k = 0; k < registros.size() && primero < 0; ++k)
            if (IgualesTexto(CampoLimpio(DeCp1252(registros[k].mid(100, 100))), Recorta(tabla))) primero = k;
        const std::optional<ConsultaCatalogo> r = BuscaConsulta(ruta, tabla);
        EXIGE(r.has_value() == (primero >= 0), "\"%s\": found %d, first whole record with it %lld", qPrintable(tabla),
              int(r.has_value()), static_cast<long long>(primero));
        if (r) EXIGE(Iguales(*r, Campos(registros[primero])), "\"%s\": not the first record", qPrintable(tabla));
    }
    EXIGE(Lee(ruta) == contenido, "the lookup changed the file");

    // Rewritten by the writer, one record at a time.
    const QString otra = entorno.Ruta(QStringLiteral("reescrito.tkw"));
    for (const QByteArray& registro : registros) VuelveIgual(Campos(registro), registro, otra);
    return 0;
}
