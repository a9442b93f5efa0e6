// The simulated printer shared by two programs: each command holds the device, works on the memory as the other
// program left it and saves it before letting go; a device held too long answers busy; a program that opens a
// device already running does not switch it on again; the window follows what the other program prints.
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include "Impresora.h"
#include "VentanaImpresora.h"

namespace {
using ImpresoraCompartidaTest = ConImpresora;

// Another program's hold on the device: the exclusive lock on the first byte of its lock file.
class OtroPrograma {
  public:
    explicit OtroPrograma(const QString& cerrojo)
        : fd_(::open(QFile::encodeName(cerrojo).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        struct flock f {};
        f.l_type = F_WRLCK;
        f.l_whence = SEEK_SET;
        f.l_start = 0;
        f.l_len = 1;
        tomada_ = ::fcntl(fd_, F_OFD_SETLK, &f) == 0;
    }
    ~OtroPrograma() { ::close(fd_); }
    bool Tomada() const { return tomada_; }

  private:
    int fd_;
    bool tomada_ = false;
};

int Cuenta(const QString& texto, const QString& buscado) {
    return int(texto.count(buscado));
}
}  // namespace

TEST_F(ImpresoraCompartidaTest, DosProgramasIntercaladosNoPierdenNingunDocumento) {
    constexpr int kDocumentos = 60;  // each; with items, payments and status reads some 600 commands in all
    QProcess programas[2];
    for (int i = 0; i < 2; ++i) {
        programas[i].start(QStringLiteral(CLIENTE_IMPRESORA),
                           {dir.path(), QString::number(kDocumentos), QString::number(i + 1)});
        ASSERT_TRUE(programas[i].waitForStarted(10000));
    }
    // Off they go once both are ready, so that neither runs its documents while the other is still loading.
    QDeadlineTimer listos(60000);
    while (!(QFile::exists(Ruta("listo-1")) && QFile::exists(Ruta("listo-2"))) && !listos.hasExpired())
        QThread::msleep(5);
    QFile(Ruta("empezar")).open(QIODevice::WriteOnly);
    QMap<QString, QList<int>> numeros[2];  // by kind, in each program's order
    QMap<int, qint64> totales;             // ticket number: its total
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(programas[i].waitForFinished(240000)) << i;
        const QString salida = QString::fromUtf8(programas[i].readAllStandardOutput());
        EXPECT_EQ(programas[i].exitCode(), 0) << salida.toStdString();
        for (const QString& linea : salida.split('\n', Qt::SkipEmptyParts)) {
            const QStringList partes = linea.split(' ');
            ASSERT_GE(partes.size(), 2) << linea.toStdString();
            numeros[i][partes[0]] << partes[1].toInt();
            if (partes[0] == "tique") totales[partes[1].toInt()] = partes[2].toLongLong();
        }
    }

    // Every document accepted has its own number, none is missing, and each program saw its numbers grow.
    const auto memoria = MemoriaFiscal::DesdeJson(Memoria());
    ASSERT_TRUE(memoria);
    const QString papel = Papel();
    int documentos = 0;
    for (const QString clase : {"tique", "dnf", "x"}) {
        QSet<int> todos;
        for (const auto& n : numeros) {
            const QList<int> lista = n.value(clase);
            for (int k = 1; k < lista.size(); ++k) EXPECT_LT(lista[k - 1], lista[k]) << clase.toStdString();
            for (int v : lista) EXPECT_FALSE(todos.contains(v)) << clase.toStdString() << " " << v << " twice";
            todos.unite(QSet<int>(lista.begin(), lista.end()));
        }
        documentos += int(todos.size());
        EXPECT_EQ(memoria->numeros.value(clase), todos.size()) << clase.toStdString();
        for (int v = 1; v <= int(todos.size()); ++v) EXPECT_TRUE(todos.contains(v)) << clase.toStdString() << v;
    }
    EXPECT_EQ(documentos, 2 * kDocumentos);

    // On the paper, each exactly once: a ticket's number heads it and ends it, a DNF's heads it.
    for (auto it = totales.begin(); it != totales.end(); ++it)
        EXPECT_EQ(Cuenta(papel, QStringLiteral("TIQUE Nro 0001-%1").arg(it.key(), 8, 10, QLatin1Char('0'))), 2)
            << it.key();
    for (int v = 1; v <= memoria->numeros.value("dnf"); ++v)
        EXPECT_EQ(Cuenta(papel, QStringLiteral("DOCUMENTO NO FISCAL Nro 0001-%1").arg(v, 8, 10, QLatin1Char('0'))), 1)
            << v;
    for (int v = 1; v <= memoria->numeros.value("x"); ++v)
        EXPECT_EQ(Cuenta(papel, QStringLiteral("INFORME DE CIERRE X Nro %1\n").arg(v)), 1) << v;
    qint64 ventas = 0;
    for (qint64 t : totales) ventas += t;
    EXPECT_EQ(memoria->diarios.ventas, ventas);
    EXPECT_EQ(memoria->diarios.tiques, totales.size());
    EXPECT_EQ(memoria->estado, EstadoFiscal::Libre);

    // The two programs really took turns.
    const QList<int> a = numeros[0].value("tique");
    const QList<int> b = numeros[1].value("tique");
    ASSERT_FALSE(a.isEmpty() || b.isEmpty());
    EXPECT_TRUE(a.first() < b.last() && b.first() < a.last()) << "one program ran all its tickets before the other";
}

TEST_F(ImpresoraCompartidaTest, DispositivoTomadoPorOtroProgramaDiceOcupado) {
    ImpresoraSimulada imp;
    Conecta(imp);
    ASSERT_TRUE(imp.HeaderTrailer("S", "1", QString("ANTES")));
    const QByteArray memoria = Memoria();
    const QString papel = Papel();
    {
        OtroPrograma otro(imp.RutaCerrojo());
        ASSERT_TRUE(otro.Tomada());
        imp.FijaEspera(300);
        QElapsedTimer reloj;
        reloj.start();
        EXPECT_FALSE(imp.TiqueAbrir("G"));
        EXPECT_GE(reloj.elapsed(), 300) << "it waited for the device";
        EXPECT_EQ(imp.Estado1(), "0001 Sin comunicación: Dispositivo ocupado");
        EXPECT_EQ(imp.Estado2(), "0000 Sin respuesta del controlador fiscal");
        EXPECT_EQ(imp.Palabra1(), Bit1::SinComunicacion);
        EXPECT_EQ(imp.CampoRespuesta1(), "");
        EXPECT_FALSE(imp.ApagaYEnciende());
        EXPECT_EQ(Memoria(), memoria);
        EXPECT_EQ(Papel(), papel);
    }
    EXPECT_TRUE(imp.TiqueAbrir("G")) << "free again";
    EXPECT_EQ(imp.Estado1(), "0600 Impresora lista");
}

// Each command starts from the memory as the other program left it, and a program opening a device that is
// already running leaves the other's non-fiscal document open.
TEST_F(ImpresoraCompartidaTest, CadaComandoParteDeLaMemoriaDelOtroPrograma) {
    ImpresoraSimulada ventana;
    Conecta(ventana);
    ASSERT_TRUE(ventana.DNFAbrir());
    ImpresoraSimulada cierre;
    Conecta(cierre);
    EXPECT_EQ(cierre.Memoria().estado, EstadoFiscal::DNF) << "the running device was not switched on again";
    EXPECT_FALSE(cierre.RealizarCierre("Z")) << "the window's document is open";
    EXPECT_TRUE(ventana.DNFTexto("LINEA"));
    EXPECT_TRUE(ventana.DNFCerrar());
    EXPECT_TRUE(cierre.RealizarCierre("Z"));
    EXPECT_EQ(cierre.CampoRespuesta1(), "1");
    EXPECT_TRUE(ventana.VerEstado());
    EXPECT_EQ(ventana.CampoRespuesta6(), "1") << "the Z the other program made";
    EXPECT_TRUE(ventana.TiqueAbrir("G"));
    EXPECT_EQ(Papel().count("fin del documento no fiscal"), 1);
}

TEST_F(ImpresoraCompartidaTest, LaVentanaSigueLoQueImprimeElOtroPrograma) {
    ImpresoraSimulada propia;
    Conecta(propia);
    ASSERT_TRUE(propia.Cajon("1"));
    VentanaImpresora ventana(propia);
    ImpresoraSimulada otra;
    Conecta(otra);
    ASSERT_TRUE(otra.TiqueAbrir("G"));
    QElapsedTimer reloj;
    reloj.start();
    while (!ventana.TextoEstado2().contains("Tique abierto") && reloj.elapsed() < 5000) QTest::qWait(50);
    EXPECT_TRUE(ventana.TextoEstado2().contains("0410 Tique abierto")) << ventana.TextoEstado2().toStdString();
    EXPECT_TRUE(ventana.Rollo().toPlainText().contains("TIQUE Nro 0001-00000001"));
    EXPECT_EQ(ventana.Rollo().toPlainText().count("apertura de cajón 1"), 1);
    ASSERT_TRUE(propia.TiqueCerrar());  // its own print, once
    EXPECT_EQ(ventana.Rollo().toPlainText().count("*** DOCUMENTO CANCELADO ***"), 1);
    EXPECT_EQ(ventana.Rollo().toPlainText().count("TIQUE Nro 0001-00000001"), 1);
}
