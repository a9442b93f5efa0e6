// Every Command1 button in its action frame: with the control refusing call k, exactly k calls go out with the
// documents' own arguments and the result box shows false; with every call accepted, the whole list goes out
// and the box shows true. Boxes inside a sequence come exactly after the call they wait for.
#include "Esperados.h"
#include "Form1.h"
#include "Soporte.h"
#include "Texto.h"

namespace {
using Llamada = ControlGrabador::Llamada;

// A step of a sequence as the documents list it: a printer call, or a message box (empty metodo).
struct Paso {
    QString metodo;
    QList<Variant> argumentos;  // for a box: its text, style and title
};
Paso L(const char* metodo, QList<Variant> argumentos = {}) {
    return {QString::fromUtf8(metodo), std::move(argumentos)};
}
Paso Caja(const QString& texto, int estilo = Estilo::OK, const QString& titulo = {}) {
    return {QString(), {texto, Variant(qint16(estilo)), titulo}};
}

// The nineteen opening arguments: the ticket-invoice column and the invoice column.
QList<Variant> AbrirFactura(const char* tipo, const char* ultimo) {
    return Textos({tipo, "C", "A", "1", "P", "12", "I", "I", "PEPE", "LE BOU", "CUIT", "30614104712", "N", "LA",
                   "PAMPA", "98", "REM 1", "REM 2", ultimo});
}
QList<Variant> ItemLargo(const char* descripcion, const char* tercero) {
    return Textos({descripcion, "1000", tercero, "2100", "M", "0", "0", "EXTRA", "EXTRA", "EXTRA", "1050", "0"});
}
QList<Variant> ItemCorto(const char* descripcion, const char* tercero) {
    return Textos({descripcion, "1000", tercero, "2100", "M", "0", "0", "", "", "", "1050", "0"});
}

struct CasoSecuencia {
    int indice;
    std::vector<Paso> pasos;
};

std::vector<CasoSecuencia> Casos() {
    std::vector<Paso> diseno;
    for (const Llamada& l : LlamadasDisenoFactura()) diseno.push_back({l.metodo, l.argumentos});
    return {
        {0,
         {L("TiqueAbrir", Textos({"G"})), L("TiqueItem", Textos({"ARTICULO 1", "1000", "100", "2100", "M", "0", "0"})),
          L("TiqueSubtotal", Textos({"P", "LINDO SUB"})), L("TiquePago", Textos({"PAGO1", "200", "T"})),
          L("TiqueCerrar")}},
        {1,
         {L("FacturaAbrir", AbrirFactura("T", "G")), L("FacturaItem", ItemLargo("ARTICULO 1", "100")),
          L("FacturaSubtotal", Textos({"P", "LINDO SUB"})), L("FacturaPago", Textos({"PAGO1", "200", "T"})),
          L("FacturaCerrar", Textos({"T", "A", "HOLA"}))}},
        {9,
         {L("FacturaAbrir", AbrirFactura("F", "C")), L("FacturaItem", ItemCorto("ARTICULO 1", "100")),
          L("FacturaPago", Textos({"DESCUENTO", "20", "D"})), L("FacturaPago", Textos({"Efectivo", "100", "T"})),
          L("FacturaPago", Textos({"Cheque", "100", "T"})),
          L("FacturaCerrar", Textos({"F", "A", "Gracias por su compra"}))}},
        {12,
         {L("FacturaAbrir", AbrirFactura("F", "C")), L("FacturaItem", ItemLargo("ARTICULO 1", "100")),
          L("FacturaItem", ItemCorto("ARTICULO 2", "1200")), L("FinHoja"), Caja("Coloque la siguiente hoja"),
          L("SiguienteHoja"), L("FacturaItem", ItemCorto("ARTICULO 3", "1000")),
          L("FacturaPago", Textos({"PAGO1", "3000", "T"})), L("FacturaCerrar", Textos({"F", "A", "HOLA"}))}},
        {2, {L("DNFAbrir"), L("DNFTexto", {QString::fromUtf8("á12345678à")}), L("DNFCerrar")}},
        {3,
         {L("DNFHTC", Textos({"VISA",  "12", "PEPE", "991231", "23", "46", "57", "89", "CONTA", "100", "2",
                              "PESOS", "2",  "4",    "5",      "7",  "8",  "44", "P",  "P",     "P"})),
          L("DNFHOS", Textos({"MEDICUS", "CO 1", "CO 2", "CO 3", "123", "PEP", "991030", "ADRESS", "ADDRESS 2", "NADA",
                              "12", "EXTRA 1", "EXTRA 2", "P", "P", "P", "P", "P"}))}},
        // The test clock stands at 15 March 2026, 10:30:00.
        {4, {L("HoraFecha", Textos({"S", "260315", "103000"}))}},
        {5, {L("Cajon", Textos({"1"})), L("Cajon", Textos({"2"}))}},
        {6,
         {L("HeaderTrailer", Textos({"S", "1", "PRUEBA HEADER"})), L("HeaderTrailer", Textos({"G", "1"})),
          Caja("El header obtenido es : PRUEBA HEADER")}},
        {7, {L("VerEstado")}},
        {8,
         {L("SlipPreparar"), L("FormatoHoja", {Variant(qint16(50)), Variant(qint16(88))}),
          Caja("Inserte una hoja en la entrada de Slip", Estilo::Information, "ATENCION"), L("SlipHojaColocada"),
          Caja(QString::fromUtf8("Se imprimirá un documento no fiscal por slip"), Estilo::Information, "ATENCION"),
          L("DNFSlipAbrir"), L("DNFTexto", Textos({"       E J E M P L O"})),
          L("DNFTexto", Textos({"S L I P   N O   F I S C A L"})), L("DNFTexto", Textos({" P O R   O C X F I S C A L"})),
          L("DNFCerrar")}},
        {11, diseno},
    };
}

class SecuenciasTest : public ConEntorno {
  protected:
    ControlGrabador control;
};
}  // namespace

TEST_F(SecuenciasTest, CadaSecuenciaSeDetieneEnElPrimerRechazo) {
    Form1 form(control, [] {});
    proc.ahora = QDateTime(QDate(2026, 3, 15), QTime(10, 30, 0));
    control.campoRespuesta7 = QStringLiteral("PRUEBA HEADER");
    std::vector<size_t> llamadasAlVerCaja;
    guion.alVerCaja = [&](const UiGuion::Caja&) { llamadasAlVerCaja.push_back(control.llamadas.size()); };

    for (const CasoSecuencia& caso : Casos()) {
        int n = 0;
        for (const Paso& p : caso.pasos) n += !p.metodo.isEmpty();
        // k = 0: every call accepted.
        for (int k = 0; k <= n; ++k) {
            const std::string donde = "indice " + std::to_string(caso.indice) + ", rechazo en " + std::to_string(k);
            std::vector<Llamada> llamadas;
            std::vector<UiGuion::Caja> cajas;
            std::vector<size_t> momentos;
            for (const Paso& p : caso.pasos) {
                if (k != 0 && static_cast<int>(llamadas.size()) >= k) break;
                if (p.metodo.isEmpty()) {
                    cajas.push_back(
                        {p.argumentos[0].ATexto(), p.argumentos[1].AEntero(), p.argumentos[2].ATexto(), Respuesta::OK});
                    momentos.push_back(llamadas.size());
                } else {
                    llamadas.push_back({p.metodo, p.argumentos});
                }
            }
            cajas.push_back({TextoBooleano(k == 0) + "\r" + control.estado2 + "\r" + control.estado1,
                             Estilo::OK,
                             {},
                             Respuesta::OK});
            momentos.push_back(llamadas.size());

            control.Reinicia(k);
            const size_t antes = guion.Cajas().size();
            llamadasAlVerCaja.clear();
            for (size_t i = 0; i < cajas.size(); ++i) guion.Responde(Respuesta::OK);
            form.Command1_Click(caso.indice);

            EXPECT_EQ(control.llamadas, llamadas) << donde;
            ASSERT_EQ(guion.Cajas().size() - antes, cajas.size()) << donde;
            for (size_t i = 0; i < cajas.size(); ++i) {
                const auto& vista = guion.Cajas()[antes + i];
                EXPECT_EQ(vista.texto, cajas[i].texto) << donde;
                EXPECT_EQ(vista.estilo, cajas[i].estilo) << donde;
                EXPECT_EQ(vista.titulo, cajas[i].titulo) << donde;
            }
            EXPECT_EQ(llamadasAlVerCaja, momentos) << donde;
        }
    }
}

TEST_F(SecuenciasTest, ElMarcoPoneRelojDeArenaYVuelveALaFlechaAntesDeLaCaja) {
    Form1 form(control, [] {});
    Puntero alLlamar = Puntero::Predeterminado;
    Puntero alVerCaja = Puntero::Predeterminado;
    control.alLlamar = [&](const Llamada&) { alLlamar = guion.PunteroActual(); };
    guion.alVerCaja = [&](const UiGuion::Caja&) { alVerCaja = guion.PunteroActual(); };
    guion.Responde(Respuesta::OK);
    form.Command1_Click(7);
    EXPECT_EQ(alLlamar, Puntero::RelojDeArena);
    EXPECT_EQ(alVerCaja, Puntero::Flecha);
}

TEST_F(SecuenciasTest, IndiceSinSecuenciaNoLlamaYMuestraFalso) {
    Form1 form(control, [] {});
    guion.Responde(Respuesta::OK);
    form.Command1_Click(10);
    EXPECT_TRUE(control.llamadas.empty());
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_TRUE(guion.Cajas()[0].texto.startsWith("Falso\r"));
}

namespace {
// A clock that moves on by one second at each reading.
class RelojQueAvanza : public ProcesoPrueba {
  public:
    QDateTime Ahora() const override {
        const QDateTime m = ahora;
        ahora = ahora.addSecs(1);
        return m;
    }
    mutable QDateTime ahora;
};
}  // namespace

TEST_F(SecuenciasTest, HoraFechaLeeLaFechaAntesQueLaHora) {
    RelojQueAvanza reloj;
    reloj.carpeta = proc.carpeta;
    reloj.ahora = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59));
    InstalaProceso(&reloj);
    Form1 form(control, [] {});
    guion.Responde(Respuesta::OK);
    form.Command1_Click(4);
    InstalaProceso(&proc);
    ASSERT_EQ(control.llamadas.size(), 1u);
    // Read at midnight: the date is still the old day's, the time already the new day's.
    EXPECT_EQ(control.llamadas[0].argumentos, Textos({"S", "261231", "000000"}));
}

TEST_F(SecuenciasTest, ErrorDelControlTerminaLaSecuenciaConFalsoYLoMuestra) {
    Form1 form(control, [] {});
    struct Caso {
        int indice;
        int lanzaEn;
    };
    const Caso casos[] = {{0, 2}, {12, 4}, {11, 30}, {7, 1}};
    for (const Caso& c : casos) {
        control.Reinicia();
        control.lanzaEn = c.lanzaEn;
        const size_t antes = guion.Cajas().size();
        std::vector<Puntero> punteroAlVerCaja;
        guion.alVerCaja = [&](const UiGuion::Caja&) { punteroAlVerCaja.push_back(guion.PunteroActual()); };
        guion.Responde(Respuesta::OK);
        guion.Responde(Respuesta::OK);
        form.Command1_Click(c.indice);

        EXPECT_EQ(control.llamadas.size(), static_cast<size_t>(c.lanzaEn)) << c.indice;
        ASSERT_EQ(guion.Cajas().size() - antes, 2u) << c.indice;
        EXPECT_EQ(guion.Cajas()[antes].texto, "No hay respuesta de la impresora");
        EXPECT_EQ(guion.Cajas()[antes].estilo, Estilo::Critical);
        EXPECT_EQ(guion.Cajas()[antes].titulo, "aviso al operador!!!");
        EXPECT_TRUE(guion.Cajas()[antes + 1].texto.startsWith("Falso\r")) << c.indice;
        EXPECT_EQ(punteroAlVerCaja, (std::vector<Puntero>{Puntero::Flecha, Puntero::Flecha})) << c.indice;
        EXPECT_EQ(guion.PunteroActual(), Puntero::Flecha);
    }
}
