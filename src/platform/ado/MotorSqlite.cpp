// The embedded SQLite engine: opening a server's database, running adapted batches statement by statement with
// their prepared statements kept for reuse, reading results into rows of Variants, schema rowsets from the
// catalogue, and writing record-set rows back to their table.
#include "MotorSqlite.h"

#include <sqlite3.h>
#include <strings.h>
#include <QDir>
#include <QFileInfo>
#include <climits>
#include <cstring>
#include <vector>

#include "AdaptaTSql.h"
#include "ErrorEjecucion.h"
#include "ErroresSqlite.h"
#include "ExtensionSql.h"
#include "Texto.h"

namespace {

struct TipoDeclarado {
    const char* nombre;
    int tipo;
    long tamano;  // when the declaration gives no length
};

// SQL Server's column types as ADO reports them.
const TipoDeclarado kTipos[] = {
    {"varchar", ado::adVarChar, 8000},
    {"nvarchar", ado::adVarWChar, 4000},
    {"char", ado::adChar, 1},
    {"nchar", ado::adWChar, 1},
    {"text", ado::adLongVarChar, 2147483647},
    {"ntext", ado::adLongVarWChar, 1073741823},
    {"int", ado::adInteger, 4},
    {"integer", ado::adInteger, 4},
    {"smallint", ado::adSmallInt, 2},
    {"tinyint", ado::adUnsignedTinyInt, 1},
    {"bigint", ado::adBigInt, 8},
    {"bit", ado::adBoolean, 2},
    {"boolean", ado::adBoolean, 2},
    {"datetime", ado::adDBTimeStamp, 16},
    {"smalldatetime", ado::adDBTimeStamp, 16},
    {"datetime2", ado::adDBTimeStamp, 16},
    {"date", ado::adDBDate, 6},
    {"money", ado::adCurrency, 8},
    {"smallmoney", ado::adCurrency, 8},
    {"float", ado::adDouble, 8},
    {"double", ado::adDouble, 8},
    {"real", ado::adSingle, 4},
    {"decimal", ado::adNumeric, 19},
    {"numeric", ado::adNumeric, 19},
    {"uniqueidentifier", ado::adGUID, 16},
    {"varbinary", ado::adVarBinary, 8000},
    {"image", ado::adLongVarBinary, 2147483647},
};

bool EsFechaAdo(int tipo) {
    return tipo == ado::adDBTimeStamp || tipo == ado::adDate || tipo == ado::adDBDate;
}

template <typename C>
int Digitos(const C* p, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const unsigned c = static_cast<unsigned>(p[i]);
        if (c < '0' || c > '9') return -1;
        v = v * 10 + static_cast<int>(c - '0');
    }
    return v;
}

// A stored date from its characters, UTF-8 bytes or UTF-16 units alike.
template <typename C>
std::optional<QDateTime> LeeFecha(const C* p, int n) {
    int anio = -1, mes = -1, dia = -1, resto = 0;
    if (n >= 10 && p[4] == '-' && p[7] == '-') {
        anio = Digitos(p, 4), mes = Digitos(p + 5, 2), dia = Digitos(p + 8, 2), resto = 10;
    } else if (n >= 8 && p[2] == '/' && p[5] == '/') {
        dia = Digitos(p, 2), mes = Digitos(p + 3, 2);
        const bool largo = n >= 10 && Digitos(p + 8, 2) >= 0;
        anio = Digitos(p + 6, largo ? 4 : 2), resto = largo ? 10 : 8;
        if (!largo && anio >= 0) anio += anio < 30 ? 2000 : 1900;
    }
    if (anio < 0 || mes < 0 || dia < 0) return std::nullopt;
    int hora = 0, minuto = 0, segundo = 0, milis = 0;
    if (n >= resto + 6 && (p[resto] == ' ' || p[resto] == 'T') && p[resto + 3] == ':') {
        hora = Digitos(p + resto + 1, 2), minuto = Digitos(p + resto + 4, 2);
        if (n >= resto + 9 && p[resto + 6] == ':') segundo = Digitos(p + resto + 7, 2);
        if (n >= resto + 13 && p[resto + 9] == '.') milis = Digitos(p + resto + 10, 3);
    }
    const QDate fecha(anio, mes, dia);
    const QTime hora_(hora, minuto, segundo < 0 ? 0 : segundo, milis < 0 ? 0 : milis);
    if (!fecha.isValid() || !hora_.isValid()) return std::nullopt;
    // The workstation's offset from UTC for that day and hour, looked up once: a local-time QDateTime asks the
    // C library's time zone for each value, which dominated reading a result. The value is the same instant and
    // shows the same date and time.
    static thread_local QHash<qint64, int> desplazamientos;
    const qint64 llave = fecha.toJulianDay() * 24 + hora;
    auto it = desplazamientos.constFind(llave);
    if (it == desplazamientos.constEnd()) {
        const QDateTime local(fecha, QTime(hora, 0));
        if (!local.isValid()) return local;
        if (desplazamientos.size() > 200000) desplazamientos.clear();  // about 23 years of hours
        it = desplazamientos.insert(llave, local.offsetFromUtc());
    }
    return QDateTime(fecha, hora_, Qt::OffsetFromUTC, it.value());
}

}  // namespace

std::optional<QDateTime> LeeFechaGuardada(const QString& t) {
    return LeeFecha(t.utf16(), static_cast<int>(t.size()));
}

namespace {

Variant LeeValor(sqlite3_stmt* st, int i, int tipo) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
            return Variant::Null();
        case SQLITE_INTEGER: {
            const sqlite3_int64 v = sqlite3_column_int64(st, i);
            switch (tipo) {
                case ado::adBoolean:
                    return Variant(v != 0);
                case ado::adCurrency:
                    return Variant(Moneda::DesdeEscalado(v * 10000));
                case ado::adDouble:
                case ado::adSingle:
                case ado::adNumeric:
                    return Variant(static_cast<double>(v));
                case ado::adSmallInt:
                case ado::adTinyInt:
                case ado::adUnsignedTinyInt:
                    if (v >= SHRT_MIN && v <= SHRT_MAX) return Variant(static_cast<qint16>(v));
                    break;
                default:
                    break;
            }
            if (v >= INT_MIN && v <= INT_MAX) return Variant(static_cast<qint32>(v));
            return Variant(static_cast<double>(v));
        }
        case SQLITE_FLOAT: {
            const double v = sqlite3_column_double(st, i);
            if (tipo == ado::adCurrency) return Variant(Moneda::DesdeDouble(v));
            return Variant(v);
        }
        default: {
            const char* s = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            const int largo = sqlite3_column_bytes(st, i);
            if (EsFechaAdo(tipo))
                if (auto f = LeeFecha(s, largo)) return Variant(*f);
            return Variant(QString::fromUtf8(s, largo));
        }
    }
}

// Binds a value as the server would store it: bit true as 1, dates in ISO form, currency as its decimal value.
void Enlaza(sqlite3_stmt* st, int i, const Variant& v) {
    switch (v.Tipo()) {
        case TipoVariant::Empty:
        case TipoVariant::Null:
            sqlite3_bind_null(st, i);
            break;
        case TipoVariant::Boolean:
            sqlite3_bind_int(st, i, v.ABooleano() ? 1 : 0);
            break;
        case TipoVariant::Integer:
        case TipoVariant::Long:
            sqlite3_bind_int(st, i, v.ALargo());
            break;
        case TipoVariant::Double:
        case TipoVariant::Single:
        case TipoVariant::Currency:
            sqlite3_bind_double(st, i, v.ADouble());
            break;
        case TipoVariant::Date: {
            const QByteArray t = v.AFecha().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
            sqlite3_bind_text(st, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = v.ATexto().toUtf8();
            sqlite3_bind_text(st, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
    }
}

QString Entrecomilla(const QString& nombre) {
    return QLatin1Char('"') + QString(nombre).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A restriction of a schema rowset: absent, Null or blank restricts nothing.
bool Cumple(const QList<Variant>& restricciones, int i, const QString& valor) {
    if (i >= restricciones.size()) return true;
    const Variant& r = restricciones[i];
    if (r.EsEmpty() || r.EsNull() || Recorta(r.ATexto()).isEmpty()) return true;
    return IgualesTexto(Recorta(r.ATexto()), valor);
}

}  // namespace

void TipoDeDeclaracion(const char* declarado, int& tipo, long& tamano) {
    tipo = 0;
    tamano = 0;
    while (*declarado == ' ') ++declarado;
    size_t largo = 0;
    while (declarado[largo] && declarado[largo] != '(' && declarado[largo] != ' ') ++largo;
    for (const TipoDeclarado& t : kTipos) {
        if (std::strlen(t.nombre) != largo || strncasecmp(declarado, t.nombre, largo) != 0) continue;
        tipo = t.tipo;
        tamano = t.tamano;
        const char* parentesis = std::strchr(declarado + largo, '(');
        const bool conLargo = tipo == ado::adVarChar || tipo == ado::adVarWChar || tipo == ado::adChar ||
                              tipo == ado::adWChar || tipo == ado::adVarBinary;
        if (parentesis && conLargo) {
            char* fin = nullptr;
            const long n = std::strtol(parentesis + 1, &fin, 10);
            if (fin != parentesis + 1) tamano = n;
        }
        return;
    }
}

void TipoDeDeclaracion(const QString& declarado, int& tipo, long& tamano) {
    TipoDeDeclaracion(declarado.toUtf8().constData(), tipo, tamano);
}

MotorSqlite::~MotorSqlite() {
    Cierra();
}

sqlite3* MotorSqlite::AbreArchivo(const QString& archivo, const QString& base) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString mensaje = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        if (destino_.dialecto == Destino::Dialecto::Access)
            throw ErrorMotor({{Err::ErrorNoEspecificado, mensaje, destino_.origen, QStringLiteral("3051"), -1032}});
        throw ErrorMotor({ErrorBaseDesconocida(base, destino_.origen)});
    }
    // A file that is not a database is refused here, not at its first statement: its header, then its catalogue.
    QFile archivoBase(archivo);
    QByteArray cabecera;
    if (archivoBase.open(QIODevice::ReadOnly)) cabecera = archivoBase.read(16);
    const bool valida = (cabecera.isEmpty() || cabecera == QByteArray("SQLite format 3", 16)) &&
                        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!valida) {
        sqlite3_close(db);
        if (destino_.dialecto == Destino::Dialecto::Access)
            throw ErrorMotor(
                {{Err::ErrorNoEspecificado, QStringLiteral("Unrecognized database format '%1'.").arg(archivo),
                  destino_.origen, QStringLiteral("3343"), -1206}});
        throw ErrorMotor({{Err::ErrorNoEspecificado,
                           QStringLiteral("The header for file '%1' is not a valid database file header. The "
                                          "FILE SIZE property is incorrect.")
                               .arg(archivo),
                           destino_.origen, QStringLiteral("42000"), 5172}});
    }
    RegistraExtensionSql(db);
    sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(db, tiempoEspera_ == 0 ? INT_MAX : static_cast<int>(tiempoEspera_ * 1000));
    return db;
}

void MotorSqlite::Abre(const QString& cadena) {
    destino_ = ResuelveDestino(cadena);
    // 1. A Jet file: it must exist; nothing is created.
    if (destino_.dialecto == Destino::Dialecto::Access) {
        if (!QFileInfo(destino_.archivo).isFile())
            throw ErrorMotor(
                {{Err::ErrorNoEspecificado, QStringLiteral("Could not find file '%1'.").arg(destino_.archivo),
                  destino_.origen, QStringLiteral("3024"), -1811}});
        db_ = AbreArchivo(destino_.archivo, destino_.archivo);
        base_ = destino_.archivo;
        return;
    }
    // 2. The server is its folder.
    if (!QFileInfo(destino_.carpeta).isDir())
        throw ErrorMotor(
            {{Err::ErrorNoEspecificado,
              QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied."),
              destino_.origen, QStringLiteral("08001"), 17}});
    // 3. No database named: the server's empty master.
    if (Recorta(destino_.base).isEmpty()) {
        sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        RegistraExtensionSql(db_);
        base_ = QStringLiteral("master");
        return;
    }
    FijaBaseDeDatos(destino_.base);
}

void MotorSqlite::FijaBaseDeDatos(const QString& nombre) {
    const QString base = Recorta(nombre);
    if (db_ && IgualesTexto(base, base_)) return;
    if (destino_.dialecto == Destino::Dialecto::Access) return;  // a Jet file is its only database
    // The server's database names ignore letter case, as the file system here does not.
    QString archivo;
    const QStringList archivos = QDir(destino_.carpeta).entryList({QStringLiteral("*.db")}, QDir::Files);
    for (const QString& a : archivos)
        if (IgualesTexto(a, base + QStringLiteral(".db"))) archivo = QDir(destino_.carpeta).filePath(a);
    if (archivo.isEmpty()) throw ErrorMotor({ErrorBaseDesconocida(base, destino_.origen)});
    sqlite3* nuevo = AbreArchivo(archivo, base);
    Cierra();
    db_ = nuevo;
    base_ = base;
}

void MotorSqlite::Cierra() {
    claves_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void MotorSqlite::Falla(int rc) {
    throw ErrorMotor(ErroresDeSqlite(rc & 0xff, QString::fromUtf8(sqlite3_errmsg(db_)), destino_.origen));
}

sqlite3_stmt* MotorSqlite::Prepara(const QString& sentencia) {
    const QByteArray texto = sentencia.toUtf8();
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(db_, texto.constData(), static_cast<int>(texto.size()), &st, nullptr);
    if (rc != SQLITE_OK) Falla(rc);
    return st;  // nullptr for a text of comments only
}

// An expression column's type as the server reports it: COUNT int, SUM of a money column money, CONVERT its
// type; the declared type of the column an aggregate reads is found in the statement's tables.
void MotorSqlite::TipoDeExpresion(const PasoLote& paso, int i, Columna& c) {
    const QString& tipo = paso.tiposColumnas[i];
    if (tipo.isEmpty()) return;
    const bool promedio = tipo.startsWith(u'~');
    if (!tipo.startsWith(u'=') && !promedio) {
        TipoDeDeclaracion(tipo, c.tipo, c.tamano);
        return;
    }
    const QByteArray columna = tipo.mid(1).toUtf8();
    for (const QString& tabla : paso.tablas) {
        const char* declarado = nullptr;
        if (sqlite3_table_column_metadata(db_, nullptr, tabla.toUtf8().constData(), columna.constData(), &declarado,
                                          nullptr, nullptr, nullptr, nullptr) == SQLITE_OK &&
            declarado) {
            const QString nombre = QString::fromUtf8(declarado).section(u'(', 0, 0).trimmed();
            const bool corto = nombre.compare(QLatin1String("smallint"), Qt::CaseInsensitive) == 0 ||
                               nombre.compare(QLatin1String("tinyint"), Qt::CaseInsensitive) == 0;
            TipoDeDeclaracion(promedio && corto ? QStringLiteral("int") : QString::fromUtf8(declarado), c.tipo,
                              c.tamano);
            return;
        }
    }
}

bool MotorSqlite::EsClave(const QString& tabla, const QString& columna) {
    const QString llave = tabla + QLatin1Char('.') + columna;
    auto it = claves_.find(llave);
    if (it != claves_.end()) return it.value();
    int clave = 0;
    sqlite3_table_column_metadata(db_, nullptr, tabla.toUtf8().constData(), columna.toUtf8().constData(), nullptr,
                                  nullptr, nullptr, &clave, nullptr);
    claves_.insert(llave, clave != 0);
    return clave != 0;
}

// Steps a prepared statement to its end: its rows when it has columns, else the rows it changed. The step it
// runs for names the types of its expression columns.
Resultado MotorSqlite::Corre(sqlite3_stmt* st, const PasoLote* paso) {
    Resultado r;
    const int columnas = sqlite3_column_count(st);
    r.tieneFilas = columnas > 0;
    std::vector<int> tipos(static_cast<size_t>(columnas));
    r.columnas.reserve(columnas);
    const char* tablaAnterior = nullptr;
    QString tablaBase;
    for (int i = 0; i < columnas; ++i) {
        Columna c;
        const char* nombre = sqlite3_column_name(st, i);
        c.nombre = QString::fromUtf8(nombre);
        if (const char* decl = sqlite3_column_decltype(st, i)) {
            TipoDeDeclaracion(decl, c.tipo, c.tamano);
        } else {
            // An expression whose type the statement does not say takes it from its first value.
            c.tipo = 0;
            if (paso && paso->tiposColumnas.size() == columnas) TipoDeExpresion(*paso, i, c);
        }
        if (const char* tabla = sqlite3_column_table_name(st, i)) {
            // One text for the table of every column, the name again when the column is not renamed.
            if (!tablaAnterior || std::strcmp(tabla, tablaAnterior) != 0) tablaBase = QString::fromUtf8(tabla);
            tablaAnterior = tabla;
            c.tablaBase = tablaBase;
            const char* origen = sqlite3_column_origin_name(st, i);
            c.columnaBase = std::strcmp(origen, nombre) == 0 ? c.nombre : QString::fromUtf8(origen);
        }
        tipos[i] = c.tipo;
        r.columnas.push_back(std::move(c));
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QList<Variant> fila;
        fila.reserve(columnas);
        for (int i = 0; i < columnas; ++i) {
            if (tipos[i] == 0) {
                // An expression: its first value decides the type the column reports.
                const int clase = sqlite3_column_type(st, i);
                const sqlite3_int64 entero = clase == SQLITE_INTEGER ? sqlite3_column_int64(st, i) : 0;
                tipos[i] = clase == SQLITE_INTEGER
                               ? (entero >= INT_MIN && entero <= INT_MAX ? ado::adInteger : ado::adBigInt)
                           : clase == SQLITE_FLOAT ? ado::adDouble
                           : clase == SQLITE_NULL  ? 0
                                                   : ado::adVarWChar;
                if (tipos[i] != 0) {
                    r.columnas[i].tipo = tipos[i];
                    r.columnas[i].tamano = tipos[i] == ado::adVarWChar ? 4000 : 8;
                }
            }
            fila.push_back(LeeValor(st, i, tipos[i]));
        }
        r.filas.push_back(std::move(fila));
    }
    if (rc != SQLITE_DONE) {
        const QString mensaje = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(st);
        throw ErrorMotor(ErroresDeSqlite(rc & 0xff, mensaje, destino_.origen));
    }
    for (int i = 0; i < columnas; ++i) {
        Columna& c = r.columnas[i];
        if (c.tipo == 0) c.tipo = ado::adVarWChar, c.tamano = 4000;
    }
    if (!r.tieneFilas) r.afectados = sqlite3_stmt_readonly(st) || (paso && !paso->cuenta) ? -1 : sqlite3_changes(db_);
    sqlite3_finalize(st);
    return r;
}

Resultado MotorSqlite::Ejecuta(const QString& sql) {
    // The translation is kept by the text's shape: the system sends the same statements with other values.
    LoteTSql lote;
    try {
        lote = traducciones_.Traduce(sql);
    } catch (ErrorMotor& e) {
        for (ErrorProveedor& error : e.errores)
            if (error.Source.isEmpty()) error.Source = destino_.origen;
        throw;
    }
    return EjecutaLote(lote, sesion_, [this](const PasoLote& paso, const QString& sentencia) {
        sqlite3_stmt* st = Prepara(sentencia);
        if (!st) return Resultado{};
        Resultado r = Corre(st, &paso);
        if (paso.definicion) claves_.clear();
        return r;
    });
}

void MotorSqlite::IniciaTransaccion() {
    if (const int rc = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr); rc != SQLITE_OK) Falla(rc);
}
void MotorSqlite::ConfirmaTransaccion() {
    if (const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr); rc != SQLITE_OK) Falla(rc);
}
void MotorSqlite::DeshaceTransaccion() {
    if (const int rc = sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); rc != SQLITE_OK) Falla(rc);
}

void MotorSqlite::FijaTiempoEspera(long segundos) {
    tiempoEspera_ = segundos;
    if (db_) sqlite3_busy_timeout(db_, segundos == 0 ? INT_MAX : static_cast<int>(segundos * 1000));
}

Resultado MotorSqlite::Esquema(long tipo, const QList<Variant>& restricciones) {
    Resultado r;
    r.tieneFilas = true;
    const QString esquema = QStringLiteral("dbo");
    // Tables and views of the catalogue, the catalogue itself as a system table.
    QList<std::pair<QString, QString>> tablas{{QStringLiteral("sqlite_master"), QStringLiteral("SYSTEM TABLE")}};
    Resultado lista =
        Ejecuta(QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY name"));
    for (const auto& f : lista.filas) {
        const QString nombre = f[0].ATexto();
        const QString clase = nombre.startsWith(QStringLiteral("sqlite_")) ? QStringLiteral("SYSTEM TABLE")
                              : f[1].ATexto() == u"view"                   ? QStringLiteral("VIEW")
                                                                           : QStringLiteral("TABLE");
        tablas.push_back({nombre, clase});
    }
    if (tipo == ado::adSchemaTables) {
        r.columnas = ColumnasDelEsquema(ado::adSchemaTables);
        for (const auto& [nombre, clase] : tablas)
            if (Cumple(restricciones, 0, base_) && Cumple(restricciones, 1, esquema) &&
                Cumple(restricciones, 2, nombre) && Cumple(restricciones, 3, clase))
                r.filas.push_back({Variant(base_), Variant(esquema), Variant(nombre), Variant(clase)});
        return r;
    }
    if (tipo != ado::adSchemaColumns)
        throw ErrorMotor({{-2147217839,
                           QStringLiteral("Object or data matching the name, range, or selection criteria was not "
                                          "found within the scope of this operation."),
                           destino_.origen, QString(), 0}});
    r.columnas = ColumnasDelEsquema(ado::adSchemaColumns);
    if (!Cumple(restricciones, 0, base_) || !Cumple(restricciones, 1, esquema)) return r;
    for (const auto& [nombre, clase] : tablas) {
        if (!Cumple(restricciones, 2, nombre) || nombre == u"sqlite_master") continue;
        Resultado info = Ejecuta(QStringLiteral("PRAGMA table_info(") + Entrecomilla(nombre) + QLatin1Char(')'));
        for (const auto& f : info.filas) {
            // cid, name, type, notnull, dflt_value, pk
            const QString columna = f[1].ATexto();
            if (!Cumple(restricciones, 3, columna)) continue;
            int tipoAdo = 0;
            long tamano = 0;
            TipoDeDeclaracion(f[2].ATexto(), tipoAdo, tamano);
            if (tipoAdo == 0) tipoAdo = ado::adVarWChar;
            const bool conLargo = tipoAdo == ado::adVarChar || tipoAdo == ado::adVarWChar || tipoAdo == ado::adChar ||
                                  tipoAdo == ado::adWChar || tipoAdo == ado::adLongVarChar;
            r.filas.push_back({Variant(base_), Variant(esquema), Variant(nombre), Variant(columna),
                               Variant(static_cast<qint32>(f[0].ALargo() + 1)), f[4],
                               Variant(f[3].ALargo() == 0 && f[5].ALargo() == 0), Variant(static_cast<qint32>(tipoAdo)),
                               conLargo ? Variant(static_cast<qint32>(tamano)) : Variant::Null()});
        }
    }
    return r;
}

void MotorSqlite::GrabaFila(const QString& tabla, const QList<Columna>& descritas, const QList<Variant>& original,
                            const QList<Variant>& nueva) {
    QList<Columna> columnas = descritas;
    for (Columna& c : columnas)
        if (!c.tablaBase.isEmpty()) c.clave = EsClave(c.tablaBase, c.columnaBase);
    auto nombre = [&](int i) {
        return Entrecomilla(columnas[i].columnaBase.isEmpty() ? columnas[i].nombre : columnas[i].columnaBase);
    };
    QList<int> cambiadas;
    for (int i = 0; i < columnas.size(); ++i)
        if (!nueva[i].EsEmpty() && (original.isEmpty() || !(nueva[i] == original[i]))) cambiadas.push_back(i);

    QString sql;
    QList<Variant> valores;
    if (original.isEmpty()) {
        // A new row: the assigned columns, the rest left to their defaults.
        if (cambiadas.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + Entrecomilla(tabla) + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList nombres, marcas;
            for (int i : cambiadas) nombres << nombre(i), marcas << QStringLiteral("?"), valores << nueva[i];
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(Entrecomilla(tabla), nombres.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
        }
    } else {
        // An edited row: that one row, found by its key, or by all its values when the result has no key.
        if (cambiadas.isEmpty()) return;
        QStringList asignaciones, condiciones;
        for (int i : cambiadas) asignaciones << nombre(i) + QStringLiteral(" = ?"), valores << nueva[i];
        bool conClave = false;
        for (const Columna& c : columnas) conClave = conClave || c.clave;
        QList<Variant> claves;
        for (int i = 0; i < columnas.size(); ++i) {
            if (conClave && !columnas[i].clave) continue;
            if (columnas[i].tablaBase.isEmpty() && !conClave) continue;
            condiciones << nombre(i) + QStringLiteral(" IS ?");
            claves << original[i];
        }
        valores += claves;
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = (SELECT rowid FROM %1 WHERE %3 LIMIT 1)")
                  .arg(Entrecomilla(tabla), asignaciones.join(QStringLiteral(", ")),
                       condiciones.join(QStringLiteral(" AND ")));
    }
    sqlite3_stmt* st = Prepara(sql);
    for (int i = 0; i < valores.size(); ++i) Enlaza(st, i + 1, valores[i]);
    Corre(st);
    if (!original.isEmpty() && sqlite3_changes(db_) == 0)
        throw ErrorMotor({{-2147217864,
                           QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                          "since it was last read."),
                           destino_.origen, QString(), 0}});
}
