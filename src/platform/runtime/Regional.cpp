// Regional settings, read once from the system locale.
#include "Regional.h"

#include <QLocale>

namespace {
// A separator must stand between digits and be read back: no letter, digit, blank or quote.
bool EsSeparadorUtil(QChar c) {
    return !c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\'');
}

// The first character of a format that is not part of a field; null when it is not a usable separator.
QChar SeparadorDe(const QString& formato) {
    for (QChar c : formato)
        if (!c.isLetter()) return EsSeparadorUtil(c) ? c : QChar();
    return QChar();
}

// A short date format the program can write and read back: day, month and year as numbers.
bool EsFechaNumerica(const QString& formato) {
    return formato.contains(QLatin1Char('d')) && formato.contains(QLatin1Char('M')) &&
           formato.contains(QLatin1Char('y')) && !formato.contains(QStringLiteral("MMM"));
}
}  // namespace

Regional Regional::De(const QLocale& l) {
    Regional r;
    r.decimal = l.decimalPoint().isEmpty() ? QLatin1Char('.') : l.decimalPoint().at(0);
    r.grupo = l.groupSeparator().isEmpty() ? QLatin1Char(',') : l.groupSeparator().at(0);
    r.fechaCorta = l.dateFormat(QLocale::ShortFormat);
    const QChar fecha = SeparadorDe(r.fechaCorta);
    const QChar hora = SeparadorDe(l.timeFormat(QLocale::ShortFormat));
    r.separadorFecha = fecha.isNull() ? QLatin1Char('/') : fecha;
    r.separadorHora = hora.isNull() ? QLatin1Char(':') : hora;
    if (fecha.isNull() || !EsFechaNumerica(r.fechaCorta)) r.fechaCorta = QStringLiteral("MM/dd/yy");
    return r;
}

Regional Regional::DelSistema() {
    return De(QLocale::system());
}

Regional& ConfiguracionRegional() {
    static Regional r = Regional::DelSistema();
    return r;
}
