// A push button that, as on the original platform, is pressed by Enter as well as by the space bar when it
// has the focus, also inside a window that is not a dialog.
#pragma once

#include <QKeyEvent>
#include <QPushButton>

class BotonComando : public QPushButton {
    Q_OBJECT
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* evento) override {
        const bool enter = evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
        // The keypad's Enter comes with the keypad modifier; any other modifier leaves the key to Qt.
        if (enter && (evento->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(evento);
    }
};
