// The Oracle dialect: statement rewriting, the synonym redirection and its markers.
#include <gtest/gtest.h>

#include "DB_Dll.h"
#include "Impresion.h"
#include "Soporte.h"

namespace {
const QString kCadenaOracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=TK;User Id=u;Password=p;");

class Oracle : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        db.gConnString = kCadenaOracle;
    }
    void TearDown() override {
        DB_Dll::LeeConfidencialidad = [] { return false; };
        DB_Dll::ProgramasConDepositoReal.clear();
        DB_Dll::ReiniciaPredeterminada();
        ConEntorno::TearDown();
    }
    DB_Dll db;
};

struct Caso {
    const char* entrada;
    const char* esperado;
};
}  // namespace

TEST_F(Oracle, TraduceLasSentenciasPorPatronesDeTexto) {
    FijaLocale("es_AR");  // the date literals are day first
    const Caso casos[] = {
        // Row limit before the ordering or the grouping.
        {"SELECT TOP 10 CODIGO FROM A ORDER BY CODIGO DESC",
         "SELECT  CODIGO FROM A    WHERE ROWNUM <= 10  ORDER BY CODIGO DESC"},
        {"SELECT TOP 1 * FROM A WHERE X = 1 ORDER BY Y", "SELECT  * FROM A WHERE X = 1    AND ROWNUM <= 1  ORDER BY Y"},
        {"SELECT TOP 5 F, COUNT(*) FROM A WHERE X = 1 GROUP BY F ORDER BY F",
         "SELECT  F, COUNT(*) FROM A WHERE X = 1    AND ROWNUM <= 5  GROUP BY F ORDER BY F "},
        {"select top 3 a from b", "select  a from b  WHERE ROWNUM <= 3  "},
        // "top " inside a word: the first "top" of the text takes the limit.
        {"SELECT A FROM B WHERE C = 'stop 1' AND D = 2", "SELECT A FROM B WHERE C = 's AND D = 2  AND ROWNUM <= 1'  "},
        // Length function, with up to four blanks before the parenthesis.
        {"SELECT LEN(A), LEN (B), len    (C) FROM T", "SELECT LENGTH(A), LENGTH(B), LENGTH(C) FROM T"},
        {"SELECT LEN     (A) FROM T", "SELECT LEN     (A) FROM T"},
        // Brackets become double quotes.
        {"SELECT [Nombre Completo] FROM [Mis Datos]", "SELECT \"Nombre Completo\" FROM \"Mis Datos\""},
        // Date literals: once, twice, the caller's own TO_DATE, the mask and the empty literal are no dates.
        {"SELECT * FROM T WHERE F = '1/3/2026'", "SELECT * FROM T WHERE F = TO_DATE('01/03/2026','DD/MM/YYYY')"},
        {"SELECT * FROM T WHERE F >= '15/03/2026' AND G <= '15/03/2026'",
         "SELECT * FROM T WHERE F >= TO_DATE('15/03/2026','DD/MM/YYYY') AND G <= TO_DATE('15/03/2026','DD/MM/YYYY')"},
        {"SELECT * FROM T WHERE F = TO_DATE('15/03/2026','DD/MM/YYYY')",
         "SELECT * FROM T WHERE F = TO_DATE('15/03/2026','DD/MM/YYYY')"},
        {"SELECT * FROM T WHERE F = '15/03'", "SELECT * FROM T WHERE F = TO_DATE('15/03/2026','DD/MM/YYYY')"},
        {"SELECT * FROM T WHERE N = 'ABC'", "SELECT * FROM T WHERE N = 'ABC'"},
        // Function names.
        {"SELECT Charindex('a', B) FROM T", "SELECT InStr('a', B) FROM T"},
        {"SELECT CONVERT(INT,A), SUBSTRING(B,1,2), ISNULL(C,0) FROM T",
         "SELECT TO_NUMBER(A), SUBSTR(B,1,2), NVL(C,0) FROM T"},
        // Date style 103 only inside a TO_CHAR call.
        {"SELECT CONVERT(NVARCHAR,FECHA,103) FROM T", "SELECT TO_CHAR(FECHA,'DD/MM/YYYY') FROM T"},
        {"SELECT CONVERT(NVARCHAR,ALTA,103) FROM T WHERE (C = 103)",
         "SELECT TO_CHAR(ALTA,'DD/MM/YYYY') FROM T WHERE (C = 103)"},
        {"SELECT A FROM T WHERE C = 103", "SELECT A FROM T WHERE C = 103"},
        {"SELECT CONVERT(NVARCHAR,F,103) FROM T WHERE C = 103",
         "SELECT TO_CHAR(F,'DD/MM/YYYY') FROM T WHERE C = 'DD/MM/YYYY'"},
        // Empty texts are nulls in Oracle.
        {"SELECT * FROM T WHERE A = '' AND B=''", "SELECT * FROM T WHERE A  IS NULL  AND B IS NULL "},
        {"SELECT A = '' FROM T", "SELECT A = '' FROM T"},
        // Single words.
        {"len", "LENGTH"},
        {"LEN", "LENGTH"},
        {"CODIGO", "CODIGO"},
        {"", ""},
        // Hints pass unchanged.
        {"SELECT * FROM T with(nolock)  WHERE A = 1", "SELECT * FROM T with(nolock)  WHERE A = 1"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(db.ORACLE_Dicc(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.esperado)) << c.entrada;
}

TEST_F(Oracle, SinCadenaOracleNadaCambia) {
    db.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=u;Pwd=p;");
    for (const char* s : {"len", "SELECT TOP 10 A FROM B", "SELECT [A] FROM T WHERE F = '15/03/2026'"})
        EXPECT_EQ(db.ORACLE_Dicc(QString::fromUtf8(s)), QString::fromUtf8(s)) << s;
}

TEST_F(Oracle, FallaConArgumentoInvalido) {
    // An apostrophe without its partner, and a count not followed by a blank.
    for (const char* s : {"SELECT * FROM T WHERE A = 'abc", "SELECT TOP 10"}) {
        try {
            db.ORACLE_Dicc(QString::fromUtf8(s));
            ADD_FAILURE() << "no error for " << s;
        } catch (const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), Err::ArgumentoInvalido) << s;
        }
    }
}

TEST_F(Oracle, SinonimosSegunAdministradorYConfidencialidad) {
    struct CasoSinonimo {
        bool admin;
        bool confidencial;
        const char* entrada;
        const char* esperado;
    };
    const CasoSinonimo casos[] = {
        // Every context of every row.
        {false, false, "SELECT * FROM MA_CUENTAS WHERE X IN (SELECT A FROM (MA_CUENTAS ) )",
         "SELECT * FROM SS_MA_CUENTAS WHERE X IN (SELECT A FROM (SS_MA_CUENTAS ) )"},
        {false, false, "SELECT MA_CUENTAS.A,(MA_CUENTAS.B),{MA_CUENTAS.C},V_TA_CAJAS.D FROM V_TA_FAMILIAS ",
         "SELECT SS_MA_CUENTAS.A,(SS_MA_CUENTAS.B),{SS_MA_CUENTAS.C},SS_V_TA_CAJAS.D FROM SS_V_TA_FAMILIAS "},
        {false, false, "SELECT A FROM {V_TA_CAJAS.X} ", "SELECT A FROM {V_TA_CAJAS.X} "},
        {false, false, "SELECT * FROM V_TA_DEPOSITO , AC_CUENTASDIARIO , AC_CUENTASDIARIO_CCOSTO WHERE 1=1",
         "SELECT * FROM SS_V_TA_DEPOSITO , SS_AC_CUENTASDIARIO , SS_AC_CUENTAS_DIARIO_CCOSTO WHERE 1=1"},
        // A name at the very end has no blank after it.
        {false, false, "SELECT * FROM MA_CUENTAS", "SELECT * FROM MA_CUENTAS"},
        // The journal without confidentiality: no synonym at all.
        {false, false, "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1",
         "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1"},
        {false, true, "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1",
         "SELECT * FROM SS_MV_ASIENTOS , SS_MA_CUENTAS WHERE 1=1"},
        {false, true, "SELECT * FROM MA_CUENTAS WHERE 1=1", "SELECT * FROM SS_MA_CUENTAS WHERE 1=1"},
        // Markers keep the real table and disappear in any case.
        {false, true, "SELECT * FROM @Admin_MV_ASIENTOS , @ADMIN_MA_CUENTAS WHERE 1=1",
         "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1"},
        // An administrator keeps every name; only markers go.
        {true, true, "SELECT * FROM MA_CUENTAS , @admin_V_TA_CAJAS WHERE 1=1",
         "SELECT * FROM MA_CUENTAS , V_TA_CAJAS WHERE 1=1"},
    };
    for (const auto& c : casos) {
        db.gEsAdmin = c.admin;
        DB_Dll::LeeConfidencialidad = [&] { return c.confidencial; };
        EXPECT_EQ(db.SS_TSinonimos(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.esperado)) << c.entrada;
    }
}

TEST_F(Oracle, ElDepositoRealParaLosProgramasQueLoLeen) {
    DB_Dll::ProgramasConDepositoReal = {QStringLiteral("FichaStock")};
    const QString sql = QStringLiteral("SELECT * FROM V_TA_DEPOSITO , V_TA_CAJAS WHERE 1=1");
    EXPECT_EQ(db.SS_TSinonimos(sql), QStringLiteral("SELECT * FROM SS_V_TA_DEPOSITO , SS_V_TA_CAJAS WHERE 1=1"));
    proc.ejecutable = QStringLiteral("fichastock");
    EXPECT_EQ(db.SS_TSinonimos(sql), QStringLiteral("SELECT * FROM V_TA_DEPOSITO , SS_V_TA_CAJAS WHERE 1=1"));
}
