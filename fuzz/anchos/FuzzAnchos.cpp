// Fuzzes the column widths file CONSULTASLEN.TKW. Whatever the file holds: reading a table's widths never fails
// and gives the widths of that table's lines up to the first damaged line (one without its two quoted fields);
// saving a table's widths never fails, drops the damaged lines and the table's old lines, keeps every other line's
// fields as they were, leaves no CONSULTASLEN.AUX behind, and the saved widths read back equal (to the currency's
// four decimals, the precision the window reads them with).
// The input: the old file, then from its end the table's choice, the count of columns, the screen's resolution and
// the columns' widths in pixels.
#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTextStream>

#include "ArchivoAnchos.h"
#include "Entorno.h"
#include "ErrorEjecucion.h"
#include "Numeros.h"
#include "Texto.h"
#include "TkPrint2.h"

namespace {

struct Linea {
    bool sana = false;
    QString tabla;
    QString anchos;
};

// The file's lines as the format defines them: "TABLA","1815|2400|", with other material after the fourth quote.
QList<Linea> Lineas(const QString& ruta) {
    QList<Linea> lineas;
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) return lineas;
    QTextStream entrada(&archivo);
    while (!entrada.atEnd()) {
        const QString texto = entrada.readLine();
        if (texto.isEmpty()) continue;
        const QStringList partes = texto.split(QLatin1Char('"'));
        lineas << (partes.size() >= 5 ? Linea{true, partes[1], partes[3]} : Linea{});
    }
    return lineas;
}

// The width texts of a widths field: the text before each "|".
QStringList Textos(const QString& anchos) {
    QStringList textos = anchos.split(QLatin1Char('|'));
    textos.removeLast();
    return textos;
}

QString Describe(const QList<QStringList>& lineas) {
    QStringList r;
    for (const QStringList& l : lineas) r << QLatin1Char('[') + l.join(QLatin1Char(',')) + QLatin1Char(']');
    return r.join(QLatin1Char(' '));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz& entorno = EntornoFuzz::Uno();
    entorno.Reinicia();
    const QString carpeta = AgregaSeparador(entorno.Ruta(QString()));
    const QString ruta = RutaAnchos(carpeta);

    // The widths to save, in twips as the window measures them: pixels at one of the usual resolutions.
    FuzzedDataProvider datos(bytes, largo);
    const uint8_t eleccion = datos.ConsumeIntegral<uint8_t>();
    const int columnas = datos.ConsumeIntegralInRange(0, 12);
    const int resoluciones[] = {72, 96, 110, 120, 144, 168, 192};
    const int ppp = resoluciones[datos.ConsumeIntegralInRange(0, 6)];
    QList<double> anchos;
    for (int i = 0; i < columnas; ++i) anchos << datos.ConsumeIntegralInRange(0, 4000) * 1440.0 / ppp;
    const std::vector<uint8_t> resto = datos.ConsumeRemainingBytes<uint8_t>();
    const QByteArray antes(reinterpret_cast<const char*>(resto.data()), qsizetype(resto.size()));
    {
        QFile f(ruta);
        EXIGE(f.open(QIODevice::WriteOnly) && f.write(antes) == antes.size(), "cannot write the file");
    }
    const QList<Linea> viejas = Lineas(ruta);

    // The table: one the file names (its letter case changed at times), or one it may not name.
    QStringList candidatas;
    for (const Linea& l : viejas)
        if (l.sana) candidatas << ((eleccion & 0x80) ? l.tabla.toLower() : l.tabla);
    candidatas << QStringLiteral("MA_CLIENTES") << QStringLiteral("VT_MA_ARTICULOS") << QStringLiteral("V_TA_DEPOSITO");
    const QString tabla = candidatas[(eleccion & 0x7F) % candidatas.size()];

    // Reading: the table's lines up to the first damaged one.
    QList<QStringList> esperadas;
    for (const Linea& l : viejas) {
        if (!l.sana) break;
        if (IgualesTexto(l.tabla, tabla)) esperadas << Textos(l.anchos);
    }
    const QList<QStringList> leidas = LeeAnchos(carpeta, tabla);
    EXIGE(leidas == esperadas, "read %s for \"%s\", expected %s", qPrintable(Describe(leidas)), qPrintable(tabla),
          qPrintable(Describe(esperadas)));

    // Saving: never fails, and leaves no temporary file.
    try {
        GrabaAnchos(carpeta, tabla, anchos);
    } catch (const ErrorEjecucion& e) {
        EXIGE(false, "saving failed: %ld %s", e.Number(), qPrintable(e.Description()));
    }
    EXIGE(!QFile::exists(carpeta + QStringLiteral("CONSULTASLEN.AUX")), "CONSULTASLEN.AUX left behind");

    // The other tables' sound lines as they were, damaged lines dropped, the table's own line last.
    QList<Linea> esperado;
    for (const Linea& l : viejas)
        if (l.sana && !IgualesTexto(l.tabla, tabla)) esperado << l;
    QStringList textos;
    for (double ancho : anchos) textos << DoubleATexto(ancho);
    esperado << Linea{true, tabla, textos.join(QLatin1Char('|')) + (textos.isEmpty() ? "" : "|")};
    const QList<Linea> nuevas = Lineas(ruta);
    EXIGE(nuevas.size() == esperado.size(), "%lld lines after saving, expected %lld",
          static_cast<long long>(nuevas.size()), static_cast<long long>(esperado.size()));
    for (qsizetype i = 0; i < nuevas.size(); ++i)
        EXIGE(nuevas[i].sana && nuevas[i].tabla == esperado[i].tabla && nuevas[i].anchos == esperado[i].anchos,
              "line %lld after saving: \"%s\",\"%s\"", static_cast<long long>(i + 1), qPrintable(nuevas[i].tabla),
              qPrintable(nuevas[i].anchos));

    // The saved widths read back equal.
    const QList<QStringList> releidas = LeeAnchos(carpeta, tabla);
    EXIGE(releidas.size() == 1 && releidas[0] == textos, "read back %s", qPrintable(Describe(releidas)));
    for (int i = 0; i < columnas; ++i)
        EXIGE(ACurrency(releidas[0][i]) == Moneda::DesdeDouble(anchos[i]), "width %d: %s read back as %s", i + 1,
              qPrintable(DoubleATexto(anchos[i])), qPrintable(releidas[0][i]));
    return 0;
}
