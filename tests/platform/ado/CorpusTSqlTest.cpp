// The T-SQL corpus: statements as the system and its users write them, each run on a fresh database through
// Connection/Recordset on the embedded engine and on the ODBC engine over the SQLite ODBC driver, with the rows
// SQL Server returns for them (as its documentation gives them) or the error it raises; and what the embedded
// server refuses, refused by name before anything runs.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "AdaptaTSql.h"
#include "BaseDePrueba.h"
#include "ErrorEjecucion.h"

namespace {

// A value as the corpus writes it: dates to the millisecond, numbers without a locale, NULL by name.
QString Escribe(const Variant& v) {
    if (v.EsNull() || v.EsEmpty()) return QStringLiteral("NULL");
    if (v.Tipo() == TipoVariant::Date) return v.AFecha().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (v.Tipo() == TipoVariant::Double || v.Tipo() == TipoVariant::Single || v.Tipo() == TipoVariant::Currency)
        return QString::number(v.ADouble(), 'g', 15);
    if (v.Tipo() == TipoVariant::Boolean) return v.ABooleano() ? QStringLiteral("1") : QStringLiteral("0");
    return v.ATexto();
}

struct Caso {
    const char* nombre;
    const char* preparacion;  // a batch run first, its errors ignored only when the case expects an error there
    const char* consulta;     // the statement whose rows are compared; empty: the preparation's error is
    const char* filas;        // "a|b;c|d", or "!245" for the error SQL Server raises
};

// Each row of the embedded server's known faults, the constructs it supports, and the program's own statements.
const Caso kCorpus[] = {
    {"identidad",
     "CREATE TABLE CLI (Id INT IDENTITY(1,1) PRIMARY KEY, Nombre VARCHAR(20))\r\n"
     "INSERT INTO CLI (Nombre) VALUES ('Juan')\r\nINSERT INTO CLI (Nombre) VALUES (N'Peña')",
     "SELECT Id, Nombre FROM CLI ORDER BY Id", "1|Juan;2|Peña"},
    {"identidad con clave de tabla",
     "CREATE TABLE [dbo].[CLI] ([Id] [int] IDENTITY(1,1) NOT NULL, [Nombre] [varchar](20) NULL, [Alta] [datetime] "
     "NULL, CONSTRAINT [PK_CLI] PRIMARY KEY CLUSTERED ([Id] ASC))\r\nINSERT INTO CLI (Nombre, Alta) VALUES ('a', "
     "'20241226')\r\nINSERT INTO CLI (Nombre) VALUES ('b')",
     "SELECT Id, Nombre, Alta FROM CLI ORDER BY Id DESC", "2|b|NULL;1|a|2024-12-26 00:00:00.000"},
    {"ultima identidad",
     "CREATE TABLE CLI (Id INT IDENTITY(1,1) PRIMARY KEY, Nombre VARCHAR(20));"
     "INSERT INTO CLI (Nombre) VALUES ('Juan'); INSERT INTO CLI (Nombre) VALUES ('Ana')",
     "SELECT @@IDENTITY, SCOPE_IDENTITY()", "2|2"},
    {"identidad tras una tabla sin identidad",
     "CREATE TABLE CLI (Id INT IDENTITY(1,1) PRIMARY KEY, Nombre VARCHAR(20)); CREATE TABLE L (a int);"
     "INSERT INTO CLI (Nombre) VALUES ('Juan'); INSERT INTO L VALUES (5)",
     "SELECT @@IDENTITY, SCOPE_IDENTITY()", "NULL|NULL"},
    {"identidad sin inserciones", "", "SELECT @@IDENTITY", "NULL"},
    {"identidad de tabla temporal",
     "CREATE TABLE #T (Id int IDENTITY(1,1) PRIMARY KEY, a int); INSERT INTO #T (a) VALUES (7);"
     "INSERT INTO #T (a) VALUES (8)",
     "SELECT SCOPE_IDENTITY(), a FROM #T WHERE Id = @@IDENTITY", "2|8"},
    {"variables de su tipo", "",
     "DECLARE @n INT = 2.7, @s VARCHAR(3) = 'abcdef', @d DATETIME = '20241226', @p DECIMAL(10,2) = 2.345, "
     "@c VARCHAR = N'ñu', @t varchar(10)\r\nSET @t = 'abcdefghijkl'\r\nSELECT @n, @s, @d, @p, @c, @t",
     "2|abc|2024-12-26 00:00:00.000|2.35|ñ|abcdefghij"},
    {"variables asignadas en un select", "CREATE TABLE P (Precio money); INSERT INTO P VALUES (1.23456)",
     "DECLARE @m smallint, @x int; SELECT @m = Precio * 10, @x = 4.9 FROM P; SET @x = @x + '3'; SELECT @m, @x", "12|7"},
    {"variable entera de un texto", "", "DECLARE @n int; SET @n = '12abc'; SELECT @n", "!245"},
    {"conversiones a decimal", "",
     "SELECT CAST(2.345 AS DECIMAL(10,2)), CAST(2.5 AS DECIMAL), CAST(-2.5 AS NUMERIC(5,0)), CONVERT(money, 1.23456),"
     " CAST('0.125' AS decimal(9,2))",
     "2.35|3|-3|1.2346|0.13"},
    {"entero en un texto corto", "", "SELECT CAST(10 AS varchar(1)), CONVERT(char(3), -42), CAST(123 AS varchar(3))",
     "*|-42|123"},
    {"desborde de tinyint", "", "SELECT CAST(300 AS TINYINT)", "!8115"},
    {"desborde de int", "", "SELECT CONVERT(int, 3000000000)", "!8115"},
    {"desborde de decimal", "", "SELECT CAST(123.45 AS DECIMAL(4,2))", "!8115"},
    {"union de miembros entre parentesis",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan'); INSERT INTO CLI VALUES ('Ana')",
     "SELECT COUNT(*) FROM ((SELECT UPPER(Nombre) AS n FROM CLI) UNION (SELECT 'Juan ')) u", "2"},
    {"top en miembros entre parentesis",
     "CREATE TABLE N (a int); INSERT INTO N VALUES (2); INSERT INTO N VALUES (1); INSERT INTO N VALUES (3)",
     "(SELECT TOP 1 a FROM N ORDER BY a) UNION ALL (SELECT TOP 1 a FROM N ORDER BY a DESC)", "1;3"},
    {"alias con igual en una subconsulta", "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan')",
     "SELECT n FROM (SELECT n = UPPER(Nombre) FROM CLI) d WHERE n IN (SELECT x = 'JUAN')", "JUAN"},
    {"largo de una fecha", "CREATE TABLE V (Alta datetime); INSERT INTO V VALUES ('20241226 10:30')",
     "SELECT LEN(GETDATE()), LEN(Alta), LEN(CONVERT(varchar(10), Alta, 103)) FROM V", "19|19|10"},
    {"texto mas fecha", "CREATE TABLE V (Alta datetime); INSERT INTO V VALUES ('20241226')",
     "SELECT 'Alta: ' + Alta FROM V", "!241"},
    {"texto mas fecha actual", "", "SELECT GETDATE() + ' '", "!241"},
    // What a column stores is what the server would store: a fraction in an integer column truncated, the scale
    // rounded, a text converted; or the server's conversion error, and nothing stored.
    {"columnas numericas guardan su tipo",
     "CREATE TABLE P (n int, d decimal(10,2), m money, b bit, t tinyint); INSERT INTO P VALUES (1.7, 2.345, "
     "1.23456, 5, '7'); INSERT INTO P (n) VALUES ('12'); UPDATE P SET d = d * 3 WHERE n = 1",
     "SELECT n, d, m, b, t FROM P ORDER BY n", "1|7.05|1.2346|1|7;12|NULL|NULL|NULL|NULL"},
    {"columnas numericas agregadas",
     "CREATE TABLE P (a int); ALTER TABLE P ADD b decimal(5,1); ALTER TABLE P ADD c smallint;"
     "INSERT INTO P VALUES (1.9, 2.25, -3.5)",
     "SELECT a, b, c FROM P", "1|2.3|-3"},
    {"columnas quitadas",
     "CREATE TABLE P (a int, d datetime, b decimal(5,1), c money); ALTER TABLE P ADD e tinyint;"
     "ALTER TABLE P DROP COLUMN a; ALTER TABLE P DROP COLUMN d; ALTER TABLE P DROP COLUMN e;"
     "INSERT INTO P VALUES (2.25, 1.23456)",
     "SELECT b, c FROM P", "2.3|1.2346"},
    {"texto en columna entera", "CREATE TABLE P (n int); INSERT INTO P VALUES ('12abc')", "SELECT COUNT(*) FROM P",
     "!245"},
    {"desborde de columna decimal", "CREATE TABLE P (d decimal(4,2)); INSERT INTO P VALUES (123.4)", "", "!8115"},
    {"desborde de columna tinyint", "CREATE TABLE #P (t tinyint); INSERT INTO #P VALUES (1); UPDATE #P SET t = t - 2",
     "", "!8115"},
    {"funciones numericas", "",
     "SELECT ROUND(123.456, -1), ROUND(125, -1), ROUND(2.567, 1, 1), FLOOR(-2.5), CEILING(2.1), SIGN(-2), "
     "POWER(2, 10), POWER(2, -1), SQRT(16)",
     "120|130|2.5|-3|3|-1|1024|0|4"},
    {"funciones de texto", "", "SELECT SPACE(2) + '|', REPLICATE(N'ñ', 3), REPLICATE('x', -1), REVERSE(N'Peña')",
     "  ||ñññ|NULL|añeP"},
    {"precision de datetime",
     "CREATE TABLE V (Alta datetime, B datetime2); INSERT INTO V VALUES ('20241231 23:59:59.999', "
     "'20241231 23:59:59.999'); INSERT INTO V VALUES ('20240101 10:00:00.005', '20240101 10:00:00.005')",
     "SELECT Alta, B, CAST('2024-12-26 10:30:00.002' AS datetime) FROM V ORDER BY Alta",
     "2024-01-01 10:00:00.007|2024-01-01 10:00:00.005|2024-12-26 10:30:00.003;"
     "2025-01-01 00:00:00.000|2024-12-31 23:59:59.999|2024-12-26 10:30:00.003"},
    {"suma de textos",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('Juan')\r\n"
     "UPDATE CLI SET Nombre = Nombre + 'x'",
     "SELECT Nombre FROM CLI", "Juanx"},
    {"nocount y delete",
     "CREATE TABLE B (a int); INSERT INTO B VALUES (1); INSERT INTO B VALUES (2)\r\n"
     "SET NOCOUNT ON\r\nDELETE FROM B",
     "SELECT COUNT(*) FROM B", "0"},
    {"nocount y update", "CREATE TABLE B (a int); INSERT INTO B VALUES (1)\r\nSET NOCOUNT ON\r\nUPDATE B SET a = 7",
     "SELECT a FROM B", "7"},
    {"fechas comparadas",
     "CREATE TABLE V (Id int, Alta DATETIME)\r\nINSERT INTO V VALUES (1, '20241226')\r\n"
     "INSERT INTO V VALUES (2, '2024-12-25T10:30:00')",
     "SELECT Id FROM V WHERE Alta >= '20241226'", "1"},
    {"fecha maxima",
     "CREATE TABLE V (Id int, Alta DATETIME); INSERT INTO V VALUES (1, '20241226');"
     "INSERT INTO V VALUES (2, '2024-12-25T10:30:00')",
     "SELECT MAX(Alta), MIN(Alta) FROM V", "2024-12-26 00:00:00.000|2024-12-25 10:30:00.000"},
    {"fechas ordenadas",
     "CREATE TABLE V (Id int, Alta SMALLDATETIME); INSERT INTO V VALUES (1, '26/12/2024');"
     "INSERT INTO V VALUES (2, '2024-12-25 23:59'); INSERT INTO V VALUES (3, '20230101')",
     "SELECT Id FROM V ORDER BY Alta DESC", "1;2;3"},
    {"fecha invalida", "CREATE TABLE V (Alta DATETIME); INSERT INTO V VALUES ('31/02/2024')", "", "!241"},
    {"convert y cast", "",
     "SELECT CONVERT(datetime, '25/12/2024', 103), CAST('20241226' AS DATETIME), DATEDIFF(day, GETDATE(), GETDATE() + "
     "1)",
     "2024-12-25 00:00:00.000|2024-12-26 00:00:00.000|1"},
    {"estilos de convert", "",
     "SELECT CONVERT(varchar(10), CONVERT(datetime, '20241226 08:05:09'), 103), CONVERT(char(8), "
     "CONVERT(datetime, '2024-12-26'), 112), CONVERT(varchar(19), CONVERT(datetime, '26/12/2024 08:05:09', 103), 120), "
     "CONVERT(varchar(30), CONVERT(datetime, '2024-12-26T08:05:09.120'), 126)",
     "26/12/2024|20241226|2024-12-26 08:05:09|2024-12-26T08:05:09.120"},
    {"intercalacion en expresiones", "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('JUAN')",
     "SELECT COUNT(*) FROM CLI WHERE LTRIM(RTRIM(Nombre)) = 'juan' AND ISNULL(Nombre, '') = 'Juan'", "1"},
    // Rows compared by DISTINCT, UNION, EXCEPT and INTERSECT compare text expressions under the server's collation.
    {"distinct de expresiones",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan'); INSERT INTO CLI VALUES ('JUAN ')",
     "SELECT COUNT(*) FROM (SELECT DISTINCT UPPER(Nombre) + '' AS n FROM CLI) d1, (SELECT DISTINCT LTRIM(Nombre) n "
     "FROM CLI) d2",
     "1"},
    {"union de expresiones",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan'); INSERT INTO CLI VALUES (N'Peña')",
     "SELECT COUNT(*) FROM (SELECT LTRIM(Nombre) AS n FROM CLI UNION SELECT 'JUAN ' UNION SELECT N'PEÑA') u", "2"},
    {"union all las conserva", "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan')",
     "SELECT COUNT(*) FROM (SELECT LTRIM(Nombre) AS n FROM CLI UNION ALL SELECT 'JUAN') u", "2"},
    {"except de expresiones",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan'); INSERT INTO CLI VALUES ('Ana')",
     "SELECT n FROM (SELECT UPPER(Nombre) + '' AS n FROM CLI EXCEPT SELECT 'juan ') e", "ANA"},
    // AVG of an integer type is of that type, truncated toward zero; of decimal, money and float it keeps decimals
    // (whole decimals are stored as integers: the declared type decides, not the value).
    {"promedio por tipo",
     "CREATE TABLE P (n int, s smallint, t tinyint, b bigint, d decimal(10,2), m money, f float);"
     "INSERT INTO P VALUES (1, -1, 3, 5, 1, 1, 1); INSERT INTO P VALUES (2, -2, 4, 6, 2, 2, 2)",
     "SELECT AVG(n), AVG(s), AVG(t), AVG(b), AVG(d), AVG(m), AVG(f) FROM P", "1|-1|3|5|1.5|1.5|1.5"},
    {"promedio agrupado",
     "CREATE TABLE Q (g varchar(5), n int); INSERT INTO Q VALUES ('a', 1); INSERT INTO Q VALUES ('a', 2);"
     "INSERT INTO Q VALUES ('b', 2); INSERT INTO Q VALUES ('b', 3); INSERT INTO Q VALUES ('b', 3)",
     "SELECT g, AVG(DISTINCT q.n) FROM dbo.Q AS q WITH (NOLOCK) GROUP BY g HAVING AVG(n) > 1", "b|2"},
    {"promedio en una union de tablas",
     "CREATE TABLE A (k int, n int); CREATE TABLE B (k int, x decimal(9,2)); INSERT INTO A VALUES (1, 1);"
     "INSERT INTO A VALUES (1, 2); INSERT INTO A VALUES (1, 2); INSERT INTO B VALUES (1, 1.5)",
     "SELECT AVG(A.n), AVG(n), AVG(b.x), AVG(DISTINCT a.n) FROM A a INNER JOIN B b ON a.k = b.k AND b.x > '1'",
     "1|1|1.5|1"},
    {"promedio de vista y tabla derivada",
     "CREATE TABLE A (n int); INSERT INTO A VALUES (-1); INSERT INTO A VALUES (-2); CREATE VIEW V AS SELECT n FROM A;"
     "CREATE TABLE #T (n smallint); INSERT INTO #T VALUES (4); INSERT INTO #T VALUES (5)",
     "SELECT (SELECT AVG(n) FROM V), (SELECT AVG(m) FROM (SELECT n AS m FROM A WHERE n < '5') d), AVG(n) FROM #T",
     "-1|-1|4"},
    // A column a derived table computes has no declared type: whole values whose average is not whole could be
    // of an int or a decimal expression, and are refused; otherwise the answer is the same for both.
    {"promedio de columna calculada sin tipo",
     "CREATE TABLE A (n int); INSERT INTO A VALUES (1); INSERT INTO A VALUES (2)",
     "SELECT AVG(m) FROM (SELECT n * 3 AS m FROM A) d", "!0"},
    {"promedio de columnas calculadas", "CREATE TABLE A (n int); INSERT INTO A VALUES (1); INSERT INTO A VALUES (2)",
     "SELECT AVG(m), AVG(r) FROM (SELECT n * 2 AS m, n * 1.5 AS r FROM A) d", "3|2.25"},
    {"promedio de expresiones",
     "CREATE TABLE A (k int, n int); INSERT INTO A VALUES (1, 1); INSERT INTO A VALUES (2, 2)",
     "SELECT AVG(n * 3), AVG(CASE WHEN k = 1 THEN 1 ELSE 0 END), AVG(n * 1.5), AVG(CAST(n AS int) + LEN('ab')),"
     " AVG(ISNULL(n, 0) + 1), AVG(CASE k WHEN 1 THEN 0.5 ELSE n END) FROM A",
     "4|0|2.25|3|2|1.25"},
    {"intercalacion en IN y CASE", "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('Peña')",
     "SELECT CASE WHEN UPPER(Nombre) IN ('peña', 'x') THEN 'si' ELSE 'no' END FROM CLI", "si"},
    {"if not exists",
     "CREATE TABLE CLI (Nombre VARCHAR(20))\r\n"
     "IF NOT EXISTS (SELECT * FROM CLI WHERE Nombre = 'Ana') INSERT INTO CLI (Nombre) VALUES ('Ana')\r\n"
     "IF NOT EXISTS (SELECT * FROM CLI WHERE Nombre = 'ANA') INSERT INTO CLI (Nombre) VALUES ('Ana')",
     "SELECT COUNT(*) FROM CLI", "1"},
    {"if else con bloques",
     "CREATE TABLE CLI (Nombre VARCHAR(20), N int)\r\n"
     "IF EXISTS (SELECT * FROM CLI) BEGIN INSERT INTO CLI VALUES ('mal', 1) END ELSE BEGIN "
     "INSERT INTO CLI VALUES ('bien', 1); INSERT INTO CLI VALUES ('bien', 2) END",
     "SELECT Nombre, N FROM CLI ORDER BY N", "bien|1;bien|2"},
    {"variables", "", "DECLARE @n INT, @t varchar(10) = 'Ñu'\r\nSET @n = 5\r\nSELECT @n + 1, @t + 'x'", "6|Ñux"},
    {"select asigna", "CREATE TABLE CLI (N int); INSERT INTO CLI VALUES (4); INSERT INTO CLI VALUES (9)",
     "DECLARE @m int\r\nSELECT @m = MAX(N) FROM CLI\r\nSELECT @m * 2", "18"},
    {"left right", "", "SELECT LEFT(N'Peñarol', 4), RIGHT('Peñarol', 4), SUBSTRING('Ñandú', 2, 3)", "Peña|arol|and"},
    {"dateadd datediff datepart", "",
     "SELECT DATEADD(day, 1, '20241231'), DATEADD(month, 1, '20240131'), DATEDIFF(month, '20240131', '20240201'), "
     "DATEPART(weekday, '20241226'), YEAR('20241226'), MONTH('20241226'), DAY('20241226')",
     "2025-01-01 00:00:00.000|2024-02-29 00:00:00.000|1|5|2024|12|26"},
    {"mayusculas unicode", "", "SELECT UPPER(N'ñandú'), LOWER(N'ÁRBOL Ñ')", "ÑANDÚ|árbol ñ"},
    {"like con clases",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('Juan'); INSERT INTO CLI VALUES (N'Ñandú');"
     "INSERT INTO CLI VALUES ('Pedro')",
     "SELECT Nombre FROM CLI WHERE Nombre LIKE '[J]%' OR Nombre LIKE N'ñan%' OR Nombre LIKE '[^A-OQ-Z]e_ro' ORDER BY "
     "Nombre",
     "Juan;Ñandú;Pedro"},
    {"convert invalido", "", "SELECT CONVERT(INT, '12abc')", "!245"},
    {"suma con texto no numerico", "", "SELECT 'a' + 1", "!245"},
    {"suma por precedencia", "", "SELECT '1' + 1, 'a' + 'b', NULL + 'x', 2 - '1'", "2|ab|NULL|1"},
    {"texto demasiado largo",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('123456789012345678901234')", "", "!8152"},
    {"texto largo no se guarda",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('123456789012345678901234')",
     "SELECT COUNT(*) FROM CLI", "!8152"},
    {"top en union",
     "CREATE TABLE A (x int); INSERT INTO A VALUES (1); INSERT INTO A VALUES (2); CREATE TABLE B (y int);"
     "INSERT INTO B VALUES (3); INSERT INTO B VALUES (4)",
     "SELECT TOP 1 x FROM A UNION ALL SELECT TOP 1 y FROM B", "1;3"},
    {"nombre con corchete", "CREATE TABLE [T x] ([a]]b] int); INSERT INTO [T x] ([a]]b]) VALUES (5)",
     "SELECT [a]]b] FROM [T x]", "5"},
    {"default getdate al agregar",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('a');"
     "ALTER TABLE dbo.CLI ADD Alta datetime Not Null CONSTRAINT DF_CLI_Alta DEFAULT (getdate());"
     "INSERT INTO CLI (Nombre) VALUES ('b')",
     "SELECT COUNT(*) FROM CLI WHERE Alta > '20200101'", "2"},
    {"lote sigue tras 2627",
     "CREATE TABLE CLI (Id int PRIMARY KEY); INSERT INTO CLI VALUES (1)\r\nINSERT INTO CLI VALUES (1)\r\n"
     "INSERT INTO CLI VALUES (2)",
     "SELECT COUNT(*) FROM CLI", "!2627"},
    {"xact_abort detiene el lote",
     "CREATE TABLE CLI (Id int PRIMARY KEY); INSERT INTO CLI VALUES (1)\r\nSET XACT_ABORT ON\r\n"
     "INSERT INTO CLI VALUES (1)\r\nINSERT INTO CLI VALUES (2)",
     "", "!2627"},
    {"top percent anidado",
     "CREATE TABLE N (a int); INSERT INTO N VALUES (1); INSERT INTO N VALUES (2); INSERT INTO N VALUES (3);"
     "INSERT INTO N VALUES (4); INSERT INTO N VALUES (5)",
     "SELECT TOP 50 PERCENT a FROM (SELECT TOP 60 PERCENT a FROM N ORDER BY a DESC) x ORDER BY a", "3;4"},
    {"texto en castellano",
     "CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES (N'Peña'); INSERT INTO CLI VALUES ('pena');"
     "INSERT INTO CLI VALUES (N'ÁRBOL')",
     "SELECT Nombre FROM CLI WHERE Nombre = 'PEÑA' OR Nombre = N'árbol' ORDER BY Nombre", "ÁRBOL;Peña"},
    {"alias con igual", "", "SELECT Total = 1 + 2, 'Nombre' = 'x'", "3|x"},
    {"update con from",
     "CREATE TABLE A (k int, v varchar(5)); CREATE TABLE B (k int, v varchar(5)); INSERT INTO A VALUES (1, 'a');"
     "INSERT INTO B VALUES (1, 'b'); UPDATE A SET v = B.v FROM B WHERE A.k = B.k",
     "SELECT v FROM A", "b"},
    {"tabla temporal", "CREATE TABLE #T (a int); INSERT INTO #T VALUES (3)", "SELECT a FROM #T", "3"},
    // The program's own statements, as it sends them.
    {"consulta de acceso",
     "CREATE TABLE TA_TAREAS (USUARIO varchar(50), TAREA varchar(20)); CREATE TABLE TA_MENU (Clave varchar(20) "
     "PRIMARY KEY, Proceso varchar(100), Nombre varchar(100)); INSERT INTO TA_TAREAS VALUES ('CAJERO', 'T01');"
     "INSERT INTO TA_MENU VALUES ('T01', 'C:\\APP\\PAVENKO.EXE', 'Impresora fiscal')",
     "SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM TA_TAREAS  with(nolock) INNER "
     "JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE (TA_TAREAS.USUARIO = 'cajero ') AND (TA_MENU.Proceso LIKE "
     "'%Pavenko%')",
     "CAJERO|C:\\APP\\PAVENKO.EXE|T01|Impresora fiscal"},
    {"lectura de configuracion",
     "CREATE TABLE TA_CONFIGURACION (Clave varchar(100) NOT NULL PRIMARY KEY, Valor varchar(255), ValorAux "
     "varchar(255)); INSERT INTO TA_CONFIGURACION VALUES ('TPV_SERVER', 'DEMOSRV', 'x')",
     "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'tpv_server'", "DEMOSRV|x"},
    {"busqueda del catalogo",
     "CREATE TABLE ARTICULOS (Codigo varchar(20) PRIMARY KEY, Descripcion varchar(60)); INSERT INTO ARTICULOS "
     "VALUES ('A1', 'Agua')",
     "SELECT TOP 1  * FROM ARTICULOS with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='a1'", "A1|Agua"},
    {"registro de acceso",
     "CREATE TABLE Control_Acceso (Id int IDENTITY(1,1) PRIMARY KEY, Maquina varchar(50), Usuario varchar(50), "
     "Ingreso datetime); INSERT INTO Control_Acceso (Maquina, Usuario, Ingreso) VALUES ('PC1', 'cajero', "
     "GETDATE())",
     "Select TOP 1 Id, Maquina, Usuario, YEAR(Ingreso) - YEAR(GETDATE()) from Control_Acceso  with(nolock) ",
     "1|PC1|cajero|0"},
    {"lote de AUX_ERR",
     "CREATE TABLE AUX_ERR (Proceso varchar(50), Fecha varchar(20), Error int, SQL text)\r\n"
     "BEGIN TRANSACTION \r\r\rINSERT INTO AUX_ERR (Proceso, Fecha, Error, SQL) VALUES ('P1', '01/02/2026', 5, "
     "'a''b')\r\rCOMMIT TRANSACTION",
     "select  top 1 * from AUX_ERR  with(nolock) ", "P1|01/02/2026|5|a'b"},
};

// Constructs the embedded server refuses, by name, before running any of the batch.
const char* const kRechazos[] = {
    "EXEC sp_who",
    "SELECT ROW_NUMBER() OVER (ORDER BY a) FROM T",
    "ALTER TABLE T ADD CONSTRAINT FK_T FOREIGN KEY (a) REFERENCES U (a)",
    "ALTER TABLE T ALTER COLUMN a int",
    "MERGE T USING U ON T.a = U.a WHEN MATCHED THEN DELETE;",
    "WHILE 1 = 1 SELECT 1",
    "BEGIN TRY SELECT 1 END TRY BEGIN CATCH SELECT 2 END CATCH",
    "SELECT a INTO T2 FROM T",
    "SELECT * FROM T CROSS APPLY U",
    "SELECT TOP 1 WITH TIES a FROM T ORDER BY a",
    "CREATE PROCEDURE P AS SELECT 1",
    "DECLARE @t TABLE (a int)",
    "SET DATEFORMAT mdy",
    "SELECT STUFF('abc', 1, 1, 'x')",
    "SELECT a FROM T FOR XML AUTO",
    "CREATE TABLE T (Id int IDENTITY(1,1), a int)",
    "UPDATE T SET a = 1 FROM T INNER JOIN U ON T.a = U.a",
    "DELETE T FROM T INNER JOIN U ON T.a = U.a",
    "SELECT @@ROWCOUNT",
    "SET @n += 1",
    // Valid T-SQL that only SQLite's parser finds it cannot take: refused aloud too, never as the syntax error
    // the program keeps silent.
    "SELECT * FROM (VALUES (1),(2)) AS v(a)",
    "SELECT a FROM T GROUP BY ALL a",
    "UPDATE TOP (1) T SET a = 2",
    "SELECT T.a FROM T INNER LOOP JOIN U ON T.a = U.a",
    "SELECT a FROM T TABLESAMPLE (10 PERCENT)",
};

class CorpusTSql : public ConBaseDePrueba, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        ConBaseDePrueba::SetUp();
        AgregaServidorOdbc();
    }
    // A fresh, empty database, opened on the engine the test is for.
    void AbreNueva() {
        if (cn.State() == ado::adStateOpen) cn.Close();
        QFile::remove(ArchivoBase(QStringLiteral("CORPUS")));
        QFile archivo(ArchivoBase(QStringLiteral("CORPUS")));
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.close();
        cn.Open((GetParam() ? QStringLiteral("PROVIDER=SQLOLEDB;Server=odbcsrv;Database =CORPUS;UId=sa;Pwd=x;")
                            : Cadena(QStringLiteral("CORPUS"))));
    }
    static QString Filas(Recordset& rs) {
        QStringList filas;
        while (!rs.Eof()) {
            QStringList valores;
            for (int i = 0; i < rs.FieldCount(); ++i) valores << Escribe(rs.Fields(i).Value());
            filas << valores.join(u'|');
            rs.MoveNext();
        }
        return filas.join(u';');
    }
};

TEST_P(CorpusTSql, DaLasFilasOElErrorDelServidor) {
    for (const Caso& c : kCorpus) {
        AbreNueva();
        const QString esperado = QString::fromUtf8(c.filas);
        QString obtenido;
        try {
            if (*c.preparacion) cn.Execute(QString::fromUtf8(c.preparacion));
            if (*c.consulta) {
                Recordset rs;
                rs.Open(QString::fromUtf8(c.consulta), cn);
                obtenido = Filas(rs);
            }
        } catch (const ErrorEjecucion& e) {
            obtenido = cn.errors().Count() > 0 ? u'!' + QString::number(cn.errors().Item(0).NativeError)
                                               : u'?' + e.Description();
        }
        EXPECT_EQ(obtenido.toStdString(), esperado.toStdString()) << c.nombre;
    }
}

// After a statement-level error the batch goes on, as the server's does without XACT_ABORT; with it, it stops.
TEST_P(CorpusTSql, ElLoteSigueTrasUnErrorDeSentencia) {
    const std::pair<const char*, int> casos[] = {
        {"INSERT INTO CLI VALUES (1)\r\nINSERT INTO CLI VALUES (2)", 2},
        {"SET XACT_ABORT ON\r\nINSERT INTO CLI VALUES (1)\r\nINSERT INTO CLI VALUES (2)", 1},
    };
    for (const auto& [lote, filas] : casos) {
        AbreNueva();
        cn.Execute(QStringLiteral("CREATE TABLE CLI (Id int PRIMARY KEY); INSERT INTO CLI VALUES (1)"));
        EXPECT_THROW(cn.Execute(QString::fromUtf8(lote)), ErrorEjecucion) << lote;
        EXPECT_EQ(cn.errors().Item(0).NativeError, 2627) << lote;
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) FROM CLI"), cn);
        EXPECT_EQ(rs.Fields(0).Value().ALargo(), filas) << lote;
    }
}

// DISTINCT and UNION on an unaliased text expression at the top: one row for 'juan' and 'JUAN ', and the column
// keeps the name it has without them.
TEST_P(CorpusTSql, DistinctDeExpresionSinNombre) {
    AbreNueva();
    cn.Execute(
        QStringLiteral("CREATE TABLE CLI (Nombre VARCHAR(20)); INSERT INTO CLI VALUES ('juan');"
                       "INSERT INTO CLI VALUES ('JUAN ')"));
    const std::pair<const char*, const char*> casos[] = {
        {"SELECT DISTINCT UPPER(Nombre) + '' FROM CLI", "SELECT UPPER(Nombre) + '' FROM CLI"},
        {"SELECT DISTINCT TOP 5 LTRIM(Nombre) FROM CLI", "SELECT LTRIM(Nombre) FROM CLI"},
        {"SELECT LTRIM(Nombre) FROM CLI WHERE Nombre = 'juan' UNION SELECT LTRIM(Nombre) FROM CLI",
         "SELECT LTRIM(Nombre) FROM CLI"},
    };
    for (const auto& [distinto, simple] : casos) {
        Recordset rs, referencia;
        rs.Open(QString::fromUtf8(distinto), cn);
        referencia.Open(QString::fromUtf8(simple), cn);
        EXPECT_EQ(rs.Fields(0).Name(), referencia.Fields(0).Name()) << distinto;
        const QString filas = Filas(rs);
        EXPECT_FALSE(filas.isEmpty()) << distinto;
        EXPECT_EQ(filas.count(u';'), 0) << distinto << ": " << filas.toStdString();
    }
}

// Rows changed count for INSERT, UPDATE and DELETE only: a definition reports -1 even after a DELETE.
TEST_P(CorpusTSql, FilasAfectadasSoloDeDatos) {
    AbreNueva();
    long afectadas = 0;
    cn.Execute(QStringLiteral("CREATE TABLE A (x int); INSERT INTO A VALUES (1); INSERT INTO A VALUES (2)"));
    cn.Execute(QStringLiteral("DELETE FROM A"), &afectadas);
    EXPECT_EQ(afectadas, 2);
    cn.Execute(QStringLiteral("CREATE TABLE B (y int)"), &afectadas);
    EXPECT_EQ(afectadas, -1);
    cn.Execute(QStringLiteral("INSERT INTO A VALUES (3)\r\nINSERT INTO A VALUES (4)\r\nCREATE TABLE C (z int)"),
               &afectadas);
    EXPECT_EQ(afectadas, 2);
}

// After SET NOCOUNT ON the server sends no counts for the rest of the connection: RecordsAffected is -1 and the
// statements still run; SET NOCOUNT OFF counts again.
TEST_P(CorpusTSql, NocountSinFilasAfectadas) {
    AbreNueva();
    long afectadas = 0;
    cn.Execute(QStringLiteral("CREATE TABLE A (x int); INSERT INTO A VALUES (1); INSERT INTO A VALUES (2)"));
    const std::pair<const char*, long> casos[] = {
        {"SET NOCOUNT ON\r\nDELETE FROM A WHERE x = 1", -1},
        {"INSERT INTO A VALUES (5)\r\nUPDATE A SET x = x + 1", -1},
        {"SET NOCOUNT OFF\r\nDELETE FROM A WHERE x = 6", 1},
        {"UPDATE A SET x = 0", 1},
    };
    for (const auto& [lote, filas] : casos) {
        afectadas = 0;
        cn.Execute(QString::fromUtf8(lote), &afectadas);
        EXPECT_EQ(afectadas, filas) << lote;
    }
    Recordset rs;
    rs.Open(QStringLiteral("SELECT x FROM A"), cn);
    EXPECT_EQ(Filas(rs), QStringLiteral("0"));
}

TEST_P(CorpusTSql, RechazaLoQueNoAdmitePorSuNombre) {
    AbreNueva();
    for (const char* sql : kRechazos) {
        try {
            cn.Execute(QString::fromUtf8(sql));
            ADD_FAILURE() << "ran: " << sql;
        } catch (const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), -2147217837) << sql;
            EXPECT_TRUE(e.Description().startsWith(QStringLiteral("El servidor embebido no admite "))) << sql;
            EXPECT_NE(e.Number(), Err::ErrorNoEspecificado);
            EXPECT_NE(e.Number(), Err::ErrorSentencia);
        }
    }
    // Nothing of a refused batch runs.
    EXPECT_THROW(cn.Execute(QStringLiteral("CREATE TABLE R (a int)\r\nEXEC sp_who")), ErrorEjecucion);
    EXPECT_THROW(cn.Execute(QStringLiteral("SELECT * FROM R")), ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 208);
}

// Expression columns report the server's types: COUNT int, SUM of money money, MAX of a date a date.
TEST_P(CorpusTSql, TiposDeLasColumnasDeExpresion) {
    AbreNueva();
    cn.Execute(QStringLiteral("CREATE TABLE P (Precio money, Alta datetime); INSERT INTO P VALUES (1.5, '20240101')"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*), SUM(Precio), MAX(Alta), CONVERT(int, '7') FROM P"), cn);
    if (!GetParam()) {
        EXPECT_EQ(rs.Fields(0).Type(), ado::adInteger);
        EXPECT_EQ(rs.Fields(1).Type(), ado::adCurrency);
        EXPECT_EQ(rs.Fields(2).Type(), ado::adDBTimeStamp);
        EXPECT_EQ(rs.Fields(3).Type(), ado::adInteger);
    }
    EXPECT_EQ(Escribe(rs.Fields(1).Value()), QStringLiteral("1.5"));
    // An average keeps the name of its call, however it is computed.
    Recordset promedio;
    promedio.Open(QStringLiteral("SELECT AVG( [Precio] ), AVG(Precio) AS p FROM dbo.P"), cn);
    EXPECT_EQ(promedio.Fields(0).Name(), QStringLiteral("AVG( \"Precio\" )"));
    EXPECT_EQ(promedio.Fields(1).Name(), QStringLiteral("p"));
    EXPECT_EQ(Escribe(rs.Fields(2).Value()), QStringLiteral("2024-01-01 00:00:00.000"));
    // An average is of its column's type, but smallint and tinyint average as int.
    cn.Execute(QStringLiteral("CREATE TABLE Q (b bigint, s smallint); INSERT INTO Q VALUES (5000000000, 3)"));
    Recordset tipos;
    tipos.Open(QStringLiteral("SELECT AVG(b), AVG(s), MAX(s), AVG(s * 2), AVG(b + 0.5), s + 1 FROM Q"), cn);
    if (!GetParam()) {
        EXPECT_EQ(tipos.Fields(0).Type(), ado::adBigInt);
        EXPECT_EQ(tipos.Fields(1).Type(), ado::adInteger);
        EXPECT_EQ(tipos.Fields(2).Type(), ado::adSmallInt);
        // Expressions the statement does not type take the type of their first value.
        EXPECT_EQ(tipos.Fields(3).Type(), ado::adInteger);
        EXPECT_EQ(tipos.Fields(4).Type(), ado::adDouble);
        EXPECT_EQ(tipos.Fields(5).Type(), ado::adInteger);
    }
    EXPECT_EQ(Escribe(tipos.Fields(0).Value()), QStringLiteral("5000000000"));
}

// Ten nested TOP n PERCENT run and keep, at each level, that share of the rows rounded up.
TEST_P(CorpusTSql, DiezTopPercentAnidados) {
    AbreNueva();
    QString inserta = QStringLiteral("CREATE TABLE N (a int)\r\nBEGIN TRANSACTION\r\n");
    for (int i = 1; i <= 1000; ++i) inserta += QStringLiteral("INSERT INTO N VALUES (%1)\r\n").arg(i);
    inserta += QStringLiteral("COMMIT TRANSACTION");
    cn.Execute(inserta);
    QString sql = QStringLiteral("SELECT TOP 90 PERCENT a FROM N ORDER BY a");
    for (int nivel = 2; nivel <= 10; ++nivel)
        sql = QStringLiteral("SELECT TOP 90 PERCENT a FROM (%1) t%2 ORDER BY a").arg(sql).arg(nivel);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*), MAX(a) FROM (%1) todo").arg(sql), cn);
    // 1000, 900, 810, 729, 657, 592, 533, 480, 432, 389, 351: each level keeps ceiling(90% of the rows before it).
    EXPECT_EQ(rs.Fields(0).Value().ALargo(), 351);
    EXPECT_EQ(rs.Fields(1).Value().ALargo(), 351);
}

INSTANTIATE_TEST_SUITE_P(Motores, CorpusTSql, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Odbc" : "Embebido"; });

// A file that is not a database is refused when the database opens, as the server refuses an unusable one.
TEST_F(ConBaseDePrueba, ArchivoQueNoEsBaseSeRechazaAlAbrir) {
    QFile archivo(ArchivoBase(QStringLiteral("ROTA")));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(QByteArray("Standard Jet DB\0\0\0\0 esto no es una base", 40));
    archivo.close();
    EXPECT_THROW(cn.Open(Cadena(QStringLiteral("ROTA"))), ErrorEjecucion);
    ASSERT_EQ(cn.errors().Count(), 1);
    EXPECT_EQ(cn.errors().Item(0).NativeError, 5172);
    EXPECT_NE(cn.State(), ado::adStateOpen);
    EXPECT_THROW(
        cn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + ArchivoBase(QStringLiteral("ROTA"))),
        ErrorEjecucion);
    EXPECT_EQ(cn.errors().Item(0).SQLState, QStringLiteral("3343"));
}

// The translation is linear in its input: nested TOP PERCENT, long chains of +, many literals.
TEST(TraduceTSql, SalidaLinealYLiteralesIntactos) {
    QString anidada = QStringLiteral("SELECT TOP 10 PERCENT a FROM T ORDER BY a");
    for (int i = 0; i < 25; ++i)
        anidada = QStringLiteral("SELECT TOP 50 PERCENT a FROM (%1) x ORDER BY a").arg(anidada);
    QString cadena = QStringLiteral("SELECT a");
    for (int i = 0; i < 2000; ++i) cadena += QStringLiteral(" + 'x''y' - b");
    for (const QString& sql : {anidada, cadena}) {
        QElapsedTimer reloj;
        reloj.start();
        const QString traducida = TraduceTSql(sql);
        EXPECT_LT(traducida.size(), 8 * sql.size() + 200);
        EXPECT_LT(reloj.elapsed(), 2000);
    }
    const QString literales = QStringLiteral("SELECT N'ñ''a -- b', '/* c */', [a]]b], \"q\"\"r\" FROM [dbo].[T]");
    const QString traducida = TraduceTSql(literales);
    for (const char* intacto : {"'ñ''a -- b'", "'/* c */'", "\"a]b\"", "\"q\"\"r\""})
        EXPECT_TRUE(traducida.contains(QString::fromUtf8(intacto))) << intacto << " in " << traducida.toStdString();
    EXPECT_THROW(TraduceTSql(QStringLiteral("SELECT 'abierto")), ErrorMotor);
    // The translations kept by shape give each text its own literals back.
    CacheTSql cache;
    for (const char* sql :
         {"SELECT a FROM T WHERE b = 'uno' AND c = N'dós'", "SELECT a FROM T WHERE b = 'x''y' AND c = N''",
          "SELECT 'Alias' = 1", "SET LANGUAGE 'Spanish'"}) {
        const LoteTSql lote = cache.Traduce(QString::fromUtf8(sql));
        QStringList pasos;
        for (const PasoLote& p : lote.pasos) pasos << p.sql;
        EXPECT_EQ(pasos.join(u'\n'), TraduceTSql(QString::fromUtf8(sql))) << sql;
    }
    EXPECT_THROW(TraduceTSql(QStringLiteral("SELECT [abierto")), ErrorMotor);
    EXPECT_THROW(TraduceTSql(QStringLiteral("SELECT 1 /* abierto")), ErrorMotor);
}

}  // namespace
