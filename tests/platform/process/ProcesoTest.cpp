// Starting another program from a command line the suite writes unquoted, folder blanks and all.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "ErrorEjecucion.h"
#include "Proceso.h"

namespace {
// Writes an executable script that records its arguments, one a line, in argumentos.txt beside it.
QString CreaPrograma(const QString& carpeta) {
    const QString ruta = carpeta + QStringLiteral("/Tresvane");
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$(dirname \"$0\")/argumentos.txt\"\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return ruta;
}

QString EsperaArchivo(const QString& ruta) {
    QDeadlineTimer limite(10000);
    while (!limite.hasExpired()) {
        QFile f(ruta);
        if (f.exists() && f.size() > 0 && f.open(QIODevice::ReadOnly)) return QString::fromUtf8(f.readAll());
        QThread::msleep(20);
    }
    return {};
}
}  // namespace

TEST(Proceso, IniciaUnProgramaEnUnaCarpetaConBlancos) {
    QTemporaryDir raiz;
    ASSERT_TRUE(raiz.isValid());
    const QString carpeta = raiz.path() + QStringLiteral("/Program Files/Zembrino");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    const QString programa = CreaPrograma(carpeta);

    ProcesoSistema().Inicia(programa + QStringLiteral(" @server=SRV01; @dbname=DEMO;veld@"));

    EXPECT_EQ(EsperaArchivo(carpeta + QStringLiteral("/argumentos.txt")),
              QStringLiteral("@server=SRV01;\n@dbname=DEMO;veld@\n"));
}

TEST(Proceso, UnProgramaQueNoExisteEsArchivoNoEncontrado) {
    QTemporaryDir raiz;
    long numero = 0;
    try {
        ProcesoSistema().Inicia(raiz.path() + QStringLiteral("/NoEsta @server=X;"));
    } catch (const ErrorEjecucion& e) {
        numero = e.Number();
    }
    EXPECT_EQ(numero, Err::ArchivoNoEncontrado);
}

TEST(Proceso, SinUsuarioEnElEntornoEsLaCuentaDelSistema) {
    QProcess id;
    id.start(QStringLiteral("id"), {QStringLiteral("-un")});
    ASSERT_TRUE(id.waitForFinished(10000));
    const QString cuenta = QString::fromLocal8Bit(id.readAllStandardOutput()).trimmed();
    ASSERT_FALSE(cuenta.isEmpty());

    // The variables a shell sets, one at a time, then none: as a service or "env -i" starts the program.
    const char* const variables[] = {"USER", "USERNAME", "LOGNAME"};
    QByteArray antes[3];
    for (int i = 0; i < 3; ++i) antes[i] = qgetenv(variables[i]);
    struct Caso {
        const char* variable;  // the one set, nullptr for none
        const char* esperado;  // nullptr: the account
    };
    const Caso casos[] = {{"USER", "cajero1"}, {"USERNAME", "cajero2"}, {"LOGNAME", "cajero3"}, {nullptr, nullptr}};
    for (const Caso& c : casos) {
        for (const char* v : variables) qunsetenv(v);
        if (c.variable) qputenv(c.variable, c.esperado);
        EXPECT_EQ(ProcesoSistema().UsuarioMaquina().toStdString(),
                  c.esperado ? std::string(c.esperado) : cuenta.toStdString())
            << (c.variable ? c.variable : "none");
    }
    for (int i = 0; i < 3; ++i)
        if (antes[i].isNull())
            qunsetenv(variables[i]);
        else
            qputenv(variables[i], antes[i]);
}

TEST(Proceso, LaLineaDeComandosEsLaDadaPalabraPorPalabra) {
    const char* const argv[] = {"/opt/Pavenko", "@Usuario=", "CAJERO", "-reverse", ";", "@Menu=", "-style", "x;veld@"};
    FijaArgumentos(8, argv);
    EXPECT_EQ(ProcesoSistema().LineaComandos().toStdString(), "@Usuario= CAJERO -reverse ; @Menu= -style x;veld@");
}
