// The fiscal memory as JSON: what ImpresoraSimulada.json holds, written whole and read back; anything that is not
// such a memory reads as none.
#include "MemoriaFiscal.h"

#include <limits>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr qint64 kMenor = std::numeric_limits<qint64>::min();
constexpr qint64 kMayor = std::numeric_limits<qint64>::max();
constexpr int kMenorInt = std::numeric_limits<int>::min();
constexpr qint64 kDosSiglos = 200LL * 366 * 24 * 3600;

// Reads the numbers of a saved memory: a missing one takes its default; one that is not a whole number between
// its limits (1e300, 9.2e19, 1.5, a text) makes the memory unreadable.
struct Lector {
    bool valida = true;
    qint64 Numero(const QJsonValue& v, qint64 porDefecto, qint64 minimo, qint64 maximo = kMayor) {
        if (v.isUndefined()) return porDefecto;
        // A value that is not a whole number in 64 bits gives each default back, so the two differ.
        const qint64 n = v.toInteger(0);
        if (!v.isDouble() || n != v.toInteger(1) || n < minimo || n > maximo) {
            valida = false;
            return porDefecto;
        }
        return n;
    }
    int Entero(const QJsonValue& v, int porDefecto, int minimo = 0) {
        return int(Numero(v, porDefecto, minimo, std::numeric_limits<int>::max()));
    }
};

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

bool MemoriaFiscal::Documento::IvaCabe() const {
    qint64 total = 0;
    for (qint64 v : ivaPorTasa)
        if (__builtin_add_overflow(total, v, &total)) return false;
    return true;
}

QByteArray MemoriaFiscal::AJson() const {
    QJsonObject doc{
        {"clase", documento.clase},
        {"letra", documento.letra},
        {"comprador", documento.comprador},
        {"numero", documento.numero},
        {"items", documento.items},
        {"hoja", documento.hoja},
        {"importe", QJsonValue(qint64(documento.importe))},
        {"descuentos", QJsonValue(qint64(documento.descuentos))},
        {"pagado", QJsonValue(qint64(documento.pagado))},
        {"pagando", documento.pagando},
    };
    QJsonObject iva;
    for (auto it = documento.ivaPorTasa.begin(); it != documento.ivaPorTasa.end(); ++it)
        iva[QString::number(it.key())] = QJsonValue(qint64(it.value()));
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
        {"ventas", QJsonValue(qint64(diarios.ventas))},
        {"iva", QJsonValue(qint64(diarios.iva))},
        {"descuentos", QJsonValue(qint64(diarios.descuentos))},
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
        {"desfaseReloj", QJsonValue(qint64(desfaseReloj))},
    };
    return QJsonDocument(raiz).toJson(QJsonDocument::Indented);
}

std::optional<MemoriaFiscal> MemoriaFiscal::DesdeJson(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject()) return std::nullopt;
    const QJsonObject r = json.object();
    if (r.value("version").toInt() != 1) return std::nullopt;

    Lector l;
    MemoriaFiscal m;
    m.puerto = l.Entero(r.value("puerto"), 1, kMenorInt);
    m.baud = l.Entero(r.value("baud"), 9600, kMenorInt);
    m.ventana = r.value("ventana").toBool(true);
    const QString estado = r.value("estado").toString(QStringLiteral("Libre"));
    bool conocido = false;
    for (int i = 0; i <= int(EstadoFiscal::DNFSlip); ++i)
        if (estado == QLatin1String(NombreEstado(EstadoFiscal(i)))) {
            m.estado = EstadoFiscal(i);
            conocido = true;
        }
    if (!conocido) return std::nullopt;

    // Numbers and counts are never negative; what a document adds up to has no more discounts than amount.
    const QJsonObject doc = r.value("documento").toObject();
    m.documento.clase = doc.value("clase").toString();
    m.documento.letra = doc.value("letra").toString();
    m.documento.comprador = doc.value("comprador").toString();
    m.documento.numero = l.Entero(doc.value("numero"), 0);
    m.documento.items = l.Entero(doc.value("items"), 0);
    m.documento.hoja = l.Entero(doc.value("hoja"), 1, 1);
    m.documento.importe = l.Numero(doc.value("importe"), 0, 0);
    m.documento.descuentos = l.Numero(doc.value("descuentos"), 0, 0, m.documento.importe);
    m.documento.pagado = l.Numero(doc.value("pagado"), 0, 0);
    m.documento.pagando = doc.value("pagando").toBool();
    const QJsonObject iva = doc.value("ivaPorTasa").toObject();
    for (auto it = iva.begin(); it != iva.end(); ++it)
        m.documento.ivaPorTasa[it.key().toInt()] = l.Numero(*it, 0, kMenor);
    if (!m.documento.IvaCabe()) return std::nullopt;

    const QJsonObject nums = r.value("numeros").toObject();
    for (auto it = nums.begin(); it != nums.end(); ++it) m.numeros[it.key()] = l.Entero(*it, 0);
    const QJsonObject tot = r.value("diarios").toObject();
    m.diarios.tiques = l.Entero(tot.value("tiques"), 0);
    m.diarios.tiquesFactura = l.Entero(tot.value("tiquesFactura"), 0);
    m.diarios.facturas = l.Entero(tot.value("facturas"), 0);
    m.diarios.cancelados = l.Entero(tot.value("cancelados"), 0);
    m.diarios.dnf = l.Entero(tot.value("dnf"), 0);
    m.diarios.dnfh = l.Entero(tot.value("dnfh"), 0);
    m.diarios.ventas = l.Numero(tot.value("ventas"), 0, 0);
    m.diarios.iva = l.Numero(tot.value("iva"), 0, kMenor);
    m.diarios.descuentos = l.Numero(tot.value("descuentos"), 0, 0);

    const QJsonObject lins = r.value("lineas").toObject();
    for (auto it = lins.begin(); it != lins.end(); ++it) m.lineas[it.key().toInt()] = it->toString();
    const QJsonArray formato = r.value("formatoHoja").toArray();
    if (formato.size() == 2) m.columnas = l.Entero(formato[0], 90), m.lineasHoja = l.Entero(formato[1], 72);
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
        m.zonas[it.key().toInt()] = Zona{l.Entero(z[0], 0), l.Entero(z[1], 0), l.Entero(z[2], 0), l.Entero(z[3], 0)};
    }
    const QJsonArray slip = r.value("formatoSlip").toArray();
    if (slip.size() == 2) m.columnasSlip = l.Entero(slip[0], 50), m.lineasSlip = l.Entero(slip[1], 88);
    // The printer's clock within two centuries of the workstation's.
    m.desfaseReloj = l.Numero(r.value("desfaseReloj"), 0, -kDosSiglos, kDosSiglos);
    if (!l.valida) return std::nullopt;
    return m;
}
