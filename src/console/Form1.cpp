// The main window: its controls laid out in twips, the start-up, the port assignment, the action frame of the
// Command1 buttons, the closes, the cancels and the exit.
#include "Form1.h"

#include <QCoreApplication>
#include <QPalette>
#include <QShowEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ArchivoImpresoras.h"
#include "Configuracion.h"
#include "Mantenimiento.h"
#include "Numeros.h"
#include "Pasos.h"
#include "Secuencias.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

namespace {
// A colour value of the platform: 0x00BBGGRR.
QColor ColorDesdeBgr(unsigned valor) {
    return QColor(valor & 0xFF, (valor >> 8) & 0xFF, (valor >> 16) & 0xFF);
}

// The port list and the speed, parity and data boxes as the port settings.
class CamposVentana : public CamposPuerto {
  public:
    explicit CamposVentana(Form1& form) : form_(form) {}
    QString Puerto() const override { return form_.CmbCOM->currentText(); }
    void EligePuerto(int posicion) override { form_.CmbCOM->setCurrentIndex(posicion); }
    QString Baud() const override { return form_.txtFields[1]->text(); }
    void MuestraDatos(const QString& baud, const QString& parity, const QString& data) override {
        form_.txtFields[1]->setText(baud);
        form_.txtFields[2]->setText(parity);
        form_.txtFields[3]->setText(data);
    }

  private:
    Form1& form_;
};

// The second column of Command1: each 3015 x 375 at left 4560, beyond the right edge of the window.
struct BotonColumna {
    int indice;
    const char* caption;
    int top;
    int tab;
};
const BotonColumna kColumnaCommand1[] = {
    {0, "TIQUE", 120, 0},
    {1, "TIQUE FACTURA \"A\"", 480, 1},
    {9, "FACTURA \"A\"", 840, 11},
    {12, "FACTURA \"A\" con Transporte", 1200, 13},
    {2, "DNF", 1800, 2},
    {3, "DNFH TC y OS", 2160, 3},
    {4, "HORA Y FECHA", 2640, 4},
    {5, "CAJON", 3000, 5},
    {6, "HEADERS / TRAILERS", 3360, 6},
    {8, "DNF por SLIP", 3720, 10},
    {11, "SETEA diseño de FACTURA", 4200, 12},
};
}  // namespace

Form1::Form1(PrinterFiscal& control, std::function<void()> inicio, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      PrinterFiscal1(control),
      Termina([] { QCoreApplication::exit(0); }),
      TrasCierre([this] { OfreceMantenimiento([this] { return TieneServidorTPV(); }); }),
      inicio_(std::move(inicio)) {
    setWindowTitle(QStringLiteral("Utilidades Zembrino"));
    setFixedSize(ui().Twips(4020), ui().Twips(5070));
    // The captions were measured in the platform's 8-point dialog font; a wider one would cut them.
    QFont letra = font();
    letra.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    letra.setPointSize(8);
    setFont(letra);

    Label1 = new QLabel(QStringLiteral("Por Omisión se tomarán los datos de configuración"), this);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    QPalette paleta = Label1->palette();
    paleta.setColor(QPalette::Window, ColorDesdeBgr(0x00FFC0C0));
    Label1->setPalette(paleta);
    Label2[1] = new QLabel(QStringLiteral("Puerto"), this);
    CmbCOM = new QComboBox(this);  // a list: nothing can be typed into it
    Label2[3] = new QLabel(QStringLiteral("Baud"), this);
    txtFields[1] = new QLineEdit(this);
    Label2[4] = new QLabel(QStringLiteral("Parity"), this);
    txtFields[2] = new QLineEdit(this);
    Label2[5] = new QLabel(QStringLiteral("Data"), this);
    txtFields[3] = new QLineEdit(this);
    Command3 = new BotonComando(QStringLiteral("&Datos Default"), this);
    CmdAsignarDatos = new BotonComando(QStringLiteral("&Asignar Datos IF"), this);
    Command2[1] = new BotonComando(QStringLiteral("REALIZAR UN CIERRE Z"), this);
    Command2[0] = new BotonComando(QStringLiteral("REALIZAR UN CIERRE X"), this);
    Command1[7] = new BotonComando(QStringLiteral("VER ESTADO DE LA IMPRESORA"), this);
    CmdCancela = new BotonComando(QStringLiteral("Cancela Documento Abierto (FC o TKFC)"), this);
    CmdCancelaTickets = new BotonComando(QStringLiteral("Cancela Documento Abierto (Solo Tickets)"), this);
    CmdSalir = new BotonComando(QStringLiteral("&Salir"), this);
    for (const BotonColumna& b : kColumnaCommand1)
        Command1[b.indice] = new BotonComando(QString::fromUtf8(b.caption), this);

    // Positions in twips (left, top, width, height) and tab stops, lowest first; -1 for no tab stop.
    struct Sitio {
        QWidget* control;
        int left, top, width, height;
        int tab;
    };
    std::vector<Sitio> sitios = {
        {Label1, 0, 120, 3975, 255, -1},
        {Label2[1], 120, 480, 615, 255, -1},
        {CmbCOM, 840, 480, 1455, 315, 20},
        {Label2[3], 120, 840, 495, 255, -1},
        {txtFields[1], 840, 840, 975, 285, 19},
        {Label2[4], 1920, 840, 495, 255, -1},
        {txtFields[2], 2400, 840, 255, 285, 18},
        {Label2[5], 3000, 840, 495, 255, -1},
        {txtFields[3], 3480, 840, 255, 285, 17},
        {Command3, 240, 1320, 1500, 255, 27},
        {CmdAsignarDatos, 2160, 1320, 1500, 255, 25},
        {Command2[1], 360, 1800, 3495, 495, 9},
        {Command2[0], 360, 2280, 3495, 495, 8},
        {Command1[7], 360, 2760, 3495, 495, 7},
        {CmdCancela, 360, 3240, 3495, 495, 14},
        {CmdCancelaTickets, 360, 3720, 3495, 495, 15},
        {CmdSalir, 1560, 4440, 1215, 495, 16},
    };
    for (const BotonColumna& b : kColumnaCommand1)
        sitios.push_back({Command1[b.indice], 4560, b.top, 3015, 375, b.tab});

    for (const Sitio& s : sitios)
        s.control->setGeometry(ui().Twips(s.left), ui().Twips(s.top), ui().Twips(s.width), ui().Twips(s.height));
    std::vector<Sitio> paradas;
    std::copy_if(sitios.begin(), sitios.end(), std::back_inserter(paradas), [](const Sitio& s) { return s.tab >= 0; });
    std::sort(paradas.begin(), paradas.end(), [](const Sitio& a, const Sitio& b) { return a.tab < b.tab; });
    for (size_t i = 1; i < paradas.size(); ++i) setTabOrder(paradas[i - 1].control, paradas[i].control);
    for (const Sitio& s : sitios)
        if (s.tab < 0) s.control->setFocusPolicy(Qt::NoFocus);

    // Handlers.
    connect(CmdAsignarDatos, &QPushButton::clicked, this, [this] { CmdAsignarDatos_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (auto& [indice, boton] : Command1)
        connect(boton, &QPushButton::clicked, this, [this, i = indice] { Command1_Click(i); });
    for (auto& [indice, boton] : Command2)
        connect(boton, &QPushButton::clicked, this, [this, i = indice] { Command2_Click(i); });
    connect(CmdCancela, &QPushButton::clicked, this, [this] { CmdCancela_Click(); });
    connect(CmdCancelaTickets, &QPushButton::clicked, this, [this] { CmdCancelaTickets_Click(); });
    connect(CmdSalir, &QPushButton::clicked, this, [this] { CmdSalir_Click(); });
}

void Form1::showEvent(QShowEvent* evento) {
    // The window opens with the focus on its first tab stop, the hidden "TIQUE".
    if (!mostrada_) Command1[0]->setFocus(Qt::OtherFocusReason);
    mostrada_ = true;
    QWidget::showEvent(evento);
}

void Form1::Form_Load() {
    // 1. The application's start-up.
    if (inicio_) inicio_();

    // 2. Centred on the screen, size unchanged.
    const QSize pantalla = ui().Pantalla();
    move(pantalla.width() / 2 - width() / 2, pantalla.height() / 2 - height() / 2);

    // 3. The four ports, none chosen yet.
    CmbCOM->clear();
    CmbCOM->addItems(PuertosImpresora());
    CmbCOM->setCurrentIndex(-1);

    // 4. This workstation's record, shown and handed to the printer control.
    CamposVentana campos(*this);
    CargaDatosImpresora(campos, PrinterFiscal1);

    // 5.
    setWindowTitle(QStringLiteral("Zembrino: EPSON "));
}

void Form1::CmdAsignarDatos_Click() {
    CamposVentana campos(*this);
    AsignaDatosIF(campos, PrinterFiscal1);
}

void Form1::Command1_Click(int Index) {
    ui().FijaPuntero(Puntero::RelojDeArena);
    const bool resultado = Protegido([&] { return EjecutaSecuencia(Index, PrinterFiscal1); });
    ui().FijaPuntero(Puntero::Flecha);
    Protegido([&] {
        ui().MsgBox(TextoBooleano(resultado) + QStringLiteral("\r") + PrinterFiscal1.Estado2() + QStringLiteral("\r") +
                    PrinterFiscal1.Estado1());
        return true;
    });
}

void Form1::Command2_Click(int Index) {
    // 1. The close; its result is neither shown nor tested.
    Protegido([&] {
        return Index == 0 ? PrinterFiscal1.RealizarCierre(QStringLiteral("X"), QStringLiteral("P"))
                          : PrinterFiscal1.RealizarCierre(QStringLiteral("Z"));
    });
    // 2. Whatever the close returned.
    if (TrasCierre) TrasCierre();
}

bool Form1::TieneServidorTPV() {
    bool tiene = true;  // a setting that cannot be read does not hide the offer
    Pasos([](const ErrorEjecucion& e) {
        TrataError(e, Estilo::OK | Estilo::Critical, QStringLiteral("TieneServidorTPV"));
        return 0;
    }).run([&] { tiene = !Recorta(Cfg(QStringLiteral("TPV_SERVER"))).isEmpty(); });
    return tiene;
}

void Form1::CmdCancela_Click() {
    // 1. An invoice or ticket-invoice is cancelled with a payment line of code "C".
    const bool R =
        Protegido([&] { return PrinterFiscal1.FacturaPago(QString(), QStringLiteral("0"), QStringLiteral("C")); });
    // 2.
    Protegido([&] {
        ui().MsgBox(TextoBooleano(R) + QStringLiteral(" ") + PrinterFiscal1.Estado1() + QStringLiteral(" ") +
                    PrinterFiscal1.Estado2());
        return true;
    });
    // 3. In every case; its result is not looked at.
    Protegido([&] { return PrinterFiscal1.TiqueCerrar(); });
}

void Form1::CmdCancelaTickets_Click() {
    // 1. A ticket is cancelled by closing it.
    const bool R = Protegido([&] { return PrinterFiscal1.TiqueCerrar(); });
    // 2.
    Protegido([&] {
        ui().MsgBox(TextoBooleano(R) + QStringLiteral(" ") + PrinterFiscal1.Estado1() + QStringLiteral(" ") +
                    PrinterFiscal1.Estado2());
        return true;
    });
    // 3. A second time, in every case; its result is not looked at.
    Protegido([&] { return PrinterFiscal1.TiqueCerrar(); });
}

void Form1::CmdSalir_Click() {
    if (Termina) Termina();
}

void Form1::Command3_Click() {
    // "&Datos Default" has no action.
}

bool Form1::Protegido(const std::function<bool()>& uso) {
    try {
        return uso();
    } catch (const ErrorEjecucion& e) {
        // The control raised instead of answering: this use ends with false and the operator is told why.
        ui().FijaPuntero(Puntero::Flecha);
        ui().MsgBox(e.Description(), Estilo::Critical, QStringLiteral("aviso al operador!!!"));
        return false;
    }
}
