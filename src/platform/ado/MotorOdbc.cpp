// The ODBC engine through the driver manager, on the wide (UTF-16) calls so that text is Unicode end to end (a
// driver with no wide calls, such as SQLite's, gets UTF-8 through the narrow ones, which it takes as its own):
// SQLDriverConnectW, SQLExecDirectW with every result of a batch, column descriptions as ADO types, every
// diagnostic record into the provider errors with the provider's number, SQLTablesW and SQLColumnsW for the
// schema, manual commit for transactions, and record-set rows written back with bound typed parameters.
#include "MotorOdbc.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <vector>

#include "AdaptaTSql.h"
#include "ErrorEjecucion.h"
#include "ErroresSqlite.h"
#include "ExtensionSql.h"
#include "MotorOdbcErrores.h"
#include "MotorSqlite.h"
#include "Numeros.h"
#include "Proceso.h"
#include "Texto.h"

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide characters are UTF-16 units");

namespace {

bool Exito(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

SQLWCHAR* Ancho(const QString& s) {
    return reinterpret_cast<SQLWCHAR*>(const_cast<ushort*>(s.utf16()));
}

// The units as they came: no byte-order mark taken away, half a surrogate pair kept for the next piece.
QString DeAncho(const SQLWCHAR* s, qsizetype largo = -1) {
    if (largo < 0) {
        largo = 0;
        while (s[largo]) ++largo;
    }
    return QString(reinterpret_cast<const QChar*>(s), largo);
}

// A text for the narrow calls of a driver that speaks UTF-8.
struct Estrecho {
    explicit Estrecho(const QString& s) : bytes(s.toUtf8()) {}
    SQLCHAR* p() { return reinterpret_cast<SQLCHAR*>(bytes.data()); }
    QByteArray bytes;
};

SQLRETURN EjecutaTexto(SQLHSTMT h, const QString& sql, bool estrecho) {
    if (!estrecho) return SQLExecDirectW(h, Ancho(sql), static_cast<SQLINTEGER>(sql.size()));
    Estrecho t(sql);
    return SQLExecDirect(h, t.p(), static_cast<SQLINTEGER>(t.bytes.size()));
}

// Whether the driver holds the connection for lost (a server gone away, a broken socket).
bool EnlacePerdido(SQLHDBC enlace) {
    SQLUINTEGER muerto = SQL_CD_FALSE;
    return enlace && Exito(SQLGetConnectAttrW(enlace, SQL_ATTR_CONNECTION_DEAD, &muerto, 0, nullptr)) &&
           muerto == SQL_CD_TRUE;
}

using Contexto = ContextoOdbc;

// Every diagnostic record of a handle. Through the SQLite driver, SQLite's texts become the server's errors.
QList<ErrorProveedor> Diagnosticos(SQLSMALLINT tipo, SQLHANDLE h, const Contexto& ctx) {
    struct Registro {
        QString estado, texto;
        SQLINTEGER nativo;
    };
    std::vector<Registro> registros;
    for (SQLSMALLINT registro = 1;; ++registro) {
        SQLINTEGER nativo = 0;
        SQLSMALLINT largo = 0;
        if (ctx.estrecho) {
            SQLCHAR estado[8] = {0};
            SQLCHAR mensaje[2048] = {0};
            if (!Exito(SQLGetDiagRec(tipo, h, registro, estado, &nativo, mensaje, sizeof mensaje, &largo))) break;
            registros.push_back({QString::fromLatin1(reinterpret_cast<const char*>(estado)),
                                 QString::fromUtf8(reinterpret_cast<const char*>(mensaje)), nativo});
            continue;
        }
        SQLWCHAR estado[8] = {0};
        SQLWCHAR mensaje[2048] = {0};
        if (!Exito(SQLGetDiagRecW(tipo, h, registro, estado, &nativo, mensaje, 2048, &largo))) break;
        registros.push_back({DeAncho(estado), DeAncho(mensaje, qMin<qsizetype>(largo, 2047)), nativo});
    }
    // Asked after the records are read: asking the connection clears its own diagnostics.
    const bool perdido = !ctx.sqlite && EnlacePerdido(ctx.enlace);
    QList<ErrorProveedor> errores;
    for (const Registro& r : registros) {
        QString texto = r.texto;
        // "[FreeTDS][SQL Server]Invalid object name 'X'." reads as the OLE DB provider gives it.
        while (ctx.origen != Origen::Odbc && texto.startsWith(u'[') && texto.indexOf(u']') > 0)
            texto = texto.mid(texto.indexOf(u']') + 1);
        if (ctx.sqlite) {
            QList<ErrorProveedor> traducidos = ErroresDeSqlite(static_cast<int>(r.nativo), texto, ctx.origen);
            if (traducidos.size() == 1 && traducidos.front().NativeError == r.nativo)
                traducidos.front().SQLState = r.estado;
            errores += traducidos;
        } else {
            const NumeroOdbc n = NumeroDeDiagnostico(ctx.familia, r.estado, r.nativo, perdido);
            errores.push_back({n.numero, n.descripcion.isEmpty() ? texto : n.descripcion, ctx.origen, r.estado,
                               static_cast<long>(r.nativo)});
        }
    }
    if (errores.isEmpty())
        errores.push_back({perdido ? Err::ErrorNoEspecificado : ErrOdbc::OtrosErrores,
                           QStringLiteral("Unspecified error"), ctx.origen, QStringLiteral("HY000"), 0});
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

// text, ntext, CLOBs and long binaries: a server cannot compare them with "=".
bool EsLargo(int tipo) {
    return tipo == ado::adLongVarChar || tipo == ado::adLongVarWChar || tipo == ado::adLongVarBinary;
}

bool EsFecha(int tipo) {
    return tipo == ado::adDBTimeStamp || tipo == ado::adDBDate || tipo == ado::adDate;
}

bool EsEntero(int tipo) {
    return tipo == ado::adInteger || tipo == ado::adSmallInt || tipo == ado::adUnsignedTinyInt ||
           tipo == ado::adTinyInt || tipo == ado::adBigInt;
}

// ---- Exact decimals ----

// A decimal as the server writes it ("-1234.5600", "1234,56"), reduced to sign, integer digits and
// decimals without leading or trailing zeros; nullopt when it is no plain decimal.
struct Decimal {
    bool negativo = false;
    QString entero;     // without leading zeros
    QString decimales;  // without trailing zeros
    QString Texto() const {
        QString t = negativo ? QStringLiteral("-") : QString();
        t += entero.isEmpty() ? QStringLiteral("0") : entero;
        if (!decimales.isEmpty()) t += QLatin1Char('.') + decimales;
        return t;
    }
    qsizetype Significativas() const {
        qsizetype n = entero.size() + decimales.size();
        if (entero.isEmpty())
            for (QChar c : decimales) {
                if (c != u'0') break;
                --n;
            }
        return n;
    }
};

std::optional<Decimal> LeeDecimal(QString t) {
    t = t.trimmed();
    Decimal d;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) d.negativo = t[i++] == u'-';
    const qsizetype separador = t.indexOf(u'.') >= 0 ? t.indexOf(u'.') : t.indexOf(u',');
    const QString entero = t.mid(i, separador < 0 ? -1 : separador - i);
    const QString decimales = separador < 0 ? QString() : t.mid(separador + 1);
    if (entero.isEmpty() && decimales.isEmpty()) return std::nullopt;
    for (QChar c : entero + decimales)
        if (c < u'0' || c > u'9') return std::nullopt;
    qsizetype a = 0;
    while (a < entero.size() && entero[a] == u'0') ++a;
    d.entero = entero.mid(a);
    qsizetype b = decimales.size();
    while (b > 0 && decimales[b - 1] == u'0') --b;
    d.decimales = decimales.left(b);
    if (d.entero.isEmpty() && d.decimales.isEmpty()) d.negativo = false;
    return d;
}

// A decimal into currency, exactly: four decimals, the rest rounded half to even.
std::optional<Moneda> MonedaDeDecimal(const Decimal& d) {
    if (d.entero.size() > 15) return std::nullopt;
    const QString cuatro = (d.decimales + QStringLiteral("0000")).left(4);
    qint64 v = (d.entero.isEmpty() ? 0 : d.entero.toLongLong()) * 10000 + cuatro.toLongLong();
    if (d.decimales.size() > 4) {
        const QString resto = d.decimales.mid(4);
        const bool masDeMedio = resto[0] > u'5' || (resto[0] == u'5' && resto.size() > 1);
        if (masDeMedio || (resto[0] == u'5' && resto.size() == 1 && v % 2 == 1)) ++v;
    }
    if (v > 922337203685477LL * 10000 + 5807) return std::nullopt;
    return Moneda::DesdeEscalado(d.negativo ? -v : v);
}

// A decimal column's value: a double when a double holds it to its last digit, else its exact text.
Variant VariantDeDecimal(const QString& texto, int tipo) {
    const std::optional<Decimal> d = LeeDecimal(texto);
    if (!d) return Variant(texto);
    if (tipo == ado::adCurrency)
        if (const auto m = MonedaDeDecimal(*d)) return Variant(*m);
    if (d->Significativas() <= 15) return Variant(d->Texto().toDouble());
    return Variant(d->Texto());
}

// A value as the decimal text a numeric column takes, without passing through a double where it is not one.
QString TextoDecimal(const Variant& v) {
    switch (v.Tipo()) {
        case TipoVariant::Currency: {
            const qint64 e = v.AMoneda().Escalado();
            const quint64 a = e < 0 ? static_cast<quint64>(-(e + 1)) + 1 : static_cast<quint64>(e);
            return (e < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10000) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(a % 10000, 4, 10, QLatin1Char('0'));
        }
        case TipoVariant::Boolean:
            return v.ABooleano() ? QStringLiteral("-1") : QStringLiteral("0");
        case TipoVariant::Integer:
        case TipoVariant::Long:
            return QString::number(v.ALargo());
        case TipoVariant::String:
            if (const auto d = LeeDecimal(v.ATexto()); d && !v.ATexto().contains(u',')) return d->Texto();
            [[fallthrough]];
        default: {
            // A double keeps 15 significant digits, as the platform converts it to a decimal.
            const double x = v.ADouble();
            if (x == 0 || !std::isfinite(x)) return QStringLiteral("0");
            const int enteras = static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 1;
            const QString t = QString::number(x, 'f', qBound(0, 15 - enteras, 30));
            return LeeDecimal(t) ? LeeDecimal(t)->Texto() : t;
        }
    }
}

// ---- Statements ----

class Sentencia {
  public:
    Sentencia(const Contexto& ctx, long tiempoEspera) : ctx_(ctx) {
        SQLAllocHandle(SQL_HANDLE_STMT, ctx.enlace, &h_);
        if (tiempoEspera >= 0)
            SQLSetStmtAttrW(h_, SQL_ATTR_QUERY_TIMEOUT,
                            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(tiempoEspera)), 0);
    }
    ~Sentencia() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    SQLHSTMT h() const { return h_; }
    void Comprueba(SQLRETURN rc) const {
        if (rc == SQL_INVALID_HANDLE)
            throw ErrorMotor({{Err::ErrorNoEspecificado, QStringLiteral("Invalid handle"), ctx_.origen,
                               QStringLiteral("HY000"), 0}});
        if (!Exito(rc) && rc != SQL_NO_DATA) throw ErrorMotor(Diagnosticos(SQL_HANDLE_STMT, h_, ctx_));
    }
    Resultado LeeResultado();
    QString Texto(SQLUSMALLINT columna, bool& nulo);

  private:
    QString TextoEstrecho(SQLUSMALLINT columna, bool& nulo);

    SQLHSTMT h_ = nullptr;
    const Contexto& ctx_;
};

QString Sentencia::Texto(SQLUSMALLINT columna, bool& nulo) {
    if (ctx_.estrecho) return TextoEstrecho(columna, nulo);
    QString datos;
    constexpr SQLLEN kCaracteres = 4096;
    SQLWCHAR trozo[kCaracteres];
    nulo = false;
    for (;;) {
        SQLLEN indicador = 0;
        const SQLRETURN rc = SQLGetData(h_, columna, SQL_C_WCHAR, trozo, sizeof trozo, &indicador);
        if (rc == SQL_NO_DATA) break;
        Comprueba(rc);
        if (indicador == SQL_NULL_DATA) {
            nulo = true;
            return {};
        }
        // The indicator counts bytes; a piece that did not fit fills the buffer but for its terminator.
        const SQLLEN enBuffer = static_cast<SQLLEN>(sizeof trozo) - static_cast<SQLLEN>(sizeof(SQLWCHAR));
        const SQLLEN bytes = (indicador == SQL_NO_TOTAL || indicador > enBuffer) ? enBuffer : indicador;
        datos += DeAncho(trozo, bytes / static_cast<SQLLEN>(sizeof(SQLWCHAR)));
        if (rc == SQL_SUCCESS) break;
    }
    return datos;
}

QString Sentencia::TextoEstrecho(SQLUSMALLINT columna, bool& nulo) {
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
        SQLWCHAR nombre[256] = {0};
        SQLCHAR nombreEstrecho[512] = {0};
        SQLSMALLINT largoNombre = 0, tipoSql = 0, decimales = 0, nulos = 0;
        SQLULEN tamano = 0;
        if (ctx_.estrecho)
            Comprueba(SQLDescribeCol(h_, i, nombreEstrecho, sizeof nombreEstrecho, &largoNombre, &tipoSql, &tamano,
                                     &decimales, &nulos));
        else
            Comprueba(SQLDescribeColW(h_, i, nombre, 256, &largoNombre, &tipoSql, &tamano, &decimales, &nulos));
        auto atributo = [&](SQLUSMALLINT campo) {
            SQLSMALLINT largo = 0;
            if (ctx_.estrecho) {
                char texto[512] = {0};
                if (!Exito(SQLColAttribute(h_, i, campo, texto, sizeof texto, &largo, nullptr))) return QString();
                return QString::fromUtf8(texto);
            }
            SQLWCHAR texto[256] = {0};
            if (!Exito(SQLColAttributeW(h_, i, campo, texto, sizeof texto, &largo, nullptr))) return QString();
            return DeAncho(texto);
        };
        Columna c;
        c.nombre = ctx_.estrecho ? QString::fromUtf8(reinterpret_cast<const char*>(nombreEstrecho)) : DeAncho(nombre);
        c.tipo = TipoAdo(tipoSql, atributo(SQL_DESC_TYPE_NAME));
        c.tamano = static_cast<long>(tamano);
        c.tablaBase = atributo(SQL_DESC_BASE_TABLE_NAME);
        c.columnaBase = atributo(SQL_DESC_BASE_COLUMN_NAME);
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
            if (EsEntero(tipo) || tipo == ado::adBoolean) {
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
            } else if (tipo == ado::adDouble || tipo == ado::adSingle) {
                double v = 0;
                Comprueba(SQLGetData(h_, i, SQL_C_DOUBLE, &v, sizeof v, &indicador));
                fila.push_back(indicador == SQL_NULL_DATA ? Variant::Null() : Variant(v));
            } else {
                // Everything else as text, decimals and money included: no value passes through a double.
                bool nulo = false;
                const QString t = Texto(i, nulo);
                if (nulo) {
                    fila.push_back(Variant::Null());
                } else if (tipo == ado::adCurrency || tipo == ado::adNumeric) {
                    fila.push_back(VariantDeDecimal(t, tipo));
                } else if (EsFecha(tipo)) {
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

// ---- Bound parameters ----

// One parameter of a statement, with the buffer it points to.
struct Parametro {
    SQLSMALLINT tipoC = SQL_C_WCHAR;
    SQLSMALLINT tipoSql = SQL_WVARCHAR;
    SQLULEN tamano = 1;
    SQLSMALLINT decimales = 0;
    QString texto;
    QByteArray bytes;  // the text in UTF-8, for a driver without wide calls
    SQLBIGINT entero = 0;
    double real = 0;
    unsigned char bit = 0;
    SQL_TIMESTAMP_STRUCT fecha{};
    SQLLEN indicador = 0;

    SQLPOINTER Datos() {
        switch (tipoC) {
            case SQL_C_SBIGINT:
                return &entero;
            case SQL_C_DOUBLE:
                return &real;
            case SQL_C_BIT:
                return &bit;
            case SQL_C_TYPE_TIMESTAMP:
                return &fecha;
            case SQL_C_CHAR:
                return bytes.data();
            default:
                return Ancho(texto);
        }
    }
};

SQLSMALLINT TipoSqlDeAdo(int tipo) {
    switch (tipo) {
        case ado::adInteger:
            return SQL_INTEGER;
        case ado::adSmallInt:
        case ado::adTinyInt:
        case ado::adUnsignedTinyInt:
            return SQL_SMALLINT;
        case ado::adBigInt:
            return SQL_BIGINT;
        case ado::adBoolean:
            return SQL_BIT;
        case ado::adSingle:
            return SQL_REAL;
        case ado::adDouble:
            return SQL_DOUBLE;
        case ado::adCurrency:
        case ado::adNumeric:
            return SQL_DECIMAL;
        case ado::adDBTimeStamp:
        case ado::adDate:
        case ado::adDBDate:
            return SQL_TYPE_TIMESTAMP;
        case ado::adLongVarChar:
        case ado::adLongVarWChar:
            return SQL_WLONGVARCHAR;
        default:
            return SQL_WVARCHAR;
    }
}

// A value typed by the column it goes to: text as wide characters, dates with their milliseconds, money and
// decimals as exact decimal text, Null as Null. The SQLite driver takes dates in the form its files keep.
Parametro ParametroDe(const Variant& v, int tipoColumna, bool sqlite) {
    Parametro p;
    p.tipoSql = TipoSqlDeAdo(tipoColumna);
    if (v.EsNull() || v.EsEmpty()) {
        p.indicador = SQL_NULL_DATA;
        if (p.tipoSql == SQL_DECIMAL) p.tamano = 19, p.decimales = 4;
        if (p.tipoSql == SQL_TYPE_TIMESTAMP) p.tamano = 23, p.decimales = 3;
        if (p.tipoSql == SQL_WVARCHAR || p.tipoSql == SQL_WLONGVARCHAR) p.tamano = 1;
        if (p.tipoSql == SQL_TYPE_TIMESTAMP || p.tipoSql == SQL_DECIMAL) p.tipoC = SQL_C_WCHAR;
        return p;
    }
    switch (p.tipoSql) {
        case SQL_INTEGER:
        case SQL_SMALLINT:
        case SQL_BIGINT:
            p.tipoC = SQL_C_SBIGINT;
            p.entero = v.Tipo() == TipoVariant::Boolean ? (v.ABooleano() ? -1 : 0) : v.ALargo();
            return p;
        case SQL_BIT:
            p.tipoC = SQL_C_BIT;
            p.bit = v.ABooleano() ? 1 : 0;
            return p;
        case SQL_REAL:
        case SQL_DOUBLE:
            p.tipoC = SQL_C_DOUBLE;
            p.real = v.ADouble();
            return p;
        case SQL_DECIMAL: {
            p.texto = TextoDecimal(v);
            const Decimal d = *LeeDecimal(p.texto);
            p.decimales = static_cast<SQLSMALLINT>(d.decimales.size());
            p.tamano = static_cast<SQLULEN>(qMax<qsizetype>(1, d.entero.size() + d.decimales.size()));
            p.indicador = SQL_NTS;
            return p;
        }
        case SQL_TYPE_TIMESTAMP: {
            const QDateTime f = v.AFecha();
            if (sqlite) {
                p.tipoSql = SQL_WVARCHAR;
                p.texto = f.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                p.tamano = static_cast<SQLULEN>(p.texto.size());
                p.indicador = SQL_NTS;
                return p;
            }
            p.tipoC = SQL_C_TYPE_TIMESTAMP;
            p.fecha.year = static_cast<SQLSMALLINT>(f.date().year());
            p.fecha.month = static_cast<SQLUSMALLINT>(f.date().month());
            p.fecha.day = static_cast<SQLUSMALLINT>(f.date().day());
            p.fecha.hour = static_cast<SQLUSMALLINT>(f.time().hour());
            p.fecha.minute = static_cast<SQLUSMALLINT>(f.time().minute());
            p.fecha.second = static_cast<SQLUSMALLINT>(f.time().second());
            p.fecha.fraction = static_cast<SQLUINTEGER>(f.time().msec()) * 1000000u;
            p.tamano = 23;
            p.decimales = 3;
            return p;
        }
        default:
            p.texto = v.ATexto();
            p.tamano = static_cast<SQLULEN>(qMax<qsizetype>(1, p.texto.size()));
            // A text longer than the server's longest plain text goes as a long one.
            if (p.tamano > 4000) p.tipoSql = SQL_WLONGVARCHAR;
            p.indicador = SQL_NTS;
            return p;
    }
}

// Runs one statement with its parameters bound; the rows it changed.
long EjecutaConParametros(const Contexto& ctx, long tiempoEspera, const QString& sql,
                          std::vector<Parametro>& parametros) {
    Sentencia st(ctx, tiempoEspera);
    for (std::size_t i = 0; i < parametros.size(); ++i) {
        Parametro& p = parametros[i];
        if (ctx.estrecho && p.tipoC == SQL_C_WCHAR) {
            p.tipoC = SQL_C_CHAR;
            p.bytes = p.texto.toUtf8();
            if (p.tipoSql == SQL_WVARCHAR) p.tipoSql = SQL_VARCHAR;
            if (p.tipoSql == SQL_WLONGVARCHAR) p.tipoSql = SQL_LONGVARCHAR;
            if (p.tipoSql == SQL_VARCHAR || p.tipoSql == SQL_LONGVARCHAR)
                p.tamano = static_cast<SQLULEN>(qMax<qsizetype>(1, p.bytes.size()));
        }
        const SQLLEN largoBuffer = p.tipoC == SQL_C_WCHAR ? static_cast<SQLLEN>((p.texto.size() + 1) * sizeof(SQLWCHAR))
                                   : p.tipoC == SQL_C_CHAR ? static_cast<SQLLEN>(p.bytes.size() + 1)
                                                           : 0;
        st.Comprueba(SQLBindParameter(st.h(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, p.tipoC, p.tipoSql,
                                      p.tamano, p.decimales, p.Datos(), largoBuffer, &p.indicador));
    }
    st.Comprueba(EjecutaTexto(st.h(), sql, ctx.estrecho));
    SQLLEN filas = -1;
    SQLRowCount(st.h(), &filas);
    return static_cast<long>(filas);
}

bool CumpleRestriccion(const QList<Variant>& restricciones, int i, const Variant& valor, bool vacioCumple = false) {
    if (i >= restricciones.size() || restricciones[i].EsEmpty() || restricciones[i].EsNull()) return true;
    const QString r = Recorta(restricciones[i].ATexto());
    if (r.isEmpty()) return true;
    if (valor.EsNull() || valor.EsEmpty() || Recorta(valor.ATexto()).isEmpty()) return vacioCumple;
    return IgualesTexto(r, Recorta(valor.ATexto()));
}

}  // namespace

// ---- For the tests of the exact conversions ----

Variant ValorDecimalOdbc(const QString& texto, int tipoAdo) {
    return VariantDeDecimal(texto, tipoAdo);
}

QString TextoDecimalOdbc(const Variant& valor) {
    return TextoDecimal(valor);
}

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
    // A SQLite file behind the driver: never created, foreign keys on, the project's extension loaded.
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
    // Oracle's client takes its character set from the environment: Unicode, whatever the workstation set.
    if (destino_.dialecto == Destino::Dialecto::Oracle)
        qputenv("NLS_LANG", NlsLangUnicode(qEnvironmentVariable("NLS_LANG")).toLatin1());
    // Until the server names itself, its errors read by the provider the connection string names.
    sqlite_ = false;
    familia_ = destino_.dialecto == Destino::Dialecto::Oracle      ? FamiliaServidor::Oracle
               : destino_.dialecto == Destino::Dialecto::SqlServer ? FamiliaServidor::SqlServer
                                                                   : FamiliaServidor::Otra;
    // Connect.
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &entorno_);
    SQLSetEnvAttr(entorno_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, entorno_, &enlace_);
    SQLSetConnectAttrW(enlace_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
    SQLWCHAR salida[1024];
    SQLSMALLINT largo = 0;
    estrecho_ = conSqlite;
    Estrecho odbcEstrecho(odbc);
    const SQLRETURN rc =
        estrecho_
            ? SQLDriverConnect(enlace_, nullptr, odbcEstrecho.p(), static_cast<SQLSMALLINT>(odbcEstrecho.bytes.size()),
                               nullptr, 0, &largo, SQL_DRIVER_NOPROMPT)
            : SQLDriverConnectW(enlace_, nullptr, Ancho(odbc), static_cast<SQLSMALLINT>(odbc.size()), salida, 1024,
                                &largo, SQL_DRIVER_NOPROMPT);
    if (!Exito(rc)) {
        const QList<ErrorProveedor> errores = Diagnosticos(SQL_HANDLE_DBC, enlace_, ContextoDeErrores());
        Cierra();
        // The SQLite driver refusing a missing file is the server refusing an unknown database.
        if (conSqlite && !QFileInfo::exists(LeeCadena(odbc).value(QStringLiteral("database"))))
            throw ErrorMotor({ErrorBaseDesconocida(destino_.base, destino_.origen)});
        throw ErrorMotor(errores);
    }
    // The dialect and the reading of native codes follow the engine behind the driver.
    SQLWCHAR texto[256] = {0};
    SQLGetInfoW(enlace_, SQL_DBMS_NAME, texto, sizeof texto, &largo);
    const QString dbms = DeAncho(texto);
    sqlite_ = dbms.contains(QStringLiteral("sqlite"), Qt::CaseInsensitive);
    if (!sqlite_) familia_ = FamiliaDeServidor(dbms);
    // The driver's identifier quote (a blank when it has none) and how it folds unquoted names.
    SQLWCHAR comilla[8] = {0};
    comilla_ = Exito(SQLGetInfoW(enlace_, SQL_IDENTIFIER_QUOTE_CHAR, comilla, sizeof comilla, &largo))
                   ? DeAncho(comilla).trimmed()
                   : QStringLiteral("\"");
    SQLUSMALLINT caso = SQL_IC_MIXED;
    SQLGetInfoW(enlace_, SQL_IDENTIFIER_CASE, &caso, sizeof caso, nullptr);
    casoIdentificadores_ = caso;
    base_ = destino_.base;
    if (!sqlite_) {
        SQLWCHAR catalogo[256] = {0};
        SQLINTEGER l = 0;
        if (Exito(SQLGetConnectAttrW(enlace_, SQL_ATTR_CURRENT_CATALOG, catalogo, sizeof catalogo, &l)) && catalogo[0])
            base_ = DeAncho(catalogo);
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

ContextoOdbc MotorOdbc::ContextoDeErrores() const {
    return {destino_.origen, sqlite_, estrecho_, familia_, enlace_};
}

void MotorOdbc::ExigeEnlace() const {
    if (!enlace_) throw ErrorMotor({}, Err::ConexionInutilizable);
}

Resultado MotorOdbc::Ejecuta(const QString& sql) {
    ExigeEnlace();
    const Contexto ctx = ContextoDeErrores();
    // Every result of one text: the last row set is kept, changed rows are added up.
    auto ejecuta = [this, &ctx](const QString& s) {
        Resultado ultimo;
        long afectados = -1;
        Sentencia st(ctx, tiempoEspera_);
        st.Comprueba(EjecutaTexto(st.h(), s, ctx.estrecho));
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
    ExigeEnlace();
    if (!Exito(SQLSetConnectAttrW(enlace_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        throw ErrorMotor(Diagnosticos(SQL_HANDLE_DBC, enlace_, ContextoDeErrores()));
}

void MotorOdbc::ConfirmaTransaccion() {
    TerminaTransaccion(SQL_COMMIT);
}

void MotorOdbc::DeshaceTransaccion() {
    TerminaTransaccion(SQL_ROLLBACK);
}

void MotorOdbc::TerminaTransaccion(short como) {
    ExigeEnlace();
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, enlace_, como);
    QList<ErrorProveedor> errores;
    if (!Exito(rc)) errores = Diagnosticos(SQL_HANDLE_DBC, enlace_, ContextoDeErrores());
    SQLSetConnectAttrW(enlace_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!errores.isEmpty()) throw ErrorMotor(errores);
}

Resultado MotorOdbc::Esquema(long tipo, const QList<Variant>& restricciones) {
    ExigeEnlace();
    const Contexto ctx = ContextoDeErrores();
    Sentencia st(ctx, tiempoEspera_);
    Resultado r;
    r.tieneFilas = true;
    if (tipo == ado::adSchemaTables) {
        st.Comprueba(SQLTablesW(st.h(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0));
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
    QString tabla;
    if (restricciones.size() > 2 && !restricciones[2].EsEmpty() && !restricciones[2].EsNull())
        tabla = Recorta(restricciones[2].ATexto());
    Estrecho tablaEstrecha(tabla);
    if (estrecho_)
        st.Comprueba(SQLColumns(st.h(), nullptr, 0, nullptr, 0, tabla.isEmpty() ? nullptr : tablaEstrecha.p(),
                                static_cast<SQLSMALLINT>(tablaEstrecha.bytes.size()), nullptr, 0));
    else
        st.Comprueba(SQLColumnsW(st.h(), nullptr, 0, nullptr, 0, tabla.isEmpty() ? nullptr : Ancho(tabla),
                                 static_cast<SQLSMALLINT>(tabla.size()), nullptr, 0));
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

QString MotorOdbc::Cita(const QString& nombre) const {
    if (comilla_.isEmpty()) return nombre;
    return comilla_ + QString(nombre).replace(comilla_, comilla_ + comilla_) + comilla_;
}

QString MotorOdbc::NombreSinCitar(const QString& nombre) const {
    // An unquoted name as the server keeps it: upper case on Oracle, lower case where the server folds so.
    if (casoIdentificadores_ == SQL_IC_UPPER) return nombre.toUpper();
    if (casoIdentificadores_ == SQL_IC_LOWER) return nombre.toLower();
    return nombre;
}

QStringList MotorOdbc::ClavePrimaria(const QString& esquema, const QString& tabla) {
    QStringList claves;
    const Contexto ctx = ContextoDeErrores();
    Sentencia st(ctx, tiempoEspera_);
    Estrecho esquemaEstrecho(esquema), tablaEstrecha(tabla);
    const SQLRETURN rc = estrecho_
                             ? SQLPrimaryKeys(st.h(), nullptr, 0, esquema.isEmpty() ? nullptr : esquemaEstrecho.p(),
                                              static_cast<SQLSMALLINT>(esquemaEstrecho.bytes.size()), tablaEstrecha.p(),
                                              static_cast<SQLSMALLINT>(tablaEstrecha.bytes.size()))
                             : SQLPrimaryKeysW(st.h(), nullptr, 0, esquema.isEmpty() ? nullptr : Ancho(esquema),
                                               static_cast<SQLSMALLINT>(esquema.size()), Ancho(tabla),
                                               static_cast<SQLSMALLINT>(tabla.size()));
    if (Exito(rc))
        for (const auto& f : st.LeeResultado().filas) claves << f[3].ATexto();
    return claves;
}

void MotorOdbc::GrabaFila(const QString& tabla, const QList<Columna>& columnas, const QList<Variant>& original,
                          const QList<Variant>& nueva) {
    ExigeEnlace();
    // The base table as the driver describes the result; without a description, the name the statement read,
    // as the server keeps an unquoted name.
    QString tablaBase;
    for (const Columna& c : columnas)
        if (!c.tablaBase.isEmpty() && (tablaBase.isEmpty() || IgualesTexto(c.tablaBase, tabla)))
            tablaBase = c.tablaBase;
    const bool descrita = !tablaBase.isEmpty();
    QString esquema;
    if (!descrita) {
        tablaBase = tabla;
        const qsizetype punto = tablaBase.lastIndexOf(u'.');
        if (punto > 0) esquema = tablaBase.left(punto), tablaBase = tablaBase.mid(punto + 1);
        tablaBase = NombreSinCitar(tablaBase);
        esquema = NombreSinCitar(esquema);
    }
    // The columns of that table: a computed column or one of another joined table is not written.
    auto propia = [&](int i) {
        return !descrita || (IgualesTexto(columnas[i].tablaBase, tablaBase) && !columnas[i].columnaBase.isEmpty());
    };
    auto nombre = [&](int i) {
        return columnas[i].columnaBase.isEmpty() ? columnas[i].nombre : columnas[i].columnaBase;
    };
    const QString destino = (esquema.isEmpty() ? QString() : Cita(esquema) + QLatin1Char('.')) + Cita(tablaBase);

    QList<int> cambiadas;
    for (int i = 0; i < columnas.size(); ++i)
        if (propia(i) && !nueva[i].EsEmpty() && (original.isEmpty() || !(nueva[i] == original[i])))
            cambiadas.push_back(i);
    std::vector<Parametro> parametros;
    QString sql;
    if (original.isEmpty()) {
        QStringList nombres, marcas;
        for (int i : cambiadas) {
            nombres << Cita(nombre(i));
            marcas << QStringLiteral("?");
            parametros.push_back(ParametroDe(nueva[i], columnas[i].tipo, sqlite_));
        }
        sql = cambiadas.isEmpty() ? QStringLiteral("INSERT INTO ") + destino + QStringLiteral(" DEFAULT VALUES")
                                  : QStringLiteral("INSERT INTO ") + destino + QStringLiteral(" (") +
                                        nombres.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                        marcas.join(QStringLiteral(", ")) + QStringLiteral(")");
        EjecutaConParametros(ContextoDeErrores(), tiempoEspera_, sql, parametros);
        return;
    }
    if (cambiadas.isEmpty()) return;
    // The row is found by its primary key when the record set holds every key column with a value; otherwise
    // by every old value a server can compare (long texts and binaries left out).
    const QStringList claves = ClavePrimaria(esquema, tablaBase);
    QList<int> ubicacion;
    for (const QString& k : claves)
        for (int i = 0; i < columnas.size(); ++i)
            if (propia(i) && IgualesTexto(nombre(i), k) && !original[i].EsNull()) {
                ubicacion.push_back(i);
                break;
            }
    if (claves.isEmpty() || ubicacion.size() != claves.size()) {
        ubicacion.clear();
        for (int i = 0; i < columnas.size(); ++i)
            if (propia(i) && !EsLargo(columnas[i].tipo) && columnas[i].tipo != ado::adVarBinary) ubicacion.push_back(i);
    }
    QStringList asignaciones, condiciones;
    for (int i : cambiadas) {
        asignaciones << Cita(nombre(i)) + QStringLiteral(" = ?");
        parametros.push_back(ParametroDe(nueva[i], columnas[i].tipo, sqlite_));
    }
    for (int i : ubicacion) {
        if (original[i].EsNull() || original[i].EsEmpty()) {
            condiciones << Cita(nombre(i)) + QStringLiteral(" IS NULL");
            continue;
        }
        condiciones << Cita(nombre(i)) + QStringLiteral(" = ?");
        parametros.push_back(ParametroDe(original[i], columnas[i].tipo, sqlite_));
    }
    sql = QStringLiteral("UPDATE ") + destino + QStringLiteral(" SET ") + asignaciones.join(QStringLiteral(", ")) +
          (condiciones.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" AND ")));
    if (EjecutaConParametros(ContextoDeErrores(), tiempoEspera_, sql, parametros) == 0)
        throw ErrorMotor({{-2147217864,
                           QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                          "since it was last read."),
                           destino_.origen, QString(), 0}});
}

void MotorOdbc::FijaBaseDeDatos(const QString& nombre) {
    const QString base = Recorta(nombre);
    if (IgualesTexto(base, base_) || destino_.dialecto == Destino::Dialecto::Oracle) return;
    if (!sqlite_) {
        Ejecuta(QStringLiteral("USE ") + QLatin1Char('[') + QString(base).replace(u']', QStringLiteral("]]")) +
                QLatin1Char(']'));
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
    comilla_ = nuevo.comilla_;
    estrecho_ = nuevo.estrecho_;
    casoIdentificadores_ = nuevo.casoIdentificadores_;
    base_ = base;
}
