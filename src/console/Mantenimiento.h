// After an X or a Z close: the offer of a database maintenance run, started as a separate program, and the
// check of whether this installation has a point-of-sale server at all.
#pragma once

// Asks the operator and starts the maintenance program when the settings call for it.
void OfreceMantenimiento();
// True when the setting "TPV_SERVER" holds a value (or cannot be read).
bool TieneServidorTPV();
