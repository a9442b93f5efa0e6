// The window on the simulated printer, as the operator uses it: port and speed assigned, every Command1 button
// pressed in a row from a fresh device reports true, and the closes and cancels leave it idle again.
#include "Form1.h"
#include "ImpresoraSimulada.h"
#include "Soporte.h"

TEST_F(ConEntorno, EnLaImpresoraSimuladaCadaBotonDaVerdadero) {
    ImpresoraSimulada impresora;
    Form1 form(impresora, [] {});
    form.TrasCierre = [] {};
    form.Form_Load();
    form.CmbCOM->setCurrentIndex(0);
    form.txtFields[1]->setText(QStringLiteral("9600"));
    form.CmdAsignarDatos_Click();

    // Boxes inside a sequence: index 12 asks for the next sheet, 6 shows the header, 8 asks for the slip twice.
    const std::pair<int, int> botones[] = {{7, 0}, {0, 0}, {1, 0}, {9, 0}, {12, 1}, {2, 0},
                                           {3, 0}, {4, 0}, {5, 0}, {6, 1}, {8, 2},  {11, 0}};
    for (auto [indice, internas] : botones) {
        for (int i = 0; i <= internas; ++i) guion.Responde(Respuesta::OK);
        form.Command1_Click(indice);
        EXPECT_TRUE(guion.Cajas().back().texto.startsWith("Verdadero\r"))
            << indice << ": " << guion.Cajas().back().texto.toStdString();
    }
    EXPECT_TRUE(std::any_of(guion.Cajas().begin(), guion.Cajas().end(), [](const UiGuion::Caja& c) {
        return c.texto == QLatin1String("El header obtenido es : PRUEBA HEADER");
    }));

    form.Command2_Click(0);
    guion.Responde(Respuesta::OK);
    form.CmdCancelaTickets_Click();
    EXPECT_EQ(impresora.Memoria().estado, EstadoFiscal::Libre);
    EXPECT_EQ(impresora.Memoria().zonas.size(), 40);
}
