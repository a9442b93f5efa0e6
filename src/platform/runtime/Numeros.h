// Numeric conversions of the platform: the number a text begins with, rounding to 16 and 32 bits with halves
// to the even neighbour, fixed-point currency with four decimals, and numbers to and from text in the locale.
#pragma once

#include <QString>
#include <QtGlobal>

// The number the text begins with: blanks, tabs and line feeds anywhere are passed over, "." is the decimal
// point, an exponent and the prefixes &H and &O are read; a text that does not begin with a number gives 0.
double Val(const QString& s);

// Rounding to the nearest integer, halves to the even neighbour; out of range raises the overflow error.
qint16 RedondeaEntero16(double valor);
qint32 RedondeaEntero32(double valor);

// A fixed-point number with four decimals, as the platform's currency type.
class Moneda {
  public:
    Moneda() = default;
    static Moneda DesdeEscalado(qint64 diezmilesimos) {
        Moneda m;
        m.valor_ = diezmilesimos;
        return m;
    }
    // Rounds to four decimals, halves to even; out of range raises the overflow error.
    static Moneda DesdeDouble(double valor);

    qint64 Escalado() const { return valor_; }
    double ADouble() const { return static_cast<double>(valor_) / 10000.0; }
    bool operator==(const Moneda& o) const = default;
    auto operator<=>(const Moneda& o) const = default;

  private:
    qint64 valor_ = 0;
};

// A text read as a number in the workstation's locale (its decimal separator; grouping separators passed over;
// a leading sign; an exponent). Raises the type-mismatch error when the text is not a number.
double TextoADouble(const QString& s);
// Text to currency in the locale; an empty or blank text gives 0; raises type mismatch otherwise.
Moneda TextoAMoneda(const QString& s);
// Currency as text: the shortest decimal form, locale decimal separator, no grouping ("1234,5").
QString MonedaATexto(const Moneda& m);
// A double as the platform writes it: up to 15 significant digits, locale decimal separator, no grouping.
QString DoubleATexto(double valor);
