// Numbers, currency, dates and the code page as the platform converts them.
#include <gtest/gtest.h>

#include "Cp1252.h"
#include "ErrorEjecucion.h"
#include "Fechas.h"
#include "Numeros.h"
#include "Regional.h"
#include "Variant.h"

#include <QLocale>

namespace {
class Conversiones : public ::testing::Test {
  protected:
    void SetUp() override {
        anterior_ = ConfiguracionRegional();
        ConfiguracionRegional() = Regional();
    }
    void TearDown() override { ConfiguracionRegional() = anterior_; }
    Regional anterior_;
};

long NumeroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorEjecucion& e) {
        return e.Number();
    }
    return 0;
}
}  // namespace

TEST_F(Conversiones, ValLeeElNumeroConElQueEmpiezaElTexto) {
    struct Caso {
        const char* texto;
        double esperado;
    };
    const Caso casos[] = {
        {"45", 45},      {"  45abc", 45}, {"abc", 0},    {"", 0},    {"1 2 3", 123},
        {"-3.5x", -3.5}, {".5", 0.5},     {"1e3", 1000}, {"2,5", 2}, {"&H1F", 31},
        {"&O17", 15},    {"12e", 12},     {"+7", 7},     {"\t8", 8}, {"360 segundos", 360},
    };
    for (const auto& c : casos) EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.texto)), c.esperado) << c.texto;
}

TEST_F(Conversiones, ValHexadecimalUOctalFueraDeRangoDesborda) {
    struct Caso {
        const char* texto;
        double esperado;  // negative: the overflow error
    };
    const Caso casos[] = {
        {"&H7FFFFFFFFFFFFFFF", 9223372036854775807.0},
        {"&H00000000000000000000001", 1},  // leading zeros are not digits that count
        {"&O777777777777777777777", 9223372036854775807.0},
        {"&H7FFFFFFFFFFFFFFFz", 9223372036854775807.0},
        {"&H8000000000000000", -1},
        {"&HFFFFFFFFFFFFFFFFFF", -1},
        {"&hffffffffffffffffffffffffffffffff", -1},
        {"&O1000000000000000000000", -1},
        {"&O7777777777777777777777777", -1},
    };
    for (const auto& c : casos) {
        const QString texto = QString::fromUtf8(c.texto);
        if (c.esperado < 0)
            EXPECT_EQ(NumeroDe([&] { Val(texto); }), Err::Desbordamiento) << c.texto;
        else
            EXPECT_DOUBLE_EQ(Val(texto), c.esperado) << c.texto;
    }
}

TEST_F(Conversiones, RedondeoAlParYDesbordamiento) {
    struct Caso {
        double valor;
        int esperado;
    };
    const Caso casos[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {2.6, 3}, {32767.4, 32767}, {-32768, -32768}};
    for (const auto& c : casos) EXPECT_EQ(RedondeaEntero16(c.valor), c.esperado) << c.valor;
    EXPECT_EQ(NumeroDe([] { RedondeaEntero16(32767.5); }), Err::Desbordamiento);
    EXPECT_EQ(NumeroDe([] { RedondeaEntero16(-32768.6); }), Err::Desbordamiento);
    EXPECT_EQ(RedondeaEntero32(2147483647.0), 2147483647);
    EXPECT_EQ(NumeroDe([] { RedondeaEntero32(2147483648.0); }), Err::Desbordamiento);
}

TEST_F(Conversiones, MonedaEnElFormatoRegional) {
    EXPECT_EQ(TextoAMoneda(QStringLiteral("1234,5")).Escalado(), 12345000);
    EXPECT_EQ(TextoAMoneda(QStringLiteral("1.234,5")).Escalado(), 12345000);
    EXPECT_EQ(TextoAMoneda(QStringLiteral("  ")).Escalado(), 0);
    EXPECT_EQ(TextoAMoneda(QStringLiteral("0,00005")).Escalado(), 0);  // half to even
    EXPECT_EQ(TextoAMoneda(QStringLiteral("0,00015")).Escalado(), 2);
    EXPECT_EQ(MonedaATexto(TextoAMoneda(QStringLiteral("1234,50"))), QStringLiteral("1234,5"));
    EXPECT_EQ(MonedaATexto(Moneda::DesdeEscalado(-5)), QStringLiteral("-0,0005"));
    EXPECT_EQ(NumeroDe([] { TextoAMoneda(QStringLiteral("12abc")); }), Err::TiposNoCoinciden);
    ConfiguracionRegional().decimal = QLatin1Char('.');
    ConfiguracionRegional().grupo = QLatin1Char(',');
    EXPECT_EQ(TextoAMoneda(QStringLiteral("1,234.5")).Escalado(), 12345000);
    EXPECT_EQ(MonedaATexto(Moneda::DesdeEscalado(15000)), QStringLiteral("1.5"));
}

TEST_F(Conversiones, VariantATextoYNumero) {
    EXPECT_EQ(Variant(true).ATexto(), QStringLiteral("Verdadero"));
    EXPECT_EQ(Variant(false).ATexto(), QStringLiteral("Falso"));
    EXPECT_EQ(Variant().ATexto(), QString());
    EXPECT_EQ(Variant(2.5).ATexto(), QStringLiteral("2,5"));
    EXPECT_EQ(Variant(qint32(7)).ATexto(), QStringLiteral("7"));
    EXPECT_EQ(Variant("3,5").AEntero(), 4);
    EXPECT_EQ(Variant("2,5").AEntero(), 2);
    EXPECT_EQ(Variant(true).ADouble(), -1.0);
    EXPECT_EQ(NumeroDe([] { Variant::Null().ATexto(); }), Err::UsoInvalidoNull);
    EXPECT_EQ(NumeroDe([] { Variant("abc").ADouble(); }), Err::TiposNoCoinciden);
    EXPECT_EQ(NumeroDe([] { Variant(40000.0).AEntero(); }), Err::Desbordamiento);
    EXPECT_EQ(Variant::Null().Tipo(), TipoVariant::Null);
    EXPECT_EQ(Variant(QDateTime(QDate(2026, 2, 13), QTime(0, 0))).ATexto(), QStringLiteral("13/02/2026"));
    EXPECT_TRUE(Variant("Verdadero").ABooleano());
    EXPECT_FALSE(Variant("0").ABooleano());
}

TEST_F(Conversiones, ReconoceFechasComoLaPlataforma) {
    const QDate hoy(2026, 12, 9);
    struct Caso {
        const char* texto;
        QDate esperado;  // invalid: not a date
    };
    const Caso casos[] = {
        {"13/02/2026", QDate(2026, 2, 13)},
        {"1/2/26", QDate(2026, 2, 1)},
        {"13-02-2026", QDate(2026, 2, 13)},
        {"2026-02-13", QDate(2026, 2, 13)},
        {"13/02", QDate(2026, 2, 13)},
        {"31/02/2026", QDate()},
        {"DD/MM/YYYY", QDate()},
        {"", QDate()},
        {"hola", QDate()},
        {"12", QDate()},
        {"13/02/2026 10:15", QDate(2026, 2, 13)},
    };
    for (const auto& c : casos) {
        auto f = ReconoceFecha(QString::fromUtf8(c.texto), hoy);
        if (c.esperado.isValid()) {
            ASSERT_TRUE(f.has_value()) << c.texto;
            EXPECT_EQ(f->date(), c.esperado) << c.texto;
        } else {
            EXPECT_FALSE(f.has_value()) << c.texto;
        }
    }
}

TEST_F(Conversiones, FormatosConLosSeparadoresDelPuesto) {
    QDateTime m(QDate(2026, 3, 5), QTime(9, 7, 3));
    EXPECT_EQ(FormateaFecha(m, QStringLiteral("dd/MM/yy HH:mm")), QStringLiteral("05/03/26 09:07"));
    ConfiguracionRegional().separadorFecha = QLatin1Char('-');
    ConfiguracionRegional().separadorHora = QLatin1Char('.');
    EXPECT_EQ(FormateaFecha(m, QStringLiteral("dd/MM/yy HH:mm")), QStringLiteral("05-03-26 09.07"));
    EXPECT_EQ(FormateaFecha(m, QStringLiteral("yyMMdd")), QStringLiteral("260305"));
}

TEST_F(Conversiones, LosSeparadoresDeCadaLocaleSeLeenDeVuelta) {
    // A locale without a usable separator (a blank, a quoted letter) falls back on "/" and ":".
    struct Caso {
        const char* locale;
        char fecha;
        char hora;
        const char* corta;
    };
    const Caso casos[] = {
        {"C", '/', ':', "MM/dd/yy"},   {"POSIX", '/', ':', "MM/dd/yy"},   {"en_US", '/', ':', "M/d/yy"},
        {"es_AR", '/', ':', "d/M/yy"}, {"fr_CA", '-', ':', "yyyy-MM-dd"}, {"de_DE", '.', ':', "dd.MM.yy"},
    };
    const QDateTime m(QDate(2026, 12, 9), QTime(16, 14));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.locale);
        ConfiguracionRegional() = Regional::De(QLocale(QString::fromUtf8(c.locale)));
        EXPECT_EQ(ConfiguracionRegional().separadorFecha, QLatin1Char(c.fecha));
        EXPECT_EQ(ConfiguracionRegional().separadorHora, QLatin1Char(c.hora));
        EXPECT_EQ(ConfiguracionRegional().fechaCorta, QString::fromUtf8(c.corta));
        // The access log's pattern, with the locale's separators.
        const QString f(QLatin1Char(c.fecha)), h(QLatin1Char(c.hora));
        EXPECT_EQ(FormateaFecha(m, QStringLiteral("dd/MM/yy HH:mm")), "09" + f + "12" + f + "26 16" + h + "14");
        // What the program writes in the short format, its own reader reads back.
        auto leida = ReconoceFecha(
            FechaCorta(m.date()) + QStringLiteral(" ") + FormateaFecha(m, QStringLiteral("HH:mm")), m.date());
        ASSERT_TRUE(leida.has_value()) << FechaCorta(m.date()).toStdString();
        EXPECT_EQ(*leida, m);
    }
}

TEST(Regional, ElProcesoSigueALANG) {
    // The suite runs under more than one LANG: the settings the program starts with must be that locale's.
    QString lang = qEnvironmentVariable("LC_ALL");
    if (lang.isEmpty()) lang = qEnvironmentVariable("LANG");
    QString nombre = lang.section(QLatin1Char('.'), 0, 0);
    if (nombre.isEmpty() || nombre == QStringLiteral("POSIX")) nombre = QStringLiteral("C");
    EXPECT_EQ(QLocale::system().name().toStdString(), QLocale(nombre).name().toStdString()) << lang.toStdString();
    const Regional r = Regional::DelSistema();
    EXPECT_EQ(r.decimal, Regional::De(QLocale(nombre)).decimal);
    EXPECT_EQ(r.fechaCorta, Regional::De(QLocale(nombre)).fechaCorta);
}

TEST_F(Conversiones, Cp1252IdaYVuelta) {
    const QString texto = QStringLiteral("á12345678à €‰ ñÑ");
    QByteArray b = ACp1252(texto);
    EXPECT_EQ(b.size(), texto.size());
    EXPECT_EQ(static_cast<unsigned char>(b.at(0)), 0xE1);
    EXPECT_EQ(static_cast<unsigned char>(b.at(11)), 0x80);  // the euro sign
    EXPECT_EQ(DeCp1252(b), texto);
    EXPECT_EQ(ACp1252(QStringLiteral("漢")), QByteArray("?"));
    QByteArray todos;
    for (int i = 0; i < 256; ++i) todos.append(static_cast<char>(i));
    EXPECT_EQ(ACp1252(DeCp1252(todos)), todos);
}

TEST_F(Conversiones, FechaDesdeNumeroEsLaHoraDelDia) {
    // 8 March 2026 is a night when clocks change in much of America: the fraction is still the clock time.
    struct Caso {
        double numero;
        QDateTime esperado;
    };
    const Caso casos[] = {
        {46089.5, QDateTime(QDate(2026, 3, 8), QTime(12, 0))},
        {46089.0, QDateTime(QDate(2026, 3, 8), QTime(0, 0))},
        {2.25, QDateTime(QDate(1900, 1, 1), QTime(6, 0))},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Variant(c.numero).AFecha(), c.esperado) << c.numero;
        EXPECT_DOUBLE_EQ(Variant(c.esperado).ADouble(), c.numero) << c.numero;
    }
}
