// Test support for the framework: a program folder holding the demo server (DEMO and TK_ESTADISTICAS as SQLite
// files created from demo/), its Servidores.ini, a fresh session, and direct reads of the files for assertions.
#pragma once

#include <QList>
#include <QString>
#include <ostream>

#include "Soporte.h"
#include "Variant.h"

// Texts in failure messages, readable.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

class ConBaseDemo : public ConEntorno {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Connects the session's gDB to the demo company database as the database object does at start-up.
    void Conecta(const QString& usuario = QStringLiteral("CAJERO"));
    // The parameter text that leads to the demo database.
    static QString ParametrosDemo(const QString& usuario = QStringLiteral("CAJERO"));

    // Straight to the SQLite file, past every layer of the program.
    QList<QStringList> Filas(const QString& base, const QString& sql) const;
    void Ejecuta(const QString& base, const QString& sql) const;
    QString ArchivoBase(const QString& base) const { return Ruta(QStringLiteral("datos/") + base + ".db"); }

    int terminaciones = 0;  // how many times the program was told to end
};
