// Date formatting and recognition with the workstation's settings.
#include "Fechas.h"

#include <QRegularExpression>

#include "Regional.h"

QString FormateaFecha(const QDateTime& momento, const QString& patronQt) {
    const Regional& r = ConfiguracionRegional();
    QString patron;
    // Quote the separators so that the locale's characters reach the text as they are.
    for (QChar c : patronQt) {
        if (c == QLatin1Char('/'))
            patron += QLatin1Char('\'') + QString(r.separadorFecha) + QLatin1Char('\'');
        else if (c == QLatin1Char(':'))
            patron += QLatin1Char('\'') + QString(r.separadorHora) + QLatin1Char('\'');
        else
            patron += c;
    }
    return momento.toString(patron);
}

QString FechaCorta(const QDate& fecha) {
    return fecha.toString(ConfiguracionRegional().fechaCorta);
}

namespace {
// Order of day (d), month (M) and year (y) in the short date format.
QString OrdenCorto() {
    QString orden;
    for (QChar c : ConfiguracionRegional().fechaCorta) {
        QChar k = c == QLatin1Char('d')   ? QLatin1Char('d')
                  : c == QLatin1Char('M') ? QLatin1Char('M')
                  : c == QLatin1Char('y') ? QLatin1Char('y')
                                          : QChar();
        if (!k.isNull() && !orden.contains(k)) orden += k;
    }
    return orden.size() == 3 ? orden : QStringLiteral("dMy");
}

int AnioCompleto(int anio, int digitos) {
    if (digitos > 2) return anio;
    return anio < 30 ? 2000 + anio : 1900 + anio;
}
}  // namespace

std::optional<QDateTime> ReconoceFecha(const QString& entrada, const QDate& hoy) {
    static const QRegularExpression kFecha(
        QStringLiteral(R"(^\s*(\d{1,4})([/.\-])(\d{1,2})(?:\2(\d{1,4}))?(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    auto m = kFecha.match(entrada);
    if (!m.hasMatch()) return std::nullopt;
    QString a = m.captured(1), b = m.captured(3), c = m.captured(4);
    int dia = 0, mes = 0, anio = 0;
    if (a.size() >= 3) {  // year first
        if (c.isEmpty()) return std::nullopt;
        anio = a.toInt();
        mes = b.toInt();
        dia = c.toInt();
    } else if (c.isEmpty()) {  // day and month of this year
        QString orden = OrdenCorto();
        bool mesPrimero = orden.indexOf(QLatin1Char('M')) < orden.indexOf(QLatin1Char('d'));
        dia = (mesPrimero ? b : a).toInt();
        mes = (mesPrimero ? a : b).toInt();
        anio = hoy.year();
    } else {
        QString orden = OrdenCorto();
        QString partes[3] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            if (orden.at(i) == QLatin1Char('d')) dia = partes[i].toInt();
            if (orden.at(i) == QLatin1Char('M')) mes = partes[i].toInt();
            if (orden.at(i) == QLatin1Char('y')) anio = AnioCompleto(partes[i].toInt(), int(partes[i].size()));
        }
    }
    QDate fecha(anio, mes, dia);
    if (!fecha.isValid()) return std::nullopt;
    QTime hora(0, 0);
    if (!m.captured(5).isEmpty()) {
        hora = QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).isEmpty() ? 0 : m.captured(7).toInt());
        if (!hora.isValid()) return std::nullopt;
    }
    return QDateTime(fecha, hora);
}

bool EsFecha(const QString& texto) {
    return ReconoceFecha(texto).has_value();
}
