// Regional settings, read once from the system locale.
#include "Regional.h"

#include <QLocale>

Regional Regional::DelSistema() {
    QLocale l = QLocale::system();
    Regional r;
    r.decimal = l.decimalPoint().isEmpty() ? QLatin1Char('.') : l.decimalPoint().at(0);
    r.grupo = l.groupSeparator().isEmpty() ? QLatin1Char(',') : l.groupSeparator().at(0);
    r.fechaCorta = l.dateFormat(QLocale::ShortFormat);
    // The separators are the first non-letter characters of the short formats.
    for (QChar c : r.fechaCorta)
        if (!c.isLetter()) {
            r.separadorFecha = c;
            break;
        }
    for (QChar c : l.timeFormat(QLocale::ShortFormat))
        if (!c.isLetter()) {
            r.separadorHora = c;
            break;
        }
    return r;
}

Regional& ConfiguracionRegional() {
    static Regional r = Regional::DelSistema();
    return r;
}
