// Connections, record sets, fields and provider errors, as the system's database code uses them over ADO.
// A Connection resolves its connection string to an engine (Motor): embedded SQLite, ODBC, or the scripted
// engine of the tests. A provider failure fills the connection's Errors collection and raises the run-time
// error with the provider's number; the error rules of the database object read both.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "Variant.h"

// ADO constants the system passes.
namespace ado {
constexpr long adStateClosed = 0;
constexpr long adStateOpen = 1;
constexpr long adOpenForwardOnly = 0;
constexpr long adOpenKeyset = 1;
constexpr long adOpenDynamic = 2;
constexpr long adOpenStatic = 3;
constexpr long adLockReadOnly = 1;
constexpr long adLockPessimistic = 2;
constexpr long adLockOptimistic = 3;
constexpr long adUseServer = 2;
constexpr long adUseClient = 3;
constexpr long adXactReadUncommitted = 256;
constexpr long adXactReadCommitted = 4096;
constexpr long adSchemaColumns = 4;
constexpr long adSchemaTables = 20;
constexpr long adEditNone = 0;
constexpr long adEditInProgress = 1;
constexpr long adEditAdd = 2;
constexpr long adCmdText = 1;
constexpr long adCmdTable = 2;
constexpr long adCmdTableDirect = 512;
// Field types (DataTypeEnum).
constexpr int adSmallInt = 2;
constexpr int adInteger = 3;
constexpr int adSingle = 4;
constexpr int adDouble = 5;
constexpr int adCurrency = 6;
constexpr int adDate = 7;
constexpr int adBoolean = 11;
constexpr int adTinyInt = 16;
constexpr int adUnsignedTinyInt = 17;
constexpr int adGUID = 72;
constexpr int adBinary = 128;
constexpr int adDBDate = 133;
constexpr int adBigInt = 20;
constexpr int adNumeric = 131;
constexpr int adDBTimeStamp = 135;
constexpr int adChar = 129;
constexpr int adWChar = 130;
constexpr int adVarChar = 200;
constexpr int adLongVarChar = 201;
constexpr int adVarWChar = 202;
constexpr int adLongVarWChar = 203;
constexpr int adVarBinary = 204;
constexpr int adLongVarBinary = 205;
}  // namespace ado

// One error of the provider's collection.
struct ErrorProveedor {
    long Number = 0;  // the provider's HRESULT, e.g. -2147217873
    QString Description;
    QString Source;
    QString SQLState;
    long NativeError = 0;  // the engine's own number, as SQL Server gives it: 2627, 547, 8152...
};

class Errors {
  public:
    long Count() const { return static_cast<long>(lista_.size()); }
    const ErrorProveedor& Item(long i) const { return lista_.at(i); }
    void Clear() { lista_.clear(); }
    void Add(const ErrorProveedor& e) { lista_.push_back(e); }

  private:
    QList<ErrorProveedor> lista_;
};

// A column of a result as the engine describes it.
struct Columna {
    QString nombre;
    int tipo = ado::adVarWChar;  // ADO type code
    long tamano = 0;             // DefinedSize
    QString tablaBase;           // the table the column comes from, when known
    QString columnaBase;
    bool clave = false;  // part of the base table's primary key
};

// A whole result: its columns and rows.
struct Resultado {
    QList<Columna> columnas;
    QList<QList<Variant>> filas;
    long afectados = -1;      // rows affected, for statements that change data
    bool tieneFilas = false;  // the statement returned a row set (possibly empty)
};

// The columns of a schema rowset, as every engine reports them: tables (adSchemaTables) or columns
// (adSchemaColumns); empty for any other.
QList<Columna> ColumnasDelEsquema(long tipo);

// An engine behind a connection. Every failure raises ErrorMotor.
class Motor {
  public:
    virtual ~Motor() = default;
    virtual void Abre(const QString& cadena) = 0;
    virtual void Cierra() = 0;
    // Runs one text (one statement or a batch) and returns the last result.
    virtual Resultado Ejecuta(const QString& sql) = 0;
    virtual void IniciaTransaccion() = 0;
    virtual void ConfirmaTransaccion() = 0;
    virtual void DeshaceTransaccion() = 0;
    // Schema rowsets: tables (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE) and columns
    // (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, DATA_TYPE, ...).
    virtual Resultado Esquema(long tipo, const QList<Variant>& restricciones) = 0;
    // Writes one row of a record set back to its base table: an insert when original is empty.
    virtual void GrabaFila(const QString& tabla, const QList<Columna>& columnas, const QList<Variant>& original,
                           const QList<Variant>& nueva) = 0;
    virtual void FijaBaseDeDatos(const QString& nombre) = 0;
    virtual QString BaseDeDatos() const = 0;
    virtual void FijaTiempoEspera(long segundos) = 0;
    virtual QString CadenaInforme() const = 0;  // the connection string as the connection reports it
};

// A failure of an engine, carrying the provider errors to put in the collection (the first decides the number).
class ErrorMotor : public std::exception {
  public:
    explicit ErrorMotor(QList<ErrorProveedor> errores, long numero = 0) : errores(std::move(errores)), numero(numero) {}
    QList<ErrorProveedor> errores;
    long numero;  // the run-time error raised, when not the first provider error's (3709 for a lost link)
    const char* what() const noexcept override { return "ErrorMotor"; }
};

class Recordset;

class Connection {
  public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& connectionString, const QString& userId = {}, const QString& password = {},
              long options = -1);
    void Close();  // closing a closed connection raises 3704
    long State() const;

    // Runs a statement; recordsAffected receives the provider's count. A statement that returns rows hands them
    // to resultado when one is given.
    void Execute(const QString& sql, long* recordsAffected = nullptr, long options = -1,
                 Recordset* resultado = nullptr);
    void OpenSchema(long schema, const QList<Variant>& restricciones, Recordset& resultado);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    Errors& errors() { return errores_; }  // the Errors collection
    long CommandTimeout() const { return tiempoEspera_; }
    void SetCommandTimeout(long segundos);
    long CursorLocation() const { return ubicacionCursor_; }
    void SetCursorLocation(long ubicacion) { ubicacionCursor_ = ubicacion; }
    long IsolationLevel() const { return aislamiento_; }
    void SetIsolationLevel(long nivel) { aislamiento_ = nivel; }
    QString DefaultDatabase() const;
    void SetDefaultDatabase(const QString& nombre);
    QString ConnectionString() const;

    // The engine behind an open connection (for record sets of this layer).
    Motor& motor();

    // Tests: every connection opened from now on gets its engine from this factory (nullptr restores the
    // resolution by connection string).
    using FabricaMotor = std::function<std::unique_ptr<Motor>(const QString& cadena)>;
    static void FijaFabricaDePrueba(FabricaMotor fabrica);

  private:
    friend class Recordset;
    // Runs an engine call; an ErrorMotor fills the collection and becomes the run-time error.
    template <typename F>
    auto Protegido(F&& f) -> decltype(f());

    std::unique_ptr<Motor> motor_;
    QString cadena_;
    Errors errores_;
    long tiempoEspera_ = 30;
    long ubicacionCursor_ = ado::adUseServer;
    long aislamiento_ = ado::adXactReadCommitted;
};

class Field {
  public:
    QString Name() const;
    int Type() const;
    long DefinedSize() const;
    Variant Value() const;
    void SetValue(const Variant& valor);  // only on an updatable record set, else 3251

  private:
    friend class Recordset;
    Field(Recordset* rs, int indice) : rs_(rs), indice_(indice) {}
    Recordset* rs_;
    int indice_;
};

class Recordset {
  public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Open(const QString& source, Connection& conexion, long cursorType = ado::adOpenForwardOnly,
              long lockType = ado::adLockReadOnly, long options = -1);
    void Close();  // closing a closed record set raises 3704
    long State() const;

    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    long RecordCount() const;  // -1 on a forward-only cursor, as ADO reports it
    // The remaining rows from the current one, as rows of values (the platform's GetRows is column-major;
    // this returns them row by row).
    QList<QList<Variant>> GetRows();

    long FieldCount() const;
    Field Fields(int indice);             // 3265 when out of range
    Field Fields(const QString& nombre);  // by name, ignoring case; 3265 when absent
    Variant Valor(const QString& nombre) { return Fields(nombre).Value(); }

    void AddNew();
    void Update();  // writes the pending row to the base table
    void CancelUpdate();
    long EditMode() const;
    long CursorType() const { return tipoCursor_; }
    long LockType() const { return tipoBloqueo_; }

    // Fills the record set from a result already in hand (Execute, OpenSchema, the tests).
    void Carga(Resultado resultado, Connection* conexion, const QString& tablaBase, long cursorType, long lockType);

  private:
    friend class Field;
    void ExigeAbierto() const;
    void ExigeFilaActual() const;

    Connection* conexion_ = nullptr;
    Resultado datos_;
    QString tablaBase_;
    QString fuente_;  // the statement read, whose base table is found when a row is first written
    long estado_ = ado::adStateClosed;
    long tipoCursor_ = ado::adOpenForwardOnly;
    long tipoBloqueo_ = ado::adLockReadOnly;
    long posicion_ = 0;  // 0-based row; -1 before the first (BOF), size() after the last (EOF)
    long modoEdicion_ = ado::adEditNone;
    QList<Variant> pendiente_;  // the row being added or edited
};
