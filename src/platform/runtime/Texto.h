// Text operations as the system's code expects them: positions count from 1, comparisons ignore letter case,
// trimming removes blanks (the space character) only, and a negative length is an invalid argument.
#pragma once

#include <QString>
#include <optional>

// Leading and trailing blanks removed; tabs and other white space stay.
QString Recorta(const QString& s);
QString RecortaIzq(const QString& s);
QString RecortaDer(const QString& s);

// First position (from 1) of buscado in s at or after inicio, ignoring case; 0 when absent.
// An empty buscado is found at inicio. inicio below 1 is an invalid argument.
int Instr(const QString& s, const QString& buscado, int inicio = 1);
// The same, letter case compared.
int InstrBin(const QString& s, const QString& buscado, int inicio = 1);
// Last position of buscado in s, ignoring case; 0 when absent.
int InstrRev(const QString& s, const QString& buscado);
bool Contiene(const QString& s, const QString& buscado);

// Every occurrence of buscado replaced, ignoring case, scanning from the first character.
QString Reemplaza(const QString& s, const QString& buscado, const QString& reemplazo);

// Substrings. inicio below 1 or a negative length raise the invalid-argument error.
QString Medio(const QString& s, int inicio, std::optional<int> largo = std::nullopt);
QString Izquierda(const QString& s, int largo);
QString Derecha(const QString& s, int largo);

bool IgualesTexto(const QString& a, const QString& b);  // ignoring case
QString Mayus(const QString& s);
QString Espacios(int n);

// The text of a boolean as the platform writes it.
QString TextoBooleano(bool valor);
