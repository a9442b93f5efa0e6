// The column widths file of the list lookup window, CONSULTASLEN.TKW: one line per table, "TABLA","1815|2400|",
// rewritten whole through CONSULTASLEN.AUX. Kept apart from the window so that the file can be tested alone.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The widths file in carpeta (the program's folder, with its trailing separator).
QString RutaAnchos(const QString& carpeta);

// The width texts (each the text before one "|") of every line of tabla, in file order; a later line is applied
// after an earlier one. A damaged line ends the reading there: the lines before it are returned, none after.
QList<QStringList> LeeAnchos(const QString& carpeta, const QString& tabla);

// Rewrites the widths file with the other tables' lines, as they were, and one line of tabla with anchos (twips).
// A damaged line is dropped. A failure raises the run-time error, keeps the old file and removes the temporary one.
void GrabaAnchos(const QString& carpeta, const QString& tabla, const QList<double>& anchos);
