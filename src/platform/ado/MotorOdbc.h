// The ODBC engine: SQL Server through FreeTDS, Oracle through its driver, or a SQLite file through the SQLite
// ODBC driver. The dialect follows the engine behind the connection: to SQLite the text goes through the T-SQL
// adapter and the project's extension is loaded; to a server it goes unchanged.
#pragma once

#include "AdaptaTSql.h"
#include "Ado.h"
#include "Servidores.h"

// The loadable extension's file: next to the program when it is there, else where the build put it.
QString RutaExtensionSql();

class MotorOdbc : public Motor {
  public:
    MotorOdbc() = default;
    ~MotorOdbc() override;

    void Abre(const QString& cadena) override;
    void Cierra() override;
    Resultado Ejecuta(const QString& sql) override;
    void IniciaTransaccion() override;
    void ConfirmaTransaccion() override;
    void DeshaceTransaccion() override;
    Resultado Esquema(long tipo, const QList<Variant>& restricciones) override;
    void GrabaFila(const QString& tabla, const QList<Columna>& columnas, const QList<Variant>& original,
                   const QList<Variant>& nueva) override;
    void FijaBaseDeDatos(const QString& nombre) override;
    QString BaseDeDatos() const override { return base_; }
    void FijaTiempoEspera(long segundos) override { tiempoEspera_ = segundos; }
    QString CadenaInforme() const override { return CadenaDeInforme(destino_, base_); }

    bool EsSqlite() const { return sqlite_; }

  private:
    void* entorno_ = nullptr;  // SQLHENV
    void* enlace_ = nullptr;   // SQLHDBC
    Destino destino_;
    QString base_;
    bool sqlite_ = false;
    long tiempoEspera_ = 30;
    SesionTSql sesionTSql_;  // SET XACT_ABORT of a SQLite session
};
