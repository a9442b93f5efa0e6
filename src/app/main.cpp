// The program's entry: the Qt application, the fiscal printer control and the main window.
#include <QApplication>

#include "ErrorEjecucion.h"
#include "Form1.h"
#include "Ui.h"

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

// A control with no device behind it: every command is refused.
class SinImpresora : public PrinterFiscal {
  public:
    bool Invoca(const QString&, const QList<Variant>&) override { return false; }
    QString Lee(const QString& propiedad) override {
        return propiedad.startsWith(QLatin1String("Estado")) ? QStringLiteral("0000 sin impresora") : QString();
    }
    void Escribe(const QString&, const Variant&) override {}
};
}  // namespace

int main(int argc, char** argv) {
    Aplicacion app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pavenko"));

    SinImpresora impresora;
    // The start-up of the framework is not wired yet: it does nothing.
    Form1 ventana(impresora, [] {});
    ventana.Form_Load();
    ventana.show();
    return app.exec();
}
