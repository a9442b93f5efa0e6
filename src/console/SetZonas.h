// Loads the fixed invoice design into the printer: sheet format, design options, forty print zones and the
// header and trailer lines of the invoice.
#pragma once

#include "PrinterFiscal.h"

// Makes the 68 calls in order while each returns true; the first false result ends it and is returned.
bool SetZonas(PrinterFiscal& PrinterFiscal1);
