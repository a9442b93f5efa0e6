// A fiscal printer control for tests: it records every call (method and arguments) and every property write,
// and answers true, except at the call it is told to refuse (false) or to raise on.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <ostream>
#include <vector>

#include "ErrorEjecucion.h"
#include "PrinterFiscal.h"

class ControlGrabador : public PrinterFiscal {
  public:
    struct Llamada {
        QString metodo;
        QList<Variant> argumentos;
        bool operator==(const Llamada&) const = default;
    };
    struct Escritura {
        QString propiedad;
        Variant valor;
        bool operator==(const Escritura&) const = default;
    };

    std::vector<Llamada> llamadas;
    std::vector<Escritura> escrituras;  // only the writes that were taken

    int fallaEn = 0;  // the call (counted from 1) that returns false; 0 for none
    int lanzaEn = 0;  // the call that raises error; 0 for none
    ErrorEjecucion error{Err::ErrorES, QStringLiteral("No hay respuesta de la impresora")};
    // Writes of a property that raise error before one is taken.
    std::map<QString, int> escriturasQueFallan;

    QString estado1 = QStringLiteral("0600 Impresora lista");
    QString estado2 = QStringLiteral("0000 Sin documento abierto");
    QString campoRespuesta7;
    // Called at every call, once recorded (tests look at the program's state then).
    std::function<void(const Llamada&)> alLlamar;

    // Back to a fresh control that fails at call k (0 for never).
    void Reinicia(int k = 0) {
        llamadas.clear();
        escrituras.clear();
        fallaEn = k;
        lanzaEn = 0;
    }

    bool Invoca(const QString& metodo, const QList<Variant>& argumentos) override {
        llamadas.push_back({metodo, argumentos});
        if (alLlamar) alLlamar(llamadas.back());
        const int n = static_cast<int>(llamadas.size());
        if (n == lanzaEn) throw error;
        return n != fallaEn;
    }
    QString Lee(const QString& propiedad) override {
        if (propiedad == QLatin1String("Estado1")) return estado1;
        if (propiedad == QLatin1String("Estado2")) return estado2;
        if (propiedad == QLatin1String("CampoRespuesta7")) return campoRespuesta7;
        return {};
    }
    void Escribe(const QString& propiedad, const Variant& valor) override {
        auto f = escriturasQueFallan.find(propiedad);
        if (f != escriturasQueFallan.end() && f->second > 0) {
            --f->second;
            Lanza(380, QStringLiteral("El valor de la propiedad no es válido"));
        }
        escrituras.push_back({propiedad, valor});
    }
};

// How a call reads in a failing test: Metodo("a", 1, ...).
inline void PrintTo(const ControlGrabador::Llamada& l, std::ostream* os) {
    QStringList a;
    for (const Variant& v : l.argumentos)
        a << (v.Tipo() == TipoVariant::String ? QStringLiteral("\"%1\"").arg(v.ATexto()) : v.ATexto());
    *os << (l.metodo + QStringLiteral("(") + a.join(QStringLiteral(", ")) + QStringLiteral(")")).toStdString();
}
