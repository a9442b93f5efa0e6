// Starting another program from a command line the suite writes unquoted, folder blanks and all.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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
