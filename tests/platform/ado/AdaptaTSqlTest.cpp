// The T-SQL adapter: the rewrites on the texts the system sends, and those statements run on a real SQLite file.
#include <gtest/gtest.h>

#include "AdaptaTSql.h"
#include "BaseDePrueba.h"
#include "ErrorEjecucion.h"

namespace {

struct Caso {
    const char* entrada;
    QStringList esperadas;
};

TEST(AdaptaTSql, ReescribeSoloFueraDeLiteralesYNombres) {
    const Caso casos[] = {
        {"SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'X'",
         {"SELECT VALOR, valoraux FROM TA_CONFIGURACION   WHERE CLAVE = 'X'"}},
        {"Select TOP 1 * from Control_Acceso  with(nolock) ", {"Select * from Control_Acceso LIMIT 1"}},
        {"select  top 1 * from AUX_ERR  with(nolock) ", {"select  * from AUX_ERR LIMIT 1"}},
        {"SELECT TOP 1  * FROM T with(nolock)  WHERE LTRIM(RTRIM(C)) ='x'",
         {"SELECT * FROM T   WHERE LTRIM(RTRIM(C))  COLLATE SQLSERVER ='x' LIMIT 1"}},
        {"SELECT * FROM T WHERE a IN (SELECT TOP 5 b FROM U ORDER BY b) ORDER BY a",
         {"SELECT * FROM T WHERE a IN (SELECT b FROM U ORDER BY b LIMIT 5) ORDER BY a"}},
        {"SELECT TOP 100 PERCENT a FROM dbo.T ORDER BY a", {"SELECT a FROM T ORDER BY a"}},
        {"SELECT TOP 2 a, (SELECT TOP 1 b FROM U WHERE U.x = T.x) AS c FROM T ORDER BY a",
         {"SELECT a, (SELECT b FROM U WHERE U.x = T.x LIMIT 1) AS c FROM T ORDER BY a LIMIT 2"}},
        {"SELECT Top FROM T", {"SELECT Top FROM T"}},
        {"SELECT TOP 50 PERCENT a FROM T ORDER BY a",
         {"WITH tsql_p1 AS MATERIALIZED (SELECT a FROM T ORDER BY a), tsql_p1l AS (SELECT * FROM tsql_p1 LIMIT (SELECT "
          "(COUNT(*) * 50 + 99) / 100 FROM tsql_p1)) SELECT * FROM tsql_p1l"}},
        {"SELECT TOP (3) a FROM T", {"SELECT a FROM T LIMIT (3)"}},
        {"SELECT 'with(nolock) TOP 1 dbo.x ISNULL(' AS t FROM dbo.T",
         {"SELECT 'with(nolock) TOP 1 dbo.x ISNULL(' AS t FROM T"}},
        {"SELECT [dbo].[T].[top], [with] FROM [dbo].[T]", {"SELECT \"T\".\"top\", \"with\" FROM \"T\""}},
        {"SELECT ISNULL(a, 0) FROM T (NOLOCK)", {"SELECT IFNULL(a, 0) FROM T "}},
        {"SELECT a FROM T WITH (ROWLOCK, UPDLOCK) WHERE b = N'Peña'", {"SELECT a FROM T  WHERE b = 'Peña'"}},
        {"SELECT 'It''s -- no comment', a FROM T", {"SELECT 'It''s -- no comment', a FROM T"}},
        {"BEGIN TRANSACTION \r\r\rINSERT INTO T (a) VALUES ('x')\r", {"BEGIN", "INSERT INTO T (a) VALUES ('x')\r"}},
        {"BEGIN TRAN", {"BEGIN"}},
        {"COMMIT TRANSACTION", {"COMMIT"}},
        {"ROLLBACK TRANSACTION", {"ROLLBACK"}},
        {"INSERT INTO T VALUES (1)\rUPDATE T SET a = 2\rDELETE FROM T WHERE a = 3",
         {"INSERT INTO T VALUES (1)\r", "UPDATE T SET a = 2\r", "DELETE FROM T WHERE a = 3"}},
        {"INSERT INTO T (a) SELECT a FROM U; DELETE FROM U", {"INSERT INTO T (a) SELECT a FROM U", "DELETE FROM U"}},
        {"SELECT a FROM T UNION SELECT b FROM U", {"SELECT a FROM T UNION SELECT b FROM U"}},
        {"SELECT a FROM T SELECT b FROM U", {"SELECT a FROM T ", "SELECT b FROM U"}},
        {"ALTER TABLE dbo.T ADD Campo varchar(10) Not Null CONSTRAINT DF_T_Campo DEFAULT (0)",
         {"ALTER TABLE T ADD COLUMN Campo varchar(10) COLLATE SQLSERVER CONSTRAINT tsql_8152 CHECK "
          "(length(rtrim(Campo, "
          "' ')) <= 10) Not Null CONSTRAINT DF_T_Campo DEFAULT (0)"}},
        {"CREATE TABLE X (Nombre varchar(20) NOT NULL, Nota text, Otro char(2) COLLATE NOCASE, N int)",
         {"CREATE TABLE X (Nombre varchar(20) COLLATE SQLSERVER CONSTRAINT tsql_8152 CHECK (length(rtrim(Nombre, ' ')) "
          "<= 20) NOT NULL, Nota text COLLATE SQLSERVER, Otro char(2) CONSTRAINT tsql_8152 CHECK (length(rtrim(Otro, ' "
          "')) <= 2) COLLATE NOCASE, N int)",
          "CREATE TRIGGER \"tsql_n_X_i\" AFTER INSERT ON X FOR EACH ROW WHEN tsql_fuera_de_tipo(NEW.N, 'int') BEGIN "
          "UPDATE X SET N = tsql_cast(NEW.N, 'int') WHERE rowid = NEW.rowid; END",
          "CREATE TRIGGER \"tsql_n_X_u\" AFTER UPDATE OF N ON X FOR EACH ROW WHEN tsql_fuera_de_tipo(NEW.N, 'int') "
          "BEGIN UPDATE X SET N = tsql_cast(NEW.N, 'int') WHERE rowid = NEW.rowid; END"}},
        {"TRUNCATE TABLE T", {"DELETE FROM T"}},
        {"SET NOCOUNT ON\r\nINSERT INTO T VALUES (1)\r\nGO\r\nUPDATE T SET a = 2 WHERE b = 1\r\nGO",
         {"INSERT INTO T VALUES (1)\r\n", "UPDATE T SET a = 2 WHERE b = 1\r\n"}},
        {"CREATE TABLE T (a float REFERENCES U (a) ON DELETE SET NULL ON UPDATE CASCADE)\nSELECT 1",
         {"CREATE TABLE T (a float REFERENCES U (a) ON DELETE SET NULL ON UPDATE CASCADE)\n", "SELECT 1"}},
        {"SELECT go FROM T", {"SELECT go FROM T"}},
        {"SELECT CONVERT(NVARCHAR, Alta, 103), CONVERT(varchar(10), x) FROM T",
         {"SELECT CONVERT('NVARCHAR', Alta, 103), CONVERT('varchar(10)', x) FROM T"}},
        {"  \r\r ", {}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(AdaptaTSql(QString::fromUtf8(c.entrada)).join(u'|').toStdString(),
                  c.esperadas.join(u'|').toStdString());
}

TEST(AdaptaTSql, TablaBaseDeUnaLecturaSimple) {
    const std::pair<const char*, const char*> casos[] = {
        {"select  top 1 * from AUX_ERR  with(nolock) ", "AUX_ERR"},
        {"Select TOP 1 * from dbo.Control_Acceso  with(nolock) ", "Control_Acceso"},
        {"SELECT * FROM [TA MENU] WHERE a IN (1, 2)", "TA MENU"},
        {"SELECT * FROM A INNER JOIN B ON A.x = B.x", ""},
        {"SELECT * FROM A, B", ""},
        {"SELECT (SELECT MAX(x) FROM B) AS m FROM A", "A"},
    };
    for (const auto& [sql, tabla] : casos)
        EXPECT_EQ(TablaBaseDe(QString::fromUtf8(sql)), QString::fromUtf8(tabla)) << sql;
}

class AdaptaTSqlEnSqlite : public ConBaseDePrueba {};

// The access query compares the operator followed by a blank; the server's collation ignores it and the case.
TEST_F(AdaptaTSqlEnSqlite, ConsultaDeAccesoIgnoraBlancoFinalYMayusculas) {
    cn.Open(Cadena());
    for (const char* operador : {"CAJERO", "cajero"}) {
        Recordset rs;
        rs.Open(
            QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre ") +
                QStringLiteral(" FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave ") +
                QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + QString::fromLatin1(operador) +
                QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") + QStringLiteral("Pavenko") + QStringLiteral("%')"),
            cn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
        ASSERT_FALSE(rs.Eof()) << operador;
        EXPECT_EQ(rs.Valor(QStringLiteral("Nombre")).ATexto(), QStringLiteral("Impresora fiscal"));
        rs.MoveNext();
        EXPECT_TRUE(rs.Eof());
    }
}

TEST_F(AdaptaTSqlEnSqlite, LecturaDeConfiguracion) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'tpv_server'"),
            cn);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Valor(QStringLiteral("Valor")).ATexto(), QStringLiteral("DEMOSRV"));
    EXPECT_EQ(rs.Valor(QStringLiteral("ValorAux")).ATexto(), QStringLiteral("x"));
}

// The tree lookup's statement: TOP 100 PERCENT, a TOP 1 subquery with its ORDER BY, Len, dbo. and [relative].
TEST_F(AdaptaTSqlEnSqlite, ArbolDeFamiliasConSubconsulta) {
    cn.Open(Cadena());
    Recordset rs;
    rs.Open(QStringLiteral("SELECT     TOP 100 PERCENT IdFamilia, Descripcion, ") +
                QStringLiteral("(SELECT     TOP 1 idfamilia FROM v_ta_familias a  ") +
                QStringLiteral(" Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < "
                               "Len(LTrim(RTrim(b.IdFamilia)))) ") +
                QStringLiteral(" ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b ORDER BY IdFamilia"),
            cn);
    QStringList arbol;
    for (const auto& f : rs.GetRows())
        arbol << f[0].ATexto() + QStringLiteral("<") + (f[2].EsNull() ? QStringLiteral("raiz") : f[2].ATexto());
    EXPECT_EQ(arbol, QStringList({"01<raiz", "0101<01", "0102<01", "02<raiz", "0201<02", "020101<0201"}));
}

// A percentage keeps that share of the rows, rounded up.
TEST_F(AdaptaTSqlEnSqlite, TopPorcentajeRedondeaHaciaArriba) {
    cn.Open(Cadena());
    const std::pair<const char*, int> casos[] = {{"50", 1}, {"51", 2}, {"100", 2}, {"1", 1}};
    for (const auto& [porcentaje, filas] : casos) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP ") + QString::fromLatin1(porcentaje) +
                    QStringLiteral(" PERCENT Codigo FROM ARTICULOS with(nolock) ORDER BY Codigo DESC"),
                cn);
        const auto leidas = rs.GetRows();
        EXPECT_EQ(leidas.size(), filas) << porcentaje;
        EXPECT_EQ(leidas.front()[0].ATexto(), QStringLiteral("A2")) << porcentaje;
    }
}

// The transaction runner's batch, then its commit or rollback as separate statements.
TEST_F(AdaptaTSqlEnSqlite, LoteDeTransaccionSeConfirmaOSeDeshace) {
    cn.Open(Cadena());
    long afectadas = -1;
    cn.Execute(QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO AUX_ERR (Proceso, SQL) VALUES ('P1', 'a''b')\r"),
               &afectadas);
    EXPECT_EQ(afectadas, 1);
    cn.Execute(QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_THROW(cn.Execute(QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO AUX_ERR (Proceso) VALUES ('P2')\r"
                                           "INSERT INTO TA_CONFIGURACION (Clave) VALUES ('MaxDto')\r")),
                 ErrorEjecucion);
    ASSERT_GE(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 2627);
    cn.Execute(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_EQ(cn.errors().Count(), 0);

    Recordset rs;
    rs.Open(QStringLiteral("SELECT Proceso, SQL FROM AUX_ERR ORDER BY Proceso"), cn);
    const QList<QList<Variant>> filas = rs.GetRows();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0][0].ATexto(), QStringLiteral("P1"));
    EXPECT_EQ(filas[0][1].ATexto(), QStringLiteral("a'b"));
}

}  // namespace
