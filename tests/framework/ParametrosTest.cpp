// The parameter text: key extraction, the choice of the text, the settings file and the workstation values.
#include <QFile>

#include "ErrorEjecucion.h"
#include "Parametros.h"
#include "Soporte.h"
#include "TkPrint2.h"

namespace {

class Parametros : public ConEntorno {
  protected:
    void EscribeIni(const QByteArray& contenido) {
        QFile f(Ruta(QStringLiteral("CN000pr.INI")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenido);
    }
};

TEST_F(Parametros, ExtraeCadaClaveComoLaEscribenLosProgramas) {
    struct Caso {
        const char* texto;
        const char* clave;
        const char* esperado;
    };
    const Caso casos[] = {
        {"@Server=SRV01; @DbName=EMPRESA;veld@", "@Server", "SRV01"},
        {"@server = SRV01 ;", "@Server", "SRV01"},  // lower case key, blanks around "=" and value
        {"@CAJA=7;", "@Caja", "7"},                 // any letter case
        {"@Password=a=b=c;", "@Password", "abc"},   // every "=" dropped, the password's too
        {"@Usuario=ana; @UsuarioLogeado=luis;", "@UsuarioLogeado", "luis"},
        {"@Usuario=ana; @UsuarioLogeado=luis;", "@Usuario", "ana"},
        {"@UsuarioLogeado=luis; @Usuario=ana;", "@Usuario", "ana"},               // a key is never read inside another
        {"@Server=bcdef; @UsuarioLogeado=dhhhh; @Menu=; veld@", "@Usuario", ""},  // absent: the default
        {"@Server=bcdef; @UsuarioLogeado=dhhhh; @Menu=; veld@", "@UsuarioLogeado", "dhhhh"},
        {"@UsuarioLogeado = luis ;@Usuario  = ana;", "@UsuarioLogeado", "luis"},  // blanks before "=" too
        {"@UsuarioLogeado = luis ;@Usuario  = ana;", "@Usuario", "ana"},
        {"@server=S; @dbname= B; @usuario= U; @Password= P; @ParametroAdicional=; @Caja=1;veld@", "@Usuario", "U"},
        {"@Menu=@Caja; @Caja=3;", "@Caja", "3"},  // the key's text inside a value is not the key
        {"@Caja;", "@Caja", "1"},                 // no "=": not the key
        {"veld@ basura @Menu=MP010; mas", "@Menu", "MP010"},
        {"@Menu=;", "@Menu", ""},
        {"@Server=SRV01;", "@Caja", "1"},                                         // absent: the default
        {"@ParametroAdicional=15/03/2026", "@ParametroAdicional", "15/03/2026"},  // trailing, without ";"
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ExtraeParametro(QString::fromUtf8(c.texto), QString::fromUtf8(c.clave),
                                  QString::fromUtf8(c.clave) == QStringLiteral("@Caja") ? "1" : ""),
                  QString::fromUtf8(c.esperado))
            << c.texto << " " << c.clave;
}

TEST_F(Parametros, UnValorSinPuntoYComaEsUnArgumentoInvalido) {
    try {
        ExtraeParametro(QStringLiteral("@Server=SRV01; @Caja=2"), QStringLiteral("@Caja"), QStringLiteral("1"));
        FAIL() << "no error";
    } catch (const ErrorEjecucion& e) {
        EXPECT_EQ(e.Number(), Err::ArgumentoInvalido);
    }
}

TEST_F(Parametros, LimpiaServidorQuitaProtocoloYPuerto) {
    struct Caso {
        const char* entrada;
        const char* esperado;
    };
    const Caso casos[] = {
        {"SRV01:1433", "SRV01"}, {"proto/SRV01:1433", "SRV01"}, {"a/b/c", "b/c"}, {"SRV01", "SRV01"}, {"", ""},
        {"tcp/SRV01", "SRV01"},
    };
    for (const Caso& c : casos) EXPECT_EQ(LimpiaServidor(QString::fromUtf8(c.entrada)), c.esperado) << c.entrada;
}

TEST_F(Parametros, ElArgumentoGanaALaLineaDeComandos) {
    proc.lineaComandos = QStringLiteral("@Server=LINEA;");
    EXPECT_EQ(EligeParametros(false, QStringLiteral("@Server=ARG;")), QStringLiteral("@Server=ARG;"));
    EXPECT_EQ(EligeParametros(false, QString()), QStringLiteral("@Server=LINEA;"));
    proc.lineaComandos = QStringLiteral("   ");
    EXPECT_EQ(EligeParametros(false, QString()), QStringLiteral("   "));  // without UsaIni the file is not read
}

TEST_F(Parametros, ElArchivoDelPuestoComponeElTextoConLosValoresPorDefecto) {
    proc.maquina = QStringLiteral("caja01");
    proc.usuario = QStringLiteral("ana");
    EscribeIni("[CAJA01|ANABaseDeDatos]\r\nServidor=SRV|01\r\nDbName=EMPRESA\r\n");
    EXPECT_EQ(EligeParametros(true, QString()),
              QStringLiteral("@server=SRV01; @dbname= EMPRESA; @usuario= Tamarek; @Password= quillet; "
                             "@ParametroAdicional=; @Caja=1;veld@"));
}

TEST_F(Parametros, ElArchivoDelPuestoDaUsuarioYClaveDescifrados) {
    proc.maquina = QStringLiteral("CAJA01");
    proc.usuario = QStringLiteral("ANA");
    EscribeIni("[CAJA01|ANABaseDeDatos]\r\nServidor=SRV01\r\nDbName=EMP\r\nUsuario=" + Encripta("sa|x").toUtf8() +
               "\r\nUserPassWord=" + Encripta("secreto").toUtf8() + "\r\n");
    EXPECT_EQ(ParametrosDesdeIni(), QStringLiteral("@server=SRV01; @dbname= EMP; @usuario= sax; @Password= secreto; "
                                                   "@ParametroAdicional=; @Caja=1;veld@"));
}

TEST_F(Parametros, LaClaveDelPuestoSeCortaA50ParaFlatToolbarsPeroNoParaLaBase) {
    proc.maquina = QStringLiteral("servidor-de-la-sucursal-norte-01");
    proc.usuario = QStringLiteral("operador.de.turno.noche");
    const QString completa = QStringLiteral("SERVIDOR-DE-LA-SUCURSAL-NORTE-01|OPERADOR.DE.TURNO.NOCHE");
    ASSERT_GT(completa.size(), 50);
    EXPECT_EQ(ClavePuesto(), completa.left(50));
    EXPECT_EQ(SeccionBaseDeDatos(), completa + QStringLiteral("BaseDeDatos"));

    EscribeIni("[" + completa.left(50).toUtf8() + "]\r\nFlatToolbars=0\r\n");
    EXPECT_EQ(LeeFlatToolbars(ClavePuesto()), 0.0);
    EXPECT_EQ(LeeFlatToolbars(QStringLiteral("OTRO|PUESTO")), 1.0);  // no section: the default
}

}  // namespace
