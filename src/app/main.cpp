// The program's entry: the Qt application, the simulated fiscal printer (traced) with its own window, and the
// main window.
#include <QApplication>
#include <QTimer>

#include "ErrorEjecucion.h"
#include "Form1.h"
#include "ImpresoraSimulada.h"
#include "ModGlobal.h"
#include "PrinterTraza.h"
#include "Proceso.h"
#include "Ui.h"
#include "VentanaImpresora.h"

namespace {
// An error no handler treated must not cross Qt's event loop: it is shown, and the program goes on.
class Aplicacion : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override {
        try {
            return QApplication::notify(receptor, evento);
        } catch (const ErrorEjecucion& e) {
            ui().MsgBox(e.Description(), Estilo::Critical);
            return false;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    // The parameter text is the command line as given: kept before Qt sees it, and Qt gets the program's name
    // alone, so that words such as "-reverse" or "-platform x" reach the session and not Qt.
    FijaArgumentos(argc, argv);
    int argcQt = 1;
    char* argvQt[] = {argv[0], nullptr};
    Aplicacion app(argcQt, argvQt);
    QApplication::setApplicationName(QStringLiteral("Pavenko"));

    // The simulated fiscal printer is the control; every call to it goes through the trace.
    ImpresoraSimulada impresora;
    PrinterTraza control(impresora);

    // The window's load starts the session first: the parameter text comes from the command line only.
    Form1 ventana(control, [] {
        QString cadena;
        IniciaSistema(false, QString(), cadena, 3);
    });
    // The load runs before the event loop, so nothing else would catch what escapes it: shown, and the window opens.
    try {
        ventana.Form_Load();
    } catch (const ErrorEjecucion& e) {
        ui().FijaPuntero(Puntero::Flecha);
        ui().MsgBox(e.Description(), Estilo::Critical);
    }
    ventana.show();
    // The printer on the desk, beside the window.
    VentanaImpresora escritorio(impresora);
    escritorio.MuestraJuntoA(&ventana);
    // The start-up benchmark times the program up to its window shown.
    if (qEnvironmentVariableIsSet("PAVENKO_MIDE_INICIO")) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
