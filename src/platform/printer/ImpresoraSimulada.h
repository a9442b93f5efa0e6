// The simulated fiscal printer, the program's embedded default control: a fiscal state machine with its memory
// in ImpresoraSimulada.json and its paper roll in ImpresoraSimulada.txt (UTF-8), both in the program folder.
// Status words, reply fields and the reading of amounts are described in ESTADOS.md beside this file.
#pragma once

#include <QMap>
#include <QObject>
#include <QStringList>
#include <optional>

#include "PrinterFiscal.h"

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

// Bits of the two status words.
namespace Bit1 {
constexpr quint16 SinComunicacion = 0x0001;
constexpr quint16 EsperaHojaSlip = 0x0004;
constexpr quint16 HojaEnSlip = 0x0008;
constexpr quint16 EsperaHojaSiguiente = 0x0010;
constexpr quint16 PapelPresente = 0x0200;
constexpr quint16 EnLinea = 0x0400;
}  // namespace Bit1
namespace Bit2 {
constexpr quint16 FueraDeEstado = 0x0001;
constexpr quint16 ArgumentoInvalido = 0x0002;
constexpr quint16 MemoriaReiniciada = 0x0004;
constexpr quint16 ComandoDesconocido = 0x0008;
constexpr quint16 TiqueAbierto = 0x0010;
constexpr quint16 FacturaAbierta = 0x0020;
constexpr quint16 DNFAbierto = 0x0040;
constexpr quint16 DNFSlipAbierto = 0x0080;
constexpr quint16 JornadaAbierta = 0x0200;
constexpr quint16 EnServicio = 0x0400;
constexpr quint16 ErrorAlGuardar = 0x0800;
constexpr quint16 DocumentoCancelado = 0x1000;
}  // namespace Bit2

// Each set bit of a status word with its description, lowest bit first.
QStringList DescribeBits1(quint16 palabra);
QStringList DescribeBits2(quint16 palabra);

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
        qint64 Iva() const;
    };
    struct Totales {
        int tiques = 0, tiquesFactura = 0, facturas = 0, cancelados = 0, dnf = 0, dnfh = 0;
        qint64 ventas = 0, iva = 0, descuentos = 0;
        int Fiscales() const { return tiques + tiquesFactura + facturas; }
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

class ImpresoraSimulada : public QObject, public PrinterFiscal {
    Q_OBJECT
  public:
    // Loads the memory from the program folder; an unreadable file is set aside as
    // ImpresoraSimulada.json.danado-<yyyyMMdd-HHmmss> and the device starts fresh, saying so in Estado2.
    explicit ImpresoraSimulada(QObject* padre = nullptr);

    bool Invoca(const QString& metodo, const QList<Variant>& argumentos) override;
    QString Lee(const QString& propiedad) override;
    // Puerto outside 1 to 4 or a Baud that is not a standard serial speed raises invalid argument (5).
    void Escribe(const QString& propiedad, const Variant& valor) override;

    quint16 Palabra1() const;
    quint16 Palabra2() const;
    bool Conectada() const;
    bool MuestraVentana() const { return memoria_.ventana; }
    const MemoriaFiscal& Memoria() const { return memoria_; }

    QString RutaMemoria() const;
    QString RutaPapel() const;

    // For tests: the next save stops after this many bytes, as a power cut would, and the command fails.
    void CortaProximoGuardado(int bytes) { corte_ = bytes; }

    struct Argumentos;
    enum class Resultado { Acepta, FueraDeEstado, ArgumentoInvalido };

  signals:
    // Text just appended to the paper roll.
    void Imprimio(const QString& texto);
    // After every command and property write: the status words may have changed.
    void Cambio();

  private:
    struct Comando;
    static const QList<Comando>& Comandos();

    Resultado RealizarCierre_(MemoriaFiscal& m, const Argumentos& a);
    Resultado HeaderTrailer_(MemoriaFiscal& m, const Argumentos& a);
    Resultado HoraFecha_(MemoriaFiscal& m, const Argumentos& a);
    Resultado VerEstado_(MemoriaFiscal& m, const Argumentos& a);
    Resultado Cajon_(MemoriaFiscal& m, const Argumentos& a);
    Resultado DNFAbrir_(MemoriaFiscal& m, const Argumentos& a);
    Resultado FormatoHoja_(MemoriaFiscal& m, const Argumentos& a);
    Resultado SetZona_(MemoriaFiscal& m, const Argumentos& a);
    Resultado SiguienteHoja_(MemoriaFiscal& m, const Argumentos& a);
    Resultado FinHoja_(MemoriaFiscal& m, const Argumentos& a);
    Resultado SeteaDiseno_(MemoriaFiscal& m, const Argumentos& a);
    Resultado SlipPreparar_(MemoriaFiscal& m, const Argumentos& a);
    Resultado SlipHojaColocada_(MemoriaFiscal& m, const Argumentos& a);
    Resultado DNFTexto_(MemoriaFiscal& m, const Argumentos& a);
    Resultado DNFCerrar_(MemoriaFiscal& m, const Argumentos& a);
    Resultado TiqueAbrir_(MemoriaFiscal& m, const Argumentos& a);
    Resultado Item_(MemoriaFiscal& m, const Argumentos& a);
    Resultado Subtotal_(MemoriaFiscal& m, const Argumentos& a);
    Resultado Pago_(MemoriaFiscal& m, const Argumentos& a);
    Resultado TiqueCerrar_(MemoriaFiscal& m, const Argumentos& a);
    Resultado FacturaAbrir_(MemoriaFiscal& m, const Argumentos& a);
    Resultado FacturaCerrar_(MemoriaFiscal& m, const Argumentos& a);
    Resultado DNFHTC_(MemoriaFiscal& m, const Argumentos& a);
    Resultado DNFHOS_(MemoriaFiscal& m, const Argumentos& a);
    Resultado DNFSlipAbrir_(MemoriaFiscal& m, const Argumentos& a);

    // Helpers of the handlers: the paper of the command being run, and its pieces.
    void Imprime(const QString& linea) { papel_ << linea; }
    void ImprimeImporte(const QString& concepto, qint64 centavos);
    void ImprimeEncabezado(const MemoriaFiscal& m, const QString& titulo);
    void ImprimeCierreDocumento(const MemoriaFiscal& m);
    void CancelaDocumento(MemoriaFiscal& m);
    QDateTime HoraImpresora(const MemoriaFiscal& m) const;

    void Carga();
    bool Guarda(const MemoriaFiscal& m);
    void AgregaAlPapel(const QString& texto);

    MemoriaFiscal memoria_;
    std::optional<int> puertoEscrito_;
    std::optional<int> baudEscrito_;
    QString respuestas_[8];
    quint16 fallo_ = 0;  // the failure bits of the last command
    quint16 aviso_ = 0;  // a notice of the last accepted command (a document cancelled)
    bool reiniciada_ = false;
    bool nuevoDia_ = false;  // the command being run is a Z close
    QString apartado_;       // the name a damaged memory file was set aside under
    QStringList papel_;
    std::optional<int> corte_;
};
