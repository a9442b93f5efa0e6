// The start-up of the program: from the parameter text to a connected, configured and admitted session.
#pragma once

#include <QString>

// Reads the parameters, connects gDB (the program ends when no connection results), opens the statistics
// database, prepares the lookup controller and its catalogue, loads the settings and checks the operator's access.
// A step failing with an invalid argument is skipped; any other failure is shown to the operator and the start-up
// goes straight to the access check, which no failure skips.
void IniciaSistema(bool UsaIni, const QString& Parametros, QString& ConnString, long lCursor);

// Opens gDBEstadisticas on gDB's server and takes the command time-out from its settings; a failing step is
// skipped and the time-out stays 360 seconds.
void AbreEstadisticas();
