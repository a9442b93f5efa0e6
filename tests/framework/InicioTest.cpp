// The start-up on the demo server: what it connects, reads and writes, and where it ends.
#include <QDialog>
#include <QDir>
#include <QFile>

#include "BaseDemo.h"
#include "DB_Dll.h"
#include "Lib_ClsCons3.h"
#include "ModGlobal.h"
#include "Sesion.h"
#include "frmAcceso.h"

namespace {

class Inicio : public ConBaseDemo {
  protected:
    void Inicia(const QString& parametros) {
        QString cadena;
        IniciaSistema(false, parametros, cadena, 3);
    }
    QList<QStringList> Accesos() {
        return Filas(QStringLiteral("DEMO"),
                     QStringLiteral("SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario "
                                    "FROM Control_Acceso ORDER BY Id"));
    }
    QList<QStringList> TimeOut() {
        return Filas(QStringLiteral("TK_ESTADISTICAS"),
                     QStringLiteral("SELECT Clave, Valor, Grupo, PoliticaNegocio FROM TA_CONFIGURACION "
                                    "WHERE Clave = 'TIMEOUT'"));
    }
};

TEST_F(Inicio, ConParametrosCompletosQuedaConectadoConfiguradoYRegistrado) {
    Inicia(
        QStringLiteral("@Server=tcp/DEMOSRV:1433; @DbName=DEMO; @Usuario=CAJERO; @Password=demo; "
                       "@UsuarioLogeado=OTRO; @Menu=PV010; @Caja=3;veld@"));
    Sesion& s = sesion();
    DB_Dll& db = s.gDB();
    EXPECT_EQ(terminaciones, 0);
    EXPECT_TRUE(guion.Cajas().empty());
    EXPECT_EQ(db.gServidor, QStringLiteral("DEMOSRV"));
    EXPECT_EQ(s.gUsuarioLogeado, QStringLiteral("CAJERO"));  // the connected user, not the one named
    EXPECT_EQ(s.gCaja, QStringLiteral("3"));
    EXPECT_EQ(s.gMenu, QStringLiteral("PV010"));
    EXPECT_EQ(s.gClavePuesto, QStringLiteral("CAJA01|OPERADOR"));
    EXPECT_EQ(s.gCadenaDSN, QStringLiteral("DSN=DEMO; UID=CAJERO; PWD=demo"));
    EXPECT_EQ(s.gArchivoAyuda, Carpeta() + QStringLiteral("htmlhelp\\veldoramext.chm"));
    // The statistics database's time-out, on the main connection.
    EXPECT_EQ(s.gTimeOut, 120);
    EXPECT_EQ(db.gCnn.CommandTimeout(), 120);
    EXPECT_EQ(db.gCnn.IsolationLevel(), 256);
    // The lookup controller and its new catalogue.
    EXPECT_TRUE(s.gConsultas().gUsarMascarasConsultas);
    EXPECT_EQ(s.gConsultas().gRutaMascaraConsultas, Ruta(QStringLiteral("consultas.tkw")));
    EXPECT_EQ(s.gConsultas().MuestraStock, QStringLiteral("SI"));
    EXPECT_EQ(QFileInfo(Ruta(QStringLiteral("consultas.tkw"))).size(), 13222);
    // The settings.
    EXPECT_TRUE(s.MostrarStockenConsultas);
    EXPECT_EQ(s.gColorFondo, 16777215);
    EXPECT_EQ(s.UNegocio, QStringLiteral("   1"));
    EXPECT_EQ(s.gRutaDocTareas, Carpeta() + QStringLiteral("TKDOCTareas.tkw"));
    // One access row: this program is exempt from the check, so no task.
    EXPECT_EQ(Accesos(), (QList<QStringList>{{"CAJA01", "CAJERO", "PAVENKO", "", "15/03/26 10:30", "CAJERO"}}));
}

TEST_F(Inicio, ElTiempoDeEsperaSaleDeLasEstadisticas) {
    struct Caso {
        const char* valor;  // nullptr: the key is absent
        int esperado;
    };
    const Caso casos[] = {{"45", 45}, {nullptr, 360}, {"0", 360}, {"abc", 360}, {"70000", 360}, {" 30 segundos", 30}};
    for (const Caso& c : casos) {
        Ejecuta(QStringLiteral("TK_ESTADISTICAS"),
                QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = 'TIMEOUT'"));
        if (c.valor)
            Ejecuta(QStringLiteral("TK_ESTADISTICAS"),
                    QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave, Valor, Grupo) VALUES ('TimeOut', '%1', 'X')")
                        .arg(QString::fromUtf8(c.valor)));
        sesion().Reinicia();
        Inicia(ParametrosDemo());
        EXPECT_EQ(sesion().gTimeOut, c.esperado) << (c.valor ? c.valor : "absent");
        EXPECT_EQ(sesion().gDB().gCnn.CommandTimeout(), c.esperado);
    }
}

TEST_F(Inicio, SinTimeOutLaClaveSeEscribeConCeroEnBaseDeDatos) {
    Ejecuta(QStringLiteral("TK_ESTADISTICAS"), QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = 'TIMEOUT'"));
    Inicia(ParametrosDemo());
    EXPECT_EQ(TimeOut(), (QList<QStringList>{{"TIMEOUT", "0", "BaseDeDatos", "0"}}));
    EXPECT_EQ(sesion().gTimeOut, 360);
}

TEST_F(Inicio, SinBaseDeEstadisticasSigueCon360SinAvisar) {
    ASSERT_TRUE(QFile::remove(ArchivoBase(QStringLiteral("TK_ESTADISTICAS"))));
    Inicia(ParametrosDemo());
    EXPECT_EQ(sesion().gTimeOut, 360);
    EXPECT_TRUE(guion.Cajas().empty());
    EXPECT_FALSE(QFile::exists(ArchivoBase(QStringLiteral("TK_ESTADISTICAS"))));
    EXPECT_EQ(Accesos().size(), 1);
}

TEST_F(Inicio, UnCatalogoExistenteNoSeReescribe) {
    QFile f(Ruta(QStringLiteral("consultas.tkw")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("mio");
    f.close();
    Inicia(ParametrosDemo());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("mio"));
}

TEST_F(Inicio, UnFalloDelCatalogoSeMuestraYElAccesoIgualSeVerifica) {
    // A directory where the catalogue goes: the write fails.
    ASSERT_TRUE(QDir(Carpeta()).mkdir(QStringLiteral("consultas.tkw")));
    guion.Responde(Respuesta::OK);
    Inicia(ParametrosDemo());
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::OK | Estilo::Critical);
    EXPECT_TRUE(guion.Cajas()[0].titulo.contains(QStringLiteral("IniciaSistema")));
    EXPECT_FALSE(sesion().MostrarStockenConsultas);  // the settings load did not run
    EXPECT_EQ(Accesos().size(), 1);                  // the access check did
    EXPECT_EQ(terminaciones, 0);
}

TEST_F(Inicio, UnaClaveSinPuntoYComaQuedaVacia) {
    Inicia(QStringLiteral("@Server=DEMOSRV; @DbName=DEMO; @Usuario=CAJERO; @Password=demo; @Caja=2"));
    EXPECT_EQ(sesion().gCaja, QString());  // not even the default
    EXPECT_EQ(terminaciones, 0);
    EXPECT_EQ(Accesos().size(), 1);
}

TEST_F(Inicio, SinConexionElProgramaTermina) {
    // An unknown database: the database object reports it and the operator gives up.
    guion.Responde(Respuesta::No);
    Inicia(QStringLiteral("@Server=DEMOSRV; @DbName=NOEXISTE; @Usuario=CAJERO; @Password=demo;"));
    EXPECT_EQ(terminaciones, 1);
    EXPECT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(Accesos().size(), 0);
}

TEST_F(Inicio, SinLineaDeComandosPideLosDatosDeConexion) {
    proc.lineaComandos.clear();
    bool pidio = false;
    guion.AlMostrar([&](QDialog& d) {
        pidio = true;
        static_cast<frmAcceso&>(d).bcCancelar_Click();
    });
    Inicia(QString());
    EXPECT_TRUE(pidio);
    EXPECT_EQ(terminaciones, 1);
    EXPECT_EQ(sesion().gCaja, QStringLiteral("1"));
    EXPECT_EQ(sesion().gDB().gServidor, QString());
    EXPECT_EQ(sesion().gDB().gUsuario, QString());
}

TEST_F(Inicio, UnaSegundaLlamadaNoVuelveALeerLosParametros) {
    Inicia(ParametrosDemo());
    Inicia(QStringLiteral("@Server=OTRO; @DbName=OTRA; @Usuario=X; @Password=Y; @Caja=9;"));
    EXPECT_EQ(sesion().gCaja, QStringLiteral("3"));
    EXPECT_EQ(sesion().gDB().gDBName, QStringLiteral("DEMO"));
    EXPECT_EQ(Accesos().size(), 2);  // the check runs again
}

}  // namespace
