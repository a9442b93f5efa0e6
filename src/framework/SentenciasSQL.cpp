// The SQL text helpers.
#include "SentenciasSQL.h"

#include "DB_Dll.h"
#include "Texto.h"
#include "TkPrint2.h"

QString DuplicaApostrofes(const QString& texto) {
    QString doblado = texto;
    return doblado.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString AdaptaSQL(const QString& SQL) {
    // 1. Only an Oracle connection needs it.
    if (!Contiene(sesion().gDB().gConnString, QStringLiteral("oracle"))) return SQL;
    // 2. A single keyword.
    if (CuentaPalabras(SQL) <= 1) return IgualesTexto(SQL, QStringLiteral("LEN")) ? QStringLiteral("LENGTH") : SQL;
    // 3. A statement without a row limit.
    if (!Contiene(SQL, QStringLiteral("top "))) return SQL;
    // 4. Head before "top"; count up to the "*", tail after it. Without a "*" the count's length is negative,
    //    which Izquierda refuses as an invalid argument.
    const int top = Instr(SQL, QStringLiteral("top"));
    const QString cabeza = Izquierda(SQL, top - 1);
    const QString resto = Medio(SQL, top + 3);
    const int asterisco = Instr(resto, QStringLiteral("*"));
    const QString cuenta = Izquierda(resto, asterisco - 1);
    const QString cola = Medio(resto, asterisco + 1);
    // 5.
    return cabeza + QStringLiteral(" * ") + cola + QStringLiteral(" WHERE ROWNUM <= ") + cuenta;
}

void AgregaCampo(const QString& Campo, QString& Valor, const QString& Tipo, bool Reinicia) {
    QList<ParCampo>& lista = sesion().ListaCampos;
    // 1.
    if (Reinicia) lista.clear();
    lista.append(ParCampo{});
    // 2.
    Valor = QuitaCaracteres(Valor, QStringLiteral("'"));
    // 3.
    ParCampo& par = lista.last();
    par.Campo = Campo;
    par.Valor = IgualesTexto(Valor, QStringLiteral("NULL")) ? QStringLiteral("Null")
                                                            : sesion().gDB().SQLValue(Variant(Valor), Tipo).ATexto();
}

void ArmaSentencia(QList<ParCampo>& Lista, QStringList& Sentencias, const QString& Tabla, bool EsUpdate,
                   QString& Condicion, bool ConservaCampos) {
    QString sentencia;
    if (!EsUpdate) {
        // 1. INSERT.
        QStringList campos, valores;
        for (const ParCampo& par : Lista) {
            campos << par.Campo;
            valores << par.Valor;
        }
        sentencia = QStringLiteral("INSERT INTO ") + Tabla + QStringLiteral(" ") + QStringLiteral("(") +
                    campos.join(QLatin1Char(',')) + QStringLiteral(")") + QStringLiteral(" VALUES (") +
                    valores.join(QLatin1Char(',')) + QStringLiteral(")");
    } else {
        // 2. UPDATE.
        QStringList asignaciones;
        for (const ParCampo& par : Lista) asignaciones << par.Campo + QStringLiteral(" = ") + par.Valor;
        if (!Contiene(Condicion, QStringLiteral("WHERE"))) Condicion = QStringLiteral(" WHERE ") + Condicion;
        sentencia = QStringLiteral("UPDATE ") + Tabla + QStringLiteral(" SET ") + asignaciones.join(QLatin1Char(',')) +
                    QStringLiteral(" ") + Condicion;
    }
    // 3.
    Sentencias << sentencia << QString();
    // 4.
    if (!ConservaCampos) Lista = QList<ParCampo>{ParCampo{}};
}
