// The main window on the offscreen platform: load with and without a settings record, the port assignment and
// its error box, the action frame, the closes, the cancels, the exit, and its controls as the operator meets them.
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "ControlGrabador.h"
#include "Form1.h"
#include "Soporte.h"

namespace {
using Llamada = ControlGrabador::Llamada;
using Escritura = ControlGrabador::Escritura;

QByteArray Registro(const QByteArray& clave, const QByteArray& puerto, const QByteArray& baud,
                    const QByteArray& data = "8", const QByteArray& parity = "N") {
    auto campo = [](const QByteArray& v, int ancho) { return v.leftJustified(ancho, ' ', true); };
    return campo(clave, 254) + campo("EPSON TM-U220", 150) + QByteArray(150, ' ') + campo(puerto, 5) + campo(baud, 5) +
           campo(data, 3) + campo(parity, 1) + QByteArray(17, ' ');
}

class Form1Test : public ConEntorno {
  protected:
    void EscribeImpresoras(const QByteArray& bytes) {
        QFile f(Ruta("Printers.Fis"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    ControlGrabador control;
};
}  // namespace

TEST_F(Form1Test, CargaSinRegistroNoEscribeEnElControl) {
    bool inicioCorrio = false;
    Form1 form(control, [&] {
        inicioCorrio = true;
        // The start-up runs first, before anything else of the load.
        EXPECT_FALSE(QFile::exists(Ruta("Printers.Fis")));
        EXPECT_EQ(form.windowTitle(), "Utilidades Zembrino");
    });
    form.Form_Load();

    EXPECT_TRUE(inicioCorrio);
    ASSERT_EQ(form.CmbCOM->count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(form.CmbCOM->itemText(i), QStringLiteral("COM%1").arg(i + 1));
    EXPECT_EQ(form.CmbCOM->currentIndex(), -1);
    for (int i : {1, 2, 3}) EXPECT_TRUE(form.txtFields[i]->text().isEmpty());
    EXPECT_TRUE(control.escrituras.empty());
    EXPECT_TRUE(control.llamadas.empty());
    EXPECT_EQ(form.windowTitle(), "Zembrino: EPSON ");
    EXPECT_EQ(form.pos(), QPoint(1280 / 2 - form.width() / 2, 1024 / 2 - form.height() / 2));
}

TEST_F(Form1Test, CargaConRegistroMuestraloYAsignaElPuerto) {
    struct Caso {
        QByteArray puerto;
        int seleccion;
        qint16 puertoEscrito;
    };
    const Caso casos[] = {
        {"COM1", 0, 1}, {"COM3", 2, 3},
        {"COM4", 3, 4}, {"", 0, 1},  // blank: nothing chosen, so the assignment takes COM1
        {"COM7", 0, 1},              // beyond the list: the same
    };
    for (const Caso& c : casos) {
        EscribeImpresoras(Registro("caja01|OPERADOR", c.puerto, "19200", "7", "E"));
        ControlGrabador control;
        Form1 form(control, [] {});
        form.Form_Load();
        EXPECT_EQ(form.CmbCOM->currentIndex(), c.seleccion) << c.puerto.constData();
        EXPECT_EQ(form.txtFields[1]->text(), "19200");
        EXPECT_EQ(form.txtFields[2]->text(), "E");
        EXPECT_EQ(form.txtFields[3]->text(), "7");
        EXPECT_EQ(control.escrituras, (std::vector<Escritura>{{"Puerto", Variant(c.puertoEscrito)},
                                                              {"Baud", Variant(QStringLiteral("19200"))}}))
            << c.puerto.constData();
        EXPECT_EQ(form.windowTitle(), "Zembrino: EPSON ");
    }
}

TEST_F(Form1Test, AsignarEnviaPuertoYVelocidadLimpiaNuncaParidadNiDatos) {
    struct Caso {
        int seleccion;
        const char* baud;
        int elegido;
        std::vector<Escritura> escritas;
    };
    const Caso casos[] = {
        {-1, "", 0, {{"Puerto", Variant(qint16(1))}, {"Baud", Variant(QString())}}},  // nothing chosen: COM1
        {1, "  4800 ", 1, {{"Puerto", Variant(qint16(2))}, {"Baud", Variant(QStringLiteral("4800"))}}},
        {3, "9600\n", 3, {{"Puerto", Variant(qint16(4))}, {"Baud", Variant(QStringLiteral("9600"))}}},
    };
    Form1 form(control, [] {});
    form.Form_Load();
    form.txtFields[2]->setText(QStringLiteral("N"));
    form.txtFields[3]->setText(QStringLiteral("8"));
    for (const Caso& c : casos) {
        control.Reinicia();
        form.CmbCOM->setCurrentIndex(c.seleccion);
        form.txtFields[1]->setText(QString::fromUtf8(c.baud));
        form.CmdAsignarDatos->click();
        EXPECT_EQ(form.CmbCOM->currentIndex(), c.elegido);
        EXPECT_EQ(control.escrituras, c.escritas) << c.seleccion;
    }
}

TEST_F(Form1Test, ErrorAlAsignarPreguntaAbortarReintentarIgnorar) {
    struct Caso {
        const char* propiedad;
        int respuesta;
        std::vector<Escritura> escritas;
    };
    const Caso casos[] = {
        {"Puerto", Respuesta::Retry, {{"Puerto", Variant(qint16(3))}, {"Baud", Variant(QStringLiteral("9600"))}}},
        {"Puerto", Respuesta::Ignore, {{"Baud", Variant(QStringLiteral("9600"))}}},
        {"Puerto", Respuesta::Abort, {}},
        {"Baud", Respuesta::Retry, {{"Puerto", Variant(qint16(3))}, {"Baud", Variant(QStringLiteral("9600"))}}},
        {"Baud", Respuesta::Ignore, {{"Puerto", Variant(qint16(3))}}},
    };
    Form1 form(control, [] {});
    form.Form_Load();
    form.CmbCOM->setCurrentIndex(2);
    form.txtFields[1]->setText(QStringLiteral("9600"));
    for (const Caso& c : casos) {
        control.escrituras.clear();
        control.escriturasQueFallan = {{c.propiedad, 1}};
        const size_t antes = guion.Cajas().size();
        guion.Responde(c.respuesta);
        form.CmdAsignarDatos_Click();

        ASSERT_EQ(guion.Cajas().size() - antes, 1u) << c.propiedad << c.respuesta;
        const auto& caja = guion.Cajas().back();
        EXPECT_EQ(caja.texto, QString::fromUtf8("El valor de la propiedad no es válido"));
        EXPECT_EQ(caja.estilo, 2 + 16);
        EXPECT_EQ(caja.titulo, "aviso al operador!!!");
        EXPECT_EQ(control.escrituras, c.escritas) << c.propiedad << c.respuesta;
    }
}

TEST_F(Form1Test, ErrorAlCargarMuestraLaCajaAntesDeVerseLaVentana) {
    EscribeImpresoras(Registro("CAJA01|operador", "COM2", "9600"));
    control.escriturasQueFallan = {{"Puerto", 1}};
    Form1 form(control, [] {});
    bool visible = true;
    guion.alVerCaja = [&](const UiGuion::Caja&) { visible = form.isVisible(); };
    guion.Responde(Respuesta::Abort);
    form.Form_Load();
    EXPECT_FALSE(visible);
    EXPECT_TRUE(control.escrituras.empty());
    EXPECT_EQ(form.windowTitle(), "Zembrino: EPSON ");
}

TEST_F(Form1Test, CancelacionesMuestranSuCajaYCierranSiempre) {
    struct Caso {
        const char* nombre;
        BotonComando* Form1::*boton;
        int fallaEn;
        std::vector<Llamada> llamadas;
        const char* caja;
    };
    const Llamada pago{"FacturaPago", {QString(), QStringLiteral("0"), QStringLiteral("C")}};
    const Llamada cierre{"TiqueCerrar", {}};
    const Caso casos[] = {
        {"factura", &Form1::CmdCancela, 0, {pago, cierre}, "Verdadero E1 E2"},
        {"factura rechazada", &Form1::CmdCancela, 1, {pago, cierre}, "Falso E1 E2"},
        {"tique", &Form1::CmdCancelaTickets, 0, {cierre, cierre}, "Verdadero E1 E2"},
        {"tique rechazado", &Form1::CmdCancelaTickets, 1, {cierre, cierre}, "Falso E1 E2"},
    };
    Form1 form(control, [] {});
    control.estado1 = QStringLiteral("E1");
    control.estado2 = QStringLiteral("E2");
    size_t llamadasAlVerCaja = 0;
    guion.alVerCaja = [&](const UiGuion::Caja&) { llamadasAlVerCaja = control.llamadas.size(); };
    for (const Caso& c : casos) {
        control.Reinicia(c.fallaEn);
        guion.Responde(Respuesta::OK);
        (form.*c.boton)->click();
        EXPECT_EQ(control.llamadas, c.llamadas) << c.nombre;
        EXPECT_EQ(llamadasAlVerCaja, 1u) << c.nombre;  // between the two calls
        EXPECT_EQ(guion.Cajas().back().texto, c.caja) << c.nombre;
        EXPECT_EQ(guion.Cajas().back().estilo, Estilo::OK);
        EXPECT_TRUE(guion.Cajas().back().titulo.isEmpty());
    }
    // Neither has the hourglass of the action frame.
    EXPECT_TRUE(guion.HistorialPuntero().empty());
}

TEST_F(Form1Test, ErrorDelControlAlCancelarOCerrarSeMuestraYElProgramaSigue) {
    Form1 form(control, [] {});
    form.TrasCierre = [] {};
    const QString error = QStringLiteral("No hay respuesta de la impresora");
    const QString falso = QStringLiteral("Falso 0600 Impresora lista 0000 Sin documento abierto");
    struct Caso {
        const char* nombre;
        std::function<void()> pulsa;
        std::vector<QString> cajas;
        std::vector<QString> llamadas;
    };
    const Caso casos[] = {
        // A cancel's final close is made all the same.
        {"cancela factura", [&] { form.CmdCancela_Click(); }, {error, falso}, {"FacturaPago", "TiqueCerrar"}},
        {"cancela tique", [&] { form.CmdCancelaTickets_Click(); }, {error, falso}, {"TiqueCerrar", "TiqueCerrar"}},
        {"cierre Z", [&] { form.Command2_Click(1); }, {error}, {"RealizarCierre"}},
    };
    for (const Caso& c : casos) {
        control.Reinicia();
        control.lanzaEn = 1;
        const size_t antes = guion.Cajas().size();
        for (size_t i = 0; i < c.cajas.size(); ++i) guion.Responde(Respuesta::OK);
        c.pulsa();
        std::vector<QString> cajas, llamadas;
        for (size_t i = antes; i < guion.Cajas().size(); ++i) cajas.push_back(guion.Cajas()[i].texto);
        for (const auto& l : control.llamadas) llamadas.push_back(l.metodo);
        EXPECT_EQ(cajas, c.cajas) << c.nombre;
        EXPECT_EQ(llamadas, c.llamadas) << c.nombre;
    }
}

TEST_F(Form1Test, CierresXYZSinRelojNiCajaYLuegoLaOfertaDeMantenimiento) {
    Form1 form(control, [] {});
    std::vector<size_t> llamadasAlOfrecer;
    form.TrasCierre = [&] { llamadasAlOfrecer.push_back(control.llamadas.size()); };
    form.Command2[0]->click();
    form.Command2[1]->click();
    EXPECT_EQ(control.llamadas, (std::vector<Llamada>{{"RealizarCierre", {QStringLiteral("X"), QStringLiteral("P")}},
                                                      {"RealizarCierre", {QStringLiteral("Z")}}}));
    // A refused close is not reported; the offer follows all the same.
    control.Reinicia(1);
    form.Command2_Click(1);
    EXPECT_EQ(llamadasAlOfrecer, (std::vector<size_t>{1, 2, 1}));
    EXPECT_TRUE(guion.Cajas().empty());
    EXPECT_TRUE(guion.HistorialPuntero().empty());
}

TEST_F(Form1Test, SalirTerminaYDatosDefaultNoHaceNada) {
    Form1 form(control, [] {});
    int terminado = 0;
    form.Termina = [&] { ++terminado; };
    form.Command3->click();
    EXPECT_EQ(terminado, 0);
    EXPECT_TRUE(control.llamadas.empty());
    EXPECT_TRUE(control.escrituras.empty());
    form.CmdSalir->click();
    EXPECT_EQ(terminado, 1);
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Form1Test, EnterAlAbrirPulsaElTiqueOculto) {
    Form1 form(control, [] {});
    form.Form_Load();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QWidget* foco = form.focusWidget();
    ASSERT_EQ(foco, form.Command1[0]);
    guion.Responde(Respuesta::OK);
    QTest::keyClick(foco, Qt::Key_Return);
    ASSERT_EQ(control.llamadas.size(), 5u);
    EXPECT_EQ(control.llamadas[0], (Llamada{"TiqueAbrir", {QStringLiteral("G")}}));
    EXPECT_TRUE(guion.Cajas().back().texto.startsWith("Verdadero\r"));
}

TEST_F(Form1Test, BotonesOcultosRespondenAEspacioYEnter) {
    Form1 form(control, [] {});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const std::pair<Qt::Key, Qt::KeyboardModifiers> teclas[] = {
        {Qt::Key_Space, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};
    for (auto [tecla, modificador] : teclas) {
        control.Reinicia();
        form.Command1[5]->setFocus();
        guion.Responde(Respuesta::OK);
        QTest::keyClick(form.Command1[5], tecla, modificador);
        EXPECT_EQ(control.llamadas.size(), 2u) << tecla;
    }
}

TEST_F(Form1Test, ControlesComoLosVeElOperador) {
    Form1 form(control, [] {});
    EXPECT_EQ(form.Command1[1]->text(), "TIQUE FACTURA \"A\"");
    EXPECT_EQ(form.Command1[12]->text(), "FACTURA \"A\" con Transporte");
    EXPECT_EQ(form.Command1[11]->text(), QString::fromUtf8("SETEA diseño de FACTURA"));
    EXPECT_EQ(form.CmdCancelaTickets->text(), "Cancela Documento Abierto (Solo Tickets)");
    EXPECT_EQ(form.CmdAsignarDatos->text(), "&Asignar Datos IF");
    EXPECT_EQ(form.Label1->text(), QString::fromUtf8("Por Omisión se tomarán los datos de configuración"));
    EXPECT_EQ(form.Label1->alignment(), Qt::AlignCenter);
    EXPECT_EQ(form.Label1->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
    EXPECT_EQ(form.Command1.count(10), 0u);
    EXPECT_EQ(form.Command1.size(), 12u);
    EXPECT_FALSE(form.CmbCOM->isEditable());

    // Size in twips, fixed, without minimise or maximise.
    EXPECT_EQ(form.size(), QSize(ui().Twips(4020), ui().Twips(5070)));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.Command2[0]->geometry(),
              QRect(ui().Twips(360), ui().Twips(2280), ui().Twips(3495), ui().Twips(495)));
    // The second column lies beyond the right edge, enabled and focusable.
    for (auto& [indice, boton] : form.Command1) {
        if (indice == 7) continue;
        EXPECT_GE(boton->x(), form.width()) << indice;
        EXPECT_TRUE(boton->isEnabled()) << indice;
        EXPECT_TRUE(boton->focusPolicy() & Qt::TabFocus) << indice;
    }
}

TEST_F(Form1Test, OrdenDeTabulacionDelMenorAlMayor) {
    Form1 form(control, [] {});
    const std::vector<QWidget*> esperado = {
        form.Command1[0],  form.Command1[1],     form.Command1[2],  form.Command1[3],
        form.Command1[4],  form.Command1[5],     form.Command1[6],  form.Command1[7],
        form.Command2[0],  form.Command2[1],     form.Command1[8],  form.Command1[9],
        form.Command1[11], form.Command1[12],    form.CmdCancela,   form.CmdCancelaTickets,
        form.CmdSalir,     form.txtFields[3],    form.txtFields[2], form.txtFields[1],
        form.CmbCOM,       form.CmdAsignarDatos, form.Command3};
    std::vector<QWidget*> cadena;
    QWidget* w = form.Command1[0];
    do {
        if (w->parentWidget() == &form && (w->focusPolicy() & Qt::TabFocus)) cadena.push_back(w);
        w = w->nextInFocusChain();
    } while (w != form.Command1[0]);
    EXPECT_EQ(cadena, esperado);
}
