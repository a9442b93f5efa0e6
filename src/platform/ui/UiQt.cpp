// The Qt implementation of the ui layer.
#include "UiQt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {
struct Boton {
    int respuesta;
    const char* texto;
};

// Button sets in the platform's order, left to right; the first is the default.
std::vector<Boton> BotonesDe(int conjunto) {
    switch (conjunto) {
        case Estilo::OKCancel:
            return {{Respuesta::OK, "Aceptar"}, {Respuesta::Cancel, "Cancelar"}};
        case Estilo::AbortRetryIgnore:
            return {{Respuesta::Abort, "&Anular"}, {Respuesta::Retry, "&Reintentar"}, {Respuesta::Ignore, "&Omitir"}};
        case Estilo::YesNoCancel:
            return {{Respuesta::Yes, "&Sí"}, {Respuesta::No, "&No"}, {Respuesta::Cancel, "Cancelar"}};
        case Estilo::YesNo:
            return {{Respuesta::Yes, "&Sí"}, {Respuesta::No, "&No"}};
        case Estilo::RetryCancel:
            return {{Respuesta::Retry, "&Reintentar"}, {Respuesta::Cancel, "Cancelar"}};
        default:
            return {{Respuesta::OK, "Aceptar"}};
    }
}

QMessageBox::Icon IconoDe(int icono) {
    switch (icono) {
        case Estilo::Critical:
            return QMessageBox::Critical;
        case Estilo::Question:
            return QMessageBox::Question;
        case Estilo::Exclamation:
            return QMessageBox::Warning;
        case Estilo::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}
}  // namespace

int UiQt::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(titulo.isEmpty() ? kTituloAplicacion : titulo);
    // The platform breaks lines at a lone carriage return too.
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    caja.setText(t);
    caja.setIcon(IconoDe(estilo & 0x70));
    auto botones = BotonesDe(estilo & 0x0F);
    std::vector<std::pair<QAbstractButton*, int>> mapa;
    // One role for all: Qt orders buttons of different roles by its own layout ("Reintentar · Omitir · Anular"),
    // those of one role as they were added.
    for (const auto& b : botones)
        mapa.emplace_back(caja.addButton(QString::fromUtf8(b.texto), QMessageBox::AcceptRole), b.respuesta);
    caja.setDefaultButton(static_cast<QPushButton*>(mapa.front().first));
    // Escape answers Cancel where there is one, else the only button; Abort/Retry/Ignore and Yes/No have none.
    for (const auto& [boton, respuesta] : mapa)
        if (respuesta == Respuesta::Cancel || mapa.size() == 1) caja.setEscapeButton(boton);
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    caja.exec();
    QGuiApplication::restoreOverrideCursor();
    for (const auto& [boton, respuesta] : mapa)
        if (caja.clickedButton() == boton) return respuesta;
    return mapa.size() == 1 ? Respuesta::OK : Respuesta::Cancel;
}

QString UiQt::InputBox(const QString& prompt, const QString& titulo, const QString& predeterminado) {
    QInputDialog d(QApplication::activeWindow());
    d.setWindowTitle(titulo.isEmpty() ? kTituloAplicacion : titulo);
    d.setLabelText(prompt);
    d.setTextValue(predeterminado);
    d.setOkButtonText(QStringLiteral("Aceptar"));
    d.setCancelButtonText(QStringLiteral("Cancelar"));
    return d.exec() == QDialog::Accepted ? d.textValue() : QString();
}

void UiQt::MuestraModal(QDialog& formulario) {
    formulario.exec();
}

std::optional<QString> UiQt::AbreArchivo(const QString& titulo, const QString& filtro) {
    // The platform's filter "Name |*.EXT" becomes Qt's "Name (*.EXT)".
    QString f = filtro;
    qsizetype barra = f.indexOf(QLatin1Char('|'));
    if (barra >= 0) f = f.left(barra).trimmed() + QStringLiteral(" (") + f.mid(barra + 1).trimmed() + QLatin1Char(')');
    QString ruta = QFileDialog::getOpenFileName(QApplication::activeWindow(), titulo, {}, f);
    if (ruta.isEmpty()) return std::nullopt;
    return ruta;
}

void UiQt::FijaPuntero(Puntero p) {
    if (puntero_ == Puntero::RelojDeArena) QGuiApplication::restoreOverrideCursor();
    puntero_ = p;
    if (p == Puntero::RelojDeArena) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

QSize UiQt::Pantalla() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

double UiQt::PuntosPorPulgada() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInch() : 96.0;
}
