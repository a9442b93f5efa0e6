// The maintenance offer is not wired to the settings table yet: it offers nothing.
#include "Mantenimiento.h"

void OfreceMantenimiento() {}

bool TieneServidorTPV() {
    return false;
}
