// Searching a statement the lookup windows rework for a word, outside its quoted literals, bracketed or quoted
// names and comments: what an operator typed always sits inside a literal, so it never reads as structure.
#pragma once

#include <QString>

enum class Nombres { Saltados, Leidos };

// The position, counted from 1, of the first occurrence of palabra (ignoring case) from inicio on that lies wholly
// outside literals and comments (and outside bracketed or double-quoted names unless they are Leidos); 0 when none.
int InstrSentencia(const QString& sql, const QString& palabra, int inicio = 1, Nombres nombres = Nombres::Saltados);
inline bool ContieneSentencia(const QString& sql, const QString& palabra, Nombres nombres = Nombres::Saltados) {
    return InstrSentencia(sql, palabra, 1, nombres) > 0;
}
