// Crash tests: a child process drives the simulated printer, or commits inserts on the embedded database, and is
// killed with SIGKILL at a random moment, again and again. After each kill what is on disk must be whole and must
// hold every step the child had finished. The moments come from a seed, printed so that a failure can be
// replayed with PAVENKO_SEMILLA_CAIDAS.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <random>

#include "Conduccion.h"
#include "ErrorEjecucion.h"
#include "Soporte.h"

namespace {

constexpr int kMuertesImpresora = 100;
constexpr int kMuertesBase = 60;

quint32 Semilla() {
    const QByteArray dada = qgetenv("PAVENKO_SEMILLA_CAIDAS");
    return dada.isEmpty() ? std::random_device()() : dada.toUInt();
}

QByteArray LeeArchivo(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The child, started on its folder, killed when it has run for the given milliseconds after saying it is ready.
// Returns how many steps it had finished, from its log, which then starts empty again.
int MataAlHijo(const QString& que, const QString& carpeta, const QString& argumento, int milisegundos) {
    QProcess hijo;
    hijo.start(QStringLiteral(PAVENKO_CONDUCTOR), {que, carpeta, argumento});
    EXPECT_TRUE(hijo.waitForStarted(10000));
    EXPECT_TRUE(hijo.waitForReadyRead(30000)) << "the child never got ready";
    QThread::msleep(milisegundos);
    hijo.kill();  // SIGKILL
    hijo.waitForFinished(10000);
    EXPECT_EQ(hijo.exitStatus(), QProcess::CrashExit)
        << "the child ended on its own: " << hijo.readAllStandardError().toStdString();
    const QString hechos = QDir(carpeta).filePath(QStringLiteral("hechos"));
    const int pasos = int(LeeArchivo(hechos).count('\n'));
    QFile::remove(hechos);
    return pasos;
}

class Caidas : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        semilla = Semilla();
        std::printf("crash test seed %u (PAVENKO_SEMILLA_CAIDAS)\n", semilla);
        RecordProperty("semilla", std::to_string(semilla));
        azar.seed(semilla);
        hijo = Ruta(QStringLiteral("hijo"));
        ASSERT_TRUE(QDir().mkpath(hijo));
    }
    quint32 semilla = 0;
    std::mt19937 azar;
    QString hijo;
};

struct Alto {};

// The memory after each of the first `llamadas` calls the child would make from `inicial`, replayed here on a
// device of this test's own folder: [0] is the memory before the first call.
QList<QByteArray> Estados(const QByteArray& inicial, quint32 semillaHijo, int llamadas, UiGuion& guionDelTest) {
    // The replay's boxes (the sequences' notices) answered as the child's are: by a ui of its own.
    UiGuion guionReplay;
    InstalaUi(&guionReplay);
    struct Restaura {
        UiGuion& guion;
        ~Restaura() { InstalaUi(&guion); }
    } restaura{guionDelTest};
    const QString memoria = QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("ImpresoraSimulada.json"));
    QFile::remove(memoria);
    if (!inicial.isNull()) {
        QFile f(memoria);
        f.open(QIODevice::WriteOnly);
        f.write(inicial);
    }
    ImpresoraSimulada impresora;
    impresora.Puerto(1);
    impresora.Baud(QStringLiteral("9600"));
    QList<QByteArray> estados{impresora.Memoria().AJson()};
    ControlContado control(impresora, [&] {
        estados << impresora.Memoria().AJson();
        if (estados.size() > llamadas) throw Alto();
    });
    if (llamadas > 0) {
        try {
            ConduceImpresora(control, semillaHijo);
        } catch (const Alto&) {
        }
    }
    return estados;
}

TEST_F(Caidas, LaImpresoraMuertaEnCualquierMomentoConservaLoUltimoQueAcepto) {
    const QString memoria = QDir(hijo).filePath(QStringLiteral("ImpresoraSimulada.json"));
    int pasosTotales = 0, adelantadas = 0;
    for (int ronda = 0; ronda < kMuertesImpresora; ++ronda) {
        const QByteArray inicial = QFile::exists(memoria) ? LeeArchivo(memoria) : QByteArray();
        const quint32 semillaHijo = azar();
        const int pasos = MataAlHijo(QStringLiteral("impresora"), hijo, QString::number(semillaHijo), int(azar() % 60));
        pasosTotales += pasos;

        // What the kill left: a memory that loads...
        const auto quedo = QFile::exists(memoria) ? MemoriaFiscal::DesdeJson(LeeArchivo(memoria))
                                                  : std::optional<MemoriaFiscal>(MemoriaFiscal());
        ASSERT_TRUE(quedo.has_value()) << "round " << ronda << ": the memory does not load (seed " << semilla << ")";
        // ...that holds every call the child finished, and at most the one it was making.
        const QList<QByteArray> estados = Estados(inicial, semillaHijo, pasos + 1, guion);
        ASSERT_GT(estados.size(), pasos) << "round " << ronda;
        const auto ultimo = MemoriaFiscal::DesdeJson(estados[pasos]);
        for (auto it = ultimo->numeros.begin(); it != ultimo->numeros.end(); ++it)
            ASSERT_GE(quedo->numeros.value(it.key()), it.value())
                << "round " << ronda << ": document \"" << it.key().toStdString() << "\" lost (seed " << semilla << ")";
        const QByteArray leido = quedo->AJson();
        const bool igual = leido == estados[pasos];
        const bool siguiente = estados.size() > pasos + 1 && leido == estados[pasos + 1];
        ASSERT_TRUE(igual || siguiente) << "round " << ronda << " after " << pasos << " calls (seed " << semilla
                                        << "):\n"
                                        << leido.toStdString();
        if (siguiente && !igual) ++adelantadas;
    }
    const int temporales = int(QDir(hijo).entryList({QStringLiteral("ImpresoraSimulada.json.*")}, QDir::Files).size());
    std::printf("printer: %d kills, %d calls finished, %d kills after a save not yet reported, %d temporaries left\n",
                kMuertesImpresora, pasosTotales, adelantadas, temporales);
    EXPECT_GT(pasosTotales, kMuertesImpresora) << "the kills came before the child did anything";
}

// Runs SQLite text on the database file and returns the first column of the first row.
QString Consulta(const QString& archivo, const char* sql) {
    sqlite3* db = nullptr;
    QString valor;
    if (sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            valor = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return valor;
}

TEST_F(Caidas, LaBaseMuertaEnCualquierMomentoConservaCadaInsercionConfirmada) {
    // The embedded server: a folder with the database file, named in Servidores.ini of the child's folder.
    {
        QFile ini(QDir(hijo).filePath(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[SRV01]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
    }
    ASSERT_TRUE(QDir(hijo).mkpath(QStringLiteral("datos")));
    const QString archivo = QDir(hijo).filePath(QStringLiteral("datos/CAIDAS.db"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(archivo).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE FILAS (N INTEGER PRIMARY KEY, TEXTO TEXT); CREATE TABLE CUENTA (N INTEGER);"
                           "INSERT INTO CUENTA VALUES (0);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    qint64 confirmadas = 0;
    int adelantadas = 0;
    for (int ronda = 0; ronda < kMuertesBase; ++ronda) {
        const int pasos = MataAlHijo(QStringLiteral("base"), hijo, QString::number(confirmadas + 1), int(azar() % 80));
        ASSERT_EQ(Consulta(archivo, "PRAGMA integrity_check"), "ok")
            << "round " << ronda << " (seed " << semilla << ")";
        const qint64 filas = Consulta(archivo, "SELECT COUNT(*) FROM FILAS").toLongLong();
        const qint64 cuenta = Consulta(archivo, "SELECT N FROM CUENTA").toLongLong();
        const qint64 mayor = Consulta(archivo, "SELECT COALESCE(MAX(N), 0) FROM FILAS").toLongLong();
        // Every row the child saw committed is there, and at most the one it was committing besides.
        ASSERT_GE(filas, confirmadas + pasos) << "round " << ronda << ": a committed row lost (seed " << semilla << ")";
        ASSERT_LE(filas, confirmadas + pasos + 1) << "round " << ronda;
        ASSERT_EQ(mayor, filas) << "round " << ronda << ": a gap in the rows";
        ASSERT_EQ(cuenta, filas) << "round " << ronda << ": a transaction only half there";
        if (filas > confirmadas + pasos) ++adelantadas;
        confirmadas = filas;
    }
    std::printf("database: %d kills, %lld rows committed, %d kills after a commit not yet reported\n", kMuertesBase,
                static_cast<long long>(confirmadas), adelantadas);
    EXPECT_GT(confirmadas, kMuertesBase) << "the kills came before the child did anything";
}

}  // namespace
