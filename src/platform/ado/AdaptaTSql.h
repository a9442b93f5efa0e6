// The T-SQL translator: the system writes SQL Server text; SQLite receives the same batch as steps in its own
// dialect, with SQL Server's meaning, or the batch is refused whole before anything runs.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "Ado.h"

// One step of a translated batch.
struct PasoLote {
    enum class Clase {
        Sentencia,  // sql runs
        Si,         // sql gives one row whose first value is 1 or 0; on 0 the batch goes on at destino
        Salta,      // the batch goes on at destino
        Declara,    // variables[0] is declared, NULL until assigned
        Asigna,     // sql's last row (if any) is assigned to variables, in column order
        Opcion,     // SET XACT_ABORT or NOCOUNT (variables[0]): valor
        Tipos,      // sql reads a table's columns (PRAGMA table_info): its integer and decimal columns get their
                    // triggers again, after a column of it is dropped
    };
    Clase clase = Clase::Sentencia;
    QString sql;
    QStringList variables;
    int destino = -1;
    bool cuenta = false;      // an INSERT, UPDATE or DELETE: its rows count in RecordsAffected
    bool definicion = false;  // the schema changes
    bool valor = false;
    // A SELECT's result columns that are expressions: the type the server reports ("int", "money"), or
    // "=Columna" for the declared type of that column in one of tablas; empty for the engine's own reading.
    QStringList tiposColumnas;
    QStringList tablas;
};

struct LoteTSql {
    std::vector<PasoLote> pasos;
};

// The batch translated. Raises ErrorMotor with the server's error for an unclosed literal, name or comment,
// and with ErrorNoAdmite for a construct the embedded server does not support: nothing of the batch runs.
LoteTSql TraduceLote(const QString& texto);

// Translations kept by the shape of their text: each literal stands apart, so a statement sent again with
// other values is not translated again. Raises as TraduceLote does.
class CacheTSql {
  public:
    LoteTSql Traduce(const QString& texto);

  private:
    QHash<QString, std::shared_ptr<const LoteTSql>> lotes_;
};

// The translation of a batch as one text, its steps one a line: what a fuzzer or a reader checks. Raises as
// TraduceLote does.
QString TraduceTSql(const QString& texto);

// The statements of a batch without control flow, each rewritten for SQLite, in order; a batch with IF,
// DECLARE or variables is refused. Kept for callers that run statements themselves.
QStringList AdaptaTSql(const QString& texto);

// Session state the steps of a batch read and change: SET XACT_ABORT, SET NOCOUNT (no rows counted).
struct SesionTSql {
    bool xactAbort = false;
    bool nocount = false;
};

// Runs a translated batch through corre, which runs one SQLite text. As on the server, a statement failing
// with a constraint, truncation or duplicate error lets the rest of the batch run unless XACT_ABORT is on;
// its errors are raised when the batch ends. Any other error ends the batch.
Resultado EjecutaLote(const LoteTSql& lote, SesionTSql& sesion,
                      const std::function<Resultado(const PasoLote&, const QString&)>& corre);

// The refusal of a construct: a provider error no caller keeps silent, "El servidor embebido no admite ...".
ErrorProveedor ErrorNoAdmite(const QString& construccion);

// The table a single-table SELECT reads ("select top 1 * from AUX_ERR with(nolock)" reads AUX_ERR), without
// owner prefix or brackets; empty when the statement reads from a join, a subquery or several tables.
QString TablaBaseDe(const QString& sentencia);
