// The T-SQL adapter: a tokenizer that keeps literals, bracketed and quoted names and comments whole, a splitter
// for batches without semicolons, and the rewrites SQLite needs, each applied to words outside literals only.
#include "AdaptaTSql.h"

#include <QList>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum class Clase { Blanco, Comentario, Literal, Nombre, Palabra, Numero, Simbolo };

struct Token {
    Clase clase;
    qsizetype ini;
    qsizetype largo;
    bool prefijoN = false;  // a literal written N'...'
};

bool EsLetra(QChar c) {
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// Splits the text into tokens. An N'...' literal loses its N: SQLite's literals are Unicode already.
std::vector<Token> Tokeniza(const QString& s) {
    std::vector<Token> tokens;
    const qsizetype n = s.size();
    tokens.reserve(n / 3 + 4);
    qsizetype i = 0;
    auto agrega = [&](Clase c, qsizetype ini, qsizetype fin) { tokens.push_back({c, ini, fin - ini, false}); };
    while (i < n) {
        const QChar c = s[i];
        const qsizetype ini = i;
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            while (i < n && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\r' || s[i] == u'\n')) ++i;
            agrega(Clase::Blanco, ini, i);
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (i < n && s[i] != u'\n' && s[i] != u'\r') ++i;
            agrega(Clase::Comentario, ini, i);
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            const qsizetype fin = s.indexOf(QStringLiteral("*/"), i + 2);
            i = fin < 0 ? n : fin + 2;
            agrega(Clase::Comentario, ini, i);
        } else if (c == u'\'' || ((c == u'N' || c == u'n') && i + 1 < n && s[i + 1] == u'\'')) {
            if (c != u'\'') ++i;  // the N prefix stays out of the token
            const qsizetype inicioLiteral = i++;
            while (i < n) {
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            agrega(Clase::Literal, inicioLiteral, i);
            tokens.back().prefijoN = c != u'\'';
        } else if (c == u'[' || c == u'"') {
            const QChar cierre = c == u'[' ? u']' : u'"';
            ++i;
            while (i < n) {
                if (s[i] == cierre) {
                    if (i + 1 < n && s[i + 1] == cierre) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            agrega(Clase::Nombre, ini, i);
        } else if (EsLetra(c)) {
            while (i < n && (EsLetra(s[i]) || s[i].isDigit())) ++i;
            agrega(Clase::Palabra, ini, i);
        } else if (c.isDigit()) {
            while (i < n && (s[i].isDigit() || s[i] == u'.')) ++i;
            agrega(Clase::Numero, ini, i);
        } else {
            ++i;
            agrega(Clase::Simbolo, ini, i);
        }
    }
    return tokens;
}

class Sentencia {
  public:
    Sentencia(const QString& texto, const std::vector<Token>& tokens, qsizetype desde, qsizetype hasta)
        : s_(texto), t_(tokens), desde_(desde), hasta_(hasta) {}

    QString Adapta();

  private:
    QStringView Texto(qsizetype k) const { return QStringView(s_).mid(t_[k].ini, t_[k].largo); }
    bool Es(qsizetype k, QStringView palabra) const {
        return k >= desde_ && k < hasta_ && t_[k].clase == Clase::Palabra && t_[k].largo == palabra.size() &&
               Texto(k).compare(palabra, Qt::CaseInsensitive) == 0;
    }
    bool EsSimbolo(qsizetype k, QChar c) const {
        return k >= desde_ && k < hasta_ && t_[k].clase == Clase::Simbolo && s_[t_[k].ini] == c;
    }
    // The next token that is neither blank nor comment, at or after k; hasta_ when none.
    qsizetype Siguiente(qsizetype k) const {
        while (k < hasta_ && (t_[k].clase == Clase::Blanco || t_[k].clase == Clase::Comentario)) ++k;
        return k;
    }
    qsizetype Anterior(qsizetype k) const {
        --k;
        while (k >= desde_ && (t_[k].clase == Clase::Blanco || t_[k].clase == Clase::Comentario)) --k;
        return k;
    }
    qsizetype FinDeSugerencias(qsizetype parentesis) const;
    qsizetype SaltaTop(qsizetype top, QString& limite, bool& porcentaje) const;
    bool EsDefinicionDeTexto(qsizetype k) const;

    const QString& s_;
    const std::vector<Token>& t_;
    qsizetype desde_;
    qsizetype hasta_;
};

bool IgualPalabra(QStringView w, QLatin1StringView palabra) {
    return w.size() == palabra.size() && w.compare(palabra, Qt::CaseInsensitive) == 0;
}

// Table hints: "with(nolock)", "(NOLOCK)", "WITH (ROWLOCK, UPDLOCK)".
bool EsSugerencia(QStringView w) {
    static const QLatin1StringView kSugerencias[] = {
        "nolock"_L1,         "rowlock"_L1,      "updlock"_L1,           "holdlock"_L1,
        "readpast"_L1,       "tablock"_L1,      "tablockx"_L1,          "xlock"_L1,
        "paglock"_L1,        "nowait"_L1,       "readuncommitted"_L1,   "readcommitted"_L1,
        "repeatableread"_L1, "serializable"_L1, "readcommittedlock"_L1, "fastfirstrow"_L1,
    };
    for (QLatin1StringView h : kSugerencias)
        if (IgualPalabra(w, h)) return true;
    return false;
}

// The token after the ')' of a parenthesis holding only table hints; -1 when it holds anything else.
qsizetype Sentencia::FinDeSugerencias(qsizetype parentesis) const {
    bool alguna = false;
    for (qsizetype k = Siguiente(parentesis + 1); k < hasta_; k = Siguiente(k + 1)) {
        if (EsSimbolo(k, u')')) return alguna ? k + 1 : -1;
        if (EsSimbolo(k, u',')) continue;
        if (t_[k].clase != Clase::Palabra || !EsSugerencia(Texto(k))) return -1;
        alguna = true;
    }
    return -1;
}

// Skips "TOP n [PERCENT] [WITH TIES]" or "TOP (n)"; returns the token after it and the LIMIT it stands for
// (empty for 100 PERCENT, which limits nothing).
qsizetype Sentencia::SaltaTop(qsizetype top, QString& limite, bool& porcentaje) const {
    qsizetype k = Siguiente(top + 1);
    if (EsSimbolo(k, u'(')) {
        int nivel = 0;
        qsizetype ini = k;
        for (; k < hasta_; ++k) {
            if (EsSimbolo(k, u'(')) ++nivel;
            if (EsSimbolo(k, u')') && --nivel == 0) break;
        }
        for (qsizetype j = ini; j <= k && j < hasta_; ++j) limite += Texto(j);
        k = Siguiente(k + 1);
    } else if (k < hasta_ && t_[k].clase == Clase::Numero) {
        limite = Texto(k).toString();
        k = Siguiente(k + 1);
    } else {
        return -1;
    }
    porcentaje = Es(k, u"PERCENT");
    if (porcentaje) {
        bool numero = false;
        if (limite.toDouble(&numero) >= 100 && numero) limite.clear();
        k = Siguiente(k + 1);
    }
    if (Es(k, u"WITH") && Es(Siguiente(k + 1), u"TIES")) k = Siguiente(Siguiente(k + 1) + 1);
    return k;
}

// A text column's type in a table definition: the word after a column name that follows "(", "," or ADD.
bool Sentencia::EsDefinicionDeTexto(qsizetype k) const {
    static const QLatin1StringView kTipos[] = {"char"_L1,     "varchar"_L1, "nchar"_L1,
                                               "nvarchar"_L1, "text"_L1,    "ntext"_L1};
    bool tipo = false;
    for (QLatin1StringView t : kTipos)
        if (IgualPalabra(Texto(k), t)) tipo = true;
    if (!tipo) return false;
    const qsizetype nombre = Anterior(k);
    if (nombre < desde_ || (t_[nombre].clase != Clase::Palabra && t_[nombre].clase != Clase::Nombre)) return false;
    const qsizetype antes = Anterior(nombre);
    return EsSimbolo(antes, u'(') || EsSimbolo(antes, u',') || Es(antes, u"ADD") || Es(antes, u"COLUMN");
}

QString Sentencia::Adapta() {
    QString salida;
    // The LIMITs still to write, each with the parenthesis depth of its SELECT: written where that level closes.
    struct Limite {
        int nivel;
        QString filas;  // a count, or a percentage of the SELECT's rows, rounded up as the server does
        bool porcentaje;
        qsizetype inicio;  // where the SELECT begins in the output
    };
    std::vector<Limite> limites;
    int nivel = 0;
    bool cambiado = false;
    const qsizetype primera = Siguiente(desde_);
    const qsizetype fin = hasta_ > desde_ ? t_[hasta_ - 1].ini + t_[hasta_ - 1].largo : 0;
    auto finDe = [&](qsizetype k) { return k < hasta_ ? t_[k].ini + t_[k].largo : fin; };
    auto inicioDe = [&](qsizetype k) { return k < hasta_ ? t_[k].ini : fin; };
    // The text is copied in spans; a rewrite copies up to where it starts and resumes after what it replaced.
    qsizetype copiaDesde = desde_ < hasta_ ? t_[desde_].ini : 0;
    const qsizetype inicio = copiaDesde;
    auto escribeLimite = [&](const auto& l) {
        if (!l.porcentaje) {
            salida += QStringLiteral(" LIMIT ") + l.filas;
            return;
        }
        const QString select = salida.mid(l.inicio);
        salida += QStringLiteral(" LIMIT (SELECT CAST((COUNT(*) * ") + l.filas +
                  QStringLiteral(" + 99) / 100 AS INTEGER) FROM (") + select + QStringLiteral("))");
    };
    auto copiaHasta = [&](qsizetype posicion) {
        if (!cambiado) salida.reserve(fin - inicio + 32);
        cambiado = true;
        if (posicion > copiaDesde) salida += QStringView(s_).mid(copiaDesde, posicion - copiaDesde);
        copiaDesde = posicion;
    };

    // 1. Session options of the server have no counterpart: the statement goes.
    if (Es(primera, u"SET")) {
        static const QLatin1StringView kOpciones[] = {
            "NOCOUNT"_L1,           "ANSI_NULLS"_L1,
            "ANSI_WARNINGS"_L1,     "ANSI_PADDING"_L1,
            "QUOTED_IDENTIFIER"_L1, "DATEFORMAT"_L1,
            "LOCK_TIMEOUT"_L1,      "XACT_ABORT"_L1,
            "ARITHABORT"_L1,        "CONCAT_NULL_YIELDS_NULL"_L1,
            "TRANSACTION"_L1,       "LANGUAGE"_L1,
            "DEADLOCK_PRIORITY"_L1, "IMPLICIT_TRANSACTIONS"_L1,
            "DATEFIRST"_L1,
        };
        const qsizetype opcion = Siguiente(primera + 1);
        for (QLatin1StringView o : kOpciones)
            if (opcion < hasta_ && t_[opcion].clase == Clase::Palabra && IgualPalabra(Texto(opcion), o)) return {};
    }
    // 2. Transaction statements become SQLite's.
    if (Es(primera, u"BEGIN") || Es(primera, u"COMMIT") || Es(primera, u"ROLLBACK")) {
        const qsizetype segunda = Siguiente(primera + 1);
        const bool tran = Es(segunda, u"TRAN") || Es(segunda, u"TRANSACTION") || Es(segunda, u"WORK");
        if (tran || segunda >= hasta_) return Texto(primera).toString().toUpper();
    }
    if (Es(primera, u"SAVE") && (Es(Siguiente(primera + 1), u"TRAN") || Es(Siguiente(primera + 1), u"TRANSACTION"))) {
        const qsizetype nombre = Siguiente(Siguiente(primera + 1) + 1);
        if (nombre < hasta_) return QStringLiteral("SAVEPOINT ") + Texto(nombre).toString();
    }
    const bool definicion = (Es(primera, u"CREATE") && Es(Siguiente(primera + 1), u"TABLE")) || Es(primera, u"ALTER");

    for (qsizetype k = desde_; k < hasta_; ++k) {
        const Token& t = t_[k];
        if (t.clase == Clase::Palabra) {
            // Only words beginning as a rewritten word does can be one: WITH, dbo, TOP, TRUNCATE, ISNULL, and
            // the text types of a definition.
            char16_t inicial = s_[t.ini].unicode();
            if (inicial >= u'A' && inicial <= u'Z') inicial += 32;
            const bool candidata = inicial == u'w' || inicial == u'd' || inicial == u't' || inicial == u'i' ||
                                   inicial == u'c' || (definicion && (inicial == u'v' || inicial == u'n'));
            if (!candidata) continue;
            // 3. Table hints go.
            if (Es(k, u"WITH") && EsSimbolo(Siguiente(k + 1), u'(')) {
                const qsizetype tras = FinDeSugerencias(Siguiente(k + 1));
                if (tras > 0) {
                    copiaHasta(t.ini);
                    copiaDesde = finDe(tras - 1);
                    k = tras - 1;
                    continue;
                }
            }
            // 4. The owner prefix goes: dbo.TABLA reads TABLA.
            if (Es(k, u"dbo") && EsSimbolo(k + 1, u'.')) {
                copiaHasta(t.ini);
                copiaDesde = finDe(k + 1);
                ++k;
                continue;
            }
            // 5. TOP n becomes the LIMIT of its own SELECT, written where that SELECT ends.
            if (Es(k, u"TOP")) {
                const qsizetype antes = Anterior(k);
                if (Es(antes, u"SELECT") || Es(antes, u"DISTINCT") || Es(antes, u"ALL")) {
                    QString limite;
                    bool porcentaje = false;
                    const qsizetype despues = SaltaTop(k, limite, porcentaje);
                    if (despues > 0) {
                        if (!limites.empty() && limites.back().nivel == nivel) limites.pop_back();
                        copiaHasta(t.ini);
                        const qsizetype select = Es(antes, u"SELECT") ? antes : Anterior(antes);
                        const qsizetype inicioSelect = salida.size() - (t.ini - t_[select].ini);
                        if (!limite.isEmpty()) limites.push_back({nivel, limite, porcentaje, inicioSelect});
                        copiaDesde = inicioDe(despues);
                        k = despues - 1;
                        continue;
                    }
                }
            }
            // 6. Functions SQLite names otherwise; CONVERT's type becomes a text argument of the extension's.
            if (Es(k, u"CONVERT") && EsSimbolo(Siguiente(k + 1), u'(')) {
                const qsizetype tipo = Siguiente(Siguiente(k + 1) + 1);
                qsizetype coma = Siguiente(tipo + 1);
                if (EsSimbolo(coma, u'(')) {
                    while (coma < hasta_ && !EsSimbolo(coma, u')')) ++coma;
                    coma = Siguiente(coma + 1);
                }
                if (tipo < hasta_ && t_[tipo].clase == Clase::Palabra && EsSimbolo(coma, u',')) {
                    copiaHasta(t_[tipo].ini);
                    salida += QLatin1Char('\'') + Texto(tipo).toString() + QLatin1Char('\'');
                    copiaDesde = t_[coma].ini;
                    continue;
                }
            }
            if (Es(k, u"ISNULL") && EsSimbolo(Siguiente(k + 1), u'(')) {
                copiaHasta(t.ini);
                salida += QStringLiteral("IFNULL");
                copiaDesde = finDe(k);
                continue;
            }
            if (Es(k, u"TRUNCATE") && k == primera && Es(Siguiente(k + 1), u"TABLE")) {
                copiaHasta(t.ini);
                salida += QStringLiteral("DELETE FROM");
                k = Siguiente(k + 1);
                copiaDesde = finDe(k);
                continue;
            }
            // 7. Text columns of a new table compare as the server compares.
            if (definicion && EsDefinicionDeTexto(k)) {
                qsizetype j = Siguiente(k + 1);
                if (EsSimbolo(j, u'(')) {
                    while (j < hasta_ && !EsSimbolo(j, u')')) ++j;
                    k = j;
                }
                if (!Es(Siguiente(k + 1), u"COLLATE")) {
                    copiaHasta(finDe(k));
                    salida += QStringLiteral(" COLLATE SQLSERVER");
                }
                continue;
            }
        } else if (t.clase == Clase::Simbolo) {
            const QChar c = s_[t.ini];
            if (c == u'(') {
                const qsizetype tras = FinDeSugerencias(k);
                if (tras > 0) {
                    copiaHasta(t.ini);
                    copiaDesde = finDe(tras - 1);
                    k = tras - 1;
                    continue;
                }
                ++nivel;
            } else if (c == u')' && nivel > 0) {
                if (!limites.empty() && limites.back().nivel == nivel) {
                    copiaHasta(t.ini);
                    escribeLimite(limites.back());
                    limites.pop_back();
                }
                --nivel;
            }
        } else if (t.clase == Clase::Literal && t.prefijoN) {
            copiaHasta(t.ini - 1);
            copiaDesde = t.ini;
        } else if (t.clase == Clase::Nombre && Texto(k).compare(u"[dbo]", Qt::CaseInsensitive) == 0 &&
                   EsSimbolo(k + 1, u'.')) {
            copiaHasta(t.ini);
            copiaDesde = finDe(k + 1);
            ++k;
        }
    }
    // A statement left as it came is handed on without a copy.
    if (!cambiado && limites.empty()) return inicio == 0 && fin == s_.size() ? s_ : s_.mid(inicio, fin - inicio);
    copiaHasta(fin);
    if (!limites.empty() && limites.back().nivel == 0) {
        while (salida.endsWith(u' ') || salida.endsWith(u'\r') || salida.endsWith(u'\n') || salida.endsWith(u'\t'))
            salida.chop(1);
        escribeLimite(limites.back());
    }
    return salida;
}

// Words that begin a statement of a batch. SELECT begins one only after a statement that cannot go on with it.
bool EmpiezaSentencia(QStringView w) {
    static const QLatin1StringView kInicios[] = {"INSERT"_L1,   "UPDATE"_L1, "DELETE"_L1,  "CREATE"_L1,   "DROP"_L1,
                                                 "ALTER"_L1,    "BEGIN"_L1,  "COMMIT"_L1,  "ROLLBACK"_L1, "SAVE"_L1,
                                                 "TRUNCATE"_L1, "EXEC"_L1,   "EXECUTE"_L1, "SELECT"_L1,   "SET"_L1};
    if (w.size() < 3 || w.size() > 8) return false;
    for (QLatin1StringView i : kInicios)
        if (IgualPalabra(w, i)) return true;
    return false;
}

qsizetype SiguienteSignificativo(const std::vector<Token>& tokens, qsizetype k) {
    const qsizetype n = static_cast<qsizetype>(tokens.size());
    while (k < n && (tokens[k].clase == Clase::Blanco || tokens[k].clase == Clase::Comentario)) ++k;
    return k;
}

// Whether token k is a line break (blanks holding one), or lies outside the text.
bool FinDeLinea(const std::vector<Token>& tokens, const QString& texto, qsizetype k) {
    if (k < 0 || k >= static_cast<qsizetype>(tokens.size())) return true;
    if (tokens[k].clase != Clase::Blanco) return false;
    const QStringView blancos = QStringView(texto).mid(tokens[k].ini, tokens[k].largo);
    return blancos.contains(u'\n') || blancos.contains(u'\r');
}

}  // namespace

QStringList AdaptaTSql(const QString& texto) {
    const std::vector<Token> tokens = Tokeniza(texto);
    const qsizetype n = static_cast<qsizetype>(tokens.size());
    QStringList sentencias;
    auto palabra = [&](qsizetype k) { return QStringView(texto).mid(tokens[k].ini, tokens[k].largo); };
    auto es = [&](qsizetype k, QStringView w) {
        return k >= 0 && k < n && tokens[k].clase == Clase::Palabra && palabra(k).compare(w, Qt::CaseInsensitive) == 0;
    };
    auto cierra = [&](qsizetype desde, qsizetype hasta) {
        QString s = Sentencia(texto, tokens, desde, hasta).Adapta();
        if (!s.isEmpty()) sentencias.push_back(s);
    };

    qsizetype desde = 0;
    qsizetype primera = -1;   // the first word of the statement being read
    qsizetype anterior = -1;  // the last token that is neither blank nor comment
    int nivel = 0;
    for (qsizetype k = 0; k < n; ++k) {
        const Token& t = tokens[k];
        if (t.clase == Clase::Blanco || t.clase == Clase::Comentario) continue;
        if (t.clase == Clase::Simbolo) {
            const QChar c = texto[t.ini];
            if (c == u'(') ++nivel;
            if (c == u')' && nivel > 0) --nivel;
            if (c == u';' && nivel == 0) {
                if (primera >= 0) cierra(desde, k);
                desde = k + 1;
                primera = anterior = -1;
                continue;
            }
        }
        // A line holding only GO separates batches for the server's tools; here it ends a statement.
        if (t.clase == Clase::Palabra && nivel == 0 && es(k, u"GO") && FinDeLinea(tokens, texto, k - 1) &&
            FinDeLinea(tokens, texto, k + 1)) {
            if (primera >= 0) cierra(desde, k);
            desde = k + 1;
            primera = anterior = -1;
            continue;
        }
        if (t.clase == Clase::Palabra && nivel == 0 && primera >= 0 && EmpiezaSentencia(palabra(k))) {
            // "ON DELETE CASCADE", "FOR UPDATE", "UNION SELECT", "INSERT ... SELECT", "CREATE VIEW ... AS SELECT",
            // "UPDATE T SET" and the body of a trigger or procedure go on with the statement.
            const bool accion = es(k, u"DELETE") || es(k, u"UPDATE");
            bool sigue = (es(anterior, u"ON") && accion) || (es(anterior, u"FOR") && es(k, u"UPDATE"));
            if (es(primera, u"CREATE")) {
                const qsizetype segunda = primera + 1 < n ? SiguienteSignificativo(tokens, primera + 1) : n;
                sigue = sigue || es(segunda, u"TRIGGER") || es(segunda, u"PROCEDURE") || es(segunda, u"PROC") ||
                        es(segunda, u"FUNCTION");
            }
            if (es(k, u"SELECT"))
                sigue = sigue || es(anterior, u"UNION") || es(anterior, u"ALL") || es(anterior, u"EXCEPT") ||
                        es(anterior, u"INTERSECT") || es(anterior, u"AS") || es(primera, u"INSERT") ||
                        es(primera, u"CREATE");
            if (es(k, u"SET"))
                sigue = sigue || es(primera, u"UPDATE") || es(anterior, u"DELETE") || es(anterior, u"UPDATE");
            if (!sigue) {
                cierra(desde, k);
                desde = k;
                primera = -1;
            }
        }
        if (primera < 0) primera = k;
        anterior = k;
    }
    if (primera >= 0) cierra(desde, n);
    return sentencias;
}

QString TablaBaseDe(const QString& sentencia) {
    const std::vector<Token> tokens = Tokeniza(sentencia);
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
