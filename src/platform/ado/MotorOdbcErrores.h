// The provider numbers of the ODBC engine's errors: what SQL Server's and Oracle's OLE DB providers report for a
// native error, and, for the rest, what the driver's SQLSTATE stands for; the reconnection and the silence rules
// of the database object read these numbers.
#pragma once

#include <QString>

// The kind of server behind a driver, which decides how its native codes read.
enum class FamiliaServidor { SqlServer, Oracle, Otra };

namespace ErrOdbc {
constexpr long TiempoAgotado = -2147217871;      // 0x80040E31
constexpr long PermisoDenegado = -2147217911;    // 0x80040E09
constexpr long ConversionFallida = -2147217913;  // 0x80040E07
constexpr long Desbordamiento = -2147217833;     // 0x80040E57
constexpr long InicioRechazado = -2147217843;    // 0x80040E4D
constexpr long OtrosErrores = -2147217887;       // 0x80040E21
}  // namespace ErrOdbc

struct NumeroOdbc {
    long numero;
    QString descripcion;  // replaces the driver's text when not empty
};

// The provider number of one diagnostic record: the native code first (SQL Server or Oracle), then the
// SQLSTATE. A lost link (SQLSTATE class 08, or the driver reporting the connection dead) is 0x80004005, the
// number that makes a record-set open reconnect.
NumeroOdbc NumeroDeDiagnostico(FamiliaServidor familia, const QString& estado, long nativo, bool enlacePerdido);

// The family of a server from the name its driver reports (SQL_DBMS_NAME).
FamiliaServidor FamiliaDeServidor(const QString& nombreDbms);
