// The fiscal memory as JSON: what ImpresoraSimulada.json holds, written whole and read back; anything that is not
// such a memory reads as none.
#include "MemoriaFiscal.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
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
