// The printer's window: a tool window that never takes the focus, following the roll and the status words, and
// hidden when the memory says so.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "Impresora.h"
#include "VentanaImpresora.h"

using VentanaImpresoraTest = ConImpresora;

TEST_F(VentanaImpresoraTest, MuestraElRolloYLosEstadosSinTomarElFoco) {
    ImpresoraSimulada imp;
    Conecta(imp);
    ASSERT_TRUE(imp.Cajon("1"));  // printed before the window opens

    QWidget principal;
    QLineEdit campo(&principal);
    principal.setGeometry(100, 100, 300, 200);
    principal.show();
    QApplication::setActiveWindow(&principal);
    campo.setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), &campo);

    VentanaImpresora ventana(imp);
    ventana.MuestraJuntoA(&principal);
    QApplication::processEvents();
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_EQ(ventana.windowTitle(), "Impresora fiscal (simulada)");
    EXPECT_TRUE(ventana.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(ventana.windowFlags() & Qt::Tool);
    EXPECT_TRUE(ventana.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_GE(ventana.x(), principal.frameGeometry().right());
    EXPECT_EQ(QApplication::focusWidget(), &campo);

    EXPECT_TRUE(ventana.Rollo().toPlainText().contains("apertura de cajón 1"));
    ASSERT_TRUE(imp.TiqueAbrir("G"));
    EXPECT_TRUE(ventana.Rollo().toPlainText().contains("TIQUE Nro 0001-00000001"));
    EXPECT_TRUE(ventana.TextoEstado2().contains("0410 Tique abierto"));
    EXPECT_TRUE(ventana.TextoEstado2().contains("Controlador fiscal en servicio")) << "every bit decoded";
    EXPECT_TRUE(ventana.TextoEstado1().contains("0600 Impresora lista"));
    EXPECT_EQ(QApplication::focusWidget(), &campo);
}

TEST_F(VentanaImpresoraTest, LaMemoriaPuedeOcultarla) {
    QFile f(Ruta("ImpresoraSimulada.json"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"version": 1, "ventana": false})");
    f.close();
    ImpresoraSimulada imp;
    VentanaImpresora ventana(imp);
    QWidget principal;
    ventana.MuestraJuntoA(&principal);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_TRUE(ventana.TextoEstado1().contains("Sin comunicación"));

    // The setting survives the saves of later commands.
    Conecta(imp);
    ASSERT_TRUE(imp.VerEstado());
    ImpresoraSimulada otra;
    EXPECT_FALSE(otra.MuestraVentana());
}

// However long the status texts, the window keeps the roll's width and wraps them, so it never leaves the screen;
// its power switch closes a non-fiscal document left open, without taking the focus.
TEST_F(VentanaImpresoraTest, ConservaSuAnchoYSeApagaYEnciende) {
    ImpresoraSimulada imp;
    Conecta(imp);
    QWidget principal;
    QLineEdit campo(&principal);
    principal.setGeometry(100, 100, 300, 200);
    principal.show();
    QApplication::setActiveWindow(&principal);
    campo.setFocus();
    VentanaImpresora ventana(imp);
    ventana.MuestraJuntoA(&principal);
    QApplication::processEvents();
    const int ancho = ventana.width();
    const int derecha = ventana.frameGeometry().right();

    ASSERT_TRUE(imp.DNFAbrir());
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(imp.FacturaAbrir("F", "C", "A", "1", "P", "12", "I", "I", "PEPE", "LE BOU", "CUIT", "30614104712",
                                      "N", "LA", "PAMPA", "98", "REM 1", "REM 2", "C"));
        QApplication::processEvents();
    }
    EXPECT_TRUE(ventana.TextoEstado2().contains("Comando no válido en el estado actual, Documento no fiscal abierto"));
    EXPECT_EQ(ventana.width(), ancho);
    EXPECT_EQ(ventana.frameGeometry().right(), derecha);
    EXPECT_LE(ventana.minimumSizeHint().width(), ancho) << "nothing asks for a wider window";

    QTest::mouseClick(&ventana.BotonApagar(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(imp.Memoria().estado, EstadoFiscal::Libre);
    EXPECT_TRUE(ventana.Rollo().toPlainText().contains("*** DOCUMENTO NO FISCAL CANCELADO ***"));
    EXPECT_TRUE(ventana.TextoEstado2().contains("Documento cancelado"));
    EXPECT_EQ(QApplication::focusWidget(), &campo);
    EXPECT_TRUE(imp.TiqueAbrir("G"));
}
