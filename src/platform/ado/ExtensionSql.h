// Registers the collation SQLSERVER and the functions LEN, CHARINDEX and GETDATE on an embedded connection;
// the same code is the loadable extension libpavenko_sqlext.so for connections through the SQLite ODBC driver.
#pragma once

struct sqlite3;

int RegistraExtensionSql(sqlite3* db);
