// The ODBC engine against a real client/server database: a private PostgreSQL server reached through its
// Unicode ODBC driver, as a SQL Server is reached through FreeTDS. Rows written through record sets and read back,
// rows located by key and by old values, and the provider numbers of real failures.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "Ado.h"
#include "ErrorEjecucion.h"
#include "MotorOdbc.h"
#include "ServidorPostgres.h"
#include "Soporte.h"

namespace {

// The server's tables, made by psql as a server's administrator would make them.
const char* const kEsquema = R"(
CREATE TABLE MOVIMIENTOS (ID int PRIMARY KEY, NOMBRE varchar(60), ALTA timestamp(3), IMPORTE numeric(19,4),
    GRANDE numeric(30,8), CANTIDAD smallint, TEXTO text NOT NULL DEFAULT '');
CREATE TABLE SIN_CLAVE (NOMBRE varchar(60), ALTA timestamp(3), IMPORTE numeric(19,4), TEXTO text);
CREATE TABLE SECRETA (ID int);
CREATE TABLE MARCAS (ID int PRIMARY KEY, ALTA timestamp(6), NOMBRE varchar(20));
CREATE ROLE cajero LOGIN;
)";

class Postgres : public ConEntorno {
  protected:
    static void SetUpTestSuite() {
        servidor = new ServidorPostgres;
        if (servidor->Crea()) servidor->Psql(QString::fromUtf8(kEsquema));
    }
    static void TearDownTestSuite() {
        delete servidor;
        servidor = nullptr;
    }
    void SetUp() override {
        ConEntorno::SetUp();
        ASSERT_TRUE(servidor->Error().isEmpty()) << servidor->Error().toStdString();
        QFile ini(Ruta(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(("[PGSRV]\r\nMotor=odbc\r\nCadena=" + servidor->CadenaOdbc() + "\r\n").toUtf8());
        ini.close();
        ASSERT_TRUE(
            servidor->Psql(QStringLiteral("DELETE FROM MOVIMIENTOS; DELETE FROM SIN_CLAVE; DELETE FROM MARCAS;")));
    }
    void TearDown() override {
        if (cn.State() == ado::adStateOpen) cn.Close();
        ConEntorno::TearDown();
    }
    static QString Cadena(const QString& usuario = QStringLiteral("pavenko")) {
        return QStringLiteral("PROVIDER=SQLOLEDB;Server=PGSRV;Database =PRUEBA;UId=") + usuario +
               QStringLiteral(";Pwd=x;");
    }
    // What the server holds, read by psql: the bytes the engine really wrote.
    static QString EnElServidor(const QString& sql) {
        QString salida;
        EXPECT_TRUE(servidor->Psql(sql, &salida)) << servidor->Error().toStdString();
        return salida.trimmed();
    }

    static ServidorPostgres* servidor;
    Connection cn;
};
ServidorPostgres* Postgres::servidor = nullptr;

const QString kNombre = QStringLiteral("Ñandú a 5 € 😀");
const QDateTime kAlta(QDate(2026, 3, 1), QTime(8, 15, 30, 123));
const QString kGrande = QStringLiteral("12345678901234567890.12345678");

TEST_F(Postgres, FilasAgregadasYEditadasSeLeenIguales) {
    cn.Open(Cadena());
    // Past the plain text parameters, and read in pieces that split a surrogate pair.
    const QString largo = QString(QStringLiteral("ñ€😀")).repeated(2000);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM MOVIMIENTOS WHERE ID = 0"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.AddNew();
    rs.Fields(QStringLiteral("ID")).SetValue(Variant(qint32(1)));
    rs.Fields(QStringLiteral("NOMBRE")).SetValue(kNombre);
    rs.Fields(QStringLiteral("ALTA")).SetValue(kAlta);
    rs.Fields(QStringLiteral("IMPORTE")).SetValue(Moneda::DesdeEscalado(12345678));
    rs.Fields(QStringLiteral("GRANDE")).SetValue(kGrande);
    rs.Fields(QStringLiteral("CANTIDAD")).SetValue(Variant(qint16(7)));
    rs.Fields(QStringLiteral("TEXTO")).SetValue(largo);
    rs.Update();
    rs.AddNew();
    rs.Fields(QStringLiteral("ID")).SetValue(Variant(qint32(2)));
    rs.Fields(QStringLiteral("NOMBRE")).SetValue(Variant::Null());
    rs.Fields(QStringLiteral("ALTA")).SetValue(Variant::Null());
    rs.Fields(QStringLiteral("IMPORTE")).SetValue(Variant::Null());
    rs.Update();
    rs.Close();

    // The server holds the characters, the milliseconds and every digit.
    EXPECT_EQ(EnElServidor(QStringLiteral("SELECT NOMBRE || '|' || ALTA || '|' || IMPORTE || '|' || GRANDE || '|' || "
                                          "length(TEXTO) FROM MOVIMIENTOS WHERE ID = 1")),
              kNombre + QStringLiteral("|2026-03-01 08:15:30.123|1234.5678|") + kGrande + QStringLiteral("|6000"));
    EXPECT_EQ(EnElServidor(QStringLiteral("SELECT count(*) FROM MOVIMIENTOS WHERE ID = 2 AND NOMBRE IS NULL AND "
                                          "ALTA IS NULL AND IMPORTE IS NULL AND GRANDE IS NULL")),
              QStringLiteral("1"));

    rs.Open(QStringLiteral("SELECT * FROM MOVIMIENTOS ORDER BY ID"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Valor(QStringLiteral("NOMBRE")), Variant(kNombre));
    EXPECT_EQ(rs.Valor(QStringLiteral("ALTA")).AFecha(), kAlta);
    EXPECT_DOUBLE_EQ(rs.Valor(QStringLiteral("IMPORTE")).ADouble(), 1234.5678);
    EXPECT_EQ(rs.Valor(QStringLiteral("GRANDE")).ATexto(), kGrande);
    EXPECT_EQ(rs.Valor(QStringLiteral("CANTIDAD")).ALargo(), 7);
    EXPECT_EQ(rs.Valor(QStringLiteral("TEXTO")).ATexto(), largo);

    // Edited through the record set: located by the key, the new values written, one set to Null.
    rs.Fields(QStringLiteral("NOMBRE")).SetValue(QStringLiteral("Pingüino ¿sí? 😀"));
    rs.Fields(QStringLiteral("IMPORTE")).SetValue(Moneda::DesdeEscalado(-10001));
    rs.Fields(QStringLiteral("GRANDE")).SetValue(Variant::Null());
    rs.Update();
    rs.MoveNext();
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(rs.Valor(QStringLiteral("NOMBRE")).EsNull());
    rs.Fields(QStringLiteral("GRANDE")).SetValue(QStringLiteral("-0.00000001"));
    rs.Update();
    rs.Close();

    EXPECT_EQ(EnElServidor(QStringLiteral("SELECT ID || '|' || coalesce(NOMBRE, '-') || '|' || coalesce(IMPORTE::text, "
                                          "'-') || '|' || coalesce(GRANDE::text, '-') FROM MOVIMIENTOS ORDER BY ID")),
              QStringLiteral("1|Pingüino ¿sí? 😀|-1.0001|-\n2|-|-|-0.00000001"));
}

// Without a key the row is found by every value a server can compare: the milliseconds count, the long text
// stays out of the comparison.
TEST_F(Postgres, SinClaveSeUbicaPorLosValoresViejos) {
    ASSERT_TRUE(servidor->Psql(
        QStringLiteral("INSERT INTO SIN_CLAVE VALUES ('Uno', '2026-03-01 08:15:30.123', 10.5, repeat('x', 9000)), "
                       "('Uno', '2026-03-01 08:15:30.456', 10.5, 'corto')")));
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM SIN_CLAVE ORDER BY ALTA"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    ASSERT_FALSE(rs.Eof());
    rs.Fields(QStringLiteral("IMPORTE")).SetValue(Moneda::DesdeEscalado(999999));
    rs.Update();
    rs.Close();
    EXPECT_EQ(EnElServidor(QStringLiteral("SELECT IMPORTE FROM SIN_CLAVE ORDER BY ALTA")),
              QStringLiteral("99.9999\n10.5000"));
}

// With a key only the key finds the row: a time kept to the microsecond, read to the millisecond, would not
// compare equal.
TEST_F(Postgres, ConClaveSeUbicaSoloPorLaClave) {
    ASSERT_TRUE(
        servidor->Psql(QStringLiteral("INSERT INTO MARCAS VALUES (1, '2026-03-01 08:15:30.123456', 'uno'), "
                                      "(2, '2026-03-01 08:15:30.123456', 'dos')")));
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM MARCAS WHERE ID = 2"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.Fields(QStringLiteral("NOMBRE")).SetValue(QStringLiteral("Dos bis"));
    rs.Update();
    rs.Close();
    EXPECT_EQ(EnElServidor(QStringLiteral("SELECT NOMBRE FROM MARCAS ORDER BY ID")), QStringLiteral("uno\nDos bis"));
}

// An Oracle connection makes the client's character set Unicode, keeping language and territory.
TEST_F(Postgres, ConexionOracleFijaElClienteEnUnicode) {
    const QByteArray antes = qgetenv("NLS_LANG");
    qputenv("NLS_LANG", "SPANISH_ARGENTINA.WE8ISO8859P1");
    QFile ini(Ruta(QStringLiteral("Servidores.ini")));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(("[ORCL]\r\nMotor=odbc\r\nCadena=" + servidor->CadenaOdbc().replace(QStringLiteral("{base}"), "PRUEBA") +
               "\r\n")
                  .toUtf8());
    ini.close();
    cn.Open(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=pavenko;Password=x;"));
    EXPECT_EQ(qgetenv("NLS_LANG"), QByteArray("SPANISH_ARGENTINA.AL32UTF8"));
    if (antes.isNull())
        qunsetenv("NLS_LANG");
    else
        qputenv("NLS_LANG", antes);
}

// A changed row that no longer matches is reported, not taken for written.
TEST_F(Postgres, FilaCambiadaPorOtroNoSeEncuentra) {
    ASSERT_TRUE(servidor->Psql(QStringLiteral("INSERT INTO SIN_CLAVE VALUES ('Dos', NULL, 1, NULL)")));
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM SIN_CLAVE"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    ASSERT_TRUE(servidor->Psql(QStringLiteral("UPDATE SIN_CLAVE SET IMPORTE = 2")));
    rs.Fields(QStringLiteral("NOMBRE")).SetValue(QStringLiteral("Tres"));
    try {
        rs.Update();
        FAIL() << "the update found a row that had changed";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), -2147217864);
    }
    rs.CancelUpdate();
    EXPECT_EQ(EnElServidor(QStringLiteral("SELECT NOMBRE FROM SIN_CLAVE")), QStringLiteral("Dos"));
}

// Real failures of the server, each with the number the provider of the original gives for its class.
TEST_F(Postgres, FallasRealesConElNumeroDelProveedor) {
    ASSERT_TRUE(servidor->Psql(QStringLiteral("INSERT INTO MOVIMIENTOS (ID, NOMBRE) VALUES (1, 'uno')")));
    cn.Open(Cadena());
    struct Caso {
        const char* sql;
        long numero;
    };
    const Caso casos[] = {
        {"INSERT INTO MOVIMIENTOS (ID, NOMBRE) VALUES (1, 'otro')", Err::ViolacionIntegridad},  // duplicate key
        {"INSERT INTO MOVIMIENTOS (NOMBRE) VALUES ('sin id')", Err::ViolacionIntegridad},       // NOT NULL
        {"SELECT * FROM NO_EXISTE", Err::TablaNoEncontrada},
        {"SELEC 1", Err::ErrorSentencia},
        {"SELECT CAST('x' AS int)", -2147217913},  // conversion
        {"SELECT 1 / 0", -2147217833},             // division by zero
    };
    for (const Caso& c : casos) {
        try {
            cn.Execute(QString::fromUtf8(c.sql));
            ADD_FAILURE() << c.sql << " did not fail";
        } catch (const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), c.numero) << c.sql << ": " << e.Description().toStdString();
            ASSERT_GE(cn.errors().Count(), 1) << c.sql;
            EXPECT_EQ(cn.errors().Item(0).Number, c.numero) << c.sql;
            EXPECT_EQ(cn.errors().Item(0).Source, QStringLiteral("Microsoft OLE DB Provider for SQL Server")) << c.sql;
        }
    }
    // A duplicate written through a record set fails the same way.
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM MOVIMIENTOS"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.AddNew();
    rs.Fields(QStringLiteral("ID")).SetValue(Variant(qint32(1)));
    try {
        rs.Update();
        ADD_FAILURE() << "duplicate written";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ViolacionIntegridad);
    }
    rs.CancelUpdate();
    rs.Close();

    // A user without rights on a table.
    Connection otro;
    otro.Open(Cadena(QStringLiteral("cajero")));
    try {
        otro.Execute(QStringLiteral("SELECT * FROM SECRETA"));
        ADD_FAILURE() << "read without rights";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), -2147217911);
    }
}

TEST_F(Postgres, SentenciaCortadaPorElTiempoDeEspera) {
    cn.SetCommandTimeout(1);
    cn.Open(Cadena());
    QElapsedTimer reloj;
    reloj.start();
    try {
        cn.Execute(QStringLiteral("SELECT pg_sleep(20)"));
        FAIL() << "the statement outlived its time-out";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), -2147217871);
        EXPECT_EQ(e.Description(), QStringLiteral("Tiempo de espera agotado"));
    }
    EXPECT_LT(reloj.elapsed(), 10000);
    // The connection goes on serving.
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) FROM MOVIMIENTOS"), cn);
    EXPECT_EQ(rs.Fields(0).Value().ALargo(), 0);
}

}  // namespace
