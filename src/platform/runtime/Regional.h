// The workstation's regional settings that conversions read: decimal and grouping separators, the short date
// format and the date and time separators. Taken from the system locale at start; tests set their own.
#pragma once

#include <QChar>
#include <QString>

struct Regional {
    QChar decimal = QLatin1Char(',');
    QChar grupo = QLatin1Char('.');
    QString fechaCorta = QStringLiteral("dd/MM/yyyy");  // a QDate format
    QChar separadorFecha = QLatin1Char('/');
    QChar separadorHora = QLatin1Char(':');

    static Regional DelSistema();
};

// The settings in force for the whole program.
Regional& ConfiguracionRegional();
