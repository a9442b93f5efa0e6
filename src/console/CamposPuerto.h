// The fiscal printer's port settings as the main window takes them: this workstation's Printers.Fis record shown
// and handed to the control, and "&Asignar Datos IF" writing port and speed. The window's list and boxes stand
// behind CamposPuerto; a program without a window keeps them as plain texts (CamposPuertoTexto).
#pragma once

#include <QString>
#include <QStringList>

class PrinterFiscal;

// Where the port settings are shown and typed.
class CamposPuerto {
  public:
    virtual ~CamposPuerto() = default;
    // The port as the list shows it ("COM1" to "COM4"); empty when none is chosen.
    virtual QString Puerto() const = 0;
    // Chooses the list's entry at posicion (0 is COM1); -1 chooses none.
    virtual void EligePuerto(int posicion) = 0;
    // The speed as typed.
    virtual QString Baud() const = 0;
    // Shows a record's speed, parity and data bits.
    virtual void MuestraDatos(const QString& baud, const QString& parity, const QString& data) = 0;
};

// The ports the list offers, in its order.
QStringList PuertosImpresora();

// This workstation's record, when there is one: shown, then handed to the control as "&Asignar Datos IF" does.
// False when there is none; nothing is shown or written then.
bool CargaDatosImpresora(CamposPuerto& campos, PrinterFiscal& control);

// "&Asignar Datos IF": no port chosen takes COM1; then the port's number and the speed as typed go to the
// control. Parity and data bits are shown only. A step that raises asks the operator: Retry runs it again,
// Ignore goes on, Abort ends the assignment.
void AsignaDatosIF(CamposPuerto& campos, PrinterFiscal& control);

// The settings as plain texts.
class CamposPuertoTexto : public CamposPuerto {
  public:
    QString Puerto() const override { return puerto; }
    void EligePuerto(int posicion) override;
    QString Baud() const override { return baud; }
    void MuestraDatos(const QString& b, const QString& p, const QString& d) override;

    QString puerto, baud, parity, data;
};
