// Fuzzes Printers.Fis. Whatever the file holds, the lookup never fails and never changes the file, and a record is
// accepted only when it is this workstation's and names a printer; when one is, no earlier record was.
#include <QFile>

#include "ArchivoImpresoras.h"
#include "Cp1252.h"
#include "Entorno.h"
#include "Texto.h"

namespace {
// Whether record bytes are this workstation's, with a printer named: the key and printer fields cleaned as the
// program cleans every field.
bool EsDelPuesto(const QByteArray& registro, const QString& clave) {
    return IgualesTexto(LimpiaCampo(DeCp1252(registro.mid(0, 254))), clave) &&
           !LimpiaCampo(DeCp1252(registro.mid(254, 150))).isEmpty();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz& entorno = EntornoFuzz::Uno();
    entorno.Reinicia();
    // The workstation named as the seeds' records name it.
    entorno.Proceso().maquina = QStringLiteral("CAJA01");
    entorno.Proceso().usuario = QStringLiteral("operador");
    const QString clave = QStringLiteral("CAJA01|operador");

    const QByteArray contenido(reinterpret_cast<const char*>(bytes), qsizetype(largo));
    const QString ruta = entorno.Ruta(QStringLiteral("Printers.Fis"));
    {
        QFile f(ruta);
        EXIGE(f.open(QIODevice::WriteOnly), "cannot write the file");
        f.write(contenido);
    }
    gRegistroImpresora = RegistroImpresora();
    const bool encontrado = LeeRegistroImpresora();

    qsizetype primero = -1;
    for (qsizetype i = 0; i + kLargoRegistroImpresora <= contenido.size() && primero < 0; i += kLargoRegistroImpresora)
        if (EsDelPuesto(contenido.mid(i, kLargoRegistroImpresora), clave)) primero = i;
    EXIGE(encontrado == (primero >= 0), "found %d, first matching record at %lld", int(encontrado),
          static_cast<long long>(primero));
    if (encontrado) {
        EXIGE(IgualesTexto(LimpiaCampo(gRegistroImpresora.ClaveEstacion), clave), "another workstation's record");
        EXIGE(gRegistroImpresora.ClaveEstacion == DeCp1252(contenido.mid(primero, 254)), "not the first record");
    }
    QFile f(ruta);
    EXIGE(f.open(QIODevice::ReadOnly) && f.readAll() == contenido, "the file was changed");
    return 0;
}
