// The session description handed between the suite's programs as one line of "@key=value;" items: where the text
// comes from, how one key's value is extracted, the Oracle marker, the server name clean-up, and the two
// per-workstation values of CN000pr.INI.
#pragma once

#include <QString>

// The parameter text: the argument, else the command line; when that is blank and usaIni, composed from the
// workstation's database section of CN000pr.INI.
QString EligeParametros(bool usaIni, const QString& parametros);
QString ParametrosDesdeIni();

// The value of the first occurrence of clave (ignoring case) as a whole key, that is followed by optional blanks
// and "=", up to the next ";", without "=" and trimmed; the default when the key is absent. A value with no ";" after
// it raises the invalid-argument error, except for
// "@ParametroAdicional", whose trailing value runs to the end of the text.
QString ExtraeParametro(const QString& texto, const QString& clave, const QString& predeterminado);

// What follows the first "/", then what precedes the first ":".
QString LimpiaServidor(const QString& servidor);

QString CadenaOracle(const QString& base, const QString& usuario, const QString& clave);

// Upper-case computer name "|" upper-case user name, cut to 50 characters when longer (trimmed).
QString ClavePuesto();
// The section of the database connection: the uncut key followed by "BaseDeDatos".
QString SeccionBaseDeDatos();
// "FlatToolbars" of the workstation's section, default 1.
double LeeFlatToolbars(const QString& clavePuesto);

inline const QString kArchivoIni = QStringLiteral("CN000pr.INI");
