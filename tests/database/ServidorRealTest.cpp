// The database object against real servers over ODBC: a private PostgreSQL server stopped and started under an
// open connection, stopped for good, a statement cut by its time-out; FreeTDS's driver against a closed port.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "DB_Dll.h"
#include "ServidorPostgres.h"
#include "Soporte.h"
#include "frmAcceso.h"

namespace {

class ServidorReal : public ConEntorno {
  protected:
    static void SetUpTestSuite() {
        servidor = new ServidorPostgres;
        if (servidor->Crea())
            servidor->Psql(
                QStringLiteral("CREATE TABLE MOVIMIENTOS (ID int PRIMARY KEY, NOMBRE varchar(60)); "
                               "INSERT INTO MOVIMIENTOS VALUES (1, 'Ñandú')"));
    }
    static void TearDownTestSuite() {
        delete servidor;
        servidor = nullptr;
    }
    void SetUp() override {
        ConEntorno::SetUp();
        ASSERT_TRUE(servidor->Error().isEmpty()) << servidor->Error().toStdString();
        // A case that stopped the server leaves it for the next one started again.
        if (!servidor->EnMarcha()) {
            ASSERT_TRUE(servidor->Arranca()) << servidor->Error().toStdString();
        }
        QFile ini(Ruta(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(("[PGSRV]\r\nMotor=odbc\r\nCadena=" + servidor->CadenaOdbc() + "\r\n").toUtf8());
        ini.close();
    }
    void TearDown() override {
        DB_Dll::ReiniciaPredeterminada();
        ConEntorno::TearDown();
    }
    void Conecta() {
        db.gServidor = QStringLiteral("PGSRV");
        db.gDBName = QStringLiteral("PRUEBA");
        db.gUsuario = QStringLiteral("pavenko");
        db.gUserPassWord = QStringLiteral("x");
        db.OpenServerADODB(false, 3, QString(), false, true);
    }
    QString LeeNombre() {
        Recordset rs;
        db.AbrirRecordset(QStringLiteral("SELECT NOMBRE FROM MOVIMIENTOS WHERE ID = 1"), rs);
        if (rs.State() != ado::adStateOpen || rs.Eof()) return QStringLiteral("<nada>");
        return rs.Fields(0).Value().ATexto();
    }

    static ServidorPostgres* servidor;
    DB_Dll& db = DB_Dll::Predeterminada();
};
ServidorPostgres* ServidorReal::servidor = nullptr;

// The server goes away under an open connection and comes back: the next read reconnects on its own.
TEST_F(ServidorReal, ServidorCaidoYVueltoSeReconectaAlAbrir) {
    Conecta();
    ASSERT_TRUE(db.gOpenFlag);
    EXPECT_EQ(LeeNombre(), QStringLiteral("Ñandú"));
    ASSERT_TRUE(servidor->Detiene(QStringLiteral("immediate"))) << servidor->Error().toStdString();
    ASSERT_TRUE(servidor->Arranca()) << servidor->Error().toStdString();
    EXPECT_EQ(LeeNombre(), QStringLiteral("Ñandú"));
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(guion.Cajas().empty());
}

// The server stays away: the operator gets the record set's box, the program does not hang, the flag says so.
TEST_F(ServidorReal, ServidorCaidoParaSiempreMuestraLaCaja) {
    Conecta();
    ASSERT_TRUE(db.gOpenFlag);
    ASSERT_TRUE(servidor->Detiene(QStringLiteral("immediate"))) << servidor->Error().toStdString();
    guion.Responde(Respuesta::Abort);
    QElapsedTimer reloj;
    reloj.start();
    EXPECT_EQ(LeeNombre(), QStringLiteral("<nada>"));
    EXPECT_LT(reloj.elapsed(), 30000);
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_TRUE(guion.Cajas()[0].titulo.endsWith(QStringLiteral(" - AbrirRecordset Aviso al operador!!! ")))
        << guion.Cajas()[0].titulo.toStdString();
    EXPECT_TRUE(guion.Cajas()[0].texto.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (-2147467259)")))
        << guion.Cajas()[0].texto.toStdString();
    EXPECT_FALSE(db.gOpenFlag);
    // Back again, the operator's next attempt opens.
    ASSERT_TRUE(servidor->Arranca()) << servidor->Error().toStdString();
    db.ReintentaConectar();
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(LeeNombre(), QStringLiteral("Ñandú"));
}

// Statements whose failure the operator must hear of, and those the system keeps silent.
TEST_F(ServidorReal, EjecutaConsultaCallaSoloLoQueDebe) {
    Conecta();
    db.gCnn.SetCommandTimeout(1);
    struct Caso {
        const char* sql;
        const char* caja;  // nullptr: silent
    };
    const Caso casos[] = {
        {"SELECT pg_sleep(20)", "Tiempo de espera agotado"},
        {"INSERT INTO MOVIMIENTOS (ID) VALUES (1)", nullptr},
        {"INSERT INTO MOVIMIENTOS (NOMBRE) VALUES ('x')", nullptr},
        {"DELETE FROM NO_EXISTE", nullptr},
        {"SELEC 1", nullptr},
        {"UPDATE MOVIMIENTOS SET ID = CAST('x' AS int)", "invalid input syntax"},
    };
    for (const Caso& c : casos) {
        const size_t antes = guion.Cajas().size();
        if (c.caja) guion.Responde(Respuesta::OK);
        db.EjecutaConsultaSQL(QString::fromUtf8(c.sql));
        ASSERT_EQ(guion.Cajas().size(), antes + (c.caja ? 1 : 0)) << c.sql;
        if (!c.caja) continue;
        EXPECT_TRUE(guion.Cajas().back().texto.contains(QString::fromUtf8(c.caja))) << c.sql;
        EXPECT_EQ(guion.Cajas().back().titulo, QStringLiteral("Aviso al operador!!!")) << c.sql;
    }
}

// No PostgreSQL here: only FreeTDS's driver and a port where nothing listens.
class SinServidor : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        QFile ini(Ruta(QStringLiteral("Servidores.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(
            ("[SRVTDS]\r\nMotor=odbc\r\nCadena=Driver=FreeTDS;Server=127.0.0.1;Port=" + QString::number(PuertoLibre()) +
             ";Database={base};UID={usuario};PWD={clave};TDS_Version=7.3;ClientCharset=UTF-8;\r\n")
                .toUtf8());
        ini.close();
    }
    void TearDown() override {
        DB_Dll::ReiniciaPredeterminada();
        ConEntorno::TearDown();
    }
    DB_Dll& db = DB_Dll::Predeterminada();
};

// FreeTDS's driver, loaded for real, finds nothing at the port: the operator reads the provider's error and may
// give other connection data in the dialog.
TEST_F(SinServidor, FreeTdsContraUnPuertoCerradoLlegaAlOperador) {
    guion.Responde(Respuesta::Yes);
    guion.AlMostrar([](QDialog& d) { static_cast<frmAcceso&>(d).bcCancelar->click(); });
    QElapsedTimer reloj;
    reloj.start();
    db.gServidor = QStringLiteral("SRVTDS");
    db.gDBName = QStringLiteral("EMPRESA");
    db.gUsuario = QStringLiteral("sa");
    db.gUserPassWord = QStringLiteral("x");
    db.OpenServerADODB(false, 3, QString(), false, true);
    EXPECT_LT(reloj.elapsed(), 30000);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(guion.Cajas().size(), 1u);
    const auto& caja = guion.Cajas()[0];
    EXPECT_EQ(caja.titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
    EXPECT_TRUE(caja.texto.startsWith(QStringLiteral(" Estado de Sql: 08"))) << caja.texto.toStdString();
    EXPECT_TRUE(caja.texto.contains(QStringLiteral("Numero de Error: -2147467259"))) << caja.texto.toStdString();
    EXPECT_TRUE(caja.texto.contains(QStringLiteral("Unable to connect"))) << caja.texto.toStdString();
    EXPECT_FALSE(guion.QuedanRespuestas());
}

}  // namespace
