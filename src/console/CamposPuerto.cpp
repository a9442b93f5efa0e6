// The port settings: the record's load and the assignment to the control.
#include "CamposPuerto.h"

#include <cmath>

#include "ArchivoImpresoras.h"
#include "Numeros.h"
#include "Pasos.h"
#include "PrinterFiscal.h"
#include "Texto.h"
#include "Ui.h"

QStringList PuertosImpresora() {
    return {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4")};
}

bool CargaDatosImpresora(CamposPuerto& campos, PrinterFiscal& control) {
    if (!LeeRegistroImpresora()) return false;
    // The port's number from its fourth character on; a blank field, or a port the list does not hold, leaves
    // nothing chosen (the assignment then takes COM1).
    const double posicion = Val(Medio(gRegistroImpresora.Puerto, 4)) - 1;
    const bool enLista = posicion >= 0 && posicion < PuertosImpresora().size() && posicion == std::floor(posicion);
    campos.EligePuerto(enLista ? static_cast<int>(posicion) : -1);
    campos.MuestraDatos(LimpiaCampo(gRegistroImpresora.Baud), LimpiaCampo(gRegistroImpresora.Parity),
                        LimpiaCampo(gRegistroImpresora.Data));
    AsignaDatosIF(campos, control);
    return true;
}

void AsignaDatosIF(CamposPuerto& campos, PrinterFiscal& control) {
    Pasos pasos([](const ErrorEjecucion& e) {
        const int r = ui().MsgBox(e.Description(), Estilo::AbortRetryIgnore + Estilo::Critical,
                                  QStringLiteral("aviso al operador!!!"));
        return r == Respuesta::Retry ? Reintentar : r == Respuesta::Ignore ? Ignorar : 0;
    });
    // No port chosen: COM1.
    pasos.run([&] {
        if (LimpiaCampo(Medio(campos.Puerto(), 4)).isEmpty()) campos.EligePuerto(0);
    });
    // The port: the number after "COM".
    pasos.run([&] { control.Puerto(Variant(LimpiaCampo(Medio(campos.Puerto(), 4))).AEntero()); });
    // The speed as typed.
    pasos.run([&] { control.Baud(LimpiaCampo(campos.Baud())); });
}

void CamposPuertoTexto::EligePuerto(int posicion) {
    const QStringList puertos = PuertosImpresora();
    puerto = posicion >= 0 && posicion < puertos.size() ? puertos.at(posicion) : QString();
}

void CamposPuertoTexto::MuestraDatos(const QString& b, const QString& p, const QString& d) {
    baud = b;
    parity = p;
    data = d;
}
