// Test support for the simulated printer: a fixture with the device attached at its default port and speed, and
// the bytes of its two files.
#pragma once

#include <QFile>

#include "ErrorEjecucion.h"
#include "ImpresoraSimulada.h"
#include "Soporte.h"

using Args = QList<Variant>;

class ConImpresora : public ConEntorno {
  protected:
    // Attaches the device where a fresh one is: COM1 at 9600.
    static void Conecta(ImpresoraSimulada& imp) {
        imp.Puerto(1);
        imp.Baud(QStringLiteral("9600"));
    }
    QByteArray Bytes(const QString& archivo) const {
        QFile f(Ruta(archivo));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray Memoria() const { return Bytes(QStringLiteral("ImpresoraSimulada.json")); }
    QString Papel() const { return QString::fromUtf8(Bytes(QStringLiteral("ImpresoraSimulada.txt"))); }
};

// The nineteen arguments of FacturaAbrir for a customer "PEPE LE BOU", registered, with a valid CUIT; the kind
// ("T" or "F") and the last argument vary.
inline Args AbreFactura(const char* clase, const char* ultimo = "C") {
    return {clase,  "C",           "A", "1",  "P",     "12", "I",     "I",     "PEPE", "LE BOU",
            "CUIT", "30614104712", "N", "LA", "PAMPA", "98", "REM 1", "REM 2", ultimo};
}
