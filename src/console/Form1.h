// The main window: port settings, the printer actions as buttons, and the fiscal printer control they call.
// Handlers are named for control and event; each delegates to the sequences, the settings file and the ui layer.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <map>

#include "BotonComando.h"
#include "CamposPuerto.h"
#include "PrinterFiscal.h"

class Form1 : public QWidget {
    Q_OBJECT
  public:
    // inicio is the application's start-up, run first when the window loads.
    Form1(PrinterFiscal& control, std::function<void()> inicio, QWidget* parent = nullptr);

    // Controls, in the order of the window's tables.
    QLabel* Label1;
    std::map<int, QLabel*> Label2;  // 1, 3, 4, 5
    QComboBox* CmbCOM;
    std::map<int, QLineEdit*> txtFields;  // 1 Baud, 2 Parity, 3 Data
    BotonComando* Command3;
    BotonComando* CmdAsignarDatos;
    std::map<int, BotonComando*> Command2;  // 0 X, 1 Z
    std::map<int, BotonComando*> Command1;  // 0 to 12, no 10
    BotonComando* CmdCancela;
    BotonComando* CmdCancelaTickets;
    BotonComando* CmdSalir;
    PrinterFiscal& PrinterFiscal1;

    // What "&Salir" does: ends the program at once (tests replace it).
    std::function<void()> Termina;
    // What follows every close: the maintenance offer (tests replace it).
    std::function<void()> TrasCierre;

    // Events.
    void Form_Load();
    void CmdAsignarDatos_Click();
    void Command1_Click(int Index);
    void Command2_Click(int Index);
    void CmdCancela_Click();
    void CmdCancelaTickets_Click();
    void CmdSalir_Click();
    void Command3_Click();

    // True when the setting "TPV_SERVER" holds a value, or cannot be read: it enables the maintenance offer.
    bool TieneServidorTPV();

  protected:
    void showEvent(QShowEvent* evento) override;

  private:
    // Runs a use of the control; an error it raises ends that use with false and is shown to the operator.
    bool Protegido(const std::function<bool()>& uso);

    std::function<void()> inicio_;
    bool mostrada_ = false;
};
