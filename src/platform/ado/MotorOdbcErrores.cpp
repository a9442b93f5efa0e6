// The native codes of SQL Server (as FreeTDS passes them on) and Oracle (ORA- numbers), and the SQLSTATEs of
// any driver, with the provider number each stands for.
#include "MotorOdbcErrores.h"

#include "ErrorEjecucion.h"

namespace {

const QString kTiempoAgotado = QStringLiteral("Tiempo de espera agotado");

struct FilaNativa {
    long desde;
    long hasta;
    long numero;
};

// SQL Server's messages, as SQLOLEDB reports them.
const FilaNativa kSqlServer[] = {
    {2627, 2627, Err::ViolacionIntegridad},    // primary key or unique constraint
    {2601, 2601, Err::ViolacionIntegridad},    // duplicate key in a unique index
    {547, 547, Err::ViolacionIntegridad},      // foreign key or check constraint
    {515, 515, Err::ViolacionIntegridad},      // NULL into a NOT NULL column
    {208, 208, Err::TablaNoEncontrada},        // invalid object name
    {102, 102, Err::ErrorSentencia},           // incorrect syntax near
    {156, 156, Err::ErrorSentencia},           // incorrect syntax near a keyword
    {207, 207, Err::ErrorSentencia},           // invalid column name
    {229, 229, ErrOdbc::PermisoDenegado},      // permission denied on an object
    {230, 230, ErrOdbc::PermisoDenegado},      // permission denied on a column
    {245, 245, ErrOdbc::ConversionFallida},    // conversion failed
    {8114, 8114, ErrOdbc::ConversionFallida},  // error converting data type
    {8115, 8115, ErrOdbc::Desbordamiento},     // arithmetic overflow
    {8152, 8152, ErrOdbc::Desbordamiento},     // string or binary data would be truncated
    {18456, 18456, ErrOdbc::InicioRechazado},  // login failed
    {4060, 4060, Err::ErrorNoEspecificado},    // cannot open the database of the login
    {1205, 1205, Err::ErrorNoEspecificado},    // chosen as a deadlock victim
};

// Oracle's ORA- numbers, as OraOLEDB reports them.
const FilaNativa kOracle[] = {
    {1, 1, Err::ViolacionIntegridad},          // unique constraint violated
    {1400, 1400, Err::ViolacionIntegridad},    // cannot insert NULL
    {1407, 1407, Err::ViolacionIntegridad},    // cannot update to NULL
    {2290, 2290, Err::ViolacionIntegridad},    // check constraint violated
    {2291, 2291, Err::ViolacionIntegridad},    // parent key not found
    {2292, 2292, Err::ViolacionIntegridad},    // child record found
    {942, 942, Err::TablaNoEncontrada},        // table or view does not exist
    {1013, 1013, ErrOdbc::TiempoAgotado},      // user requested cancel of current operation
    {1017, 1017, ErrOdbc::InicioRechazado},    // invalid username/password
    {1031, 1031, ErrOdbc::PermisoDenegado},    // insufficient privileges
    {1722, 1722, ErrOdbc::ConversionFallida},  // invalid number
    {1858, 1858, ErrOdbc::ConversionFallida},  // a non-numeric character where a digit was expected
    {1861, 1861, ErrOdbc::ConversionFallida},  // literal does not match format string
    {1401, 1401, ErrOdbc::Desbordamiento},     // inserted value too large for column
    {1438, 1438, ErrOdbc::Desbordamiento},     // value larger than specified precision
    {12899, 12899, ErrOdbc::Desbordamiento},   // value too large for column
    {60, 60, Err::ErrorNoEspecificado},        // deadlock detected
    {3113, 3114, Err::ErrorNoEspecificado},    // end-of-file on communication channel; not connected
    {3135, 3135, Err::ErrorNoEspecificado},    // connection lost contact
    {12170, 12170, Err::ErrorNoEspecificado},  // connect timeout
    {12514, 12514, Err::ErrorNoEspecificado},  // listener does not know the service
    {12541, 12541, Err::ErrorNoEspecificado},  // no listener
    {12543, 12543, Err::ErrorNoEspecificado},  // destination host unreachable
    {12545, 12545, Err::ErrorNoEspecificado},  // target host or object does not exist
    {900, 999, Err::ErrorSentencia},           // the parser's errors: invalid SQL, identifiers, keywords
};

struct FilaEstado {
    const char* estado;  // a whole SQLSTATE, or a class of two characters
    long numero;
};

// SQLSTATEs, whole ones before their classes. Besides ODBC's own, the states that servers reached through
// their own drivers give for the same faults: an undefined table, a statement cancelled by its time-out, the
// server gone from under the connection.
// clang-format off
const FilaEstado kEstados[] = {
    {"HYT00", ErrOdbc::TiempoAgotado},      // the statement's time-out
    {"HYT01", ErrOdbc::TiempoAgotado},      // the connection's time-out
    {"57014", ErrOdbc::TiempoAgotado},      // the statement cancelled by the server's own time-out
    {"42S02", Err::TablaNoEncontrada},      // base table or view not found
    {"42P01", Err::TablaNoEncontrada},      // undefined table
    {"42704", Err::TablaNoEncontrada},      // undefined object
    {"42501", ErrOdbc::PermisoDenegado},    // insufficient privilege
    {"22001", ErrOdbc::Desbordamiento},     // string data, right truncation
    {"22003", ErrOdbc::Desbordamiento},     // numeric value out of range
    {"22012", ErrOdbc::Desbordamiento},     // division by zero
    {"40001", Err::ErrorNoEspecificado},    // deadlock or serialization: the work can be tried again
    {"57P01", Err::ErrorNoEspecificado},    // the server shut down under the connection
    {"57P02", Err::ErrorNoEspecificado},    // the server crashed under the connection
    {"57P03", Err::ErrorNoEspecificado},    // the server is starting and takes no connections yet
    {"08", Err::ErrorNoEspecificado},       // connection exception
    {"28", ErrOdbc::InicioRechazado},       // invalid authorization
    {"23", Err::ViolacionIntegridad},       // integrity constraint violation
    {"22", ErrOdbc::ConversionFallida},     // data exception
    {"42", Err::ErrorSentencia},            // syntax error or access rule violation
    {"37", Err::ErrorSentencia},            // syntax error (ODBC 2)
};
// clang-format on

std::optional<long> BuscaNativo(FamiliaServidor familia, long nativo) {
    auto busca = [&](const auto& tabla) -> std::optional<long> {
        for (const FilaNativa& f : tabla)
            if (nativo >= f.desde && nativo <= f.hasta) return f.numero;
        return std::nullopt;
    };
    if (familia == FamiliaServidor::SqlServer) return busca(kSqlServer);
    if (familia == FamiliaServidor::Oracle) return busca(kOracle);
    return std::nullopt;
}

std::optional<long> BuscaEstado(const QString& estado) {
    for (const FilaEstado& f : kEstados)
        if (estado.size() == 5 && estado.compare(QLatin1String(f.estado), Qt::CaseInsensitive) == 0) return f.numero;
    for (const FilaEstado& f : kEstados)
        if (qstrlen(f.estado) == 2 && estado.startsWith(QLatin1String(f.estado), Qt::CaseInsensitive)) return f.numero;
    return std::nullopt;
}

NumeroOdbc Con(long numero) {
    return {numero, numero == ErrOdbc::TiempoAgotado ? kTiempoAgotado : QString()};
}

}  // namespace

NumeroOdbc NumeroDeDiagnostico(FamiliaServidor familia, const QString& estado, long nativo, bool enlacePerdido) {
    // The link first: whatever the server said last, the connection has to be opened again.
    if (enlacePerdido || estado.startsWith(QStringLiteral("08"))) return Con(Err::ErrorNoEspecificado);
    // A time-out is the driver's verdict, whatever native code came with it.
    if (estado.startsWith(QStringLiteral("HYT"), Qt::CaseInsensitive)) return Con(ErrOdbc::TiempoAgotado);
    if (const auto n = BuscaNativo(familia, nativo)) return Con(*n);
    if (const auto n = BuscaEstado(estado)) return Con(*n);
    return Con(ErrOdbc::OtrosErrores);
}

FamiliaServidor FamiliaDeServidor(const QString& nombreDbms) {
    if (nombreDbms.contains(QStringLiteral("SQL Server"), Qt::CaseInsensitive)) return FamiliaServidor::SqlServer;
    if (nombreDbms.contains(QStringLiteral("Oracle"), Qt::CaseInsensitive)) return FamiliaServidor::Oracle;
    return FamiliaServidor::Otra;
}
