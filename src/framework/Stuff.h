// Statement lists run as one transaction, the error table AUX_ERR that records the failed ones, and the
// date and time patterns of the rows the framework writes.
#pragma once

#include <QString>
#include <QStringList>

// Sends the non-blank statements as one batch inside a transaction on gDB; commits it when the provider reports
// no error, otherwise rolls it back, records it in AUX_ERR and, with MuestraMensaje, shows the provider's messages.
// A duplicate-key (2627) or foreign-key (547) failure the caller asked for comes back in MensajeError alone.
void GActualizarDatoScript(const QStringList& Sentencias, bool& HuboError, long& NroError, bool InformaDuplicado,
                           bool InformaClaveForanea, QString& TextoEjecutado, QString& MensajeError,
                           bool MuestraMensaje);

// One AUX_ERR row; an empty Proceso is the executable name. Never fails: a lost log row must not stop the caller.
void GrabaAuxErr(const QString& SQL, QString Proceso, long NroError, const QString& Descripcion);

// Patterns of FormateaFecha: day, month, two-digit year, 24-hour hour and minutes; "/" and ":" stand for the
// workstation's separators.
QString FormatoFechaHora();  // "dd/MM/yy HH:mm"
QString FormatoFecha();      // "dd/MM/yy"
QString FormatoHora();       // "HH:mm"
