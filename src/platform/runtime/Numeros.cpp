// Numeric conversions with the platform's rules.
#include "Numeros.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "ErrorEjecucion.h"
#include "Regional.h"

namespace {
bool EsDigito(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

double RedondeaPar(double v) {
    double r = std::floor(v);
    double resto = v - r;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    return r;
}
}  // namespace

double Val(const QString& entrada) {
    QString s;
    for (QChar c : entrada)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) s += c;
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        int base = s.at(1).toUpper() == QLatin1Char('H') ? 16 : 8;
        qint64 n = 0;
        for (qsizetype i = 2; i < s.size(); ++i) {
            int d = s.at(i).isDigit() ? s.at(i).digitValue()
                    : (base == 16 && s.at(i).toUpper() >= QLatin1Char('A') && s.at(i).toUpper() <= QLatin1Char('F'))
                        ? s.at(i).toUpper().unicode() - 'A' + 10
                        : -1;
            if (d < 0 || d >= base) break;
            // More digits than 64 bits hold: the platform's overflow error, as for any number out of its range.
            if (n > (std::numeric_limits<qint64>::max() - d) / base) Lanza(Err::Desbordamiento);
            n = n * base + d;
        }
        return static_cast<double>(n);
    }
    qsizetype i = 0;
    QString num;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) num += s.at(i++);
    bool digitos = false;
    while (i < s.size() && EsDigito(s.at(i))) num += s.at(i++), digitos = true;
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        num += s.at(i++);
        while (i < s.size() && EsDigito(s.at(i))) num += s.at(i++), digitos = true;
    }
    if (!digitos) return 0.0;
    if (i < s.size() && (s.at(i).toUpper() == QLatin1Char('E') || s.at(i).toUpper() == QLatin1Char('D'))) {
        QString exp = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-'))) exp += s.at(j++);
        bool hay = false;
        while (j < s.size() && EsDigito(s.at(j))) exp += s.at(j++), hay = true;
        if (hay) num += exp;
    }
    return num.toDouble();
}

qint16 RedondeaEntero16(double valor) {
    double r = RedondeaPar(valor);
    if (std::isnan(r) || r < -32768.0 || r > 32767.0) Lanza(Err::Desbordamiento);
    return static_cast<qint16>(r);
}

qint32 RedondeaEntero32(double valor) {
    double r = RedondeaPar(valor);
    if (std::isnan(r) || r < -2147483648.0 || r > 2147483647.0) Lanza(Err::Desbordamiento);
    return static_cast<qint32>(r);
}

Moneda Moneda::DesdeDouble(double valor) {
    double escalado = RedondeaPar(valor * 10000.0);
    if (std::isnan(escalado) || std::fabs(escalado) > 9.2233720368547e18) Lanza(Err::Desbordamiento);
    return DesdeEscalado(static_cast<qint64>(escalado));
}

double TextoADouble(const QString& entrada) {
    const Regional& r = ConfiguracionRegional();
    QString s = entrada.trimmed();
    if (s.isEmpty()) Lanza(Err::TiposNoCoinciden);
    QString limpio;
    bool vistoDecimal = false, digitos = false, exponente = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        QChar c = s.at(i);
        if (EsDigito(c)) {
            limpio += c;
            digitos = true;
        } else if ((c == QLatin1Char('+') || c == QLatin1Char('-')) &&
                   (limpio.isEmpty() || limpio.endsWith(QLatin1Char('e')))) {
            limpio += c;
        } else if (c == r.decimal && !vistoDecimal && !exponente) {
            limpio += QLatin1Char('.');
            vistoDecimal = true;
        } else if (c == r.grupo && !vistoDecimal && !exponente && digitos) {
            // grouping separators are passed over
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E')) && digitos && !exponente) {
            limpio += QLatin1Char('e');
            exponente = true;
        } else {
            Lanza(Err::TiposNoCoinciden);
        }
    }
    bool ok = false;
    double v = limpio.toDouble(&ok);
    if (!ok || !digitos) Lanza(Err::TiposNoCoinciden);
    return v;
}

Moneda TextoAMoneda(const QString& s) {
    if (s.trimmed().isEmpty()) return Moneda();
    double v = TextoADouble(s);  // validates the text and handles exponents
    // Exact decimal reading where the text allows it, so that 0,00015 rounds as written.
    QString t = s.trimmed();
    const Regional& r = ConfiguracionRegional();
    if (t.contains(QLatin1Char('e'), Qt::CaseInsensitive)) return Moneda::DesdeDouble(v);
    bool negativo = t.startsWith(QLatin1Char('-'));
    QString entero, fraccion;
    bool enFraccion = false;
    for (QChar c : t) {
        if (c == r.decimal)
            enFraccion = true;
        else if (EsDigito(c))
            (enFraccion ? fraccion : entero) += c;
    }
    if (entero.size() > 14) return Moneda::DesdeDouble(v);
    qint64 escalado = entero.toLongLong() * 10000;
    QString cuatro = (fraccion + QStringLiteral("0000")).left(4);
    escalado += cuatro.toLongLong();
    QString resto = fraccion.mid(4);
    if (!resto.isEmpty()) {
        int primera = resto.at(0).digitValue();
        bool masQueMitad =
            primera > 5 || (primera == 5 && resto.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]"))));
        if (masQueMitad || (primera == 5 && !masQueMitad && escalado % 2 != 0)) ++escalado;
    }
    return Moneda::DesdeEscalado(negativo ? -escalado : escalado);
}

QString MonedaATexto(const Moneda& m) {
    qint64 v = m.Escalado();
    bool negativo = v < 0;
    quint64 a = negativo ? static_cast<quint64>(-(v + 1)) + 1 : static_cast<quint64>(v);
    QString entero = QString::number(a / 10000);
    QString dec = QStringLiteral("%1").arg(a % 10000, 4, 10, QLatin1Char('0'));
    while (dec.endsWith(QLatin1Char('0'))) dec.chop(1);
    QString t = (negativo ? QStringLiteral("-") : QString()) + entero;
    if (!dec.isEmpty()) t += ConfiguracionRegional().decimal + dec;
    return t;
}

QString DoubleATexto(double valor) {
    if (valor == 0.0) return QStringLiteral("0");
    QString t = QString::number(valor, 'g', 15);
    if (t.contains(QLatin1Char('e'))) {
        // The platform writes exponents as E+nn / E-nn.
        qsizetype p = t.indexOf(QLatin1Char('e'));
        QString mant = t.left(p), exp = t.mid(p + 1);
        QChar signo = exp.startsWith(QLatin1Char('-')) ? QLatin1Char('-') : QLatin1Char('+');
        if (exp.startsWith(QLatin1Char('-')) || exp.startsWith(QLatin1Char('+'))) exp = exp.mid(1);
        while (exp.size() < 2) exp.prepend(QLatin1Char('0'));
        t = mant + QLatin1Char('E') + signo + exp;
    }
    return t.replace(QLatin1Char('.'), ConfiguracionRegional().decimal);
}
