// The simulated printer's command table: each command's name, the states it fits, its argument checks and its
// handler, and the checks themselves.
#include "ImpresoraSimuladaInterna.h"

namespace simulada {
QDate FechaAAMMDD(const QString& t) {
    const int aa = t.left(2).toInt();
    return QDate(aa < 70 ? 2000 + aa : 1900 + aa, t.mid(2, 2).toInt(), t.mid(4, 2).toInt());
}

QTime HoraHHMMSS(const QString& t) {
    return QTime(t.left(2).toInt(), t.mid(2, 2).toInt(), t.mid(4, 2).toInt());
}

bool SonDigitos(const QString& t) {
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The standard CUIT and CUIL check: weights 5 4 3 2 7 6 5 4 3 2 on the first ten digits, modulo 11.
bool CuitValido(const QString& cuit) {
    if (cuit.size() != 11) return false;
    static const int pesos[] = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int suma = 0;
    for (int i = 0; i < 10; ++i) suma += (cuit[i].unicode() - '0') * pesos[i];
    int verificador = 11 - suma % 11;
    if (verificador == 11) verificador = 0;
    if (verificador == 10) return false;
    return cuit[10].unicode() - '0' == verificador;
}

bool TextoImprimible(const QString& t) {
    for (QChar c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return true;
}

bool Cumple(const Chequeo& ch, const Variant& v, const QString& t) {
    switch (ch.tipo) {
        case Chequeo::Texto:
            return (ch.vacio || !t.isEmpty()) && t.size() <= ch.maximo && TextoImprimible(t);
        case Chequeo::TextoOBorrado:
            return t == kBorrado || (!t.isEmpty() && t.size() <= ch.maximo && TextoImprimible(t));
        case Chequeo::Digitos:
            return SonDigitos(t) && t.size() <= ch.maximo;
        case Chequeo::Codigos:
            return QString::fromLatin1(ch.codigos).split(QLatin1Char('|')).contains(t);
        case Chequeo::Entero:
        case Chequeo::NumeroLinea: {
            const bool entero = v.Tipo() == TipoVariant::Integer || v.Tipo() == TipoVariant::Long;
            if (!entero && !SonDigitos(t)) return false;
            const int n = entero ? v.ALargo() : (t.size() > 5 ? 99999 : t.toInt());
            return ch.tipo == Chequeo::NumeroLinea ? n >= 1 && n <= 65 : n >= ch.minimo && n <= ch.maximo;
        }
        case Chequeo::Fecha:
            return t.size() == 6 && SonDigitos(t) && FechaAAMMDD(t).isValid();
        case Chequeo::Hora:
            return t.size() == 6 && SonDigitos(t) && HoraHHMMSS(t).isValid();
    }
    return false;
}
}  // namespace simulada

using namespace simulada;

namespace {
const Chequeo F{Chequeo::Fecha}, H{Chequeo::Hora}, L{Chequeo::NumeroLinea};
}  // namespace

const QList<ImpresoraSimulada::Comando>& ImpresoraSimulada::Comandos() {
    using S = ImpresoraSimulada;
    const Chequeo cantidad = D(8), precio = D(9), tasa = D(4), impresion = C("P|N");
    static const QList<Comando> tabla{
        {"RealizarCierre", kLibre, 1, {C("X|Z"), impresion}, &S::RealizarCierre_},
        {"HeaderTrailer", kLibre, 2, {C("S|G"), L, TB(40)}, &S::HeaderTrailer_},
        {"HoraFecha", kLibre, 3, {C("S"), F, H}, &S::HoraFecha_},
        {"VerEstado", kTodos, 0, {}, &S::VerEstado_},
        {"Cajon", kTodos, 1, {C("1|2")}, &S::Cajon_},
        {"DNFAbrir", kLibre, 0, {}, &S::DNFAbrir_},
        {"FormatoHoja", kLibre | En(EstadoFiscal::SlipPreparado), 2, {E(1, 255), E(1, 255)}, &S::FormatoHoja_},
        {"SetZona", kLibre, 5, {E(1, 199), E(1, 255), E(1, 255), E(1, 255), E(1, 255)}, &S::SetZona_},
        {"SiguienteHoja", En(EstadoFiscal::FinDeHoja), 0, {}, &S::SiguienteHoja_},
        {"FinHoja", En(EstadoFiscal::Factura), 0, {}, &S::FinHoja_},
        {"SeteaDiseno", kLibre, 6, {C("P"), C("D|P|C"), T(4), T(4), T(4), T(4), T(4)}, &S::SeteaDiseno_},
        {"SlipPreparar", kLibre, 0, {}, &S::SlipPreparar_},
        {"SlipHojaColocada", En(EstadoFiscal::SlipPreparado), 0, {}, &S::SlipHojaColocada_},
        {"DNFTexto", kDNF, 1, {T(136, true)}, &S::DNFTexto_},
        {"DNFCerrar", kDNF, 0, {}, &S::DNFCerrar_},
        {"TiqueAbrir", kLibre, 1, {C("G|C")}, &S::TiqueAbrir_},
        {"TiqueItem", En(EstadoFiscal::Tique), 7, {T(30), cantidad, precio, tasa, C("M|m"), D(8), precio}, &S::Item_},
        {"TiqueSubtotal", En(EstadoFiscal::Tique), 2, {impresion, T(30, true)}, &S::Subtotal_},
        {"TiquePago", En(EstadoFiscal::Tique), 3, {T(30, true), precio, C("T|D|C")}, &S::Pago_},
        {"TiqueCerrar", En(EstadoFiscal::Tique), 0, {}, &S::TiqueCerrar_},
        {"FacturaAbrir",
         kLibre,
         19,
         {C("T|F"), C("C|S"), C("A|B|C"), D(1), C("P|F"), C("10|12|17"), C("I|N|E|M"), C("I|N|E|M|F|A"), T(40),
          T(40, true), C("CUIT|CUIL|DNI|LE|LC|PAS|CI"), D(11), C("S|N"), T(40, true), T(40, true), T(40, true),
          T(20, true), T(20, true), C("G|C")},
         &S::FacturaAbrir_},
        {"FacturaItem",
         En(EstadoFiscal::Factura),
         12,
         {T(30), cantidad, precio, tasa, C("M|m"), D(8), precio, T(30, true), T(30, true), T(30, true), tasa, D(9)},
         &S::Item_},
        {"FacturaSubtotal", En(EstadoFiscal::Factura), 2, {impresion, T(30, true)}, &S::Subtotal_},
        {"FacturaPago", kFactura, 3, {T(30, true), precio, C("T|D|C")}, &S::Pago_},
        {"FacturaCerrar", En(EstadoFiscal::Factura), 3, {C("T|F"), C("A|B|C"), T(40, true)}, &S::FacturaCerrar_},
        {"DNFHTC",
         kLibre,
         21,
         {T(20), D(20), T(30), F,    D(8), D(8), D(8), D(8),      T(20),     precio,   D(2),
          T(10), D(8),  D(8),  D(8), D(8), D(8), D(8), impresion, impresion, impresion},
         &S::DNFHTC_},
        {"DNFHOS",
         kLibre,
         18,
         {T(20), T(30, true), T(30, true), T(30, true), D(20), T(30), F, T(40, true), T(40, true), T(30, true), D(8),
          T(30, true), T(30, true), impresion, impresion, impresion, impresion, impresion},
         &S::DNFHOS_},
        {"DNFSlipAbrir", En(EstadoFiscal::SlipColocado), 0, {}, &S::DNFSlipAbrir_},
    };
    return tabla;
}
