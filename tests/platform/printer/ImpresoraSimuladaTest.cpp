// The simulated printer's rules: attachment by port and speed, commands refused out of state or with bad fields
// (and then nothing changes), and the memory file: reloaded, set aside when unreadable, never written in place.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>

#include "Impresora.h"

namespace {
struct Llamada {
    const char* op;
    Args args;
};

// The ways of reaching each state from idle.
const QList<Llamada> kItemTique{{"TiqueItem", {"ART", "1000", "100", "2100", "M", "0", "0"}}};
const QList<Llamada> kItemFactura{
    {"FacturaItem", {"ART", "1000", "100", "2100", "M", "0", "0", "", "", "", "1050", "0"}}};

QList<Llamada> Hasta(const QString& estado) {
    if (estado == "Libre") return {};
    if (estado == "Tique") return {{"TiqueAbrir", {"G"}}};
    if (estado == "TiqueConItem") return Hasta("Tique") + kItemTique;
    if (estado == "TiquePagado") return Hasta("TiqueConItem") + QList<Llamada>{{"TiquePago", {"P", "100", "T"}}};
    if (estado == "TiqueFactura") return {{"FacturaAbrir", AbreFactura("T", "G")}};
    if (estado == "Factura") return {{"FacturaAbrir", AbreFactura("F")}};
    if (estado == "FacturaConItem") return Hasta("Factura") + kItemFactura;
    if (estado == "FinDeHoja") return Hasta("FacturaConItem") + QList<Llamada>{{"FinHoja", {}}};
    if (estado == "DNF") return {{"DNFAbrir", {}}};
    if (estado == "SlipPreparado") return {{"SlipPreparar", {}}};
    if (estado == "SlipColocado") return Hasta("SlipPreparado") + QList<Llamada>{{"SlipHojaColocada", {}}};
    if (estado == "DNFSlip") return Hasta("SlipColocado") + QList<Llamada>{{"DNFSlipAbrir", {}}};
    ADD_FAILURE() << "no such state " << estado.toStdString();
    return {};
}

struct Caso {
    const char* estado;
    const char* op;
    Args args;
};

class ImpresoraSimuladaTest : public ConImpresora {
  protected:
    // Runs a case's preparation, then the refused command, and checks that nothing changed: the memory file,
    // the paper roll and the state bits stay as they were, and Estado2 carries the expected refusal.
    void EsRechazado(const Caso& c, quint16 bit, const char* texto) {
        const std::string nombre = std::string(c.estado) + " " + c.op;
        QDir(Carpeta()).removeRecursively();
        QDir().mkpath(Carpeta());
        ImpresoraSimulada imp;
        Conecta(imp);
        for (const Llamada& paso : Hasta(c.estado)) ASSERT_TRUE(imp.Invoca(paso.op, paso.args)) << nombre << paso.op;
        const QByteArray memoria = Memoria();
        const QString papel = Papel();
        const quint16 p1 = imp.Palabra1(), p2 = imp.Palabra2() & ~Bit2::DocumentoCancelado;

        EXPECT_FALSE(imp.Invoca(c.op, c.args)) << nombre;
        EXPECT_EQ(imp.Palabra2() & (Bit2::FueraDeEstado | Bit2::ArgumentoInvalido | Bit2::ComandoDesconocido), bit)
            << nombre;
        EXPECT_TRUE(imp.Estado2().contains(QString::fromUtf8(texto))) << nombre << " " << imp.Estado2().toStdString();
        EXPECT_EQ(Memoria(), memoria) << nombre;
        EXPECT_EQ(Papel(), papel) << nombre;
        EXPECT_EQ(imp.Palabra1(), p1) << nombre;
        EXPECT_EQ(imp.Palabra2() & ~bit, p2) << nombre;
        for (int i = 1; i <= 8; ++i) EXPECT_EQ(imp.Lee(QStringLiteral("CampoRespuesta%1").arg(i)), "") << nombre;
    }
};
}  // namespace

TEST_F(ImpresoraSimuladaTest, SoloRespondeEnSuPuertoYVelocidad) {
    {
        ImpresoraSimulada imp;
        EXPECT_FALSE(imp.VerEstado());
        EXPECT_EQ(imp.Estado1(), "0001 Sin comunicación: puerto y velocidad sin asignar");
        EXPECT_EQ(imp.Estado2(), "0000 Sin respuesta del controlador fiscal");
        imp.Puerto(1);
        EXPECT_FALSE(imp.VerEstado()) << "speed not written yet";
        imp.Baud("19200");
        EXPECT_FALSE(imp.VerEstado());
        EXPECT_EQ(imp.Estado1(), "0001 Sin comunicación: la impresora está en COM1 a 9600");
        imp.Puerto(2);
        imp.Baud("9600");
        EXPECT_FALSE(imp.TiqueAbrir("G"));
        imp.Puerto(1);
        EXPECT_TRUE(imp.VerEstado());
        EXPECT_EQ(imp.Estado1(), "0600 Impresora lista");
        EXPECT_EQ(imp.Estado2(), "0400 Controlador fiscal listo");
        EXPECT_EQ(imp.CampoRespuesta8(), "COM1 9600");
    }
    // A device set up elsewhere answers only there.
    QFile f(Ruta("ImpresoraSimulada.json"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({"version": 1, "puerto": 3, "baud": 19200})");
    f.close();
    ImpresoraSimulada imp;
    Conecta(imp);
    EXPECT_FALSE(imp.VerEstado());
    imp.Puerto(3);
    imp.Baud("19200");
    EXPECT_TRUE(imp.VerEstado());
}

TEST_F(ImpresoraSimuladaTest, PuertoOVelocidadImposiblesLanzanYNoCambianNada) {
    ImpresoraSimulada imp;
    Conecta(imp);
    const Variant puertos[] = {qint16(0), qint16(5), qint16(-1), "COM1"};
    for (const Variant& p : puertos) {
        try {
            imp.Escribe("Puerto", p);
            ADD_FAILURE() << "Puerto " << p.ATexto().toStdString() << " was taken";
        } catch (const ErrorEjecucion& e) {
            EXPECT_TRUE(e.Number() == Err::ArgumentoInvalido || e.Number() == Err::TiposNoCoinciden)
                << p.ATexto().toStdString();
        }
    }
    for (const char* baud : {"1234", "", "96OO", "9600 bps", "-9600"}) {
        try {
            imp.Baud(baud);
            ADD_FAILURE() << "Baud " << baud << " was taken";
        } catch (const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), Err::ArgumentoInvalido) << baud;
        }
    }
    EXPECT_TRUE(imp.VerEstado()) << "the refused writes left COM1 at 9600";
    for (const char* baud : {"110", "2400", "115200"}) EXPECT_NO_THROW(imp.Baud(baud)) << baud;
}

TEST_F(ImpresoraSimuladaTest, ComandoFueraDeEstadoNoCambiaNada) {
    const Caso casos[] = {
        {"Libre", "TiqueItem", kItemTique[0].args},
        {"Libre", "TiqueCerrar", {}},
        {"Libre", "TiquePago", {"P", "100", "T"}},
        {"Libre", "FacturaItem", kItemFactura[0].args},
        {"Libre", "FacturaPago", {"", "0", "C"}},
        {"Libre", "FacturaCerrar", {"F", "A", "X"}},
        {"Libre", "FinHoja", {}},
        {"Libre", "SiguienteHoja", {}},
        {"Libre", "DNFTexto", {"X"}},
        {"Libre", "DNFCerrar", {}},
        {"Libre", "SlipHojaColocada", {}},
        {"Libre", "DNFSlipAbrir", {}},
        {"Tique", "TiqueAbrir", {"G"}},
        {"Tique", "FacturaAbrir", AbreFactura("F")},
        {"Tique", "DNFAbrir", {}},
        {"Tique", "RealizarCierre", {"Z"}},
        {"Tique", "HeaderTrailer", {"S", "1", "X"}},
        {"Tique", "SetZona", {qint16(10), qint16(1), qint16(1), qint16(2), qint16(2)}},
        {"Tique", "FacturaPago", {"", "0", "C"}},
        {"Tique", "TiquePago", {"P", "100", "T"}},  // nothing sold yet
        {"TiquePagado", "TiqueItem", kItemTique[0].args},
        {"TiquePagado", "TiqueSubtotal", {"P", "SUB"}},
        {"TiquePagado", "TiquePago", {"P", "100", "T"}},  // already paid in full
        {"TiqueFactura", "FinHoja", {}},                  // a ticket-invoice has no sheets
        {"TiqueFactura", "TiqueCerrar", {}},
        {"TiqueFactura", "TiqueItem", kItemTique[0].args},
        {"TiqueFactura", "FacturaCerrar", {"T", "A", "X"}},    // nothing sold
        {"Factura", "FinHoja", {}},                            // no item on the sheet
        {"FacturaConItem", "FacturaCerrar", {"F", "A", "X"}},  // not paid
        {"FinDeHoja", "FacturaItem", kItemFactura[0].args},
        {"FinDeHoja", "FacturaCerrar", {"F", "A", "X"}},
        {"FinDeHoja", "FinHoja", {}},
        {"FinDeHoja", "FacturaPago", {"P", "100", "T"}},
        {"DNF", "TiqueAbrir", {"G"}},
        {"DNF", "DNFAbrir", {}},
        {"DNF", "RealizarCierre", {"X", "P"}},
        {"SlipPreparado", "DNFSlipAbrir", {}},
        {"SlipPreparado", "DNFTexto", {"X"}},
        {"SlipPreparado", "SetZona", {qint16(10), qint16(1), qint16(1), qint16(2), qint16(2)}},
        {"SlipColocado", "FormatoHoja", {qint16(50), qint16(88)}},
        {"SlipColocado", "DNFTexto", {"X"}},
        {"DNFSlip", "SlipPreparar", {}},
        {"DNFSlip", "HoraFecha", {"S", "260315", "103000"}},
    };
    for (const Caso& c : casos) EsRechazado(c, Bit2::FueraDeEstado, "Comando no válido en el estado actual");
}

TEST_F(ImpresoraSimuladaTest, CampoInvalidoNoCambiaNada) {
    auto item = [](int i, const char* valor) {
        Args a = kItemTique[0].args;
        a[i] = valor;
        return a;
    };
    auto factura = [](int i, const char* valor) {
        Args a = AbreFactura("F");
        a[i] = valor;
        return a;
    };
    const Caso casos[] = {
        {"Libre", "TiqueAbrir", {"X"}},
        {"Libre", "TiqueAbrir", {}},
        {"Libre", "TiqueAbrir", {"G", "G"}},
        {"Tique", "TiqueItem", item(1, "1,5")},
        {"Tique", "TiqueItem", item(1, "")},
        {"Tique", "TiqueItem", item(1, "0")},
        {"Tique", "TiqueItem", item(2, "-100")},
        {"Tique", "TiqueItem", item(3, "21.00")},
        {"Tique", "TiqueItem", item(4, "X")},
        {"Tique", "TiqueItem", item(0, "")},
        {"Tique", "TiqueItem", item(0, "ARTICULO CON UNA DESCRIPCION DEMASIADO LARGA")},
        {"Tique", "TiqueItem", item(0, "DOS\nLINEAS")},
        {"TiqueConItem", "TiquePago", {"P", "100", "E"}},
        {"TiqueConItem", "TiquePago", {"P", "2x", "T"}},
        {"TiqueConItem", "TiquePago", {"", "100", "T"}},
        {"TiqueConItem", "TiquePago", {"DESCUENTO", "500", "D"}},  // more than the total
        {"Libre", "FacturaAbrir", factura(11, "30614104713")},     // wrong check digit
        {"Libre", "FacturaAbrir", factura(11, "3061410471")},
        {"Libre", "FacturaAbrir", factura(2, "D")},
        {"Libre", "FacturaAbrir", factura(10, "XYZ")},
        {"Libre", "FacturaAbrir", factura(7, "F")},  // an "A" for a final consumer
        {"Libre", "FacturaAbrir", factura(0, "X")},
        {"Libre", "FacturaAbrir", AbreFactura("F").mid(0, 18)},
        {"Factura", "FacturaItem", kItemFactura[0].args.mid(0, 11)},
        {"FacturaConItem", "FacturaCerrar", {"T", "A", "X"}},  // not the kind opened
        {"Libre", "HeaderTrailer", {"S", "0", "X"}},
        {"Libre", "HeaderTrailer", {"S", qint16(66), "X"}},
        {"Libre", "HeaderTrailer", {"S", "1", "UNA LINEA DE ENCABEZADO QUE NO CABE EN EL PAPEL"}},
        {"Libre", "HeaderTrailer", {"S", "1"}},
        {"Libre", "HeaderTrailer", {"G", "1", "X"}},
        {"Libre", "HeaderTrailer", {"X", "1"}},
        {"Libre", "HoraFecha", {"S", "261315", "103000"}},
        {"Libre", "HoraFecha", {"S", "260315", "250000"}},
        {"Libre", "HoraFecha", {"G", "260315", "103000"}},
        {"Libre", "Cajon", {"3"}},
        {"Libre", "FormatoHoja", {qint16(10), qint16(72)}},
        {"Libre", "FormatoHoja", {"noventa", qint16(72)}},
        {"Libre", "SetZona", {qint16(10), qint16(43), qint16(4), qint16(91), qint16(4)}},  // beyond 90 columns
        {"Libre", "SetZona", {qint16(10), qint16(44), qint16(4), qint16(43), qint16(4)}},  // A > C
        {"Libre", "SetZona", {qint16(10), qint16(1), qint16(9), qint16(2), qint16(8)}},    // B > D
        {"Libre", "SetZona", {qint16(10), qint16(1), qint16(60), qint16(2), qint16(73)}},  // beyond 72 lines
        {"Libre", "SetZona", {qint16(0), qint16(1), qint16(1), qint16(2), qint16(2)}},
        {"Libre", "SeteaDiseno", {"P", "X", "M", "F", "A", "N"}},
        {"Libre", "SeteaDiseno", {"Q", "D", "M", "F", "A", "N"}},
        {"Libre", "SeteaDiseno", {"P", "D", "Z", "F", "A", "N"}},
        {"Libre", "SeteaDiseno", {"P", "P", "R", "S", "U", "90"}},
        {"Libre", "SeteaDiseno", {"P", "C", "O", "9O1", "0", "20"}},
        {"Libre", "RealizarCierre", {"Y"}},
        {"Libre", "RealizarCierre", {"X", "Q"}},
        {"Libre",
         "DNFHOS",
         {"MEDICUS", "", "", "", "123", "PEP", "991330", "", "", "", "12", "", "", "P", "P", "P", "P", "P"}},
        {"DNF", "DNFTexto", {"UNA LINEA NO FISCAL QUE NO CABE EN EL ROLLO"}},
        {"DNF", "DNFTexto", {Variant::Null()}},
    };
    for (const Caso& c : casos) EsRechazado(c, Bit2::ArgumentoInvalido, "Campo de datos inválido");
    EsRechazado({"Libre", "Imprime", {"X"}}, Bit2::ComandoDesconocido, "Comando desconocido");
}

TEST_F(ImpresoraSimuladaTest, LaMemoriaSeRecargaConElDocumentoAbierto) {
    {
        ImpresoraSimulada imp;
        Conecta(imp);
        ASSERT_TRUE(imp.HeaderTrailer("S", "1", QString("PRUEBA HEADER")));
        ASSERT_TRUE(imp.TiqueAbrir("G"));
        ASSERT_TRUE(imp.TiqueItem("ART", "1000", "150", "2100", "M", "0", "0"));
    }
    ImpresoraSimulada imp;
    Conecta(imp);
    EXPECT_TRUE(imp.Estado2().contains("Tique abierto"));
    EXPECT_FALSE(imp.HeaderTrailer("G", "1")) << "the ticket is still open";
    EXPECT_TRUE(imp.TiquePago("EFECTIVO", "200", "T"));
    EXPECT_EQ(imp.CampoRespuesta2(), "50") << "change over the item of the first session";
    EXPECT_TRUE(imp.TiqueCerrar());
    EXPECT_EQ(imp.CampoRespuesta1(), "1");
    EXPECT_TRUE(imp.HeaderTrailer("G", "1"));
    EXPECT_EQ(imp.CampoRespuesta7(), "PRUEBA HEADER");
}

TEST_F(ImpresoraSimuladaTest, UnArchivoIlegibleSeApartaYArrancaDeNuevo) {
    QByteArray buena;
    {
        ImpresoraSimulada imp;
        Conecta(imp);
        ASSERT_TRUE(imp.TiqueAbrir("G"));
        buena = Memoria();
    }
    const QByteArray casos[] = {
        "{ no es json",
        buena.left(buena.size() / 2),  // torn in the middle
        "[]",
        R"({"version": 1, "estado": "Volando"})",
        R"({"version": 7})",
        QByteArray(),
        // Numbers that are not whole or do not fit where they go.
        R"({"version": 1, "documento": {"importe": 1e300}})",
        R"({"version": 1, "diarios": {"ventas": 9.2e19}})",
        R"({"version": 1, "diarios": {"iva": -1e300}})",
        R"({"version": 1, "documento": {"pagado": 1.5}})",
        R"({"version": 1, "documento": {"ivaPorTasa": {"2100": 9223372036854775807, "1050": 1}}})",
        R"({"version": 1, "numeros": {"tique": 2147483648}})",
        R"({"version": 1, "numeros": {"tique": -1}})",
        R"({"version": 1, "diarios": {"tiques": "5"}})",
        R"({"version": 1, "documento": {"importe": 100, "descuentos": 101}})",
        R"({"version": 1, "zonas": {"10": [1, 1, 1e10, 2]}})",
        R"({"version": 1, "desfaseReloj": 1e300})",
    };
    const QString apartado = Ruta("ImpresoraSimulada.json.danado-20260315-103000");
    for (const QByteArray& c : casos) {
        QFile::remove(apartado);
        QFile f(Ruta("ImpresoraSimulada.json"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c);
        f.close();

        ImpresoraSimulada imp;
        Conecta(imp);
        QFile aparte(apartado);
        ASSERT_TRUE(aparte.open(QIODevice::ReadOnly)) << c.constData();
        EXPECT_EQ(aparte.readAll(), c);
        EXPECT_TRUE(imp.VerEstado());
        EXPECT_TRUE(imp.Estado2().contains("Memoria fiscal reiniciada")) << imp.Estado2().toStdString();
        EXPECT_EQ(imp.CampoRespuesta1(), "0") << "a fresh memory";
        EXPECT_TRUE(MemoriaFiscal::DesdeJson(Memoria()).has_value()) << "a new memory was saved";
        EXPECT_TRUE(imp.TiqueAbrir("G")) << "idle again";
    }
}

TEST_F(ImpresoraSimuladaTest, LaMemoriaNuncaSeEscribeEnSuLugar) {
    ImpresoraSimulada imp;
    Conecta(imp);
    ASSERT_TRUE(imp.HeaderTrailer("S", "2", QString("ANTES")));
    const QByteArray antes = Memoria();

    // A second name for the same file keeps the old bytes when the new memory is renamed over it.
    const std::string ruta = Ruta("ImpresoraSimulada.json").toStdString();
    std::filesystem::create_hard_link(ruta, ruta + ".enlace");
    ASSERT_TRUE(imp.HeaderTrailer("S", "2", QString("DESPUES")));
    EXPECT_EQ(Bytes("ImpresoraSimulada.json.enlace"), antes);
    EXPECT_NE(Memoria(), antes);

    // A save cut short leaves the previous memory whole, and the command is refused.
    const QByteArray guardada = Memoria();
    imp.CortaProximoGuardado(25);
    EXPECT_FALSE(imp.HeaderTrailer("S", "2", QString("CORTADO")));
    EXPECT_TRUE(imp.Estado2().contains("Error al guardar la memoria fiscal"));
    EXPECT_EQ(Memoria(), guardada);
    EXPECT_TRUE(imp.HeaderTrailer("G", "2"));
    EXPECT_EQ(imp.CampoRespuesta7(), "DESPUES");
    const QStringList restos = QDir(Carpeta()).entryList({"ImpresoraSimulada.json*"}, QDir::Files);
    EXPECT_EQ(restos, QStringList({"ImpresoraSimulada.json", "ImpresoraSimulada.json.enlace"}));
}

TEST_F(ImpresoraSimuladaTest, CancelarSoloCuandoHayDocumentoAbierto) {
    ImpresoraSimulada imp;
    Conecta(imp);
    EXPECT_FALSE(imp.FacturaPago("", "0", "C"));
    EXPECT_FALSE(imp.TiqueCerrar());

    ASSERT_TRUE(imp.Invoca("FacturaAbrir", AbreFactura("T", "G")));
    ASSERT_TRUE(imp.Invoca("FacturaItem", kItemFactura[0].args));
    EXPECT_TRUE(imp.FacturaPago("", "0", "C"));
    EXPECT_TRUE(imp.Estado2().contains("Documento cancelado"));
    EXPECT_FALSE(imp.TiqueCerrar()) << "the cancel button's last call finds nothing open";

    // A ticket left unpaid is cancelled by closing it.
    ASSERT_TRUE(imp.TiqueAbrir("G"));
    ASSERT_TRUE(imp.Invoca("TiqueItem", kItemTique[0].args));
    EXPECT_TRUE(imp.TiqueCerrar());
    EXPECT_TRUE(imp.Estado2().contains("Documento cancelado"));
    EXPECT_FALSE(imp.TiqueCerrar());

    ASSERT_TRUE(imp.RealizarCierre("X", QString("P")));
    EXPECT_EQ(imp.CampoRespuesta2(), "0") << "no fiscal document was sold";
    EXPECT_EQ(imp.CampoRespuesta3(), "2") << "two were cancelled";
    EXPECT_EQ(Papel().count("*** DOCUMENTO CANCELADO ***"), 2);
}

// A device switched on again (a new program attaching, or its power switch) closes on the paper what a power cut
// left open on the non-fiscal side, so it never stays stuck there; a fiscal document waits to be cancelled.
TEST_F(ImpresoraSimuladaTest, AlEncenderCierraLoNoFiscalAbierto) {
    struct Encendido {
        const char* estado;
        const char* linea;  // the line that closes it; nullptr: it stays open and nothing prints
    };
    const Encendido casos[] = {
        {"DNF", "*** DOCUMENTO NO FISCAL CANCELADO ***"},
        {"DNFSlip", "[SLIP] --- documento no fiscal Nro 1 cancelado ---"},
        {"SlipPreparado", "[SLIP] --- slip cancelado ---"},
        {"SlipColocado", "[SLIP] --- slip cancelado ---"},
        {"Tique", nullptr},
        {"TiqueFactura", nullptr},
        {"FinDeHoja", nullptr},
    };
    for (const auto& c : casos) {
        for (const bool conBoton : {false, true}) {
            const std::string nombre = std::string(c.estado) + (conBoton ? " switched off and on" : " at start");
            QDir(Carpeta()).removeRecursively();
            QDir().mkpath(Carpeta());
            auto primera = std::make_unique<ImpresoraSimulada>();
            Conecta(*primera);
            for (const Llamada& paso : Hasta(c.estado)) ASSERT_TRUE(primera->Invoca(paso.op, paso.args)) << nombre;
            const EstadoFiscal antes = primera->Memoria().estado;
            const QString papel = Papel();
            if (conBoton) {
                EXPECT_TRUE(primera->ApagaYEnciende()) << nombre;
            } else {
                primera.reset();
                primera = std::make_unique<ImpresoraSimulada>();
            }
            ImpresoraSimulada& imp = *primera;
            Conecta(imp);
            const auto enDisco = MemoriaFiscal::DesdeJson(Memoria());
            ASSERT_TRUE(enDisco) << nombre;
            if (!c.linea) {
                EXPECT_EQ(enDisco->estado, antes) << nombre;
                EXPECT_EQ(Papel(), papel) << nombre;
                continue;
            }
            EXPECT_EQ(enDisco->estado, EstadoFiscal::Libre) << nombre;
            EXPECT_EQ(imp.Memoria().estado, EstadoFiscal::Libre) << nombre;
            const QString impreso = Papel().mid(papel.size());
            EXPECT_TRUE(impreso.contains(QString::fromUtf8(c.linea))) << nombre << ": " << impreso.toStdString();
            EXPECT_TRUE(imp.DNFAbrir()) << nombre << ": idle again";
            EXPECT_EQ(imp.CampoRespuesta1(), QString(c.estado).startsWith("DNF") ? "2" : "1")
                << nombre << ": a cancelled document keeps its number";
        }
    }
}

namespace {
// A memory with one field changed, written as the device would have saved it.
struct Limite {
    const char* nombre;
    std::function<void(MemoriaFiscal&)> prepara;
    const char* op;
    Args args;
};

void TiqueAbiertoPagado(MemoriaFiscal& m) {
    m.estado = EstadoFiscal::Tique;
    m.documento.clase = "tique";
    m.documento.numero = 7;
    m.documento.items = 1;
    m.documento.importe = m.documento.pagado = 100;
    m.documento.ivaPorTasa[2100] = 17;
    m.documento.pagando = true;
    m.numeros["tique"] = 7;
}
void TiqueAbierto(MemoriaFiscal& m) {
    TiqueAbiertoPagado(m);
    m.documento.pagado = 0;
    m.documento.pagando = false;
}
constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr qint64 kMax64 = std::numeric_limits<qint64>::max();
}  // namespace

// A fiscal memory's counters never go backwards: at its limit the command is refused as a full memory would
// refuse it, and nothing changes.
TEST_F(ImpresoraSimuladaTest, ContadoresEnSuLimiteRechazanElComando) {
    const Args dnfhos = {"MEDICUS", "",   "", "", "123", "PEP", "991030", "",  "",
                         "",        "12", "", "", "P",   "P",   "P",      "P", "P"};
    const Limite casos[] = {
        {"ticket number", [](MemoriaFiscal& m) { m.numeros["tique"] = kMaxInt; }, "TiqueAbrir", {"G"}},
        {"invoice A number", [](MemoriaFiscal& m) { m.numeros["A"] = kMaxInt; }, "FacturaAbrir", AbreFactura("F")},
        {"DNF number", [](MemoriaFiscal& m) { m.numeros["dnf"] = kMaxInt; }, "DNFAbrir", {}},
        {"DNFH number", [](MemoriaFiscal& m) { m.numeros["dnfh"] = kMaxInt; }, "DNFHOS", dnfhos},
        {"DNFH of the day", [](MemoriaFiscal& m) { m.diarios.dnfh = kMaxInt; }, "DNFHOS", dnfhos},
        {"Z number", [](MemoriaFiscal& m) { m.numeros["z"] = kMaxInt; }, "RealizarCierre", {"Z"}},
        {"X number", [](MemoriaFiscal& m) { m.numeros["x"] = kMaxInt; }, "RealizarCierre", {"X", "P"}},
        {"tickets of the day",
         [](MemoriaFiscal& m) {
             TiqueAbiertoPagado(m);
             m.diarios.tiques = kMaxInt;
         },
         "TiqueCerrar",
         {}},
        {"sales of the day",
         [](MemoriaFiscal& m) {
             TiqueAbiertoPagado(m);
             m.diarios.ventas = kMax64 - 50;
         },
         "TiqueCerrar",
         {}},
        {"VAT of the day",
         [](MemoriaFiscal& m) {
             TiqueAbiertoPagado(m);
             m.diarios.iva = kMax64 - 10;
         },
         "TiqueCerrar",
         {}},
        {"cancelled of the day",
         [](MemoriaFiscal& m) {
             TiqueAbierto(m);
             m.diarios.cancelados = kMaxInt;
         },
         "TiquePago",
         {"", "0", "C"}},
        {"ticket amount",
         [](MemoriaFiscal& m) {
             TiqueAbierto(m);
             m.documento.importe = kMax64 - 50;
         },
         "TiqueItem", kItemTique[0].args},
        {"ticket VAT",
         [](MemoriaFiscal& m) {
             TiqueAbierto(m);
             m.documento.ivaPorTasa[2100] = kMax64 - 5;
         },
         "TiqueItem", kItemTique[0].args},
        {"ticket items",
         [](MemoriaFiscal& m) {
             TiqueAbierto(m);
             m.documento.items = kMaxInt;
         },
         "TiqueItem", kItemTique[0].args},
        {"ticket paid",
         [](MemoriaFiscal& m) {
             TiqueAbierto(m);
             m.documento.importe = kMax64;
             m.documento.pagado = kMax64 - 10;
         },
         "TiquePago",
         {"EFECTIVO", "100", "T"}},
        {"invoice sheet",
         [](MemoriaFiscal& m) {
             TiqueAbierto(m);
             m.estado = EstadoFiscal::FinDeHoja;
             m.documento.clase = "F";
             m.documento.letra = "A";
             m.documento.hoja = kMaxInt;
         },
         "SiguienteHoja",
         {}},
        {"DNF of the day",
         [](MemoriaFiscal& m) {
             m.estado = EstadoFiscal::DNF;
             m.diarios.dnf = kMaxInt;
         },
         "DNFCerrar",
         {}},
    };
    for (const Limite& c : casos) {
        QDir(Carpeta()).removeRecursively();
        QDir().mkpath(Carpeta());
        MemoriaFiscal m;
        c.prepara(m);
        QFile f(Ruta("ImpresoraSimulada.json"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(m.AJson());
        f.close();
        const QByteArray memoria = Memoria();

        ImpresoraSimulada imp;
        Conecta(imp);
        ASSERT_FALSE(imp.Estado2().contains("reiniciada")) << c.nombre << ": the memory at its limit is readable";
        EXPECT_FALSE(imp.Invoca(c.op, c.args)) << c.nombre;
        EXPECT_TRUE(imp.Estado2().contains("Memoria fiscal llena")) << c.nombre << " " << imp.Estado2().toStdString();
        EXPECT_EQ(Memoria(), memoria) << c.nombre;
        EXPECT_EQ(Papel(), "") << c.nombre;
        EXPECT_TRUE(imp.VerEstado()) << c.nombre << ": the device still answers";
    }
}

// A save killed halfway leaves its temporary file beside the memory; the next start removes it, and only it.
TEST_F(ImpresoraSimuladaTest, AlArrancarQuitaLosTemporalesDeUnGuardadoInterrumpido) {
    const QStringList quedan = {"ImpresoraSimulada.json.danado-20260315-103000", "ImpresoraSimulada.json.vieja",
                                "ImpresoraSimulada.txt"};
    const QStringList restos = {"ImpresoraSimulada.json.a1B2c3", "ImpresoraSimulada.json.XXXXXX"};
    for (const QString& nombre : quedan + restos) {
        QFile f(Ruta(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{");
    }
    ImpresoraSimulada imp;
    for (const QString& nombre : restos) EXPECT_FALSE(QFile::exists(Ruta(nombre))) << nombre.toStdString();
    for (const QString& nombre : quedan) EXPECT_TRUE(QFile::exists(Ruta(nombre))) << nombre.toStdString();
}

// What reaches the disk, seen in the system calls of a program driving the device: each save flushes its temporary
// file, renames it over the memory, then flushes the folder, so a power cut after a command keeps it.
TEST_F(ImpresoraSimuladaTest, CadaGuardadoLlegaAlDiscoConSuCarpeta) {
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty()) GTEST_SKIP() << "strace is not installed";
    QFile(Ruta("empezar")).open(QIODevice::WriteOnly);
    QProcess programa;
    programa.start(strace, {"-f", "-y", "-e", "trace=fsync,rename,renameat,renameat2", "-o", Ruta("llamadas"),
                            QStringLiteral(CLIENTE_IMPRESORA), dir.path(), "3", "7"});
    ASSERT_TRUE(programa.waitForFinished(60000));
    if (programa.exitCode() != 0 && programa.readAllStandardError().contains("ptrace"))
        GTEST_SKIP() << "system calls cannot be traced here";
    ASSERT_EQ(programa.exitCode(), 0);

    QStringList llamadas;
    for (const QString& l : QString::fromUtf8(Bytes("llamadas")).split('\n'))
        if (l.contains("fsync(") || l.contains("rename")) llamadas << l.section(' ', 1).simplified();
    const QString carpeta = QDir(dir.path()).canonicalPath();
    const QString memoria = carpeta + "/ImpresoraSimulada.json";
    const char* patron = R"re(^rename\w*\(.*"([^"]+)", .*"([^"]+)"(, \d+)?\) = 0$)re";
    const QRegularExpression renombre(QString::fromLatin1(patron));
    int guardados = 0;
    for (int i = 0; i < llamadas.size(); ++i) {
        const auto m = renombre.match(llamadas[i]);
        if (!m.hasMatch() || m.captured(2) != memoria) continue;
        ++guardados;
        ASSERT_GT(i, 0);
        ASSERT_LT(i + 1, llamadas.size());
        EXPECT_TRUE(m.captured(1).startsWith(memoria + ".")) << llamadas[i].toStdString();
        EXPECT_TRUE(llamadas[i - 1].contains("<" + m.captured(1) + ">) = 0"))
            << "the temporary flushed first: " << llamadas[i - 1].toStdString();
        EXPECT_TRUE(llamadas[i + 1].startsWith("fsync(") && llamadas[i + 1].contains("<" + carpeta + ">) = 0"))
            << "the folder flushed after: " << llamadas[i + 1].toStdString();
    }
    EXPECT_GE(guardados, 3 * 3) << "every document's commands saved: " << llamadas.join('\n').toStdString();
}
