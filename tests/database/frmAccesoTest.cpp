// The connection dialog: its controls as the operator sees them, and its two ways out.
#include <gtest/gtest.h>

#include <QTest>

#include "Impresion.h"
#include "Soporte.h"
#include "frmAcceso.h"

namespace {
class Dialogo : public ConEntorno {};
}  // namespace

TEST_F(Dialogo, ControlesEnSuSitio) {
    frmAcceso f;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Control de Acceso"));
    struct Caso {
        QWidget* control;
        const char* texto;
        int x, y, ancho, alto;
    };
    const Caso casos[] = {
        {f.lbUsuario, "&Usuario", 240, 360, 1455, 255},       {f.TxtUserId, "", 1920, 240, 3735, 345},
        {f.lbcontrasena, "&Contraseña", 240, 720, 1452, 252}, {f.TxtUserPassword, "", 1920, 600, 3735, 345},
        {f.Label1, "&Base de Datos", 240, 1200, 1695, 255},   {f.TxtDbName, "", 1920, 1080, 3735, 345},
        {f.Label2, "&Servidor", 240, 1560, 1455, 255},        {f.TxtServidor, "", 1920, 1440, 3735, 345},
        {f.CboPlataformaDB, "", 1905, 1890, 3765, 315},       {f.bcAceptar, "Aceptar", 1440, 2415, 1350, 375},
        {f.bcCancelar, "Cancelar", 3000, 2415, 1332, 372},    {f.framAcceso, "", 0, 0, 5775, 2340},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(c.control->geometry(),
                  QRect(guion.Twips(c.x), guion.Twips(c.y), guion.Twips(c.ancho), guion.Twips(c.alto)))
            << c.texto;
        if (auto* etiqueta = qobject_cast<QLabel*>(c.control)) {
            EXPECT_EQ(etiqueta->text(), QString::fromUtf8(c.texto));
            EXPECT_EQ(etiqueta->font().family(), QStringLiteral("Courier"));
        }
        if (auto* boton = qobject_cast<QPushButton*>(c.control)) {
            EXPECT_EQ(boton->text(), QString::fromUtf8(c.texto));
        }
    }
    EXPECT_EQ(f.lbUsuario->buddy(), f.TxtUserId);
    EXPECT_EQ(f.TxtUserPassword->echoMode(), QLineEdit::Password);
    ASSERT_EQ(f.CboPlataformaDB->count(), 2);
    EXPECT_EQ(f.CboPlataformaDB->itemText(0), QStringLiteral("SQL Server"));
    EXPECT_EQ(f.CboPlataformaDB->itemText(1), QStringLiteral("ORACLE"));
    EXPECT_TRUE(f.bcAceptar->isDefault());

    // Tab order: user, password, database, server, platform, Aceptar, Cancelar.
    const QWidget* orden[] = {f.TxtUserId,       f.TxtUserPassword, f.TxtDbName, f.TxtServidor,
                              f.CboPlataformaDB, f.bcAceptar,       f.bcCancelar};
    for (int i = 0; i + 1 < int(std::size(orden)); ++i) {
        QWidget* siguiente = orden[i]->nextInFocusChain();
        while (siguiente->focusPolicy() == Qt::NoFocus) siguiente = siguiente->nextInFocusChain();
        EXPECT_EQ(siguiente, orden[i + 1]) << i;
    }
    // Centred on the screen.
    EXPECT_EQ(f.frameGeometry().center().x() / 10, QRect(QPoint(0, 0), guion.Pantalla()).center().x() / 10);
}

TEST_F(Dialogo, AceptarYCancelar) {
    frmAcceso f;
    f.show();
    QTest::mouseClick(f.bcAceptar, Qt::LeftButton);
    EXPECT_TRUE(f.Aceptar);
    EXPECT_FALSE(f.isVisible());

    f.show();
    QTest::mouseClick(f.bcCancelar, Qt::LeftButton);
    EXPECT_FALSE(f.Aceptar);
    EXPECT_FALSE(f.isVisible());

    f.Aceptar = true;
    f.show();
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_FALSE(f.Aceptar);
    EXPECT_FALSE(f.isVisible());
}
