// Reading of the lookup catalogue consultas.tkw: fixed 1202-byte records in the ANSI code page, looked up by their
// table. Kept apart from the lookup controller so that the reader can be tested and fuzzed alone.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

constexpr int kLargoConsulta = 1202;

// One record as stored, its fields as read (blanks and fillers kept).
struct ConsultaCatalogo {
    QString Nombre;  // 100
    QString Tabla;   // 100
    QString Campos;  // 500
    QString Extra;   // 500
};

// A catalogue field as the lookup uses it: the NULs and 0xFF fillers of other writers dropped, blanks trimmed.
QString CampoLimpio(const QString& campo);

// The fields of one whole record (kLargoConsulta bytes; its last two, CR LF, are not read).
ConsultaCatalogo LeeConsulta(const QByteArray& registro);

// The first record of the catalogue at ruta whose clean table equals the trimmed tabla without regard to case;
// none when the file cannot be opened or holds no such record. A short record at the end is not a record.
std::optional<ConsultaCatalogo> BuscaConsulta(const QString& ruta, const QString& tabla);
