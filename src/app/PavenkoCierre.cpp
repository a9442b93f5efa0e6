// PavenkoCierre: the fiscal printer's X and Z closes and its status without a window, for a scheduler. It starts
// the session as the window's load does, hands the workstation's port and speed to the control, makes one call and
// writes the control's answer as one JSON object on standard output; its exit code says how it went.
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <cstdio>

#include "CamposPuerto.h"
#include "DB_Dll.h"
#include "ErrorEjecucion.h"
#include "ImpresoraSimulada.h"
#include "ModGlobal.h"
#include "PrinterTraza.h"
#include "Proceso.h"
#include "Secuencias.h"
#include "Sesion.h"
#include "Texto.h"
#include "UiConsola.h"

namespace {

// The exit codes a scheduler reads.
enum Salida {
    ControlAcepto = 0,     // the control returned true
    ControlRechazo = 1,    // the control returned false (or raised an error)
    InicioTermino = 2,     // the start-up ended the program: no connection, or access refused
    LineaNoEntendida = 3,  // the command line is not understood
};

// The actions and the call each makes: the closes as the window's close buttons call them, the status as its
// status button does.
struct Accion {
    const char* nombre;
    bool (*llama)(PrinterFiscal& control);
};
const Accion kAcciones[] = {
    {"X", [](PrinterFiscal& c) { return c.RealizarCierre(QStringLiteral("X"), QStringLiteral("P")); }},
    {"Z", [](PrinterFiscal& c) { return c.RealizarCierre(QStringLiteral("Z")); }},
    {"ESTADO", [](PrinterFiscal& c) { return EjecutaSecuencia(7, c); }},
};

const Accion* BuscaAccion(const QString& nombre) {
    for (const Accion& a : kAcciones)
        if (IgualesTexto(nombre, QString::fromUtf8(a.nombre))) return &a;
    return nullptr;
}

void EscribeLinea(std::FILE* salida, const QString& linea) {
    const QByteArray bytes = linea.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), salida);
    std::fflush(salida);
}

QString Json(const QString& texto) {
    const QByteArray arreglo = QJsonDocument(QJsonArray{texto}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(arreglo.mid(1, arreglo.size() - 2));
}

// The control's answer: the action, its result, the two status texts and the eight reply fields, in that order.
QString RespuestaJson(const Accion& accion, bool resultado, PrinterFiscal& control) {
    QStringList campos;
    campos << QStringLiteral("\"action\":") + Json(QString::fromUtf8(accion.nombre))
           << QStringLiteral("\"result\":") + (resultado ? QStringLiteral("true") : QStringLiteral("false"));
    const QString propiedades[] = {QStringLiteral("Estado1"),         QStringLiteral("Estado2"),
                                   QStringLiteral("CampoRespuesta1"), QStringLiteral("CampoRespuesta2"),
                                   QStringLiteral("CampoRespuesta3"), QStringLiteral("CampoRespuesta4"),
                                   QStringLiteral("CampoRespuesta5"), QStringLiteral("CampoRespuesta6"),
                                   QStringLiteral("CampoRespuesta7"), QStringLiteral("CampoRespuesta8")};
    for (const QString& p : propiedades) {
        QString valor;
        try {
            valor = control.Lee(p);
        } catch (const ErrorEjecucion&) {
            // a property the control cannot give reads as empty: the answer is written all the same
        }
        campos << Json(p) + QLatin1Char(':') + Json(valor);
    }
    return QLatin1Char('{') + campos.join(QLatin1Char(',')) + QLatin1Char('}');
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is read before Qt sees it: Qt gets the program's name alone, so no word of the parameter
    // text is taken for one of its options. The parameter text is every word after the action, joined by blanks.
    const Accion* accion = argc >= 2 ? BuscaAccion(QString::fromLocal8Bit(argv[1])) : nullptr;
    if (!accion) {
        EscribeLinea(stderr, QStringLiteral("Uso: PavenkoCierre X|Z|ESTADO <texto de parámetros>"));
        EscribeLinea(stderr, QStringLiteral("  por ejemplo: PavenkoCierre Z \"@Server=SRV01; @DbName=EMPRESA; "
                                            "@Usuario=CAJERO; @Password=secreto; @Caja=1;veld@\""));
        return LineaNoEntendida;
    }
    QStringList palabras;
    for (int i = 2; i < argc; ++i) palabras << QString::fromLocal8Bit(argv[i]);
    const QString parametros = palabras.join(QLatin1Char(' '));

    int argcQt = 1;
    char* argvQt[] = {argv[0], nullptr};
    QCoreApplication app(argcQt, argvQt);
    QCoreApplication::setApplicationName(QStringLiteral("PavenkoCierre"));

    // Nobody is at the screen: boxes go to standard error, answered at once.
    UiConsola consola;
    InstalaUi(&consola);
    // Where the start-up ends the program (no connection, access refused) it comes back here, for the exit code.
    FijaTerminacion([] {});

    // The window's load: the session first, from the parameter text that follows the action.
    try {
        QString cadena;
        IniciaSistema(false, parametros, cadena, 3);
    } catch (const ErrorEjecucion& e) {
        // An error escaping the start-up leaves the access check in doubt: the program does not go on.
        ui().MsgBox(e.Description(), Estilo::Critical);
        sesion().ProgramaTerminado = true;
    }
    if (sesion().ProgramaTerminado) {
        // Connected, only the access check ends it.
        EscribeLinea(stderr, sesion().gDB().gOpenFlag
                                 ? QStringLiteral("PavenkoCierre: acceso rechazado; nada se envió a la impresora")
                                 : QStringLiteral("PavenkoCierre: sin conexión a la base de datos; nada se envió "
                                                  "a la impresora"));
        return InicioTermino;
    }

    // The simulated fiscal printer is the control; every call to it goes through the trace.
    ImpresoraSimulada impresora;
    PrinterTraza control(impresora);

    // Then this workstation's record, shown (here: kept) and handed to the control.
    CamposPuertoTexto campos;
    if (!CargaDatosImpresora(campos, control))
        EscribeLinea(stderr, QStringLiteral("PavenkoCierre: Printers.Fis no tiene registro de esta estación (") +
                                 Recorta(proceso().NombreMaquina() + QStringLiteral("|") + proceso().UsuarioMaquina()) +
                                 QStringLiteral("): no se escribieron puerto ni velocidad"));

    // The one call, and the control's answer.
    bool resultado = false;
    try {
        resultado = accion->llama(control);
    } catch (const ErrorEjecucion& e) {
        ui().MsgBox(e.Description(), Estilo::Critical, QStringLiteral("aviso al operador!!!"));
    }
    EscribeLinea(stdout, RespuestaJson(*accion, resultado, control));
    return resultado ? ControlAcepto : ControlRechazo;
}
