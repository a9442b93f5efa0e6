// The database error dialog and its log "TKERR.LOG".
#include <gtest/gtest.h>

#include <QFile>

#include "Cp1252.h"
#include "DB_Dll.h"
#include "Impresion.h"
#include "Soporte.h"

namespace {
class Errores : public ConEntorno {
  protected:
    QByteArray Lee(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    DB_Dll db;
    const ErrorEjecucion error{-2147217900, QStringLiteral("  Sintaxis incorrecta cerca de 'FROM'.  "),
                               QStringLiteral("Microsoft OLE DB Provider for SQL Server")};
};
}  // namespace

TEST_F(Errores, CadaRespuestaSeMuestraYSeAnota) {
    struct Caso {
        std::optional<Variant> botones;
        std::optional<Variant> rutina;
        int respuesta;
        int estilo;
        const char* titulo;
        const char* linea;
    };
    const Caso casos[] = {
        {std::nullopt, Variant("errAddField"), Respuesta::Retry, 18,
         "Microsoft OLE DB Provider for SQL Server - errAddField Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina: - errAddField Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis "
         "incorrecta cerca de 'FROM'. Respondió : Reintentar"},
        {std::nullopt, std::nullopt, Respuesta::Ignore, 18,
         "Microsoft OLE DB Provider for SQL Server Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis incorrecta cerca "
         "de 'FROM'. Respondió : Ignorar"},
        {Variant(qint32(0)), Variant("VerificaCampos"), Respuesta::OK, 0,
         "Microsoft OLE DB Provider for SQL Server - VerificaCampos Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina: - VerificaCampos Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis "
         "incorrecta cerca de 'FROM'. Respondió : "},
        {Variant(qint32(4)), Variant("X"), Respuesta::Yes, 4,
         "Microsoft OLE DB Provider for SQL Server - X Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina: - X Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis incorrecta "
         "cerca "
         "de 'FROM'. Respondió : Sí"},
        {Variant(qint32(4)), Variant("X"), Respuesta::No, 4,
         "Microsoft OLE DB Provider for SQL Server - X Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina: - X Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis incorrecta "
         "cerca "
         "de 'FROM'. Respondió : No"},
        {Variant(qint32(18)), Variant("X"), Respuesta::Abort, 18,
         "Microsoft OLE DB Provider for SQL Server - X Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina: - X Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis incorrecta "
         "cerca "
         "de 'FROM'. Respondió : Abortar"},
        {Variant(qint32(1)), Variant("X"), Respuesta::Cancel, 1,
         "Microsoft OLE DB Provider for SQL Server - X Aviso al operador!!! ",
         "03-15-2026 10:30:00 Rutina: - X Mensaje Ha ocurrido el Siguiente Error (-2147217900) Sintaxis incorrecta "
         "cerca "
         "de 'FROM'. Respondió : Cancelar"},
    };
    QByteArray esperado;
    for (const auto& c : casos) {
        guion.Responde(c.respuesta);
        EXPECT_EQ(db.TratamientoErrores(error, c.botones, c.rutina), c.respuesta);
        const auto& caja = guion.Cajas().back();
        EXPECT_EQ(caja.texto,
                  QStringLiteral("Ha ocurrido el Siguiente Error (-2147217900) Sintaxis incorrecta cerca de 'FROM'."));
        EXPECT_EQ(caja.estilo, c.estilo);
        EXPECT_EQ(caja.titulo, QString::fromUtf8(c.titulo));
        esperado += ACp1252(QString::fromUtf8(c.linea)) + "\r\n";
    }
    // One line per answer, appended, in the ANSI code page, next to the program.
    EXPECT_EQ(Lee(Ruta(QStringLiteral("TKERR.LOG"))), esperado);
}

TEST_F(Errores, UnErrorCeroNoMuestraNiAnota) {
    EXPECT_EQ(db.TratamientoErrores(ErrorEjecucion(0, QStringLiteral("nada")), std::nullopt, Variant("R")), 0);
    EXPECT_TRUE(guion.Cajas().empty());
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("TKERR.LOG"))));
}

TEST_F(Errores, RutaDelRegistro) {
    // The program's folder with or without its trailing separator; ArchivoErrores used as given.
    for (const QString& carpeta : {dir.path(), dir.path() + QStringLiteral("/")}) {
        QFile::remove(Ruta(QStringLiteral("TKERR.LOG")));
        proc.carpeta = carpeta;
        guion.Responde(Respuesta::Retry);
        db.TratamientoErrores(error, std::nullopt, Variant("R"));
        EXPECT_TRUE(QFile::exists(Ruta(QStringLiteral("TKERR.LOG")))) << carpeta.toStdString();
    }
    QFile::remove(Ruta(QStringLiteral("TKERR.LOG")));
    const QString propio = Ruta(QStringLiteral("errores.txt"));
    db.ArchivoErrores(Variant(propio));
    EXPECT_EQ(db.gLogErr, propio);
    EXPECT_EQ(db.ArchivoErrores().ATexto(), propio);
    guion.Responde(Respuesta::Abort);
    db.TratamientoErrores(error, std::nullopt, Variant("R"));
    // Windows-1252 bytes: "ó" is one byte.
    EXPECT_TRUE(Lee(propio).endsWith(ACp1252(QStringLiteral("Respondió : Abortar\r\n"))));
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("TKERR.LOG"))));
}

TEST_F(Errores, UnRegistroQueNoSePuedeEscribirNoImpideLaRespuesta) {
    db.ArchivoErrores(Variant(Ruta(QStringLiteral("no/existe/errores.log"))));
    guion.Responde(Respuesta::Ignore);
    EXPECT_EQ(db.TratamientoErrores(error, std::nullopt, Variant("R")), Respuesta::Ignore);
    EXPECT_EQ(guion.Cajas().size(), 1u);
}
