// Text operations: positions from 1, case ignored, blanks-only trimming, invalid arguments.
#include <gtest/gtest.h>

#include "ErrorEjecucion.h"
#include "Texto.h"

namespace {
long NumeroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorEjecucion& e) {
        return e.Number();
    }
    return 0;
}
}  // namespace

TEST(Texto, RecortaSoloBlancos) {
    EXPECT_EQ(Recorta(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(Recorta(QStringLiteral("\ta\t ")), QStringLiteral("\ta\t"));
    EXPECT_EQ(RecortaIzq(QStringLiteral("  a ")), QStringLiteral("a "));
    EXPECT_EQ(RecortaDer(QStringLiteral("  a ")), QStringLiteral("  a"));
    EXPECT_EQ(Recorta(QStringLiteral("   ")), QString());
}

TEST(Texto, BusquedaIgnoraMayusculas) {
    struct Caso {
        const char* s;
        const char* buscado;
        int inicio;
        int esperado;
    };
    const Caso casos[] = {
        {"Select TOP 1 *", "top ", 1, 8},
        {"abcabc", "BC", 3, 5},
        {"abc", "x", 1, 0},
        {"abc", "", 2, 2},
        {"abc", "a", 5, 0},
        {"with(NOLOCK)", "nolock", 1, 6},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Instr(QString::fromUtf8(c.s), QString::fromUtf8(c.buscado), c.inicio), c.esperado) << c.s;
    EXPECT_EQ(InstrBin(QStringLiteral("aA"), QStringLiteral("A")), 2);
    EXPECT_EQ(InstrRev(QStringLiteral("a\\b\\c"), QStringLiteral("\\")), 4);
    EXPECT_EQ(NumeroDe([] { Instr(QStringLiteral("a"), QStringLiteral("a"), 0); }), Err::ArgumentoInvalido);
}

TEST(Texto, ReemplazaTodasLasApariciones) {
    EXPECT_EQ(Reemplaza(QStringLiteral("x @Admin_T @ADMIN_U"), QStringLiteral("@admin_"), {}), QStringLiteral("x T U"));
    EXPECT_EQ(Reemplaza(QStringLiteral("aaa"), QStringLiteral("a"), QStringLiteral("aa")), QStringLiteral("aaaaaa"));
    EXPECT_EQ(Reemplaza(QStringLiteral("abc"), QString(), QStringLiteral("x")), QStringLiteral("abc"));
}

TEST(Texto, SubcadenasYArgumentosInvalidos) {
    EXPECT_EQ(Medio(QStringLiteral("COM3"), 4), QStringLiteral("3"));
    EXPECT_EQ(Medio(QStringLiteral("COM"), 4), QString());
    EXPECT_EQ(Medio(QStringLiteral("abcdef"), 2, 3), QStringLiteral("bcd"));
    EXPECT_EQ(Medio(QStringLiteral("abc"), 2, 0), QString());
    EXPECT_EQ(NumeroDe([] { Medio(QStringLiteral("abc"), 1, -1); }), Err::ArgumentoInvalido);
    EXPECT_EQ(NumeroDe([] { Medio(QStringLiteral("abc"), 0); }), Err::ArgumentoInvalido);
    EXPECT_EQ(NumeroDe([] { Izquierda(QStringLiteral("abc"), -2); }), Err::ArgumentoInvalido);
    EXPECT_EQ(Izquierda(QStringLiteral("abc"), 10), QStringLiteral("abc"));
    EXPECT_EQ(Derecha(QStringLiteral("abc"), 2), QStringLiteral("bc"));
}
