// What the start-up costs: IniciaSistema on the demo database in-process (settings load, access check and its
// log row included), and the whole program from its start to its window shown beside a bare Qt program that
// shows an empty window, each run as a process of its own.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ExtensionSql.h"
#include "ModGlobal.h"
#include "Proceso.h"
#include "Sesion.h"
#include "TkPrint2.h"
#include "UiGuion.h"

namespace {

const QString kParametros = QStringLiteral(
    "@Server=DEMOSRV; @DbName=DEMO; @Usuario=CAJERO; @Password=demo; @UsuarioLogeado=CAJERO; @Caja=1;veld@");

void CreaBase(const QString& archivo, const QString& sqlDemo) {
    QFile f(QStringLiteral(PAVENKO_DEMO_DIR "/") + sqlDemo);
    if (!f.open(QIODevice::ReadOnly)) qFatal("no demo SQL");
    sqlite3* db = nullptr;
    sqlite3_open(archivo.toUtf8().constData(), &db);
    RegistraExtensionSql(db);
    char* error = nullptr;
    if (sqlite3_exec(db, f.readAll().constData(), nullptr, nullptr, &error) != SQLITE_OK) qFatal("%s", error);
    sqlite3_close(db);
}

// A program folder with the demo server, as scripts/run leaves it.
void PreparaCarpeta(const QString& carpeta) {
    QDir(carpeta).mkpath(QStringLiteral("datos"));
    CreaBase(carpeta + QStringLiteral("/datos/DEMO.db"), QStringLiteral("empresa.sql"));
    CreaBase(carpeta + QStringLiteral("/datos/TK_ESTADISTICAS.db"), QStringLiteral("estadisticas.sql"));
    QFile ini(carpeta + QStringLiteral("/Servidores.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[DEMOSRV]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
}

// IniciaSistema as the window's load runs it; consultas.tkw already there (every start after the first) or not.
void BM_IniciaSistema(benchmark::State& estado) {
    const bool primeraVez = estado.range(0) != 0;
    QTemporaryDir dir;
    PreparaCarpeta(dir.path());
    ProcesoPrueba proc;
    proc.carpeta = dir.path();
    UiGuion guion;
    InstalaProceso(&proc);
    InstalaUi(&guion);
    FijaTerminacion([] { qFatal("the start-up ended the program"); });
    const QString catalogo = dir.path() + QStringLiteral("/consultas.tkw");
    for (auto _ : estado) {
        estado.PauseTiming();
        sesion().Reinicia();
        FijaCarpeta({});
        if (primeraVez) QFile::remove(catalogo);
        estado.ResumeTiming();
        QString cadena;
        IniciaSistema(false, kParametros, cadena, 3);
    }
    if (!guion.Cajas().empty()) estado.SkipWithError("the start-up showed a box");
    sesion().Reinicia();
    FijaTerminacion({});
    InstalaUi(nullptr);
    InstalaProceso(nullptr);
}
BENCHMARK(BM_IniciaSistema)->Arg(0)->Arg(1)->ArgName("sin_catalogo")->Unit(benchmark::kMillisecond);

// A program copied into its own folder, run until its window has been shown. Pavenko learns from
// PAVENKO_MIDE_INICIO to end there.
void BM_Programa(benchmark::State& estado, const char* ejecutable, bool demo) {
    QTemporaryDir dir;
    if (demo) PreparaCarpeta(dir.path());
    const QString copia = dir.path() + QLatin1Char('/') + QFileInfo(QString::fromUtf8(ejecutable)).fileName();
    QFile::copy(QString::fromUtf8(ejecutable), copia);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    entorno.insert(QStringLiteral("PAVENKO_MIDE_INICIO"), QStringLiteral("1"));
    for (auto _ : estado) {
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.setWorkingDirectory(dir.path());
        p.start(copia, demo ? QStringList{kParametros} : QStringList{});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            estado.SkipWithError("the program did not end by itself");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_Programa, ventana_vacia, PAVENKO_VENTANA_VACIA, false)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Programa, pavenko, PAVENKO_PROGRAMA, true)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
