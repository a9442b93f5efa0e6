// The simulated printer's fiscal memory: the controller's state, the open document, the numbers and the day's
// totals, the lines and the invoice layout, as saved in ImpresoraSimulada.json.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// The states of the fiscal controller. A command is accepted only in the states its row of the command table
// names.
enum class EstadoFiscal {
    Libre,          // no document open
    Tique,          // fiscal ticket open
    Factura,        // ticket-invoice ("T") or invoice on sheets ("F") open
    FinDeHoja,      // invoice open, its sheet ended: waiting for the next sheet
    DNF,            // non-fiscal document open on paper
    SlipPreparado,  // slip station prepared, waiting for a sheet
    SlipColocado,   // sheet placed in the slip station
    DNFSlip,        // non-fiscal document open on the slip station
};

// The whole fiscal memory, as saved in ImpresoraSimulada.json. Amounts are in cents, quantities in thousandths,
// rates in hundredths of a percent.
struct MemoriaFiscal {
    struct Documento {
        QString clase;      // "tique", or the FacturaAbrir kind: "T" ticket-invoice, "F" invoice on sheets
        QString letra;      // "A", "B" or "C"; empty for a ticket
        QString comprador;  // the buyer's VAT condition (FacturaAbrir 8)
        int numero = 0;
        int items = 0;
        int hoja = 1;
        qint64 importe = 0;  // what the items add up to, VAT included
        qint64 descuentos = 0;
        qint64 pagado = 0;
        QMap<int, qint64> ivaPorTasa;
        bool pagando = false;  // a payment was made: no more items, subtotals or discounts
        qint64 Total() const { return importe - descuentos; }
        qint64 Iva() const;  // the VAT by rate added up; IvaCabe() says it fits
        bool IvaCabe() const;
    };
    struct Totales {
        int tiques = 0, tiquesFactura = 0, facturas = 0, cancelados = 0, dnf = 0, dnfh = 0;
        qint64 ventas = 0, iva = 0, descuentos = 0;
        qint64 Fiscales() const { return qint64(tiques) + tiquesFactura + facturas; }
    };
    struct Zona {
        int a = 0, b = 0, c = 0, d = 0;
    };

    // The device itself: where it is attached, and whether its window shows.
    int puerto = 1;
    int baud = 9600;
    bool ventana = true;

    EstadoFiscal estado = EstadoFiscal::Libre;
    Documento documento;
    QMap<QString, int> numeros;  // last numbers: "tique", "A", "B", "C", "dnf", "dnfh", "x", "z"
    Totales diarios;
    QMap<int, QString> lineas;           // header, trailer and invoice lines 1 to 65
    int columnas = 90, lineasHoja = 72;  // the invoice sheet format
    QMap<QString, QStringList> diseno;   // design options by group letter
    QMap<int, Zona> zonas;
    int columnasSlip = 50, lineasSlip = 88;
    qint64 desfaseReloj = 0;  // seconds the printer's clock runs ahead of the workstation's

    QByteArray AJson() const;
    // Reads a saved memory; nullopt when the bytes are not one.
    static std::optional<MemoriaFiscal> DesdeJson(const QByteArray& bytes);
};
