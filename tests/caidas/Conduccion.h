// What the crash tests' child and the tests share: the order in which the simulated printer is driven (the sample
// sequences, the invoice layout and the closes, drawn from a seed), a control that reports each finished call,
// and the embedded database the insert loop writes to.
#pragma once

#include <QString>
#include <functional>
#include <random>

#include "ImpresoraSimulada.h"
#include "Secuencias.h"

// Passes every call on to the device and reports it once the device has answered.
class ControlContado : public PrinterFiscal {
  public:
    ControlContado(PrinterFiscal& destino, std::function<void()> alTerminar)
        : destino_(destino), alTerminar_(std::move(alTerminar)) {}
    bool Invoca(const QString& metodo, const QList<Variant>& argumentos) override {
        const bool aceptado = destino_.Invoca(metodo, argumentos);
        alTerminar_();
        return aceptado;
    }
    QString Lee(const QString& propiedad) override { return destino_.Lee(propiedad); }
    void Escribe(const QString& propiedad, const Variant& valor) override { destino_.Escribe(propiedad, valor); }

  private:
    PrinterFiscal& destino_;
    std::function<void()> alTerminar_;
};

// The buttons of the sample documents and the invoice layout (11), then the X and Z closes, drawn without end;
// only an exception (a kill, in the child) ends it.
[[noreturn]] inline void ConduceImpresora(PrinterFiscal& control, quint32 semilla) {
    const int botones[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12};
    std::mt19937 azar(semilla);
    for (;;) {
        const int eleccion = int(azar() % 14);
        if (eleccion < 12)
            EjecutaSecuencia(botones[eleccion], control);
        else
            control.RealizarCierre(eleccion == 12 ? QStringLiteral("X") : QStringLiteral("Z"));
    }
}

// The embedded server of the insert loop: Servidores.ini names SRV01 as the folder "datos", holding CAIDAS.db.
inline QString CadenaCaidas() {
    return QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =CAIDAS;UId=sa;Pwd=x;");
}
