// A SQLite server for the tests: Servidores.ini in the test's program folder names the server "SRV01" as the
// folder "datos", whose DEMO.db holds a few tables created with the project's collation.
#pragma once

#include <QString>

#include "Ado.h"
#include "Soporte.h"

// The SQLite ODBC driver by the name its package registers, or by its file when the driver manager does not
// list it.
QString ControladorSqlite();

class ConBaseDePrueba : public ConEntorno {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs SQLite text straight on a database file of the server, outside the layer under test.
    void Directo(const QString& sql, const QString& base = QStringLiteral("DEMO"));
    QString ArchivoBase(const QString& base) const;
    // The same folder reached as the server "ODBCSRV" through the SQLite ODBC driver.
    void AgregaServidorOdbc();
    static QString Cadena(const QString& base = QStringLiteral("DEMO")) {
        return QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =") + base + QStringLiteral(";UId=sa;Pwd=x;");
    }

    Connection cn;
};
