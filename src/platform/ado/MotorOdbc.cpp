// The ODBC engine through the driver manager: SQLDriverConnect, SQLExecDirect with every result of a batch,
// column descriptions as ADO types, every diagnostic record into the provider errors, SQLTables and SQLColumns
// for the schema, manual commit for transactions. Texts travel as UTF-8.
#include "MotorOdbc.h"

#include <sql.h>
#include <sqlext.h>

#include <QDir>
#include <QFileInfo>

#include "AdaptaTSql.h"
#include "ErrorEjecucion.h"
#include "ErroresSqlite.h"
#include "ExtensionSql.h"
#include "MotorSqlite.h"
#include "Proceso.h"
#include "Texto.h"

namespace {

bool Exito(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// The provider number the server's native error stands for.
long NumeroDeNativo(long nativo, const QString& estado) {
    if (nativo == 2627 || nativo == 2601 || nativo == 547 || nativo == 515) return Err::ViolacionIntegridad;
    if (nativo == 208) return Err::TablaNoEncontrada;
    if (estado.startsWith(QStringLiteral("08")) || estado.startsWith(QStringLiteral("28")) || nativo == 4060)
        return Err::ErrorNoEspecificado;
    return Err::ErrorSentencia;
}

// Every diagnostic record of a handle. Through the SQLite driver, SQLite's texts become the server's errors.
QList<ErrorProveedor> Diagnosticos(SQLSMALLINT tipo, SQLHANDLE h, const QString& origen, bool sqlite) {
    QList<ErrorProveedor> errores;
    for (SQLSMALLINT registro = 1;; ++registro) {
        SQLCHAR estado[8] = {0};
        SQLINTEGER nativo = 0;
        SQLCHAR mensaje[2048] = {0};
        SQLSMALLINT largo = 0;
        if (!Exito(SQLGetDiagRec(tipo, h, registro, estado, &nativo, mensaje, sizeof mensaje, &largo))) break;
        QString texto = QString::fromUtf8(reinterpret_cast<const char*>(mensaje));
        // "[FreeTDS][SQL Server]Invalid object name 'X'." reads as the OLE DB provider gives it.
        while (origen != Origen::Odbc && texto.startsWith(u'[') && texto.indexOf(u']') > 0)
            texto = texto.mid(texto.indexOf(u']') + 1);
        const QString sqlState = QString::fromLatin1(reinterpret_cast<const char*>(estado));
        if (sqlite) {
            QList<ErrorProveedor> traducidos = ErroresDeSqlite(static_cast<int>(nativo), texto, origen);
            if (traducidos.size() == 1 && traducidos.front().NativeError == nativo)
                traducidos.front().SQLState = sqlState;
            errores += traducidos;
        } else {
            errores.push_back({NumeroDeNativo(nativo, sqlState), texto, origen, sqlState, static_cast<long>(nativo)});
        }
    }
    if (errores.isEmpty())
        errores.push_back(
            {Err::ErrorNoEspecificado, QStringLiteral("Unspecified error"), origen, QStringLiteral("HY000"), 0});
    return errores;
}

int TipoAdo(SQLSMALLINT tipoSql, const QString& nombreTipo) {
    if (nombreTipo.contains(QStringLiteral("money"), Qt::CaseInsensitive)) return ado::adCurrency;
    switch (tipoSql) {
        case SQL_CHAR:
            return ado::adChar;
        case SQL_VARCHAR:
            return ado::adVarChar;
        case SQL_LONGVARCHAR:
            return ado::adLongVarChar;
        case SQL_WCHAR:
            return ado::adWChar;
        case SQL_WVARCHAR:
            return ado::adVarWChar;
        case SQL_WLONGVARCHAR:
            return ado::adLongVarWChar;
        case SQL_INTEGER:
            return ado::adInteger;
        case SQL_SMALLINT:
            return ado::adSmallInt;
        case SQL_TINYINT:
            return ado::adUnsignedTinyInt;
        case SQL_BIGINT:
            return ado::adBigInt;
        case SQL_BIT:
            return ado::adBoolean;
        case SQL_REAL:
            return ado::adSingle;
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return ado::adDouble;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return ado::adNumeric;
        case SQL_TYPE_TIMESTAMP:
        case SQL_DATETIME:
            return ado::adDBTimeStamp;
        case SQL_TYPE_DATE:
            return ado::adDBDate;
        case SQL_GUID:
            return ado::adGUID;
        case SQL_BINARY:
        case SQL_VARBINARY:
            return ado::adVarBinary;
        case SQL_LONGVARBINARY:
            return ado::adLongVarBinary;
        default:
            return ado::adVarWChar;
    }
}

class Sentencia {
  public:
    Sentencia(SQLHDBC enlace, const QString& origen, bool sqlite) : origen_(origen), sqlite_(sqlite) {
        SQLAllocHandle(SQL_HANDLE_STMT, enlace, &h_);
    }
    ~Sentencia() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    SQLHSTMT h() const { return h_; }
    void Comprueba(SQLRETURN rc) const {
        if (!Exito(rc) && rc != SQL_NO_DATA) throw ErrorMotor(Diagnosticos(SQL_HANDLE_STMT, h_, origen_, sqlite_));
    }
    Resultado LeeResultado();
    QString Texto(SQLUSMALLINT columna, bool& nulo);

  private:
    SQLHSTMT h_ = nullptr;
    QString origen_;
    bool sqlite_;
};

QString Sentencia::Texto(SQLUSMALLINT columna, bool& nulo) {
    QByteArray datos;
    char trozo[4096];
    nulo = false;
    for (;;) {
        SQLLEN indicador = 0;
        const SQLRETURN rc = SQLGetData(h_, columna, SQL_C_CHAR, trozo, sizeof trozo, &indicador);
        if (rc == SQL_NO_DATA) break;
        Comprueba(rc);
        if (indicador == SQL_NULL_DATA) {
            nulo = true;
            return {};
        }
        const qsizetype recibido = (indicador == SQL_NO_TOTAL || indicador >= static_cast<SQLLEN>(sizeof trozo))
                                       ? static_cast<qsizetype>(sizeof trozo - 1)
                                       : static_cast<qsizetype>(indicador);
        datos.append(trozo, recibido);
        if (rc == SQL_SUCCESS) break;
    }
    return QString::fromUtf8(datos);
}

Resultado Sentencia::LeeResultado() {
    Resultado r;
    SQLSMALLINT columnas = 0;
    Comprueba(SQLNumResultCols(h_, &columnas));
    r.tieneFilas = columnas > 0;
    for (SQLUSMALLINT i = 1; i <= columnas; ++i) {
        SQLCHAR nombre[256] = {0};
        SQLSMALLINT largoNombre = 0, tipoSql = 0, decimales = 0, nulos = 0;
        SQLULEN tamano = 0;
        Comprueba(SQLDescribeCol(h_, i, nombre, sizeof nombre, &largoNombre, &tipoSql, &tamano, &decimales, &nulos));
        char texto[256] = {0};
        SQLSMALLINT largo = 0;
        Columna c;
        c.nombre = QString::fromUtf8(reinterpret_cast<const char*>(nombre));
        SQLColAttribute(h_, i, SQL_DESC_TYPE_NAME, texto, sizeof texto, &largo, nullptr);
        c.tipo = TipoAdo(tipoSql, QString::fromUtf8(texto));
        c.tamano = static_cast<long>(tamano);
        texto[0] = 0;
        if (Exito(SQLColAttribute(h_, i, SQL_DESC_BASE_TABLE_NAME, texto, sizeof texto, &largo, nullptr)))
            c.tablaBase = QString::fromUtf8(texto);
        texto[0] = 0;
        if (Exito(SQLColAttribute(h_, i, SQL_DESC_BASE_COLUMN_NAME, texto, sizeof texto, &largo, nullptr)))
            c.columnaBase = QString::fromUtf8(texto);
        r.columnas.push_back(c);
    }
    if (!r.tieneFilas) {
        SQLLEN filas = -1;
        SQLRowCount(h_, &filas);
        r.afectados = static_cast<long>(filas);
        return r;
    }
    for (;;) {
        const SQLRETURN rc = SQLFetch(h_);
        if (rc == SQL_NO_DATA) break;
        Comprueba(rc);
        QList<Variant> fila;
        fila.reserve(columnas);
        for (SQLUSMALLINT i = 1; i <= columnas; ++i) {
            const int tipo = r.columnas[i - 1].tipo;
            SQLLEN indicador = 0;
            if (tipo == ado::adInteger || tipo == ado::adSmallInt || tipo == ado::adUnsignedTinyInt ||
                tipo == ado::adBigInt || tipo == ado::adBoolean) {
                SQLBIGINT v = 0;
                Comprueba(SQLGetData(h_, i, SQL_C_SBIGINT, &v, sizeof v, &indicador));
                if (indicador == SQL_NULL_DATA)
                    fila.push_back(Variant::Null());
                else if (tipo == ado::adBoolean)
                    fila.push_back(Variant(v != 0));
                else if (tipo == ado::adSmallInt || tipo == ado::adUnsignedTinyInt)
                    fila.push_back(Variant(static_cast<qint16>(v)));
                else if (v >= INT32_MIN && v <= INT32_MAX)
                    fila.push_back(Variant(static_cast<qint32>(v)));
                else
                    fila.push_back(Variant(static_cast<double>(v)));
            } else if (tipo == ado::adDouble || tipo == ado::adSingle || tipo == ado::adNumeric) {
                double v = 0;
                Comprueba(SQLGetData(h_, i, SQL_C_DOUBLE, &v, sizeof v, &indicador));
                fila.push_back(indicador == SQL_NULL_DATA ? Variant::Null() : Variant(v));
            } else {
                bool nulo = false;
                const QString t = Texto(i, nulo);
                if (nulo) {
                    fila.push_back(Variant::Null());
                } else if (tipo == ado::adCurrency) {
                    fila.push_back(Variant(Moneda::DesdeDouble(t.toDouble())));
                } else if (tipo == ado::adDBTimeStamp || tipo == ado::adDBDate) {
                    const auto f = LeeFechaGuardada(t);
                    fila.push_back(f ? Variant(*f) : Variant(t));
                } else {
                    fila.push_back(Variant(t));
                }
            }
        }
        r.filas.push_back(std::move(fila));
    }
    return r;
}

// A value written as a literal of the engine's dialect; texts have their apostrophes doubled.
QString Literal(const Variant& v, bool sqlite) {
    switch (v.Tipo()) {
        case TipoVariant::Empty:
        case TipoVariant::Null:
            return QStringLiteral("NULL");
        case TipoVariant::Boolean:
            return v.ABooleano() ? QStringLiteral("1") : QStringLiteral("0");
        case TipoVariant::Integer:
        case TipoVariant::Long:
            return QString::number(v.ALargo());
        case TipoVariant::Currency: {
            const qint64 e = v.AMoneda().Escalado();
            return QString::number(static_cast<double>(e) / 10000.0, 'f', 4);
        }
        case TipoVariant::Double:
        case TipoVariant::Single:
            return QString::number(v.ADouble(), 'g', 17);
        case TipoVariant::Date:
            return QLatin1Char('\'') +
                   v.AFecha().toString(sqlite ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                              : QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
                   QLatin1Char('\'');
        default:
            return QStringLiteral("N'") + v.ATexto().replace(QLatin1Char('\''), QStringLiteral("''")) +
                   QLatin1Char('\'');
    }
}

QString Corchetes(const QString& nombre) {
    return QLatin1Char('[') + QString(nombre).replace(QLatin1Char(']'), QStringLiteral("]]")) + QLatin1Char(']');
}

bool CumpleRestriccion(const QList<Variant>& restricciones, int i, const Variant& valor, bool vacioCumple = false) {
    if (i >= restricciones.size() || restricciones[i].EsEmpty() || restricciones[i].EsNull()) return true;
    const QString r = Recorta(restricciones[i].ATexto());
    if (r.isEmpty()) return true;
    if (valor.EsNull() || valor.EsEmpty() || Recorta(valor.ATexto()).isEmpty()) return vacioCumple;
    return IgualesTexto(r, Recorta(valor.ATexto()));
}

}  // namespace

QString RutaExtensionSql() {
    const QString junto = QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("libpavenko_sqlext.so"));
    if (QFileInfo::exists(junto)) return junto;
    return QStringLiteral(PAVENKO_SQLEXT_RUTA);
}

MotorOdbc::~MotorOdbc() {
    Cierra();
}

void MotorOdbc::Abre(const QString& cadena) {
    destino_ = ResuelveDestino(cadena);
    QString odbc = destino_.cadenaOdbc;
    // 1. A SQLite file behind the driver: never created, foreign keys on, the project's extension loaded.
    const QString driver = LeeCadena(odbc).value(QStringLiteral("driver"));
    const bool conSqlite = driver.contains(QStringLiteral("sqlite"), Qt::CaseInsensitive);
    if (conSqlite) {
        if (!odbc.trimmed().endsWith(u';')) odbc += QLatin1Char(';');
        const QMap<QString, QString> pares = LeeCadena(odbc);
        if (!pares.contains(QStringLiteral("nocreat"))) odbc += QStringLiteral("NoCreat=1;");
        if (!pares.contains(QStringLiteral("fksupport"))) odbc += QStringLiteral("FKSupport=1;");
        if (!pares.contains(QStringLiteral("loadext")))
            odbc += QStringLiteral("LoadExt=") + RutaExtensionSql() + QLatin1Char(';');
    }
    // 2. Connect.
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &entorno_);
    SQLSetEnvAttr(entorno_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, entorno_, &enlace_);
    SQLSetConnectAttr(enlace_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
    QByteArray texto = odbc.toUtf8();
    SQLCHAR salida[1024];
    SQLSMALLINT largo = 0;
    const SQLRETURN rc =
        SQLDriverConnect(enlace_, nullptr, reinterpret_cast<SQLCHAR*>(texto.data()),
                         static_cast<SQLSMALLINT>(texto.size()), salida, sizeof salida, &largo, SQL_DRIVER_NOPROMPT);
    if (!Exito(rc)) {
        QList<ErrorProveedor> errores = Diagnosticos(SQL_HANDLE_DBC, enlace_, destino_.origen, false);
        Cierra();
        // The SQLite driver refusing a missing file is the server refusing an unknown database.
        if (conSqlite && !QFileInfo::exists(LeeCadena(odbc).value(QStringLiteral("database"))))
            throw ErrorMotor({ErrorBaseDesconocida(destino_.base, destino_.origen)});
        throw ErrorMotor(errores);
    }
    // 3. The dialect follows the engine behind the driver.
    char dbms[128] = {0};
    SQLGetInfo(enlace_, SQL_DBMS_NAME, dbms, sizeof dbms, &largo);
    sqlite_ = QString::fromUtf8(dbms).contains(QStringLiteral("sqlite"), Qt::CaseInsensitive);
    base_ = destino_.base;
    if (!sqlite_) {
        char catalogo[256] = {0};
        SQLINTEGER l = 0;
        if (Exito(SQLGetConnectAttr(enlace_, SQL_ATTR_CURRENT_CATALOG, catalogo, sizeof catalogo, &l)) && catalogo[0])
            base_ = QString::fromUtf8(catalogo);
    }
}

void MotorOdbc::Cierra() {
    if (enlace_) {
        SQLDisconnect(enlace_);
        SQLFreeHandle(SQL_HANDLE_DBC, enlace_);
    }
    if (entorno_) SQLFreeHandle(SQL_HANDLE_ENV, entorno_);
    enlace_ = entorno_ = nullptr;
}

Resultado MotorOdbc::Ejecuta(const QString& sql) {
    // Every result of one text: the last row set is kept, changed rows are added up.
    auto ejecuta = [this](const QString& s) {
        Resultado ultimo;
        long afectados = -1;
        Sentencia st(enlace_, destino_.origen, sqlite_);
        SQLSetStmtAttr(st.h(), SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(tiempoEspera_)), 0);
        QByteArray texto = s.toUtf8();
        st.Comprueba(
            SQLExecDirect(st.h(), reinterpret_cast<SQLCHAR*>(texto.data()), static_cast<SQLINTEGER>(texto.size())));
        for (;;) {
            Resultado r = st.LeeResultado();
            if (r.tieneFilas)
                ultimo = std::move(r);
            else if (r.afectados >= 0)
                afectados = (afectados < 0 ? 0 : afectados) + r.afectados;
            const SQLRETURN mas = SQLMoreResults(st.h());
            if (mas == SQL_NO_DATA) break;
            st.Comprueba(mas);
        }
        if (!ultimo.tieneFilas) ultimo.afectados = afectados;
        return ultimo;
    };
    if (!sqlite_) return ejecuta(sql);
    // To SQLite the text goes through the T-SQL translator and runs as the embedded server runs it.
    LoteTSql lote;
    try {
        lote = TraduceLote(sql);
    } catch (ErrorMotor& e) {
        for (ErrorProveedor& error : e.errores)
            if (error.Source.isEmpty()) error.Source = destino_.origen;
        throw;
    }
    return EjecutaLote(lote, sesionTSql_, [&](const PasoLote&, const QString& s) { return ejecuta(s); });
}

void MotorOdbc::IniciaTransaccion() {
    if (!Exito(SQLSetConnectAttr(enlace_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        throw ErrorMotor(Diagnosticos(SQL_HANDLE_DBC, enlace_, destino_.origen, sqlite_));
}

void MotorOdbc::ConfirmaTransaccion() {
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, enlace_, SQL_COMMIT);
    QList<ErrorProveedor> errores;
    if (!Exito(rc)) errores = Diagnosticos(SQL_HANDLE_DBC, enlace_, destino_.origen, sqlite_);
    SQLSetConnectAttr(enlace_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!errores.isEmpty()) throw ErrorMotor(errores);
}

void MotorOdbc::DeshaceTransaccion() {
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, enlace_, SQL_ROLLBACK);
    QList<ErrorProveedor> errores;
    if (!Exito(rc)) errores = Diagnosticos(SQL_HANDLE_DBC, enlace_, destino_.origen, sqlite_);
    SQLSetConnectAttr(enlace_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!errores.isEmpty()) throw ErrorMotor(errores);
}

Resultado MotorOdbc::Esquema(long tipo, const QList<Variant>& restricciones) {
    Sentencia st(enlace_, destino_.origen, sqlite_);
    Resultado r;
    r.tieneFilas = true;
    if (tipo == ado::adSchemaTables) {
        st.Comprueba(SQLTables(st.h(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0));
        const Resultado odbc = st.LeeResultado();
        r.columnas = ColumnasDelEsquema(ado::adSchemaTables);
        for (const auto& f : odbc.filas) {
            const QList<Variant> fila{f[0], f[1], f[2], f[3]};
            if (CumpleRestriccion(restricciones, 0, fila[0], true) &&
                CumpleRestriccion(restricciones, 1, fila[1], true) && CumpleRestriccion(restricciones, 2, fila[2]) &&
                CumpleRestriccion(restricciones, 3, fila[3]))
                r.filas.push_back(fila);
        }
        return r;
    }
    if (tipo != ado::adSchemaColumns)
        throw ErrorMotor({{-2147217839,
                           QStringLiteral("Object or data matching the name, range, or selection criteria was not "
                                          "found within the scope of this operation."),
                           destino_.origen, QString(), 0}});
    QByteArray tabla;
    if (restricciones.size() > 2 && !restricciones[2].EsEmpty() && !restricciones[2].EsNull())
        tabla = Recorta(restricciones[2].ATexto()).toUtf8();
    st.Comprueba(SQLColumns(st.h(), nullptr, 0, nullptr, 0,
                            tabla.isEmpty() ? nullptr : reinterpret_cast<SQLCHAR*>(tabla.data()),
                            tabla.isEmpty() ? 0 : static_cast<SQLSMALLINT>(tabla.size()), nullptr, 0));
    const Resultado odbc = st.LeeResultado();
    r.columnas = ColumnasDelEsquema(ado::adSchemaColumns);
    for (const auto& f : odbc.filas) {
        // TABLE_CAT, TABLE_SCHEM, TABLE_NAME, COLUMN_NAME, DATA_TYPE, TYPE_NAME, COLUMN_SIZE, BUFFER_LENGTH,
        // DECIMAL_DIGITS, NUM_PREC_RADIX, NULLABLE, REMARKS, COLUMN_DEF, ..., ORDINAL_POSITION (17th)
        if (!CumpleRestriccion(restricciones, 0, f[0], true) || !CumpleRestriccion(restricciones, 1, f[1], true) ||
            !CumpleRestriccion(restricciones, 2, f[2]) || !CumpleRestriccion(restricciones, 3, f[3]))
            continue;
        const int tipoAdo = TipoAdo(static_cast<SQLSMALLINT>(f[4].ALargo()), f[5].EsNull() ? QString() : f[5].ATexto());
        const bool conLargo = tipoAdo == ado::adVarChar || tipoAdo == ado::adVarWChar || tipoAdo == ado::adChar ||
                              tipoAdo == ado::adWChar || tipoAdo == ado::adLongVarChar;
        const Variant posicion = f.size() > 16 && !f[16].EsNull() ? Variant(f[16].ALargo()) : Variant::Null();
        r.filas.push_back({f[0].EsNull() ? Variant(base_) : f[0], f[1], f[2], f[3], posicion,
                           f.size() > 12 ? f[12] : Variant::Null(), Variant(!f[10].EsNull() && f[10].ALargo() != 0),
                           Variant(static_cast<qint32>(tipoAdo)),
                           conLargo && !f[6].EsNull() ? Variant(f[6].ALargo()) : Variant::Null()});
    }
    return r;
}

void MotorOdbc::GrabaFila(const QString& tabla, const QList<Columna>& columnas, const QList<Variant>& original,
                          const QList<Variant>& nueva) {
    auto nombre = [&](int i) {
        return Corchetes(columnas[i].columnaBase.isEmpty() ? columnas[i].nombre : columnas[i].columnaBase);
    };
    QList<int> cambiadas;
    for (int i = 0; i < columnas.size(); ++i)
        if (!nueva[i].EsEmpty() && (original.isEmpty() || !(nueva[i] == original[i]))) cambiadas.push_back(i);
    QString sql;
    if (original.isEmpty()) {
        QStringList nombres, valores;
        for (int i : cambiadas) nombres << nombre(i), valores << Literal(nueva[i], sqlite_);
        sql = cambiadas.isEmpty()
                  ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Corchetes(tabla))
                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(Corchetes(tabla), nombres.join(QStringLiteral(", ")), valores.join(QStringLiteral(", ")));
    } else {
        if (cambiadas.isEmpty()) return;
        // The row is found by its primary key, or by every original value when the table has none.
        QStringList claves;
        {
            Sentencia st(enlace_, destino_.origen, sqlite_);
            QByteArray t = tabla.toUtf8();
            if (Exito(SQLPrimaryKeys(st.h(), nullptr, 0, nullptr, 0, reinterpret_cast<SQLCHAR*>(t.data()),
                                     static_cast<SQLSMALLINT>(t.size()))))
                for (const auto& f : st.LeeResultado().filas) claves << f[3].ATexto();
        }
        QStringList asignaciones, condiciones;
        for (int i : cambiadas) asignaciones << nombre(i) + QStringLiteral(" = ") + Literal(nueva[i], sqlite_);
        for (int i = 0; i < columnas.size(); ++i) {
            const QString c = columnas[i].columnaBase.isEmpty() ? columnas[i].nombre : columnas[i].columnaBase;
            bool esClave = false;
            for (const QString& k : claves) esClave = esClave || IgualesTexto(k, c);
            if (!claves.isEmpty() && !esClave) continue;
            condiciones << (original[i].EsNull() ? nombre(i) + QStringLiteral(" IS NULL")
                                                 : nombre(i) + QStringLiteral(" = ") + Literal(original[i], sqlite_));
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                  .arg(Corchetes(tabla), asignaciones.join(QStringLiteral(", ")),
                       condiciones.join(QStringLiteral(" AND ")));
    }
    const Resultado r = Ejecuta(sql);
    if (!original.isEmpty() && r.afectados == 0)
        throw ErrorMotor({{-2147217864,
                           QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                          "since it was last read."),
                           destino_.origen, QString(), 0}});
}

void MotorOdbc::FijaBaseDeDatos(const QString& nombre) {
    const QString base = Recorta(nombre);
    if (IgualesTexto(base, base_) || destino_.dialecto == Destino::Dialecto::Oracle) return;
    if (!sqlite_) {
        Ejecuta(QStringLiteral("USE ") + Corchetes(base));
        base_ = base;
        return;
    }
    // A SQLite file per database: the same server's string naming the other database.
    Destino otro = destino_;
    otro.base = base;
    MotorOdbc nuevo;
    nuevo.FijaTiempoEspera(tiempoEspera_);
    nuevo.Abre(CadenaDeInforme(otro, base));
    Cierra();
    std::swap(entorno_, nuevo.entorno_);
    std::swap(enlace_, nuevo.enlace_);
    destino_ = nuevo.destino_;
    base_ = base;
}
