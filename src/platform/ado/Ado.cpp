// Connection, Recordset and Field over an engine. Record sets hold their whole result (a client-side cursor);
// edits and new rows go back to the base table through the engine when Update is called.
#include "Ado.h"

#include "AdaptaTSql.h"
#include "ErrorEjecucion.h"
#include "MotorOdbc.h"
#include "MotorSqlite.h"
#include "Servidores.h"
#include "Texto.h"

namespace {

Connection::FabricaMotor& FabricaDePrueba() {
    static Connection::FabricaMotor fabrica;
    return fabrica;
}

const QString kOrigenConexion = QStringLiteral("ADODB.Connection");
const QString kOrigenRecordset = QStringLiteral("ADODB.Recordset");
const QString kOrigenField = QStringLiteral("ADODB.Field");

constexpr long kNoActualizable = 3251;
const QString kTextoNoActualizable = QStringLiteral(
    "El conjunto de registros actual no admite actualizaciones. Puede ser una limitación del proveedor o del tipo "
    "de bloqueo seleccionado.");

std::unique_ptr<Motor> CreaMotor(const QString& cadena) {
    if (FabricaDePrueba()) return FabricaDePrueba()(cadena);
    if (ResuelveDestino(cadena).motor == Destino::Motor::Odbc) return std::make_unique<MotorOdbc>();
    return std::make_unique<MotorSqlite>();
}

}  // namespace

// ---- Connection ----

Connection::Connection() = default;
Connection::~Connection() {
    if (motor_) motor_->Cierra();
}

void Connection::FijaFabricaDePrueba(FabricaMotor fabrica) {
    FabricaDePrueba() = std::move(fabrica);
}

template <typename F>
auto Connection::Protegido(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const ErrorMotor& e) {
        for (const ErrorProveedor& error : e.errores) errores_.Add(error);
        if (e.errores.isEmpty()) Lanza(e.numero ? e.numero : Err::ErrorNoEspecificado, {}, kOrigenConexion);
        const ErrorProveedor& primero = e.errores.front();
        Lanza(e.numero ? e.numero : primero.Number, primero.Description, primero.Source);
    }
}

void Connection::Open(const QString& connectionString, const QString& userId, const QString& password, long) {
    if (motor_) Lanza(Err::ObjetoAbierto, {}, kOrigenConexion);
    errores_.Clear();
    QString cadena = connectionString;
    if (!userId.isEmpty()) cadena += QStringLiteral(";User ID=") + userId;
    if (!password.isEmpty()) cadena += QStringLiteral(";Password=") + password;
    std::unique_ptr<Motor> motor = Protegido([&] { return CreaMotor(cadena); });
    Protegido([&] {
        motor->FijaTiempoEspera(tiempoEspera_);
        motor->Abre(cadena);
    });
    motor_ = std::move(motor);
    cadena_ = cadena;
}

void Connection::Close() {
    if (!motor_) Lanza(Err::ObjetoCerrado, {}, kOrigenConexion);
    // The string stays as the connection last reported it, so that it can be opened again.
    cadena_ = motor_->CadenaInforme();
    std::unique_ptr<Motor> motor = std::move(motor_);
    motor->Cierra();
}

long Connection::State() const {
    return motor_ ? ado::adStateOpen : ado::adStateClosed;
}

Motor& Connection::motor() {
    if (!motor_) Lanza(Err::ConexionInutilizable, {}, kOrigenConexion);
    return *motor_;
}

void Connection::Execute(const QString& sql, long* recordsAffected, long, Recordset* resultado) {
    Motor& m = motor();
    errores_.Clear();
    Resultado r = Protegido([&] { return m.Ejecuta(sql); });
    if (recordsAffected) *recordsAffected = r.afectados;
    if (resultado && r.tieneFilas) {
        const QString tabla = TablaBaseDe(sql);
        resultado->Carga(std::move(r), this, tabla, ado::adOpenForwardOnly, ado::adLockReadOnly);
    }
}

void Connection::OpenSchema(long schema, const QList<Variant>& restricciones, Recordset& resultado) {
    Motor& m = motor();
    errores_.Clear();
    Resultado r = Protegido([&] { return m.Esquema(schema, restricciones); });
    resultado.Carga(std::move(r), this, {}, ado::adOpenStatic, ado::adLockReadOnly);
}

void Connection::BeginTrans() {
    Motor& m = motor();
    Protegido([&] { m.IniciaTransaccion(); });
}
void Connection::CommitTrans() {
    Motor& m = motor();
    Protegido([&] { m.ConfirmaTransaccion(); });
}
void Connection::RollbackTrans() {
    Motor& m = motor();
    Protegido([&] { m.DeshaceTransaccion(); });
}

void Connection::SetCommandTimeout(long segundos) {
    tiempoEspera_ = segundos;
    if (motor_) motor_->FijaTiempoEspera(segundos);
}

QString Connection::DefaultDatabase() const {
    return motor_ ? motor_->BaseDeDatos() : QString();
}

void Connection::SetDefaultDatabase(const QString& nombre) {
    Motor& m = motor();
    errores_.Clear();
    Protegido([&] { m.FijaBaseDeDatos(nombre); });
}

QString Connection::ConnectionString() const {
    return motor_ ? motor_->CadenaInforme() : cadena_;
}

// ---- Field ----

QString Field::Name() const {
    return rs_->datos_.columnas[indice_].nombre;
}
int Field::Type() const {
    return rs_->datos_.columnas[indice_].tipo;
}
long Field::DefinedSize() const {
    return rs_->datos_.columnas[indice_].tamano;
}

Variant Field::Value() const {
    rs_->ExigeAbierto();
    if (rs_->modoEdicion_ != ado::adEditNone) {
        const Variant& v = rs_->pendiente_[indice_];
        return v.EsEmpty() ? Variant::Null() : v;
    }
    rs_->ExigeFilaActual();
    return rs_->datos_.filas[rs_->posicion_][indice_];
}

void Field::SetValue(const Variant& valor) {
    rs_->ExigeAbierto();
    if (rs_->tipoBloqueo_ == ado::adLockReadOnly) Lanza(kNoActualizable, kTextoNoActualizable, kOrigenField);
    if (rs_->modoEdicion_ == ado::adEditNone) {
        // Assigning to the current row starts its edit.
        rs_->ExigeFilaActual();
        rs_->pendiente_ = rs_->datos_.filas[rs_->posicion_];
        rs_->modoEdicion_ = ado::adEditInProgress;
    }
    rs_->pendiente_[indice_] = valor;
}

// ---- Recordset ----

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::ExigeAbierto() const {
    if (estado_ != ado::adStateOpen) Lanza(Err::ObjetoCerrado, {}, kOrigenRecordset);
}

void Recordset::ExigeFilaActual() const {
    ExigeAbierto();
    if (posicion_ < 0 || posicion_ >= datos_.filas.size()) Lanza(Err::BofEof, {}, kOrigenRecordset);
}

void Recordset::Open(const QString& source, Connection& conexion, long cursorType, long lockType, long options) {
    if (estado_ == ado::adStateOpen) Lanza(Err::ObjetoAbierto, {}, kOrigenRecordset);
    Motor& m = conexion.motor();
    const QString sql = (options == ado::adCmdTable || options == ado::adCmdTableDirect)
                            ? QStringLiteral("SELECT * FROM ") + source
                            : source;
    conexion.errores_.Clear();
    Resultado r = conexion.Protegido([&] { return m.Ejecuta(sql); });
    // A statement that returns no rows leaves the record set closed, as the provider does.
    if (!r.tieneFilas) return;
    Carga(std::move(r), &conexion, {}, cursorType, lockType);
    fuente_ = sql;
}

void Recordset::Carga(Resultado resultado, Connection* conexion, const QString& tablaBase, long cursorType,
                      long lockType) {
    datos_ = std::move(resultado);
    conexion_ = conexion;
    tablaBase_ = tablaBase;
    fuente_.clear();
    // A client-side cursor is always static, whatever was asked.
    tipoCursor_ = conexion && conexion->CursorLocation() == ado::adUseClient ? ado::adOpenStatic : cursorType;
    tipoBloqueo_ = lockType;
    estado_ = ado::adStateOpen;
    posicion_ = 0;
    modoEdicion_ = ado::adEditNone;
    pendiente_.clear();
}

void Recordset::Close() {
    ExigeAbierto();
    // An edit in progress must be saved or cancelled first.
    if (modoEdicion_ != ado::adEditNone) Lanza(Err::OperacionNoPermitida, {}, kOrigenRecordset);
    estado_ = ado::adStateClosed;
    datos_ = {};
    conexion_ = nullptr;
    posicion_ = 0;
}

long Recordset::State() const {
    return estado_;
}

bool Recordset::Bof() const {
    ExigeAbierto();
    return datos_.filas.isEmpty() || posicion_ < 0;
}

bool Recordset::Eof() const {
    ExigeAbierto();
    return datos_.filas.isEmpty() || posicion_ >= datos_.filas.size();
}

void Recordset::MoveFirst() {
    ExigeAbierto();
    if (modoEdicion_ != ado::adEditNone) Update();
    if (datos_.filas.isEmpty()) Lanza(Err::BofEof, {}, kOrigenRecordset);
    posicion_ = 0;
}

void Recordset::MoveLast() {
    ExigeAbierto();
    if (modoEdicion_ != ado::adEditNone) Update();
    if (datos_.filas.isEmpty()) Lanza(Err::BofEof, {}, kOrigenRecordset);
    posicion_ = datos_.filas.size() - 1;
}

void Recordset::MoveNext() {
    if (Eof()) Lanza(Err::BofEof, {}, kOrigenRecordset);
    if (modoEdicion_ != ado::adEditNone) Update();
    ++posicion_;
}

void Recordset::MovePrevious() {
    if (Bof()) Lanza(Err::BofEof, {}, kOrigenRecordset);
    if (modoEdicion_ != ado::adEditNone) Update();
    --posicion_;
}

long Recordset::RecordCount() const {
    ExigeAbierto();
    if (tipoCursor_ == ado::adOpenForwardOnly) return -1;
    return static_cast<long>(datos_.filas.size());
}

QList<QList<Variant>> Recordset::GetRows() {
    ExigeFilaActual();
    QList<QList<Variant>> filas = datos_.filas.mid(posicion_);
    posicion_ = datos_.filas.size();
    return filas;
}

long Recordset::FieldCount() const {
    ExigeAbierto();
    return static_cast<long>(datos_.columnas.size());
}

Field Recordset::Fields(int indice) {
    ExigeAbierto();
    if (indice < 0 || indice >= datos_.columnas.size()) Lanza(Err::ElementoNoEncontrado, {}, kOrigenRecordset);
    return Field(this, indice);
}

Field Recordset::Fields(const QString& nombre) {
    ExigeAbierto();
    for (int i = 0; i < datos_.columnas.size(); ++i)
        if (IgualesTexto(datos_.columnas[i].nombre, nombre)) return Field(this, i);
    Lanza(Err::ElementoNoEncontrado, {}, kOrigenRecordset);
}

void Recordset::AddNew() {
    ExigeAbierto();
    if (tipoBloqueo_ == ado::adLockReadOnly) Lanza(kNoActualizable, kTextoNoActualizable, kOrigenRecordset);
    if (modoEdicion_ != ado::adEditNone) Update();
    pendiente_ = QList<Variant>(datos_.columnas.size());
    modoEdicion_ = ado::adEditAdd;
}

void Recordset::Update() {
    ExigeAbierto();
    if (modoEdicion_ == ado::adEditNone) return;
    if (!conexion_) Lanza(Err::ConexionInutilizable, {}, kOrigenRecordset);
    if (tablaBase_.isEmpty()) tablaBase_ = TablaBaseDe(fuente_);
    if (tablaBase_.isEmpty())
        Lanza(Err::ErrorNoEspecificado,
              QStringLiteral("Insufficient base table information for updating or refreshing."), kOrigenRecordset);
    Motor& m = conexion_->motor();
    const bool nueva = modoEdicion_ == ado::adEditAdd;
    const QList<Variant> original = nueva ? QList<Variant>() : datos_.filas[posicion_];
    conexion_->errores_.Clear();
    conexion_->Protegido([&] { m.GrabaFila(tablaBase_, datos_.columnas, original, pendiente_); });
    // The written row becomes the current one; unassigned columns of a new row read as Null.
    QList<Variant> fila = pendiente_;
    for (int i = 0; i < fila.size(); ++i)
        if (fila[i].EsEmpty()) fila[i] = nueva ? Variant::Null() : original[i];
    if (nueva) {
        datos_.filas.push_back(fila);
        posicion_ = datos_.filas.size() - 1;
    } else {
        datos_.filas[posicion_] = fila;
    }
    modoEdicion_ = ado::adEditNone;
    pendiente_.clear();
}

void Recordset::CancelUpdate() {
    ExigeAbierto();
    modoEdicion_ = ado::adEditNone;
    pendiente_.clear();
}

long Recordset::EditMode() const {
    ExigeAbierto();
    return modoEdicion_;
}

QList<Columna> ColumnasDelEsquema(long tipo) {
    auto texto = [](const char* n) { return Columna{QString::fromLatin1(n), ado::adVarWChar, 128, {}, {}, false}; };
    auto entero = [](const char* n) { return Columna{QString::fromLatin1(n), ado::adInteger, 4, {}, {}, false}; };
    if (tipo == ado::adSchemaTables)
        return {texto("TABLE_CATALOG"), texto("TABLE_SCHEMA"), texto("TABLE_NAME"), texto("TABLE_TYPE")};
    if (tipo == ado::adSchemaColumns)
        return {texto("TABLE_CATALOG"),
                texto("TABLE_SCHEMA"),
                texto("TABLE_NAME"),
                texto("COLUMN_NAME"),
                entero("ORDINAL_POSITION"),
                texto("COLUMN_DEFAULT"),
                Columna{QStringLiteral("IS_NULLABLE"), ado::adBoolean, 2, {}, {}, false},
                entero("DATA_TYPE"),
                entero("CHARACTER_MAXIMUM_LENGTH")};
    return {};
}
