// After an X or a Z close: the offer of a database maintenance run, started as a separate program. Whether the
// installation has a point-of-sale server at all is the main window's check, handed in.
#pragma once

#include <functional>

// Asks the operator and starts the maintenance program when the settings call for it. A program that cannot be
// started is reported with its name and the folder it was looked for in.
void OfreceMantenimiento(const std::function<bool()>& TieneServidorTPV);
