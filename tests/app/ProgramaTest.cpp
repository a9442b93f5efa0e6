// The built program started as a process, as a service or a bare shell starts it: a real command line, an
// environment holding nothing but PATH (and the offscreen platform), and the access row it writes.
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>

#include "BaseDemo.h"

namespace {

class Programa : public ConBaseDemo {
  protected:
    // Copies the program into the test's folder beside the demo server, as scripts/run installs it.
    void SetUp() override {
        ConBaseDemo::SetUp();
        ASSERT_TRUE(QFile::copy(QStringLiteral(PAVENKO_PROGRAMA), Ruta(QStringLiteral("Pavenko"))));
    }

    // Runs the program with a command line split as a shell splits it; PAVENKO_MIDE_INICIO ends it once its
    // window is shown. lang is the only other variable, when given.
    int Arranca(const QString& lineaComandos, const char* lang) {
        QProcessEnvironment entorno;
        entorno.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        entorno.insert(QStringLiteral("PAVENKO_MIDE_INICIO"), QStringLiteral("1"));
        if (lang) entorno.insert(QStringLiteral("LANG"), QString::fromUtf8(lang));
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.setWorkingDirectory(Carpeta());
        p.start(Ruta(QStringLiteral("Pavenko")), QProcess::splitCommand(lineaComandos));
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "the program did not end by itself: " << p.readAllStandardError().toStdString();
            return -1;
        }
        salida = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QList<QStringList> Accesos() {
        return Filas(QStringLiteral("DEMO"),
                     QStringLiteral("SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario "
                                    "FROM Control_Acceso ORDER BY Id"));
    }

    QString salida;
};

TEST_F(Programa, LasPalabrasDeLaLineaDeComandosLleganALaSesionBajoCadaLocale) {
    // Words Qt takes for its own options stand as values: the user holds "-reverse", the menu "-platform x".
    const QString linea = QStringLiteral(
        "@Server=DEMOSRV; @DbName=DEMO; @Usuario= CAJERO -reverse ; @Password=demo; @Menu= -platform x ; "
        "@Caja=2;veld@");
    const char* const locales[] = {nullptr, "C.UTF-8", "POSIX", "en_US.UTF-8", "es_AR.UTF-8"};
    for (const char* lang : locales) {
        SCOPED_TRACE(lang ? lang : "no LANG");
        Ejecuta(QStringLiteral("DEMO"), QStringLiteral("DELETE FROM Control_Acceso"));
        const QDate antes = QDate::currentDate();
        ASSERT_EQ(Arranca(linea, lang), 0) << salida.toStdString();
        const QDate despues = QDate::currentDate();

        const auto filas = Accesos();
        ASSERT_EQ(filas.size(), 1) << salida.toStdString();
        const QStringList& fila = filas.front();
        EXPECT_EQ(fila.at(0), QSysInfo::machineHostName().toUpper());
        EXPECT_EQ(fila.at(1), QStringLiteral("CAJERO -REVERSE"));
        EXPECT_EQ(fila.at(2), QStringLiteral("PAVENKO"));
        EXPECT_EQ(fila.at(3), QString());
        EXPECT_EQ(fila.at(5), QStringLiteral("CAJERO -reverse"));
        // dd/mm/yy hh:mm, today, with the separators every one of these locales has.
        const QString ingreso = fila.at(4);
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d$")).match(ingreso).hasMatch())
            << ingreso.toStdString();
        EXPECT_TRUE(ingreso.startsWith(antes.toString(QStringLiteral("dd/MM/yy"))) ||
                    ingreso.startsWith(despues.toString(QStringLiteral("dd/MM/yy"))))
            << ingreso.toStdString();
    }
}

}  // namespace
