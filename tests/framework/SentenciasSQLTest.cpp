// The SQL text helpers: the Oracle adaptation and the statement builder.
#include "BaseDemo.h"
#include "DB_Dll.h"
#include "ErrorEjecucion.h"
#include "SentenciasSQL.h"
#include "Sesion.h"
#include "Soporte.h"

namespace {

class SentenciasSQL : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        sesion().Reinicia();
    }
    void TearDown() override {
        sesion().Reinicia();
        ConEntorno::TearDown();
    }
    void Oracle() {
        sesion().gDB().gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=a;");
    }
};

TEST_F(SentenciasSQL, EnSqlServerAdaptaSQLDevuelveElTextoIntacto) {
    sesion().gDB().gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=u;Pwd=p;");
    for (const char* t : {"LEN", "len", "Select TOP 1 * from Control_Acceso  with(nolock) ", "select top *"})
        EXPECT_EQ(AdaptaSQL(QString::fromUtf8(t)), QString::fromUtf8(t));
}

TEST_F(SentenciasSQL, EnOracleAdaptaSQLReescribeLenYTop) {
    Oracle();
    struct Caso {
        const char* entrada;
        const char* esperado;
    };
    const Caso casos[] = {
        {"len", "LENGTH"},
        {"Len", "LENGTH"},
        {"LTRIM", "LTRIM"},
        {"Select TOP 1 * from Control_Acceso  with(nolock) ",
         "Select  *  from Control_Acceso  with(nolock)  WHERE ROWNUM <=  1 "},
        {"select nombre from t", "select nombre from t"},  // no "top "
        // "top " inside another word is split all the same.
        {"select laptop * from t", "select lap *  from t WHERE ROWNUM <=  "},
    };
    for (const Caso& c : casos) EXPECT_EQ(AdaptaSQL(QString::fromUtf8(c.entrada)), c.esperado) << c.entrada;
}

TEST_F(SentenciasSQL, EnOracleUnTopSinAsteriscoEsUnArgumentoInvalido) {
    Oracle();
    try {
        AdaptaSQL(QStringLiteral("select top 5 nombre from t"));
        FAIL() << "no error";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ArgumentoInvalido);
    }
}

TEST_F(SentenciasSQL, DosInsertsEnUnaLista) {
    QStringList lista{QString()};
    QString sin;
    QString valor = QStringLiteral("O'Brien");
    AgregaCampo(QStringLiteral("Nombre"), valor, QStringLiteral("'"), true);
    EXPECT_EQ(valor, QStringLiteral("OBrien"));  // the caller's variable loses its apostrophes too
    AgregaCampo(QStringLiteral("Baja"), QStringLiteral("null"), QStringLiteral("'"), false);
    AgregaCampo(QStringLiteral("Caja"), QStringLiteral("1"), QStringLiteral("'"), false);
    ArmaSentencia(sesion().ListaCampos, lista, QStringLiteral("T1"), false, sin, false);
    AgregaCampo(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("'"), true);
    ArmaSentencia(sesion().ListaCampos, lista, QStringLiteral("T2"), false, sin, false);

    EXPECT_EQ(lista,
              (QStringList{QString(), QStringLiteral("INSERT INTO T1 (Nombre,Baja,Caja) VALUES ('OBrien',Null,'1')"),
                           QString(), QStringLiteral("INSERT INTO T2 (A) VALUES ('x')"), QString()}));
    // Without ConservaCampos the list keeps one empty pair, which an AgregaCampo without Reinicia keeps first.
    ASSERT_EQ(sesion().ListaCampos.size(), 1);
    AgregaCampo(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("'"), false);
    ArmaSentencia(sesion().ListaCampos, lista, QStringLiteral("T3"), false, sin, true);
    EXPECT_EQ(lista[5], QStringLiteral("INSERT INTO T3 (,B) VALUES (,'y')"));
    EXPECT_EQ(sesion().ListaCampos.size(), 2);  // kept
}

TEST_F(SentenciasSQL, UpdateConYSinWhere) {
    struct Caso {
        const char* condicion;
        const char* sentencia;
        const char* condicionDespues;
    };
    const Caso casos[] = {
        {"Id = 3", "UPDATE T SET A = 'x',B = Null  WHERE Id = 3", " WHERE Id = 3"},
        {" where Id = 3", "UPDATE T SET A = 'x',B = Null  where Id = 3", " where Id = 3"},
        {"", "UPDATE T SET A = 'x',B = Null  WHERE ", " WHERE "},
    };
    for (const Caso& c : casos) {
        QStringList lista;
        QString condicion = QString::fromUtf8(c.condicion);
        AgregaCampo(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("'"), true);
        AgregaCampo(QStringLiteral("B"), QStringLiteral("NULL"), QStringLiteral("'"), false);
        ArmaSentencia(sesion().ListaCampos, lista, QStringLiteral("T"), true, condicion, false);
        EXPECT_EQ(lista, (QStringList{QString::fromUtf8(c.sentencia), QString()})) << c.condicion;
        EXPECT_EQ(condicion, QString::fromUtf8(c.condicionDespues));
    }
}

}  // namespace
