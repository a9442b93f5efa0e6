// Dates and times as the platform writes and recognises them: patterns whose "/" and ":" stand for the
// workstation's separators, the short date format, and the locale-aware recognition of date texts.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// patronQt is a QDateTime format ("dd/MM/yy HH:mm"); its "/" and ":" become the workstation's separators.
QString FormateaFecha(const QDateTime& momento, const QString& patronQt);
// The workstation's short date format.
QString FechaCorta(const QDate& fecha);
// A date text recognised as the platform does: day, month and year in the order of the short date format
// with "/", "-" or "." between them, a day and month alone (this year), or year-month-day; an optional time
// after a blank. Nothing else counts.
std::optional<QDateTime> ReconoceFecha(const QString& texto, const QDate& hoy = QDate::currentDate());
bool EsFecha(const QString& texto);
