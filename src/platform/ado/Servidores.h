// Where a connection string leads. SQL Server and Oracle connections name a server that Servidores.ini, in the
// program folder, resolves to a folder of SQLite files or to an ODBC connection string; Jet connections name a
// file that SQLite opens.
#pragma once

#include <QMap>
#include <QString>

struct Destino {
    enum class Motor { Sqlite, Odbc };
    enum class Dialecto { SqlServer, Oracle, Access, Odbc };
    Motor motor = Motor::Sqlite;
    Dialecto dialecto = Dialecto::SqlServer;
    QString servidor;
    QString base;
    QString usuario;
    QString clave;
    QString carpeta;     // SQLite server: the folder whose <base>.db files are its databases
    QString archivo;     // Jet: the file named by "Data Source"
    QString cadenaOdbc;  // ODBC: the string handed to the driver manager
    QString origen;      // the Source of this provider's errors
};

// The pairs of a connection string, keys trimmed and in lower case ("Database " reads as "database"), values
// trimmed and without surrounding quotes.
QMap<QString, QString> LeeCadena(const QString& cadena);

// Resolves a connection string. An unknown provider raises 3706 through the provider errors.
Destino ResuelveDestino(const QString& cadena);

// The connection string as the connection reports it, naming the database in use; opening it again leads to
// the same place.
QString CadenaDeInforme(const Destino& destino, const QString& baseActual);

// NLS_LANG with its character set made Unicode (AL32UTF8), its language and territory kept: Oracle's client
// converts every text with it.
QString NlsLangUnicode(const QString& actual);
