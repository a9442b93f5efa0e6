// SQL literals, type classes and the name helpers.
#include <gtest/gtest.h>

#include "DB_Dll.h"
#include "Impresion.h"
#include "Soporte.h"

namespace {
class Valores : public ConEntorno {
  protected:
    DB_Dll db;
};
}  // namespace

TEST_F(Valores, SQLValueEscribeElLiteral) {
    FijaLocale("es_AR");  // the numbers below are written with a decimal comma
    struct Caso {
        Variant valor;
        const char* tipo;
        const char* esperado;
    };
    const Caso casos[] = {
        {Variant(QStringLiteral("ABC")), "'", "'ABC'"},
        {Variant::Null(), "'", "NULL"},
        {Variant::Null(), "@", "0"},
        {Variant::Null(), "#", "NULL"},
        {Variant(QStringLiteral("1234,5")), "@", "1234.5"},  // decimal-comma locale
        {Variant(QStringLiteral("1.234,50")), "@", "1234.5"},
        {Variant(QStringLiteral("")), "@", "0"},
        {Variant(qint32(7)), "#", "7"},
        {Variant(QStringLiteral("X")), "", "X"},
        {Variant(QStringLiteral("")), "'", "''"},
        // An apostrophe is doubled: the literal cannot be closed early.
        {Variant(QStringLiteral("O'Brien")), "'", "'O''Brien'"},
        {Variant(QStringLiteral("x' OR '1'='1")), "'", "'x'' OR ''1''=''1'"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(db.SQLValue(c.valor, QString::fromUtf8(c.tipo)).ATexto(), QString::fromUtf8(c.esperado))
            << c.esperado;
    EXPECT_EQ(db.SQLValue(Variant(QStringLiteral("A"))).ATexto(), QStringLiteral("'A'"));
}

TEST_F(Valores, SQLValueDeUnTextoQueNoEsNumero) {
    try {
        db.SQLValue(Variant(QStringLiteral("abc")), QStringLiteral("@"));
        ADD_FAILURE() << "no error";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::TiposNoCoinciden);
    }
}

TEST_F(Valores, ClasesDeTipo) {
    struct Caso {
        int codigo;
        bool fecha, texto, numero, moneda, booleano;
        const char* comilla;
    };
    const Caso casos[] = {
        {135, true, false, false, false, false, "'"}, {64, true, false, false, false, false, "'"},
        {130, false, true, false, false, false, "'"}, {203, false, true, false, false, false, "'"},
        {131, false, false, true, false, false, ""},  {17, false, false, true, false, false, ""},
        {6, false, false, false, true, false, ""},    {11, false, false, false, false, true, ""},
        {204, false, false, false, false, false, ""},
    };
    for (const auto& c : casos) {
        Variant q(qint32(c.codigo));
        EXPECT_EQ(db.adodate(q), c.fecha) << c.codigo;
        EXPECT_EQ(db.ADOText(q), c.texto) << c.codigo;
        EXPECT_EQ(db.ADONumeric(q), c.numero) << c.codigo;
        EXPECT_EQ(db.ADOCurrency(q), c.moneda) << c.codigo;
        EXPECT_EQ(db.ADOBoolean(q), c.booleano) << c.codigo;
        EXPECT_EQ(db.ADOComilla(q), QString::fromUtf8(c.comilla)) << c.codigo;
    }
    EXPECT_FALSE(db.ADOText(Variant::Null()));
}

TEST_F(Valores, NombresDeObjetos) {
    struct Caso {
        const char* entrada;
        const char* esperado;
    };
    const Caso corchetes[] = {{"Mis Datos", "[Mis Datos]"}, {"[Mis Datos]", "[Mis Datos]"}, {"DATOS", "DATOS"}};
    for (const auto& c : corchetes)
        EXPECT_EQ(db.AddBrackets(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.esperado));
    const Caso sinCorchetes[] = {{"[Mis Datos]", "Mis Datos"}, {"DATOS", "DATOS"}};
    for (const auto& c : sinCorchetes)
        EXPECT_EQ(db.StripBrackets(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.esperado));
    const Caso conexion[] = {{"CLIENTES -> Ventas", "CLIENTES"}, {"CLIENTES", "CLIENTES"}};
    for (const auto& c : conexion)
        EXPECT_EQ(db.StripConnect(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.esperado));
    const Caso carpeta[] = {
        {"C:\\Datos\\Empresa\\base.mdb", "C:\\Datos\\Empresa"}, {"base.mdb", ""}, {"C:\\a.mdb", "C:"}};
    for (const auto& c : carpeta)
        EXPECT_EQ(db.StripFileName(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.esperado));
}

TEST_F(Valores, StripOwnerYstSTFCambianElArgumento) {
    QString nombre = QStringLiteral("dbo.CLIENTES");
    EXPECT_EQ(db.StripOwner(nombre), QStringLiteral("CLIENTES"));
    EXPECT_EQ(nombre, QStringLiteral("CLIENTES"));

    struct Caso {
        const char* entrada;
        qint16 parte;
        const char* esperado;
        const char* argumentoDespues;
    };
    const Caso casos[] = {
        {"base.dbo.CLIENTES", 0, "dbo.CLIENTES", "dbo.CLIENTES"},
        {"base.dbo.CLIENTES", 1, "dbo.CLIENTES", "dbo.CLIENTES"},
        {"dbo.CLIENTES", 1, "CLIENTES", "dbo.CLIENTES"},
        {"dbo.CLIENTES", 0, "dbo", "dbo.CLIENTES"},
        {"CLIENTES", 1, "CLIENTES", "CLIENTES"},
    };
    for (const auto& c : casos) {
        QString n = QString::fromUtf8(c.entrada);
        EXPECT_EQ(db.stSTF(n, c.parte), QString::fromUtf8(c.esperado)) << c.entrada;
        EXPECT_EQ(n, QString::fromUtf8(c.argumentoDespues)) << c.entrada;
    }
}

TEST_F(Valores, LongitudesNegativasSonArgumentoInvalido) {
    QString sinPunto = QStringLiteral("CLIENTES");
    const std::function<void()> llamadas[] = {
        [&] { db.stSTF(sinPunto, 0); },
        [&] { db.StripConnect(QStringLiteral("->Ventas")); },
    };
    for (const auto& llamada : llamadas) {
        try {
            llamada();
            ADD_FAILURE() << "no error";
        } catch (const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), Err::ArgumentoInvalido);
        }
    }
}
