// The Oracle dialect: the synonym redirection for operators who are not administrators, the rewriting of one
// SQL Server statement into Oracle syntax, and the executor that runs a SQL Server script statement by statement.
// All of it works on fixed text patterns, ignoring letter case, without parsing SQL.
#include "DB_Dll.h"
#include "Fechas.h"
#include "Proceso.h"
#include "Texto.h"

namespace {
struct Sinonimo {
    const char* objeto;
    const char* sinonimo;
};
// In order of application.
const Sinonimo kSinonimos[] = {
    {"MA_CUENTAS", "SS_MA_CUENTAS"},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS"},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS"},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"},
};

struct Contexto {
    const char* antes;
    const char* despues;
};
// The places where a name stands for the object, in order; "MA_CUENTAS" also inside "{...}." (the last row).
const Contexto kContextos[] = {{" ", " "}, {"(", " "}, {" ", "."}, {"(", "."}, {",", "."}, {"{", "."}};

// The words that open a statement of a script, in order.
const char* const kClaves[] = {"INSERT ",         "DELETE ", "UPDATE ",  "CREATE ",      "DROP ",    "ALTER ",
                               "SET TRANSACTION", "COMMIT",  "ROLLBACK", "IF NOT EXIST", "IF EXIST", "GRANT "};

// The first position at or after inicio where any keyword occurs; 0 when none does.
int PrimeraClave(const QString& texto, int inicio) {
    int primera = 0;
    for (const char* clave : kClaves) {
        int p = Instr(texto, QLatin1String(clave), inicio);
        if (p > 0 && (primera == 0 || p < primera)) primera = p;
    }
    return primera;
}

QString Q(const char* texto) {
    return QString::fromLatin1(texto);
}
}  // namespace

QString DB_Dll::SS_TSinonimos(const QString& SQL) {
    // 1. A copy.
    QString texto = SQL;
    // 2. An administrator reads the real tables; 3. so does a text on the journal without confidentiality.
    const bool redirige = !gEsAdmin && !(Contiene(texto, QStringLiteral("MV_ASIENTOS")) &&
                                         !(LeeConfidencialidad && LeeConfidencialidad()));
    // 4. The synonyms, each in its contexts.
    if (redirige) {
        for (int fila = 0; fila < int(std::size(kSinonimos)); ++fila) {
            if (fila == 1 && ProgramasConDepositoReal.contains(proceso().NombreEjecutable(), Qt::CaseInsensitive))
                continue;
            const int contextos = fila == 0 ? 6 : 5;
            for (int c = 0; c < contextos; ++c) {
                const QString antes = Q(kContextos[c].antes), despues = Q(kContextos[c].despues);
                texto = Reemplaza(texto, antes + Q(kSinonimos[fila].objeto) + despues,
                                  antes + Q(kSinonimos[fila].sinonimo) + despues);
            }
        }
    }
    // 5. The markers go: a marked name keeps the real table.
    return Reemplaza(texto, QStringLiteral("@Admin_"), QString());
}

QString DB_Dll::ORACLE_Dicc(const QString& Valor) {
    // 1. Only for Oracle connections.
    QString r = Valor;
    if (!Contiene(gConnString, QStringLiteral("ORACLE"))) return r;
    // 2. A single word: only the length function has another name.
    if (CuentaPalabras(Valor) <= 1) {
        if (IgualesTexto(Valor, QStringLiteral("LEN"))) r = QStringLiteral("LENGTH");
        return r;
    }
    // 4. Row limit: "TOP n" becomes a ROWNUM condition placed before the grouping or the ordering.
    if (Contiene(r, QStringLiteral("top "))) {
        const int top = Instr(r, QStringLiteral("top"));
        const QString cabeza = Izquierda(r, top - 1);
        const QString t = Recorta(Medio(r, top + 3));
        const int blanco = Instr(t, QStringLiteral(" "));
        const QString cuenta = Izquierda(t, blanco - 1);  // no blank after the count: invalid argument
        QString cuerpo = Medio(t, blanco + 1);
        QString grupo, orden;
        if (Contiene(r, QStringLiteral(" GROUP BY ")))
            grupo = Medio(r, Instr(r, QStringLiteral(" GROUP BY ")));
        else if (Contiene(r, QStringLiteral("ORDER BY ")))
            orden = Medio(r, Instr(r, QStringLiteral("ORDER BY ")));
        const QString limite = Contiene(r, QStringLiteral(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ") + cuenta
                                                                      : QStringLiteral(" WHERE ROWNUM <= ") + cuenta;
        if (!Recorta(grupo).isEmpty()) cuerpo = Reemplaza(cuerpo, Recorta(grupo), QStringLiteral(" "));
        if (!Recorta(orden).isEmpty()) cuerpo = Reemplaza(cuerpo, Recorta(orden), QStringLiteral(" "));
        r = cabeza + QStringLiteral(" ") + cuerpo + QStringLiteral(" ") + limite + QStringLiteral(" ") + grupo +
            QStringLiteral(" ") + orden;
    }
    // 5. Length function.
    for (int blancos = 0; blancos <= 4; ++blancos)
        r = Reemplaza(r, QStringLiteral(" LEN") + Espacios(blancos) + QStringLiteral("("), QStringLiteral(" LENGTH("));
    // 6. Quoted names.
    r = Reemplaza(r, QStringLiteral("["), QStringLiteral("\""));
    r = Reemplaza(r, QStringLiteral("]"), QStringLiteral("\""));
    // 7. Date literals become TO_DATE calls; a literal met twice must not nest them.
    {
        const QString original = r;
        QString copia = r;
        int desde = 1;
        while (true) {
            const int p1 = InstrBin(original, QStringLiteral("'"), desde);
            if (p1 == 0) break;
            const int p2 = InstrBin(original, QStringLiteral("'"), p1 + 1);
            const QString literal = Medio(original, p1 + 1, p2 - p1 - 1);  // unpaired: invalid argument
            if (auto fecha = ReconoceFecha(literal, proceso().Ahora().date()))
                copia = Reemplaza(copia, QStringLiteral("'") + literal + QStringLiteral("'"),
                                  QStringLiteral("TO_DATE('") + fecha->date().toString(QStringLiteral("dd/MM/yyyy")) +
                                      QStringLiteral("','DD/MM/YYYY')"));
            desde = p2 + 1;
        }
        while (Contiene(copia, QStringLiteral("TO_DATE(TO_DATE("))) {
            copia = Reemplaza(copia, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
            copia = Reemplaza(copia, QStringLiteral("'DD/MM/YYYY'),'DD/MM/YYYY')"), QStringLiteral("'DD/MM/YYYY')"));
        }
        r = copia;
    }
    // 8. Text search.
    r = Reemplaza(r, QStringLiteral("Charindex"), QStringLiteral("InStr"));
    // 9. Conversions.
    r = Reemplaza(r, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
    r = Reemplaza(r, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));
    // 10. Oracle stores an empty text as null: comparisons with '' become IS NULL after the WHERE.
    if (Contiene(r, QStringLiteral("WHERE "))) {
        const int where = Instr(r, QStringLiteral("WHERE "));
        QString resto = Medio(r, where);
        resto = Reemplaza(resto, QStringLiteral("= ''"), QStringLiteral(" IS NULL "));
        resto = Reemplaza(resto, QStringLiteral("=''"), QStringLiteral(" IS NULL "));
        r = Izquierda(r, where - 1) + resto;
    }
    // 11. Date style 103 inside a TO_CHAR call becomes its mask.
    for (int p = Instr(r, QStringLiteral("103")); p > 0; p = Instr(r, QStringLiteral("103"), p + 3)) {
        const int parentesis = InstrRev(Izquierda(r, p), QStringLiteral("("));
        if (parentesis >= 8 && IgualesTexto(Medio(r, parentesis - 7, 8), QStringLiteral("TO_CHAR(")))
            r = Izquierda(r, p - 1) + QStringLiteral("'DD/MM/YYYY'") + Medio(r, p + 3);
    }
    // 12. and 13. Function names.
    r = Reemplaza(r, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
    r = Reemplaza(r, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
    return r;
}

QString DB_Dll::FiltraSentencia(const QString& Sentencia) const {
    if (Contiene(Sentencia, QStringLiteral("SET NOCOUNT")) || Contiene(Sentencia, QStringLiteral("IF NOT EXIST")))
        return QString();
    return Sentencia;
}

void DB_Dll::EjecutaScriptOracle(QString& SQL, long& RecordsAffected) {
    // 1. Normalise: no row-count switches, no batch separators, no carriage returns, Oracle's transaction words.
    const QString cr(QChar(13)), crlf = QString(QChar(13)) + QChar(10);
    const std::pair<QString, QString> normales[] = {
        {QStringLiteral("SET NOCOUNT ON"), QString()},
        {QStringLiteral("SET NOCOUNT OFF"), QString()},
        {QStringLiteral(" GO "), QStringLiteral(" ")},
        {QStringLiteral("GO ") + crlf, QStringLiteral(" ")},
        {crlf + QStringLiteral("GO") + crlf, QStringLiteral(" ")},
        {cr, QStringLiteral(" ")},
        {QStringLiteral("BEGIN TRANSACTION"), QStringLiteral("SET TRANSACTION")},
        {QStringLiteral("BEGIN TRANS"), QStringLiteral("SET TRANSACTION")},
        {QStringLiteral("COMMIT TRANSACTION"), QStringLiteral("COMMIT")},
        {QStringLiteral("COMMIT TRANS"), QStringLiteral("COMMIT")},
        {QStringLiteral("ROLLBACK TRANSACTION"), QStringLiteral("ROLLBACK")},
        {QStringLiteral("ROLLBACK TRANS"), QStringLiteral("ROLLBACK")},
    };
    for (const auto& [buscado, reemplazo] : normales) SQL = Reemplaza(SQL, buscado, reemplazo);

    // 2. to 4. Statement by statement: each runs from one keyword to the next.
    for (int inicio = PrimeraClave(SQL, 1); inicio > 0; inicio = PrimeraClave(SQL, 1)) {
        const int siguiente = PrimeraClave(SQL, inicio + 1);
        QString sentencia = Recorta(siguiente > 0 ? Medio(SQL, inicio, siguiente - inicio) : Medio(SQL, inicio));
        if (!sentencia.isEmpty()) {
            if (IgualesTexto(sentencia, QStringLiteral("SET TRANSACTION"))) {
                gCnn.BeginTrans();
            } else if (IgualesTexto(sentencia, QStringLiteral("COMMIT"))) {
                gCnn.CommitTrans();
            } else if (IgualesTexto(sentencia, QStringLiteral("ROLLBACK"))) {
                gCnn.RollbackTrans();
            } else {
                sentencia = FiltraSentencia(ORACLE_Dicc(sentencia));
                if (!Recorta(sentencia).isEmpty()) {
                    long filas = 0;
                    gCnn.Execute(sentencia, &filas, -1);
                    RecordsAffected += filas;
                }
            }
        }
        SQL = siguiente > 0 ? Medio(SQL, siguiente) : QString();
    }
    // 5. Oracle's "no rows" warning alone is no error.
    if (gCnn.errors().Count() == 1 && gCnn.errors().Item(0).Number == 265929) gCnn.errors().Clear();
}
