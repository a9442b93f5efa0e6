// The closes and the maintenance offer that follows them, on the demo database; and the program's load end to
// end on a fresh program folder.
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "BaseDemo.h"
#include "ControlGrabador.h"
#include "DB_Dll.h"
#include "Fechas.h"
#include "Form1.h"
#include "Mantenimiento.h"
#include "ModGlobal.h"
#include "Regional.h"
#include "Sesion.h"

namespace {

const QString kPregunta1 = QStringLiteral(
    "Plan de Mantenimiento de Base de Datos\r\n-Se recomienda realizar una depuración de Datos\r\n"
    "-Desea realizarlo ahora...?");
const QString kPregunta2 = QStringLiteral("Este proceso puede demorar unos minutos \r\n-Desea Continuar...?");

class Mantenimiento : public ConBaseDemo {
  protected:
    void SetUp() override {
        ConBaseDemo::SetUp();
        QString cadena;
        IniciaSistema(false, ParametrosDemo(), cadena, 3);
        ASSERT_EQ(terminaciones, 0);
        ventana = std::make_unique<Form1>(control, [] {});
    }
    void TearDown() override {
        ventana.reset();
        ConBaseDemo::TearDown();
    }
    // What follows a close on the window.
    void OfreceMantenimiento() { ventana->TrasCierre(); }
    void Fija(const QString& clave, const char* valor) {
        Ejecuta(QStringLiteral("DEMO"), QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = '%1'").arg(clave));
        if (valor)
            Ejecuta(QStringLiteral("DEMO"),
                    QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor) VALUES ('%1', '%2')")
                        .arg(clave, QString::fromUtf8(valor)));
    }
    ControlGrabador control;
    std::unique_ptr<Form1> ventana;

    QString LineaEsperada(const QString& fecha) const {
        return Carpeta() +
               QStringLiteral(
                   "Tresvane @server=DEMOSRV; @dbname=DEMO; @usuario=CAJERO; @Password=demo;veld@ ; "
                   "@UsuarioLogeado = CAJERO; @Caja=3;@ParametroAdicional=") +
               fecha;
    }
};

TEST_F(Mantenimiento, CuandoSeOfreceYCuandoNo) {
    struct Caso {
        const char* servidor;  // nullptr: absent
        const char* dias;
        int preguntas;  // questions asked, each answered No
    };
    const Caso casos[] = {
        {nullptr, "30", 0},      {"   ", "30", 0},     {"DEMOSRV", "10", 0},
        {"DEMOSRV", nullptr, 0}, {"DEMOSRV", "11", 1}, {"DEMOSRV", "10,5", 1},
    };
    for (const Caso& c : casos) {
        Fija(QStringLiteral("TPV_SERVER"), c.servidor);
        Fija(QStringLiteral("DepuracionAutomatica_Dias"), c.dias);
        const size_t antes = guion.Cajas().size();
        for (int i = 0; i < c.preguntas; ++i) guion.Responde(Respuesta::No);
        OfreceMantenimiento();
        EXPECT_EQ(guion.Cajas().size() - antes, size_t(c.preguntas))
            << (c.servidor ? c.servidor : "-") << " " << c.dias;
        if (c.preguntas) {
            EXPECT_EQ(guion.Cajas().back().texto, kPregunta1);
            EXPECT_EQ(guion.Cajas().back().estilo, Estilo::YesNo | Estilo::Question);
            EXPECT_EQ(guion.Cajas().back().titulo, QStringLiteral("Aviso al operador"));
        }
        EXPECT_TRUE(proc.iniciados.isEmpty());
    }
    Fija(QStringLiteral("TPV_SERVER"), nullptr);
    EXPECT_FALSE(ventana->TieneServidorTPV());
    Fija(QStringLiteral("TPV_SERVER"), " X ");
    EXPECT_TRUE(ventana->TieneServidorTPV());
}

TEST_F(Mantenimiento, UnNoALaSegundaPreguntaNoIniciaNada) {
    guion.Responde(Respuesta::Yes);
    guion.Responde(Respuesta::No);
    OfreceMantenimiento();
    ASSERT_EQ(guion.Cajas().size(), 2u);
    EXPECT_EQ(guion.Cajas()[1].texto, kPregunta2);
    EXPECT_EQ(guion.Cajas()[1].estilo, Estilo::YesNo | Estilo::Question);
    EXPECT_EQ(guion.Cajas()[1].titulo, QStringLiteral("Aviso al operador"));
    EXPECT_TRUE(proc.iniciados.isEmpty());
}

TEST_F(Mantenimiento, DosSiInicianElMantenimientoConLaFechaDeCorte) {
    struct Caso {
        QDate hoy;
        QString dias;
        QDate corte;  // written in the workstation's short date format
    };
    const QString medio = QStringLiteral("30") + ConfiguracionRegional().decimal + QStringLiteral("5");
    const Caso casos[] = {
        {QDate(2026, 3, 15), QStringLiteral("30"), QDate(2026, 2, 13)},
        {QDate(2024, 3, 15), QStringLiteral("30"), QDate(2024, 2, 14)},  // leap year
        {QDate(2026, 1, 5), QStringLiteral("11"), QDate(2025, 12, 25)},
        {QDate(2026, 3, 15), medio, QDate(2026, 2, 12)},  // half a day back from midnight is the day before
    };
    for (const Caso& c : casos) {
        proc.ahora = QDateTime(c.hoy, QTime(23, 59));
        proc.iniciados.clear();
        Fija(QStringLiteral("DepuracionAutomatica_Dias"), c.dias.toUtf8().constData());
        guion.Responde(Respuesta::Yes);
        guion.Responde(Respuesta::Yes);
        OfreceMantenimiento();
        EXPECT_EQ(proc.iniciados, QStringList{LineaEsperada(FechaCorta(c.corte))}) << c.dias.toStdString();
    }
}

TEST_F(Mantenimiento, UnProgramaQueNoArrancaSeInformaYSigue) {
    proc.fallaAlIniciar = true;
    guion.Responde(Respuesta::Yes);
    guion.Responde(Respuesta::Yes);
    guion.Responde(Respuesta::OK);
    OfreceMantenimiento();
    ASSERT_EQ(guion.Cajas().size(), 3u);
    // The box names the program and the folder it was looked for in.
    EXPECT_EQ(guion.Cajas()[2].texto,
              QStringLiteral("Ha ocurrido el Siguiente Error (53) No se pudo iniciar el programa de mantenimiento "
                             "\"Tresvane\" en la carpeta \"") +
                  Carpeta() + QStringLiteral("\": ") + ErrorEjecucion::DescripcionDe(Err::ArchivoNoEncontrado));
    EXPECT_EQ(guion.Cajas()[2].estilo, Estilo::OK | Estilo::Critical);
}

TEST_F(Mantenimiento, UnNumeroDeDiasIlegibleSeInforma) {
    Fija(QStringLiteral("DepuracionAutomatica_Dias"), "treinta");
    guion.Responde(Respuesta::OK);
    OfreceMantenimiento();
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::OK | Estilo::Critical);
    EXPECT_TRUE(proc.iniciados.isEmpty());
}

TEST_F(Mantenimiento, LosCierresEnvianSusArgumentosYLuegoOfrecen) {
    ControlGrabador control;
    Form1 ventana(control, [] {});
    struct Caso {
        int indice;
        QList<Variant> argumentos;
    };
    const Caso casos[] = {{0, {Variant("X"), Variant("P")}}, {1, {Variant("Z")}}};
    for (const Caso& c : casos) {
        control.Reinicia(1);  // the close fails: the offer follows all the same
        guion.Responde(Respuesta::No);
        ventana.Command2_Click(c.indice);
        ASSERT_EQ(control.llamadas.size(), 1u);
        EXPECT_EQ(control.llamadas[0].metodo, QStringLiteral("RealizarCierre"));
        EXPECT_EQ(control.llamadas[0].argumentos, c.argumentos);
        EXPECT_EQ(guion.Cajas().back().texto, kPregunta1);
    }
}

// The program's load on a fresh folder: the start-up it is given runs first, then the window reads its printer
// settings file.
using Programa = ConBaseDemo;

TEST_F(Programa, LaCargaDeForm1ArrancaSobreLaBaseDemo) {
    ControlGrabador control;
    proc.lineaComandos = ParametrosDemo();
    Form1 ventana(control, [] {
        QString cadena;
        IniciaSistema(false, QString(), cadena, 3);
    });
    ventana.Form_Load();
    EXPECT_EQ(terminaciones, 0);
    EXPECT_TRUE(guion.Cajas().empty());
    EXPECT_EQ(Filas(QStringLiteral("DEMO"), QStringLiteral("SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, "
                                                           "NombreUsuario FROM Control_Acceso")),
              (QList<QStringList>{{"CAJA01", "CAJERO", "PAVENKO", "", "15/03/26 10:30", "CAJERO"}}));
    EXPECT_EQ(QFileInfo(Ruta(QStringLiteral("consultas.tkw"))).size(), 13222);
    EXPECT_TRUE(QFile::exists(Ruta(QStringLiteral("Printers.Fis"))));
    EXPECT_EQ(sesion().gDB().gCnn.CommandTimeout(), 120);
}

}  // namespace
