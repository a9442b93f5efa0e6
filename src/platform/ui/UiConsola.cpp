// The ui layer on standard error.
#include "UiConsola.h"

#include <QDialog>

namespace {
// Line breaks as the platform takes them: CR LF, a lone CR or a lone LF.
QString EnUnaLinea(const QString& texto) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.replace(QLatin1Char('\n'), QStringLiteral(" / "));
}

QString Titulo(const QString& titulo) {
    return titulo.isEmpty() ? kTituloAplicacion : EnUnaLinea(titulo);
}

// The button's caption, as the Qt boxes label it.
QString NombreBoton(int respuesta) {
    switch (respuesta) {
        case Respuesta::Cancel:
            return QStringLiteral("Cancelar");
        case Respuesta::Abort:
            return QStringLiteral("Anular");
        case Respuesta::No:
            return QStringLiteral("No");
        default:
            return QStringLiteral("Aceptar");
    }
}
}  // namespace

int UiConsola::RespuestaSinOperador(int estilo) {
    switch (estilo & 0x0F) {
        case Estilo::AbortRetryIgnore:
            return Respuesta::Abort;
        case Estilo::YesNo:
        case Estilo::YesNoCancel:
            return Respuesta::No;
        case Estilo::OKCancel:
        case Estilo::RetryCancel:
            return Respuesta::Cancel;
        default:
            return Respuesta::OK;
    }
}

QString UiConsola::Linea(const QString& texto, int estilo, const QString& titulo) {
    QString linea = Titulo(titulo) + QStringLiteral(": ") + EnUnaLinea(texto);
    const int respuesta = RespuestaSinOperador(estilo);
    if ((estilo & 0x0F) != Estilo::OK) linea += QStringLiteral(" -> ") + NombreBoton(respuesta);
    return linea;
}

int UiConsola::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    Escribe(Linea(texto, estilo, titulo));
    return RespuestaSinOperador(estilo);
}

QString UiConsola::InputBox(const QString& prompt, const QString& titulo, const QString&) {
    Escribe(Titulo(titulo) + QStringLiteral(": ") + EnUnaLinea(prompt) + QStringLiteral(" -> \"\""));
    return {};
}

void UiConsola::MuestraModal(QDialog& formulario) {
    // Left as it is: a form nobody fills is a form cancelled.
    Escribe(Titulo(formulario.windowTitle()) + QStringLiteral(": -> Cancelar"));
}

std::optional<QString> UiConsola::AbreArchivo(const QString& titulo, const QString&) {
    Escribe(Titulo(titulo) + QStringLiteral(": -> Cancelar"));
    return std::nullopt;
}

void UiConsola::Escribe(const QString& linea) {
    const QByteArray bytes = linea.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), salida_);
    std::fflush(salida_);
}
