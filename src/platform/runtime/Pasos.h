// The failure rules of the system's sequences, said once: each step runs through run(); when a step raises a
// run-time error, the sequence's treatment decides what follows.
//   Reintentar (4)  the step runs again;
//   Ignorar (5)     the step is skipped and the next one runs;
//   anything else   the sequence stops: every later run() passes its step over.
#pragma once

#include <functional>
#include <optional>

#include "ErrorEjecucion.h"

constexpr int Reintentar = 4;
constexpr int Ignorar = 5;

class Pasos {
  public:
    using Tratamiento = std::function<int(const ErrorEjecucion&)>;

    explicit Pasos(Tratamiento tratamiento) : tratamiento_(std::move(tratamiento)) {}

    // "A failing step is skipped and the next one runs."
    static Pasos OmiteFallos() {
        return Pasos([](const ErrorEjecucion&) { return Ignorar; });
    }
    // "A step failing with an invalid argument is skipped; any other failure ends the sequence."
    static Pasos OmiteArgumentoInvalido() {
        return Pasos([](const ErrorEjecucion& e) { return e.Number() == Err::ArgumentoInvalido ? Ignorar : 0; });
    }

    // Runs one step under the treatment; returns false once the sequence has stopped.
    bool run(const std::function<void()>& paso);

    bool Detenido() const { return detenido_; }
    // The error that stopped the sequence, or the last one treated.
    const std::optional<ErrorEjecucion>& UltimoError() const { return ultimo_; }
    // Stops the sequence from inside a step or a treatment (a step that decides to return early).
    void Detiene() { detenido_ = true; }

  private:
    Tratamiento tratamiento_;
    bool detenido_ = false;
    std::optional<ErrorEjecucion> ultimo_;
};
