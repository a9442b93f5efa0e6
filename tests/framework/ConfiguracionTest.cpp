// The settings table: one key read, one key written, and the start-up's settings load.
#include <functional>

#include "BaseDemo.h"
#include "Configuracion.h"
#include "DB_Dll.h"
#include "ModGlobal.h"
#include "Sesion.h"

namespace {

class Configuracion : public ConBaseDemo {
  protected:
    void Fija(const QString& clave, const char* valor) {
        Ejecuta(QStringLiteral("DEMO"), QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = '%1'").arg(clave));
        if (valor)
            Ejecuta(QStringLiteral("DEMO"),
                    QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor, ValorAux) VALUES ('%1', '%2', '')")
                        .arg(clave, QString::fromUtf8(valor)));
    }
};

TEST_F(Configuracion, CfgLeeValorYValorAuxiliar) {
    Ejecuta(QStringLiteral("DEMO"), QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor, ValorAux) VALUES "
                                                   "('CON_AUX', 'v', 'aux'), ('VACIA', '', ''), ('O''K', 'si', '')"));
    Conecta();
    struct Caso {
        const char* clave;
        const char* valor;
        const char* aux;
    };
    const Caso casos[] = {
        {"CON_AUX", "v", "aux"},   {"  con_aux ", "v", "aux"},  // trimmed, letter case ignored
        {"NO_ESTA", " ", ""},                                   // absent: a single blank
        {"VACIA", "", ""},                                      // blank stays blank
        {"THEME", "1", ""},                                     // the demo holds it
        {"O'K", "si", ""},  // an apostrophe is part of the key, not of the statement
        {"x' OR '1'='1", " ", ""},
    };
    for (const Caso& c : casos) {
        QString aux = QStringLiteral("antes");
        EXPECT_EQ(Cfg(QString::fromUtf8(c.clave), &aux), QString::fromUtf8(c.valor)) << c.clave;
        EXPECT_EQ(aux, QString::fromUtf8(c.aux)) << c.clave;
    }
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Configuracion, ThemeAusenteOVacioEsUno) {
    Conecta();
    for (const char* valor : {static_cast<const char*>(nullptr), "", "  "}) {
        Fija(QStringLiteral("THEME"), valor);
        EXPECT_EQ(Cfg(QStringLiteral("theme")), QStringLiteral("1"));
    }
}

TEST_F(Configuracion, GrabaCfgTKGuardaLaClaveRecortadaEnMayusculas) {
    Conecta();
    AbreEstadisticas();
    GrabaCfgTK(QStringLiteral(" NuevaClave "), Variant(QStringLiteral("  valor  ")), QStringLiteral(" aux "), true,
               QStringLiteral("Grupo1"), true);
    GrabaCfgTK(QStringLiteral("O'Hara"), Variant(QStringLiteral("  sin recortar ")), QString(), false,
               QStringLiteral("G"), false);
    // An existing key is updated in place; an empty ValorAux leaves the stored one.
    GrabaCfgTK(QStringLiteral("TimeOut"), Variant(qint16(90)), QString(), false, QStringLiteral("BaseDeDatos"), true);
    EXPECT_EQ(Filas(QStringLiteral("TK_ESTADISTICAS"),
                    QStringLiteral("SELECT Clave, Valor, ValorAux, Grupo, PoliticaNegocio FROM TA_CONFIGURACION "
                                   "WHERE Clave <> 'ULTIMADEPURACION' ORDER BY Clave")),
              (QList<QStringList>{{"NUEVACLAVE", "valor", "aux", "Grupo1", "1"},
                                  {"O'HARA", "  sin recortar ", "", "G", "0"},
                                  {"TIMEOUT", "90", "", "BaseDeDatos", "0"}}));
    EXPECT_EQ(CfgTK(QStringLiteral("timeout")), QStringLiteral("90"));
}

TEST_F(Configuracion, CadaLecturaDeLaCarga) {
    using Comprueba = std::function<void(const Sesion&)>;
    struct Caso {
        const char* clave;
        const char* valor;  // nullptr: absent
        Comprueba comprueba;
    };
    const Caso casos[] = {
        {"MostrarStockenConsultas", "si", [](const Sesion& s) { EXPECT_TRUE(s.MostrarStockenConsultas); }},
        {"MostrarStockenConsultas", " SI", [](const Sesion& s) { EXPECT_FALSE(s.MostrarStockenConsultas); }},
        {"MostrarStockenConsultas", nullptr, [](const Sesion& s) { EXPECT_FALSE(s.MostrarStockenConsultas); }},
        {"VALIDACODIGOBARRA", " si ", [](const Sesion& s) { EXPECT_TRUE(s.VALIDACODIGOBARRA); }},
        {"ModuloOrdenDeTrabajo", nullptr, [](const Sesion& s) { EXPECT_TRUE(s.ModuloOrdenDeTrabajo); }},
        {"ModuloOrdenDeTrabajo", "no", [](const Sesion& s) { EXPECT_FALSE(s.ModuloOrdenDeTrabajo); }},
        {"V_ModificaCPrecio", " NO ", [](const Sesion& s) { EXPECT_TRUE(s.V_ModificaCPrecio); }},
        {"V_ModificaCPrecio", "NO", [](const Sesion& s) { EXPECT_FALSE(s.V_ModificaCPrecio); }},
        {"V_ModificaCPrecio", nullptr, [](const Sesion& s) { EXPECT_FALSE(s.V_ModificaCPrecio); }},
        {"TituloClientes", "  Socios  ",
         [](const Sesion& s) { EXPECT_EQ(s.TituloClientes, QStringLiteral("Socios")); }},
        {"CantidadDecimales", nullptr, [](const Sesion& s) { EXPECT_EQ(s.CantidadDecimales, QStringLiteral(" ")); }},
        {"PERIODO", "2026abc", [](const Sesion& s) { EXPECT_EQ(s.PERIODO, 2026); }},
        {"PERIODO", "x", [](const Sesion& s) { EXPECT_EQ(s.PERIODO, 0); }},
        {"MaxDto", " 12 ", [](const Sesion& s) { EXPECT_EQ(s.MaxDto, Moneda::DesdeEscalado(120000)); }},
        {"CFondo", "0", [](const Sesion& s) { EXPECT_EQ(s.gColorFondo, 0xFFFF00); }},
        {"CFondo", nullptr, [](const Sesion& s) { EXPECT_EQ(s.gColorFondo, 0xFFFF00); }},
        {"CFondo", "255", [](const Sesion& s) { EXPECT_EQ(s.gColorFondo, 255); }},
        {"CLetra", "65280", [](const Sesion& s) { EXPECT_EQ(s.gColorLetra, 65280); }},
        {"Top_Default", " ", [](const Sesion& s) { EXPECT_EQ(s.Top_Default, QStringLiteral("1000")); }},
        {"Top_Default", "250", [](const Sesion& s) { EXPECT_EQ(s.Top_Default, QStringLiteral("250")); }},
        {"CONDIVAEMPRESA", nullptr, [](const Sesion& s) { EXPECT_EQ(s.CONDIVAEMPRESA, 1); }},
    };
    Conecta();
    for (const Caso& c : casos) {
        Fija(QString::fromUtf8(c.clave), c.valor);
        CargaConfiguracion(Carpeta());
        SCOPED_TRACE(std::string(c.clave) + "=" + (c.valor ? c.valor : "(absent)"));
        c.comprueba(sesion());
    }
    // CONDIVAEMPRESA absent falls back on CONDIVA.
    Fija(QStringLiteral("CONDIVA"), "2");
    CargaConfiguracion(Carpeta());
    EXPECT_EQ(sesion().CONDIVAEMPRESA, 2);
    EXPECT_EQ(sesion().gTablaCfg, QStringLiteral("ta_configuracion"));
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Configuracion, CondicionDeIvaEnTresPasos) {
    // The company's condition, the general one, then 1: a value that does not fit 16 bits skips its own step.
    struct Caso {
        const char* empresa;  // nullptr: absent
        const char* general;
        qint16 esperado;
    };
    const Caso casos[] = {
        {nullptr, nullptr, 1}, {nullptr, "2", 2}, {"4", "2", 4},         {"99999", "3", 3},
        {"99999", nullptr, 1}, {"0", "99999", 1}, {"99999", "99999", 1}, {"x", "5", 5},
    };
    Conecta();
    for (const Caso& c : casos) {
        Fija(QStringLiteral("CONDIVAEMPRESA"), c.empresa);
        Fija(QStringLiteral("CONDIVA"), c.general);
        sesion().CONDIVAEMPRESA = 7;
        CargaConfiguracion(Carpeta());
        EXPECT_EQ(sesion().CONDIVAEMPRESA, c.esperado)
            << (c.empresa ? c.empresa : "(absent)") << " / " << (c.general ? c.general : "(absent)");
    }
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Configuracion, ReintentarVuelveALeerYOmitirOAnularDevuelvenVacio) {
    // The settings table is missing: the open fails (its own box, given up), then reading the closed record set
    // fails in Cfg's box. Retry there opens it again, once the table is back.
    Fija(QStringLiteral("CLAVE_R"), "leida");
    Conecta();
    struct Caso {
        int respuesta;
        const char* valor;
    };
    const Caso casos[] = {{Respuesta::Retry, "leida"}, {Respuesta::Ignore, ""}, {Respuesta::Abort, ""}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.respuesta);
        Ejecuta(QStringLiteral("DEMO"), QStringLiteral("ALTER TABLE TA_CONFIGURACION RENAME TO TA_CONFIG_APARTE"));
        guion.Responde(Respuesta::Abort);
        guion.Responde(c.respuesta);
        const size_t antes = guion.Cajas().size();
        guion.alVerCaja = [&](const UiGuion::Caja&) {
            if (guion.Cajas().size() == antes + 2)
                Ejecuta(QStringLiteral("DEMO"),
                        QStringLiteral("ALTER TABLE TA_CONFIG_APARTE RENAME TO TA_CONFIGURACION"));
        };
        QString aux = QStringLiteral("antes");
        EXPECT_EQ(Cfg(QStringLiteral("CLAVE_R"), &aux), QString::fromUtf8(c.valor));
        guion.alVerCaja = nullptr;
        ASSERT_EQ(guion.Cajas().size(), antes + 2);
        EXPECT_TRUE(guion.Cajas()[antes].titulo.contains(QStringLiteral("AbrirRecordset")));
        EXPECT_TRUE(guion.Cajas()[antes + 1].titulo.contains(QStringLiteral(" - Cfg ")));
        EXPECT_EQ(guion.Cajas()[antes + 1].estilo, Estilo::AbortRetryIgnore | Estilo::Critical);
        if (c.respuesta != Respuesta::Retry) {
            EXPECT_EQ(aux, QString());
            EXPECT_EQ(Cfg(QStringLiteral("CLAVE_R")), QStringLiteral("leida"));  // the table is back
        }
    }
}

TEST_F(Configuracion, LaFilaDelOperadorFijaUnidadYProforma) {
    Ejecuta(QStringLiteral("DEMO"),
            QStringLiteral("INSERT INTO ta_usuarios (Nombre, Administrador, UNegocio, "
                           "VerProforma) VALUES ('O''Neill', 0, '', 0), ('VENDE', 0, '   2', 1)"));
    struct Caso {
        const char* operador;
        const char* proforma;
        const char* unidad;
        bool verProforma;
    };
    const Caso casos[] = {
        {"CAJERO", "SI", "   1", true},    // the row allows it
        {"O'Neill", "SI", "   1", false},  // empty unit becomes "   1"; the row narrows the setting
        {"VENDE", "NO", "   2", false},    // the row cannot widen it
        {"NADIE", "SI", "   1", true},     // no row
    };
    Conecta();
    for (const Caso& c : casos) {
        Fija(QStringLiteral("UsaFacturaProforma"), c.proforma);
        sesion().UNegocio.clear();
        sesion().gUsuarioLogeado = QString::fromUtf8(c.operador);
        CargaConfiguracion(Carpeta());
        EXPECT_EQ(sesion().UNegocio, QString::fromUtf8(c.unidad)) << c.operador;
        EXPECT_EQ(sesion().UsaFacturaProforma, c.verProforma) << c.operador;
    }
}

}  // namespace
