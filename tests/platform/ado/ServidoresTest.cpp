// Resolution of connection strings through Servidores.ini, and the string a connection reports back.
#include <gtest/gtest.h>

#include <QFile>

#include "BaseDePrueba.h"
#include "ErrorEjecucion.h"
#include "Servidores.h"
#include "Texto.h"

namespace {

class Servidores : public ConBaseDePrueba {
  protected:
    void SetUp() override {
        ConBaseDePrueba::SetUp();
        QFile ini(Ruta(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::Append));
        ini.write(
            "[Central]\r\nMotor=ODBC\r\nCadena=Driver=FreeTDS;Server={servidor}.empresa;Database={base};"
            "UID={usuario};PWD={clave};\r\n[ORCL]\r\nmotor=sqlite\r\ncarpeta=datos\r\n");
    }
};

TEST_F(Servidores, CadaProveedorLlevaASuMotor) {
    struct Caso {
        const char* cadena;
        Destino::Motor motor;
        const char* carpetaOArchivoOCadena;
        const char* base;
    };
    const Caso casos[] = {
        {"PROVIDER=SQLOLEDB;Server=SRV01;Database =DEMO;UId=U;Pwd=P;", Destino::Motor::Sqlite, "datos", "DEMO"},
        {"Provider=SQLOLEDB.1;Password=P;User ID=U;Initial Catalog=TK_ESTADISTICAS;Data Source=srv01",
         Destino::Motor::Sqlite, "datos", "TK_ESTADISTICAS"},
        {"PROVIDER=SQLOLEDB;Server=CENTRAL;Database =DEMO;UId=U;Pwd=P;", Destino::Motor::Odbc,
         "Driver=FreeTDS;Server=CENTRAL.empresa;Database=DEMO;UID=U;PWD=P;", "DEMO"},
        {"PROVIDER=SQLOLEDB;Server=OTRO;Database =DEMO;UId=U;Pwd=P;", Destino::Motor::Odbc,
         "Driver=FreeTDS;Server=OTRO;Port=1433;Database=DEMO;UID=U;PWD=P;TDS_Version=7.3;ClientCharset=UTF-8;", "DEMO"},
        {"Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=U;Password=P;", Destino::Motor::Sqlite, "datos", "ORCL"},
        {"Provider=OraOLEDB.Oracle.1;Data Source=TNS9;User Id=U;Password=P;", Destino::Motor::Odbc,
         "Driver=Oracle;DBQ=TNS9;UID=U;PWD=P;", "TNS9"},
        {"Driver=SQLite3;Database=/tmp/x.db", Destino::Motor::Odbc, "Driver=SQLite3;Database=/tmp/x.db;", ""},
    };
    for (const auto& c : casos) {
        const Destino d = ResuelveDestino(QString::fromUtf8(c.cadena));
        EXPECT_EQ(d.motor, c.motor) << c.cadena;
        if (d.motor == Destino::Motor::Sqlite)
            EXPECT_EQ(d.carpeta, Ruta(QString::fromUtf8(c.carpetaOArchivoOCadena))) << c.cadena;
        else
            EXPECT_EQ(d.cadenaOdbc, QString::fromUtf8(c.carpetaOArchivoOCadena)) << c.cadena;
        EXPECT_EQ(d.base, QString::fromUtf8(c.base)) << c.cadena;
    }
    const Destino jet = ResuelveDestino(
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =C:\\x\\local.mdb;User Id=admin;"));
    EXPECT_EQ(jet.dialecto, Destino::Dialecto::Access);
    EXPECT_EQ(jet.archivo, QStringLiteral("C:\\x\\local.mdb"));
}

// A password with a separator stays a password: quoted in the OLE DB string, braced in the ODBC one.
TEST_F(Servidores, ValoresConSeparadoresNoSeMezclanConLaCadena) {
    const Destino d = ResuelveDestino(
        QStringLiteral("PROVIDER=SQLOLEDB;Server=CENTRAL;Database =DEMO;UId=U;Pwd=\"a;Driver=x\"\"\";"));
    EXPECT_EQ(d.clave, QStringLiteral("a;Driver=x\""));
    EXPECT_EQ(d.cadenaOdbc,
              QStringLiteral("Driver=FreeTDS;Server=CENTRAL.empresa;Database=DEMO;UID=U;PWD={a;Driver=x\"};"));
    const Destino releido = ResuelveDestino(CadenaDeInforme(d, QStringLiteral("DEMO")));
    EXPECT_EQ(releido.clave, d.clave);
    EXPECT_EQ(releido.cadenaOdbc, d.cadenaOdbc);
}

TEST_F(Servidores, ProveedorDesconocidoEs3706) {
    try {
        cn.Open(QStringLiteral("Provider=Nada.1;Data Source=x"));
        ADD_FAILURE() << "opened";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), 3706);
        EXPECT_EQ(cn.errors().Count(), 1);
    }
}

// The database object tells an Oracle connection by the string the connection reports.
TEST_F(Servidores, ConexionOracleInformaOracleYSeReabre) {
    Directo(QStringLiteral("CREATE TABLE DUAL (X varchar(1)); INSERT INTO DUAL VALUES ('X')"), QStringLiteral("ORCL"));
    cn.Open(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=U;Password=P;"));
    EXPECT_GT(Instr(cn.ConnectionString(), QStringLiteral("ORACLE")), 1);
    cn.Close();
    cn.Open(cn.ConnectionString());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT X FROM DUAL"), cn);
    EXPECT_EQ(rs.Fields(0).Value().ATexto(), QStringLiteral("X"));
    EXPECT_EQ(Instr(Cadena(), QStringLiteral("ORACLE")), 0);
}

TEST_F(Servidores, ArchivoJetSeAbreConSqliteYSiFaltaEs3024) {
    cn.Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =") + ArchivoBase(QStringLiteral("DEMO")) +
            QStringLiteral(";User Id=admin;Password=;"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 Codigo FROM ARTICULOS ORDER BY Codigo DESC"), cn);
    EXPECT_EQ(rs.Fields(0).Value().ATexto(), QStringLiteral("A2"));
    cn.Close();

    EXPECT_THROW(cn.Open(QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =") +
                         Ruta(QStringLiteral("no.mdb")) + QStringLiteral(";")),
                 ErrorEjecucion);
    ASSERT_EQ(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).SQLState, QStringLiteral("3024"));
    EXPECT_EQ(cn.errors().Item(0).Source, QStringLiteral("Microsoft JET Database Engine"));
}

}  // namespace
