// The embedded engine: a server is a folder, a database the file <name>.db in it (or one Jet file), reached
// through the SQLite library with the project's collation and functions registered and the T-SQL translator on
// the way in (its translation kept per text). Each statement is prepared for its run.
#pragma once

#include <QDateTime>
#include <QHash>
#include <memory>
#include <optional>

#include "AdaptaTSql.h"

#include "Ado.h"
#include "Servidores.h"

struct sqlite3;
struct sqlite3_stmt;

class MotorSqlite : public Motor {
  public:
    MotorSqlite() = default;
    ~MotorSqlite() override;

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
    void FijaTiempoEspera(long segundos) override;
    QString CadenaInforme() const override { return CadenaDeInforme(destino_, base_); }

  private:
    sqlite3* AbreArchivo(const QString& archivo, const QString& base);
    [[noreturn]] void Falla(int rc);
    sqlite3_stmt* Prepara(const QString& sentencia);
    Resultado Corre(sqlite3_stmt* st, const PasoLote* paso = nullptr);
    void TipoDeExpresion(const PasoLote& paso, int i, Columna& c);
    bool EsClave(const QString& tabla, const QString& columna);

    sqlite3* db_ = nullptr;
    Destino destino_;
    QString base_;
    long tiempoEspera_ = 30;
    QHash<QString, bool> claves_;  // "table.column" -> part of the primary key
    CacheTSql traducciones_;
    SesionTSql sesion_;
};

// The ADO type code and defined size of a declared SQL Server-like column type ("varchar(50)" -> 200, 50).
void TipoDeDeclaracion(const QString& declarado, int& tipo, long& tamano);
void TipoDeDeclaracion(const char* declarado, int& tipo, long& tamano);

// A stored date: ISO "yyyy-mm-dd[ hh:mm[:ss[.fff]]]" as the providers write it, or "dd/mm/yy[yy] hh:mm" as the
// system's texts write it; nothing when the text is not a date.
std::optional<QDateTime> LeeFechaGuardada(const QString& texto);
