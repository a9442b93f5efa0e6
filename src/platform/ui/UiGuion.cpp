// The scripted ui double.
#include "UiGuion.h"

#include <QDialog>

namespace {
int PrimerBoton(int estilo) {
    switch (estilo & 0x0F) {
        case Estilo::AbortRetryIgnore:
            return Respuesta::Abort;
        case Estilo::YesNo:
        case Estilo::YesNoCancel:
            return Respuesta::Yes;
        case Estilo::RetryCancel:
            return Respuesta::Retry;
        default:
            return Respuesta::OK;
    }
}
}  // namespace

int UiGuion::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    Caja c{texto, estilo, titulo, 0};
    if (respuestas_.empty()) {
        inesperadas_.push_back(QStringLiteral("caja: ") + texto);
        c.respuesta = PrimerBoton(estilo);
    } else {
        c.respuesta = respuestas_.front();
        respuestas_.pop_front();
    }
    cajas_.push_back(c);
    if (alVerCaja) alVerCaja(c);
    return c.respuesta;
}

QString UiGuion::InputBox(const QString& prompt, const QString& titulo, const QString&) {
    promptsEntrada_.push_back(prompt + QStringLiteral(" | ") + titulo);
    if (entradas_.empty()) {
        inesperadas_.push_back(QStringLiteral("entrada: ") + prompt);
        return {};
    }
    QString t = entradas_.front();
    entradas_.pop_front();
    return t;
}

void UiGuion::MuestraModal(QDialog& formulario) {
    if (formularios_.empty()) {
        inesperadas_.push_back(QStringLiteral("formulario: ") + formulario.windowTitle());
        formulario.reject();
        return;
    }
    auto accion = std::move(formularios_.front());
    formularios_.pop_front();
    accion(formulario);
}

std::optional<QString> UiGuion::AbreArchivo(const QString& titulo, const QString&) {
    if (archivos_.empty()) {
        inesperadas_.push_back(QStringLiteral("archivo: ") + titulo);
        return std::nullopt;
    }
    auto [elegido, ruta] = archivos_.front();
    archivos_.pop_front();
    if (!elegido) return std::nullopt;
    return ruta;
}

void UiGuion::FijaPuntero(Puntero p) {
    puntero_ = p;
    punteros_.push_back(p);
}
