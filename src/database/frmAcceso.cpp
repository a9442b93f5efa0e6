// The connection dialog, laid out in twips as the form has always been, centred on the screen when it loads.
#include "frmAcceso.h"

#include "Ui.h"

namespace {
void Coloca(QWidget* control, int izquierda, int arriba, int ancho, int alto) {
    control->setGeometry(ui().Twips(izquierda), ui().Twips(arriba), ui().Twips(ancho), ui().Twips(alto));
}

QLabel* Etiqueta(QWidget* padre, const QString& texto, QWidget* destino) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setFont(QFont(QStringLiteral("Courier")));
    etiqueta->setBuddy(destino);
    return etiqueta;
}
}  // namespace

frmAcceso::frmAcceso(QWidget* padre) : QDialog(padre) {
    setWindowTitle(QStringLiteral("Control de Acceso"));
    setModal(true);

    // The frame goes first so that it lies under every other control.
    framAcceso = new QFrame(this);
    framAcceso->setFrameShape(QFrame::Box);
    framAcceso->setFrameShadow(QFrame::Sunken);
    framAcceso->setFocusPolicy(Qt::NoFocus);

    TxtUserId = new QLineEdit(this);
    TxtUserPassword = new QLineEdit(this);
    TxtUserPassword->setEchoMode(QLineEdit::Password);
    TxtUserPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
    TxtDbName = new QLineEdit(this);
    TxtServidor = new QLineEdit(this);
    CboPlataformaDB = new QComboBox(this);
    CboPlataformaDB->setEditable(false);
    CboPlataformaDB->addItem(QStringLiteral("SQL Server"));
    CboPlataformaDB->addItem(QStringLiteral("ORACLE"));
    bcAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    bcAceptar->setDefault(true);
    bcCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    bcCancelar->setAutoDefault(false);

    lbUsuario = Etiqueta(this, QStringLiteral("&Usuario"), TxtUserId);
    lbcontrasena = Etiqueta(this, QStringLiteral("&Contraseña"), TxtUserPassword);
    Label1 = Etiqueta(this, QStringLiteral("&Base de Datos"), TxtDbName);
    Label2 = Etiqueta(this, QStringLiteral("&Servidor"), TxtServidor);

    Coloca(lbUsuario, 240, 360, 1455, 255);
    Coloca(TxtUserId, 1920, 240, 3735, 345);
    Coloca(lbcontrasena, 240, 720, 1452, 252);
    Coloca(TxtUserPassword, 1920, 600, 3735, 345);
    Coloca(Label1, 240, 1200, 1695, 255);
    Coloca(TxtDbName, 1920, 1080, 3735, 345);
    Coloca(Label2, 240, 1560, 1455, 255);
    Coloca(TxtServidor, 1920, 1440, 3735, 345);
    Coloca(CboPlataformaDB, 1905, 1890, 3765, 315);
    Coloca(bcAceptar, 1440, 2415, 1350, 375);
    Coloca(bcCancelar, 3000, 2415, 1332, 372);
    Coloca(framAcceso, 0, 0, 5775, 2340);
    setFixedSize(ui().Twips(5775), ui().Twips(2415 + 375 + 120));

    setTabOrder(TxtUserId, TxtUserPassword);
    setTabOrder(TxtUserPassword, TxtDbName);
    setTabOrder(TxtDbName, TxtServidor);
    setTabOrder(TxtServidor, CboPlataformaDB);
    setTabOrder(CboPlataformaDB, bcAceptar);
    setTabOrder(bcAceptar, bcCancelar);
    TxtUserId->setFocus();

    connect(bcAceptar, &QPushButton::clicked, this, &frmAcceso::bcAceptar_Click);
    connect(bcCancelar, &QPushButton::clicked, this, &frmAcceso::bcCancelar_Click);

    // Form_Load: centred on the screen.
    const QSize pantalla = ui().Pantalla();
    move((pantalla.width() - width()) / 2, (pantalla.height() - height()) / 2);
}

void frmAcceso::bcAceptar_Click() {
    Aceptar = true;
    hide();
}

void frmAcceso::bcCancelar_Click() {
    Aceptar = false;
    hide();
}

void frmAcceso::reject() {
    bcCancelar_Click();
    QDialog::reject();
}
