// The database object's lookups on the demo schema, on the real engine with the server's collation: keys written
// in another case or with trailing blanks find their rows, as on SQL Server; the administrator check at
// connection reads the operator's row the same way.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "DB_Dll.h"
#include "ExtensionSql.h"
#include "Impresion.h"
#include "Soporte.h"

namespace {

class Demo : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        QDir(Carpeta()).mkpath(QStringLiteral("datos"));
        QFile ini(Ruta(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[DEMOSRV]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
        ini.close();
        QFile demo(QStringLiteral(PAVENKO_DEMO_DIR "/empresa.sql"));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        // A key stored with trailing blanks, as a char column or a careless insert leaves it.
        Crea(QString::fromUtf8(demo.readAll()) +
             QStringLiteral("INSERT INTO ta_usuarios (Nombre, NombreCompleto, Administrador) "
                            "VALUES ('ENCARGADO  ', 'Marta Sosa', 1);"));
    }
    void TearDown() override {
        DB_Dll::ReiniciaPredeterminada();
        ConEntorno::TearDown();
    }
    void Crea(const QString& sql) {
        sqlite3* base = nullptr;
        ASSERT_EQ(sqlite3_open(Ruta(QStringLiteral("datos/DEMO.db")).toUtf8().constData(), &base), SQLITE_OK);
        RegistraExtensionSql(base);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(base, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK) << error;
        sqlite3_free(error);
        sqlite3_close(base);
    }
    // Connects as the given user, with the administrator check.
    void Conecta(const QString& usuario) {
        if (db.gCnn.State() != ado::adStateClosed) db.gCnn.Close();
        db.gServidor = QStringLiteral("DEMOSRV");
        db.gDBName = QStringLiteral("DEMO");
        db.gUsuario = usuario;
        db.gUserPassWord = QStringLiteral("demo");
        db.OpenServerADODB(false, 3, QString(), true, true);
        ASSERT_TRUE(db.gOpenFlag);
    }
    DB_Dll& db = DB_Dll::Predeterminada();
};

struct Caso {
    const char* clave;
    bool existe;
    const char* nombreCompleto;  // DatosTabla's answer
};
// Rows of ta_usuarios: "CAJERO", "TECNICO", "SUPERVISOR TAMAREK MC" and "ENCARGADO  ".
const Caso kCasos[] = {
    {"CAJERO", true, "Lucía Ferreyra"},
    {"cajero", true, "Lucía Ferreyra"},
    {"Tecnico  ", true, "Ramiro Quintana"},
    {"  tecnico", true, "Ramiro Quintana"},  // trimmed by the trimming lookups
    {"supervisor tamarek mc ", true, "Supervisor del sistema"},
    {"encargado", true, "Marta Sosa"},
    {"Encargado ", true, "Marta Sosa"},
    {"NADIE", false, ""},
    {"CAJ", false, ""},
};

TEST_F(Demo, ExisteEnTablaYDatosTablaIgnoranMayusculasYBlancos) {
    Conecta(QStringLiteral("CAJERO"));
    for (const Caso& c : kCasos) {
        const QString clave = QString::fromUtf8(c.clave);
        SCOPED_TRACE(c.clave);
        EXPECT_EQ(db.ExisteEnTabla(QStringLiteral("ta_usuarios"), clave, QStringLiteral("Nombre")), c.existe);
        EXPECT_EQ(db.DatosTabla(QStringLiteral("ta_usuarios"), clave, QStringLiteral("NombreCompleto"),
                                QStringLiteral("Nombre"))
                      .ATexto(),
                  QString::fromUtf8(c.nombreCompleto));
    }
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Demo, LasBusquedasSinRecortarComparanComoElServidor) {
    // The value goes as given: another case and trailing blanks still match (the server's collation pads),
    // a leading blank does not.
    struct CasoST {
        const char* clave;
        bool existe;
    };
    const CasoST casos[] = {
        {"CAJERO", true},    {"cajero", true},        {"Tecnico   ", true}, {"  tecnico", false},
        {"encargado", true}, {"ENCARGADO    ", true}, {"NADIE", false},
    };
    Conecta(QStringLiteral("CAJERO"));
    for (const CasoST& c : casos) {
        const QString clave = QString::fromUtf8(c.clave);
        SCOPED_TRACE(c.clave);
        EXPECT_EQ(db.ExisteEnTablaST(QStringLiteral("ta_usuarios"), clave, QStringLiteral("Nombre")), c.existe);
        EXPECT_EQ(db.DatosTabla(QStringLiteral("ta_usuarios"), clave, QStringLiteral("Nombre"),
                                QStringLiteral("Nombre"), Variant(qint32(8)), QString(), false)
                      .ATexto()
                      .isEmpty(),
                  !c.existe);
    }
    // A record set handed in is left on the row found.
    Recordset rs;
    ASSERT_TRUE(
        db.ExisteEnTablaST(QStringLiteral("TA_FAMILIAS"), QStringLiteral("0101 "), QStringLiteral("IdFamilia"), &rs));
    EXPECT_EQ(rs.Valor(QStringLiteral("Descripcion")).ATexto(), QStringLiteral("Infusiones"));
    db.CierraRecordset(rs);
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Demo, ElAdministradorSeReconoceAlConectar) {
    struct CasoAdmin {
        const char* usuario;
        bool administrador;
    };
    const CasoAdmin casos[] = {
        {"TECNICO", true},   {"tecnico", true}, {"Tecnico  ", true}, {"supervisor tamarek mc", true},
        {"encargado", true}, {"CAJERO", false}, {"cajero ", false},  {"NADIE", false},
    };
    for (const CasoAdmin& c : casos) {
        Conecta(QString::fromUtf8(c.usuario));
        EXPECT_EQ(db.gEsAdmin, c.administrador) << c.usuario;
    }
    EXPECT_TRUE(guion.Cajas().empty());
}

}  // namespace
