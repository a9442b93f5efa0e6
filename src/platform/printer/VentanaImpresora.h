// The simulated printer on the desk: a small window of its own, as wide as the paper roll, with the roll as it
// grows, the two status words decoded and its power switch. It never takes the keyboard focus from the program's
// windows; "ventana": false in ImpresoraSimulada.json keeps it hidden.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringDecoder>
#include <QTimer>
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
    QPushButton& BotonApagar() { return btApagar_; }

  protected:
    bool event(QEvent* e) override;

  private:
    void ActualizaEstados();
    // Appends what the roll file gained since it was last read, whoever printed it.
    void LeeRollo();

    ImpresoraSimulada& impresora_;
    QLabel lbEstado1_;
    QLabel lbEstado2_;
    QPushButton btApagar_;
    QPlainTextEdit rollo_;
    QPointer<QWidget> companera_;  // the main window it sits beside
    QTimer vigia_;                 // looks for what another program printed or changed
    qint64 leidoHasta_ = 0;        // bytes of the roll file shown
    QStringDecoder utf8_{QStringDecoder::Utf8};
};
