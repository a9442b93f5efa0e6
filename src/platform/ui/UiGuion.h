// The scripted double of the ui layer for tests: it records every box, input box and form it is asked to show
// and answers each from a queue. A box nobody queued an answer for is recorded as unexpected (the test support
// fails the test on it) and answered with its first button.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "Ui.h"

class UiGuion : public Ui {
  public:
    struct Caja {
        QString texto;
        int estilo = 0;
        QString titulo;  // as given: empty when the caller gave none
        int respuesta = 0;
    };

    // Queues the answer to the next message box.
    void Responde(int respuesta) { respuestas_.push_back(respuesta); }
    // Queues the text typed into the next input box.
    void RespondeInput(const QString& texto) { entradas_.push_back(texto); }
    // Queues what the user does in the next modal form (fills it, presses a button).
    void AlMostrar(std::function<void(QDialog&)> accion) { formularios_.push_back(std::move(accion)); }
    // Queues the answer of the next file dialog.
    void AlAbrirArchivo(std::optional<QString> ruta) {
        archivos_.emplace_back(ruta.has_value(), ruta.value_or(QString()));
    }

    const std::vector<Caja>& Cajas() const { return cajas_; }
    const std::vector<QString>& Entradas() const { return promptsEntrada_; }
    const std::vector<QString>& Inesperadas() const { return inesperadas_; }
    const std::vector<Puntero>& HistorialPuntero() const { return punteros_; }
    bool QuedanRespuestas() const {
        return !respuestas_.empty() || !entradas_.empty() || !formularios_.empty() || !archivos_.empty();
    }
    // Called whenever a box is shown, after it is recorded (tests use it to look at the program's state then).
    std::function<void(const Caja&)> alVerCaja;

    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    QString InputBox(const QString& prompt, const QString& titulo, const QString& predeterminado) override;
    void MuestraModal(QDialog& formulario) override;
    std::optional<QString> AbreArchivo(const QString& titulo, const QString& filtro) override;
    void FijaPuntero(Puntero p) override;
    Puntero PunteroActual() const override { return puntero_; }
    QSize Pantalla() const override { return pantalla; }
    double PuntosPorPulgada() const override { return ppp; }

    QSize pantalla{1280, 1024};
    double ppp = 96.0;

  private:
    std::deque<int> respuestas_;
    std::deque<QString> entradas_;
    std::deque<std::function<void(QDialog&)>> formularios_;
    std::deque<std::pair<bool, QString>> archivos_;  // chosen?, path
    std::vector<Caja> cajas_;
    std::vector<QString> promptsEntrada_;
    std::vector<QString> inesperadas_;
    std::vector<Puntero> punteros_;
    Puntero puntero_ = Puntero::Predeterminado;
};
