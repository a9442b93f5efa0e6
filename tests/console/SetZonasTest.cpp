// The invoice design: the 68 calls in order, read off the design's own tables, and where a refusal stops it.
#include <QRegularExpression>

#include "Esperados.h"
#include "SetZonas.h"
#include "Soporte.h"

namespace {
// The zones as the design lists them: zone, A, B, C, D.
const char* const kTablaZonas = R"(
| 10 | 43 | 4 | 44 | 4 |
| 22 | 1 | 4 | 40 | 4 |
| 24 | 1 | 5 | 40 | 7 |
| 26 | 1 | 9 | 40 | 14 |
| 34 | 49 | 5 | 87 | 7 |
| 36 | 45 | 9 | 87 | 14 |
| 42 | 1 | 16 | 40 | 20 |
| 44 | 1 | 21 | 40 | 22 |
| 52 | 45 | 16 | 87 | 20 |
| 54 | 45 | 21 | 87 | 22 |
| 60 | 1 | 23 | 87 | 42 |
| 61 | 1 | 23 | 12 | 42 |
| 62 | 14 | 23 | 34 | 42 |
| 63 | 36 | 23 | 48 | 42 |
| 64 | 50 | 23 | 59 | 42 |
| 65 | 61 | 23 | 70 | 42 |
| 66 | 72 | 23 | 87 | 42 |
| 70 | 1 | 23 | 87 | 42 |
| 81 | 33 | 23 | 41 | 49 |
| 82 | 43 | 23 | 54 | 49 |
| 83 | 33 | 23 | 41 | 49 |
| 84 | 43 | 23 | 54 | 49 |
| 85 | 56 | 23 | 62 | 49 |
| 86 | 64 | 23 | 75 | 49 |
| 90 | 1 | 23 | 87 | 49 |
| 91 | 1 | 23 | 10 | 49 |
| 92 | 12 | 23 | 17 | 49 |
| 93 | 19 | 23 | 31 | 49 |
| 94 | 33 | 23 | 54 | 49 |
| 95 | 56 | 23 | 75 | 49 |
| 97 | 77 | 23 | 87 | 49 |
| 100 | 1 | 50 | 87 | 50 |
| 101 | 1 | 50 | 55 | 50 |
| 102 | 56 | 50 | 87 | 50 |
| 110 | 1 | 51 | 87 | 55 |
| 111 | 1 | 51 | 39 | 55 |
| 112 | 41 | 51 | 87 | 55 |
| 120 | 1 | 56 | 87 | 58 |
| 142 | 1 | 59 | 40 | 63 |
| 144 | 45 | 59 | 87 | 63 |
)";

// The header and trailer lines as the design lists them; DEL is the character U+007F.
const char* const kTablaLineas = R"(
| 1, 2, 3, 4, 5 | DEL |
| 11 | "Gracias por su compra" |
| 12, 13, 14 | DEL |
| 50 | "Dato fijo" |
| 51 | "Capital Federal" |
| 52 | DEL |
| 53 | "Belgrano 951" |
| 54 | "Capital Federal" |
| 55 | DEL |
| 57 | "Ingresos Brutos" |
| 58, 59, 60, 61 | DEL |
| 62 | "Inicio de actividades 01/01/2000" |
| 63, 64, 65 | DEL |
)";

QStringList Celdas(const QString& fila) {
    QStringList c = fila.split(QLatin1Char('|'));
    c.removeFirst();
    c.removeLast();
    for (QString& s : c) s = s.trimmed();
    return c;
}

ControlGrabador::Llamada Zona(const QStringList& c) {
    QList<Variant> a;
    for (const QString& n : c) a << Variant(static_cast<qint16>(n.toInt()));
    return {QStringLiteral("SetZona"), a};
}
}  // namespace

QList<Variant> Textos(std::initializer_list<const char*> textos) {
    QList<Variant> a;
    for (const char* t : textos) a << Variant(QString::fromUtf8(t));
    return a;
}

std::vector<ControlGrabador::Llamada> LlamadasDisenoFactura() {
    std::vector<ControlGrabador::Llamada> r;
    r.push_back({QStringLiteral("FormatoHoja"), {Variant(qint16(90)), Variant(qint16(72))}});
    r.push_back({QStringLiteral("SeteaDiseno"), Textos({"P", "D", "M", "F", "A", "N"})});
    r.push_back({QStringLiteral("SeteaDiseno"), Textos({"P", "P", "R", "S", "U", "90", "72"})});
    for (const QString& fila : QString::fromUtf8(kTablaZonas).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList c = Celdas(fila);
        if (c[0].toInt() == 70) r.push_back({QStringLiteral("SeteaDiseno"), Textos({"P", "C", "O", "901", "0", "20"})});
        r.push_back(Zona(c));
    }
    for (const QString& fila : QString::fromUtf8(kTablaLineas).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList c = Celdas(fila);
        const QString texto = c[1] == QLatin1String("DEL") ? QString(QChar(0x7F)) : c[1].mid(1, c[1].size() - 2);
        for (const QString& n : c[0].split(QStringLiteral(", ")))
            r.push_back({QStringLiteral("HeaderTrailer"), {QStringLiteral("S"), Variant(qint16(n.toInt())), texto}});
    }
    return r;
}

class SetZonasTest : public ConEntorno {
  protected:
    ControlGrabador control;
};

TEST_F(SetZonasTest, TodoAceptadoHaceLas68LlamadasEnOrden) {
    const auto esperadas = LlamadasDisenoFactura();
    ASSERT_EQ(esperadas.size(), 68u);
    EXPECT_TRUE(SetZonas(control));
    // Integers go as 16-bit integers: a call with any other kind of number compares unequal.
    EXPECT_EQ(control.llamadas, esperadas);

    std::map<QString, int> porMetodo;
    for (const auto& l : control.llamadas) ++porMetodo[l.metodo];
    EXPECT_EQ(porMetodo,
              (std::map<QString, int>{{"FormatoHoja", 1}, {"SeteaDiseno", 3}, {"SetZona", 40}, {"HeaderTrailer", 24}}));
}

TEST_F(SetZonasTest, UnRechazoDetieneElDisenoAhi) {
    const auto esperadas = LlamadasDisenoFactura();
    struct Caso {
        int k;
        const char* donde;
        int zonasDefinidas;
    };
    const Caso casos[] = {
        {2, "primer SeteaDiseno", 0}, {4, "primera zona", 0},   {10, "zona 42", 6},
        {22, "zona 70", 17},          {68, "ultima linea", 40},
    };
    for (const Caso& c : casos) {
        control.Reinicia(c.k);
        EXPECT_FALSE(SetZonas(control)) << c.donde;
        ASSERT_EQ(control.llamadas.size(), static_cast<size_t>(c.k)) << c.donde;
        EXPECT_TRUE(std::equal(control.llamadas.begin(), control.llamadas.end(), esperadas.begin())) << c.donde;
        const auto zonas = std::count_if(control.llamadas.begin(), control.llamadas.end() - 1,
                                         [](const auto& l) { return l.metodo == QLatin1String("SetZona"); });
        EXPECT_EQ(zonas, c.zonasDefinidas) << c.donde;
    }
}
