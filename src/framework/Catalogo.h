// The lookup catalogue consultas.tkw: fixed 1202-byte records naming, for a table or view, the columns a lookup
// shows. The start-up writes the framework's eleven standard lookups when the file is missing.
#pragma once

#include <QByteArray>
#include <QString>

constexpr int kLargoRegistroCatalogo = 1202;

// One record as stored: Nombre 100, Tabla 100, Campos 500, Extra 500, CR LF; ANSI, blank-padded, cut to width.
QByteArray RegistroCatalogo(const QString& nombre, const QString& tabla, const QString& campos,
                            const QString& extra = {});

// Writes the standard lookups to the lookup controller's gRutaMascaraConsultas.
void ArmaCatalogoConsultas();
// Writes them to ruta. The file appears complete or not at all: a failed write raises the run-time error and
// leaves no file behind.
void EscribeCatalogo(const QString& ruta);
