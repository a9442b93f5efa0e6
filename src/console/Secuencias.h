// What each button of the Command1 array does on the printer: the status query, the sample fiscal documents, the
// non-fiscal and configuration documents and the invoice layout. Each sequence yields one outcome.
#pragma once

#include "PrinterFiscal.h"

// Runs the sequence of the button with this index and returns its outcome; an index without a sequence gives
// false. An error raised by the control is not caught here.
bool EjecutaSecuencia(int Index, PrinterFiscal& PrinterFiscal1);
