// Fuzzes the parameter text. Any text: extracting each key never fails other than with a run-time error, and a
// value never keeps an "=". A text composed of the eight items in any order, with any letter case in the keys,
// blanks around "=" and other material between the items: each key reads back its own value.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>

#include "Entorno.h"
#include "ErrorEjecucion.h"
#include "Parametros.h"
#include "Texto.h"

namespace {
const std::array<QString, 8> kClaves = {
    QStringLiteral("@ParametroAdicional"),
    QStringLiteral("@Menu"),
    QStringLiteral("@Server"),
    QStringLiteral("@DbName"),
    QStringLiteral("@Usuario"),
    QStringLiteral("@Password"),
    QStringLiteral("@UsuarioLogeado"),
    QStringLiteral("@Caja"),
};

QString Texto(FuzzedDataProvider& datos, size_t largo) {
    return QString::fromUtf8(QByteArray::fromStdString(datos.ConsumeRandomLengthString(largo)));
}

QString Sin(QString s, const char* caracteres) {
    for (const char* c = caracteres; *c; ++c) s.remove(QLatin1Char(*c));
    return s;
}

// Any text, each key.
void TextoCualquiera(const QString& texto) {
    for (const QString& clave : kClaves) {
        try {
            const QString valor = ExtraeParametro(texto, clave, QStringLiteral("1"));
            EXIGE(!valor.contains(QLatin1Char('=')), "%s", qPrintable(clave));
        } catch (const ErrorEjecucion&) {
        }
    }
}

// The eight items composed as a producer might write them.
void TextoCompuesto(FuzzedDataProvider& datos) {
    std::array<QString, 8> valores;
    std::array<int, 8> orden = {0, 1, 2, 3, 4, 5, 6, 7};
    for (QString& v : valores) v = Sin(Texto(datos, 24), ";=");
    for (int i = 7; i > 0; --i) std::swap(orden[i], orden[datos.ConsumeIntegralInRange(0, i)]);
    QString texto;
    for (int i : orden) {
        texto += Sin(Texto(datos, 8), "=");  // other material, such as "veld@"
        QString clave = kClaves[i];
        for (QChar& c : clave)
            if (datos.ConsumeBool()) c = c.isUpper() ? c.toLower() : c.toUpper();
        texto += clave + QString(datos.ConsumeIntegralInRange(0, 2), QLatin1Char(' ')) + QLatin1Char('=') +
                 QString(datos.ConsumeIntegralInRange(0, 2), QLatin1Char(' ')) + valores[i] + QLatin1Char(';');
    }
    texto += Sin(Texto(datos, 8), "=");
    for (int i = 0; i < 8; ++i) {
        const QString leido = ExtraeParametro(texto, kClaves[i], QStringLiteral("?"));
        EXIGE(leido == Recorta(valores[i]), "%s in \"%s\": \"%s\" for \"%s\"", qPrintable(kClaves[i]),
              qPrintable(texto), qPrintable(leido), qPrintable(valores[i]));
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz::Uno().Reinicia();
    TextoCualquiera(QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(largo)));
    FuzzedDataProvider datos(bytes, largo);
    TextoCompuesto(datos);
    return 0;
}
