// The Command1 sequences, one function each, every constant argument written where it is sent. The common rule
// (a call only after a true result; the first false ends it) is Secuencia's.
#include "Secuencias.h"

#include <map>

#include "Proceso.h"
#include "Secuencia.h"
#include "SetZonas.h"
#include "Ui.h"

namespace {
// The opening of the three sample invoices: only the document kind and the last argument differ.
bool FacturaAbrirMuestra(PrinterFiscal& p, const QString& tipo, const QString& ultimo) {
    return p.FacturaAbrir(tipo, "C", "A", "1", "P", "12", "I", "I", "PEPE", "LE BOU", "CUIT", "30614104712", "N", "LA",
                          "PAMPA", "98", "REM 1", "REM 2", ultimo);
}
// An invoice item in its long form (with the three extra description lines) and in its short form.
bool FacturaItemLargo(PrinterFiscal& p, const QString& descripcion, const QString& tercero) {
    return p.FacturaItem(descripcion, "1000", tercero, "2100", "M", "0", "0", "EXTRA", "EXTRA", "EXTRA", "1050", "0");
}
bool FacturaItemCorto(PrinterFiscal& p, const QString& descripcion, const QString& tercero) {
    return p.FacturaItem(descripcion, "1000", tercero, "2100", "M", "0", "0", "", "", "", "1050", "0");
}

// 0 "TIQUE"
bool Tique(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return p.TiqueAbrir("G"); })
        .Llama([&] { return p.TiqueItem("ARTICULO 1", "1000", "100", "2100", "M", "0", "0"); })
        .Llama([&] { return p.TiqueSubtotal("P", "LINDO SUB"); })
        .Llama([&] { return p.TiquePago("PAGO1", "200", "T"); })
        .Llama([&] { return p.TiqueCerrar(); })
        .Resultado();
}

// 1 "TIQUE FACTURA "A""
bool TiqueFactura(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return FacturaAbrirMuestra(p, "T", "G"); })
        .Llama([&] { return FacturaItemLargo(p, "ARTICULO 1", "100"); })
        .Llama([&] { return p.FacturaSubtotal("P", "LINDO SUB"); })
        .Llama([&] { return p.FacturaPago("PAGO1", "200", "T"); })
        .Llama([&] { return p.FacturaCerrar("T", "A", "HOLA"); })
        .Resultado();
}

// 9 "FACTURA "A"": a discount line and two payments.
bool Factura(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return FacturaAbrirMuestra(p, "F", "C"); })
        .Llama([&] { return FacturaItemCorto(p, "ARTICULO 1", "100"); })
        .Llama([&] { return p.FacturaPago("DESCUENTO", "20", "D"); })
        .Llama([&] { return p.FacturaPago("Efectivo", "100", "T"); })
        .Llama([&] { return p.FacturaPago("Cheque", "100", "T"); })
        .Llama([&] { return p.FacturaCerrar("F", "A", "Gracias por su compra"); })
        .Resultado();
}

// 12 "FACTURA "A" con Transporte": the invoice runs onto a second sheet, which the operator places.
bool FacturaConTransporte(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return FacturaAbrirMuestra(p, "F", "C"); })
        .Llama([&] { return FacturaItemLargo(p, "ARTICULO 1", "100"); })
        .Llama([&] { return FacturaItemCorto(p, "ARTICULO 2", "1200"); })
        .Llama([&] { return p.FinHoja(); })
        .Muestra([] { ui().MsgBox(QStringLiteral("Coloque la siguiente hoja")); })
        .Llama([&] { return p.SiguienteHoja(); })
        .Llama([&] { return FacturaItemCorto(p, "ARTICULO 3", "1000"); })
        .Llama([&] { return p.FacturaPago("PAGO1", "3000", "T"); })
        .Llama([&] { return p.FacturaCerrar("F", "A", "HOLA"); })
        .Resultado();
}

// 2 "DNF"
bool Dnf(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return p.DNFAbrir(); })
        .Llama([&] { return p.DNFTexto(QStringLiteral("\u00E112345678\u00E0")); })
        .Llama([&] { return p.DNFCerrar(); })
        .Resultado();
}

// 3 "DNFH TC y OS": a card voucher and a health-insurance document.
bool DnfhTcOs(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] {
            return p.DNFHTC("VISA", "12", "PEPE", "991231", "23", "46", "57", "89", "CONTA", "100", "2", "PESOS", "2",
                            "4", "5", "7", "8", "44", "P", "P", "P");
        })
        .Llama([&] {
            return p.DNFHOS("MEDICUS", "CO 1", "CO 2", "CO 3", "123", "PEP", "991030", "ADRESS", "ADDRESS 2", "NADA",
                            "12", "EXTRA 1", "EXTRA 2", "P", "P", "P", "P", "P");
        })
        .Resultado();
}

// 4 "HORA Y FECHA": the workstation's moment of the press, the date read before the time.
bool HoraYFecha(PrinterFiscal& p) {
    const QString fecha = proceso().Ahora().toString(QStringLiteral("yyMMdd"));
    const QString hora = proceso().Ahora().toString(QStringLiteral("HHmmss"));
    return p.HoraFecha("S", fecha, hora);
}

// 5 "CAJON": both drawers.
bool Cajones(PrinterFiscal& p) {
    return Secuencia().Llama([&] { return p.Cajon("1"); }).Llama([&] { return p.Cajon("2"); }).Resultado();
}

// 6 "HEADERS / TRAILERS": a header line set and read back.
bool HeadersTrailers(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return p.HeaderTrailer("S", "1", QStringLiteral("PRUEBA HEADER")); })
        .Llama([&] { return p.HeaderTrailer("G", "1"); })
        .Muestra([&] { ui().MsgBox(QStringLiteral("El header obtenido es : ") + p.CampoRespuesta7()); })
        .Resultado();
}

// 7 "VER ESTADO DE LA IMPRESORA"
bool VerEstado(PrinterFiscal& p) {
    return p.VerEstado();
}

// 8 "DNF por SLIP": a non-fiscal document on the slip station, the operator placing the sheet.
bool DnfPorSlip(PrinterFiscal& p) {
    return Secuencia()
        .Llama([&] { return p.SlipPreparar(); })
        .Llama([&] { return p.FormatoHoja(50, 88); })
        .Muestra([] {
            ui().MsgBox(QStringLiteral("Inserte una hoja en la entrada de Slip"), Estilo::Information,
                        QStringLiteral("ATENCION"));
        })
        .Llama([&] { return p.SlipHojaColocada(); })
        .Muestra([] {
            ui().MsgBox(QStringLiteral("Se imprimirá un documento no fiscal por slip"), Estilo::Information,
                        QStringLiteral("ATENCION"));
        })
        .Llama([&] { return p.DNFSlipAbrir(); })
        .Llama([&] { return p.DNFTexto(QStringLiteral("       E J E M P L O")); })
        .Llama([&] { return p.DNFTexto(QStringLiteral("S L I P   N O   F I S C A L")); })
        .Llama([&] { return p.DNFTexto(QStringLiteral(" P O R   O C X F I S C A L")); })
        .Llama([&] { return p.DNFCerrar(); })
        .Resultado();
}

// Button index to its sequence. There is no index 10.
const std::map<int, bool (*)(PrinterFiscal&)> kSecuencias = {
    {0, Tique},     {1, TiqueFactura},          {2, Dnf},       {3, DnfhTcOs},   {4, HoraYFecha},
    {5, Cajones},   {6, HeadersTrailers},       {7, VerEstado}, {8, DnfPorSlip}, {9, Factura},
    {11, SetZonas}, {12, FacturaConTransporte},
};
}  // namespace

bool EjecutaSecuencia(int Index, PrinterFiscal& PrinterFiscal1) {
    const auto s = kSecuencias.find(Index);
    return s != kSecuencias.end() && s->second(PrinterFiscal1);
}
