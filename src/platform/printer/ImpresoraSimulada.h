// The simulated fiscal printer, the program's embedded default control: a fiscal state machine with its memory
// in ImpresoraSimulada.json and its paper roll in ImpresoraSimulada.txt (UTF-8), both in the program folder.
// Status words, reply fields and the reading of amounts are described in ESTADOS.md beside this file.
#pragma once

#include <QMap>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "MemoriaFiscal.h"
#include "PrinterFiscal.h"

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
constexpr quint16 MemoriaLlena = 0x0100;
constexpr quint16 JornadaAbierta = 0x0200;
constexpr quint16 EnServicio = 0x0400;
constexpr quint16 ErrorAlGuardar = 0x0800;
constexpr quint16 DocumentoCancelado = 0x1000;
}  // namespace Bit2

// Each set bit of a status word with its description, lowest bit first.
QStringList DescribeBits1(quint16 palabra);
QStringList DescribeBits2(quint16 palabra);

class ImpresoraSimulada : public QObject, public PrinterFiscal {
    Q_OBJECT
  public:
    // Loads the memory from the program folder; an unreadable file is set aside as
    // ImpresoraSimulada.json.danado-<yyyyMMdd-HHmmss> and the device starts fresh, saying so in Estado2.
    // A device that starts with a non-fiscal document or the slip station open closes it on the paper as cancelled,
    // as a real one does when switched on; a fiscal document stays open until cancelled.
    explicit ImpresoraSimulada(QObject* padre = nullptr);
    ~ImpresoraSimulada() override;

    // The device's power switch: off and on again, closing what the start would close. False when nothing
    // could be saved.
    bool ApagaYEnciende();

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
    QString RutaCerrojo() const;

    // Two programs may drive the device, one command at a time: each command holds the lock on
    // ImpresoraSimulada.lock, reads the memory again, and saves it before letting go. A command that cannot get
    // the device within this time returns false with Estado1 "0001 Sin comunicación: Dispositivo ocupado".
    void FijaEspera(int milisegundos) { esperaMs_ = milisegundos; }
    // Reads the memory again if another program changed it; true, and Cambio emitted, when it did.
    bool Relee();

    // For tests: the next save stops after this many bytes, as a power cut would, and the command fails.
    void CortaProximoGuardado(int bytes) { corte_ = bytes; }

    struct Argumentos;
    // MemoriaLlena: a counter or a total of the memory is at its limit; a fiscal memory never wraps.
    enum class Resultado { Acepta, FueraDeEstado, ArgumentoInvalido, MemoriaLlena };

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
    Resultado CancelaDocumento(MemoriaFiscal& m);
    Resultado CancelaNoFiscal(MemoriaFiscal& m);
    QDateTime HoraImpresora(const MemoriaFiscal& m) const;

    // Reads the memory file when it changed since it was last read or written here; an unreadable one is set
    // aside and the device starts fresh.
    void Carga();
    bool ApagaYEnciendeTomado();
    // The handler on a copy of the memory; accepted, the copy is saved, then printed. Gives the failure bit.
    quint16 Aplica(const std::function<Resultado(MemoriaFiscal&)>& manejador);
    bool Guarda(const MemoriaFiscal& m);
    void QuitaTemporales();
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
    QByteArray leidos_;     // the memory file's bytes as last read or written here
    int cerrojo_ = -1;      // ImpresoraSimulada.lock, open while the device is
    int esperaMs_ = 3000;   // how long a command waits for the device
    bool ocupada_ = false;  // the last command found the device held by another program
};
