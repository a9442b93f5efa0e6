// The ODBC engine: SQL Server through FreeTDS, Oracle through its driver, any other server through its own, or a
// SQLite file through the SQLite ODBC driver. The dialect follows the engine behind the connection: to SQLite the text
// goes through the T-SQL adapter and the project's extension is loaded; to a server it goes unchanged.
#pragma once

#include "AdaptaTSql.h"
#include "Ado.h"
#include "MotorOdbcErrores.h"
#include "Servidores.h"

// The loadable extension's file: next to the program when it is there, else where the build put it.
QString RutaExtensionSql();

// A value of a decimal or money column from the text the driver gives, exactly: currency for money, a double when
// a double holds the value to its last digit, else the exact decimal text.
Variant ValorDecimalOdbc(const QString& texto, int tipoAdo);
// A value as the exact decimal text a decimal or money parameter carries.
QString TextoDecimalOdbc(const Variant& valor);

// What reading a handle's diagnostics needs.
struct ContextoOdbc {
    QString origen;
    bool sqlite = false;
    bool estrecho = false;  // the driver has no wide calls: UTF-8 through the narrow ones
    FamiliaServidor familia = FamiliaServidor::Otra;
    void* enlace = nullptr;  // SQLHDBC
};

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
    ContextoOdbc ContextoDeErrores() const;
    void ExigeEnlace() const;
    void TerminaTransaccion(short como);
    QString Cita(const QString& nombre) const;
    QString NombreSinCitar(const QString& nombre) const;
    QStringList ClavePrimaria(const QString& esquema, const QString& tabla);

    void* entorno_ = nullptr;  // SQLHENV
    void* enlace_ = nullptr;   // SQLHDBC
    Destino destino_;
    QString base_;
    bool sqlite_ = false;
    bool estrecho_ = false;
    long tiempoEspera_ = 30;
    FamiliaServidor familia_ = FamiliaServidor::Otra;
    QString comilla_ = QStringLiteral("\"");  // the driver's identifier quote; empty when it has none
    unsigned short casoIdentificadores_ = 0;  // SQL_IDENTIFIER_CASE
    SesionTSql sesionTSql_;                   // SET XACT_ABORT of a SQLite session
};
