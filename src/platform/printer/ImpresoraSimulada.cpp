// The simulated fiscal printer: the command table (name, states, argument checks, handler), the handlers that
// print on the paper roll and change the fiscal memory, the status words and the atomic save of the memory.
#include "ImpresoraSimulada.h"

#include <algorithm>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "ErrorEjecucion.h"
#include "Proceso.h"

// ---------------------------------------------------------------------------------------------------------------
// Status words.

namespace {
struct DescripcionBit {
    quint16 bit;
    const char* texto;
};
const DescripcionBit kBits1[] = {
    {Bit1::SinComunicacion, "Sin comunicación con la impresora"},
    {Bit1::EsperaHojaSlip, "Esperando una hoja en el slip"},
    {Bit1::HojaEnSlip, "Hoja colocada en el slip"},
    {Bit1::EsperaHojaSiguiente, "Esperando la hoja siguiente"},
    {Bit1::PapelPresente, "Papel presente"},
    {Bit1::EnLinea, "Impresora en línea"},
};
const DescripcionBit kBits2[] = {
    {Bit2::FueraDeEstado, "Comando no válido en el estado actual"},
    {Bit2::ArgumentoInvalido, "Campo de datos inválido"},
    {Bit2::MemoriaReiniciada, "Memoria fiscal reiniciada: el archivo dañado se apartó"},
    {Bit2::ComandoDesconocido, "Comando desconocido"},
    {Bit2::TiqueAbierto, "Tique abierto"},
    {Bit2::FacturaAbierta, "Factura abierta"},
    {Bit2::DNFAbierto, "Documento no fiscal abierto"},
    {Bit2::DNFSlipAbierto, "Documento no fiscal en slip abierto"},
    {Bit2::JornadaAbierta, "Jornada fiscal abierta"},
    {Bit2::EnServicio, "Controlador fiscal en servicio"},
    {Bit2::ErrorAlGuardar, "Error al guardar la memoria fiscal"},
    {Bit2::DocumentoCancelado, "Documento cancelado"},
};

template <size_t N>
QStringList Describe(const DescripcionBit (&tabla)[N], quint16 palabra) {
    QStringList r;
    for (const auto& b : tabla)
        if (palabra & b.bit) r << QString::fromUtf8(b.texto);
    return r;
}

// "0600 Impresora lista": the word in hex and the conditions beyond the base bits, or the base text.
QString TextoEstado(quint16 palabra, quint16 base, const DescripcionBit* tabla, size_t n, const char* listo) {
    QStringList partes;
    for (size_t i = 0; i < n; ++i)
        if ((palabra & tabla[i].bit) && !(base & tabla[i].bit)) partes << QString::fromUtf8(tabla[i].texto);
    QString texto = partes.isEmpty() ? QString::fromUtf8(listo) : partes.join(QStringLiteral(", "));
    return QStringLiteral("%1").arg(palabra, 4, 16, QLatin1Char('0')).toUpper() + QLatin1Char(' ') + texto;
}

const int kBaudios[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};
constexpr int kAncho = 40;  // characters of a line of the paper roll
}  // namespace

QStringList DescribeBits1(quint16 palabra) {
    return Describe(kBits1, palabra);
}

QStringList DescribeBits2(quint16 palabra) {
    return Describe(kBits2, palabra);
}

// ---------------------------------------------------------------------------------------------------------------
// Amounts and the paper's lines.

namespace {
// Cents as the paper shows them: "1,21", "-0,20".
QString Importe(qint64 centavos) {
    const QString signo = centavos < 0 ? QStringLiteral("-") : QString();
    const qint64 v = centavos < 0 ? -centavos : centavos;
    return signo + QString::number(v / 100) + QLatin1Char(',') +
           QStringLiteral("%1").arg(v % 100, 2, 10, QLatin1Char('0'));
}

QString Cantidad(qint64 milesimas) {
    return QString::number(milesimas / 1000) + QLatin1Char(',') +
           QStringLiteral("%1").arg(milesimas % 1000, 3, 10, QLatin1Char('0'));
}

QString Tasa(int centesimas) {
    return Importe(centesimas) + QLatin1Char('%');
}

// A text on the left and another on the right of one line.
QString Renglon(const QString& izquierda, const QString& derecha) {
    const int lugar = std::max(1, kAncho - static_cast<int>(derecha.size()) - 1);
    return izquierda.left(lugar).leftJustified(lugar) + QLatin1Char(' ') + derecha;
}

QString Centrado(const QString& texto) {
    const int margen = std::max(0, (kAncho - static_cast<int>(texto.size())) / 2);
    return QString(margen, QLatin1Char(' ')) + texto;
}

QString Raya(QChar c = QLatin1Char('-')) {
    return QString(kAncho, c);
}

// a × b / divisor, rounded half away from zero.
qint64 Redondea(qint64 a, qint64 b, qint64 divisor) {
    const qint64 p = a * b;
    return (p >= 0 ? p + divisor / 2 : p - divisor / 2) / divisor;
}

QString NumeroDocumento(int numero) {
    return QStringLiteral("0001-%1").arg(numero, 8, 10, QLatin1Char('0'));
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

QString CuitConGuiones(const QString& cuit) {
    return cuit.left(2) + QLatin1Char('-') + cuit.mid(2, 8) + QLatin1Char('-') + cuit.right(1);
}

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

const QString kBorrado = QString(QChar(0x7F));

const char* NombreEstado(EstadoFiscal e) {
    switch (e) {
        case EstadoFiscal::Libre:
            return "Libre";
        case EstadoFiscal::Tique:
            return "Tique";
        case EstadoFiscal::Factura:
            return "Factura";
        case EstadoFiscal::FinDeHoja:
            return "FinDeHoja";
        case EstadoFiscal::DNF:
            return "DNF";
        case EstadoFiscal::SlipPreparado:
            return "SlipPreparado";
        case EstadoFiscal::SlipColocado:
            return "SlipColocado";
        case EstadoFiscal::DNFSlip:
            return "DNFSlip";
    }
    return "Libre";
}
}  // namespace

qint64 MemoriaFiscal::Documento::Iva() const {
    qint64 total = 0;
    for (qint64 v : ivaPorTasa) total += v;
    return total;
}

// ---------------------------------------------------------------------------------------------------------------
// The memory as JSON.

QByteArray MemoriaFiscal::AJson() const {
    QJsonObject doc{
        {"clase", documento.clase},
        {"letra", documento.letra},
        {"comprador", documento.comprador},
        {"numero", documento.numero},
        {"items", documento.items},
        {"hoja", documento.hoja},
        {"importe", double(documento.importe)},
        {"descuentos", double(documento.descuentos)},
        {"pagado", double(documento.pagado)},
        {"pagando", documento.pagando},
    };
    QJsonObject iva;
    for (auto it = documento.ivaPorTasa.begin(); it != documento.ivaPorTasa.end(); ++it)
        iva[QString::number(it.key())] = double(it.value());
    doc["ivaPorTasa"] = iva;

    QJsonObject nums;
    for (auto it = numeros.begin(); it != numeros.end(); ++it) nums[it.key()] = it.value();
    const QJsonObject tot{
        {"tiques", diarios.tiques},
        {"tiquesFactura", diarios.tiquesFactura},
        {"facturas", diarios.facturas},
        {"cancelados", diarios.cancelados},
        {"dnf", diarios.dnf},
        {"dnfh", diarios.dnfh},
        {"ventas", double(diarios.ventas)},
        {"iva", double(diarios.iva)},
        {"descuentos", double(diarios.descuentos)},
    };
    QJsonObject lins;
    for (auto it = lineas.begin(); it != lineas.end(); ++it) lins[QString::number(it.key())] = it.value();
    QJsonObject dis;
    for (auto it = diseno.begin(); it != diseno.end(); ++it) dis[it.key()] = QJsonArray::fromStringList(it.value());
    QJsonObject zon;
    for (auto it = zonas.begin(); it != zonas.end(); ++it)
        zon[QString::number(it.key())] = QJsonArray{it->a, it->b, it->c, it->d};

    const QJsonObject raiz{
        {"version", 1},
        {"puerto", puerto},
        {"baud", baud},
        {"ventana", ventana},
        {"estado", QString::fromLatin1(NombreEstado(estado))},
        {"documento", doc},
        {"numeros", nums},
        {"diarios", tot},
        {"lineas", lins},
        {"formatoHoja", QJsonArray{columnas, lineasHoja}},
        {"diseno", dis},
        {"zonas", zon},
        {"formatoSlip", QJsonArray{columnasSlip, lineasSlip}},
        {"desfaseReloj", double(desfaseReloj)},
    };
    return QJsonDocument(raiz).toJson(QJsonDocument::Indented);
}

std::optional<MemoriaFiscal> MemoriaFiscal::DesdeJson(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject()) return std::nullopt;
    const QJsonObject r = json.object();
    if (r.value("version").toInt() != 1) return std::nullopt;

    MemoriaFiscal m;
    m.puerto = r.value("puerto").toInt(1);
    m.baud = r.value("baud").toInt(9600);
    m.ventana = r.value("ventana").toBool(true);
    const QString estado = r.value("estado").toString(QStringLiteral("Libre"));
    bool conocido = false;
    for (int i = 0; i <= int(EstadoFiscal::DNFSlip); ++i)
        if (estado == QLatin1String(NombreEstado(EstadoFiscal(i)))) {
            m.estado = EstadoFiscal(i);
            conocido = true;
        }
    if (!conocido) return std::nullopt;

    const QJsonObject doc = r.value("documento").toObject();
    m.documento.clase = doc.value("clase").toString();
    m.documento.letra = doc.value("letra").toString();
    m.documento.comprador = doc.value("comprador").toString();
    m.documento.numero = doc.value("numero").toInt();
    m.documento.items = doc.value("items").toInt();
    m.documento.hoja = doc.value("hoja").toInt(1);
    m.documento.importe = qint64(doc.value("importe").toDouble());
    m.documento.descuentos = qint64(doc.value("descuentos").toDouble());
    m.documento.pagado = qint64(doc.value("pagado").toDouble());
    m.documento.pagando = doc.value("pagando").toBool();
    const QJsonObject iva = doc.value("ivaPorTasa").toObject();
    for (auto it = iva.begin(); it != iva.end(); ++it)
        m.documento.ivaPorTasa[it.key().toInt()] = qint64(it->toDouble());

    const QJsonObject nums = r.value("numeros").toObject();
    for (auto it = nums.begin(); it != nums.end(); ++it) m.numeros[it.key()] = it->toInt();
    const QJsonObject tot = r.value("diarios").toObject();
    m.diarios.tiques = tot.value("tiques").toInt();
    m.diarios.tiquesFactura = tot.value("tiquesFactura").toInt();
    m.diarios.facturas = tot.value("facturas").toInt();
    m.diarios.cancelados = tot.value("cancelados").toInt();
    m.diarios.dnf = tot.value("dnf").toInt();
    m.diarios.dnfh = tot.value("dnfh").toInt();
    m.diarios.ventas = qint64(tot.value("ventas").toDouble());
    m.diarios.iva = qint64(tot.value("iva").toDouble());
    m.diarios.descuentos = qint64(tot.value("descuentos").toDouble());

    const QJsonObject lins = r.value("lineas").toObject();
    for (auto it = lins.begin(); it != lins.end(); ++it) m.lineas[it.key().toInt()] = it->toString();
    const QJsonArray formato = r.value("formatoHoja").toArray();
    if (formato.size() == 2) m.columnas = formato[0].toInt(), m.lineasHoja = formato[1].toInt();
    const QJsonObject dis = r.value("diseno").toObject();
    for (auto it = dis.begin(); it != dis.end(); ++it) {
        QStringList valores;
        for (const auto& v : it->toArray()) valores << v.toString();
        m.diseno[it.key()] = valores;
    }
    const QJsonObject zon = r.value("zonas").toObject();
    for (auto it = zon.begin(); it != zon.end(); ++it) {
        const QJsonArray z = it->toArray();
        if (z.size() != 4) return std::nullopt;
        m.zonas[it.key().toInt()] = Zona{z[0].toInt(), z[1].toInt(), z[2].toInt(), z[3].toInt()};
    }
    const QJsonArray slip = r.value("formatoSlip").toArray();
    if (slip.size() == 2) m.columnasSlip = slip[0].toInt(), m.lineasSlip = slip[1].toInt();
    m.desfaseReloj = qint64(r.value("desfaseReloj").toDouble());
    return m;
}

// ---------------------------------------------------------------------------------------------------------------
// The command table.

struct ImpresoraSimulada::Argumentos {
    QList<Variant> valores;
    QStringList textos;  // each value as text
    const QString& operator[](int i) const { return textos[i]; }
    int Entero(int i) const { return valores[i].AEntero(); }
    int Digitos(int i) const { return textos[i].toInt(); }  // a checked digit string
    qint64 Largo(int i) const { return textos[i].toLongLong(); }
    int size() const { return static_cast<int>(textos.size()); }
};

namespace {
// One argument's check.
struct Chequeo {
    enum Tipo { Texto, TextoOBorrado, Digitos, Codigos, Entero, Fecha, Hora, NumeroLinea } tipo;
    int maximo = 0;                 // characters of a text or digit string; the highest integer
    bool vacio = false;             // a text may be empty
    const char* codigos = nullptr;  // the allowed codes, separated by "|"
    int minimo = 0;                 // the lowest integer
};
Chequeo T(int maximo, bool vacio = false) {
    return {Chequeo::Texto, maximo, vacio};
}
Chequeo TB(int maximo) {
    return {Chequeo::TextoOBorrado, maximo};
}
Chequeo D(int maximo) {
    return {Chequeo::Digitos, maximo};
}
Chequeo C(const char* codigos) {
    return {Chequeo::Codigos, 0, false, codigos};
}
Chequeo E(int minimo, int maximo) {
    return {Chequeo::Entero, maximo, false, nullptr, minimo};
}
const Chequeo F{Chequeo::Fecha}, H{Chequeo::Hora}, L{Chequeo::NumeroLinea};

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

constexpr unsigned En(EstadoFiscal e) {
    return 1u << unsigned(e);
}
constexpr unsigned kLibre = En(EstadoFiscal::Libre);
constexpr unsigned kTodos = 0xFFu;
constexpr unsigned kFactura = En(EstadoFiscal::Factura) | En(EstadoFiscal::FinDeHoja);
constexpr unsigned kDNF = En(EstadoFiscal::DNF) | En(EstadoFiscal::DNFSlip);
}  // namespace

struct ImpresoraSimulada::Comando {
    const char* nombre;
    unsigned estados;  // the states the command fits
    int minimo;        // arguments required; the checks give the most
    QList<Chequeo> chequeos;
    Resultado (ImpresoraSimulada::*manejador)(MemoriaFiscal&, const Argumentos&);
};

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

// ---------------------------------------------------------------------------------------------------------------
// The device.

ImpresoraSimulada::ImpresoraSimulada(QObject* padre) : QObject(padre) {
    Carga();
}

QString ImpresoraSimulada::RutaMemoria() const {
    return QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("ImpresoraSimulada.json"));
}

QString ImpresoraSimulada::RutaPapel() const {
    return QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("ImpresoraSimulada.txt"));
}

bool ImpresoraSimulada::Conectada() const {
    return puertoEscrito_ == memoria_.puerto && baudEscrito_ == memoria_.baud;
}

quint16 ImpresoraSimulada::Palabra1() const {
    if (!Conectada()) return Bit1::SinComunicacion;
    quint16 p = Bit1::EnLinea | Bit1::PapelPresente;
    switch (memoria_.estado) {
        case EstadoFiscal::SlipPreparado:
            p |= Bit1::EsperaHojaSlip;
            break;
        case EstadoFiscal::SlipColocado:
        case EstadoFiscal::DNFSlip:
            p |= Bit1::HojaEnSlip;
            break;
        case EstadoFiscal::FinDeHoja:
            p |= Bit1::EsperaHojaSiguiente;
            break;
        default:
            break;
    }
    return p;
}

quint16 ImpresoraSimulada::Palabra2() const {
    if (!Conectada()) return 0;
    quint16 p = Bit2::EnServicio | fallo_ | aviso_;
    if (reiniciada_) p |= Bit2::MemoriaReiniciada;
    if (memoria_.diarios.Fiscales() + memoria_.diarios.cancelados + memoria_.diarios.dnf + memoria_.diarios.dnfh > 0)
        p |= Bit2::JornadaAbierta;
    switch (memoria_.estado) {
        case EstadoFiscal::Tique:
            p |= Bit2::TiqueAbierto;
            break;
        case EstadoFiscal::Factura:
        case EstadoFiscal::FinDeHoja:
            p |= Bit2::FacturaAbierta;
            break;
        case EstadoFiscal::DNF:
            p |= Bit2::DNFAbierto;
            break;
        case EstadoFiscal::DNFSlip:
            p |= Bit2::DNFSlipAbierto;
            break;
        default:
            break;
    }
    return p;
}

QString ImpresoraSimulada::Lee(const QString& propiedad) {
    if (propiedad == QLatin1String("Estado1")) {
        if (!Conectada()) {
            const QString motivo =
                !puertoEscrito_ || !baudEscrito_
                    ? QStringLiteral("puerto y velocidad sin asignar")
                    : QStringLiteral("la impresora está en COM%1 a %2").arg(memoria_.puerto).arg(memoria_.baud);
            return QStringLiteral("0001 Sin comunicación: ") + motivo;
        }
        return TextoEstado(Palabra1(), Bit1::EnLinea | Bit1::PapelPresente, kBits1, std::size(kBits1),
                           "Impresora lista");
    }
    if (propiedad == QLatin1String("Estado2")) {
        if (!Conectada()) return QStringLiteral("0000 Sin respuesta del controlador fiscal");
        return TextoEstado(Palabra2(), Bit2::EnServicio, kBits2, std::size(kBits2), "Controlador fiscal listo");
    }
    for (int i = 0; i < 8; ++i)
        if (propiedad == QStringLiteral("CampoRespuesta%1").arg(i + 1)) return respuestas_[i];
    if (propiedad == QLatin1String("Puerto")) return puertoEscrito_ ? QString::number(*puertoEscrito_) : QString();
    if (propiedad == QLatin1String("Baud")) return baudEscrito_ ? QString::number(*baudEscrito_) : QString();
    Lanza(Err::ArgumentoInvalido, QStringLiteral("La impresora no tiene la propiedad ") + propiedad);
}

void ImpresoraSimulada::Escribe(const QString& propiedad, const Variant& valor) {
    if (propiedad == QLatin1String("Puerto")) {
        const int n = valor.AEntero();
        if (n < 1 || n > 4)
            Lanza(Err::ArgumentoInvalido, QStringLiteral("Puerto no válido: %1. Los puertos son COM1 a COM4").arg(n));
        puertoEscrito_ = n;
    } else if (propiedad == QLatin1String("Baud")) {
        const QString texto = valor.ATexto().trimmed();
        const int n = SonDigitos(texto) && texto.size() <= 6 ? texto.toInt() : 0;
        if (std::find(std::begin(kBaudios), std::end(kBaudios), n) == std::end(kBaudios))
            Lanza(Err::ArgumentoInvalido, QStringLiteral("Velocidad no válida: \"%1\"").arg(texto));
        baudEscrito_ = n;
    } else {
        Lanza(Err::ArgumentoInvalido, QStringLiteral("La impresora no admite escribir ") + propiedad);
    }
    emit Cambio();
}

bool ImpresoraSimulada::Invoca(const QString& metodo, const QList<Variant>& argumentos) {
    for (auto& r : respuestas_) r.clear();
    fallo_ = aviso_ = 0;
    nuevoDia_ = false;
    papel_.clear();
    const auto termina = [this](quint16 fallo) {
        fallo_ = fallo;
        emit Cambio();
        return false;
    };

    // 1. Nothing answers while the port and speed are not the device's.
    if (!Conectada()) return termina(0);

    // 2. The command's row, its states and its arguments.
    const Comando* comando = nullptr;
    for (const Comando& c : Comandos())
        if (metodo == QLatin1String(c.nombre)) comando = &c;
    if (!comando) return termina(Bit2::ComandoDesconocido);
    if (!(comando->estados & En(memoria_.estado))) return termina(Bit2::FueraDeEstado);
    if (argumentos.size() < comando->minimo || argumentos.size() > comando->chequeos.size())
        return termina(Bit2::ArgumentoInvalido);
    Argumentos a;
    a.valores = argumentos;
    try {
        for (const Variant& v : argumentos) a.textos << v.ATexto();
    } catch (const ErrorEjecucion&) {
        return termina(Bit2::ArgumentoInvalido);  // a Null or an unreadable value is a bad field
    }
    for (int i = 0; i < a.size(); ++i)
        if (!Cumple(comando->chequeos[i], a.valores[i], a[i])) return termina(Bit2::ArgumentoInvalido);

    // 3. The handler works on a copy: a refusal changes nothing.
    MemoriaFiscal nueva = memoria_;
    switch ((this->*comando->manejador)(nueva, a)) {
        case Resultado::FueraDeEstado:
            for (auto& r : respuestas_) r.clear();
            aviso_ = 0;
            return termina(Bit2::FueraDeEstado);
        case Resultado::ArgumentoInvalido:
            for (auto& r : respuestas_) r.clear();
            aviso_ = 0;
            return termina(Bit2::ArgumentoInvalido);
        case Resultado::Acepta:
            break;
    }

    // 4. Saved first, printed after: what the roll shows is in the memory.
    if (!Guarda(nueva)) {
        for (auto& r : respuestas_) r.clear();
        aviso_ = 0;
        return termina(Bit2::ErrorAlGuardar);
    }
    memoria_ = nueva;
    if (nuevoDia_) reiniciada_ = false;
    if (!papel_.isEmpty()) AgregaAlPapel(papel_.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    emit Cambio();
    return true;
}

void ImpresoraSimulada::Carga() {
    QFile archivo(RutaMemoria());
    if (!archivo.exists()) return;
    std::optional<MemoriaFiscal> leida;
    if (archivo.open(QIODevice::ReadOnly)) leida = MemoriaFiscal::DesdeJson(archivo.readAll());
    archivo.close();
    if (leida) {
        memoria_ = *leida;
        return;
    }
    // An unreadable memory is kept for whoever wants to look at it; the device starts afresh.
    apartado_ =
        RutaMemoria() + QStringLiteral(".danado-") + proceso().Ahora().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::remove(apartado_);
    QFile::rename(RutaMemoria(), apartado_);
    reiniciada_ = true;
}

bool ImpresoraSimulada::Guarda(const MemoriaFiscal& m) {
    // The new memory goes to a temporary file renamed over the old one: a cut at any moment leaves one or the
    // other, whole.
    QSaveFile archivo(RutaMemoria());
    if (!archivo.open(QIODevice::WriteOnly)) return false;
    QByteArray bytes = m.AJson();
    if (corte_) {
        archivo.write(bytes.left(*corte_));
        corte_.reset();
        archivo.cancelWriting();
        archivo.commit();
        return false;
    }
    archivo.write(bytes);
    return archivo.commit();
}

void ImpresoraSimulada::AgregaAlPapel(const QString& texto) {
    // A roll that cannot be written loses the print only: the memory already holds the document.
    QFile rollo(RutaPapel());
    if (rollo.open(QIODevice::WriteOnly | QIODevice::Append)) rollo.write(texto.toUtf8());
    emit Imprimio(texto);
}

QDateTime ImpresoraSimulada::HoraImpresora(const MemoriaFiscal& m) const {
    return proceso().Ahora().addSecs(m.desfaseReloj);
}

// ---------------------------------------------------------------------------------------------------------------
// Printing helpers.

void ImpresoraSimulada::ImprimeImporte(const QString& concepto, qint64 centavos) {
    Imprime(Renglon(concepto, Importe(centavos)));
}

void ImpresoraSimulada::ImprimeEncabezado(const MemoriaFiscal& m, const QString& titulo) {
    Imprime(Raya(QLatin1Char('=')));
    for (int n = 1; n <= 10; ++n)
        if (!m.lineas.value(n).isEmpty()) Imprime(Centrado(m.lineas.value(n)));
    const QDateTime ahora = HoraImpresora(m);
    Imprime(Renglon(QStringLiteral("Fecha ") + ahora.toString(QStringLiteral("dd/MM/yy")),
                    QStringLiteral("Hora ") + ahora.toString(QStringLiteral("HH:mm:ss"))));
    Imprime(Centrado(titulo));
    Imprime(Raya());
}

void ImpresoraSimulada::ImprimeCierreDocumento(const MemoriaFiscal& m) {
    const auto& d = m.documento;
    Imprime(Raya());
    if (d.letra == QLatin1String("A")) {
        ImprimeImporte(QStringLiteral("Subtotal neto"), d.importe - d.Iva());
        for (auto it = d.ivaPorTasa.begin(); it != d.ivaPorTasa.end(); ++it)
            ImprimeImporte(QStringLiteral("IVA ") + Tasa(it.key()), it.value());
    }
    if (d.descuentos) ImprimeImporte(QStringLiteral("Descuentos"), -d.descuentos);
    ImprimeImporte(QStringLiteral("TOTAL"), d.Total());
    if (d.letra != QLatin1String("A")) ImprimeImporte(QStringLiteral("IVA contenido"), d.Iva());
    ImprimeImporte(QStringLiteral("Recibido"), d.pagado);
    if (d.pagado > d.Total()) ImprimeImporte(QStringLiteral("Su vuelto"), d.pagado - d.Total());
    for (int n = 11; n <= 20; ++n)
        if (!m.lineas.value(n).isEmpty()) Imprime(Centrado(m.lineas.value(n)));
}

// Ends the open fiscal document without adding it to the sales: its number stays used.
void ImpresoraSimulada::CancelaDocumento(MemoriaFiscal& m) {
    Imprime(Raya());
    Imprime(Centrado(QStringLiteral("*** DOCUMENTO CANCELADO ***")));
    Imprime(Raya(QLatin1Char('=')));
    m.diarios.cancelados++;
    respuestas_[0] = QString::number(m.documento.numero);
    m.documento = {};
    m.estado = EstadoFiscal::Libre;
    aviso_ = Bit2::DocumentoCancelado;
}

// ---------------------------------------------------------------------------------------------------------------
// Handlers. Each one works on the copy it is given and says whether the command is accepted.

ImpresoraSimulada::Resultado ImpresoraSimulada::VerEstado_(MemoriaFiscal& m, const Argumentos&) {
    respuestas_[0] = QString::number(m.numeros.value("tique"));
    respuestas_[1] = QString::number(m.numeros.value("A"));
    respuestas_[2] = QString::number(std::max(m.numeros.value("B"), m.numeros.value("C")));
    respuestas_[3] = QString::number(m.numeros.value("dnf"));
    respuestas_[4] = QString::number(m.numeros.value("dnfh"));
    respuestas_[5] = QString::number(m.numeros.value("z"));
    respuestas_[6] = HoraImpresora(m).toString(QStringLiteral("yyMMdd HHmmss"));
    respuestas_[7] = QStringLiteral("COM%1 %2").arg(m.puerto).arg(m.baud);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::RealizarCierre_(MemoriaFiscal& m, const Argumentos& a) {
    const bool z = a[0] == QLatin1String("Z");
    const QString clave = z ? QStringLiteral("z") : QStringLiteral("x");
    const int numero = m.numeros.value(clave) + 1;
    m.numeros[clave] = numero;
    const auto& t = m.diarios;

    // The report prints unless an X close asks for no print ("N").
    if (a.size() < 2 || a[1] != QLatin1String("N")) {
        ImprimeEncabezado(
            m, (z ? QStringLiteral("INFORME DIARIO DE CIERRE Z Nro ") : QStringLiteral("INFORME DE CIERRE X Nro ")) +
                   QString::number(numero));
        Imprime(Renglon(QStringLiteral("Tiques"), QString::number(t.tiques)));
        Imprime(Renglon(QStringLiteral("Tiques factura"), QString::number(t.tiquesFactura)));
        Imprime(Renglon(QStringLiteral("Facturas"), QString::number(t.facturas)));
        Imprime(Renglon(QStringLiteral("Cancelados"), QString::number(t.cancelados)));
        Imprime(Renglon(QStringLiteral("No fiscales"), QString::number(t.dnf)));
        Imprime(Renglon(QStringLiteral("No fiscales homologados"), QString::number(t.dnfh)));
        ImprimeImporte(QStringLiteral("Total ventas"), t.ventas);
        ImprimeImporte(QStringLiteral("Total IVA"), t.iva);
        ImprimeImporte(QStringLiteral("Total descuentos"), t.descuentos);
        Imprime(Renglon(QStringLiteral("Último tique"), QString::number(m.numeros.value("tique"))));
        Imprime(Renglon(QStringLiteral("Última factura A"), QString::number(m.numeros.value("A"))));
        Imprime(Raya(QLatin1Char('=')));
    }
    respuestas_[0] = QString::number(numero);
    respuestas_[1] = QString::number(t.Fiscales());
    respuestas_[2] = QString::number(t.cancelados);
    respuestas_[3] = QString::number(t.ventas);
    respuestas_[4] = QString::number(t.iva);
    respuestas_[5] = QString::number(m.numeros.value("tique"));
    respuestas_[6] = QString::number(m.numeros.value("A"));
    respuestas_[7] = QString::number(t.descuentos);

    // A Z close ends the fiscal day, and with it the notice of a memory started afresh.
    if (z) {
        m.diarios = {};
        nuevoDia_ = true;
    }
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::HeaderTrailer_(MemoriaFiscal& m, const Argumentos& a) {
    const int linea = a.valores[1].Tipo() == TipoVariant::String ? a[1].toInt() : a.Entero(1);
    respuestas_[0] = QString::number(linea);
    if (a[0] == QLatin1String("G")) {
        if (a.size() != 2) return Resultado::ArgumentoInvalido;
        respuestas_[6] = m.lineas.value(linea);
        return Resultado::Acepta;
    }
    if (a.size() != 3) return Resultado::ArgumentoInvalido;
    if (a[2] == kBorrado)
        m.lineas.remove(linea);
    else
        m.lineas[linea] = a[2];
    respuestas_[6] = m.lineas.value(linea);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::HoraFecha_(MemoriaFiscal& m, const Argumentos& a) {
    const QDateTime fijada(FechaAAMMDD(a[1]), HoraHHMMSS(a[2]));
    m.desfaseReloj = proceso().Ahora().secsTo(fijada);
    Imprime(Renglon(QStringLiteral("Fecha y hora ajustadas"), fijada.toString(QStringLiteral("dd/MM/yy HH:mm:ss"))));
    respuestas_[0] = a[1];
    respuestas_[1] = a[2];
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::Cajon_(MemoriaFiscal&, const Argumentos& a) {
    Imprime(QStringLiteral("--- apertura de cajón ") + a[0] + QStringLiteral(" ---"));
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFAbrir_(MemoriaFiscal& m, const Argumentos&) {
    const int numero = ++m.numeros["dnf"];
    ImprimeEncabezado(m, QStringLiteral("DOCUMENTO NO FISCAL Nro ") + NumeroDocumento(numero));
    m.estado = EstadoFiscal::DNF;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFSlipAbrir_(MemoriaFiscal& m, const Argumentos&) {
    const int numero = ++m.numeros["dnf"];
    Imprime(QStringLiteral("[SLIP] ") + Raya(QLatin1Char('=')).left(kAncho - 7));
    Imprime(QStringLiteral("[SLIP] DOCUMENTO NO FISCAL Nro ") + NumeroDocumento(numero));
    m.estado = EstadoFiscal::DNFSlip;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFTexto_(MemoriaFiscal& m, const Argumentos& a) {
    const bool slip = m.estado == EstadoFiscal::DNFSlip;
    if (a[0].size() > (slip ? m.columnasSlip : kAncho)) return Resultado::ArgumentoInvalido;
    Imprime((slip ? QStringLiteral("[SLIP] ") : QString()) + a[0]);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::DNFCerrar_(MemoriaFiscal& m, const Argumentos&) {
    const int numero = m.numeros.value("dnf");
    if (m.estado == EstadoFiscal::DNFSlip) {
        Imprime(QStringLiteral("[SLIP] --- fin del documento no fiscal Nro ") + QString::number(numero) +
                QStringLiteral(" ---"));
        Imprime(QStringLiteral("[SLIP] retire la hoja"));
    } else {
        Imprime(Raya());
        Imprime(Centrado(QStringLiteral("fin del documento no fiscal")));
        Imprime(Raya(QLatin1Char('=')));
    }
    m.diarios.dnf++;
    m.estado = EstadoFiscal::Libre;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::SlipPreparar_(MemoriaFiscal& m, const Argumentos&) {
    m.estado = EstadoFiscal::SlipPreparado;
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::SlipHojaColocada_(MemoriaFiscal& m, const Argumentos&) {
    m.estado = EstadoFiscal::SlipColocado;
    return Resultado::Acepta;
}

// Columns 20 to 136 and lines 20 to 120: the invoice sheet when idle, the slip sheet once the slip is prepared.
ImpresoraSimulada::Resultado ImpresoraSimulada::FormatoHoja_(MemoriaFiscal& m, const Argumentos& a) {
    const int columnas = a.Entero(0), lineas = a.Entero(1);
    if (columnas < 20 || columnas > 136 || lineas < 20 || lineas > 120) return Resultado::ArgumentoInvalido;
    if (m.estado == EstadoFiscal::SlipPreparado) {
        m.columnasSlip = columnas;
        m.lineasSlip = lineas;
    } else {
        m.columnas = columnas;
        m.lineasHoja = lineas;
    }
    return Resultado::Acepta;
}

// A zone is a rectangle of the invoice sheet: columns A to C, lines B to D.
ImpresoraSimulada::Resultado ImpresoraSimulada::SetZona_(MemoriaFiscal& m, const Argumentos& a) {
    const MemoriaFiscal::Zona z{a.Entero(1), a.Entero(2), a.Entero(3), a.Entero(4)};
    if (z.a > z.c || z.b > z.d || z.c > m.columnas || z.d > m.lineasHoja) return Resultado::ArgumentoInvalido;
    m.zonas[a.Entero(0)] = z;
    return Resultado::Acepta;
}

namespace {
// The design option groups: the group letter, how many texts the call has, and each option's check.
struct GrupoDiseno {
    const char* grupo;
    int argumentos;
    QList<Chequeo> opciones;  // arguments 3 onwards
};
const QList<GrupoDiseno>& GruposDiseno() {
    static const QList<GrupoDiseno> grupos{
        {"D", 6, {C("M|G|C"), C("F|R"), C("A|M"), C("N|S")}},
        {"P", 7, {C("R|C"), C("S|D"), C("U|D"), D(3), D(3)}},
        {"C", 6, {C("O|D|T"), D(4), D(2), D(2)}},
    };
    return grupos;
}
}  // namespace

ImpresoraSimulada::Resultado ImpresoraSimulada::SeteaDiseno_(MemoriaFiscal& m, const Argumentos& a) {
    for (const GrupoDiseno& g : GruposDiseno()) {
        if (a[1] != QLatin1String(g.grupo)) continue;
        if (a.size() != g.argumentos) return Resultado::ArgumentoInvalido;
        for (int i = 2; i < a.size(); ++i)
            if (!Cumple(g.opciones[i - 2], a.valores[i], a[i])) return Resultado::ArgumentoInvalido;
        m.diseno[a[1]] = a.textos.mid(2);
        return Resultado::Acepta;
    }
    return Resultado::ArgumentoInvalido;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::TiqueAbrir_(MemoriaFiscal& m, const Argumentos& a) {
    const int numero = ++m.numeros["tique"];
    m.documento = {};
    m.documento.clase = QStringLiteral("tique");
    m.documento.numero = numero;
    ImprimeEncabezado(
        m, (a[0] == QLatin1String("C") ? QStringLiteral("TIQUE DE CAMBIO Nro ") : QStringLiteral("TIQUE Nro ")) +
               NumeroDocumento(numero));
    m.estado = EstadoFiscal::Tique;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::FacturaAbrir_(MemoriaFiscal& m, const Argumentos& a) {
    // 1. The customer: a letter "A" goes to a registered buyer with a CUIT; a CUIT or CUIL has its check digit.
    const QString& letra = a[2];
    const QString& tipoDoc = a[10];
    if (letra == QLatin1String("A") &&
        (a[6] != QLatin1String("I") || (a[7] != QLatin1String("I") && a[7] != QLatin1String("N")) ||
         tipoDoc != QLatin1String("CUIT")))
        return Resultado::ArgumentoInvalido;
    if ((tipoDoc == QLatin1String("CUIT") || tipoDoc == QLatin1String("CUIL")) && !CuitValido(a[11]))
        return Resultado::ArgumentoInvalido;

    // 2. The number, and the document's head.
    const int numero = ++m.numeros[letra];
    m.documento = {};
    m.documento.clase = a[0];
    m.documento.letra = letra;
    m.documento.comprador = a[7];
    m.documento.numero = numero;
    const bool hojas = a[0] == QLatin1String("F");
    const QString titulo = (hojas ? QStringLiteral("FACTURA \"") : QStringLiteral("TIQUE FACTURA \"")) + letra +
                           QStringLiteral("\" Nro ") + NumeroDocumento(numero);
    ImprimeEncabezado(m, titulo);
    for (int n = 21; n <= 65; ++n)
        if (!m.lineas.value(n).isEmpty()) Imprime(m.lineas.value(n));
    if (hojas) Imprime(Centrado(QStringLiteral("Hoja 1")));
    static const QMap<QString, QString> condiciones{
        {"I", "Responsable inscripto"}, {"N", "Responsable no inscripto"}, {"E", "Exento"},
        {"M", "Monotributo"},           {"F", "Consumidor final"},         {"A", "No alcanzado"}};
    Imprime(QStringLiteral("Cliente: ") + (a[8] + QLatin1Char(' ') + a[9]).trimmed());
    Imprime(tipoDoc + QStringLiteral(": ") +
            (tipoDoc == QLatin1String("CUIT") || tipoDoc == QLatin1String("CUIL") ? CuitConGuiones(a[11]) : a[11]));
    Imprime(QStringLiteral("IVA: ") + condiciones.value(a[7]));
    const QString domicilio = QStringList{a[13], a[14], a[15]}.join(QLatin1Char(' ')).simplified();
    if (!domicilio.isEmpty()) Imprime(QStringLiteral("Domicilio: ") + domicilio);
    const QString remitos = QStringList{a[16], a[17]}.join(QLatin1Char(' ')).simplified();
    if (!remitos.isEmpty()) Imprime(QStringLiteral("Remitos: ") + remitos);
    Imprime(Raya());
    m.estado = EstadoFiscal::Factura;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

// TiqueItem and FacturaItem: description, quantity (3 decimals), unit price (2 decimals), VAT rate (2 decimals),
// "M" to sell or "m" to take back, packages, internal tax per unit; FacturaItem adds three extra description
// lines, the surcharge rate for a buyer not registered, and a product code.
ImpresoraSimulada::Resultado ImpresoraSimulada::Item_(MemoriaFiscal& m, const Argumentos& a) {
    auto& d = m.documento;
    if (d.pagando) return Resultado::FueraDeEstado;
    const qint64 cantidad = a.Largo(1), precio = a.Largo(2), internos = a.Largo(6);
    const int tasa = a.Digitos(3);
    const int signo = a[4] == QLatin1String("m") ? -1 : 1;
    if (cantidad == 0) return Resultado::ArgumentoInvalido;

    // An invoice "A" shows net prices and adds the VAT; every other document's prices include it.
    const qint64 neto = Redondea(cantidad, precio, 1000);
    const qint64 impInternos = Redondea(cantidad, internos, 1000);
    qint64 importe, iva;
    if (d.letra == QLatin1String("A")) {
        const int recargo = a.size() > 10 && d.comprador == QLatin1String("N") ? a.Digitos(10) : 0;
        iva = Redondea(neto, tasa + recargo, 10000);
        importe = neto + iva + impInternos;
    } else {
        iva = neto - Redondea(neto, 10000, 10000 + tasa);
        importe = neto + impInternos;
    }
    if (d.importe + signo * importe < 0) return Resultado::FueraDeEstado;  // more taken back than sold
    d.importe += signo * importe;
    d.ivaPorTasa[tasa] += signo * iva;
    d.items++;

    Imprime(Cantidad(cantidad) + QStringLiteral(" x ") + Importe(precio) +
            (a.Largo(5) ? QStringLiteral("  bultos ") + a[5] : QString()));
    Imprime(Renglon(a[0] + QStringLiteral(" (") + Tasa(tasa) + QLatin1Char(')'), Importe(signo * neto)));
    if (impInternos) ImprimeImporte(QStringLiteral("  Impuestos internos"), signo * impInternos);
    for (int i = 7; i <= 9 && i < a.size(); ++i)
        if (!a[i].isEmpty()) Imprime(QStringLiteral("  ") + a[i]);
    if (a.size() > 11 && a.Largo(11)) Imprime(QStringLiteral("  Código ") + a[11]);
    respuestas_[0] = QString::number(d.items);
    respuestas_[1] = QString::number(d.Total());
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::Subtotal_(MemoriaFiscal& m, const Argumentos& a) {
    const auto& d = m.documento;
    if (d.pagando) return Resultado::FueraDeEstado;
    if (a[0] == QLatin1String("P")) ImprimeImporte(a[1].isEmpty() ? QStringLiteral("SUBTOTAL") : a[1], d.Total());
    respuestas_[0] = QString::number(d.items);
    respuestas_[1] = QString::number(d.Total());
    respuestas_[2] = QString::number(d.Iva());
    return Resultado::Acepta;
}

// TiquePago and FacturaPago: "T" a payment, "D" a discount (before any payment), "C" cancels the document.
ImpresoraSimulada::Resultado ImpresoraSimulada::Pago_(MemoriaFiscal& m, const Argumentos& a) {
    auto& d = m.documento;
    const QString& codigo = a[2];
    const qint64 monto = a.Largo(1);
    if (codigo == QLatin1String("C")) {
        CancelaDocumento(m);
        return Resultado::Acepta;
    }
    if (m.estado == EstadoFiscal::FinDeHoja || d.items == 0) return Resultado::FueraDeEstado;
    if (a[0].isEmpty() || monto == 0) return Resultado::ArgumentoInvalido;
    if (codigo == QLatin1String("D")) {
        if (d.pagando) return Resultado::FueraDeEstado;
        if (monto > d.Total()) return Resultado::ArgumentoInvalido;
        d.descuentos += monto;
        ImprimeImporte(a[0], -monto);
    } else {
        if (d.pagado >= d.Total()) return Resultado::FueraDeEstado;  // already paid in full
        d.pagado += monto;
        d.pagando = true;
        ImprimeImporte(a[0], monto);
    }
    respuestas_[0] = QString::number(std::max<qint64>(0, d.Total() - d.pagado));
    respuestas_[1] = QString::number(std::max<qint64>(0, d.pagado - d.Total()));
    return Resultado::Acepta;
}

// Closing a ticket that is not paid in full cancels it: that is how the operator clears a ticket left open.
ImpresoraSimulada::Resultado ImpresoraSimulada::TiqueCerrar_(MemoriaFiscal& m, const Argumentos&) {
    auto& d = m.documento;
    if (d.items == 0 || d.pagado < d.Total()) {
        CancelaDocumento(m);
        return Resultado::Acepta;
    }
    ImprimeCierreDocumento(m);
    Imprime(Centrado(QStringLiteral("TIQUE Nro ") + NumeroDocumento(d.numero)));
    Imprime(Raya(QLatin1Char('=')));
    m.diarios.tiques++;
    m.diarios.ventas += d.Total();
    m.diarios.iva += d.Iva();
    m.diarios.descuentos += d.descuentos;
    respuestas_[0] = QString::number(d.numero);
    respuestas_[1] = QString::number(d.Total());
    respuestas_[2] = QString::number(std::max<qint64>(0, d.pagado - d.Total()));
    m.documento = {};
    m.estado = EstadoFiscal::Libre;
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::FacturaCerrar_(MemoriaFiscal& m, const Argumentos& a) {
    auto& d = m.documento;
    if (a[0] != d.clase || a[1] != d.letra) return Resultado::ArgumentoInvalido;
    if (d.items == 0 || d.pagado < d.Total()) return Resultado::FueraDeEstado;
    ImprimeCierreDocumento(m);
    if (!a[2].isEmpty()) Imprime(Centrado(a[2]));
    const bool hojas = d.clase == QLatin1String("F");
    Imprime(Centrado((hojas ? QStringLiteral("FACTURA \"") : QStringLiteral("TIQUE FACTURA \"")) + d.letra +
                     QStringLiteral("\" Nro ") + NumeroDocumento(d.numero)));
    Imprime(Raya(QLatin1Char('=')));
    (hojas ? m.diarios.facturas : m.diarios.tiquesFactura)++;
    m.diarios.ventas += d.Total();
    m.diarios.iva += d.Iva();
    m.diarios.descuentos += d.descuentos;
    respuestas_[0] = QString::number(d.numero);
    respuestas_[1] = QString::number(d.Total());
    respuestas_[2] = QString::number(std::max<qint64>(0, d.pagado - d.Total()));
    m.documento = {};
    m.estado = EstadoFiscal::Libre;
    return Resultado::Acepta;
}

// Only an invoice on sheets has sheets, and a sheet ends after at least one item.
ImpresoraSimulada::Resultado ImpresoraSimulada::FinHoja_(MemoriaFiscal& m, const Argumentos&) {
    auto& d = m.documento;
    if (d.clase != QLatin1String("F") || d.items == 0 || d.pagando) return Resultado::FueraDeEstado;
    Imprime(Raya());
    ImprimeImporte(QStringLiteral("Transporte a la hoja ") + QString::number(d.hoja + 1), d.Total());
    Imprime(Centrado(QStringLiteral("--- fin de la hoja ") + QString::number(d.hoja) + QStringLiteral(" ---")));
    m.estado = EstadoFiscal::FinDeHoja;
    respuestas_[0] = QString::number(d.hoja);
    return Resultado::Acepta;
}

ImpresoraSimulada::Resultado ImpresoraSimulada::SiguienteHoja_(MemoriaFiscal& m, const Argumentos&) {
    auto& d = m.documento;
    d.hoja++;
    Imprime(Raya(QLatin1Char('=')));
    Imprime(Centrado(QStringLiteral("FACTURA \"") + d.letra + QStringLiteral("\" Nro ") + NumeroDocumento(d.numero)));
    Imprime(Centrado(QStringLiteral("Hoja ") + QString::number(d.hoja)));
    ImprimeImporte(QStringLiteral("Transporte de la hoja ") + QString::number(d.hoja - 1), d.Total());
    Imprime(Raya());
    m.estado = EstadoFiscal::Factura;
    respuestas_[0] = QString::number(d.hoja);
    return Resultado::Acepta;
}

namespace {
QString Fecha(const QString& aammdd) {
    return FechaAAMMDD(aammdd).toString(QStringLiteral("dd/MM/yyyy"));
}
}  // namespace

// The card voucher: card, card number, holder, expiry, establishment, voucher, terminal, batch, payment form,
// amount, instalments, currency, till, cashier, authorisation, related voucher, related document, shop code,
// and whether the shop's copy, the customer's copy and the signature line print.
ImpresoraSimulada::Resultado ImpresoraSimulada::DNFHTC_(MemoriaFiscal& m, const Argumentos& a) {
    const int numero = ++m.numeros["dnfh"];
    ImprimeEncabezado(m, QStringLiteral("CUPÓN DE TARJETA Nro ") + NumeroDocumento(numero));
    Imprime(Renglon(QStringLiteral("Tarjeta"), a[0]));
    Imprime(Renglon(QStringLiteral("Número"), a[1]));
    Imprime(Renglon(QStringLiteral("Titular"), a[2]));
    Imprime(Renglon(QStringLiteral("Vencimiento"), Fecha(a[3])));
    Imprime(Renglon(QStringLiteral("Establecimiento"), a[4]));
    Imprime(Renglon(QStringLiteral("Cupón"), a[5]));
    Imprime(Renglon(QStringLiteral("Terminal"), a[6]));
    Imprime(Renglon(QStringLiteral("Lote"), a[7]));
    Imprime(Renglon(QStringLiteral("Forma de pago"), a[8]));
    Imprime(Renglon(QStringLiteral("Importe ") + a[11], Importe(a.Largo(9))));
    Imprime(Renglon(QStringLiteral("Cuotas"), a[10]));
    Imprime(Renglon(QStringLiteral("Caja / cajero"), a[12] + QStringLiteral(" / ") + a[13]));
    Imprime(Renglon(QStringLiteral("Autorización"), a[14]));
    Imprime(Renglon(QStringLiteral("Comprobante asociado"), a[15] + QStringLiteral(" / ") + a[16]));
    Imprime(Renglon(QStringLiteral("Comercio"), a[17]));
    if (a[18] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA COMERCIO")));
    if (a[19] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA CLIENTE")));
    if (a[20] == QLatin1String("P")) Imprime(QStringLiteral("Firma: ______________________________"));
    Imprime(Raya(QLatin1Char('=')));
    m.diarios.dnfh++;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}

// The health-insurance document: insurer, three plan lines, member number, member, date, two address lines,
// remarks, related document, two extra lines, and five print options (P prints, N does not).
ImpresoraSimulada::Resultado ImpresoraSimulada::DNFHOS_(MemoriaFiscal& m, const Argumentos& a) {
    const int numero = ++m.numeros["dnfh"];
    ImprimeEncabezado(m, QStringLiteral("OBRA SOCIAL Nro ") + NumeroDocumento(numero));
    Imprime(Renglon(QStringLiteral("Obra social"), a[0]));
    for (int i = 1; i <= 3; ++i)
        if (!a[i].isEmpty()) Imprime(QStringLiteral("  ") + a[i]);
    Imprime(Renglon(QStringLiteral("Afiliado"), a[4] + QLatin1Char(' ') + a[5]));
    Imprime(Renglon(QStringLiteral("Fecha"), Fecha(a[6])));
    for (int i = 7; i <= 8; ++i)
        if (!a[i].isEmpty()) Imprime(QStringLiteral("Domicilio: ") + a[i]);
    if (!a[9].isEmpty()) Imprime(QStringLiteral("Observaciones: ") + a[9]);
    Imprime(Renglon(QStringLiteral("Documento asociado"), a[10]));
    for (int i = 11; i <= 12; ++i)
        if (!a[i].isEmpty()) Imprime(a[i]);
    if (a[13] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA OBRA SOCIAL")));
    if (a[14] == QLatin1String("P")) Imprime(Centrado(QStringLiteral("COPIA AFILIADO")));
    if (a[15] == QLatin1String("P")) Imprime(QStringLiteral("Firma del afiliado: ____________________"));
    if (a[16] == QLatin1String("P")) Imprime(QStringLiteral("Aclaración: ____________________________"));
    if (a[17] == QLatin1String("P")) Imprime(QStringLiteral("Sello del prestador: ___________________"));
    Imprime(Raya(QLatin1Char('=')));
    m.diarios.dnfh++;
    respuestas_[0] = QString::number(numero);
    return Resultado::Acepta;
}
