// The database object against a real SQLite database: the catalogue checks, adding a column, and the reads
// whose statements must survive a key holding an apostrophe.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>

#include "DB_Dll.h"
#include "Impresion.h"
#include "Soporte.h"

namespace {
class Esquema : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        QFile ini(Ruta(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[SRVLOCAL]\r\nMotor=sqlite\r\nCarpeta=" + dir.path().toUtf8() + "\r\n");
        ini.close();
        Crea(QStringLiteral(
            "CREATE TABLE CLIENTES (Codigo varchar(10) PRIMARY KEY, Nombre varchar(40), Alta datetime);"
            "CREATE TABLE VENTAS (Numero int, Caja int);"
            "CREATE VIEW V_CLIENTES AS SELECT Codigo, Nombre FROM CLIENTES;"
            "CREATE TABLE ta_usuarios (nombre varchar(20), Administrador int);"
            "INSERT INTO ta_usuarios VALUES ('juan', 1), ('ana', 0);"
            "INSERT INTO CLIENTES VALUES ('A1', 'Perez', NULL), ('O''Brien', 'Irlandes', NULL), ('B2', NULL, NULL);"));
        db.gServidor = QStringLiteral("SRVLOCAL");
        db.gDBName = QStringLiteral("EMPRESA");
        db.gUsuario = QStringLiteral("juan");
        db.gUserPassWord = QStringLiteral("x");
        db.OpenServerADODB(false, 3, QString(), true, true);
        ASSERT_TRUE(db.gOpenFlag);
        ASSERT_EQ(db.gCnn.State(), ado::adStateOpen);
    }
    void TearDown() override {
        DB_Dll::ReiniciaPredeterminada();
        ConEntorno::TearDown();
    }
    void Crea(const QString& sql) {
        sqlite3* base = nullptr;
        ASSERT_EQ(sqlite3_open(Ruta(QStringLiteral("EMPRESA.db")).toUtf8().constData(), &base), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(base, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK) << error;
        sqlite3_free(error);
        sqlite3_close(base);
    }
    QList<QList<Variant>> Filas(const QString& sql) {
        Recordset rs;
        rs.Open(sql, db.gCnn);
        return rs.GetRows();
    }
    DB_Dll& db = DB_Dll::Predeterminada();
};
}  // namespace

TEST_F(Esquema, AlConectarComprueba) {
    EXPECT_TRUE(db.gEsAdmin);  // juan's row says 1
    db.gUsuario = QStringLiteral("ana");
    db.gCnn.Close();
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gEsAdmin);
}

TEST_F(Esquema, ExisteTablaDB) {
    struct Caso {
        const char* tabla;
        bool existe;
    };
    const Caso casos[] = {{"CLIENTES", true},    {"clientes", true},  {" Clientes ", true}, {"V_CLIENTES", true},
                          {"TA_USUARIOS", true}, {"NOEXISTE", false}, {"CLIENTE", false}};
    for (const auto& c : casos) EXPECT_EQ(db.ExisteTablaDB(QString::fromUtf8(c.tabla)), c.existe) << c.tabla;
}

TEST_F(Esquema, ExisteCampoDB) {
    struct Caso {
        const char* tabla;
        const char* campo;
        bool existe;
    };
    const Caso casos[] = {{"CLIENTES", "Nombre", true}, {"clientes", "NOMBRE", true},  {"CLIENTES", " Alta ", true},
                          {"CLIENTES", "Falta", false}, {"NOEXISTE", "Nombre", false}, {"VENTAS", "Nombre", false}};
    for (const auto& c : casos)
        EXPECT_EQ(db.ExisteCampoDB(QString::fromUtf8(c.tabla), QString::fromUtf8(c.campo)), c.existe) << c.campo;
    // Oracle's catalogue is never asked.
    db.gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("NOEXISTE"), QStringLiteral("NADA")));
}

TEST_F(Esquema, AddFieldAgregaLaColumnaConSuValor) {
    db.AddField(QStringLiteral("CLIENTES"), QStringLiteral("Activo"), QStringLiteral("int"), false, Variant(qint32(0)));
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("CLIENTES"), QStringLiteral("Activo")));
    const auto filas = Filas(QStringLiteral("SELECT Activo FROM CLIENTES"));
    ASSERT_EQ(filas.size(), 3);
    for (const auto& f : filas) EXPECT_EQ(f.value(0).ADouble(), 0.0);

    db.AddField(QStringLiteral("CLIENTES"), QStringLiteral("Nota"), QStringLiteral("varchar(20)"), true);
    EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("CLIENTES"), QStringLiteral("Nota")));
    EXPECT_TRUE(Filas(QStringLiteral("SELECT Nota FROM CLIENTES")).value(0).value(0).EsNull());
}

TEST_F(Esquema, VerCampoDB) {
    struct Caso {
        const char* tabla;
        const char* campo;
        bool agregar;
        bool existeDespues;
    };
    const Caso casos[] = {
        {"VENTAS", "Importe", false, false},
        {"VENTAS", "Importe", true, true},
        {"VENTAS", "Caja", true, true},  // already there: nothing to add
    };
    for (const auto& c : casos) {
        EXPECT_TRUE(db.VerCampoDB(QString::fromUtf8(c.tabla), QString::fromUtf8(c.campo), c.agregar,
                                  QStringLiteral("float"), true));
        EXPECT_EQ(db.ExisteCampoDB(QString::fromUtf8(c.tabla), QString::fromUtf8(c.campo)), c.existeDespues) << c.campo;
    }
    EXPECT_TRUE(db.VerCampoDB(QStringLiteral("NOEXISTE"), QStringLiteral("X"), true, QStringLiteral("int"), true));
    EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("NOEXISTE")));
}

TEST_F(Esquema, LasClavesConApostrofoNoRompenLaSentencia) {
    struct Caso {
        const char* clave;
        bool existe;
        const char* nombre;
    };
    const Caso casos[] = {
        {"A1", true, "Perez"},
        {" A1 ", true, "Perez"},
        {"O'Brien", true, "Irlandes"},
        {"B2", true, ""},   // a null field reads as ""
        {"Z9", false, ""},  // no row
        {"x' OR '1'='1", false, ""},
        {"x'; DELETE FROM CLIENTES; --", false, ""},
    };
    for (const auto& c : casos) {
        const QString clave = QString::fromUtf8(c.clave);
        EXPECT_EQ(db.ExisteEnTabla(QStringLiteral("CLIENTES"), clave), c.existe) << c.clave;
        EXPECT_EQ(db.DatosTabla(QStringLiteral("CLIENTES"), clave, QStringLiteral("Nombre")).ATexto(),
                  QString::fromUtf8(c.nombre))
            << c.clave;
    }
    EXPECT_TRUE(db.ExisteEnTablaST(QStringLiteral("CLIENTES"), QStringLiteral("O'Brien")));
    EXPECT_FALSE(db.ExisteEnTablaST(QStringLiteral("CLIENTES"), QStringLiteral(" A1 ")));  // not trimmed
    EXPECT_EQ(Filas(QStringLiteral("SELECT COUNT(*) FROM CLIENTES")).value(0).value(0).ADouble(), 3.0);
}

TEST_F(Esquema, ExisteEnTablaDejaAbiertoElRecordset) {
    Recordset rs;
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("CLIENTES"), QStringLiteral("A1"), QStringLiteral("Codigo"), &rs));
    ASSERT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(rs.Valor(QStringLiteral("Nombre")).ATexto(), QStringLiteral("Perez"));
    EXPECT_FALSE(db.ExisteEnTabla(QStringLiteral("CLIENTES"), QStringLiteral("Z9"), QStringLiteral("Codigo"), &rs));
    EXPECT_EQ(rs.State(), ado::adStateOpen);
}

TEST_F(Esquema, MaximosSobreUnaTablaVacia) {
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("VENTAS"), QStringLiteral("Numero")).ADouble(), 0.0);
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("VENTAS"), QStringLiteral("Numero"), Variant(qint32(7))).ATexto(),
              QString());
    QString sql = QStringLiteral("INSERT INTO VENTAS VALUES (12, 1)");
    db.EjecutaConsultaSQL(sql);
    db.EjecutaConsultaSQL(QStringLiteral("INSERT INTO VENTAS VALUES (30, 2)"));
    EXPECT_EQ(db.BuscaMaximo(QStringLiteral("VENTAS"), QStringLiteral("Numero")).ADouble(), 30.0);
    EXPECT_EQ(db.BuscaMinimo(QStringLiteral("VENTAS"), QStringLiteral("Numero")).ADouble(), 12.0);
    EXPECT_EQ(db.BuscaUltimoCodigo(QStringLiteral("VENTAS"), QStringLiteral("Numero"), Variant(qint32(8)),
                                   QStringLiteral("Caja = 1"))
                  .ADouble(),
              12.0);
}

TEST_F(Esquema, SQLValueEnUnaSentenciaReal) {
    db.EjecutaConsultaSQL(QStringLiteral("INSERT INTO CLIENTES (Codigo, Nombre) VALUES (") +
                          db.SQLValue(Variant(QStringLiteral("C3"))).ATexto() + QStringLiteral(", ") +
                          db.SQLValue(Variant(QStringLiteral("D'Angelo'); DROP TABLE VENTAS; --"))).ATexto() +
                          QStringLiteral(")"));
    EXPECT_EQ(db.DatosTabla(QStringLiteral("CLIENTES"), QStringLiteral("C3"), QStringLiteral("Nombre")).ATexto(),
              QStringLiteral("D'Angelo'); DROP TABLE VENTAS; --"));
    EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("VENTAS")));
}
