// Reads the per-workstation serial settings of the fiscal printer from Printers.Fis: fixed 585-byte records in
// the ANSI code page, looked up by MACHINE|USER without regard to case. The file is never written.
#pragma once

#include <QString>

#include "Variant.h"

// One record of Printers.Fis, its fields as read (fixed width, not cleaned).
struct RegistroImpresora {
    QString ClaveEstacion;  // 254
    QString Impresora;      // 150
    QString Puerto;         // 5, "COM1" to "COM4"
    QString Baud;           // 5
    QString Data;           // 3
    QString Parity;         // 1
};

constexpr int kLargoRegistroImpresora = 585;

// The record last read; the main window reads it field by field after a lookup that found one.
extern RegistroImpresora gRegistroImpresora;

// Looks up this workstation's record; true when found, and then it is in gRegistroImpresora. Creates an empty
// Printers.Fis when none exists. Never fails: any error is passed over and counts as no record.
bool LeeRegistroImpresora();

// The value as text, without the characters U+0000, U+00FF and line feeds, blanks trimmed at both ends.
QString LimpiaCampo(const Variant& valor);
