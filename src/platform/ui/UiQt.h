// Message boxes, input boxes and the pointer shown with Qt widgets, with Spanish button texts.
#pragma once

#include "Ui.h"

class UiQt : public Ui {
  public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    QString InputBox(const QString& prompt, const QString& titulo, const QString& predeterminado) override;
    void MuestraModal(QDialog& formulario) override;
    std::optional<QString> AbreArchivo(const QString& titulo, const QString& filtro) override;
    void FijaPuntero(Puntero p) override;
    Puntero PunteroActual() const override { return puntero_; }
    QSize Pantalla() const override;
    double PuntosPorPulgada() const override;

  private:
    Puntero puntero_ = Puntero::Predeterminado;
};
