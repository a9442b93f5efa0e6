// The invoice layout: its zones and lines are the tables below, sent row by row.
#include "SetZonas.h"

#include "Secuencia.h"

// The tables keep one row a line.
// clang-format off
namespace {
// A print zone: its number, then A, B, C, D (in every row A <= C <= 87 and B <= D <= 63).
struct Zona {
    qint16 zona, a, b, c, d;
};

// Zones sent before the body's design option.
const Zona kZonasCabecera[] = {
    { 10,  43,   4,  44,   4},
    { 22,   1,   4,  40,   4},
    { 24,   1,   5,  40,   7},
    { 26,   1,   9,  40,  14},
    { 34,  49,   5,  87,   7},
    { 36,  45,   9,  87,  14},
    { 42,   1,  16,  40,  20},
    { 44,   1,  21,  40,  22},
    { 52,  45,  16,  87,  20},
    { 54,  45,  21,  87,  22},
    { 60,   1,  23,  87,  42},
    { 61,   1,  23,  12,  42},
    { 62,  14,  23,  34,  42},
    { 63,  36,  23,  48,  42},
    { 64,  50,  23,  59,  42},
    { 65,  61,  23,  70,  42},
    { 66,  72,  23,  87,  42},
};

// Zones sent after it.
const Zona kZonasCuerpo[] = {
    { 70,   1,  23,  87,  42},
    { 81,  33,  23,  41,  49},
    { 82,  43,  23,  54,  49},
    { 83,  33,  23,  41,  49},
    { 84,  43,  23,  54,  49},
    { 85,  56,  23,  62,  49},
    { 86,  64,  23,  75,  49},
    { 90,   1,  23,  87,  49},
    { 91,   1,  23,  10,  49},
    { 92,  12,  23,  17,  49},
    { 93,  19,  23,  31,  49},
    { 94,  33,  23,  54,  49},
    { 95,  56,  23,  75,  49},
    { 97,  77,  23,  87,  49},
    {100,   1,  50,  87,  50},
    {101,   1,  50,  55,  50},
    {102,  56,  50,  87,  50},
    {110,   1,  51,  87,  55},
    {111,   1,  51,  39,  55},
    {112,  41,  51,  87,  55},
    {120,   1,  56,  87,  58},
    {142,   1,  59,  40,  63},
    {144,  45,  59,  87,  63},
};

// A header or trailer line. DEL as the whole text clears the line. Line 56 is left as the printer has it.
const char* const DEL = "\x7F";
struct Linea {
    qint16 numero;
    const char* texto;
};
const Linea kLineas[] = {
    {1, DEL},
    {2, DEL},
    {3, DEL},
    {4, DEL},
    {5, DEL},
    {11, "Gracias por su compra"},
    {12, DEL},
    {13, DEL},
    {14, DEL},
    {50, "Dato fijo"},
    {51, "Capital Federal"},
    {52, DEL},
    {53, "Belgrano 951"},
    {54, "Capital Federal"},
    {55, DEL},
    {57, "Ingresos Brutos"},
    {58, DEL},
    {59, DEL},
    {60, DEL},
    {61, DEL},
    {62, "Inicio de actividades 01/01/2000"},
    {63, DEL},
    {64, DEL},
    {65, DEL},
};
}  // namespace
// clang-format on

bool SetZonas(PrinterFiscal& PrinterFiscal1) {
    Secuencia s;
    auto envia = [&](const Zona& z) { return PrinterFiscal1.SetZona(z.zona, z.a, z.b, z.c, z.d); };

    // 1-3. Sheet format and the first design options.
    s.Llama([&] { return PrinterFiscal1.FormatoHoja(90, 72); });
    s.Llama([&] { return PrinterFiscal1.SeteaDiseno("P", "D", "M", "F", "A", "N"); });
    s.Llama([&] { return PrinterFiscal1.SeteaDiseno("P", "P", "R", "S", "U", "90", "72"); });
    // 4. Zones 10 to 66.
    for (const Zona& z : kZonasCabecera) s.Llama([&] { return envia(z); });
    // 5. The body's design option.
    s.Llama([&] { return PrinterFiscal1.SeteaDiseno("P", "C", "O", "901", "0", "20"); });
    // 6. Zones 70 to 144.
    for (const Zona& z : kZonasCuerpo) s.Llama([&] { return envia(z); });
    // 7. Header and trailer lines.
    for (const Linea& l : kLineas)
        s.Llama([&] { return PrinterFiscal1.HeaderTrailer("S", l.numero, QString::fromUtf8(l.texto)); });
    return s.Resultado();
}
