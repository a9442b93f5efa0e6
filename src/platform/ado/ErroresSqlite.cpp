// The mapping from SQLite's failures to SQL Server's errors: one table row per failure the system's rules read.
#include "ErroresSqlite.h"

#include <sqlite3.h>
#include <QRegularExpression>

#include "ErrorEjecucion.h"

namespace {

struct Equivalencia {
    const char* patron;  // SQLite's message, as a regular expression; its first group names the object
    int codigo;          // SQLite's primary result code that alone identifies the failure, 0 when none
    long nativo;
    long numero;
    const char* estado;
    const char* texto;  // the server's message; %1 is the object named by SQLite
};

const Equivalencia kEquivalencias[] = {
    {"UNIQUE constraint failed: ([^.,\\s]+)", 0, 2627, Err::ViolacionIntegridad, "23000",
     "Violation of PRIMARY KEY or UNIQUE KEY constraint. Cannot insert duplicate key in object 'dbo.%1'."},
    {"FOREIGN KEY constraint failed()", 0, 547, Err::ViolacionIntegridad, "23000",
     "The statement conflicted with a FOREIGN KEY constraint.%1"},
    {"CHECK constraint failed: ?(\\S*)", 0, 547, Err::ViolacionIntegridad, "23000",
     "The statement conflicted with the CHECK constraint '%1'."},
    {"NOT NULL constraint failed: ([^\\s]+)", 0, 515, Err::ViolacionIntegridad, "23000",
     "Cannot insert the value NULL into column '%1'; column does not allow nulls. The statement fails."},
    {"no such table: (\\S+)", 0, 208, Err::TablaNoEncontrada, "42S02", "Invalid object name '%1'."},
    {"no such column: (\\S+)", 0, 207, Err::ErrorSentencia, "42S22", "Invalid column name '%1'."},
    {"has no column named (\\S+)", 0, 207, Err::ErrorSentencia, "42S22", "Invalid column name '%1'."},
    {"ambiguous column name: (\\S+)", 0, 209, Err::ErrorSentencia, "42000", "Ambiguous column name '%1'."},
    {"no such function: (\\S+)", 0, 195, Err::ErrorSentencia, "42000",
     "'%1' is not a recognized built-in function name."},
    {"(?:table|view|index) (\\S+) already exists", 0, 2714, Err::ErrorSentencia, "42S01",
     "There is already an object named '%1' in the database."},
    {"duplicate column name: (\\S+)", 0, 2705, Err::ErrorSentencia, "42S21",
     "Column names in each table must be unique. Column name '%1' is specified more than once."},
    {"(attempt to write a readonly database)", SQLITE_READONLY, 3906, Err::ErrorSentencia, "42000",
     "Failed to update database because the database is read-only."},
    {"cannot commit - (no transaction is active)", 0, 3902, Err::ErrorSentencia, "25000",
     "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."},
    {"cannot rollback - (no transaction is active)", 0, 3903, Err::ErrorSentencia, "25000",
     "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."},
    // The translator has read the statement as T-SQL, so what SQLite's parser still refuses is a construct the
    // embedded server does not know: said aloud, since the server's own number for a syntax error is one that
    // the program keeps silent and the statement would be lost without a word.
    {"near \"(.*)\": syntax error", 0, 102, -2147217837, "42000",
     "El servidor embebido no admite la sintaxis cerca de '%1'."},
    {"unknown join type: (.*)", 0, 102, -2147217837, "42000", "El servidor embebido no admite la combinación %1."},
    {"(incomplete input|unrecognized token.*)", 0, 102, Err::ErrorSentencia, "42000", "Incorrect syntax near '%1'."},
    {"(database (table )?is locked)", SQLITE_BUSY, 1222, Err::ErrorSentencia, "HYT00",
     "Lock request time out period exceeded."},
    {"(database table is locked)", SQLITE_LOCKED, 1222, Err::ErrorSentencia, "HYT00",
     "Lock request time out period exceeded."},
};

}  // namespace

// The server's errors the extension's functions raise: "#245# Conversion failed ...", and the refusal of a
// construct, with the provider numbers the server's provider gives them.
struct ErrorDelServidor {
    long nativo;
    long numero;
    const char* estado;
};
const ErrorDelServidor kDelServidor[] = {
    {245, -2147217913, "22018"},  // conversion of a text to a number
    {241, -2147217913, "22007"},  // conversion of a text to a date
    {8114, -2147217913, "22018"}, {8115, -2147217900, "22003"}, {517, -2147217900, "22008"},
    {8117, -2147217900, "42000"}, {155, -2147217900, "42000"},  {536, -2147217900, "42000"},
    {537, -2147217900, "42000"},
};

QList<ErrorProveedor> ErroresDeSqlite(int codigo, const QString& mensaje, const QString& origen) {
    if (const qsizetype i = mensaje.indexOf(u"El servidor embebido no admite"); i >= 0)
        return {{-2147217837, mensaje.mid(i).section(QStringLiteral(" ("), 0, 0), origen, QStringLiteral("HYC00"), 0}};
    static const QRegularExpression delServidor(QStringLiteral("#(\\d+)# (.*?)(?: \\(\\d+\\))?$"),
                                                QRegularExpression::DotMatchesEverythingOption);
    if (const QRegularExpressionMatch m = delServidor.match(mensaje); m.hasMatch()) {
        const long nativo = m.captured(1).toLong();
        for (const ErrorDelServidor& e : kDelServidor)
            if (e.nativo == nativo) {
                QString texto = m.captured(2);
                if (nativo == 245) texto += QStringLiteral(" to data type int.");
                return {{e.numero, texto, origen, QString::fromLatin1(e.estado), nativo}};
            }
        return {{Err::ErrorSentencia, m.captured(2), origen, QStringLiteral("42000"), nativo}};
    }
    // The declared length of a text column, checked by the constraint the translator writes.
    if (mensaje.contains(u"constraint failed: tsql_8152"))
        return {
            {-2147217833, QStringLiteral("String or binary data would be truncated."), origen, QStringLiteral("22001"),
             8152},
            {-2147217833, QStringLiteral("The statement has been terminated."), origen, QStringLiteral("01000"), 3621}};
    for (const Equivalencia& e : kEquivalencias) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString::fromLatin1(e.patron), QRegularExpression::CaseInsensitiveOption).match(mensaje);
        if (!m.hasMatch() && !(e.codigo != 0 && e.codigo == codigo)) continue;
        QString objeto = m.captured(1);
        QString texto = QString::fromLatin1(e.texto);
        texto.replace(QStringLiteral("%1"), objeto);
        ErrorProveedor error{e.numero, texto, origen, QString::fromLatin1(e.estado), e.nativo};
        QList<ErrorProveedor> errores{error};
        if (e.nativo == 2627 || e.nativo == 547 || e.nativo == 515)
            errores.push_back({e.numero, QStringLiteral("The statement has been terminated."), origen,
                               QStringLiteral("01000"), 3621});
        return errores;
    }
    return {{Err::ErrorNoEspecificado, mensaje, origen, QStringLiteral("HY000"), codigo < 0 ? 1 : codigo}};
}

ErrorProveedor ErrorBaseDesconocida(const QString& base, const QString& origen) {
    return {Err::ErrorNoEspecificado,
            QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(base), origen,
            QStringLiteral("42000"), 4060};
}
