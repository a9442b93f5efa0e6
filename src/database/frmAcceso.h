// The connection dialog: user, password, database, server and platform, answered with "Aceptar" or "Cancelar".
// The database object fills it, shows it modally through the ui layer and reads it back.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class frmAcceso : public QDialog {
    Q_OBJECT

  public:
    explicit frmAcceso(QWidget* padre = nullptr);

    bool Aceptar = false;  // true when closed with "Aceptar", false with "Cancelar"

    // Controls, in the order of their tab stops.
    QLineEdit* TxtUserId;
    QLineEdit* TxtUserPassword;
    QLineEdit* TxtDbName;
    QLineEdit* TxtServidor;
    QComboBox* CboPlataformaDB;
    QPushButton* bcAceptar;
    QPushButton* bcCancelar;
    QFrame* framAcceso;
    QLabel* lbUsuario;
    QLabel* lbcontrasena;
    QLabel* Label1;
    QLabel* Label2;

    void bcAceptar_Click();
    void bcCancelar_Click();
    // Esc closes as "Cancelar" does.
    void reject() override;
};
