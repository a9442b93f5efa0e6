// The step helper.
#include "Pasos.h"

bool Pasos::run(const std::function<void()>& paso) {
    while (!detenido_) {
        try {
            paso();
            return !detenido_;
        } catch (const ErrorEjecucion& e) {
            ultimo_ = e;
            int respuesta = tratamiento_(e);
            if (respuesta == Reintentar) continue;
            if (respuesta == Ignorar) return true;
            detenido_ = true;
        }
    }
    return false;
}
