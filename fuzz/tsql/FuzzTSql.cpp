// Fuzzes the T-SQL translator through TraduceTSql, the whole batch as the embedded server runs it. Any text: the
// translator ends, and its output is at most a fixed multiple of its input. Statements composed from the system's kinds
// of statement around fuzzed literals and bracketed names: each literal and each name comes out with its content
// unchanged, and no output statement leaves a literal, a bracketed name or a parenthesis open.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>

#include "AdaptaTSql.h"
#include "Ado.h"
#include "Entorno.h"
#include "ErrorEjecucion.h"

namespace {
// A one-character comparison operator can take a collation on each side (" COLLATE SQLSERVER", 18 characters):
// the bound is linear, with room for that.
constexpr qsizetype kFactor = 24;
constexpr qsizetype kHolgura = 1024;

// Whether a statement closes every literal, quoted or bracketed name and parenthesis it opens.
bool TodoCerrado(const QString& s) {
    int parentesis = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar cierre = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= s.size()) return false;
                if (s.at(j) == cierre) {
                    if (j + 1 < s.size() && s.at(j + 1) == cierre) {
                        ++j;  // a doubled closing character stands for itself
                        continue;
                    }
                    break;
                }
            }
            i = j;
        } else if (c == QLatin1Char('(')) {
            ++parentesis;
        } else if (c == QLatin1Char(')')) {
            if (--parentesis < 0) return false;
        }
    }
    return parentesis == 0;
}

// The system's kinds of statement; ~ stands for a literal's content, ^ for a bracketed name's.
const std::array<const char*, 10> kModelos = {
    "SELECT TOP 5 A, '~' AS X FROM dbo.[^] with(nolock) WHERE B = N'~' ORDER BY A",
    "INSERT INTO [^] (A, B) VALUES ('~', ISNULL(NULL, '~'))",
    "UPDATE dbo.[^] SET A = '~' WHERE B LIKE '~%'",
    "DELETE FROM [^] WHERE A = '~' AND B <> '~'",
    "SELECT CONVERT(VARCHAR(20), '~') + '~' FROM [^] (NOLOCK)",
    "SELECT COUNT(*) FROM [^] WHERE A IN (SELECT TOP 1 A FROM [^] WHERE B = '~')",
    "CREATE TABLE [^] (A VARCHAR(20) DEFAULT '~', B INT)",
    "SELECT TOP 10 PERCENT A FROM [^] WHERE A <> '~'",
    "SELECT SUBSTRING('~', 1, 2), LEN('~'), GETDATE() FROM [^]",
    "IF EXISTS (SELECT * FROM [^] WHERE A = '~') UPDATE [^] SET B = '~'",
};
const std::array<const char*, 4> kSeparadores = {";", "\n", "\r\nGO\r\n", " ; "};

void TextoCualquiera(const QString& texto) {
    try {
        const QString salida = TraduceTSql(texto);
        EXIGE(salida.size() <= kFactor * texto.size() + kHolgura, "%lld characters became %lld",
              static_cast<long long>(texto.size()), static_cast<long long>(salida.size()));
    } catch (const ErrorMotor&) {  // the server's own refusal
    } catch (const ErrorEjecucion&) {
    }
}

void SentenciasCompuestas(FuzzedDataProvider& datos) {
    QString texto;
    QStringList literales, nombres;
    const int cuantas = datos.ConsumeIntegralInRange(1, 4);
    for (int k = 0; k < cuantas; ++k) {
        const QString modelo = QString::fromLatin1(kModelos[datos.ConsumeIntegralInRange<size_t>(0, 9)]);
        QString sentencia;
        for (QChar c : modelo) {
            if (c == QLatin1Char('~')) {
                // Inside a literal any character stands, the quote doubled.
                QString l = QString::fromUtf8(QByteArray::fromStdString(datos.ConsumeRandomLengthString(16)));
                l.remove(QChar(0));
                literales << l;
                sentencia += QString(l).replace(QLatin1Char('\''), QStringLiteral("''"));
            } else if (c == QLatin1Char('^')) {
                QString n = QString::fromUtf8(QByteArray::fromStdString(datos.ConsumeRandomLengthString(12)));
                n.remove(QChar(0));
                if (n.isEmpty()) n = QStringLiteral("T");
                nombres << n;
                sentencia += QString(n).replace(QLatin1Char(']'), QStringLiteral("]]"));
            } else {
                sentencia += c;
            }
        }
        texto += sentencia + QString::fromLatin1(kSeparadores[datos.ConsumeIntegralInRange<size_t>(0, 3)]);
    }
    QString todo;
    try {
        todo = TraduceTSql(texto);
    } catch (const ErrorMotor&) {
        return;  // refusing a statement is allowed; changing one is not
    } catch (const ErrorEjecucion&) {
        return;
    }
    for (const QString& l : literales) {
        const QString escrito = QLatin1Char('\'') + QString(l).replace(QLatin1Char('\''), QStringLiteral("''"));
        EXIGE(todo.contains(escrito), "literal '%s' changed in \"%s\" -> \"%s\"", qPrintable(l), qPrintable(texto),
              qPrintable(todo));
    }
    for (const QString& n : nombres) {
        const QString doblado = QString(n).replace(QLatin1Char(']'), QStringLiteral("]]"));
        const QString comillas = QString(n).replace(QLatin1Char('"'), QStringLiteral("\"\""));
        EXIGE(todo.contains(doblado) || todo.contains(comillas), "name [%s] changed in \"%s\" -> \"%s\"", qPrintable(n),
              qPrintable(texto), qPrintable(todo));
    }
    EXIGE(TodoCerrado(todo), "left open: \"%s\" from \"%s\"", qPrintable(todo), qPrintable(texto));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz::Uno().Reinicia();
    TextoCualquiera(QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(largo)));
    FuzzedDataProvider datos(bytes, largo);
    SentenciasCompuestas(datos);
    return 0;
}
