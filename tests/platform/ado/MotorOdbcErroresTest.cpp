// The provider numbers of SQL Server's and Oracle's native codes and of the drivers' SQLSTATEs, row by row; the
// exact reading and writing of decimals and money; Oracle's client character set.
#include <gtest/gtest.h>

#include "ErrorEjecucion.h"
#include "MotorOdbc.h"
#include "MotorOdbcErrores.h"
#include "Servidores.h"

namespace {

constexpr long kIntegridad = -2147217873;
constexpr long kTabla = -2147217865;
constexpr long kSentencia = -2147217900;
constexpr long kEnlace = -2147467259;
constexpr long kTiempo = -2147217871;
constexpr long kPermiso = -2147217911;
constexpr long kConversion = -2147217913;
constexpr long kDesborde = -2147217833;
constexpr long kInicio = -2147217843;
constexpr long kOtros = -2147217887;

struct Caso {
    FamiliaServidor familia;
    const char* estado;
    long nativo;
    long numero;
};

const auto S = FamiliaServidor::SqlServer;
const auto O = FamiliaServidor::Oracle;
const auto X = FamiliaServidor::Otra;

TEST(ErroresOdbc, NativosDeSqlServerPorFreeTds) {
    const Caso casos[] = {
        {S, "23000", 2627, kIntegridad}, {S, "23000", 2601, kIntegridad}, {S, "23000", 547, kIntegridad},
        {S, "23000", 515, kIntegridad},  {S, "42S02", 208, kTabla},       {S, "42000", 102, kSentencia},
        {S, "42000", 156, kSentencia},   {S, "42S22", 207, kSentencia},   {S, "42000", 229, kPermiso},
        {S, "42000", 230, kPermiso},     {S, "22018", 245, kConversion},  {S, "42000", 8114, kConversion},
        {S, "22003", 8115, kDesborde},   {S, "22001", 8152, kDesborde},   {S, "28000", 18456, kInicio},
        {S, "42000", 4060, kEnlace},     {S, "40001", 1205, kEnlace},     {S, "HYT00", 0, kTiempo},
        {S, "08S01", 20009, kEnlace},    {S, "08001", 0, kEnlace},        {S, "08S01", 20006, kEnlace},
        {S, "42000", 50000, kSentencia},  // a RAISERROR of the application
        {S, "HY000", 3621, kOtros},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(NumeroDeDiagnostico(c.familia, QString::fromLatin1(c.estado), c.nativo, false).numero, c.numero)
            << c.estado << " " << c.nativo;
}

TEST(ErroresOdbc, NativosDeOracle) {
    const Caso casos[] = {
        {O, "23000", 1, kIntegridad},    {O, "23000", 2291, kIntegridad}, {O, "23000", 2292, kIntegridad},
        {O, "23000", 1400, kIntegridad}, {O, "HY000", 1407, kIntegridad}, {O, "23000", 2290, kIntegridad},
        {O, "42S02", 942, kTabla},       {O, "42000", 900, kSentencia},   {O, "42000", 904, kSentencia},
        {O, "42000", 933, kSentencia},   {O, "42000", 936, kSentencia},   {O, "42000", 999, kSentencia},
        {O, "HY008", 1013, kTiempo},     {O, "28000", 1017, kInicio},     {O, "42000", 1031, kPermiso},
        {O, "22018", 1722, kConversion}, {O, "22008", 1861, kConversion}, {O, "22001", 12899, kDesborde},
        {O, "22003", 1438, kDesborde},   {O, "HY000", 3113, kEnlace},     {O, "HY000", 3114, kEnlace},
        {O, "HY000", 3135, kEnlace},     {O, "08001", 12541, kEnlace},    {O, "HY000", 12545, kEnlace},
        {O, "HY000", 60, kEnlace},       {O, "HY000", 1000, kOtros},      {O, "HY000", 1001, kOtros},
        {O, "HYT00", 0, kTiempo},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(NumeroDeDiagnostico(c.familia, QString::fromLatin1(c.estado), c.nativo, false).numero, c.numero)
            << c.estado << " " << c.nativo;
}

// A server of another kind is read by its SQLSTATE alone: its native codes mean nothing to these tables.
TEST(ErroresOdbc, OtrosServidoresPorSqlState) {
    const Caso casos[] = {
        {X, "23505", 1, kIntegridad}, {X, "23502", 2627, kIntegridad}, {X, "42P01", 1, kTabla},
        {X, "42S02", 942, kTabla},    {X, "42601", 1, kSentencia},     {X, "42703", 1, kSentencia},
        {X, "57014", 1, kTiempo},     {X, "HYT00", 0, kTiempo},        {X, "42501", 1, kPermiso},
        {X, "22P02", 1, kConversion}, {X, "22012", 1, kDesborde},      {X, "08001", 101, kEnlace},
        {X, "28P01", 1, kInicio},     {X, "HY000", 1, kOtros},         {X, "57P01", 35, kEnlace},
        {X, "57P03", 0, kEnlace},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(NumeroDeDiagnostico(c.familia, QString::fromLatin1(c.estado), c.nativo, false).numero, c.numero)
            << c.estado << " " << c.nativo;
}

TEST(ErroresOdbc, EnlacePerdidoManda) {
    for (const FamiliaServidor f : {S, O, X}) {
        EXPECT_EQ(NumeroDeDiagnostico(f, QStringLiteral("57P01"), 35, true).numero, kEnlace);
        EXPECT_EQ(NumeroDeDiagnostico(f, QStringLiteral("23000"), 2627, true).numero, kEnlace);
    }
    EXPECT_EQ(NumeroDeDiagnostico(S, QStringLiteral("HYT00"), 0, false).descripcion,
              QStringLiteral("Tiempo de espera agotado"));
    EXPECT_TRUE(NumeroDeDiagnostico(S, QStringLiteral("23000"), 2627, false).descripcion.isEmpty());
}

TEST(ErroresOdbc, FamiliaPorElNombreDelServidor) {
    EXPECT_EQ(FamiliaDeServidor(QStringLiteral("Microsoft SQL Server")), S);
    EXPECT_EQ(FamiliaDeServidor(QStringLiteral("Oracle")), O);
    EXPECT_EQ(FamiliaDeServidor(QStringLiteral("PostgreSQL")), X);
}

TEST(DecimalesOdbc, LeidosSinPasarPorUnDouble) {
    struct CasoLeido {
        const char* texto;
        int tipo;
        Variant esperado;
    };
    const CasoLeido casos[] = {
        {"1234.5678", ado::adCurrency, Variant(Moneda::DesdeEscalado(12345678))},
        {"922337203685477.5807", ado::adCurrency, Variant(Moneda::DesdeEscalado(INT64_MAX))},
        {"-922337203685477.5807", ado::adCurrency, Variant(Moneda::DesdeEscalado(-INT64_MAX))},
        {"0.00005", ado::adCurrency, Variant(Moneda::DesdeEscalado(0))},  // half to even
        {"0.00015", ado::adCurrency, Variant(Moneda::DesdeEscalado(2))},
        {"-5.5000", ado::adCurrency, Variant(Moneda::DesdeEscalado(-55000))},
        {"10.50", ado::adNumeric, Variant(10.5)},
        {"-0.000", ado::adNumeric, Variant(0.0)},
        {"123456789012345", ado::adNumeric, Variant(123456789012345.0)},
        {"12345678901234567890.12345678", ado::adNumeric, Variant("12345678901234567890.12345678")},
        {"9007199254740993", ado::adNumeric, Variant("9007199254740993")},
        {"1234,5", ado::adNumeric, Variant(1234.5)},
    };
    for (const CasoLeido& c : casos) {
        const Variant v = ValorDecimalOdbc(QString::fromLatin1(c.texto), c.tipo);
        EXPECT_EQ(v.Tipo(), c.esperado.Tipo()) << c.texto;
        EXPECT_EQ(v, c.esperado) << c.texto;
    }
}

TEST(DecimalesOdbc, EscritosComoTextoExacto) {
    struct CasoEscrito {
        Variant valor;
        const char* texto;
    };
    const CasoEscrito casos[] = {
        {Variant(Moneda::DesdeEscalado(12345678)), "1234.5678"},
        {Variant(Moneda::DesdeEscalado(-1)), "-0.0001"},
        {Variant(Moneda::DesdeEscalado(INT64_MIN)), "-922337203685477.5808"},
        {Variant(0.1), "0.1"},
        {Variant(1234.5678), "1234.5678"},
        {Variant(1e20), "100000000000000000000"},
        {Variant(qint32(-42)), "-42"},
        {Variant("12345678901234567890.12345678"), "12345678901234567890.12345678"},
        {Variant("007.50"), "7.5"},
    };
    for (const CasoEscrito& c : casos) EXPECT_EQ(TextoDecimalOdbc(c.valor), QString::fromLatin1(c.texto)) << c.texto;
}

TEST(ClienteOracle, JuegoDeCaracteresUnicode) {
    const std::pair<const char*, const char*> casos[] = {
        {"", ".AL32UTF8"},
        {"SPANISH_ARGENTINA.WE8ISO8859P1", "SPANISH_ARGENTINA.AL32UTF8"},
        {"AMERICAN_AMERICA.US7ASCII", "AMERICAN_AMERICA.AL32UTF8"},
        {"SPANISH_SPAIN", "SPANISH_SPAIN.AL32UTF8"},
        {".WE8MSWIN1252", ".AL32UTF8"},
    };
    for (const auto& [antes, despues] : casos)
        EXPECT_EQ(NlsLangUnicode(QString::fromLatin1(antes)), QString::fromLatin1(despues)) << antes;
}

}  // namespace
