// The statement searches of the lookup windows: a copy of the statement with every literal, comment and name
// blanked out, searched as the platform's Instr does.
#include "Sentencia.h"

#include "Texto.h"

namespace {

// The statement with the characters of its literals (quotes included), comments and, when asked, names replaced
// by a character no word holds; positions stay where they were.
QString Estructura(const QString& sql, Nombres nombres) {
    const QChar tapa(0x1);
    QString s = sql;
    const qsizetype n = s.size();
    auto tapaHasta = [&](qsizetype desde, qsizetype hasta) {
        for (qsizetype k = desde; k < hasta && k < n; ++k) s[k] = tapa;
    };
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const QChar sig = i + 1 < n ? sql[i + 1] : QChar();
        QChar cierre;
        if (c == QLatin1Char('\''))
            cierre = QLatin1Char('\'');
        else if (nombres == Nombres::Saltados && c == QLatin1Char('['))
            cierre = QLatin1Char(']');
        else if (nombres == Nombres::Saltados && c == QLatin1Char('"'))
            cierre = QLatin1Char('"');
        if (!cierre.isNull()) {
            // A doubled closing character stays inside ('it''s', [a]]b]); an unclosed one runs to the end.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == cierre) {
                    if (j + 1 < n && sql[j + 1] == cierre) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            tapaHasta(i, j + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && sig == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0) j = n;
            tapaHasta(i, j);
            i = j;
        } else if (c == QLatin1Char('/') && sig == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            tapaHasta(i, j);
            i = j;
        } else {
            ++i;
        }
    }
    return s;
}

}  // namespace

int InstrSentencia(const QString& sql, const QString& palabra, int inicio, Nombres nombres) {
    return Instr(Estructura(sql, nombres), palabra, inicio);
}
