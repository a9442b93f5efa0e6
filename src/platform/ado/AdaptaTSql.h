// The T-SQL adapter: the system writes SQL Server text; SQLite receives the same statements in its own dialect.
// A batch without semicolons is split into its statements; literals and [bracketed] names are never touched.
#pragma once

#include <QString>
#include <QStringList>

// The statements of a batch, each rewritten for SQLite, in order; blank statements are dropped.
QStringList AdaptaTSql(const QString& texto);

// The table a single-table SELECT reads ("select top 1 * from AUX_ERR with(nolock)" reads AUX_ERR), without
// owner prefix or brackets; empty when the statement reads from a join, a subquery or several tables.
QString TablaBaseDe(const QString& sentencia);
