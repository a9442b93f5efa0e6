// The platform's VARIANT: Empty, Null, Boolean, 16- and 32-bit integers, Double, Currency, Date and text, with
// the conversions the system relies on. Type codes are the platform's VarType numbers.
#pragma once

#include <QDateTime>
#include <QString>
#include <variant>

#include "Numeros.h"

enum class TipoVariant : int {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Boolean = 11,
};

class Variant {
  public:
    Variant() = default;  // Empty
    Variant(bool v) : valor_(v) {}
    Variant(qint16 v) : valor_(v) {}
    Variant(qint32 v) : valor_(v) {}
    Variant(double v) : valor_(v) {}
    Variant(Moneda v) : valor_(v) {}
    Variant(const QDateTime& v) : valor_(v) {}
    Variant(const QString& v) : valor_(v) {}
    Variant(const char* v) : valor_(QString::fromUtf8(v)) {}
    static Variant Null();

    TipoVariant Tipo() const;
    bool EsNull() const { return Tipo() == TipoVariant::Null; }
    bool EsEmpty() const { return Tipo() == TipoVariant::Empty; }
    bool EsNumerico() const;  // a number, or a text that reads as one in the locale

    // Conversions. Null raises "invalid use of Null" (94); a text that is not of the target kind raises 13.
    QString ATexto() const;  // Empty gives "", booleans "Verdadero"/"Falso", numbers in the locale
    double ADouble() const;  // Empty gives 0; booleans -1 and 0
    qint16 AEntero() const;  // rounded, halves to even; overflow 6
    qint32 ALargo() const;
    Moneda AMoneda() const;
    bool ABooleano() const;  // non-zero numbers are true; texts "Verdadero"/"Falso"/"True"/"False" or numbers
    QDateTime AFecha() const;

    bool operator==(const Variant& o) const { return valor_ == o.valor_; }

  private:
    struct Nulo {
        bool operator==(const Nulo&) const = default;
    };
    std::variant<std::monostate, Nulo, bool, qint16, qint32, double, Moneda, QDateTime, QString> valor_;
};
