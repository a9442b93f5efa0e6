// Connections and record sets on a real SQLite server folder: navigation, fields and their types, new and
// edited rows reaching the table, the errors of the object model, SQL Server's errors for SQLite's failures,
// databases of one server, and schema rowsets.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <QFileInfo>

#include "BaseDePrueba.h"
#include "ErrorEjecucion.h"

namespace {

class RecordsetEnSqlite : public ConBaseDePrueba {
  protected:
    // The number of the run-time error a call raises, 0 when none.
    template <typename F>
    static long NumeroDe(F&& f) {
        try {
            f();
        } catch (const ErrorEjecucion& e) {
            return e.Number();
        }
        return 0;
    }
    QList<QList<Variant>> Filas(const QString& sql) {
        Recordset rs;
        rs.Open(sql, cn, ado::adOpenStatic);
        if (rs.Eof()) return {};
        return rs.GetRows();
    }
};

TEST_F(RecordsetEnSqlite, NavegaConBofYEof) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT Codigo FROM ARTICULOS ORDER BY Codigo"), cn, ado::adOpenStatic, ado::adLockReadOnly);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_FALSE(rs.Bof());
    EXPECT_EQ(rs.Valor(QStringLiteral("codigo")).ATexto(), QStringLiteral("A1"));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0).Value().ATexto(), QStringLiteral("A2"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(NumeroDe([&] { rs.MoveNext(); }), Err::BofEof);
    EXPECT_EQ(NumeroDe([&] { rs.Fields(0).Value(); }), Err::BofEof);
    rs.MoveLast();
    rs.MovePrevious();
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(NumeroDe([&] { rs.MovePrevious(); }), Err::BofEof);
    rs.MoveFirst();
    EXPECT_EQ(rs.GetRows().size(), 2);
    EXPECT_TRUE(rs.Eof());

    Recordset vacio;
    vacio.Open(QStringLiteral("SELECT * FROM ARTICULOS WHERE 1 = 0"), cn);
    EXPECT_TRUE(vacio.Bof() && vacio.Eof());
    EXPECT_EQ(vacio.RecordCount(), -1);  // forward-only
    EXPECT_EQ(NumeroDe([&] { vacio.MoveFirst(); }), Err::BofEof);
}

TEST_F(RecordsetEnSqlite, CursorDelClienteEsEstatico) {
    cn.SetCursorLocation(ado::adUseClient);
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS"), cn, ado::adOpenForwardOnly);
    EXPECT_EQ(rs.CursorType(), ado::adOpenStatic);
    EXPECT_EQ(rs.RecordCount(), 2);
}

TEST_F(RecordsetEnSqlite, CamposConTiposDeAdoYValores) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS with(nolock) ORDER BY Codigo"), cn);
    struct Campo {
        const char* nombre;
        int tipo;
        long tamano;
    };
    const Campo campos[] = {
        {"Codigo", ado::adVarChar, 20}, {"Descripcion", ado::adVarChar, 60}, {"Precio", ado::adCurrency, 8},
        {"Stock", ado::adInteger, 4},   {"Activo", ado::adBoolean, 2},       {"Alta", ado::adDBTimeStamp, 16},
        {"Peso", ado::adDouble, 8},     {"Familia", ado::adVarChar, 10},     {"Cantidad", ado::adSmallInt, 2},
        {"Tasa", ado::adNumeric, 19},
    };
    ASSERT_EQ(rs.FieldCount(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(rs.Fields(i).Name(), QString::fromLatin1(campos[i].nombre));
        EXPECT_EQ(rs.Fields(i).Type(), campos[i].tipo) << campos[i].nombre;
        EXPECT_EQ(rs.Fields(i).DefinedSize(), campos[i].tamano) << campos[i].nombre;
    }
    EXPECT_EQ(rs.Valor(QStringLiteral("PRECIO")), Variant(Moneda::DesdeDouble(1.5)));
    EXPECT_EQ(rs.Valor(QStringLiteral("Stock")), Variant(qint32(10)));
    EXPECT_EQ(rs.Valor(QStringLiteral("Activo")), Variant(true));
    EXPECT_EQ(rs.Valor(QStringLiteral("Alta")), Variant(QDateTime(QDate(2026, 3, 1), QTime(8, 15))));
    EXPECT_EQ(rs.Valor(QStringLiteral("Cantidad")), Variant(qint16(3)));
    EXPECT_EQ(rs.Valor(QStringLiteral("Tasa")), Variant(10.5));
    rs.MoveNext();
    EXPECT_TRUE(rs.Valor(QStringLiteral("Alta")).EsNull());
    EXPECT_EQ(rs.Valor(QStringLiteral("Activo")), Variant(false));
    EXPECT_EQ(NumeroDe([&] { rs.Fields(QStringLiteral("NoHay")); }), Err::ElementoNoEncontrado);
    EXPECT_EQ(NumeroDe([&] { rs.Fields(10); }), Err::ElementoNoEncontrado);
}

TEST_F(RecordsetEnSqlite, AltaDeFilaInsertaEnLaTablaBase) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), cn, ado::adOpenDynamic,
            ado::adLockOptimistic);
    rs.AddNew();
    EXPECT_EQ(rs.EditMode(), ado::adEditAdd);
    rs.Fields(QStringLiteral("Proceso")).SetValue(QStringLiteral("PAVENKO"));
    rs.Fields(QStringLiteral("Error")).SetValue(qint32(2627));
    rs.Fields(QStringLiteral("Descripcion")).SetValue(QStringLiteral("O'Brien"));
    rs.Update();
    EXPECT_EQ(rs.EditMode(), ado::adEditNone);
    EXPECT_TRUE(rs.Valor(QStringLiteral("PC")).EsNull());
    rs.Close();

    const auto filas = Filas(QStringLiteral("SELECT Proceso, Error, Descripcion, PC FROM AUX_ERR"));
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0][0].ATexto(), QStringLiteral("PAVENKO"));
    EXPECT_EQ(filas[0][1].ALargo(), 2627);
    EXPECT_EQ(filas[0][2].ATexto(), QStringLiteral("O'Brien"));
    EXPECT_TRUE(filas[0][3].EsNull());
}

TEST_F(RecordsetEnSqlite, EdicionActualizaSoloEsaFila) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS ORDER BY Codigo"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.MoveNext();
    rs.Fields(QStringLiteral("Precio")).SetValue(Moneda::DesdeDouble(3.75));
    rs.Fields(QStringLiteral("Alta")).SetValue(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    EXPECT_EQ(rs.EditMode(), ado::adEditInProgress);
    rs.Update();
    rs.MoveFirst();
    rs.Fields(QStringLiteral("Stock")).SetValue(qint32(7));
    rs.CancelUpdate();
    EXPECT_EQ(rs.Valor(QStringLiteral("Stock")).ALargo(), 10);

    const auto filas = Filas(QStringLiteral("SELECT Codigo, Precio, Alta, Stock FROM ARTICULOS ORDER BY Codigo"));
    EXPECT_EQ(filas[0][1], Variant(Moneda::DesdeDouble(1.5)));
    EXPECT_EQ(filas[0][3].ALargo(), 10);
    EXPECT_EQ(filas[1][1], Variant(Moneda::DesdeDouble(3.75)));
    EXPECT_EQ(filas[1][2], Variant(QDateTime(QDate(2026, 12, 1), QTime(9, 0))));
}

TEST_F(RecordsetEnSqlite, ErroresDelModeloDeObjetos) {
    Recordset rs;
    EXPECT_EQ(NumeroDe([&] { rs.Open(QStringLiteral("SELECT 1"), cn); }), Err::ConexionInutilizable);
    EXPECT_EQ(NumeroDe([&] { cn.Execute(QStringLiteral("SELECT 1")); }), Err::ConexionInutilizable);
    EXPECT_EQ(NumeroDe([&] { cn.Close(); }), Err::ObjetoCerrado);
    cn.Open(Cadena());
    EXPECT_EQ(NumeroDe([&] { cn.Open(Cadena()); }), Err::ObjetoAbierto);
    EXPECT_EQ(NumeroDe([&] { rs.Eof(); }), Err::ObjetoCerrado);
    EXPECT_EQ(NumeroDe([&] { rs.Close(); }), Err::ObjetoCerrado);

    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS"), cn);
    EXPECT_EQ(NumeroDe([&] { rs.Open(QStringLiteral("SELECT * FROM ARTICULOS"), cn); }), Err::ObjetoAbierto);
    EXPECT_EQ(NumeroDe([&] { rs.Fields(0).SetValue(QStringLiteral("x")); }), 3251);  // read-only
    EXPECT_EQ(NumeroDe([&] { rs.AddNew(); }), 3251);
    rs.Close();

    // A pending edit must be saved or cancelled before closing.
    rs.Open(QStringLiteral("SELECT * FROM ARTICULOS"), cn, ado::adOpenDynamic, ado::adLockOptimistic);
    rs.AddNew();
    EXPECT_EQ(NumeroDe([&] { rs.Close(); }), Err::OperacionNoPermitida);
    rs.CancelUpdate();
    rs.Close();

    // A statement without rows leaves the record set closed.
    rs.Open(QStringLiteral("UPDATE ARTICULOS SET Stock = 1 WHERE 1 = 0"), cn);
    EXPECT_EQ(rs.State(), ado::adStateClosed);

    // Rows of a join have no single base table to go back to.
    rs.Open(QStringLiteral("SELECT a.Codigo FROM ARTICULOS a INNER JOIN TA_FAMILIAS f ON a.Familia = f.IdFamilia"), cn,
            ado::adOpenDynamic, ado::adLockOptimistic);
    rs.Fields(0).SetValue(QStringLiteral("Z"));
    EXPECT_EQ(NumeroDe([&] { rs.Update(); }), Err::ErrorNoEspecificado);
    rs.CancelUpdate();
}

struct CasoError {
    const char* sql;
    long nativo;
    long numero;
    const char* estado;
    int errores;  // constraint failures carry "The statement has been terminated." as well
};

TEST_F(RecordsetEnSqlite, FallosDeSqliteComoLosDaSqlServer) {
    const CasoError casos[] = {
        {"INSERT INTO TA_CONFIGURACION (Clave) VALUES ('tpv_server ')", 2627, Err::ViolacionIntegridad, "23000", 2},
        {"INSERT INTO ARTICULOS (Codigo, Descripcion, Familia) VALUES ('A9', 'x', '99')", 547, Err::ViolacionIntegridad,
         "23000", 2},
        {"INSERT INTO ARTICULOS (Codigo) VALUES ('A9')", 515, Err::ViolacionIntegridad, "23000", 2},
        {"SELECT * FROM NO_EXISTE with(nolock)", 208, Err::TablaNoEncontrada, "42S02", 1},
        {"SELECT Nada FROM ARTICULOS", 207, Err::ErrorSentencia, "42S22", 1},
        {"INSERT INTO ARTICULOS (Nada) VALUES (1)", 207, Err::ErrorSentencia, "42S22", 1},
        {"SELEC * FROM ARTICULOS", 102, Err::ErrorSentencia, "42000", 1},
        {"SELECT Descripcion FROM ARTICULOS a, TA_FAMILIAS f", 209, Err::ErrorSentencia, "42000", 1},
        {"SELECT NOHAY(1)", 195, Err::ErrorSentencia, "42000", 1},
        {"CREATE TABLE ARTICULOS (x int)", 2714, Err::ErrorSentencia, "42S01", 1},
        {"ROLLBACK TRANSACTION", 3903, Err::ErrorSentencia, "25000", 1},
        {"COMMIT TRANSACTION", 3902, Err::ErrorSentencia, "25000", 1},
        {"SELECT * FROM ARTICULOS WHERE Codigo = 'A1", 105, Err::ErrorSentencia, "42000", 1},
    };
    cn.Open(Cadena());
    for (const auto& c : casos) {
        try {
            cn.Execute(QString::fromUtf8(c.sql));
            ADD_FAILURE() << "no failure: " << c.sql;
        } catch (const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), c.numero) << c.sql;
            EXPECT_EQ(e.Source(), QStringLiteral("Microsoft OLE DB Provider for SQL Server")) << c.sql;
            ASSERT_EQ(cn.errors().Count(), c.errores) << c.sql;
            EXPECT_EQ(cn.errors().Item(0).NativeError, c.nativo) << c.sql;
            EXPECT_EQ(cn.errors().Item(0).SQLState, QString::fromLatin1(c.estado)) << c.sql;
            EXPECT_EQ(cn.errors().Item(0).Description, e.Description()) << c.sql;
            if (c.errores == 2) {
                EXPECT_EQ(cn.errors().Item(1).NativeError, 3621) << c.sql;
            }
        }
    }
    // The next operation starts with an empty collection.
    cn.Execute(QStringLiteral("SELECT 1"));
    EXPECT_EQ(cn.errors().Count(), 0);
}

TEST_F(RecordsetEnSqlite, BloqueoAjenoEsTiempoDeEsperaDeBloqueo) {
    sqlite3* otro = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(ArchivoBase(QStringLiteral("DEMO"))).constData(), &otro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(otro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    cn.SetCommandTimeout(1);
    cn.Open(Cadena());
    EXPECT_THROW(cn.Execute(QStringLiteral("UPDATE ARTICULOS SET Stock = 0")), ErrorEjecucion);
    ASSERT_EQ(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 1222);
    sqlite3_exec(otro, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(otro);
}

// A database that may only be read refuses writes as the server does.
TEST_F(RecordsetEnSqlite, BaseDeSoloLecturaRechazaEscrituras) {
    cn.Open(Cadena());
    cn.Execute(QStringLiteral("PRAGMA query_only = ON"));
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT * FROM ARTICULOS")));
    EXPECT_THROW(cn.Execute(QStringLiteral("DELETE FROM ARTICULOS")), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 3906);
}

TEST_F(RecordsetEnSqlite, BaseQueNoExisteSeRechazaSinCrearla) {
    try {
        cn.Open(Cadena(QStringLiteral("NOEXISTE")));
        ADD_FAILURE() << "opened";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ErrorNoEspecificado);
        ASSERT_EQ(cn.errors().Count(), 1);
        EXPECT_EQ(cn.errors().Item(0).NativeError, 4060);
    }
    EXPECT_EQ(cn.State(), ado::adStateClosed);
    EXPECT_FALSE(QFileInfo::exists(ArchivoBase(QStringLiteral("NOEXISTE"))));
}

TEST_F(RecordsetEnSqlite, BasesDelMismoServidorYCadenaReabrible) {
    cn.Open(Cadena(QStringLiteral("demo")));
    EXPECT_EQ(cn.DefaultDatabase(), QStringLiteral("demo"));
    cn.SetDefaultDatabase(QStringLiteral("TK_ESTADISTICAS"));
    EXPECT_EQ(cn.DefaultDatabase(), QStringLiteral("TK_ESTADISTICAS"));
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT * FROM ESTADISTICAS")));
    EXPECT_THROW(cn.SetDefaultDatabase(QStringLiteral("OTRA")), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 4060);
    EXPECT_EQ(cn.DefaultDatabase(), QStringLiteral("TK_ESTADISTICAS"));

    // Closing and opening with the string the connection reports leads back to the same database.
    cn.SetDefaultDatabase(QStringLiteral("DEMO"));
    cn.Close();
    const QString cadena = cn.ConnectionString();
    EXPECT_TRUE(cadena.contains(QStringLiteral("SQLOLEDB"))) << cadena.toStdString();
    cn.Open(cadena);
    EXPECT_EQ(cn.DefaultDatabase(), QStringLiteral("DEMO"));
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("SELECT * FROM ARTICULOS")));
}

TEST_F(RecordsetEnSqlite, TransaccionDeLaConexion) {
    cn.Open(Cadena());
    cn.BeginTrans();
    cn.Execute(QStringLiteral("DELETE FROM ARTICULOS"));
    cn.RollbackTrans();
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM ARTICULOS")).size(), 2);
    cn.BeginTrans();
    long afectadas = 0;
    cn.Execute(QStringLiteral("DELETE FROM ARTICULOS WHERE Codigo = 'A2'"), &afectadas);
    cn.CommitTrans();
    EXPECT_EQ(afectadas, 1);
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM ARTICULOS")).size(), 1);
}

TEST_F(RecordsetEnSqlite, EsquemaDeTablasYColumnas) {
    cn.Open(Cadena());
    Recordset rs;
    cn.OpenSchema(ado::adSchemaTables, {}, rs);
    QStringList tablas;
    while (!rs.Eof()) {
        tablas << rs.Valor(QStringLiteral("TABLE_NAME")).ATexto() + QLatin1Char('/') +
                      rs.Valor(QStringLiteral("TABLE_TYPE")).ATexto();
        rs.MoveNext();
    }
    EXPECT_TRUE(tablas.contains(QStringLiteral("TA_CONFIGURACION/TABLE")));
    EXPECT_TRUE(tablas.contains(QStringLiteral("v_ta_familias/VIEW")));
    EXPECT_TRUE(tablas.contains(QStringLiteral("sqlite_master/SYSTEM TABLE")));

    Recordset columnas;
    cn.OpenSchema(ado::adSchemaColumns, {Variant("DEMO"), Variant(), Variant("articulos"), Variant()}, columnas);
    QStringList nombres;
    while (!columnas.Eof()) {
        nombres << columnas.Valor(QStringLiteral("COLUMN_NAME")).ATexto();
        columnas.MoveNext();
    }
    EXPECT_EQ(nombres.size(), 10);
    EXPECT_EQ(nombres.front(), QStringLiteral("Codigo"));

    Recordset una;
    cn.OpenSchema(ado::adSchemaColumns, {Variant("DEMO"), Variant(""), Variant("ARTICULOS"), Variant("precio")}, una);
    ASSERT_FALSE(una.Eof());
    EXPECT_EQ(una.Valor(QStringLiteral("DATA_TYPE")).ALargo(), ado::adCurrency);
    EXPECT_EQ(una.Valor(QStringLiteral("ORDINAL_POSITION")).ALargo(), 3);

    Recordset otraBase;
    cn.OpenSchema(ado::adSchemaColumns, {Variant("OTRA"), Variant(), Variant("ARTICULOS"), Variant()}, otraBase);
    EXPECT_TRUE(otraBase.Eof());
}

// The server's collation: letter case and trailing blanks ignored, accents not.
TEST_F(RecordsetEnSqlite, IntercalacionDelServidor) {
    cn.Open(Cadena());
    const std::pair<const char*, int> casos[] = {
        {"'peña' = 'PEÑA  '", 1}, {"'Ábaco' = 'ábaco'", 1}, {"'abaco' = 'ábaco'", 0}, {"'a b' = 'a  b'", 0},
        {"'B' > 'a'", 1},         {"' x' = 'x'", 0},        {"'' = '   '", 1},
    };
    for (const auto& [comparacion, esperado] : casos) {
        Recordset rs;
        rs.Open(
            QStringLiteral("SELECT ") + QString::fromUtf8(comparacion)
                                            .replace(QStringLiteral(" = "), QStringLiteral(" COLLATE SQLSERVER = "))
                                            .replace(QStringLiteral(" > "), QStringLiteral(" COLLATE SQLSERVER > ")),
            cn);
        EXPECT_EQ(rs.Fields(0).Value().ALargo(), esperado) << comparacion;
    }
}

TEST_F(RecordsetEnSqlite, FuncionesDelServidor) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT LEN('ab  '), CHARINDEX('RIN', 'Harina'), CHARINDEX('a', 'Harina', 3), "
                           "ISNULL(NULL, 'x'), LEN(CONVERT(varchar(19), GETDATE(), 120)), CONVERT(NVARCHAR, Alta, "
                           "103), CONVERT(INT, '12'), "
                           "CONVERT(varchar(8), Alta, 108) FROM ARTICULOS WHERE Codigo = 'A1'"),
            cn);
    EXPECT_EQ(rs.Fields(5).Value().ATexto(), QStringLiteral("01/03/2026"));
    EXPECT_EQ(rs.Fields(6).Value(), Variant(qint32(12)));
    EXPECT_EQ(rs.Fields(7).Value().ATexto(), QStringLiteral("08:15:00"));
    EXPECT_EQ(rs.Fields(0).Value().ALargo(), 2);
    EXPECT_EQ(rs.Fields(1).Value().ALargo(), 3);
    EXPECT_EQ(rs.Fields(2).Value().ALargo(), 6);
    EXPECT_EQ(rs.Fields(3).Value().ATexto(), QStringLiteral("x"));
    EXPECT_EQ(rs.Fields(4).Value().ALargo(), 19);
}

}  // namespace
