// SQL text helpers of the framework: the Oracle form of two SQL Server idioms, the INSERT/UPDATE builder over the
// session's pair list, and the quoting of values put between apostrophes.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "Sesion.h"

// Every apostrophe doubled, so that a value between quotes can never end the literal.
QString DuplicaApostrofes(const QString& texto);

// On an Oracle connection: "LEN" becomes "LENGTH", and "... top n * ..." becomes "... * ... WHERE ROWNUM <= n".
QString AdaptaSQL(const QString& SQL);

// Adds a pair to the session's ListaCampos (a new list when Reinicia). Valor loses its apostrophes, the
// caller's variable too; "NULL" in any case becomes the unquoted word Null.
void AgregaCampo(const QString& Campo, QString& Valor, const QString& Tipo, bool Reinicia);
inline void AgregaCampo(const QString& Campo, QString&& Valor, const QString& Tipo, bool Reinicia) {
    AgregaCampo(Campo, Valor, Tipo, Reinicia);
}

// Appends the INSERT (or UPDATE ... Condicion) built from Lista to Sentencias, then a blank entry. Condicion gains
// " WHERE " when it lacks the word. Without ConservaCampos the list is left holding one empty pair.
void ArmaSentencia(QList<ParCampo>& Lista, QStringList& Sentencias, const QString& Tabla, bool EsUpdate,
                   QString& Condicion, bool ConservaCampos);
