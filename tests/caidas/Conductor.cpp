// The child the crash tests kill: it drives the simulated printer, or inserts rows into the embedded database,
// one committed step after another, and appends a line to "hechos" in its folder after each step is done. It runs
// until it is killed. Usage: conductor_caidas impresora FOLDER SEED, or conductor_caidas base FOLDER FIRST-ROW
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "Ado.h"
#include "Conduccion.h"
#include "Proceso.h"
#include "TkPrint2.h"
#include "UiGuion.h"

namespace {
int registro = -1;

// One line, straight to the file: nothing stays in a buffer of this process when it dies.
void Anota(const QByteArray& linea) {
    const QByteArray l = linea + '\n';
    if (::write(registro, l.constData(), size_t(l.size())) != l.size()) std::abort();
}

void Listo() {
    std::fputs("listo\n", stdout);
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) return 2;
    const QString que = QString::fromLocal8Bit(argv[1]);
    ProcesoPrueba proc;
    proc.carpeta = QString::fromLocal8Bit(argv[2]);
    InstalaProceso(&proc);
    UiGuion guion;
    InstalaUi(&guion);
    FijaCarpeta({});
    registro = ::open(QFile::encodeName(QDir(proc.carpeta).filePath(QStringLiteral("hechos"))).constData(),
                      O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (registro < 0) return 3;
    const quint32 semilla = QByteArray(argv[3]).toUInt();

    if (que == QStringLiteral("impresora")) {
        ImpresoraSimulada impresora;
        impresora.Puerto(1);
        impresora.Baud(QStringLiteral("9600"));
        ControlContado control(impresora, [] { Anota("x"); });
        Listo();
        ConduceImpresora(control, semilla);
    }
    if (que == QStringLiteral("base")) {
        Connection cn;
        cn.Open(CadenaCaidas());
        Listo();
        for (qint64 n = QByteArray(argv[3]).toLongLong();; ++n) {
            // Two statements in one transaction: the count must always agree with the rows.
            cn.BeginTrans();
            cn.Execute(QStringLiteral("INSERT INTO FILAS (N, TEXTO) VALUES (") + QString::number(n) +
                       QStringLiteral(", '") + QString(int(n % 200), QLatin1Char('x')) + QStringLiteral("')"));
            cn.Execute(QStringLiteral("UPDATE CUENTA SET N = ") + QString::number(n));
            cn.CommitTrans();
            Anota(QByteArray::number(n));
        }
    }
    return 2;
}
