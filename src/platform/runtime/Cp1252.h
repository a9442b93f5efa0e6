// Windows-1252, the ANSI code page of the fixed-width files (Printers.Fis, consultas.tkw, the logs).
// Text is UTF-16 inside the program; these two conversions are used only where bytes meet a file.
#pragma once

#include <QByteArray>
#include <QString>

// Characters without a Windows-1252 byte become "?".
QByteArray ACp1252(const QString& texto);
QString DeCp1252(const QByteArray& bytes);
