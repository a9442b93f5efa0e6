// A second program on the simulated printer, for the sharing tests: it drives the device in a folder through the
// library, whole documents at a time, and writes one line per document accepted ("tique 12 300", "dnf 4", "x 2")
// and "ERROR ..." when the device misbehaves.
// Usage: cliente_impresora FOLDER DOCUMENTS SEED; it writes FOLDER/listo-SEED and begins once FOLDER/empezar exists.
#include <QCoreApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "ImpresoraSimulada.h"
#include "Proceso.h"

namespace {
void Escribe(const QString& linea) {
    std::printf("%s\n", linea.toUtf8().constData());
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) return 3;
    ProcesoPrueba proc;
    proc.carpeta = QString::fromLocal8Bit(argv[1]);
    proc.ahora = QDateTime::currentDateTime();
    InstalaProceso(&proc);
    const int documentos = std::atoi(argv[2]);
    std::mt19937 azar(static_cast<unsigned>(std::atoi(argv[3])));

    ImpresoraSimulada imp;
    imp.FijaEspera(30000);  // a loaded test machine may keep the other program's command long
    imp.Puerto(1);
    imp.Baud(QStringLiteral("9600"));
    // Both programs start their documents together: each says it is ready with "listo-SEED", and the test makes
    // "empezar" once both are.
    QFile(proc.carpeta + QStringLiteral("/listo-") + QLatin1String(argv[3])).open(QIODevice::WriteOnly);
    while (!QFile::exists(proc.carpeta + QStringLiteral("/empezar")))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    int ultimoTique = 0, ultimoDnf = 0;
    const auto falla = [&](const char* paso) {
        Escribe(QStringLiteral("ERROR %1: %2 / %3").arg(QLatin1String(paso), imp.Estado1(), imp.Estado2()));
        return 1;
    };
    for (int hechos = 0; hechos < documentos;) {
        // The other program's document may be open, or it may hold the device: try again shortly.
        const int clase = int(azar() % 5);
        if (clase <= 2) {
            if (!imp.TiqueAbrir(QStringLiteral("G"))) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const QString numero = imp.CampoRespuesta1();
            const QString precio = QString::number(100 + azar() % 900);
            if (!imp.TiqueItem(QStringLiteral("ART"), QStringLiteral("1000"), precio, QStringLiteral("2100"),
                               QStringLiteral("M"), QStringLiteral("0"), QStringLiteral("0")))
                return falla("TiqueItem");
            if (!imp.TiquePago(QStringLiteral("EFECTIVO"), QStringLiteral("1000"), QStringLiteral("T")))
                return falla("TiquePago");
            if (!imp.TiqueCerrar()) return falla("TiqueCerrar");
            Escribe(QStringLiteral("tique ") + numero + QLatin1Char(' ') + imp.CampoRespuesta2());
        } else if (clase == 3) {
            if (!imp.DNFAbrir()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const QString numero = imp.CampoRespuesta1();
            if (!imp.DNFTexto(QStringLiteral("cliente ") + QLatin1String(argv[3]))) return falla("DNFTexto");
            if (!imp.DNFCerrar()) return falla("DNFCerrar");
            Escribe(QStringLiteral("dnf ") + numero);
        } else {
            if (!imp.RealizarCierre(QStringLiteral("X"), QStringLiteral("P"))) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            Escribe(QStringLiteral("x ") + imp.CampoRespuesta1());
        }
        ++hechos;
        // A moment between documents, so that on a busy machine the other program gets its turns too.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Counters never go backwards, whoever issued the last document.
        if (!imp.VerEstado()) {
            if (imp.Estado1().contains(QStringLiteral("Dispositivo ocupado"))) continue;
            return falla("VerEstado");
        }
        const int tique = imp.CampoRespuesta1().toInt(), dnf = imp.CampoRespuesta4().toInt();
        if (tique < ultimoTique || dnf < ultimoDnf) return falla("counter went back");
        ultimoTique = tique;
        ultimoDnf = dnf;
    }
    return 0;
}
