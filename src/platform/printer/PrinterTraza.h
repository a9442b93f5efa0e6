// The trace: a control that wraps any other and writes down every call made to it. When PAVENKO_TRAZA names a
// file, each method call is appended to it as one JSON line
//   {"op":"TiqueAbrir","args":["G"],"result":true,"estado1":"0600 Impresora lista","estado2":"..."}
// (texts as strings, integers as numbers, the status texts read after the call) and each property write as
//   {"op":"Puerto","value":1,"estado1":"...","estado2":"..."}.
// Property reads are not traced. A call or write that raises has "error": {"number", "description"} in place of
// "result" and the error goes on to the caller. Without PAVENKO_TRAZA the wrapper only passes calls on.
#pragma once

#include <QString>

#include "PrinterFiscal.h"

class PrinterTraza : public PrinterFiscal {
  public:
    explicit PrinterTraza(PrinterFiscal& control, const QString& archivo = ArchivoDelEntorno());

    // The file PAVENKO_TRAZA names, or empty.
    static QString ArchivoDelEntorno();

    bool Invoca(const QString& metodo, const QList<Variant>& argumentos) override;
    QString Lee(const QString& propiedad) override { return control_.Lee(propiedad); }
    void Escribe(const QString& propiedad, const Variant& valor) override;

    PrinterFiscal& Control() { return control_; }

  private:
    void Anota(const QString& op, const QString& cuerpo);

    PrinterFiscal& control_;
    QString archivo_;
};
