// The trace of printer calls, one JSON object a line, in the key order readers of the file expect.
#include "PrinterTraza.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include "ErrorEjecucion.h"

namespace {
// A value as the caller passed it: integers and other numbers as numbers, booleans as booleans, the rest as text.
QJsonValue ValorJson(const Variant& v) {
    switch (v.Tipo()) {
        case TipoVariant::Empty:
        case TipoVariant::Null:
            return QJsonValue(QJsonValue::Null);
        case TipoVariant::Boolean:
            return v.ABooleano();
        case TipoVariant::Integer:
        case TipoVariant::Long:
            return v.ALargo();
        case TipoVariant::Single:
        case TipoVariant::Double:
        case TipoVariant::Currency:
            return v.ADouble();
        case TipoVariant::Date:
            return v.AFecha().toString(Qt::ISODate);
        case TipoVariant::String:
            return v.ATexto();
    }
    return v.ATexto();
}

// One value written as JSON text.
QString Json(const QJsonValue& v) {
    const QByteArray arreglo = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(arreglo.mid(1, arreglo.size() - 2));
}

QString JsonError(const ErrorEjecucion& e) {
    return QStringLiteral("\"error\":{\"number\":%1,\"description\":%2}").arg(e.Number()).arg(Json(e.Description()));
}
}  // namespace

PrinterTraza::PrinterTraza(PrinterFiscal& control, const QString& archivo) : control_(control), archivo_(archivo) {}

QString PrinterTraza::ArchivoDelEntorno() {
    return qEnvironmentVariable("PAVENKO_TRAZA");
}

bool PrinterTraza::Invoca(const QString& metodo, const QList<Variant>& argumentos) {
    QStringList args;
    for (const Variant& v : argumentos) args << Json(ValorJson(v));
    const QString cabeza = QStringLiteral("\"args\":[") + args.join(QLatin1Char(',')) + QLatin1Char(']');
    try {
        const bool resultado = control_.Invoca(metodo, argumentos);
        Anota(metodo,
              cabeza + QStringLiteral(",\"result\":") + (resultado ? QStringLiteral("true") : QStringLiteral("false")));
        return resultado;
    } catch (const ErrorEjecucion& e) {
        Anota(metodo, cabeza + QLatin1Char(',') + JsonError(e));
        throw;
    }
}

void PrinterTraza::Escribe(const QString& propiedad, const Variant& valor) {
    const QString cabeza = QStringLiteral("\"value\":") + Json(ValorJson(valor));
    try {
        control_.Escribe(propiedad, valor);
        Anota(propiedad, cabeza);
    } catch (const ErrorEjecucion& e) {
        Anota(propiedad, cabeza + QLatin1Char(',') + JsonError(e));
        throw;
    }
}

void PrinterTraza::Anota(const QString& op, const QString& cuerpo) {
    if (archivo_.isEmpty()) return;
    QString estado1, estado2;
    try {
        estado1 = control_.Lee(QStringLiteral("Estado1"));
        estado2 = control_.Lee(QStringLiteral("Estado2"));
    } catch (const ErrorEjecucion&) {
        // A control that cannot give its status still has its call written down, with empty status texts.
    }
    const QString linea = QStringLiteral("{\"op\":") + Json(op) + QLatin1Char(',') + cuerpo +
                          QStringLiteral(",\"estado1\":") + Json(estado1) + QStringLiteral(",\"estado2\":") +
                          Json(estado2) + QStringLiteral("}\n");
    // A trace line that cannot be written is lost: the printer call itself has already been made.
    QFile traza(archivo_);
    if (traza.open(QIODevice::WriteOnly | QIODevice::Append)) traza.write(linea.toUtf8());
}
