// The simulated printer on the desk: a small window of its own with the paper roll as it grows and the two status
// words decoded. It never takes the keyboard focus from the program's windows; "ventana": false in
// ImpresoraSimulada.json keeps it hidden.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

#include "ImpresoraSimulada.h"

class VentanaImpresora : public QWidget {
    Q_OBJECT
  public:
    explicit VentanaImpresora(ImpresoraSimulada& impresora, QWidget* padre = nullptr);

    // Shows the window beside the main window's right edge, unless the printer's memory hides it.
    void MuestraJuntoA(QWidget* principal);

    const QPlainTextEdit& Rollo() const { return rollo_; }
    QString TextoEstado1() const { return lbEstado1_.text(); }
    QString TextoEstado2() const { return lbEstado2_.text(); }

  protected:
    bool event(QEvent* e) override;

  private:
    void ActualizaEstados();

    ImpresoraSimulada& impresora_;
    QLabel lbEstado1_;
    QLabel lbEstado2_;
    QPlainTextEdit rollo_;
    QPointer<QWidget> companera_;  // the main window it sits beside
};
