// SQLite's failures as the errors SQL Server gives for the same fault: native number, SQL state and provider
// number, so that the error rules written for the server hold on a SQLite file, embedded or through ODBC.
#pragma once

#include <QList>
#include <QString>

#include "Ado.h"

namespace Origen {
inline const QString SqlServer = QStringLiteral("Microsoft OLE DB Provider for SQL Server");
inline const QString Odbc = QStringLiteral("Microsoft OLE DB Provider for ODBC Drivers");
inline const QString Jet = QStringLiteral("Microsoft JET Database Engine");
}  // namespace Origen

// The provider errors for one SQLite failure: its primary result code (or -1 when only the text is known, as
// through ODBC) and its message. Constraint failures carry the server's second error, "The statement has
// been terminated.".
QList<ErrorProveedor> ErroresDeSqlite(int codigo, const QString& mensaje, const QString& origen);

// The server refusing a database that does not exist (native 4060).
ErrorProveedor ErrorBaseDesconocida(const QString& base, const QString& origen);
