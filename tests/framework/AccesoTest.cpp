// The access check and its log row, on the demo database.
#include "Acceso.h"
#include "BaseDemo.h"
#include "DB_Dll.h"
#include "Sesion.h"
#include "Texto.h"

namespace {

class Acceso : public ConBaseDemo {
  protected:
    QList<QStringList> Accesos() {
        return Filas(QStringLiteral("DEMO"),
                     QStringLiteral("SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario "
                                    "FROM Control_Acceso ORDER BY Id"));
    }
};

TEST_F(Acceso, CasosDeAdmision) {
    struct Caso {
        const char* usuario;
        const char* ejecutable;
        const char* formulario;
        const char* tarea;
    };
    const Caso casos[] = {
        {"CAJERO", "Pavenko", "PAVENKO", ""},                               // exempt: only the log
        {"CAJERO", "MARVELOH", "MARVELOH", ""},                             // exempt, any case
        {"CAJERO", "Pavenkoh", "PAVENKO", "CONSOLA DE IMPRESORA FISCAL"},   // alias, then the check
        {"TECNICO", "PAVENKOH", "PAVENKO", "CONSOLA DE IMPRESORA FISCAL"},  // two entries: the first row's
        {"TECNICO", "TKSTOCK", "TKSTOCK", "MOVIMIENTOS DE STOCK"},
        {"DEMO", "TKSTOCK", "TKSTOCK", "TKSTOCK"},                   // the database's own user
        {"supervisor tamarek mc", "TKSTOCK", "TKSTOCK", "TKSTOCK"},  // the supervisor, any case
        {"NADIE", "CN000PR", "CN000PR", "MENU PRINCIPAL"},           // the suite's main menu
    };
    for (const Caso& c : casos) {
        Ejecuta(QStringLiteral("DEMO"), QStringLiteral("DELETE FROM Control_Acceso"));
        sesion().Reinicia();
        proc.ejecutable = QString::fromUtf8(c.ejecutable);
        Conecta(QString::fromUtf8(c.usuario));
        VerificaAcceso();
        EXPECT_EQ(terminaciones, 0) << c.usuario << " " << c.ejecutable;
        EXPECT_EQ(Accesos(), (QList<QStringList>{{"CAJA01", Mayus(QString::fromUtf8(c.usuario)), c.formulario, c.tarea,
                                                  "15/03/26 10:30", QString::fromUtf8(c.usuario)}}))
            << c.usuario << " " << c.ejecutable;
    }
}

TEST_F(Acceso, ElIngresoLlevaLosSeparadoresDelPuesto) {
    // dd/mm/yy hh:mm with the locale's separators; a locale without usable ones gives "/" and ":".
    struct Caso {
        const char* locale;
        const char* ingreso;
    };
    const Caso casos[] = {
        {"C", "15/03/26 10:30"},     {"POSIX", "15/03/26 10:30"}, {"en_US", "15/03/26 10:30"},
        {"es_AR", "15/03/26 10:30"}, {"de_DE", "15.03.26 10:30"}, {"fr_CA", "15-03-26 10:30"},
    };
    Conecta(QStringLiteral("CAJERO"));
    for (const Caso& c : casos) {
        FijaLocale(c.locale);
        Ejecuta(QStringLiteral("DEMO"), QStringLiteral("DELETE FROM Control_Acceso"));
        VerificaAcceso();
        const auto filas = Accesos();
        ASSERT_EQ(filas.size(), 1) << c.locale;
        EXPECT_EQ(filas.front().at(4), QString::fromUtf8(c.ingreso)) << c.locale;
    }
}

TEST_F(Acceso, SinTareaSeRechazaYElProgramaTermina) {
    proc.ejecutable = QStringLiteral("TKSTOCK");
    Conecta(QStringLiteral("CAJERO"));
    guion.Responde(Respuesta::OK);
    VerificaAcceso();
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].texto,
              QStringLiteral("NO TIENE ACCESO A ESTE PROCESO, UTILICE EL MENU CORRESPONDIENTE!!!"));
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::Critical | Estilo::OK);
    EXPECT_EQ(guion.Cajas()[0].titulo, QStringLiteral("ATENCION!"));
    EXPECT_EQ(terminaciones, 1);
    EXPECT_TRUE(Accesos().isEmpty());
}

TEST_F(Acceso, UnApostrofeEnElOperadorNoCambiaLaConsulta) {
    Ejecuta(QStringLiteral("DEMO"),
            QStringLiteral("INSERT INTO ta_usuarios (Nombre, Administrador, UNegocio) "
                           "VALUES ('O''Brien', 0, '   1');"
                           "INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('O''Brien', 'ST010')"));
    proc.ejecutable = QStringLiteral("TKSTOCK");
    Conecta(QStringLiteral("O'Brien"));
    VerificaAcceso();
    EXPECT_EQ(terminaciones, 0);
    // In the log row the builder drops the apostrophe.
    EXPECT_EQ(
        Accesos(),
        (QList<QStringList>{{"CAJA01", "OBRIEN", "TKSTOCK", "MOVIMIENTOS DE STOCK", "15/03/26 10:30", "OBrien"}}));
}

TEST_F(Acceso, UnProcesoDadoPorElLlamadorSeUsaEnLugarDelEjecutable) {
    Conecta(QStringLiteral("TECNICO"));
    VerificaAcceso(QStringLiteral("tresvane"));
    EXPECT_EQ(Accesos(), (QList<QStringList>{{"CAJA01", "TECNICO", "TRESVANE", "DEPURACION DE LA BASE DE DATOS",
                                              "15/03/26 10:30", "TECNICO"}}));
}

TEST_F(Acceso, UnRegistroQueNoSePuedeEscribirSeMuestraYElProgramaSigue) {
    Ejecuta(QStringLiteral("DEMO"), QStringLiteral("CREATE TRIGGER no_acceso BEFORE INSERT ON Control_Acceso "
                                                   "BEGIN SELECT RAISE(ABORT, 'tabla bloqueada'); END"));
    Conecta(QStringLiteral("CAJERO"));
    guion.Responde(Respuesta::OK);
    VerificaAcceso();
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].titulo, QStringLiteral("Aviso al Operador!"));
    EXPECT_EQ(terminaciones, 0);
    EXPECT_EQ(Filas(QStringLiteral("DEMO"), QStringLiteral("SELECT Proceso, PC, Usuario FROM AUX_ERR")),
              (QList<QStringList>{{"Pavenko", "CAJA01", "CAJERO"}}));
}

}  // namespace
