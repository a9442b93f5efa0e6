// The ui layer's entry point.
#include "Ui.h"

#include <cmath>

#include "UiQt.h"

namespace {
Ui* gInstalada = nullptr;
}

int Ui::Twips(int twips) const {
    return static_cast<int>(std::lround(twips * PuntosPorPulgada() / 1440.0));
}

Ui& ui() {
    static UiQt qt;
    return gInstalada ? *gInstalada : qt;
}

void InstalaUi(Ui* implementacion) {
    gInstalada = implementacion;
}
