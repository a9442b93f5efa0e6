// The database error dialog: the error shown with a choice of buttons, one line per answer appended to the
// plain-text log "TKERR.LOG" (or the file ArchivoErrores names), the button returned to the caller.
#include <QFile>

#include "Cp1252.h"
#include "DB_Dll.h"
#include "Pasos.h"
#include "Proceso.h"
#include "Texto.h"
#include "Ui.h"

namespace {
QString PalabraRespuesta(int respuesta) {
    switch (respuesta) {
        case Respuesta::Retry:
            return QStringLiteral("Reintentar");
        case Respuesta::Ignore:
            return QStringLiteral("Ignorar");
        case Respuesta::Abort:
            return QStringLiteral("Abortar");
        case Respuesta::Cancel:
            return QStringLiteral("Cancelar");
        case Respuesta::Yes:
            return QStringLiteral("Sí");
        case Respuesta::No:
            return QStringLiteral("No");
        default:
            return QString();
    }
}
}  // namespace

Variant DB_Dll::ArchivoErrores() const {
    return Variant(gLogErr);
}

void DB_Dll::ArchivoErrores(const Variant& valor) {
    gLogErr = valor.ATexto();
}

qint16 DB_Dll::TratamientoErrores(ErrorEjecucion CodErr, std::optional<Variant> Botones,
                                  std::optional<Variant> Rutina) {
    QString ruta, mensaje, rutina, titulo, palabra, linea;
    int estilo = Estilo::AbortRetryIgnore + Estilo::Critical;
    qint16 respuesta = 0;
    // Each step runs with errors ignored: a lost log line must not hide the error from the operator.
    Pasos pasos = Pasos::OmiteFallos();
    // 1. Log path.
    pasos.run([&] {
        ruta = gLogErr.isEmpty() ? AgregaSeparador(proceso().CarpetaPrograma()) + QStringLiteral("TKERR.LOG") : gLogErr;
    });
    // 2. Message.
    pasos.run([&] {
        mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") + Recorta(QString::number(CodErr.Number())) +
                  QStringLiteral(") ") + Recorta(CodErr.Description());
    });
    // 3. Routine part.
    pasos.run([&] {
        if (Rutina) rutina = QStringLiteral(" - ") + Rutina->ATexto();
    });
    // 4. Title.
    pasos.run([&] { titulo = CodErr.Source() + rutina + QStringLiteral(" Aviso al operador!!! "); });
    // 5. Style.
    pasos.run([&] {
        if (Botones) estilo = Botones->ALargo();
    });
    // 6. No error, nothing to say.
    if (CodErr.Number() == 0) return 0;
    // 7. The box.
    pasos.run([&] { respuesta = static_cast<qint16>(ui().MsgBox(mensaje, estilo, titulo)); });
    // 8. The answer's word.
    pasos.run([&] { palabra = PalabraRespuesta(respuesta); });
    // 9. The log line.
    pasos.run([&] {
        const QDateTime ahora = proceso().Ahora();
        linea = ahora.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral(" ") +
                ahora.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" Rutina: ") + Recorta(rutina) +
                QStringLiteral(" Mensaje ") + Recorta(mensaje) + QStringLiteral(" Respondió : ") + palabra;
    });
    // 10. Appended in the ANSI code page; a file that cannot be written loses the line.
    pasos.run([&] {
        QFile archivo(ruta);
        if (archivo.open(QIODevice::WriteOnly | QIODevice::Append))
            archivo.write(ACp1252(linea + QStringLiteral("\r\n")));
    });
    // 11. The button.
    return respuesta;
}
