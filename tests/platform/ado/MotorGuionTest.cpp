// The scripted engine as the layers above use it: what it records, what it answers, a lost connection.
#include <gtest/gtest.h>

#include "ErrorEjecucion.h"
#include "MotorGuion.h"
#include "Soporte.h"

namespace {

class ConGuion : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        Connection::FijaFabricaDePrueba(MotorGuion::Fabrica(g));
    }
    void TearDown() override {
        Connection::FijaFabricaDePrueba(nullptr);
        ConEntorno::TearDown();
    }
    std::shared_ptr<GuionMotor> g = std::make_shared<GuionMotor>();
    Connection cn;
};

TEST_F(ConGuion, RegistraCadaSentenciaYLlamadaEnOrden) {
    cn.Open(QStringLiteral("PROVIDER=SQLOLEDB;Server=X;Database =DEMO;UId=U;Pwd=P;"));
    cn.BeginTrans();
    cn.Execute(QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO T VALUES (1)\r"));
    cn.Execute(QStringLiteral("COMMIT TRANSACTION"));
    cn.CommitTrans();
    cn.RollbackTrans();
    EXPECT_EQ(g->sentencias, QStringList({"BeginTrans", "BEGIN TRANSACTION \r\r\rINSERT INTO T VALUES (1)\r",
                                          "COMMIT TRANSACTION", "CommitTrans", "RollbackTrans"}));
    EXPECT_EQ(g->aperturas, QStringList({"PROVIDER=SQLOLEDB;Server=X;Database =DEMO;UId=U;Pwd=P;"}));
    EXPECT_EQ(cn.ConnectionString(), g->aperturas.front());
    EXPECT_EQ(dynamic_cast<MotorGuion&>(cn.motor()).guion().sentencias.size(), 5);
}

TEST_F(ConGuion, ContestaFilasCuentasYErrores) {
    g->Filas(QStringLiteral("ta_configuracion"), {"VALOR", "valoraux"}, {{Variant("SI"), Variant::Null()}});
    g->Afectadas(QStringLiteral("UPDATE"), 3);
    g->Falla(QStringLiteral("INSERT"),
             {{Err::ViolacionIntegridad, QStringLiteral("Violation of PRIMARY KEY constraint 'PK_T'."),
               QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("23000"), 2627},
              {Err::ViolacionIntegridad, QStringLiteral("The statement has been terminated."),
               QStringLiteral("Microsoft OLE DB Provider for SQL Server"), QStringLiteral("01000"), 3621}});
    cn.Open(QStringLiteral("x"));

    Recordset rs;
    rs.Open(QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'X'"), cn);
    EXPECT_EQ(rs.Valor(QStringLiteral("valor")).ATexto(), QStringLiteral("SI"));
    EXPECT_TRUE(rs.Valor(QStringLiteral("VALORAUX")).EsNull());
    long afectadas = 0;
    cn.Execute(QStringLiteral("UPDATE T SET a = 1"), &afectadas);
    EXPECT_EQ(afectadas, 3);

    try {
        cn.Execute(QStringLiteral("INSERT INTO T VALUES (1)"));
        ADD_FAILURE() << "no failure";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ViolacionIntegridad);
        EXPECT_EQ(e.Source(), QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
    }
    ASSERT_EQ(cn.errors().Count(), 2);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 2627);
    EXPECT_EQ(cn.errors().Item(1).SQLState, QStringLiteral("01000"));
    // The failure was scripted once: the same statement now succeeds.
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("INSERT INTO T VALUES (1)")));
}

TEST_F(ConGuion, ConexionPerdidaHastaReabrir) {
    cn.Open(QStringLiteral("x"));
    g->PierdeConexion();
    try {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT 1"), cn);
        ADD_FAILURE() << "no failure";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ErrorNoEspecificado);
    }
    EXPECT_EQ(cn.errors().Item(0).SQLState, QStringLiteral("08S01"));

    g->PierdeConexion(true);
    try {
        cn.Execute(QStringLiteral("SELECT 1"));
        ADD_FAILURE() << "no failure";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ConexionInutilizable);
    }
    EXPECT_EQ(cn.errors().Count(), 1);

    cn.Close();
    cn.Open(cn.ConnectionString());
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT 1")));

    g->PierdeConexion(false, false);
    cn.Close();
    EXPECT_THROW(cn.Open(QStringLiteral("x")), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 17);
    EXPECT_EQ(cn.State(), ado::adStateClosed);
}

TEST_F(ConGuion, EsquemaGuionadoFiltraPorNombre) {
    g->Tablas({"TA_USUARIOS", "TA_MENU"});
    g->ColumnasDe(QStringLiteral("TA_USUARIOS"), {"Nombre", "Administrador"});
    cn.Open(QStringLiteral("x"));
    Recordset tablas;
    cn.OpenSchema(ado::adSchemaTables, {Variant(), Variant(), Variant("ta_menu"), Variant()}, tablas);
    EXPECT_EQ(tablas.GetRows().size(), 1);
    Recordset columnas;
    cn.OpenSchema(ado::adSchemaColumns,
                  {Variant("DEMO"), Variant(""), Variant("TA_USUARIOS"), Variant("administrador")}, columnas);
    EXPECT_EQ(columnas.Valor(QStringLiteral("COLUMN_NAME")).ATexto(), QStringLiteral("Administrador"));
    ASSERT_EQ(g->esquemas.size(), 2);
    EXPECT_EQ(g->esquemas[1].first, ado::adSchemaColumns);
}

TEST_F(ConGuion, UpdateDeUnRecordsetQuedaRegistrado) {
    g->Filas(QStringLiteral("AUX_ERR"), {"Proceso", "Fecha", "Error"}, {});
    cn.Open(QStringLiteral("x"));
    Recordset rs;
    rs.Open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), cn, ado::adOpenDynamic,
            ado::adLockOptimistic);
    EXPECT_TRUE(rs.Eof());
    rs.AddNew();
    rs.Fields(QStringLiteral("Proceso")).SetValue(QStringLiteral("PAVENKO"));
    rs.Fields(QStringLiteral("Error")).SetValue(qint32(547));
    rs.Update();
    ASSERT_EQ(g->grabadas.size(), 1);
    EXPECT_EQ(g->grabadas[0].tabla, QStringLiteral("AUX_ERR"));
    EXPECT_TRUE(g->grabadas[0].original.isEmpty());
    EXPECT_EQ(g->grabadas[0].nueva, QList<Variant>({Variant("PAVENKO"), Variant(), Variant(qint32(547))}));

    g->fallasAlGrabar = {{Err::ViolacionIntegridad, QStringLiteral("x"), QString(), QStringLiteral("23000"), 2627}};
    rs.AddNew();
    EXPECT_THROW(rs.Update(), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 2627);
    EXPECT_EQ(rs.EditMode(), ado::adEditAdd);
    rs.CancelUpdate();
}

}  // namespace
