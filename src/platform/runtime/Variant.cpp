// VARIANT conversions.
#include "Variant.h"

#include <cmath>

#include "ErrorEjecucion.h"
#include "Fechas.h"
#include "Regional.h"
#include "Texto.h"

Variant Variant::Null() {
    Variant v;
    v.valor_ = Nulo{};
    return v;
}

TipoVariant Variant::Tipo() const {
    static const TipoVariant kTipos[] = {TipoVariant::Empty,    TipoVariant::Null, TipoVariant::Boolean,
                                         TipoVariant::Integer,  TipoVariant::Long, TipoVariant::Double,
                                         TipoVariant::Currency, TipoVariant::Date, TipoVariant::String};
    return kTipos[valor_.index()];
}

bool Variant::EsNumerico() const {
    switch (Tipo()) {
        case TipoVariant::Integer:
        case TipoVariant::Long:
        case TipoVariant::Double:
        case TipoVariant::Currency:
        case TipoVariant::Boolean:
        case TipoVariant::Empty:
            return true;
        case TipoVariant::String:
            try {
                TextoADouble(std::get<QString>(valor_));
                return true;
            } catch (const ErrorEjecucion&) {
                return false;
            }
        default:
            return false;
    }
}

QString Variant::ATexto() const {
    switch (Tipo()) {
        case TipoVariant::Empty:
            return {};
        case TipoVariant::Null:
            Lanza(Err::UsoInvalidoNull);
        case TipoVariant::Boolean:
            return TextoBooleano(std::get<bool>(valor_));
        case TipoVariant::Integer:
            return QString::number(std::get<qint16>(valor_));
        case TipoVariant::Long:
            return QString::number(std::get<qint32>(valor_));
        case TipoVariant::Double:
            return DoubleATexto(std::get<double>(valor_));
        case TipoVariant::Currency:
            return MonedaATexto(std::get<Moneda>(valor_));
        case TipoVariant::Date: {
            const QDateTime& d = std::get<QDateTime>(valor_);
            QString t = FechaCorta(d.date());
            if (d.time() != QTime(0, 0)) t += QLatin1Char(' ') + FormateaFecha(d, QStringLiteral("HH:mm:ss"));
            return t;
        }
        default:
            return std::get<QString>(valor_);
    }
}

double Variant::ADouble() const {
    switch (Tipo()) {
        case TipoVariant::Empty:
            return 0.0;
        case TipoVariant::Null:
            Lanza(Err::UsoInvalidoNull);
        case TipoVariant::Boolean:
            return std::get<bool>(valor_) ? -1.0 : 0.0;
        case TipoVariant::Integer:
            return std::get<qint16>(valor_);
        case TipoVariant::Long:
            return std::get<qint32>(valor_);
        case TipoVariant::Double:
            return std::get<double>(valor_);
        case TipoVariant::Currency:
            return std::get<Moneda>(valor_).ADouble();
        case TipoVariant::Date: {
            // Days since 30 December 1899, the time as the fraction.
            const QDateTime& d = std::get<QDateTime>(valor_);
            double dias = static_cast<double>(QDate(1899, 12, 30).daysTo(d.date()));
            return dias + d.time().msecsSinceStartOfDay() / 86400000.0;
        }
        default:
            return TextoADouble(std::get<QString>(valor_));
    }
}

qint16 Variant::AEntero() const {
    return RedondeaEntero16(ADouble());
}
qint32 Variant::ALargo() const {
    return RedondeaEntero32(ADouble());
}

Moneda Variant::AMoneda() const {
    if (Tipo() == TipoVariant::Currency) return std::get<Moneda>(valor_);
    if (Tipo() == TipoVariant::String) return TextoAMoneda(std::get<QString>(valor_));
    return Moneda::DesdeDouble(ADouble());
}

bool Variant::ABooleano() const {
    if (Tipo() == TipoVariant::Boolean) return std::get<bool>(valor_);
    if (Tipo() == TipoVariant::String) {
        const QString& t = std::get<QString>(valor_);
        if (IgualesTexto(Recorta(t), QStringLiteral("Verdadero")) || IgualesTexto(Recorta(t), QStringLiteral("True")))
            return true;
        if (IgualesTexto(Recorta(t), QStringLiteral("Falso")) || IgualesTexto(Recorta(t), QStringLiteral("False")))
            return false;
    }
    return ADouble() != 0.0;
}

QDateTime Variant::AFecha() const {
    switch (Tipo()) {
        case TipoVariant::Date:
            return std::get<QDateTime>(valor_);
        case TipoVariant::Null:
            Lanza(Err::UsoInvalidoNull);
        case TipoVariant::String: {
            auto f = ReconoceFecha(std::get<QString>(valor_));
            if (!f) Lanza(Err::TiposNoCoinciden);
            return *f;
        }
        default: {
            double v = ADouble();
            qint64 dias = static_cast<qint64>(std::floor(v));
            qint64 ms = static_cast<qint64>(std::llround((v - static_cast<double>(dias)) * 86400000.0));
            if (ms >= 86400000) ++dias, ms -= 86400000;
            // The fraction is the clock time of that day, whatever the local clock did that night.
            return QDateTime(QDate(1899, 12, 30).addDays(dias), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
        }
    }
}
