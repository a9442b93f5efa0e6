// The workstation's regional settings that conversions read: decimal and grouping separators, the short date
// format and the date and time separators. Taken from the system locale at start; tests set their own.
#pragma once

#include <QChar>
#include <QString>

class QLocale;

struct Regional {
    QChar decimal = QLatin1Char(',');
    QChar grupo = QLatin1Char('.');
    QString fechaCorta = QStringLiteral("dd/MM/yyyy");  // a QDate format
    QChar separadorFecha = QLatin1Char('/');
    QChar separadorHora = QLatin1Char(':');

    // The settings a locale gives. Where it has no usable date or time separator (the C locale writes
    // "d MMM yyyy", fr_CA "HH 'h' mm") the C library's convention holds: "/", ":" and a short date of
    // "MM/dd/yy".
    static Regional De(const QLocale& locale);
    static Regional DelSistema();
};

// The settings in force for the whole program.
Regional& ConfiguracionRegional();
