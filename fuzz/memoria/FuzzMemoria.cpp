// Fuzzes the simulated printer's saved memory. Bytes that load as a memory save and load back as the same memory;
// and on the device started from them, every sample sequence and the X and Z closes run without failing, and the
// last numbers of the documents never go back.
#include <QFile>

#include "Entorno.h"
#include "ErrorEjecucion.h"
#include "ImpresoraSimulada.h"
#include "Secuencias.h"

namespace {
// The buttons of the sample documents, the invoice layout among them.
const int kSecuencias[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12};

void NumerosNoRetroceden(const QMap<QString, int>& antes, const QMap<QString, int>& despues, const char* paso) {
    for (auto it = antes.begin(); it != antes.end(); ++it)
        EXIGE(despues.value(it.key(), it.value()) >= it.value(), "\"%s\" went from %d to %d after %s",
              qPrintable(it.key()), it.value(), despues.value(it.key()), paso);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz& entorno = EntornoFuzz::Uno();
    entorno.Reinicia();
    const QByteArray contenido(reinterpret_cast<const char*>(bytes), qsizetype(largo));

    // Load, save, load: the same memory.
    if (const auto m = MemoriaFiscal::DesdeJson(contenido)) {
        const QByteArray guardada = m->AJson();
        const auto otra = MemoriaFiscal::DesdeJson(guardada);
        EXIGE(otra.has_value(), "a saved memory does not load");
        EXIGE(otra->AJson() == guardada, "the memory changed on the way through its file");
    }

    // The device started on these bytes, driven as the operator's buttons drive it.
    {
        QFile f(entorno.Ruta(QStringLiteral("ImpresoraSimulada.json")));
        EXIGE(f.open(QIODevice::WriteOnly), "cannot write the memory");
        f.write(contenido);
    }
    ImpresoraSimulada impresora;
    impresora.Puerto(qint16(impresora.Memoria().puerto));
    impresora.Baud(QString::number(impresora.Memoria().baud));
    auto paso = [&](const char* nombre, const std::function<void()>& llamada) {
        const QMap<QString, int> antes = impresora.Memoria().numeros;
        try {
            llamada();
        } catch (const ErrorEjecucion&) {
            // A value the device cannot take (a port or speed out of range) is refused with a run-time error.
        }
        NumerosNoRetroceden(antes, impresora.Memoria().numeros, nombre);
    };
    for (int indice : kSecuencias) paso("a sample sequence", [&] { EjecutaSecuencia(indice, impresora); });
    paso("the X close", [&] { impresora.RealizarCierre(QStringLiteral("X")); });
    paso("the Z close", [&] { impresora.RealizarCierre(QStringLiteral("Z")); });
    return 0;
}
