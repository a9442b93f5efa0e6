// The ui layer without a screen, for a program a scheduler runs: every box is written to standard error as one
// line and answered at once as if nobody were there (a question No, Abort/Retry/Ignore Abort, a Cancel where the
// box has one), an input box stays empty, and no form or file dialog is shown.
#pragma once

#include <cstdio>

#include "Ui.h"

class UiConsola : public Ui {
  public:
    explicit UiConsola(std::FILE* salida = stderr) : salida_(salida) {}

    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    QString InputBox(const QString& prompt, const QString& titulo, const QString& predeterminado) override;
    void MuestraModal(QDialog& formulario) override;
    std::optional<QString> AbreArchivo(const QString& titulo, const QString& filtro) override;
    bool MuestraFormularios() const override { return false; }
    void FijaPuntero(Puntero p) override { puntero_ = p; }
    Puntero PunteroActual() const override { return puntero_; }
    QSize Pantalla() const override { return {1280, 1024}; }
    double PuntosPorPulgada() const override { return 96.0; }

    // The answer a box of this style gets when nobody is there to give one.
    static int RespuestaSinOperador(int estilo);
    // The line a box becomes: its title (the application's when it has none), ": ", its text with every line
    // break as " / ", and, when the box offered a choice, " -> " and the button taken.
    static QString Linea(const QString& texto, int estilo, const QString& titulo);

  private:
    void Escribe(const QString& linea);

    std::FILE* salida_;
    Puntero puntero_ = Puntero::Predeterminado;
};
