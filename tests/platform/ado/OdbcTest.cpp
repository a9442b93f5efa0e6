// The ODBC engine for real, through unixODBC and the SQLite ODBC driver on the test server's files: the same
// statements, types, errors and schema as the embedded engine, the project's extension loaded by the driver.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "BaseDePrueba.h"
#include "ErrorEjecucion.h"
#include "MotorOdbc.h"

namespace {

class Odbc : public ConBaseDePrueba {
  protected:
    void SetUp() override {
        ConBaseDePrueba::SetUp();
        AgregaServidorOdbc();
    }
    static QString CadenaOdbc(const QString& base = QStringLiteral("DEMO")) {
        return QStringLiteral("PROVIDER=SQLOLEDB;Server=odbcsrv;Database =") + base + QStringLiteral(";UId=sa;Pwd=x;");
    }
};

TEST_F(Odbc, ConectaPorElControladorYAdaptaElDialecto) {
    cn.Open(CadenaOdbc());
    auto* motor = dynamic_cast<MotorOdbc*>(&cn.motor());
    ASSERT_NE(motor, nullptr);
    EXPECT_TRUE(motor->EsSqlite());
    EXPECT_EQ(cn.DefaultDatabase(), QStringLiteral("DEMO"));

    // The collation comes from the extension the driver loaded: a trailing blank and the case are ignored.
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 TA_MENU.Nombre FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON "
                           "TA_TAREAS.TAREA = TA_MENU.Clave  WHERE (TA_TAREAS.USUARIO = 'cajero ') AND "
                           "(TA_MENU.Proceso LIKE '%PAVENKO%')"),
            cn);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(0).Value().ATexto(), QStringLiteral("Impresora fiscal"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
}

// An ODBC string without a provider goes to the driver as it is; its errors keep the ODBC source.
TEST_F(Odbc, CadenaOdbcDirecta) {
    cn.Open(QStringLiteral("Driver=") + ControladorSqlite() + QStringLiteral(";Database=") +
            ArchivoBase(QStringLiteral("DEMO")) + QLatin1Char(';'));
    EXPECT_TRUE(cn.ConnectionString().startsWith(QStringLiteral("Provider=MSDASQL.1;Driver=") + ControladorSqlite()));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 Valor FROM TA_CONFIGURACION with(nolock) WHERE Clave = 'TPV_SERVER '"), cn);
    EXPECT_EQ(rs.Fields(0).Value().ATexto(), QStringLiteral("DEMOSRV"));
    EXPECT_THROW(cn.Execute(QStringLiteral("SELECT * FROM NO_EXISTE")), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 208);
    EXPECT_EQ(cn.errors().Item(0).Source, QStringLiteral("Microsoft OLE DB Provider for ODBC Drivers"));
}

TEST_F(Odbc, LeeTiposYValores) {
    cn.Open(CadenaOdbc());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT Codigo, Precio, Stock, Activo, Alta, Peso FROM dbo.ARTICULOS ORDER BY Codigo"), cn,
            ado::adOpenStatic);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields(0).Type(), ado::adVarChar);
    EXPECT_EQ(rs.Fields(0).DefinedSize(), 20);
    EXPECT_EQ(rs.Fields(2).Type(), ado::adInteger);
    EXPECT_EQ(rs.Fields(3).Type(), ado::adBoolean);
    EXPECT_EQ(rs.Fields(4).Type(), ado::adDBTimeStamp);
    EXPECT_EQ(rs.Valor(QStringLiteral("Codigo")).ATexto(), QStringLiteral("A1"));
    EXPECT_EQ(rs.Valor(QStringLiteral("Stock")), Variant(qint32(10)));
    EXPECT_EQ(rs.Valor(QStringLiteral("Activo")), Variant(true));
    EXPECT_EQ(rs.Valor(QStringLiteral("Alta")), Variant(QDateTime(QDate(2026, 3, 1), QTime(8, 15))));
    EXPECT_DOUBLE_EQ(rs.Valor(QStringLiteral("Precio")).ADouble(), 1.5);
    rs.MoveNext();
    EXPECT_TRUE(rs.Valor(QStringLiteral("Alta")).EsNull());
}

TEST_F(Odbc, EscribeConSentenciasYConElRecordset) {
    cn.Open(CadenaOdbc());
    long afectadas = 0;
    cn.Execute(QStringLiteral("BEGIN TRANSACTION \r\r\rUPDATE ARTICULOS SET Stock = 5 WHERE Codigo = 'a1 '\r"),
               &afectadas);
    cn.Execute(QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_EQ(afectadas, 1);

    Recordset rs;
    rs.Open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), cn, ado::adOpenDynamic,
            ado::adLockOptimistic);
    rs.AddNew();
    rs.Fields(QStringLiteral("Proceso")).SetValue(QStringLiteral("PAVENKO"));
    rs.Fields(QStringLiteral("SQL")).SetValue(QStringLiteral("INSERT INTO X VALUES ('it''s')"));
    rs.Update();
    rs.Close();

    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS WHERE Codigo = 'A2'"), cn, ado::adOpenDynamic,
            ado::adLockOptimistic);
    rs.Fields(QStringLiteral("Descripcion")).SetValue(QStringLiteral("Harina 0000"));
    rs.Update();
    rs.Close();

    cn.Close();
    cn.Open(Cadena());  // the same file, embedded
    Recordset leido;
    leido.Open(QStringLiteral("SELECT a.Stock, b.Descripcion, (SELECT SQL FROM AUX_ERR) FROM ARTICULOS a, ARTICULOS b "
                              "WHERE a.Codigo = 'A1' AND b.Codigo = 'A2'"),
               cn);
    EXPECT_EQ(leido.Fields(0).Value().ALargo(), 5);
    EXPECT_EQ(leido.Fields(1).Value().ATexto(), QStringLiteral("Harina 0000"));
    EXPECT_EQ(leido.Fields(2).Value().ATexto(), QStringLiteral("INSERT INTO X VALUES ('it''s')"));
}

TEST_F(Odbc, DiagnosticosDeUnaSentenciaFallida) {
    cn.Open(CadenaOdbc());
    const std::pair<const char*, long> casos[] = {
        {"INSERT INTO TA_CONFIGURACION (Clave) VALUES ('MAXDTO')", 2627},
        {"SELECT * FROM NO_EXISTE", 208},
        {"INSERT INTO ARTICULOS (Codigo) VALUES ('A9')", 515},
        {"SELEC 1", 102},
    };
    for (const auto& [sql, nativo] : casos) {
        EXPECT_THROW(cn.Execute(QString::fromUtf8(sql)), ErrorEjecucion) << sql;
        ASSERT_GE(cn.errors().Count(), 1) << sql;
        EXPECT_EQ(cn.errors().Item(0).NativeError, nativo) << sql;
        EXPECT_FALSE(cn.errors().Item(0).SQLState.isEmpty()) << sql;
        EXPECT_EQ(cn.errors().Item(0).Source, QStringLiteral("Microsoft OLE DB Provider for SQL Server")) << sql;
    }
}

TEST_F(Odbc, TransaccionManualYBaseDesconocida) {
    cn.Open(CadenaOdbc());
    cn.BeginTrans();
    cn.Execute(QStringLiteral("DELETE FROM ARTICULOS"));
    cn.RollbackTrans();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) FROM ARTICULOS"), cn);
    EXPECT_EQ(rs.Fields(0).Value().ALargo(), 2);
    rs.Close();
    cn.SetDefaultDatabase(QStringLiteral("TK_ESTADISTICAS"));
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT * FROM ESTADISTICAS")));
    cn.Close();

    EXPECT_THROW(cn.Open(CadenaOdbc(QStringLiteral("NOEXISTE"))), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 4060);
    EXPECT_FALSE(QFileInfo::exists(ArchivoBase(QStringLiteral("NOEXISTE"))));
}

TEST_F(Odbc, EsquemaPorSqlTablesYSqlColumns) {
    cn.Open(CadenaOdbc());
    Recordset tablas;
    cn.OpenSchema(ado::adSchemaTables, {Variant(), Variant(), Variant("ta_configuracion"), Variant()}, tablas);
    ASSERT_FALSE(tablas.Eof());
    EXPECT_EQ(tablas.Valor(QStringLiteral("TABLE_NAME")).ATexto(), QStringLiteral("TA_CONFIGURACION"));
    EXPECT_EQ(tablas.Valor(QStringLiteral("TABLE_TYPE")).ATexto(), QStringLiteral("TABLE"));

    Recordset columnas;
    cn.OpenSchema(ado::adSchemaColumns, {Variant("DEMO"), Variant(""), Variant("TA_CONFIGURACION"), Variant()},
                  columnas);
    QStringList nombres;
    while (!columnas.Eof()) {
        nombres << columnas.Valor(QStringLiteral("COLUMN_NAME")).ATexto();
        columnas.MoveNext();
    }
    EXPECT_EQ(nombres, QStringList({"Clave", "Valor", "ValorAux"}));
}

}  // namespace

// Text beyond ASCII crosses the driver unchanged both ways, in statements and in the record set's bound values.
TEST_F(Odbc, TextoUnicodeIdaYVuelta) {
    const QString nombre = QStringLiteral("Ñandú 5 € ¿sí?");
    cn.Open(CadenaOdbc());
    cn.Execute(QStringLiteral("UPDATE ARTICULOS SET Descripcion = N'") + nombre +
               QStringLiteral("' WHERE Codigo = 'A1'"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS WHERE Codigo = 'A2'"), cn, ado::adOpenDynamic,
            ado::adLockOptimistic);
    rs.Fields(QStringLiteral("Descripcion")).SetValue(nombre + QStringLiteral(" 2"));
    rs.Update();
    rs.Close();
    rs.Open(QStringLiteral("SELECT Descripcion FROM ARTICULOS WHERE Descripcion LIKE N'Ñandú%' ORDER BY Codigo"), cn);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(0).Value().ATexto(), nombre);
    rs.Close();
    cn.Close();

    cn.Open(Cadena());  // the same file, embedded
    rs.Open(QStringLiteral("SELECT Descripcion FROM ARTICULOS ORDER BY Codigo"), cn);
    EXPECT_EQ(rs.GetRows(), (QList<QList<Variant>>{{Variant(nombre)}, {Variant(nombre + QStringLiteral(" 2"))}}));
}
