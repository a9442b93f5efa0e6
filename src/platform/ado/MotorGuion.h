// The scripted engine for tests of the layers above: it records every statement and call it receives and
// answers from a script shared with the test (rows, row counts, provider errors, a lost connection), so that
// failure rules can be tested without a server.
#pragma once

#include <memory>

#include "Ado.h"
#include "ErrorEjecucion.h"

// One scripted answer: to every statement containing the fragment (letter case ignored; empty matches any).
struct RespuestaGuion {
    QString fragmento;
    Resultado resultado;
    QList<ErrorProveedor> errores;  // when not empty, the statement fails with them
    long numero = 0;                // the run-time error raised instead of the first error's number
    int veces = -1;                 // how many statements it answers; -1 every one
};

class GuionMotor {
  public:
    // ---- What the engine received ----
    // Every text, exactly as received, in order; the calls BeginTrans, CommitTrans and RollbackTrans appear as
    // the entries "BeginTrans", "CommitTrans" and "RollbackTrans".
    QStringList sentencias;
    QStringList aperturas;  // connection strings of every Open, successful or not
    int cierres = 0;
    struct FilaGrabada {
        QString tabla;
        QStringList columnas;
        QList<Variant> original;  // empty for a new row
        QList<Variant> nueva;     // Empty for the columns not assigned
    };
    QList<FilaGrabada> grabadas;                      // rows written by record sets' Update
    QList<std::pair<long, QList<Variant>>> esquemas;  // OpenSchema calls
    long tiempoEspera = 0;

    // ---- The script ----
    QString base = QStringLiteral("DEMO");  // DefaultDatabase; SetDefaultDatabase changes it
    QString cadenaInforme;                  // ConnectionString as reported; the opened string when empty
    QList<RespuestaGuion> respuestas;       // the first that matches answers, in order

    // Rows with their column names (types taken from the first row's values).
    void Filas(const QString& fragmento, const QStringList& columnas, const QList<QList<Variant>>& filas,
               int veces = -1);
    void Afectadas(const QString& fragmento, long filas, int veces = -1);
    // A failure with one provider error as SQL Server gives it: native number, description, SQL state.
    void Falla(const QString& fragmento, long nativo, const QString& descripcion, long numero = Err::ErrorSentencia,
               const QString& estado = QStringLiteral("42000"), int veces = 1);
    void Falla(const QString& fragmento, const QList<ErrorProveedor>& errores, int veces = 1);
    // From now on every call fails as a broken link does (-2147467259 with the network error, or 3709 when
    // asked) until the connection is opened again; reconecta false makes that Open fail too.
    void PierdeConexion(bool como3709 = false, bool reconecta = true);
    // The next Opens fail with these errors.
    void FallaAlAbrir(const QList<ErrorProveedor>& errores, int veces = 1);
    QList<ErrorProveedor> fallasAlGrabar;  // when not empty, the next Update fails with them (once)
    Resultado esquemaTablas;               // OpenSchema 20 answers these rows, filtered by table name
    Resultado esquemaColumnas;             // OpenSchema 4, filtered by table and column name
    void Tablas(const QStringList& nombres);
    void ColumnasDe(const QString& tabla, const QStringList& columnas);

    // The errors of a broken link, as the SQL Server provider reports them.
    static QList<ErrorProveedor> ErroresDeRed();

    // ---- State the engine keeps ----
    bool perdida = false;
    bool perdidaCon3709 = false;
    bool reconecta = true;
    QList<ErrorProveedor> fallasAlAbrir;
    int vecesFallaAlAbrir = 0;
};

class MotorGuion : public Motor {
  public:
    explicit MotorGuion(std::shared_ptr<GuionMotor> guion) : guion_(std::move(guion)) {}

    // A factory for Connection::FijaFabricaDePrueba: every connection gets an engine on this script.
    static Connection::FabricaMotor Fabrica(std::shared_ptr<GuionMotor> guion);
    GuionMotor& guion() { return *guion_; }

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
    QString BaseDeDatos() const override { return guion_->base; }
    void FijaTiempoEspera(long segundos) override { guion_->tiempoEspera = segundos; }
    QString CadenaInforme() const override;

  private:
    void ExigeEnlace();
    std::shared_ptr<GuionMotor> guion_;
    QString cadena_;
};
