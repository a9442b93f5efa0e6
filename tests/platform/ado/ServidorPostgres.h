// A private PostgreSQL server for the tests of the ODBC engine against a real client/server database: a cluster
// in a temporary folder, on a free loopback port, run under the "postgres" account when the tests run as root
// (the server refuses root). Started and stopped by the tests themselves; nothing is left running.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ServidorPostgres {
  public:
    ServidorPostgres();
    ~ServidorPostgres();
    ServidorPostgres(const ServidorPostgres&) = delete;
    ServidorPostgres& operator=(const ServidorPostgres&) = delete;

    // Creates the cluster and the database "PRUEBA" and starts the server; false with Error() on failure.
    bool Crea();
    bool Arranca();
    // "immediate" drops every connection as a crash would; "fast" is an orderly stop.
    bool Detiene(const QString& modo = QStringLiteral("fast"));
    // Runs SQL with psql on the database, outside the layer under test.
    bool Psql(const QString& sql, QString* salida = nullptr);

    bool EnMarcha() const { return arrancado_; }
    int Puerto() const { return puerto_; }
    const QString& Error() const { return error_; }
    // The ODBC string of the server's Unicode driver, for Servidores.ini ({base}, {usuario}, {clave} filled in).
    QString CadenaOdbc() const;

  private:
    bool Corre(const QString& programa, const QStringList& argumentos, bool comoServidor, QString* salida = nullptr);

    QTemporaryDir dir_;
    QString bin_;
    int puerto_ = 0;
    bool arrancado_ = false;
    QString error_;
};

// A TCP port on the loopback interface that nothing listens on at the moment of asking.
int PuertoLibre();
