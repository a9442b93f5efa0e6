// The paper's formatting: amounts, quantities and rates as the roll shows them, the 40-character lines, and the
// pieces every document prints (its head, its totals at the close).
#include "ImpresoraSimuladaInterna.h"

#include <algorithm>

#include <QDateTime>

namespace simulada {
QString Importe(qint64 centavos) {
    const QString signo = centavos < 0 ? QStringLiteral("-") : QString();
    const quint64 v = centavos < 0 ? 0 - quint64(centavos) : quint64(centavos);  // the lowest has no opposite
    return signo + QString::number(v / 100) + QLatin1Char(',') +
           QStringLiteral("%1").arg(v % 100, 2, 10, QLatin1Char('0'));
}

QString Cantidad(qint64 milesimas) {
    return QString::number(milesimas / 1000) + QLatin1Char(',') +
           QStringLiteral("%1").arg(milesimas % 1000, 3, 10, QLatin1Char('0'));
}

QString Tasa(int centesimas) {
    return Importe(centesimas) + QLatin1Char('%');
}

// A text on the left and another on the right of one line.
QString Renglon(const QString& izquierda, const QString& derecha) {
    const int lugar = std::max(1, kAncho - static_cast<int>(derecha.size()) - 1);
    return izquierda.left(lugar).leftJustified(lugar) + QLatin1Char(' ') + derecha;
}

QString Centrado(const QString& texto) {
    const int margen = std::max(0, (kAncho - static_cast<int>(texto.size())) / 2);
    return QString(margen, QLatin1Char(' ')) + texto;
}

QString Raya(QChar c) {
    return QString(kAncho, c);
}

QString NumeroDocumento(int numero) {
    return QStringLiteral("0001-%1").arg(numero, 8, 10, QLatin1Char('0'));
}

QString CuitConGuiones(const QString& cuit) {
    return cuit.left(2) + QLatin1Char('-') + cuit.mid(2, 8) + QLatin1Char('-') + cuit.right(1);
}

QString Fecha(const QString& aammdd) {
    return FechaAAMMDD(aammdd).toString(QStringLiteral("dd/MM/yyyy"));
}
}  // namespace simulada

using namespace simulada;

void ImpresoraSimulada::ImprimeImporte(const QString& concepto, qint64 centavos) {
    Imprime(Renglon(concepto, Importe(centavos)));
}

void ImpresoraSimulada::ImprimeEncabezado(const MemoriaFiscal& m, const QString& titulo) {
    Imprime(Raya(QLatin1Char('=')));
    for (int n = 1; n <= 10; ++n)
        if (!m.lineas.value(n).isEmpty()) Imprime(Centrado(m.lineas.value(n)));
    const QDateTime ahora = HoraImpresora(m);
    Imprime(Renglon(QStringLiteral("Fecha ") + ahora.toString(QStringLiteral("dd/MM/yy")),
                    QStringLiteral("Hora ") + ahora.toString(QStringLiteral("HH:mm:ss"))));
    Imprime(Centrado(titulo));
    Imprime(Raya());
}

void ImpresoraSimulada::ImprimeCierreDocumento(const MemoriaFiscal& m) {
    const auto& d = m.documento;
    Imprime(Raya());
    if (d.letra == QLatin1String("A")) {
        ImprimeImporte(QStringLiteral("Subtotal neto"), d.importe - d.Iva());
        for (auto it = d.ivaPorTasa.begin(); it != d.ivaPorTasa.end(); ++it)
            ImprimeImporte(QStringLiteral("IVA ") + Tasa(it.key()), it.value());
    }
    if (d.descuentos) ImprimeImporte(QStringLiteral("Descuentos"), -d.descuentos);
    ImprimeImporte(QStringLiteral("TOTAL"), d.Total());
    if (d.letra != QLatin1String("A")) ImprimeImporte(QStringLiteral("IVA contenido"), d.Iva());
    ImprimeImporte(QStringLiteral("Recibido"), d.pagado);
    if (d.pagado > d.Total()) ImprimeImporte(QStringLiteral("Su vuelto"), d.pagado - d.Total());
    for (int n = 11; n <= 20; ++n)
        if (!m.lineas.value(n).isEmpty()) Imprime(Centrado(m.lineas.value(n)));
}
