// Every sample document of the console, run in a row on a fresh device: each call is accepted, and then the
// paper roll and the memory hold what was printed and loaded.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Impresora.h"

namespace {
struct Llamada {
    const char* op;
    Args args;
};
struct Muestra {
    const char* nombre;
    QList<Llamada> llamadas;
};

// An invoice item: the long form carries three extra description lines.
Args Item(const char* descripcion, const char* precio, bool largo) {
    const char* extra = largo ? "EXTRA" : "";
    return {descripcion, "1000", precio, "2100", "M", "0", "0", extra, extra, extra, "1050", "0"};
}

struct Zona {
    qint16 zona, a, b, c, d;
};
const Zona kZonas[] = {
    {10, 43, 4, 44, 4},   {22, 1, 4, 40, 4},     {24, 1, 5, 40, 7},    {26, 1, 9, 40, 14},    {34, 49, 5, 87, 7},
    {36, 45, 9, 87, 14},  {42, 1, 16, 40, 20},   {44, 1, 21, 40, 22},  {52, 45, 16, 87, 20},  {54, 45, 21, 87, 22},
    {60, 1, 23, 87, 42},  {61, 1, 23, 12, 42},   {62, 14, 23, 34, 42}, {63, 36, 23, 48, 42},  {64, 50, 23, 59, 42},
    {65, 61, 23, 70, 42}, {66, 72, 23, 87, 42},  {70, 1, 23, 87, 42},  {81, 33, 23, 41, 49},  {82, 43, 23, 54, 49},
    {83, 33, 23, 41, 49}, {84, 43, 23, 54, 49},  {85, 56, 23, 62, 49}, {86, 64, 23, 75, 49},  {90, 1, 23, 87, 49},
    {91, 1, 23, 10, 49},  {92, 12, 23, 17, 49},  {93, 19, 23, 31, 49}, {94, 33, 23, 54, 49},  {95, 56, 23, 75, 49},
    {97, 77, 23, 87, 49}, {100, 1, 50, 87, 50},  {101, 1, 50, 55, 50}, {102, 56, 50, 87, 50}, {110, 1, 51, 87, 55},
    {111, 1, 51, 39, 55}, {112, 41, 51, 87, 55}, {120, 1, 56, 87, 58}, {142, 1, 59, 40, 63},  {144, 45, 59, 87, 63},
};
const QString kDel = QString(QChar(0x7F));
struct Linea {
    qint16 linea;
    const char* texto;  // nullptr: the line is cleared
};
const Linea kLineas[] = {
    {1, nullptr},
    {2, nullptr},
    {3, nullptr},
    {4, nullptr},
    {5, nullptr},
    {11, "Gracias por su compra"},
    {12, nullptr},
    {13, nullptr},
    {14, nullptr},
    {50, "Dato fijo"},
    {51, "Capital Federal"},
    {52, nullptr},
    {53, "Belgrano 951"},
    {54, "Capital Federal"},
    {55, nullptr},
    {57, "Ingresos Brutos"},
    {58, nullptr},
    {59, nullptr},
    {60, nullptr},
    {61, nullptr},
    {62, "Inicio de actividades 01/01/2000"},
    {63, nullptr},
    {64, nullptr},
    {65, nullptr},
};

QList<Llamada> Diseno() {
    QList<Llamada> r{{"FormatoHoja", {qint16(90), qint16(72)}},
                     {"SeteaDiseno", {"P", "D", "M", "F", "A", "N"}},
                     {"SeteaDiseno", {"P", "P", "R", "S", "U", "90", "72"}}};
    for (const Zona& z : kZonas) {
        if (z.zona == 70) r << Llamada{"SeteaDiseno", {"P", "C", "O", "901", "0", "20"}};
        r << Llamada{"SetZona", {z.zona, z.a, z.b, z.c, z.d}};
    }
    for (const Linea& l : kLineas) r << Llamada{"HeaderTrailer", {"S", l.linea, l.texto ? QString(l.texto) : kDel}};
    return r;
}

QList<Muestra> Muestras() {
    return {
        {"TIQUE",
         {{"TiqueAbrir", {"G"}},
          {"TiqueItem", {"ARTICULO 1", "1000", "100", "2100", "M", "0", "0"}},
          {"TiqueSubtotal", {"P", "LINDO SUB"}},
          {"TiquePago", {"PAGO1", "200", "T"}},
          {"TiqueCerrar", {}}}},
        {"TIQUE FACTURA A",
         {{"FacturaAbrir", AbreFactura("T", "G")},
          {"FacturaItem", Item("ARTICULO 1", "100", true)},
          {"FacturaSubtotal", {"P", "LINDO SUB"}},
          {"FacturaPago", {"PAGO1", "200", "T"}},
          {"FacturaCerrar", {"T", "A", "HOLA"}}}},
        {"FACTURA A",
         {{"FacturaAbrir", AbreFactura("F", "C")},
          {"FacturaItem", Item("ARTICULO 1", "100", false)},
          {"FacturaPago", {"DESCUENTO", "20", "D"}},
          {"FacturaPago", {"Efectivo", "100", "T"}},
          {"FacturaPago", {"Cheque", "100", "T"}},
          {"FacturaCerrar", {"F", "A", "Gracias por su compra"}}}},
        {"FACTURA A con Transporte",
         {{"FacturaAbrir", AbreFactura("F", "C")},
          {"FacturaItem", Item("ARTICULO 1", "100", true)},
          {"FacturaItem", Item("ARTICULO 2", "1200", false)},
          {"FinHoja", {}},
          {"SiguienteHoja", {}},
          {"FacturaItem", Item("ARTICULO 3", "1000", false)},
          {"FacturaPago", {"PAGO1", "3000", "T"}},
          {"FacturaCerrar", {"F", "A", "HOLA"}}}},
        {"DNF", {{"DNFAbrir", {}}, {"DNFTexto", {QString::fromUtf8("á12345678à")}}, {"DNFCerrar", {}}}},
        {"DNFH TC y OS",
         {{"DNFHTC", {"VISA",  "12", "PEPE", "991231", "23", "46", "57", "89", "CONTA", "100", "2",
                      "PESOS", "2",  "4",    "5",      "7",  "8",  "44", "P",  "P",     "P"}},
          {"DNFHOS",
           {"MEDICUS", "CO 1", "CO 2", "CO 3", "123", "PEP", "991030", "ADRESS", "ADDRESS 2", "NADA", "12", "EXTRA 1",
            "EXTRA 2", "P", "P", "P", "P", "P"}}}},
        {"HORA Y FECHA", {{"HoraFecha", {"S", "260315", "103000"}}}},
        {"CAJON", {{"Cajon", {"1"}}, {"Cajon", {"2"}}}},
        {"HEADERS", {{"HeaderTrailer", {"S", "1", "PRUEBA HEADER"}}, {"HeaderTrailer", {"G", "1"}}}},
        {"DNF por SLIP",
         {{"SlipPreparar", {}},
          {"FormatoHoja", {qint16(50), qint16(88)}},
          {"SlipHojaColocada", {}},
          {"DNFSlipAbrir", {}},
          {"DNFTexto", {"       E J E M P L O"}},
          {"DNFTexto", {"S L I P   N O   F I S C A L"}},
          {"DNFTexto", {" P O R   O C X F I S C A L"}},
          {"DNFCerrar", {}}}},
        {"SETEA diseño de FACTURA", Diseno()},
        {"VER ESTADO", {{"VerEstado", {}}}},
    };
}

// What a fiscal sample adds up to, in cents, from its item and discount calls: an invoice "A" adds 21% on net
// prices; a ticket's prices already include it.
qint64 Total(const Muestra& m) {
    qint64 total = 0;
    for (const Llamada& l : m.llamadas) {
        const QString op = l.op;
        if (op == "TiqueItem" || op == "FacturaItem") {
            const qint64 neto = l.args[1].ATexto().toLongLong() * l.args[2].ATexto().toLongLong() / 1000;
            const qint64 tasa = l.args[3].ATexto().toLongLong();
            total += neto + (op == "FacturaItem" ? (neto * tasa + 5000) / 10000 : 0);
        }
        if ((op == "FacturaPago" || op == "TiquePago") && l.args[2].ATexto() == "D")
            total -= l.args[1].ATexto().toLongLong();
    }
    return total;
}

qint64 Pagado(const Muestra& m) {
    qint64 pagado = 0;
    for (const Llamada& l : m.llamadas)
        if (QString(l.op).endsWith("Pago") && l.args[2].ATexto() == "T") pagado += l.args[1].ATexto().toLongLong();
    return pagado;
}

QString Importe(qint64 c) {
    return QStringLiteral("%1,%2").arg(c / 100).arg(c % 100, 2, 10, QLatin1Char('0'));
}

int Cuenta(const QList<Muestra>& muestras, const char* op) {
    int n = 0;
    for (const Muestra& m : muestras)
        for (const Llamada& l : m.llamadas) n += QString(l.op) == op;
    return n;
}

using MuestrasTest = ConImpresora;
}  // namespace

TEST_F(MuestrasTest, TodasLasMuestrasSeguidasDesdeUnaImpresoraNueva) {
    ImpresoraSimulada imp;
    Conecta(imp);
    const QList<Muestra> muestras = Muestras();

    // 1. Every call of every sample is accepted.
    qint64 ventas = 0;
    for (const Muestra& m : muestras) {
        for (const Llamada& l : m.llamadas) {
            ASSERT_TRUE(imp.Invoca(l.op, l.args)) << m.nombre << " " << l.op << ": " << imp.Estado2().toStdString();
        }
        if (QString(m.nombre) == "HEADERS") {
            EXPECT_EQ(imp.CampoRespuesta7(), "PRUEBA HEADER");
        }
        if (QString(m.nombre) == "VER ESTADO") {
            EXPECT_EQ(imp.CampoRespuesta1(), QString::number(Cuenta(muestras, "TiqueAbrir")));
            EXPECT_EQ(imp.CampoRespuesta2(), QString::number(Cuenta(muestras, "FacturaAbrir")));
            EXPECT_EQ(imp.CampoRespuesta4(), QString::number(Cuenta(muestras, "DNFCerrar")));
            EXPECT_EQ(imp.CampoRespuesta5(), "2");
            EXPECT_EQ(imp.CampoRespuesta7(), "260315 103000") << "the date and time set";
        }
        ventas += Total(m);
    }
    EXPECT_EQ(imp.Estado1(), "0600 Impresora lista");
    EXPECT_EQ(imp.Estado2(), "0600 Jornada fiscal abierta");

    // 2. The roll shows each document readably: its kind and number, items, totals, payments and change.
    const QString papel = Papel();
    for (const char* texto : {"TIQUE Nro 0001-00000001",
                              "TIQUE FACTURA \"A\" Nro 0001-00000001",
                              "FACTURA \"A\" Nro 0001-00000002",
                              "FACTURA \"A\" Nro 0001-00000003",
                              "Cliente: PEPE LE BOU",
                              "CUIT: 30-61410471-2",
                              "LINDO SUB",
                              "EXTRA",
                              "DESCUENTO",
                              "Cheque",
                              "--- fin de la hoja 1 ---",
                              "Hoja 2",
                              "ARTICULO 3",
                              "á12345678à",
                              "CUPÓN DE TARJETA",
                              "OBRA SOCIAL Nro 0001-00000002",
                              "MEDICUS",
                              "--- apertura de cajón 1 ---",
                              "--- apertura de cajón 2 ---",
                              "[SLIP]        E J E M P L O",
                              "[SLIP] S L I P   N O   F I S C A L",
                              "Fecha y hora ajustadas"})
        EXPECT_TRUE(papel.contains(QString::fromUtf8(texto))) << texto;
    for (const Muestra& m : muestras) {
        if (!Pagado(m)) continue;
        const QString lineaTotal = papel.split('\n').filter("TOTAL").join('|');
        EXPECT_TRUE(lineaTotal.contains(Importe(Total(m)))) << m.nombre << " " << lineaTotal.toStdString();
        const QString vuelto = papel.split('\n').filter("Su vuelto").join('|');
        EXPECT_TRUE(vuelto.contains(Importe(Pagado(m) - Total(m)))) << m.nombre << " " << vuelto.toStdString();
    }

    // 3. The memory holds the layout loaded: forty zones, the sheet format, the lines set and cleared.
    const QJsonObject memoria = QJsonDocument::fromJson(Memoria()).object();
    const QJsonObject zonas = memoria["zonas"].toObject();
    EXPECT_EQ(zonas.size(), int(std::size(kZonas)));
    for (const Zona& z : kZonas) {
        const QJsonArray v = zonas[QString::number(z.zona)].toArray();
        EXPECT_EQ(v, QJsonArray({z.a, z.b, z.c, z.d})) << z.zona;
    }
    EXPECT_EQ(memoria["formatoHoja"].toArray(), QJsonArray({90, 72}));
    for (const Linea& l : kLineas) {
        ASSERT_TRUE(imp.HeaderTrailer("G", l.linea));
        EXPECT_EQ(imp.CampoRespuesta7(), l.texto ? QString(l.texto) : QString()) << l.linea;
    }

    // 4. The X close reports the day so far; the Z close reports it, counts itself and starts a new day.
    ASSERT_TRUE(imp.RealizarCierre("X", QString("P")));
    EXPECT_EQ(imp.CampoRespuesta2(), "4");
    EXPECT_EQ(imp.CampoRespuesta4(), QString::number(ventas));
    EXPECT_EQ(imp.CampoRespuesta8(), "20") << "the invoice's discount";
    ASSERT_TRUE(imp.RealizarCierre("Z"));
    EXPECT_EQ(imp.CampoRespuesta1(), "1");
    EXPECT_EQ(imp.CampoRespuesta4(), QString::number(ventas));
    EXPECT_TRUE(Papel().contains("INFORME DIARIO DE CIERRE Z Nro 1"));
    EXPECT_TRUE(
        Papel().contains("Total ventas" + QString(40 - 12 - 1 - Importe(ventas).size(), ' ') + " " + Importe(ventas)));
    ASSERT_TRUE(imp.RealizarCierre("X", QString("P")));
    EXPECT_EQ(imp.CampoRespuesta2(), "0");
    EXPECT_EQ(imp.CampoRespuesta4(), "0");
    EXPECT_EQ(imp.Estado2(), "0400 Controlador fiscal listo");

    // 5. Numbers go on after the close.
    ASSERT_TRUE(imp.VerEstado());
    EXPECT_EQ(imp.CampoRespuesta2(), "3");
    EXPECT_EQ(imp.CampoRespuesta6(), "1");
}
