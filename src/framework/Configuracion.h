// The system settings table (TA_CONFIGURACION unless gTablaCfg names another): one key read from the company
// database or the statistics database, one key written to the statistics database, and the start-up's load of
// the framework's own keys into the session.
#pragma once

#include <QString>

#include "Variant.h"

// The value of Clave, " " when the table does not hold it; ValorAux receives the auxiliary value. A failure goes
// to the error dialog (routine "Cfg"): ignore skips the failing step, anything else returns "".
QString Cfg(const QString& Clave, QString* ValorAux = nullptr);
// The same on the statistics database (routine "CfgTK").
QString CfgTK(const QString& Clave, QString* ValorAux = nullptr);

// Inserts or updates one key of the statistics database; the key is stored trimmed and in upper case. A failing
// step is skipped.
void GrabaCfgTK(const QString& Clave, const Variant& Valor, const QString& ValorAux, bool PoliticaNegocio,
                const QString& Grupo, bool RecortaValor);

// Reads the framework's settings into the session; a failing step is skipped.
void CargaConfiguracion(const QString& Carpeta);
