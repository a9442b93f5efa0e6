// The common rule of the printer's sequences, said once: a call is made only while every call before it returned
// true, and the outcome is the first false result or else the last result. A message box waits for the same
// condition and leaves the outcome as it is.
#pragma once

#include <functional>

class Secuencia {
  public:
    // A printer call: made only while the sequence stands.
    Secuencia& Llama(const std::function<bool()>& llamada) {
        if (resultado_) resultado_ = llamada();
        return *this;
    }
    // A message box (or any step that is not a printer call): shown only while the sequence stands.
    Secuencia& Muestra(const std::function<void()>& caja) {
        if (resultado_) caja();
        return *this;
    }
    bool Resultado() const { return resultado_; }

  private:
    bool resultado_ = true;
};
