// The T-SQL translator: a tokenizer that keeps literals, bracketed and quoted names and comments whole; a batch
// parser that splits statements by their grammar and reads IF/ELSE, BEGIN...END, DECLARE and SET; and a
// statement translator that writes each statement in SQLite's dialect with SQL Server's meaning (types,
// operators, collation, TOP), refusing by name what it does not support.
#include "AdaptaTSql.h"

#include <QHash>
#include <QList>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "ErrorEjecucion.h"

using namespace Qt::StringLiterals;

namespace {

enum class Clase { Blanco, Comentario, Literal, Nombre, Palabra, Numero, Simbolo };

struct Token {
    Clase clase;
    qsizetype ini;
    qsizetype largo;
    bool prefijoN = false;  // a literal written N'...': the token starts at the quote
};

bool EsLetra(QChar c) {
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

bool EsBlanco(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

[[noreturn]] void FallaSintaxis(long nativo, const QString& texto) {
    throw ErrorMotor({{Err::ErrorSentencia, texto, QString(), QStringLiteral("42000"), nativo}});
}

// Splits the text into tokens; an unclosed literal, name or comment is the server's error for it.
std::vector<Token> Tokeniza(const QString& s, bool estricto) {
    std::vector<Token> tokens;
    const qsizetype n = s.size();
    tokens.reserve(n / 3 + 4);
    qsizetype i = 0;
    auto agrega = [&](Clase c, qsizetype ini, qsizetype fin) { tokens.push_back({c, ini, fin - ini, false}); };
    while (i < n) {
        const QChar c = s[i];
        const qsizetype ini = i;
        if (EsBlanco(c)) {
            while (i < n && EsBlanco(s[i])) ++i;
            agrega(Clase::Blanco, ini, i);
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (i < n && s[i] != u'\n' && s[i] != u'\r') ++i;
            agrega(Clase::Comentario, ini, i);
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            // The server's comments nest.
            int nivel = 0;
            while (i < n) {
                if (s[i] == u'/' && i + 1 < n && s[i + 1] == u'*') {
                    ++nivel, i += 2;
                } else if (s[i] == u'*' && i + 1 < n && s[i + 1] == u'/') {
                    i += 2;
                    if (--nivel == 0) break;
                } else {
                    ++i;
                }
            }
            if (nivel != 0 && estricto) FallaSintaxis(113, QStringLiteral("Missing end comment mark '*/'."));
            agrega(Clase::Comentario, ini, i);
        } else if (c == u'\'' || ((c == u'N' || c == u'n') && i + 1 < n && s[i + 1] == u'\'')) {
            if (c != u'\'') ++i;  // the N prefix stays out of the token
            const qsizetype inicioLiteral = i++;
            bool cerrado = false;
            while (i < n) {
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    cerrado = true;
                    break;
                }
                ++i;
            }
            if (!cerrado && estricto)
                FallaSintaxis(105, QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                       .arg(s.mid(inicioLiteral + 1, 100)));
            agrega(Clase::Literal, inicioLiteral, i);
            tokens.back().prefijoN = c != u'\'';
        } else if (c == u'[' || c == u'"') {
            const QChar cierre = c == u'[' ? u']' : u'"';
            ++i;
            bool cerrado = false;
            while (i < n) {
                if (s[i] == cierre) {
                    if (i + 1 < n && s[i + 1] == cierre) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    cerrado = true;
                    break;
                }
                ++i;
            }
            if (!cerrado && estricto)
                FallaSintaxis(105, QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                       .arg(s.mid(ini + 1, 100)));
            agrega(Clase::Nombre, ini, i);
        } else if (EsLetra(c)) {
            while (i < n && (EsLetra(s[i]) || s[i].isDigit())) ++i;
            agrega(Clase::Palabra, ini, i);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isDigit() || s[i] == u'.')) ++i;
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
                if (j < n && s[j].isDigit()) {
                    i = j;
                    while (i < n && s[i].isDigit()) ++i;
                }
            }
            agrega(Clase::Numero, ini, i);
        } else {
            ++i;
            // Two-character comparisons are one token.
            if (i < n && ((c == u'<' && (s[i] == u'=' || s[i] == u'>')) || (c == u'>' && s[i] == u'=') ||
                          (c == u'!' && (s[i] == u'=' || s[i] == u'<' || s[i] == u'>'))))
                ++i;
            agrega(Clase::Simbolo, ini, i);
        }
    }
    return tokens;
}

bool IgualPalabra(QStringView w, QLatin1StringView palabra) {
    return w.size() == palabra.size() && w.compare(palabra, Qt::CaseInsensitive) == 0;
}

bool EnLista(QStringView w, std::initializer_list<QLatin1StringView> lista) {
    for (QLatin1StringView p : lista)
        if (IgualPalabra(w, p)) return true;
    return false;
}

// Words that are never a column's name in the texts the system writes: they end an operand. Looked up by
// length and first letter without building a text: the translator asks for every word.
bool EsReservada(QStringView w) {
    static const char* const kReservadas[] = {
        "SELECT",    "FROM",       "WHERE",      "AND",          "OR",       "NOT",    "IN",       "IS",      "LIKE",
        "BETWEEN",   "EXISTS",     "AS",         "ON",           "JOIN",     "INNER",  "LEFT",     "RIGHT",   "OUTER",
        "FULL",      "CROSS",      "GROUP",      "ORDER",        "BY",       "HAVING", "UNION",    "ALL",     "EXCEPT",
        "INTERSECT", "DISTINCT",   "PERCENT",    "INSERT",       "INTO",     "VALUES", "UPDATE",   "SET",     "DELETE",
        "CASE",      "WHEN",       "THEN",       "ELSE",         "END",      "ASC",    "DESC",     "WITH",    "COLLATE",
        "CREATE",    "TABLE",      "ALTER",      "DROP",         "ADD",      "INDEX",  "VIEW",     "PRIMARY", "KEY",
        "FOREIGN",   "REFERENCES", "CONSTRAINT", "DEFAULT",      "UNIQUE",   "CHECK",  "IDENTITY", "NULL",    "ESCAPE",
        "OVER",      "COLUMN",     "CLUSTERED",  "NONCLUSTERED", "TRUNCATE", "APPLY",  "PIVOT",    "UNPIVOT", "OUTPUT",
        "OPTION",    "FOR",        "OFFSET",     "FETCH",        "ANY",      "SOME",   "IF",       "BEGIN",   "DECLARE",
        "COMMIT",    "ROLLBACK"};
    static const auto kIndice = [] {
        std::array<std::vector<const char*>, 26 * 13> indice;
        for (const char* p : kReservadas) indice[(p[0] - 'A') * 13 + std::strlen(p)].push_back(p);
        return indice;
    }();
    if (w.size() < 2 || w.size() > 12) return false;
    char16_t inicial = w[0].unicode();
    if (inicial >= u'a' && inicial <= u'z') inicial -= 32;
    if (inicial < u'A' || inicial > u'Z') return false;
    for (const char* p : kIndice[(inicial - u'A') * 13 + w.size()])
        if (w.compare(QLatin1StringView(p), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// Functions whose meaning the embedded server gives as SQL Server does, and what SQLite calls them. A function
// not here is refused: SQLite's own (LENGTH, SUBSTR, ...) would answer what the server answers with an error,
// and the server's others would answer differently.
struct Funcion {
    const char* nombre;
    const char* sqlite;               // nullptr: the same name
    const char* tipo;                 // the type the server reports for the result; "=" the argument's, "" unknown
    bool parte = false;               // the first argument is a date part, written as a word
    const char* parteFija = nullptr;  // YEAR, MONTH, DAY: DATEPART of that part
};

const Funcion kFunciones[] = {
    {"COUNT", nullptr, "int"},
    {"COUNT_BIG", "COUNT", "bigint"},
    {"SUM", nullptr, "="},
    {"MIN", nullptr, "="},
    {"MAX", nullptr, "="},
    {"AVG", nullptr, "="},
    {"ISNULL", "IFNULL", "="},
    {"COALESCE", nullptr, ""},
    {"NULLIF", nullptr, "="},
    {"ABS", nullptr, "="},
    {"ROUND", "tsql_round", "="},
    {"FLOOR", "tsql_floor", "="},
    {"CEILING", "tsql_ceiling", "="},
    {"SIGN", "tsql_sign", "="},
    {"POWER", "tsql_power", "="},
    {"SQRT", "tsql_sqrt", "float"},
    {"REPLICATE", "tsql_replicate", ""},
    {"SPACE", "tsql_space", ""},
    {"REVERSE", "tsql_reverse", ""},
    {"LEN", nullptr, "int"},
    {"CHARINDEX", nullptr, "int"},
    {"LTRIM", nullptr, ""},
    {"RTRIM", nullptr, ""},
    {"UPPER", nullptr, ""},
    {"LOWER", nullptr, ""},
    {"LEFT", "tsql_left", ""},
    {"RIGHT", "tsql_right", ""},
    {"SUBSTRING", "tsql_substring", ""},
    {"REPLACE", "tsql_replace", ""},
    {"GETDATE", nullptr, "datetime"},
    {"DATEADD", nullptr, "datetime", true},
    {"DATEDIFF", nullptr, "int", true},
    {"DATEPART", nullptr, "int", true},
    {"YEAR", "datepart", "int", false, "year"},
    {"MONTH", "datepart", "int", false, "month"},
    {"DAY", "datepart", "int", false, "day"},
    {"SCOPE_IDENTITY", "tsql_identidad", "numeric"},
    {"CONVERT", nullptr, ""},
    {"CAST", "tsql_cast", ""},
};

// The server's other built-in functions: refused by name. A name neither here nor above is unknown to the
// server too, and gets its error 195.
bool EsFuncionDelServidor(QStringView w) {
    static const QHash<QString, bool> kOtras = [] {
        QHash<QString, bool> h;
        for (const char* p : {"ROW_NUMBER",
                              "RANK",
                              "DENSE_RANK",
                              "NTILE",
                              "LAG",
                              "LEAD",
                              "FIRST_VALUE",
                              "LAST_VALUE",
                              "STUFF",
                              "STR",
                              "CHAR",
                              "NCHAR",
                              "ASCII",
                              "UNICODE",
                              "PATINDEX",
                              "SOUNDEX",
                              "DIFFERENCE",
                              "QUOTENAME",
                              "FORMAT",
                              "CONCAT",
                              "CONCAT_WS",
                              "STRING_AGG",
                              "STRING_SPLIT",
                              "TRIM",
                              "TRANSLATE",
                              "DATENAME",
                              "DATEFROMPARTS",
                              "EOMONTH",
                              "SYSDATETIME",
                              "GETUTCDATE",
                              "SYSUTCDATETIME",
                              "ISDATE",
                              "ISNUMERIC",
                              "IIF",
                              "CHOOSE",
                              "SQUARE",
                              "EXP",
                              "LOG",
                              "LOG10",
                              "PI",
                              "RAND",
                              "SIN",
                              "COS",
                              "TAN",
                              "ATAN",
                              "ASIN",
                              "ACOS",
                              "NEWID",
                              "OBJECT_ID",
                              "OBJECT_NAME",
                              "DB_NAME",
                              "DB_ID",
                              "USER_NAME",
                              "SUSER_SNAME",
                              "SUSER_NAME",
                              "HOST_NAME",
                              "APP_NAME",
                              "COL_LENGTH",
                              "COLUMNPROPERTY",
                              "IDENT_CURRENT",
                              "IDENT_SEED",
                              "IDENT_INCR",
                              "ERROR_MESSAGE",
                              "ERROR_NUMBER",
                              "TRY_CONVERT",
                              "TRY_CAST",
                              "PARSE",
                              "TRY_PARSE",
                              "CHECKSUM",
                              "BINARY_CHECKSUM",
                              "HASHBYTES",
                              "STDEV",
                              "STDEVP",
                              "VAR",
                              "VARP",
                              "GROUPING",
                              "DATALENGTH",
                              "SERVERPROPERTY",
                              "DATABASEPROPERTYEX",
                              "OPENQUERY",
                              "OPENROWSET",
                              "OPENXML",
                              "JSON_VALUE",
                              "JSON_QUERY",
                              "ISJSON",
                              "DATETIMEFROMPARTS",
                              "DATEDIFF_BIG",
                              "SWITCHOFFSET",
                              "CHECKSUM_AGG",
                              "CURSOR_STATUS",
                              "FILEPROPERTY",
                              "INDEXPROPERTY",
                              "OBJECTPROPERTY",
                              "TYPE_NAME",
                              "TYPEPROPERTY",
                              "SCHEMA_NAME",
                              "SCHEMA_ID",
                              "NEWSEQUENTIALID",
                              "ROWCOUNT_BIG",
                              "XACT_STATE",
                              "COMPRESS",
                              "DECOMPRESS",
                              "SESSION_CONTEXT",
                              "CURRENT_TIMESTAMP"})
            h.insert(QString::fromLatin1(p), true);
        return h;
    }();
    return kOtras.contains(w.toString().toUpper());
}

const Funcion* BuscaFuncion(QStringView w) {
    for (const Funcion& f : kFunciones)
        if (w.compare(QLatin1StringView(f.nombre), Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

// Table hints: "with(nolock)", "(NOLOCK)", "WITH (ROWLOCK, UPDLOCK)".
bool EsSugerencia(QStringView w) {
    return EnLista(w, {"nolock"_L1, "rowlock"_L1, "updlock"_L1, "holdlock"_L1, "readpast"_L1, "tablock"_L1,
                       "tablockx"_L1, "xlock"_L1, "paglock"_L1, "nowait"_L1, "readuncommitted"_L1, "readcommitted"_L1,
                       "repeatableread"_L1, "serializable"_L1, "readcommittedlock"_L1, "fastfirstrow"_L1});
}

bool EsTipoTexto(QStringView w) {
    return EnLista(w, {"char"_L1, "varchar"_L1, "nchar"_L1, "nvarchar"_L1, "text"_L1, "ntext"_L1});
}
bool EsTipoFecha(QStringView w) {
    return EnLista(w, {"datetime"_L1, "smalldatetime"_L1, "date"_L1, "datetime2"_L1});
}
bool EsTipoEntero(QStringView w) {
    return EnLista(w, {"int"_L1, "integer"_L1, "smallint"_L1, "tinyint"_L1, "bigint"_L1});
}
// The types whose values the server keeps exact: integers, bit, decimal and money.
bool EsTipoExacto(QStringView w) {
    return EsTipoEntero(w) || EnLista(w, {"bit"_L1, "decimal"_L1, "numeric"_L1, "money"_L1, "smallmoney"_L1});
}

// A name as SQLite writes it: [a]]b] becomes "a]b" with its content unchanged; "quoted" stays.
QString NombreSqlite(QStringView t) {
    if (t.startsWith(u'[')) {
        QString contenido = t.mid(1, t.size() - 2).toString();
        contenido.replace(u"]]"_s, u"]"_s);
        contenido.replace(u"\""_s, u"\"\""_s);
        return u'"' + contenido + u'"';
    }
    return t.toString();
}

// A name's content: brackets or quotes off, doubled closers single.
QString NombrePlano(QStringView t) {
    if (t.startsWith(u'[')) return t.mid(1, t.size() - 2).toString().replace(u"]]"_s, u"]"_s);
    if (t.startsWith(u'"')) return t.mid(1, t.size() - 2).toString().replace(u"\"\""_s, u"\""_s);
    return t.toString();
}

QString Entrecomilla(const QString& nombre) {
    return u'"' + QString(nombre).replace(u"\""_s, u"\"\""_s) + u'"';
}

}  // namespace

ErrorProveedor ErrorNoAdmite(const QString& construccion) {
    return {-2147217837, QStringLiteral("El servidor embebido no admite %1.").arg(construccion), QString(),
            QStringLiteral("HYC00"), 0};
}

namespace {

[[noreturn]] void NoAdmite(const QString& construccion) {
    throw ErrorMotor({ErrorNoAdmite(construccion)});
}

// Translates one statement (a token range of the batch) to SQLite. One pass over the tokens, copying the text
// between rewrites; what a rewrite needs to write before text already written (the LIMIT wrapper of a TOP in a
// UNION, the function call that replaces a chain of + and -) is inserted at a position remembered per
// parenthesis level, so the output stays linear in the input.
class Traductor {
  public:
    Traductor(const QString& s, const std::vector<Token>& t, qsizetype desde, qsizetype hasta, int& contador)
        : s_(s), t_(t), desde_(desde), hasta_(hasta), contador_(contador) {}

    QString Traduce();

    QStringList despues;    // statements that complete this one (the triggers of date columns, defaults)
    QStringList previas;    // statements that must run before this one (triggers a dropped column leaves broken)
    QString rehaceTipos;    // a table whose integer and decimal triggers are made again after this one
    QStringList asignadas;  // SELECT @v = ...: the variables, in column order
    QStringList tiposColumnas;
    QStringList tablas;
    bool cuenta = false;
    bool definicion = false;

  private:
    enum class TipoNivel { Parentesis, Caso, Cast };
    struct Limite {
        bool activo = false;
        QString filas;
        bool porcentaje = false;
        qsizetype inicio = -1;
    };
    struct Nivel {
        TipoNivel tipo = TipoNivel::Parentesis;
        Limite limite;
        qsizetype inicioSelect = -1;
        bool compuesto = false;
        qsizetype ordenEn = -1;
        qsizetype inicioCadena = -1;
        QStringList operaciones;
        qsizetype inicioTermino = -1;
        bool nuevoTermino = true;
        qsizetype operando = -1;
        bool enSet = false;
        bool enOrden = false;
        qsizetype itemOrden = -1;
        bool listaSelect = false;
        bool nuevoItem = false;
        QString alias;               // "alias = expression" in a select list: written after the expression
        bool distinto = false;       // the select list's rows are compared: DISTINCT, or UNION/EXCEPT/INTERSECT
        int compuestoDistinto = -1;  // whether this level's compound removes duplicates; -1 not read yet
        qsizetype itemSelect = -1;   // the current select item: its first token, its place in the output,
        qsizetype inicioItem = -1;   // and where its expression ends when an alias follows it
        qsizetype finItem = -1;
        qsizetype aliasItem = -1;
        qsizetype finPromedio = -1;  // an item that is an AVG written otherwise: its last token, the name it had
        QString nombrePromedio;
        QString cierre;
        bool columnas = false;
        bool nuevaColumna = false;
        bool derivada = false;  // a table derived in a FROM, under levels that are all such tables
        bool enFrom = false;
    };
    struct PlanColumna {
        qsizetype nombre = -1, tipo = -1, finTipo = -1, identidad = -1, finIdentidad = -1, clave = -1;
        bool texto = false, fecha = false, collate = false;
        bool claveDeTabla = false;  // the table's PRIMARY KEY (column), moved to the column
        long largo = -1;
    };

    // Outside the tokens (a lookahead past an unfinished statement) there is no text, and no token but an empty
    // comment at the end.
    QStringView Texto(qsizetype k) const {
        if (k < 0 || k >= qsizetype(t_.size())) return {};
        return QStringView(s_).mid(t_[k].ini, t_[k].largo);
    }
    Token Tok(qsizetype k) const {
        if (k < 0 || k >= qsizetype(t_.size())) return {Clase::Comentario, s_.size(), 0};
        return t_[k];
    }
    bool Es(qsizetype k, QLatin1StringView w) const {
        return k >= desde_ && k < hasta_ && Tok(k).clase == Clase::Palabra && IgualPalabra(Texto(k), w);
    }
    bool EsSimbolo(qsizetype k, QStringView c) const {
        return k >= desde_ && k < hasta_ && Tok(k).clase == Clase::Simbolo && Texto(k) == c;
    }
    bool EsNombre(qsizetype k) const {
        return k >= desde_ && k < hasta_ &&
               (Tok(k).clase == Clase::Nombre ||
                (Tok(k).clase == Clase::Palabra && !EsReservada(Texto(k)) && !Texto(k).startsWith(u'@')));
    }
    qsizetype Sig(qsizetype k) const {
        while (k < hasta_ && (Tok(k).clase == Clase::Blanco || Tok(k).clase == Clase::Comentario)) ++k;
        return k;
    }
    qsizetype Ant(qsizetype k) const {
        --k;
        while (k >= desde_ && (Tok(k).clase == Clase::Blanco || Tok(k).clase == Clase::Comentario)) --k;
        return k;
    }
    // Past the statement's last token (a parenthesis nothing closes) the end is the statement's own end.
    qsizetype FinDe(qsizetype k) const {
        if (k >= hasta_) return hasta_ > desde_ ? Tok(hasta_ - 1).ini + Tok(hasta_ - 1).largo : s_.size();
        return Tok(k).ini + Tok(k).largo;
    }
    qsizetype InicioDe(qsizetype k) const {
        if (k >= hasta_) return hasta_ > desde_ ? FinDe(hasta_ - 1) : s_.size();
        return Tok(k).ini - (Tok(k).prefijoN ? 1 : 0);
    }
    // The ')' that closes the '(' at k; hasta_ when none does.
    qsizetype Cierre(qsizetype k) const {
        int nivel = 0;
        for (; k < hasta_; ++k) {
            if (Tok(k).clase != Clase::Simbolo) continue;
            if (Texto(k) == u"(") ++nivel;
            if (Texto(k) == u")" && --nivel == 0) return k;
        }
        return hasta_;
    }

    void CopiaHasta(qsizetype posicion) {
        if (posicion > copiaDesde_) salida_ += QStringView(s_).mid(copiaDesde_, posicion - copiaDesde_);
        if (posicion > copiaDesde_) copiaDesde_ = posicion;
    }
    void Salta(qsizetype k) { copiaDesde_ = FinDe(k); }

    qsizetype FinDeSugerencias(qsizetype parentesis) const;
    qsizetype SaltaTop(qsizetype top, QString& filas, bool& porcentaje) const;
    bool EsOperandoFinal(qsizetype k) const;
    bool OperandoEsColumna(const Nivel& n, qsizetype hasta) const;
    void CortaCadena(Nivel& n);
    void CierraItemOrden(Nivel& n, qsizetype k);
    void CierraItemSelect(Nivel& n, qsizetype k);
    bool CompuestoDistinto(qsizetype k) const;
    bool EsMiembroEntreParentesis(qsizetype abre) const;
    QString EnteroDePromedio(qsizetype k, qsizetype desde, qsizetype hasta) const;
    QString Promedio(qsizetype k, QString& primero) const;
    void EscribeLimite(Nivel& n);
    void ApuntaTipoDeItem(qsizetype k);
    void AgregaTabla(qsizetype k);
    bool EsLlamada(qsizetype k) const;
    void PlaneaColumna(qsizetype k);
    void TraduceSinDefinicion(qsizetype desde, qsizetype hasta, QString& texto);

    const QString& s_;
    const std::vector<Token>& t_;
    qsizetype desde_;
    qsizetype hasta_;
    int& contador_;  // numbers the names the translation makes up, unique in the batch

    QString salida_;
    qsizetype copiaDesde_ = 0;
    std::vector<Nivel> niveles_;
    qsizetype primera_ = -1;
    enum class Tipo { Otra, Select, Insert, Update, Delete, CreaTabla, AlteraTabla, Crea, Borra } tipo_ = Tipo::Otra;
    bool sinTiposDeColumna_ = false;
    // Pending rewrites named by the token they wait for.
    qsizetype parteEn_ = -1;        // the date part argument of DATEADD, DATEDIFF, DATEPART
    qsizetype tipoConvertEn_ = -1;  // the type argument of CONVERT
    bool siguienteEsCast_ = false;  // the next '(' opens a CAST
    QString trasParentesis_;        // written after the next '('
    QString cierrePendiente_;       // written after the ')' of the next '('
    PlanColumna plan_;
    std::vector<std::pair<qsizetype, qsizetype>> omitidos_;  // token ranges left out
    std::vector<std::pair<qsizetype, QString>> antes_;       // text written before a token
    qsizetype columnaAlterEn_ = -1;                          // the column ALTER TABLE ADD defines
    QString tablaSqlite_, tablaPlana_;
    bool temporal_ = false;
    struct ColumnaTipada {
        QString nombre, plano, tipo;
    };
    std::vector<ColumnaTipada> fechas_;
    std::vector<ColumnaTipada> numeros_;  // integer and decimal columns, their type as written
    QStringList comunes_;                 // the common table expressions TOP n PERCENT became, written ahead
    qsizetype primerSelect_ = -1;         // where the statement's first SELECT begins in the output
};

qsizetype Traductor::FinDeSugerencias(qsizetype parentesis) const {
    bool alguna = false;
    for (qsizetype k = Sig(parentesis + 1); k < hasta_; k = Sig(k + 1)) {
        if (EsSimbolo(k, u")")) return alguna ? k + 1 : -1;
        if (EsSimbolo(k, u",")) continue;
        if (Tok(k).clase != Clase::Palabra || !EsSugerencia(Texto(k))) return -1;
        alguna = true;
    }
    return -1;
}

// Skips "TOP n [PERCENT]" or "TOP (n)"; returns the token after it and the rows it keeps (empty for 100
// PERCENT, which keeps all).
qsizetype Traductor::SaltaTop(qsizetype top, QString& filas, bool& porcentaje) const {
    qsizetype k = Sig(top + 1);
    if (EsSimbolo(k, u"(")) {
        const qsizetype fin = Cierre(k);
        if (fin >= hasta_) return -1;
        for (qsizetype j = k; j <= fin; ++j) filas += Texto(j);
        k = Sig(fin + 1);
    } else if (k < hasta_ &&
               (Tok(k).clase == Clase::Numero || (Tok(k).clase == Clase::Palabra && Texto(k).startsWith(u'@')))) {
        filas = Texto(k).toString();
        k = Sig(k + 1);
    } else {
        return -1;
    }
    porcentaje = Es(k, "PERCENT"_L1);
    if (porcentaje) {
        bool numero = false;
        if (filas.toDouble(&numero) >= 100 && numero) filas.clear();
        k = Sig(k + 1);
    }
    if (Es(k, "WITH"_L1) && Es(Sig(k + 1), "TIES"_L1)) NoAdmite(QStringLiteral("TOP ... WITH TIES"));
    return k;
}

// Whether token k ends an operand, so that a + or - after it is binary.
bool Traductor::EsOperandoFinal(qsizetype k) const {
    if (k < desde_) return false;
    switch (Tok(k).clase) {
        case Clase::Nombre:
        case Clase::Literal:
        case Clase::Numero:
            return true;
        case Clase::Palabra:
            return !EsReservada(Texto(k)) || Es(k, "END"_L1) || Es(k, "NULL"_L1);
        case Clase::Simbolo:
            return Texto(k) == u")";
        default:
            return false;
    }
}

// Whether the operand before a comparison is a column alone ("Nombre", "T.Nombre", "[T].[Nombre]"): its own
// collation decides then. Any other operand is compared under the server's collation.
bool Traductor::OperandoEsColumna(const Nivel& n, qsizetype hasta) const {
    if (n.operando < 0) return false;
    bool nombre = true;
    for (qsizetype k = Sig(n.operando); k < hasta; k = Sig(k + 1)) {
        if (nombre != EsNombre(k) && !(nombre && Tok(k).clase == Clase::Palabra && Texto(k).startsWith(u'#')))
            return false;
        if (!nombre && !EsSimbolo(k, u".")) return false;
        nombre = !nombre;
    }
    return !nombre;
}

// Ends a chain of + and - at this level: the calls that stand for it are written before its first term.
void Traductor::CortaCadena(Nivel& n) {
    if (n.inicioCadena >= 0 && !n.operaciones.isEmpty()) {
        salida_ += u')';
        QString prefijo;
        for (qsizetype i = n.operaciones.size() - 1; i >= 0; --i) prefijo += n.operaciones[i];
        salida_.insert(n.inicioCadena, prefijo);
    }
    n.inicioCadena = -1;
    n.operaciones.clear();
    n.nuevoTermino = true;
    n.operando = -1;
}

// An ORDER BY or GROUP BY item that is an expression sorts and groups under the server's collation.
void Traductor::CierraItemOrden(Nivel& n, qsizetype k) {
    if (!n.enOrden || n.itemOrden < 0) return;
    bool columna = true, numero = false;
    int cuantos = 0;
    for (qsizetype j = Sig(n.itemOrden); j < k; j = Sig(j + 1)) {
        ++cuantos;
        if (Tok(j).clase == Clase::Numero) numero = true;
        if (!EsNombre(j) && !EsSimbolo(j, u".")) columna = false;
    }
    if (cuantos > 0 && !columna && !(numero && cuantos == 1)) salida_ += u" COLLATE SQLSERVER "_s;
    n.itemOrden = -1;
}

// Whether the parenthesis at k encloses a member of a compound: a UNION, EXCEPT or INTERSECT before or after it.
bool Traductor::EsMiembroEntreParentesis(qsizetype abre) const {
    const qsizetype antes = Ant(abre), despues = Sig(Cierre(abre) + 1);
    return Es(antes, "UNION"_L1) || Es(antes, "ALL"_L1) || Es(antes, "EXCEPT"_L1) || Es(antes, "INTERSECT"_L1) ||
           Es(despues, "UNION"_L1) || Es(despues, "EXCEPT"_L1) || Es(despues, "INTERSECT"_L1);
}

// Whether the compound the SELECT at k starts removes duplicates: a UNION without ALL, EXCEPT or INTERSECT at its
// level.
bool Traductor::CompuestoDistinto(qsizetype k) const {
    // A member in parentheses belongs to the compound around them, before or after it.
    auto operador = [this](qsizetype j) {
        return (Es(j, "UNION"_L1) && !Es(Sig(j + 1), "ALL"_L1)) || Es(j, "EXCEPT"_L1) || Es(j, "INTERSECT"_L1);
    };
    qsizetype miembro = k;
    for (qsizetype abre = Ant(k); EsSimbolo(abre, u"("); abre = Ant(abre)) {
        if (!EsMiembroEntreParentesis(abre)) break;
        miembro = abre;
        k = Cierre(abre);
    }
    if (miembro != k) {
        int nivel = 0;
        for (qsizetype j = miembro - 1; j >= desde_; --j) {
            if (EsSimbolo(j, u")")) ++nivel;
            if (EsSimbolo(j, u"(") && --nivel < 0) break;
            if (nivel == 0 && operador(j)) return true;
        }
    }
    int nivel = 0;
    for (qsizetype j = k + 1; j < hasta_; ++j) {
        if (EsSimbolo(j, u"(")) ++nivel;
        if (EsSimbolo(j, u")") && --nivel < 0) return false;
        if (nivel == 0 && operador(j)) return true;
    }
    return false;
}

// While a probe's FROM is translated, its AVGs stay SQLite's: the probe reads declared types only, and nesting
// stays linear.
thread_local bool sondeando = false;

// The AVG's flag: whether its argument is an integer expression, as the server types it: integer literals,
// integer columns, CAST/CONVERT to an integer type, the functions that give int, and what a CASE gives (its
// conditions do not count); ISNULL, COALESCE, ABS, ROUND and the like give their argument's type. The columns
// are read when the statement runs, through a probe of the query's FROM (joins, views, derived and temporary
// tables), as tsql_enteros. "1" with no column; empty when the argument is not an integer one or not this plain.
QString Traductor::EnteroDePromedio(qsizetype k, qsizetype desde, qsizetype hasta) const {
    static const QStringList kDanEntero = {u"LEN"_s,   u"DATALENGTH"_s, u"DATEDIFF"_s,  u"DATEPART"_s, u"YEAR"_s,
                                           u"MONTH"_s, u"DAY"_s,        u"CHARINDEX"_s, u"COUNT"_s};
    static const QStringList kComoSuArgumento = {u"ISNULL"_s,  u"COALESCE"_s, u"ABS"_s,  u"ROUND"_s, u"FLOOR"_s,
                                                 u"CEILING"_s, u"NULLIF"_s,   u"SIGN"_s, u"POWER"_s};
    // From a WHEN (or a simple CASE's input) to its THEN, at the same depth.
    auto hastaThen = [&](qsizetype j) {
        int nivel = 0, casos = 0;
        for (j = Sig(j + 1); j < hasta; j = Sig(j + 1)) {
            if (EsSimbolo(j, u"(")) ++nivel;
            if (EsSimbolo(j, u")")) --nivel;
            if (Es(j, "CASE"_L1)) ++casos;
            if (Es(j, "END"_L1)) --casos;
            if (nivel == 0 && casos == 0 && (Es(j, "THEN"_L1) || Es(j, "WHEN"_L1))) return j;
        }
        return hasta;
    };
    QStringList columnas;
    for (qsizetype j = desde; j < hasta; j = Sig(j + 1)) {
        const Token t = Tok(j);
        const QStringView w = Texto(j);
        if (t.clase == Clase::Numero) {
            if (w.contains(u'.') || w.contains(u'e') || w.contains(u'E')) return {};
            continue;
        }
        if (t.clase == Clase::Literal) return {};
        if (t.clase == Clase::Simbolo) {
            if (EsSimbolo(j, u"(") && Es(Sig(j + 1), "SELECT"_L1)) return {};
            if (!EnLista(w, {"("_L1, ")"_L1, "+"_L1, "-"_L1, "*"_L1, "/"_L1, "%"_L1, ","_L1})) return {};
            continue;
        }
        if (Es(j, "NULL"_L1) || Es(j, "THEN"_L1) || Es(j, "ELSE"_L1) || Es(j, "END"_L1)) continue;
        if (Es(j, "CASE"_L1)) {
            if (!Es(Sig(j + 1), "WHEN"_L1)) j = hastaThen(j) - 1;  // a simple CASE's input
            continue;
        }
        if (Es(j, "WHEN"_L1)) {
            j = hastaThen(j);
            if (!Es(j, "THEN"_L1)) return {};
            continue;
        }
        if (t.clase == Clase::Palabra && EsSimbolo(Sig(j + 1), u"(")) {
            const qsizetype abre = Sig(j + 1);
            const qsizetype cierra = Cierre(abre);
            const QString funcion = w.toString().toUpper();
            if (funcion == u"CAST"_s || funcion == u"CONVERT"_s) {
                qsizetype tipo = Sig(abre + 1);
                if (funcion == u"CAST"_s) {
                    int nivel = 0;
                    for (tipo = abre; tipo < cierra; tipo = Sig(tipo + 1)) {
                        if (EsSimbolo(tipo, u"(")) ++nivel;
                        if (EsSimbolo(tipo, u")")) --nivel;
                        if (nivel == 1 && Es(tipo, "AS"_L1)) break;
                    }
                    tipo = Sig(tipo + 1);
                }
                if (tipo >= cierra || !EsTipoEntero(NombrePlano(Texto(tipo)))) return {};
                j = cierra;
                continue;
            }
            if (kDanEntero.contains(funcion)) {
                j = cierra;
                continue;
            }
            if (kComoSuArgumento.contains(funcion)) {
                j = abre;
                continue;
            }
            return {};
        }
        if (EsNombre(j)) {
            QString columna = Texto(j).toString();
            while (EsSimbolo(Sig(j + 1), u".") && EsNombre(Sig(Sig(j + 1) + 1))) {
                j = Sig(Sig(j + 1) + 1);
                columna += u'.' + Texto(j).toString();
            }
            columnas << columna;
            continue;
        }
        return {};
    }
    if (columnas.isEmpty()) return u"1"_s;
    // The query's SELECT, then its FROM and where that ends, at this parenthesis level.
    int nivel = 0;
    qsizetype x = k - 1;
    for (; x >= desde_; --x) {
        if (EsSimbolo(x, u")")) ++nivel;
        if (EsSimbolo(x, u"(") && --nivel < 0) return {};
        if (nivel == 0 && Es(x, "SELECT"_L1)) break;
    }
    if (x < desde_) return {};
    for (; x < hasta_; ++x) {
        if (EsSimbolo(x, u"(")) ++nivel;
        if (EsSimbolo(x, u")") && --nivel < 0) return {};
        if (nivel == 0 && Es(x, "FROM"_L1)) break;
    }
    if (x >= hasta_) return {};
    QString sonda = u"SELECT "_s + columnas.join(u", "_s) + u' ';
    for (; x < hasta_; ++x) {
        if (EsSimbolo(x, u"(")) ++nivel;
        if (EsSimbolo(x, u")") && --nivel < 0) break;
        if (nivel == 0 && EnLista(Texto(x), {"WHERE"_L1, "GROUP"_L1, "ORDER"_L1, "HAVING"_L1, "UNION"_L1, "EXCEPT"_L1,
                                             "INTERSECT"_L1, "OPTION"_L1, "FOR"_L1}))
            break;
        // Literals do not change a column's type; NULL keeps the cache's placeholders out of the probe.
        sonda += Tok(x).clase == Clase::Literal ? u"NULL"_s : Texto(x).toString();
    }
    QString traducida;
    struct Sondeo {
        Sondeo() { sondeando = true; }
        ~Sondeo() { sondeando = false; }
    };
    try {
        const Sondeo sondeo;
        traducida = TraduceTSql(sonda);
    } catch (...) {
        return {};
    }
    if (traducida.contains(u'\n') || traducida.contains(u'\x01')) return {};
    return u"tsql_enteros('"_s + traducida.replace(u"'"_s, u"''"_s) + u"')"_s;
}

// AVG as the server computes it: over an integer expression, an integer truncated toward zero. AVG(x) becomes
// tsql_avg(flag, x), the flag from EnteroDePromedio; AVG(DISTINCT column) a CASE on the flag between SQLite's
// average and SUM/COUNT. Empty when SQLite's AVG already gives the server's answer, or the argument is not
// this plain.
QString Traductor::Promedio(qsizetype k, QString& primero) const {
    if (sondeando) return {};
    const qsizetype abre = Sig(k + 1);
    const qsizetype cierra = Cierre(abre);
    if (cierra >= hasta_) return {};
    qsizetype j = Sig(abre + 1);
    if (!Es(j, "DISTINCT"_L1) && !Es(j, "ALL"_L1)) {
        if (j >= cierra) return {};
        const QString entero = EnteroDePromedio(k, j, cierra);
        if (entero.isEmpty()) return {};
        primero = entero + u", "_s;
        return u"tsql_avg"_s;
    }
    const QString modo = Texto(j).toString() + u' ';
    j = Sig(j + 1);
    if (!EsNombre(j)) return {};
    QString referencia = NombreSqlite(Texto(j));
    qsizetype s = Sig(j + 1);
    if (EsSimbolo(s, u".")) {
        j = Sig(s + 1);
        if (!EsNombre(j)) return {};
        referencia += u'.' + NombreSqlite(Texto(j));
        s = Sig(j + 1);
    }
    if (s != cierra) return {};
    const QString entero = EnteroDePromedio(k, Sig(Sig(abre + 1) + 1), cierra);
    if (entero.isEmpty()) return {};
    const QString argumento = modo + referencia;
    return u"CASE WHEN "_s + entero + u" THEN CAST(SUM("_s + argumento + u") / COUNT("_s + argumento +
           u") AS INTEGER) ELSE AVG("_s + argumento + u") END"_s;
}

// The end of an item of a select list (the token k follows it). Where rows are compared (DISTINCT, UNION), an
// expression compares under the server's collation, and keeps the name SQLite gives it without one: its text.
// "alias = expression" gets its alias.
void Traductor::CierraItemSelect(Nivel& n, qsizetype k) {
    // An AVG written otherwise keeps the name SQLite gave the call.
    const bool promedio = n.itemSelect >= 0 && n.finPromedio >= 0 && Sig(n.finPromedio + 1) == k && n.alias.isEmpty();
    bool nombrado = false;
    if (n.distinto && n.itemSelect >= 0) {
        const qsizetype fin = n.aliasItem >= 0 ? n.aliasItem : k;
        bool columna = true, numero = false, todas = false, intercalado = false;
        int cuantos = 0;
        for (qsizetype j = Sig(n.itemSelect); j < fin; j = Sig(j + 1)) {
            ++cuantos;
            if (Tok(j).clase == Clase::Numero) numero = true;
            todas = EsSimbolo(j, u"*");
            if (Es(j, "COLLATE"_L1)) intercalado = true;
            if (!EsNombre(j) && !EsSimbolo(j, u".")) columna = false;
        }
        if (cuantos > 0 && !columna && !todas && !intercalado && !(numero && cuantos == 1)) {
            const qsizetype en = n.finItem >= 0 ? n.finItem : salida_.size();
            QString marca = u" COLLATE SQLSERVER"_s;
            if (n.finItem < 0 && n.alias.isEmpty() && promedio)
                marca += u" AS \""_s + QString(n.nombrePromedio).replace(u"\""_s, u"\"\""_s) + u'"';
            else if (n.finItem < 0 && n.alias.isEmpty())
                marca += u" AS \""_s +
                         salida_.mid(n.inicioItem, en - n.inicioItem).trimmed().replace(u"\""_s, u"\"\""_s) + u'"';
            salida_.insert(en, marca + u' ');
            nombrado = true;
        }
    }
    if (promedio && !nombrado)
        salida_ += u" AS \""_s + QString(n.nombrePromedio).replace(u"\""_s, u"\"\""_s) + u"\" "_s;
    n.finPromedio = -1;
    n.itemSelect = n.inicioItem = n.finItem = n.aliasItem = -1;
    if (!n.alias.isEmpty()) {
        salida_ += u" AS "_s + n.alias + u' ';
        n.alias.clear();
    }
}

// The rows a TOP keeps, written when its SELECT ends: a LIMIT at its end; a member of a UNION becomes a
// subquery with its LIMIT (SQLite limits only a whole compound), before the compound's ORDER BY. A share of
// the rows names the SELECT once, as a common table expression, and counts it there.
void Traductor::EscribeLimite(Nivel& n) {
    if (!n.limite.activo) return;
    const Limite l = n.limite;
    n.limite = {};
    const qsizetype fin = n.compuesto && n.ordenEn > l.inicio ? n.ordenEn : salida_.size();
    const QString cola = salida_.mid(fin);
    salida_.truncate(fin);
    while (!salida_.isEmpty() && EsBlanco(salida_.back())) salida_.chop(1);
    if (!l.porcentaje) {
        if (n.compuesto) salida_.insert(l.inicio, u"SELECT * FROM ("_s);
        salida_ += u" LIMIT "_s + l.filas + (n.compuesto ? u")"_s : QString());
    } else {
        // The SELECT is named once and counted there. A table derived in a FROM (never correlated) goes ahead of
        // the statement as a common table expression, so nesting does not deepen SQLite's parse.
        const QString nombre = u"tsql_p"_s + QString::number(++contador_);
        bool entero = false;
        l.filas.toLongLong(&entero);
        const QString filas = entero ? u"(COUNT(*) * "_s + l.filas + u" + 99) / 100"_s
                                     : u"CAST(COUNT(*) * "_s + l.filas + u" / 100.0 + 0.9999999 AS INTEGER)"_s;
        const QString seleccion = salida_.mid(l.inicio);
        salida_.truncate(l.inicio);
        const bool alzable = n.derivada || (&n == &niveles_.front() && !Es(primera_, "WITH"_L1) &&
                                            (tipo_ == Tipo::Select || tipo_ == Tipo::Insert));
        if (alzable && !Es(primera_, "WITH"_L1)) {
            comunes_ << nombre + u" AS MATERIALIZED ("_s + seleccion + u"), "_s + nombre + u"l AS (SELECT * FROM "_s +
                            nombre + u" LIMIT (SELECT "_s + filas + u" FROM "_s + nombre + u"))"_s;
            salida_ += u"SELECT * FROM "_s + nombre + u'l';
        } else {
            salida_ += u"SELECT * FROM (WITH "_s + nombre + u" AS MATERIALIZED ("_s + seleccion +
                       u") SELECT * FROM "_s + nombre + u" LIMIT (SELECT "_s + filas + u" FROM "_s + nombre + u"))"_s;
        }
    }
    if (!cola.isEmpty()) salida_ += u' ' + cola;
}

void Traductor::AgregaTabla(qsizetype k) {
    k = Sig(k);
    if (Es(k, "dbo"_L1) && EsSimbolo(Sig(k + 1), u".")) k = Sig(Sig(k + 1) + 1);
    if (k < hasta_ && (Tok(k).clase == Clase::Nombre || EsNombre(k))) tablas << NombrePlano(Texto(k));
}

// Whether the word at k calls a function: a '(' follows, and it stands where an expression does.
bool Traductor::EsLlamada(qsizetype k) const {
    if (!EsSimbolo(Sig(k + 1), u"(")) return false;
    const qsizetype p = Ant(k);
    if (p < desde_) return false;
    if (Tok(p).clase == Clase::Simbolo) return Texto(p) != u".";
    if (Tok(p).clase != Clase::Palabra) return false;
    if (Es(p, "ON"_L1)) return tipo_ != Tipo::Crea && tipo_ != Tipo::CreaTabla;
    return EnLista(Texto(p),
                   {"SELECT"_L1, "WHERE"_L1,   "AND"_L1,     "OR"_L1,      "NOT"_L1,      "WHEN"_L1, "THEN"_L1,
                    "ELSE"_L1,   "CASE"_L1,    "BY"_L1,      "HAVING"_L1,  "DISTINCT"_L1, "SET"_L1,  "IS"_L1,
                    "LIKE"_L1,   "BETWEEN"_L1, "IN"_L1,      "DEFAULT"_L1, "CHECK"_L1,    "ALL"_L1,  "RETURN"_L1,
                    "VALUES"_L1, "TOP"_L1,     "PERCENT"_L1, "ESCAPE"_L1});
}

// Reads a column definition ahead: its name, type, IDENTITY and PRIMARY KEY, so that the pass writes the
// type SQLite needs where the type stands.
void Traductor::PlaneaColumna(qsizetype k) {
    plan_ = {};
    const qsizetype tipo = Sig(k + 1);
    if (Es(tipo, "AS"_L1)) NoAdmite(QStringLiteral("columnas calculadas"));
    if (tipo >= hasta_ || (Tok(tipo).clase != Clase::Palabra && Tok(tipo).clase != Clase::Nombre)) return;
    plan_.nombre = k;
    plan_.tipo = tipo;
    plan_.finTipo = tipo;
    const QString tipoPlano = NombrePlano(Texto(tipo));
    const QStringView palabra = tipoPlano;
    plan_.texto = EsTipoTexto(palabra);
    plan_.fecha = EsTipoFecha(palabra);
    if (EsSimbolo(Sig(tipo + 1), u"(")) {
        plan_.finTipo = Cierre(Sig(tipo + 1));
        bool numero = false;
        const qsizetype arg = Sig(Sig(tipo + 1) + 1);
        if (arg < hasta_) plan_.largo = Texto(arg).toLong(&numero);
        if (!numero) plan_.largo = -1;
    }
    if (EnLista(palabra, {"text"_L1, "ntext"_L1})) plan_.largo = -1;
    if (EnLista(palabra, {"xml"_L1, "sql_variant"_L1, "geography"_L1, "geometry"_L1, "hierarchyid"_L1, "timestamp"_L1,
                          "rowversion"_L1, "datetimeoffset"_L1, "time"_L1}))
        NoAdmite(QStringLiteral("el tipo %1").arg(palabra.toString()));
    int nivel = 0;
    bool primaria = false;
    qsizetype defecto = -1, finDefecto = -1, restriccion = -1;
    std::vector<std::pair<qsizetype, qsizetype>> noNulo;
    for (qsizetype j = Sig(plan_.finTipo + 1); j < hasta_; j = Sig(j + 1)) {
        if (EsSimbolo(j, u"(")) ++nivel;
        if (EsSimbolo(j, u")") && --nivel < 0) break;
        if (nivel == 0 && EsSimbolo(j, u",")) break;
        if (nivel != 0) continue;
        if (Es(j, "IDENTITY"_L1)) {
            plan_.identidad = plan_.finIdentidad = j;
            if (EsSimbolo(Sig(j + 1), u"(")) {
                plan_.finIdentidad = Cierre(Sig(j + 1));
                QString argumentos;
                for (qsizetype a = Sig(j + 1); a <= plan_.finIdentidad && a < hasta_; ++a)
                    if (Tok(a).clase != Clase::Blanco) argumentos += Texto(a);
                if (argumentos != u"(1,1)")
                    NoAdmite(QStringLiteral("IDENTITY con semilla o incremento distintos de 1"));
            }
        }
        if (Es(j, "PRIMARY"_L1) && Es(Sig(j + 1), "KEY"_L1)) primaria = true, plan_.clave = Sig(j + 1);
        if (Es(j, "COLLATE"_L1)) plan_.collate = true;
        if (Es(j, "NOT"_L1) && Es(Sig(j + 1), "NULL"_L1)) noNulo.push_back({j, Sig(j + 1)});
        if (Es(j, "CONSTRAINT"_L1)) restriccion = j;
        if (Es(j, "DEFAULT"_L1)) {
            defecto = j;
            const qsizetype expr = Sig(j + 1);
            finDefecto = expr;
            if (EsSimbolo(expr, u"("))
                finDefecto = Cierre(expr);
            else if (EsSimbolo(Sig(expr + 1), u"("))
                finDefecto = Cierre(Sig(expr + 1));
            if (restriccion >= 0 && Sig(Sig(restriccion + 1) + 1) != j) restriccion = -1;
        }
    }
    // A default that is not a constant: SQLite will not add a column with it. The column is added without it;
    // the rows there get it when the column may not be null, and a trigger gives it to new rows that leave the
    // column out.
    if (tipo_ == Tipo::AlteraTabla && defecto >= 0 && finDefecto < hasta_) {
        bool llamada = false;
        for (qsizetype j = Sig(defecto + 1); j <= finDefecto; ++j)
            if (Tok(j).clase == Clase::Palabra && EsSimbolo(Sig(j + 1), u"(")) llamada = true;
        if (llamada) {
            QString valor;
            TraduceSinDefinicion(Sig(defecto + 1), finDefecto + 1, valor);
            omitidos_.push_back({restriccion >= 0 ? restriccion : defecto, finDefecto});
            for (const auto& par : noNulo) omitidos_.push_back(par);
            const QString columna = NombreSqlite(Texto(k));
            if (!noNulo.empty())
                despues << u"UPDATE "_s + tablaSqlite_ + u" SET "_s + columna + u" = ("_s + valor + u')';
            despues << u"CREATE "_s + (temporal_ ? u"TEMP "_s : QString()) + u"TRIGGER "_s +
                           Entrecomilla(u"tsql_d_"_s + tablaPlana_ + u'_' + NombrePlano(Texto(k))) +
                           u" AFTER INSERT ON "_s + tablaSqlite_ + u" FOR EACH ROW WHEN NEW."_s + columna +
                           u" IS NULL BEGIN UPDATE "_s + tablaSqlite_ + u" SET "_s + columna + u" = ("_s + valor +
                           u") WHERE rowid = NEW.rowid; END"_s;
        }
    }
    if (plan_.identidad >= 0 && !primaria && tipo_ == Tipo::CreaTabla) {
        // "CONSTRAINT PK PRIMARY KEY (Id)" of the table naming this column alone: the key moves to the column,
        // the only place SQLite's numbering key can be declared.
        int nivelTabla = 0;
        for (qsizetype j = Sig(k + 1); j < hasta_ && nivelTabla >= 0; j = Sig(j + 1)) {
            if (EsSimbolo(j, u"(")) ++nivelTabla;
            if (EsSimbolo(j, u")")) --nivelTabla;
            if (nivelTabla != 0 || !Es(j, "PRIMARY"_L1) || !Es(Sig(j + 1), "KEY"_L1)) continue;
            qsizetype inicio = j;
            if (Es(Ant(Ant(j)), "CONSTRAINT"_L1)) inicio = Ant(Ant(j));
            qsizetype a = Sig(Sig(j + 1) + 1);
            if (Es(a, "CLUSTERED"_L1) || Es(a, "NONCLUSTERED"_L1)) a = Sig(a + 1);
            if (!EsSimbolo(a, u"(") || !EsSimbolo(Ant(inicio), u",")) break;
            const qsizetype columna = Sig(a + 1);
            qsizetype cierre = Sig(columna + 1);
            if (Es(cierre, "ASC"_L1)) cierre = Sig(cierre + 1);
            if (!EsSimbolo(cierre, u")") || columna >= hasta_ ||
                NombrePlano(Texto(columna)).compare(NombrePlano(Texto(k)), Qt::CaseInsensitive) != 0)
                break;
            omitidos_.push_back({Ant(inicio), cierre});
            plan_.claveDeTabla = true;
            primaria = true;
            break;
        }
    }
    if (plan_.identidad >= 0 && !primaria) {
        if (tipo_ == Tipo::AlteraTabla) NoAdmite(QStringLiteral("agregar una columna IDENTITY a una tabla"));
        NoAdmite(QStringLiteral("IDENTITY en una columna que no es la clave primaria"));
    }
}

void Traductor::ApuntaTipoDeItem(qsizetype k) {
    if (sinTiposDeColumna_) return;
    if (EsSimbolo(k, u"*") || (EsNombre(k) && EsSimbolo(Sig(k + 1), u".") && EsSimbolo(Sig(Sig(k + 1) + 1), u"*"))) {
        sinTiposDeColumna_ = true;
        tiposColumnas.clear();
        return;
    }
    QString tipo;
    if (Tok(k).clase == Clase::Palabra && EsSimbolo(Sig(k + 1), u"(")) {
        const qsizetype abre = Sig(k + 1);
        const qsizetype cierra = Cierre(abre);
        const qsizetype tras = Sig(cierra + 1);
        const bool solo = tras >= hasta_ || EsSimbolo(tras, u",") || Es(tras, "AS"_L1) || Es(tras, "FROM"_L1) ||
                          EsNombre(tras) || Tok(tras).clase == Clase::Literal;
        if (const Funcion* f = BuscaFuncion(Texto(k)); f && solo && cierra < hasta_) {
            tipo = QString::fromLatin1(f->tipo);
            if (tipo == u"=") {
                // The argument's column: its declared type is the result's.
                qsizetype ultimo = -1;
                bool columna = true;
                for (qsizetype j = Sig(abre + 1); j < cierra; j = Sig(j + 1)) {
                    if (EsNombre(j))
                        ultimo = j;
                    else if (!EsSimbolo(j, u".") && !Es(j, "DISTINCT"_L1))
                        columna = false;
                }
                tipo = columna && ultimo >= 0 ? u"="_s + NombrePlano(Texto(ultimo)) : QString();
                // An average's type is its column's, but a smallint or tinyint one averages as int.
                if (IgualPalabra(Texto(k), "AVG"_L1) && !tipo.isEmpty()) tipo[0] = u'~';
            }
            if (IgualPalabra(Texto(k), "CONVERT"_L1)) {
                const qsizetype t = Sig(abre + 1);
                if (t < cierra) tipo = Texto(t).toString();
            }
        }
    }
    tiposColumnas << tipo;
}

QString Traductor::Traduce() {
    copiaDesde_ = InicioDe(Sig(desde_));
    primera_ = Sig(desde_);
    niveles_.push_back({});
    qsizetype abierta = primera_;
    while (EsSimbolo(abierta, u"(")) abierta = Sig(abierta + 1);
    if (Es(abierta, "SELECT"_L1) || Es(primera_, "WITH"_L1)) tipo_ = Tipo::Select;
    // A compound's member in parentheses, (SELECT ...) UNION (SELECT ...), which SQLite's grammar has not: each
    // becomes SELECT * FROM (SELECT ...).
    for (qsizetype k = Sig(desde_); k < hasta_; k = Sig(k + 1)) {
        if (EsSimbolo(k, u"(") && Es(Sig(k + 1), "SELECT"_L1) && EsMiembroEntreParentesis(k))
            antes_.push_back({k, u"SELECT * FROM "_s});
    }
    if (Es(primera_, "INSERT"_L1)) tipo_ = Tipo::Insert;
    if (Es(primera_, "UPDATE"_L1)) tipo_ = Tipo::Update;
    if (Es(primera_, "DELETE"_L1)) tipo_ = Tipo::Delete;
    if (Es(primera_, "CREATE"_L1)) tipo_ = Tipo::Crea;
    if (Es(primera_, "DROP"_L1)) tipo_ = Tipo::Borra;
    cuenta = tipo_ == Tipo::Insert || tipo_ == Tipo::Update || tipo_ == Tipo::Delete;
    definicion = tipo_ == Tipo::Crea || tipo_ == Tipo::Borra || Es(primera_, "ALTER"_L1);

    // The statement's head: the forms SQL Server allows and SQLite does not.
    if (Es(primera_, "TRUNCATE"_L1) && Es(Sig(primera_ + 1), "TABLE"_L1)) {
        omitidos_.push_back({primera_, Sig(primera_ + 1)});
        antes_.push_back({Sig(Sig(primera_ + 1) + 1), u"DELETE FROM "_s});
        tipo_ = Tipo::Delete;
    }
    if (tipo_ == Tipo::Insert && !Es(Sig(primera_ + 1), "INTO"_L1)) antes_.push_back({Sig(primera_ + 1), u"INTO "_s});
    if (tipo_ == Tipo::Delete && Es(primera_, "DELETE"_L1) && !Es(Sig(primera_ + 1), "FROM"_L1))
        antes_.push_back({Sig(primera_ + 1), u"FROM "_s});
    qsizetype nombreTabla = -1;
    if (tipo_ == Tipo::Crea || Es(primera_, "ALTER"_L1)) {
        qsizetype k = Sig(primera_ + 1);
        if (Es(k, "TABLE"_L1)) {
            tipo_ = tipo_ == Tipo::Crea ? Tipo::CreaTabla : Tipo::AlteraTabla;
            nombreTabla = Sig(k + 1);
            if ((Es(nombreTabla, "dbo"_L1) ||
                 (nombreTabla < hasta_ && Texto(nombreTabla).compare(u"[dbo]", Qt::CaseInsensitive) == 0)) &&
                EsSimbolo(Sig(nombreTabla + 1), u"."))
                nombreTabla = Sig(Sig(nombreTabla + 1) + 1);
            if (nombreTabla < hasta_) {
                tablaPlana_ = NombrePlano(Texto(nombreTabla));
                temporal_ = tablaPlana_.startsWith(u'#');
                tablaSqlite_ = temporal_ || Tok(nombreTabla).clase == Clase::Nombre ? Entrecomilla(tablaPlana_)
                                                                                    : Texto(nombreTabla).toString();
            }
            if (temporal_ && tipo_ == Tipo::CreaTabla) antes_.push_back({k, u"TEMP "_s});
            if (tipo_ == Tipo::AlteraTabla) {
                const qsizetype accion = Sig(nombreTabla + 1);
                if (Es(accion, "ALTER"_L1)) NoAdmite(QStringLiteral("ALTER TABLE ... ALTER COLUMN"));
                if (Es(accion, "ADD"_L1) && (Es(Sig(accion + 1), "CONSTRAINT"_L1) ||
                                             Es(Sig(accion + 1), "PRIMARY"_L1) || Es(Sig(accion + 1), "FOREIGN"_L1) ||
                                             Es(Sig(accion + 1), "UNIQUE"_L1) || Es(Sig(accion + 1), "CHECK"_L1)))
                    NoAdmite(QStringLiteral("ALTER TABLE ... ADD CONSTRAINT"));
                if (Es(accion, "DROP"_L1) && !Es(Sig(accion + 1), "COLUMN"_L1))
                    NoAdmite(QStringLiteral("ALTER TABLE ... DROP CONSTRAINT"));
                if (Es(accion, "DROP"_L1)) {
                    // SQLite will not drop a column a trigger names: the column's own triggers go first, and the
                    // table's integer and decimal ones are made again for the columns left.
                    const QString columna = NombrePlano(Texto(Sig(Sig(accion + 1) + 1)));
                    for (const QString& nombre :
                         {u"tsql_n_"_s + tablaPlana_ + u"_i"_s, u"tsql_n_"_s + tablaPlana_ + u"_u"_s,
                          u"tsql_n_"_s + tablaPlana_ + u'_' + columna + u"_i"_s,
                          u"tsql_n_"_s + tablaPlana_ + u'_' + columna + u"_u"_s,
                          u"tsql_f_"_s + tablaPlana_ + u'_' + columna + u"_i"_s,
                          u"tsql_f_"_s + tablaPlana_ + u'_' + columna + u"_u"_s,
                          u"tsql_d_"_s + tablaPlana_ + u'_' + columna})
                        previas << u"DROP TRIGGER IF EXISTS "_s + Entrecomilla(nombre);
                    rehaceTipos = tablaPlana_;
                }
                if (Es(accion, "WITH"_L1) || Es(accion, "NOCHECK"_L1) || Es(accion, "CHECK"_L1))
                    NoAdmite(QStringLiteral("ALTER TABLE ... CHECK CONSTRAINT"));
                if (Es(accion, "ADD"_L1)) {
                    columnaAlterEn_ = Es(Sig(accion + 1), "COLUMN"_L1) ? Sig(Sig(accion + 1) + 1) : Sig(accion + 1);
                    // SQLite adds one column a statement.
                    int nivel = 0;
                    for (qsizetype j = accion; j < hasta_; ++j) {
                        if (EsSimbolo(j, u"(")) ++nivel;
                        if (EsSimbolo(j, u")")) --nivel;
                        if (nivel == 0 && EsSimbolo(j, u","))
                            NoAdmite(QStringLiteral("varias columnas en un ALTER TABLE ADD"));
                    }
                    // "ADD COLUMN" is SQLite's; the server writes ADD alone.
                    if (!Es(Sig(accion + 1), "COLUMN"_L1)) antes_.push_back({Sig(accion + 1), u"COLUMN "_s});
                }
            } else if (tipo_ == Tipo::CreaTabla) {
                if (!EsSimbolo(Sig(nombreTabla + 1), u"(")) NoAdmite(QStringLiteral("CREATE TABLE sin columnas"));
            }
        } else if (Es(k, "VIEW"_L1) || Es(k, "INDEX"_L1) || Es(k, "UNIQUE"_L1) || Es(k, "CLUSTERED"_L1) ||
                   Es(k, "NONCLUSTERED"_L1)) {
            if (Es(primera_, "ALTER"_L1)) NoAdmite(QStringLiteral("ALTER %1").arg(Texto(k).toString().toUpper()));
        } else {
            NoAdmite(QStringLiteral("%1 %2").arg(Texto(primera_).toString().toUpper(),
                                                 k < hasta_ ? Texto(k).toString().toUpper() : QString()));
        }
    }
    if (tipo_ == Tipo::Borra && Es(Sig(primera_ + 1), "INDEX"_L1)) {
        // DROP INDEX T.IX and DROP INDEX IX ON T are SQLite's DROP INDEX IX.
        const qsizetype a = Sig(Sig(primera_ + 1) + 1);
        if (EsSimbolo(Sig(a + 1), u".")) omitidos_.push_back({a, Sig(a + 1)});
        const qsizetype on = Sig(a + 1);
        if (Es(on, "ON"_L1)) omitidos_.push_back({on, hasta_ - 1});
    }

    for (qsizetype k = desde_; k < hasta_; ++k) {
        const Token& t = Tok(k);
        if (t.clase == Clase::Blanco || t.clase == Clase::Comentario) continue;
        for (const auto& [en, texto] : antes_)
            if (k == en) {
                CopiaHasta(InicioDe(k));
                salida_ += texto;
            }
        if (k == columnaAlterEn_) PlaneaColumna(k);
        if (!omitidos_.empty()) {
            bool omitido = false;
            for (const auto& [de, a] : omitidos_)
                if (k == de) {
                    CopiaHasta(InicioDe(k));
                    copiaDesde_ = InicioDe(Sig(a + 1));
                    k = a;
                    omitido = true;
                    break;
                }
            if (omitido) continue;
        }
        Nivel* n = &niveles_.back();
        const QStringView w = Texto(k);
        const bool palabra = t.clase == Clase::Palabra;
        const bool reservada = palabra && EsReservada(w);

        // A column definition starts: read it ahead.
        if (n->nuevaColumna) {
            n->nuevaColumna = false;
            if (!(palabra && EnLista(w, {"CONSTRAINT"_L1, "PRIMARY"_L1, "FOREIGN"_L1, "UNIQUE"_L1, "CHECK"_L1,
                                         "INDEX"_L1, "COLUMN"_L1})))
                PlaneaColumna(k);
            else if (Es(k, "COLUMN"_L1))
                n->nuevaColumna = true;
        }
        // A select item's alias ("expr AS a", "expr a"): its expression ends here.
        if (n->listaSelect && n->itemSelect >= 0 && k > n->itemSelect && n->aliasItem < 0 &&
            (Es(k, "AS"_L1) || (EsNombre(k) && !EsSimbolo(Sig(k + 1), u".") && !EsSimbolo(Sig(k + 1), u"(") &&
                                (EsOperandoFinal(Ant(k)) || Es(Ant(k), "END"_L1))))) {
            CopiaHasta(InicioDe(k));
            CortaCadena(*n);
            n->finItem = salida_.size();
            n->aliasItem = k;
        }
        // The start of an operand: where the calls for a chain of + and - will go.
        const bool signo = t.clase == Clase::Simbolo && (w == u"+" || w == u"-");
        const bool operandoInicia = (palabra && (!reservada || Es(k, "CASE"_L1) || Es(k, "NULL"_L1))) ||
                                    t.clase == Clase::Nombre || t.clase == Clase::Literal || t.clase == Clase::Numero ||
                                    EsSimbolo(k, u"(") || (signo && !EsOperandoFinal(Ant(k)));
        if (n->nuevoTermino && operandoInicia) {
            CopiaHasta(InicioDe(k));
            n->inicioTermino = salida_.size();
            n->nuevoTermino = false;
            n->operando = k;
        }
        bool itemNuevo = false;
        if (n->listaSelect && n->nuevoItem && !Es(k, "DISTINCT"_L1) && !Es(k, "ALL"_L1)) {
            n->nuevoItem = false;
            CopiaHasta(InicioDe(k));
            n->itemSelect = k;
            n->inicioItem = salida_.size();
            itemNuevo = true;
        }
        if (itemNuevo) {
            // "SELECT @v = expression" assigns; "SELECT alias = expression" names the column, at any level.
            if (niveles_.size() == 1 && EsSimbolo(Sig(k + 1), u"=") && palabra && w.startsWith(u'@') &&
                !w.startsWith(u"@@")) {
                asignadas << w.toString();
                n->itemSelect = -1;
                CopiaHasta(InicioDe(k));
                copiaDesde_ = FinDe(Sig(k + 1));
                k = Sig(k + 1);
                n->nuevoTermino = true;
                n->nuevoItem = false;
                const qsizetype item = Sig(k + 1);
                if (item < hasta_) ApuntaTipoDeItem(item);
                continue;
            }
            if (EsSimbolo(Sig(k + 1), u"=") && (EsNombre(k) || t.clase == Clase::Literal)) {
                n->alias =
                    t.clase == Clase::Literal
                        ? u'"' +
                              w.mid(1, w.size() - 2).toString().replace(u"''"_s, u"'"_s).replace(u"\""_s, u"\"\""_s) +
                              u'"'
                        : NombreSqlite(w);
                CopiaHasta(InicioDe(k));
                copiaDesde_ = FinDe(Sig(k + 1));
                k = Sig(k + 1);
                n->nuevoTermino = true;
                n->itemSelect = Sig(k + 1);
                n->inicioItem = salida_.size();
                const qsizetype item = Sig(k + 1);
                if (item < hasta_ && niveles_.size() == 1) ApuntaTipoDeItem(item);
                continue;
            }
            if (niveles_.size() == 1) ApuntaTipoDeItem(k);
        }

        if (plan_.tipo == k) {
            // A column's type: INTEGER for IDENTITY (SQLite's key that numbers itself), the server's collation
            // on texts and dates, and the declared length checked as the server checks it.
            CopiaHasta(t.ini);
            if (plan_.identidad >= 0) {
                salida_ += plan_.claveDeTabla ? u"INTEGER PRIMARY KEY AUTOINCREMENT"_s : u"INTEGER"_s;
            } else {
                salida_ += NombrePlano(w);
                salida_ += QStringView(s_).mid(FinDe(k), FinDe(plan_.finTipo) - FinDe(k));
            }
            // A date column keeps texts as texts ("20241226" is not the number 20241226): TEXT affinity, the
            // declared type still read as its first word.
            if (plan_.fecha) salida_ += u" TEXT"_s;
            copiaDesde_ = FinDe(plan_.finTipo);
            const QString nombre = NombreSqlite(Texto(plan_.nombre));
            if ((plan_.texto || plan_.fecha) && !plan_.collate) salida_ += u" COLLATE SQLSERVER"_s;
            if (plan_.texto && plan_.largo > 0)
                salida_ += u" CONSTRAINT tsql_8152 CHECK (length(rtrim("_s + nombre + u", ' ')) <= "_s +
                           QString::number(plan_.largo) + u')';
            if (plan_.fecha) fechas_.push_back({nombre, NombrePlano(Texto(plan_.nombre)), NombrePlano(w).toLower()});
            if (plan_.identidad < 0 && EsTipoExacto(NombrePlano(w))) {
                QString tipo = NombrePlano(w).toLower();
                for (qsizetype j = Sig(k + 1); j <= plan_.finTipo && j < hasta_; j = Sig(j + 1)) tipo += Texto(j);
                numeros_.push_back({nombre, NombrePlano(Texto(plan_.nombre)), tipo});
            }
            k = plan_.finTipo;
            continue;
        }
        if (plan_.identidad == k) {
            CopiaHasta(t.ini);
            copiaDesde_ = FinDe(plan_.finIdentidad);
            k = plan_.finIdentidad;
            continue;
        }
        if (plan_.clave == k && plan_.identidad >= 0) {
            CopiaHasta(FinDe(k));
            salida_ += u" AUTOINCREMENT"_s;
            continue;
        }

        if (t.clase == Clase::Simbolo) {
            if (w == u"(") {
                const qsizetype tras = FinDeSugerencias(k);
                if (tras > 0) {
                    CopiaHasta(t.ini);
                    copiaDesde_ = FinDe(tras - 1);
                    k = tras - 1;
                    continue;
                }
                Nivel nuevo;
                nuevo.tipo = siguienteEsCast_ ? TipoNivel::Cast : TipoNivel::Parentesis;
                siguienteEsCast_ = false;
                nuevo.cierre = cierrePendiente_;
                cierrePendiente_.clear();
                nuevo.derivada =
                    (niveles_.size() == 1 || n->derivada) &&
                    (Es(Ant(k), "FROM"_L1) || Es(Ant(k), "JOIN"_L1) || (EsSimbolo(Ant(k), u",") && n->enFrom));
                if (tipo_ == Tipo::CreaTabla && niveles_.size() == 1 && Ant(k) == nombreTabla) {
                    nuevo.columnas = true;
                    nuevo.nuevaColumna = true;
                }
                if (!trasParentesis_.isEmpty()) {
                    CopiaHasta(FinDe(k));
                    salida_ += trasParentesis_;
                    trasParentesis_.clear();
                }
                niveles_.push_back(nuevo);
                continue;
            }
            if (w == u")") {
                if (niveles_.size() == 1) continue;
                CopiaHasta(t.ini);
                CortaCadena(*n);
                CierraItemOrden(*n, k);
                EscribeLimite(*n);
                const QString cierre = n->cierre;
                niveles_.pop_back();
                if (!cierre.isEmpty()) {
                    CopiaHasta(FinDe(k));
                    salida_ += cierre;
                }
                continue;
            }
            if (w == u",") {
                CopiaHasta(t.ini);
                CortaCadena(*n);
                CierraItemOrden(*n, k);
                if (n->enOrden) n->itemOrden = Sig(k + 1);
                if (n->listaSelect) {
                    CierraItemSelect(*n, k);
                    n->nuevoItem = true;
                }
                if (n->columnas) n->nuevaColumna = true;
                continue;
            }
            if (w == u"=" || w == u"<" || w == u">" || w == u"<=" || w == u">=" || w == u"<>" || w == u"!=" ||
                w == u"!<" || w == u"!>") {
                CopiaHasta(t.ini);
                const bool columna = OperandoEsColumna(*n, k);
                CortaCadena(*n);
                if (!n->enSet && !columna) salida_ += u" COLLATE SQLSERVER "_s;
                if (w == u"!<" || w == u"!>") {
                    salida_ += w == u"!<" ? u">="_s : u"<="_s;
                    Salta(k);
                }
                if (EnLista(Texto(Sig(k + 1)), {"ALL"_L1, "ANY"_L1, "SOME"_L1}) &&
                    Tok(Sig(k + 1)).clase == Clase::Palabra)
                    NoAdmite(QStringLiteral("comparaciones con ALL, ANY o SOME"));
                continue;
            }
            if (signo || w == u"*" || w == u"/" || w == u"%") {
                if (EsSimbolo(Sig(k + 1), u"=") && Sig(k + 1) == k + 1)
                    NoAdmite(QStringLiteral("la asignación compuesta %1=").arg(w.toString()));
                if (signo && EsOperandoFinal(Ant(k)) && n->inicioTermino >= 0) {
                    CopiaHasta(t.ini);
                    if (n->inicioCadena < 0) n->inicioCadena = n->inicioTermino;
                    salida_ += n->operaciones.isEmpty() ? u","_s : u"),"_s;
                    n->operaciones << (w == u"+" ? u"tsql_suma("_s : u"tsql_resta("_s);
                    Salta(k);
                }
                continue;
            }
            if (w == u"|" || w == u"&" || w == u"^" || w == u"~") NoAdmite(QStringLiteral("los operadores de bits"));
            continue;
        }

        if (t.clase == Clase::Literal) {
            if (t.prefijoN) {
                CopiaHasta(t.ini - 1);
                copiaDesde_ = t.ini;
            }
            continue;
        }
        if (t.clase == Clase::Numero) continue;
        if (t.clase == Clase::Nombre) {
            if (w.compare(u"[dbo]", Qt::CaseInsensitive) == 0 && EsSimbolo(Sig(k + 1), u".")) {
                CopiaHasta(t.ini);
                copiaDesde_ = FinDe(Sig(k + 1));
                k = Sig(k + 1);
                continue;
            }
            if (n->enSet && niveles_.size() == 1 && EsSimbolo(Sig(k + 1), u".") && EsNombre(Sig(Sig(k + 1) + 1)) &&
                (Es(Ant(k), "SET"_L1) || EsSimbolo(Ant(k), u","))) {
                CopiaHasta(t.ini);
                copiaDesde_ = FinDe(Sig(k + 1));
                k = Sig(k + 1);
                continue;
            }
            if (w.startsWith(u'[')) {
                CopiaHasta(t.ini);
                salida_ += NombreSqlite(w);
                Salta(k);
            }
            continue;
        }

        // Words.
        if (k == parteEn_) {
            CopiaHasta(t.ini);
            salida_ += u'\'' + w.toString() + u'\'';
            Salta(k);
            continue;
        }
        if (k == tipoConvertEn_) {
            // CONVERT(varchar(10), x, 103): the type, with its length, is a text argument of the extension's.
            qsizetype fin = k;
            if (EsSimbolo(Sig(k + 1), u"(")) fin = Cierre(Sig(k + 1));
            QString tipo;
            for (qsizetype j = k; j <= fin && j < hasta_; ++j)
                if (Tok(j).clase != Clase::Blanco) tipo += Texto(j);
            CopiaHasta(t.ini);
            salida_ += u'\'' + tipo + u'\'';
            copiaDesde_ = FinDe(fin);
            k = fin;
            continue;
        }
        if (reservada && !((Es(k, "LEFT"_L1) || Es(k, "RIGHT"_L1)) && EsSimbolo(Sig(k + 1), u"(") && EsLlamada(k))) {
            if (Es(k, "SELECT"_L1)) {
                CopiaHasta(t.ini);
                CortaCadena(*n);
                n->inicioSelect = salida_.size();
                if (niveles_.size() == 1 && primerSelect_ < 0) primerSelect_ = salida_.size();
                n->listaSelect = true;
                n->nuevoItem = true;
                n->enOrden = false;
                if (n->compuestoDistinto < 0) n->compuestoDistinto = CompuestoDistinto(k) ? 1 : 0;
                n->distinto = Es(Sig(k + 1), "DISTINCT"_L1) || n->compuestoDistinto == 1;
                qsizetype j = Sig(k + 1);
                if (Es(j, "DISTINCT"_L1) || Es(j, "ALL"_L1)) j = Sig(j + 1);
                if (Es(j, "TOP"_L1)) {
                    QString filas;
                    bool porcentaje = false;
                    const qsizetype despues = SaltaTop(j, filas, porcentaje);
                    if (despues > 0) {
                        CopiaHasta(Tok(j).ini);
                        if (!filas.isEmpty()) n->limite = {true, filas, porcentaje, n->inicioSelect};
                        copiaDesde_ = InicioDe(despues);
                        k = despues - 1;
                    }
                }
                continue;
            }
            if (Es(k, "CASE"_L1)) {
                Nivel caso;
                caso.tipo = TipoNivel::Caso;
                niveles_.push_back(caso);
                continue;
            }
            if (Es(k, "END"_L1) && n->tipo == TipoNivel::Caso) {
                CopiaHasta(t.ini);
                CortaCadena(*n);
                niveles_.pop_back();
                continue;
            }
            if (Es(k, "AS"_L1) && n->tipo == TipoNivel::Cast) {
                // CAST(x AS varchar(10)) is tsql_cast(x, 'varchar(10)').
                CopiaHasta(t.ini);
                CortaCadena(*n);
                qsizetype fin = Sig(k + 1);
                const qsizetype primeraDelTipo = fin;
                if (EsSimbolo(Sig(fin + 1), u"(")) fin = Cierre(Sig(fin + 1));
                QString tipo;
                for (qsizetype j = primeraDelTipo; j <= fin && j < hasta_; ++j)
                    if (Tok(j).clase != Clase::Blanco) tipo += Texto(j);
                while (!salida_.isEmpty() && EsBlanco(salida_.back())) salida_.chop(1);
                salida_ += u", '"_s + tipo + u'\'';
                copiaDesde_ = fin < hasta_ ? FinDe(fin) : copiaDesde_;
                k = fin;
                continue;
            }
            CopiaHasta(InicioDe(k));
            const bool operandoSigue = Es(k, "NULL"_L1);
            if (!operandoSigue) {
                if (Es(k, "IN"_L1) || Es(k, "BETWEEN"_L1) ||
                    (Es(k, "NOT"_L1) && (Es(Sig(k + 1), "IN"_L1) || Es(Sig(k + 1), "BETWEEN"_L1)))) {
                    const bool columna = OperandoEsColumna(*n, k);
                    const bool hayOperando = n->operando >= 0;
                    CortaCadena(*n);
                    if (!columna && hayOperando) salida_ += u" COLLATE SQLSERVER "_s;
                    if (Es(k, "NOT"_L1)) {
                        k = Sig(k + 1);
                        CopiaHasta(FinDe(k));
                    }
                    continue;
                }
                CortaCadena(*n);
            }
            if (Es(k, "UNION"_L1) || Es(k, "EXCEPT"_L1) || Es(k, "INTERSECT"_L1)) {
                CierraItemOrden(*n, k);
                if (n->listaSelect) CierraItemSelect(*n, k);
                n->listaSelect = false;
                n->compuesto = true;
                EscribeLimite(*n);
                n->ordenEn = -1;
                n->enOrden = false;
                continue;
            }
            if ((Es(k, "ORDER"_L1) || Es(k, "GROUP"_L1)) && Es(Sig(k + 1), "BY"_L1)) {
                n->enFrom = false;
                CierraItemOrden(*n, k);
                if (n->listaSelect) CierraItemSelect(*n, k);
                n->listaSelect = false;
                if (Es(k, "ORDER"_L1)) n->ordenEn = salida_.size();
                n->enOrden = true;
                k = Sig(k + 1);
                n->itemOrden = Sig(k + 1);
                continue;
            }
            if (Es(k, "ASC"_L1) || Es(k, "DESC"_L1)) {
                CierraItemOrden(*n, k);
                continue;
            }
            if (Es(k, "FROM"_L1) || Es(k, "WHERE"_L1) || Es(k, "HAVING"_L1) || Es(k, "INTO"_L1) || Es(k, "ON"_L1)) {
                CierraItemOrden(*n, k);
                n->enOrden = false;
                if (n->listaSelect) CierraItemSelect(*n, k);
                if (Es(k, "INTO"_L1) && n->listaSelect) NoAdmite(QStringLiteral("SELECT ... INTO"));
                n->listaSelect = false;
                n->enSet = false;
                n->enFrom = Es(k, "FROM"_L1);
                if (Es(k, "FROM"_L1) && niveles_.size() == 1) {
                    AgregaTabla(k + 1);
                    if (tipo_ == Tipo::Update) {
                        // UPDATE ... FROM naming the updated table again joins it to itself in SQLite.
                        qsizetype objetivo = Sig(primera_ + 1);
                        if (Es(objetivo, "dbo"_L1)) objetivo = Sig(Sig(objetivo + 1) + 1);
                        const QString plano = objetivo < hasta_ ? NombrePlano(Texto(objetivo)) : QString();
                        for (qsizetype j = k + 1; j < hasta_ && !Es(j, "WHERE"_L1); ++j)
                            if ((Tok(j).clase == Clase::Palabra || Tok(j).clase == Clase::Nombre) &&
                                NombrePlano(Texto(j)).compare(plano, Qt::CaseInsensitive) == 0)
                                NoAdmite(QStringLiteral("UPDATE ... FROM que nombra otra vez la tabla actualizada"));
                    }
                    if (tipo_ == Tipo::Delete && Sig(primera_ + 1) != k)
                        NoAdmite(QStringLiteral("DELETE ... FROM ... FROM"));
                }
                continue;
            }
            if (Es(k, "JOIN"_L1)) {
                if (tipo_ == Tipo::Delete) NoAdmite(QStringLiteral("DELETE con JOIN"));
                if (niveles_.size() == 1) AgregaTabla(k + 1);
                continue;
            }
            if (Es(k, "SET"_L1)) {
                if (tipo_ == Tipo::Update && niveles_.size() == 1) n->enSet = true;
                continue;
            }
            if (Es(k, "WITH"_L1)) {
                if (EsSimbolo(Sig(k + 1), u"(")) {
                    const qsizetype tras = FinDeSugerencias(Sig(k + 1));
                    if (tras > 0) {
                        CopiaHasta(t.ini);
                        copiaDesde_ = FinDe(tras - 1);
                        k = tras - 1;
                        continue;
                    }
                }
                if (k != primera_ && !Es(Ant(k), "AS"_L1))
                    NoAdmite(QStringLiteral("WITH %1").arg(Texto(Sig(k + 1)).toString()));
                continue;
            }
            if (Es(k, "COLLATE"_L1)) {
                // The server's collation names: case-insensitive ones are SQLSERVER, case-sensitive BINARY.
                const qsizetype nombre = Sig(k + 1);
                if (nombre >= hasta_) continue;
                const QString c = Texto(nombre).toString().toUpper();
                QString sqlite;
                if (c == u"SQLSERVER" || c == u"NOCASE" || c == u"BINARY" || c == u"RTRIM") continue;
                if (c.contains(u"_CI_"_s) || c.endsWith(u"_CI"_s))
                    sqlite = u"SQLSERVER"_s;
                else if (c.contains(u"_CS_"_s) || c.endsWith(u"_BIN"_s) || c.endsWith(u"_BIN2"_s))
                    sqlite = u"BINARY"_s;
                else
                    NoAdmite(QStringLiteral("la intercalación %1").arg(Texto(nombre).toString()));
                CopiaHasta(Tok(nombre).ini);
                salida_ += sqlite;
                Salta(nombre);
                k = nombre;
                continue;
            }
            if (Es(k, "CLUSTERED"_L1) || Es(k, "NONCLUSTERED"_L1)) {
                CopiaHasta(t.ini);
                Salta(k);
                continue;
            }
            if (Es(k, "DEFAULT"_L1)) {
                // DEFAULT getdate() is DEFAULT (getdate()) for SQLite.
                const qsizetype v = Sig(k + 1);
                if (v < hasta_ && Tok(v).clase == Clase::Palabra && EsSimbolo(Sig(v + 1), u"(")) {
                    CopiaHasta(FinDe(k));
                    salida_ += u" ("_s;
                    cierrePendiente_ = u")"_s;
                }
                continue;
            }
            if (Es(k, "TABLE"_L1) && tipo_ == Tipo::Select) continue;
            if (EnLista(w, {"APPLY"_L1, "PIVOT"_L1, "UNPIVOT"_L1, "OUTPUT"_L1, "OPTION"_L1, "OVER"_L1, "OFFSET"_L1,
                            "FETCH"_L1}))
                NoAdmite(w.toString().toUpper());
            if (Es(k, "FOR"_L1)) NoAdmite(QStringLiteral("FOR %1").arg(Texto(Sig(k + 1)).toString().toUpper()));
            continue;
        }

        // Words that are not reserved: names, functions, variables.
        if (w.startsWith(u"@@")) {
            if (IgualPalabra(w, "@@IDENTITY"_L1)) {
                CopiaHasta(t.ini);
                salida_ += u"tsql_identidad()"_s;
                Salta(k);
                continue;
            }
            NoAdmite(w.toString().toUpper());
        }
        if (w.startsWith(u'#')) {
            CopiaHasta(t.ini);
            salida_ += Entrecomilla(w.toString());
            Salta(k);
            continue;
        }
        if (IgualPalabra(w, "dbo"_L1) && EsSimbolo(Sig(k + 1), u".")) {
            CopiaHasta(t.ini);
            copiaDesde_ = FinDe(Sig(k + 1));
            k = Sig(k + 1);
            continue;
        }
        if (n->enSet && niveles_.size() == 1 && EsSimbolo(Sig(k + 1), u".") && EsNombre(Sig(Sig(k + 1) + 1)) &&
            (Es(Ant(k), "SET"_L1) || EsSimbolo(Ant(k), u","))) {
            // UPDATE T SET T.Campo = ...: SQLite names the column alone.
            CopiaHasta(t.ini);
            copiaDesde_ = FinDe(Sig(k + 1));
            k = Sig(k + 1);
            continue;
        }
        if (EsLlamada(k)) {
            const Funcion* f = BuscaFuncion(w);
            if (!f && EsFuncionDelServidor(w)) NoAdmite(QStringLiteral("la función %1").arg(w.toString().toUpper()));
            if (!f)
                throw ErrorMotor({{Err::ErrorSentencia,
                                   QStringLiteral("'%1' is not a recognized built-in function name.").arg(w.toString()),
                                   QString(), QStringLiteral("42000"), 195}});
            if (IgualPalabra(w, "AVG"_L1)) {
                QString primero;
                const QString promedio = Promedio(k, primero);
                if (!promedio.isEmpty()) {
                    CopiaHasta(t.ini);
                    salida_ += promedio;
                    const qsizetype cierra = Cierre(Sig(k + 1));
                    if (n->listaSelect && n->itemSelect == k) {
                        n->finPromedio = cierra;
                        n->nombrePromedio.clear();
                        for (qsizetype j = k; j <= cierra; ++j)
                            n->nombrePromedio +=
                                Tok(j).clase == Clase::Nombre ? NombreSqlite(Texto(j)) : Texto(j).toString();
                    }
                    if (primero.isEmpty()) {
                        // The whole call was written.
                        k = cierra;
                        copiaDesde_ = FinDe(k);
                    } else {
                        // Only the name: the argument is translated as it comes, after the flag.
                        Salta(k);
                        antes_.push_back({Sig(Sig(k + 1) + 1), primero});
                    }
                    continue;
                }
            }
            const qsizetype abre = Sig(k + 1);
            if (f->sqlite) {
                CopiaHasta(t.ini);
                salida_ += QLatin1StringView(f->sqlite);
                Salta(k);
            }
            if (f->parte) parteEn_ = Sig(abre + 1);
            if (f->parteFija) trasParentesis_ = u'\'' + QString::fromLatin1(f->parteFija) + u"', "_s;
            if (IgualPalabra(w, "CONVERT"_L1)) tipoConvertEn_ = Sig(abre + 1);
            if (IgualPalabra(w, "CAST"_L1)) siguienteEsCast_ = true;
            continue;
        }
        if (EsSimbolo(Sig(k + 1), u".") && Tok(Sig(Sig(k + 1) + 1)).clase == Clase::Palabra &&
            EsSimbolo(Sig(Sig(Sig(k + 1) + 1) + 1), u"(") && !EsReservada(Texto(Sig(Sig(k + 1) + 1))))
            NoAdmite(QStringLiteral("las funciones de usuario (%1)").arg(Texto(Sig(Sig(k + 1) + 1)).toString()));
    }

    // The statement's end closes what is open.
    CopiaHasta(InicioDe(hasta_));
    while (niveles_.size() > 1) {
        CortaCadena(niveles_.back());
        niveles_.pop_back();
    }
    Nivel& n = niveles_.back();
    CortaCadena(n);
    CierraItemOrden(n, hasta_);
    if (n.listaSelect) CierraItemSelect(n, hasta_);
    EscribeLimite(n);

    if (!comunes_.isEmpty()) {
        const qsizetype en = tipo_ == Tipo::Crea ? (primerSelect_ < 0 ? 0 : primerSelect_) : 0;
        salida_.insert(en, u"WITH "_s + comunes_.join(u", "_s) + u' ');
    }
    // A pair of triggers after INSERT and after UPDATE OF the columns, the body the same.
    const QString crea = u"CREATE "_s + (temporal_ ? u"TEMP "_s : QString()) + u"TRIGGER "_s;
    auto pareja = [&](const QString& nombre, const QString& columnas, const QString& cuerpo) {
        despues << crea + Entrecomilla(nombre + u"_i"_s) + u" AFTER INSERT ON "_s + tablaSqlite_ + cuerpo;
        despues << crea + Entrecomilla(nombre + u"_u"_s) + u" AFTER UPDATE OF "_s + columnas + u" ON "_s +
                       tablaSqlite_ + cuerpo;
    };
    // Dates are kept in one form whatever form they are written in: the triggers of each date column.
    for (const ColumnaTipada& c : fechas_) {
        const QString condicion = c.tipo == u"date" ? u"tsql_es_fecha(NEW."_s + c.nombre + u") = 0 OR substr(NEW."_s +
                                                          c.nombre + u", 12) <> '00:00:00.000'"_s
                                                    : u"tsql_es_fecha(NEW."_s + c.nombre + u") = 0"_s;
        pareja(u"tsql_f_"_s + tablaPlana_ + u'_' + c.plano, c.nombre,
               u" FOR EACH ROW WHEN "_s + condicion + u" BEGIN UPDATE "_s + tablaSqlite_ + u" SET "_s + c.nombre +
                   u" = convert('"_s + c.tipo + u"', NEW."_s + c.nombre + u") WHERE rowid = NEW.rowid; END"_s);
    }
    // Integer and decimal columns keep what the server would store: a fraction truncated in an integer column,
    // the declared scale rounded, a text converted, or the server's error (245, 8114, 8115). One pair of triggers
    // for all of a table's such columns, as each trigger adds to the cost of preparing a statement on it.
    if (!numeros_.empty()) {
        QStringList fuera, conversiones, columnas;
        for (const ColumnaTipada& c : numeros_) {
            const QString tipo = u'\'' + QString(c.tipo).replace(u"'"_s, u"''"_s) + u'\'';
            fuera << u"tsql_fuera_de_tipo(NEW."_s + c.nombre + u", "_s + tipo + u')';
            conversiones << c.nombre + u" = tsql_cast(NEW."_s + c.nombre + u", "_s + tipo + u')';
            columnas << c.nombre;
        }
        // ALTER TABLE ADD names its column, so that a table's columns added one by one get their own triggers.
        const QString nombre = tipo_ == Tipo::AlteraTabla ? tablaPlana_ + u'_' + numeros_.front().plano : tablaPlana_;
        pareja(u"tsql_n_"_s + nombre, columnas.join(u", "_s),
               u" FOR EACH ROW WHEN "_s + fuera.join(u" OR "_s) + u" BEGIN UPDATE "_s + tablaSqlite_ + u" SET "_s +
                   conversiones.join(u", "_s) + u" WHERE rowid = NEW.rowid; END"_s);
    }
    if (tipo_ != Tipo::Select || niveles_.front().compuesto) tiposColumnas.clear();
    return salida_;
}

void Traductor::TraduceSinDefinicion(qsizetype desde, qsizetype hasta, QString& texto) {
    Traductor expresion(s_, t_, desde, hasta, contador_);
    texto = expresion.Traduce();
}

// Words that begin a statement of a batch.
bool EmpiezaSentencia(QStringView w) {
    return EnLista(
        w, {"INSERT"_L1, "UPDATE"_L1,   "DELETE"_L1,  "CREATE"_L1,   "DROP"_L1,      "ALTER"_L1,   "BEGIN"_L1,
            "COMMIT"_L1, "ROLLBACK"_L1, "SAVE"_L1,    "TRUNCATE"_L1, "EXEC"_L1,      "EXECUTE"_L1, "SELECT"_L1,
            "SET"_L1,    "IF"_L1,       "DECLARE"_L1, "ELSE"_L1,     "END"_L1,       "WHILE"_L1,   "PRINT"_L1,
            "RETURN"_L1, "USE"_L1,      "MERGE"_L1,   "GOTO"_L1,     "RAISERROR"_L1, "THROW"_L1,   "WAITFOR"_L1});
}

// Reads a batch into steps: statements split by their grammar, IF/ELSE, BEGIN...END, DECLARE and SET.
class Analizador {
  public:
    explicit Analizador(const QString& s) : s_(s), t_(Tokeniza(s, true)), n_(static_cast<qsizetype>(t_.size())) {}

    LoteTSql Analiza() {
        qsizetype k = Sig(0);
        while (k < n_) Instruccion(k);
        return std::move(lote_);
    }

  private:
    // Outside the tokens (a lookahead past an unfinished statement) there is no text, and no token but an empty
    // comment at the end.
    QStringView Texto(qsizetype k) const {
        if (k < 0 || k >= qsizetype(t_.size())) return {};
        return QStringView(s_).mid(t_[k].ini, t_[k].largo);
    }
    Token Tok(qsizetype k) const {
        if (k < 0 || k >= qsizetype(t_.size())) return {Clase::Comentario, s_.size(), 0};
        return t_[k];
    }
    bool Es(qsizetype k, QLatin1StringView w) const {
        return k >= 0 && k < n_ && Tok(k).clase == Clase::Palabra && IgualPalabra(Texto(k), w);
    }
    bool EsSimbolo(qsizetype k, QStringView c) const {
        return k >= 0 && k < n_ && Tok(k).clase == Clase::Simbolo && Texto(k) == c;
    }
    qsizetype Sig(qsizetype k) const {
        while (k < n_ && (Tok(k).clase == Clase::Blanco || Tok(k).clase == Clase::Comentario)) ++k;
        return k;
    }
    // Whether token k is a line break (blanks holding one), or lies outside the text.
    bool FinDeLinea(qsizetype k) const {
        if (k < 0 || k >= n_) return true;
        if (Tok(k).clase != Clase::Blanco) return false;
        const QStringView b = QStringView(s_).mid(Tok(k).ini, Tok(k).largo);
        return b.contains(u'\n') || b.contains(u'\r');
    }
    // A line holding only GO separates batches for the server's tools; here it ends a statement.
    bool EsGo(qsizetype k) const { return Es(k, "GO"_L1) && FinDeLinea(k - 1) && FinDeLinea(k + 1); }

    [[noreturn]] void Sintaxis(qsizetype k) const {
        if (k >= n_) FallaSintaxis(102, QStringLiteral("Incorrect syntax near the end of the batch."));
        FallaSintaxis(156, QStringLiteral("Incorrect syntax near the keyword '%1'.").arg(Texto(k).toString()));
    }

    // The first token after the statement that begins at primera: a ';', a GO line, or a word that begins
    // another statement and cannot go on with this one, at the outer level.
    qsizetype FinDeSentencia(qsizetype primera) const {
        // A statement may open with a parenthesis: (SELECT ...) UNION (SELECT ...).
        int nivel = EsSimbolo(primera, u"(") ? 1 : 0, casos = 0;
        qsizetype anterior = primera;
        bool conSet = false, conFilas = false;
        const bool crea = Es(primera, "CREATE"_L1) || Es(primera, "ALTER"_L1);
        for (qsizetype k = Sig(primera + 1); k < n_; k = Sig(k + 1)) {
            const Token& t = Tok(k);
            if (t.clase == Clase::Simbolo) {
                if (Texto(k) == u"(") ++nivel;
                if (Texto(k) == u")" && nivel > 0) --nivel;
                if (Texto(k) == u";" && nivel == 0) return k;
            }
            if (t.clase == Clase::Palabra && nivel == 0) {
                if (Es(k, "CASE"_L1)) ++casos;
                if (Es(k, "END"_L1) && casos > 0) {
                    --casos;
                    anterior = k;
                    continue;
                }
                if (EsGo(k)) return k;
                if (casos == 0 && EmpiezaSentencia(Texto(k))) {
                    const bool accion = Es(k, "DELETE"_L1) || Es(k, "UPDATE"_L1);
                    bool sigue = crea && Es(anterior, "ON"_L1) && accion;
                    sigue = sigue || (Es(anterior, "FOR"_L1) && Es(k, "UPDATE"_L1));
                    sigue = sigue || (crea && (Es(k, "DROP"_L1) || Es(k, "ALTER"_L1)) && Es(primera, "ALTER"_L1));
                    if (Es(k, "SELECT"_L1))
                        sigue = sigue || Es(anterior, "UNION"_L1) || Es(anterior, "ALL"_L1) ||
                                Es(anterior, "EXCEPT"_L1) || Es(anterior, "INTERSECT"_L1) ||
                                (crea && Es(anterior, "AS"_L1)) || (Es(primera, "INSERT"_L1) && !conFilas) ||
                                (Es(primera, "WITH"_L1) && !conFilas);
                    if (Es(k, "SET"_L1))
                        sigue = sigue || (Es(primera, "UPDATE"_L1) && !conSet) ||
                                (crea && (Es(anterior, "DELETE"_L1) || Es(anterior, "UPDATE"_L1)));
                    if (!sigue) return k;
                    if (Es(k, "SET"_L1)) conSet = true;
                    if (Es(k, "SELECT"_L1)) conFilas = true;
                }
                if (Es(k, "VALUES"_L1)) conFilas = true;
            }
            anterior = k;
        }
        return n_;
    }

    // Translates tokens [desde, hasta) as one statement.
    Traductor Traduce(qsizetype desde, qsizetype hasta, QString& sql) {
        Traductor t(s_, t_, desde, hasta, contador_);
        sql = t.Traduce();
        return t;
    }

    void AgregaSentencia(qsizetype desde, qsizetype hasta) {
        QString sql;
        Traductor t = Traduce(desde, hasta, sql);
        for (const QString& d : t.previas) {
            PasoLote previa;
            previa.sql = d;
            previa.definicion = true;
            lote_.pasos.push_back(std::move(previa));
        }
        PasoLote p;
        p.sql = sql;
        if (!t.asignadas.isEmpty()) {
            p.clase = PasoLote::Clase::Asigna;
            p.variables = t.asignadas;
            // Each value takes its variable's type, as the server converts on assignment.
            QStringList columnas, valores;
            bool convierte = false;
            for (qsizetype i = 0; i < t.asignadas.size(); ++i) {
                columnas << u"c"_s + QString::number(i);
                const QString tipo = tipos_.value(t.asignadas[i].toLower());
                convierte = convierte || !tipo.isEmpty();
                valores << (tipo.isEmpty() ? columnas.back() : ConvierteA(columnas.back(), tipo));
            }
            if (convierte)
                p.sql = u"WITH tsql_asigna("_s + columnas.join(u", "_s) + u") AS ("_s + sql + u") SELECT "_s +
                        valores.join(u", "_s) + u" FROM tsql_asigna"_s;
        } else {
            p.cuenta = t.cuenta;
            p.definicion = t.definicion;
            p.tiposColumnas = t.tiposColumnas;
            p.tablas = t.tablas;
        }
        lote_.pasos.push_back(std::move(p));
        for (const QString& d : t.despues) {
            PasoLote extra;
            extra.sql = d;
            extra.definicion = true;
            lote_.pasos.push_back(std::move(extra));
        }
        if (!t.rehaceTipos.isEmpty()) {
            PasoLote tipos;
            tipos.clase = PasoLote::Clase::Tipos;
            tipos.sql = u"PRAGMA table_info("_s + Entrecomilla(t.rehaceTipos) + u')';
            tipos.variables = {t.rehaceTipos};
            lote_.pasos.push_back(std::move(tipos));
        }
    }

    void Agrega(PasoLote::Clase clase, const QString& sql, const QStringList& variables = {}) {
        PasoLote p;
        p.clase = clase;
        p.sql = sql;
        p.variables = variables;
        lote_.pasos.push_back(std::move(p));
    }

    // SET @v = expression and the initial value of DECLARE: the expression as a one-row SELECT, converted to the
    // variable's type.
    void AgregaAsignacion(const QString& variable, qsizetype desde, qsizetype hasta) {
        if (Sig(desde) >= hasta) Sintaxis(hasta);
        QString sql;
        Traduce(desde, hasta, sql);
        const QString tipo = tipos_.value(variable.toLower());
        Agrega(PasoLote::Clase::Asigna, u"SELECT "_s + (tipo.isEmpty() ? sql : ConvierteA(u'(' + sql + u')', tipo)),
               {variable});
    }

    // The extension's conversion to a variable's declared type.
    static QString ConvierteA(const QString& valor, const QString& tipo) {
        return u"tsql_cast("_s + valor + u", '"_s + QString(tipo).replace(u"'"_s, u"''"_s) + u"')"_s;
    }

    // A declared type the extension converts to, as CAST writes it; empty for one it does not know (the value is
    // then kept as given). A text type without a length is one character long in a declaration.
    static QString TipoDeVariable(QString tipo) {
        tipo.remove(u' ');
        const QString nombre = tipo.section(u'(', 0, 0).toLower();
        if (!EsTipoExacto(nombre) && !EsTipoFecha(nombre) && !EsTipoTexto(nombre) &&
            !EnLista(nombre, {"float"_L1, "real"_L1}))
            return {};
        if (nombre.endsWith(u"char"_s) && !tipo.contains(u'(')) tipo += u"(1)"_s;
        return tipo;
    }

    void Instruccion(qsizetype& k) {
        k = Sig(k);
        if (k >= n_) return;
        if (EsSimbolo(k, u";") || EsGo(k)) {
            k = Sig(k + 1);
            return;
        }
        const Token& t = Tok(k);
        if (t.clase != Clase::Palabra && !EsSimbolo(k, u"(")) Sintaxis(k);
        const QStringView w = Texto(k);

        if (Es(k, "IF"_L1)) {
            const qsizetype desde = Sig(k + 1);
            qsizetype fin = desde;
            int nivel = 0, casos = 0;
            for (; fin < n_; fin = Sig(fin + 1)) {
                if (EsSimbolo(fin, u"(")) ++nivel;
                if (EsSimbolo(fin, u")")) --nivel;
                if (nivel != 0 || Tok(fin).clase != Clase::Palabra) continue;
                if (Es(fin, "CASE"_L1)) ++casos;
                if (Es(fin, "END"_L1) && casos > 0) {
                    --casos;
                    continue;
                }
                if (casos == 0 && EmpiezaSentencia(Texto(fin))) break;
            }
            if (fin <= desde || fin >= n_) Sintaxis(fin);
            QString condicion;
            Traduce(desde, fin, condicion);
            const size_t si = lote_.pasos.size();
            Agrega(PasoLote::Clase::Si, u"SELECT CASE WHEN "_s + condicion + u" THEN 1 ELSE 0 END"_s);
            k = fin;
            Instruccion(k);
            k = Sig(k);
            while (EsSimbolo(k, u";")) k = Sig(k + 1);
            if (Es(k, "ELSE"_L1)) {
                const size_t salta = lote_.pasos.size();
                Agrega(PasoLote::Clase::Salta, QString());
                lote_.pasos[si].destino = static_cast<int>(lote_.pasos.size());
                k = Sig(k + 1);
                Instruccion(k);
                lote_.pasos[salta].destino = static_cast<int>(lote_.pasos.size());
            } else {
                lote_.pasos[si].destino = static_cast<int>(lote_.pasos.size());
            }
            return;
        }
        if (Es(k, "BEGIN"_L1)) {
            const qsizetype s = Sig(k + 1);
            if (Es(s, "TRY"_L1) || Es(s, "CATCH"_L1)) NoAdmite(QStringLiteral("BEGIN TRY ... CATCH"));
            if (Es(s, "DISTRIBUTED"_L1)) NoAdmite(QStringLiteral("las transacciones distribuidas"));
            if (Es(s, "TRAN"_L1) || Es(s, "TRANSACTION"_L1) || Es(s, "WORK"_L1) || s >= n_ || EsSimbolo(s, u";") ||
                EsGo(s)) {
                k = Es(s, "TRAN"_L1) || Es(s, "TRANSACTION"_L1) || Es(s, "WORK"_L1) ? Sig(s + 1) : s;
                SaltaNombreDeTransaccion(k);
                Agrega(PasoLote::Clase::Sentencia, u"BEGIN"_s);
                return;
            }
            // A block: its statements up to END.
            k = s;
            while (k < n_ && !Es(k, "END"_L1)) {
                Instruccion(k);
                k = Sig(k);
            }
            if (k >= n_) Sintaxis(k);
            k = Sig(k + 1);
            return;
        }
        if (Es(k, "COMMIT"_L1) || Es(k, "ROLLBACK"_L1)) {
            const bool confirma = Es(k, "COMMIT"_L1);
            qsizetype s = Sig(k + 1);
            if (Es(s, "TRAN"_L1) || Es(s, "TRANSACTION"_L1) || Es(s, "WORK"_L1)) s = Sig(s + 1);
            QString punto;
            if (s < n_ && (Tok(s).clase == Clase::Palabra || Tok(s).clase == Clase::Nombre) &&
                !EmpiezaSentencia(Texto(s)) && !EsGo(s)) {
                punto = NombrePlano(Texto(s));
                s = Sig(s + 1);
            }
            k = s;
            if (!confirma && !punto.isEmpty() && puntos_.contains(punto.toLower()))
                Agrega(PasoLote::Clase::Sentencia, u"ROLLBACK TO "_s + Entrecomilla(punto));
            else
                Agrega(PasoLote::Clase::Sentencia, confirma ? u"COMMIT"_s : u"ROLLBACK"_s);
            return;
        }
        if (Es(k, "SAVE"_L1)) {
            qsizetype s = Sig(k + 1);
            if (!Es(s, "TRAN"_L1) && !Es(s, "TRANSACTION"_L1)) Sintaxis(s);
            s = Sig(s + 1);
            if (s >= n_ || (Tok(s).clase != Clase::Palabra && Tok(s).clase != Clase::Nombre)) Sintaxis(s);
            const QString punto = NombrePlano(Texto(s));
            puntos_ << punto.toLower();
            Agrega(PasoLote::Clase::Sentencia, u"SAVEPOINT "_s + Entrecomilla(punto));
            k = Sig(s + 1);
            return;
        }
        if (Es(k, "DECLARE"_L1)) {
            qsizetype j = Sig(k + 1);
            const qsizetype fin = FinDeSentencia(k);
            for (;;) {
                if (j >= fin || Tok(j).clase != Clase::Palabra || !Texto(j).startsWith(u'@')) Sintaxis(j);
                const QString variable = Texto(j).toString();
                j = Sig(j + 1);
                if (Es(j, "AS"_L1)) j = Sig(j + 1);
                if (Es(j, "TABLE"_L1)) NoAdmite(QStringLiteral("las variables de tabla"));
                if (Es(j, "CURSOR"_L1) || Es(j, "CURSOR"_L1)) NoAdmite(QStringLiteral("los cursores"));
                if (j >= fin || (Tok(j).clase != Clase::Palabra && Tok(j).clase != Clase::Nombre)) Sintaxis(j);
                const qsizetype inicioTipo = j;
                j = Sig(j + 1);
                if (EsSimbolo(j, u"(")) {
                    while (j < fin && !EsSimbolo(j, u")")) ++j;
                    j = Sig(j + 1);
                }
                QString tipo;
                for (qsizetype x = inicioTipo; x < j && x < fin; x = Sig(x + 1))
                    tipo += Tok(x).clase == Clase::Nombre ? NombrePlano(Texto(x)) : Texto(x).toString();
                tipos_.insert(variable.toLower(), TipoDeVariable(tipo));
                Agrega(PasoLote::Clase::Declara, QString(), {variable});
                qsizetype finValor = j;
                if (EsSimbolo(j, u"=")) {
                    int nivel = 0;
                    for (finValor = Sig(j + 1); finValor < fin; finValor = Sig(finValor + 1)) {
                        if (EsSimbolo(finValor, u"(")) ++nivel;
                        if (EsSimbolo(finValor, u")")) --nivel;
                        if (nivel == 0 && EsSimbolo(finValor, u",")) break;
                    }
                    AgregaAsignacion(variable, Sig(j + 1), finValor);
                }
                if (!EsSimbolo(finValor, u",")) break;
                j = Sig(finValor + 1);
            }
            k = fin;
            return;
        }
        if (Es(k, "SET"_L1)) {
            const qsizetype s = Sig(k + 1);
            const qsizetype fin = FinDeSentencia(k);
            if (s < n_ && Tok(s).clase == Clase::Palabra && Texto(s).startsWith(u'@')) {
                const qsizetype igual = Sig(s + 1);
                if (!EsSimbolo(igual, u"=")) {
                    if (Tok(igual).clase == Clase::Simbolo && EsSimbolo(Sig(igual + 1), u"="))
                        NoAdmite(QStringLiteral("la asignación compuesta %1=").arg(Texto(igual).toString()));
                    Sintaxis(igual);
                }
                AgregaAsignacion(Texto(s).toString(), Sig(igual + 1), fin);
                k = fin;
                return;
            }
            Opcion(s, fin);
            k = fin;
            return;
        }
        if (EnLista(w,
                    {"EXEC"_L1,        "EXECUTE"_L1,  "MERGE"_L1,      "WHILE"_L1,     "PRINT"_L1,    "RETURN"_L1,
                     "USE"_L1,         "GOTO"_L1,     "RAISERROR"_L1,  "THROW"_L1,     "WAITFOR"_L1,  "OPEN"_L1,
                     "FETCH"_L1,       "CLOSE"_L1,    "DEALLOCATE"_L1, "GRANT"_L1,     "REVOKE"_L1,   "DENY"_L1,
                     "BULK"_L1,        "DBCC"_L1,     "BACKUP"_L1,     "RESTORE"_L1,   "KILL"_L1,     "CHECKPOINT"_L1,
                     "RECONFIGURE"_L1, "SHUTDOWN"_L1, "UPDATETEXT"_L1, "WRITETEXT"_L1, "READTEXT"_L1, "BREAK"_L1,
                     "CONTINUE"_L1}))
            NoAdmite(QStringLiteral("la instrucción %1").arg(w.toString().toUpper()));
        if (Es(k, "ELSE"_L1) || Es(k, "END"_L1)) Sintaxis(k);
        if (t.clase == Clase::Palabra && !EnLista(w, {"SELECT"_L1, "WITH"_L1, "INSERT"_L1, "UPDATE"_L1, "DELETE"_L1,
                                                      "CREATE"_L1, "ALTER"_L1, "DROP"_L1, "TRUNCATE"_L1, "PRAGMA"_L1}))
            FallaSintaxis(102, QStringLiteral("Incorrect syntax near '%1'.").arg(w.toString()));
        const qsizetype fin = FinDeSentencia(k);
        if (Es(k, "PRAGMA"_L1)) {
            // The layer's own reads of SQLite's catalogue go as they are.
            Agrega(PasoLote::Clase::Sentencia, s_.mid(Tok(k).ini, (fin < n_ ? Tok(fin).ini : s_.size()) - Tok(k).ini));
            k = fin;
            return;
        }
        AgregaSentencia(k, fin);
        k = fin;
    }

    void SaltaNombreDeTransaccion(qsizetype& k) {
        if (k < n_ && (Tok(k).clase == Clase::Palabra || Tok(k).clase == Clase::Nombre) &&
            !EmpiezaSentencia(Texto(k)) && !EsGo(k) && !Es(k, "WITH"_L1))
            k = Sig(k + 1);
    }

    // SET of a session option: those that change nothing here go; XACT_ABORT and NOCOUNT are kept for the session;
    // those that would change a result are refused unless set as the embedded server always is.
    void Opcion(qsizetype s, qsizetype fin) {
        if (s >= fin || Tok(s).clase != Clase::Palabra) Sintaxis(s);
        const QStringView opcion = Texto(s);
        QString valor;
        for (qsizetype j = Sig(s + 1); j < fin; j = Sig(j + 1)) valor += Texto(j).toString().toUpper() + u' ';
        valor = valor.trimmed();
        if (EnLista(opcion, {"ANSI_NULLS"_L1, "ANSI_WARNINGS"_L1, "ANSI_PADDING"_L1, "ANSI_NULL_DFLT_ON"_L1,
                             "QUOTED_IDENTIFIER"_L1, "ARITHABORT"_L1, "LOCK_TIMEOUT"_L1, "DEADLOCK_PRIORITY"_L1,
                             "TEXTSIZE"_L1, "STATISTICS"_L1, "TRANSACTION"_L1, "IDENTITY_INSERT"_L1,
                             "NUMERIC_ROUNDABORT"_L1, "CONCAT_NULL_YIELDS_NULL"_L1}))
            return;
        if (IgualPalabra(opcion, "XACT_ABORT"_L1) || IgualPalabra(opcion, "NOCOUNT"_L1)) {
            PasoLote p;
            p.clase = PasoLote::Clase::Opcion;
            p.variables << opcion.toString().toUpper();
            p.valor = valor == u"ON";
            lote_.pasos.push_back(std::move(p));
            return;
        }
        const bool igual =
            (IgualPalabra(opcion, "DATEFORMAT"_L1) && valor == u"DMY") ||
            (IgualPalabra(opcion, "DATEFIRST"_L1) && valor == u"7") ||
            (IgualPalabra(opcion, "ROWCOUNT"_L1) && valor == u"0") ||
            (IgualPalabra(opcion, "IMPLICIT_TRANSACTIONS"_L1) && valor == u"OFF") ||
            (IgualPalabra(opcion, "LANGUAGE"_L1) && (valor.contains(u"SPANISH"_s) || valor.contains(u"ESPAÑOL"_s)));
        if (!igual) NoAdmite(QStringLiteral("SET %1 %2").arg(opcion.toString().toUpper(), valor));
    }

    const QString& s_;
    std::vector<Token> t_;
    qsizetype n_;
    LoteTSql lote_;
    QHash<QString, QString> tipos_;  // each declared variable's type, as TipoDeVariable gives it
    int contador_ = 0;
    QStringList puntos_;  // savepoints named by SAVE TRAN
};

// A variable's value as a literal in the statement that reads it.
QString Literal(const Variant& v) {
    switch (v.Tipo()) {
        case TipoVariant::Empty:
        case TipoVariant::Null:
            return u"NULL"_s;
        case TipoVariant::Boolean:
            return v.ABooleano() ? u"1"_s : u"0"_s;
        case TipoVariant::Integer:
        case TipoVariant::Long:
            return QString::number(v.ALargo());
        case TipoVariant::Double:
        case TipoVariant::Single:
        case TipoVariant::Currency:
            return QString::number(v.ADouble(), 'g', 17);
        case TipoVariant::Date:
            return u'\'' + v.AFecha().toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s) + u'\'';
        default:
            return u'\'' + v.ATexto().replace(u"'"_s, u"''"_s) + u'\'';
    }
}

// The statement with each @variable replaced by its value; an undeclared one is the server's error 137.
QString Sustituye(const QString& sql, const QHash<QString, Variant>& variables) {
    if (!sql.contains(u'@')) return sql;
    const std::vector<Token> tokens = Tokeniza(sql, false);
    QString salida;
    qsizetype desde = 0;
    for (const Token& t : tokens) {
        if (t.clase != Clase::Palabra || sql[t.ini] != u'@' || (t.largo > 1 && sql[t.ini + 1] == u'@')) continue;
        const QString nombre = sql.mid(t.ini, t.largo);
        auto it = variables.constFind(nombre.toLower());
        if (it == variables.constEnd())
            throw ErrorMotor(
                {{Err::ErrorSentencia, QStringLiteral("Must declare the scalar variable \"%1\".").arg(nombre),
                  QString(), QStringLiteral("42000"), 137}});
        salida += QStringView(sql).mid(desde, t.ini - desde);
        salida += Literal(it.value());
        desde = t.ini + t.largo;
    }
    salida += QStringView(sql).mid(desde);
    return salida;
}

// Errors after which the server goes on with the next statement of the batch.
bool TerminaSoloLaSentencia(const ErrorMotor& e) {
    if (e.errores.isEmpty()) return false;
    const long n = e.errores.front().NativeError;
    return n == 2627 || n == 2601 || n == 547 || n == 515 || n == 8152;
}

}  // namespace

LoteTSql TraduceLote(const QString& texto) {
    return Analizador(texto).Analiza();
}

LoteTSql CacheTSql::Traduce(const QString& texto) {
    // The shape: every literal becomes '\x01n\x01', n its place in the text.
    if (texto.contains(u'\x01')) return TraduceLote(texto);
    const std::vector<Token> tokens = Tokeniza(texto, false);
    QString forma;
    forma.reserve(texto.size());
    std::vector<QStringView> literales;
    qsizetype desde = 0;
    for (const Token& t : tokens) {
        if (t.clase != Clase::Literal) continue;
        if (t.largo < 2 || texto[t.ini + t.largo - 1] != u'\'') return TraduceLote(texto);  // unclosed
        forma += QStringView(texto).mid(desde, t.ini - desde);
        forma += u"'\x01"_s + QString::number(literales.size()) + u"\x01'"_s;
        literales.push_back(QStringView(texto).mid(t.ini, t.largo));
        desde = t.ini + t.largo;
    }
    forma += QStringView(texto).mid(desde);
    auto it = lotes_.constFind(forma);
    if (it == lotes_.constEnd()) {
        std::shared_ptr<LoteTSql> lote;
        try {
            lote = std::make_shared<LoteTSql>(TraduceLote(forma));
        } catch (const ErrorMotor&) {
            return TraduceLote(texto);  // the error, with the text's own literals
        }
        // A shape whose literals the translation read (an alias written as a literal) is not kept.
        for (const PasoLote& p : lote->pasos)
            for (qsizetype i = p.sql.indexOf(u'\x01'); i >= 0; i = p.sql.indexOf(u'\x01', i + 1)) {
                if (i == 0 || p.sql[i - 1] != u'\'') return TraduceLote(texto);
                i = p.sql.indexOf(u'\x01', i + 1);
                if (i < 0) return TraduceLote(texto);
            }
        if (lotes_.size() >= 1024) lotes_.clear();
        it = lotes_.insert(forma, lote);
    }
    LoteTSql lote = *it.value();
    if (literales.empty()) return lote;
    for (PasoLote& p : lote.pasos) {
        qsizetype i = p.sql.indexOf(u'\x01');
        if (i < 0) continue;
        QString sql;
        sql.reserve(p.sql.size() + texto.size());
        qsizetype copiado = 0;
        for (; i >= 0; i = p.sql.indexOf(u'\x01', i + 1)) {
            const qsizetype fin = p.sql.indexOf(u'\x01', i + 1);
            const qsizetype n = p.sql.mid(i + 1, fin - i - 1).toLongLong();
            sql += QStringView(p.sql).mid(copiado, i - 1 - copiado);
            sql += literales[static_cast<size_t>(n)];
            copiado = fin + 2;
            i = fin;
        }
        sql += QStringView(p.sql).mid(copiado);
        p.sql = std::move(sql);
    }
    return lote;
}

QString TraduceTSql(const QString& texto) {
    const LoteTSql lote = TraduceLote(texto);
    QStringList lineas;
    for (const PasoLote& p : lote.pasos) lineas << p.sql;
    return lineas.join(u'\n');
}

QStringList AdaptaTSql(const QString& texto) {
    const LoteTSql lote = TraduceLote(texto);
    QStringList sentencias;
    for (const PasoLote& p : lote.pasos) {
        if (p.clase == PasoLote::Clase::Opcion) continue;
        if (p.clase != PasoLote::Clase::Sentencia)
            NoAdmite(QStringLiteral("IF, DECLARE, variables ni DROP COLUMN en este camino"));
        if (!p.sql.trimmed().isEmpty()) sentencias << p.sql;
    }
    return sentencias;
}

Resultado EjecutaLote(const LoteTSql& lote, SesionTSql& sesion,
                      const std::function<Resultado(const PasoLote&, const QString&)>& corre) {
    QHash<QString, Variant> variables;
    Resultado ultimo;
    long afectados = -1;
    QList<ErrorProveedor> pendientes;
    const size_t n = lote.pasos.size();
    for (size_t i = 0; i < n;) {
        const PasoLote& p = lote.pasos[i];
        switch (p.clase) {
            case PasoLote::Clase::Declara:
                variables.insert(p.variables.front().toLower(), Variant::Null());
                ++i;
                continue;
            case PasoLote::Clase::Opcion:
                (p.variables.value(0) == u"NOCOUNT"_s ? sesion.nocount : sesion.xactAbort) = p.valor;
                ++i;
                continue;
            case PasoLote::Clase::Salta:
                i = static_cast<size_t>(p.destino);
                continue;
            default:
                break;
        }
        try {
            Resultado r = corre(p, Sustituye(p.sql, variables));
            if (p.clase == PasoLote::Clase::Si) {
                const bool cierto =
                    !r.filas.isEmpty() && !r.filas.front().isEmpty() && r.filas.front().front().ALargo() != 0;
                i = cierto ? i + 1 : static_cast<size_t>(p.destino);
                continue;
            }
            if (p.clase == PasoLote::Clase::Tipos) {
                // The table's integer and decimal columns, as a definition the translator gives their triggers.
                QStringList columnas;
                for (const QList<Variant>& fila : r.filas) {
                    if (fila.size() < 3) continue;
                    const QString tipo = fila[2].ATexto().trimmed();
                    if (!EsTipoExacto(tipo.section(u'(', 0, 0).trimmed())) continue;
                    columnas << u'[' + fila[1].ATexto().replace(u"]"_s, u"]]"_s) + u"] "_s + tipo;
                }
                if (!columnas.isEmpty()) {
                    const LoteTSql definicion =
                        TraduceLote(u"CREATE TABLE ["_s + QString(p.variables.value(0)).replace(u"]"_s, u"]]"_s) +
                                    u"] ("_s + columnas.join(u", "_s) + u')');
                    for (const PasoLote& d : definicion.pasos)
                        if (d.sql.contains(u"TRIGGER \"tsql_n_"_s)) corre(d, d.sql);
                }
                ++i;
                continue;
            }
            if (p.clase == PasoLote::Clase::Asigna) {
                if (!r.filas.isEmpty())
                    for (qsizetype j = 0; j < p.variables.size() && j < r.filas.back().size(); ++j) {
                        if (!variables.contains(p.variables[j].toLower()))
                            throw ErrorMotor(
                                {{Err::ErrorSentencia,
                                  QStringLiteral("Must declare the scalar variable \"%1\".").arg(p.variables[j]),
                                  QString(), QStringLiteral("42000"), 137}});
                        variables.insert(p.variables[j].toLower(), r.filas.back()[j]);
                    }
                ++i;
                continue;
            }
            if (r.tieneFilas)
                ultimo = std::move(r);
            else if (p.cuenta && r.afectados >= 0 && !sesion.nocount)
                afectados = (afectados < 0 ? 0 : afectados) + r.afectados;
        } catch (const ErrorMotor& e) {
            if (!TerminaSoloLaSentencia(e) || sesion.xactAbort) {
                if (sesion.xactAbort) {
                    // XACT_ABORT: the server rolls the transaction back with the batch.
                    try {
                        corre(PasoLote{}, u"ROLLBACK"_s);
                    } catch (const ErrorMotor&) {
                        // no transaction was open
                    }
                }
                if (pendientes.isEmpty()) throw;
                throw ErrorMotor(pendientes + e.errores, e.numero);
            }
            pendientes += e.errores;
        }
        ++i;
    }
    if (!pendientes.isEmpty()) throw ErrorMotor(pendientes);
    if (!ultimo.tieneFilas) ultimo.afectados = afectados;
    return ultimo;
}

QString TablaBaseDe(const QString& sentencia) {
    const std::vector<Token> tokens = Tokeniza(sentencia, false);
    const qsizetype n = static_cast<qsizetype>(tokens.size());
    auto texto = [&](qsizetype k) { return QStringView(sentencia).mid(tokens[k].ini, tokens[k].largo); };
    auto siguiente = [&](qsizetype k) {
        while (k < n && (tokens[k].clase == Clase::Blanco || tokens[k].clase == Clase::Comentario)) ++k;
        return k;
    };
    int nivel = 0;
    for (qsizetype k = 0; k < n; ++k) {
        if (tokens[k].clase == Clase::Simbolo) {
            if (texto(k) == u"(") ++nivel;
            if (texto(k) == u")") --nivel;
            continue;
        }
        if (nivel != 0 || tokens[k].clase != Clase::Palabra || texto(k).compare(u"FROM", Qt::CaseInsensitive) != 0)
            continue;
        // FROM [owner.]name, then nothing that joins another table.
        qsizetype j = siguiente(k + 1);
        QString nombre;
        while (j < n && (tokens[j].clase == Clase::Palabra || tokens[j].clase == Clase::Nombre)) {
            nombre = texto(j).toString();
            const qsizetype punto = siguiente(j + 1);
            if (punto < n && texto(punto) == u".") {
                j = siguiente(punto + 1);
                continue;
            }
            break;
        }
        if (nombre.startsWith(u'[') || nombre.startsWith(u'"')) nombre = nombre.mid(1, nombre.size() - 2);
        int dentro = 0;
        for (qsizetype m = j + 1; m < n; ++m) {
            if (tokens[m].clase == Clase::Simbolo && texto(m) == u"(") ++dentro;
            if (tokens[m].clase == Clase::Simbolo && texto(m) == u")") --dentro;
            if (tokens[m].clase == Clase::Simbolo && texto(m) == u"," && dentro == 0) return {};
            if (tokens[m].clase == Clase::Palabra && texto(m).compare(u"JOIN", Qt::CaseInsensitive) == 0) return {};
        }
        return nombre;
    }
    return {};
}
