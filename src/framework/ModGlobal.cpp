// The start-up sequence.
#include "ModGlobal.h"

#include <QFileInfo>

#include "Acceso.h"
#include "Catalogo.h"
#include "Configuracion.h"
#include "DB_Dll.h"
#include "Lib_ClsCons3.h"
#include "Numeros.h"
#include "Parametros.h"
#include "Pasos.h"
#include "Proceso.h"
#include "Sesion.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

namespace {
// A connection results when the object counts it open and the provider has it open.
bool Conectada(DB_Dll& db) {
    return db.gOpenFlag && db.gCnn.State() == ado::adStateOpen;
}
}  // namespace

void IniciaSistema(bool UsaIni, const QString& Parametros, QString& ConnString, long lCursor) {
    Sesion& s = sesion();
    DB_Dll& db = s.gDB();
    Pasos pasos = Pasos::OmiteArgumentoInvalido();
    QString carpeta, texto;
    QString servidor, base, usuario, clave;

    // 1.
    pasos.run([&] {
        carpeta = AgregaSeparador(proceso().CarpetaPrograma());
        s.gArchivoAyuda = carpeta + QStringLiteral("htmlhelp\\veldoramext.chm");
    });
    // 2.
    pasos.run([&] {
        s.gColorLetra = 0;
        s.gColorFondo = 0xFFFFFF;
    });
    // 3.
    pasos.run([&] { texto = EligeParametros(UsaIni, Parametros); });
    // 4.
    pasos.run([&] { s.gClavePuesto = ClavePuesto(); });
    pasos.run([&] { s.gFlatToolbars = LeeFlatToolbars(s.gClavePuesto); });

    // 5. Already connected: the parameters are not read again.
    if (!db.gOpenFlag) {
        // 6. One step per key, so that a key without its ";" leaves only its own field as it was.
        struct Clave {
            const char* clave;
            QString* destino;
            const char* predeterminado;
        };
        const Clave claves[] = {
            {"@ParametroAdicional", &s.gParametroAdicional, ""},
            {"@Menu", &s.gMenu, ""},
            {"@Server", &servidor, ""},
            {"@DbName", &base, ""},
            {"@Usuario", &usuario, ""},
            {"@Password", &clave, ""},
            {"@UsuarioLogeado", &s.gUsuarioLogeado, ""},
            {"@Caja", &s.gCaja, "1"},
        };
        for (const Clave& c : claves) {
            pasos.run([&] {
                *c.destino = ExtraeParametro(texto, QString::fromUtf8(c.clave), QString::fromUtf8(c.predeterminado));
            });
        }
        // The Oracle marker.
        pasos.run([&] {
            if (!Recorta(servidor).isEmpty() && servidor.startsWith(QLatin1Char('#'))) {
                servidor = servidor.mid(1);
                if (ConnString.isEmpty()) ConnString = CadenaOracle(base, usuario, clave);
            }
        });
        // 7.
        pasos.run([&] {
            db.gUsuario = usuario;
            db.gDBName = base;
            db.gUserPassWord = clave;
            db.gServidor = LimpiaServidor(servidor);
        });
        // 8. Without server or user the database object asks the operator.
        pasos.run([&] {
            const bool pide = Recorta(db.gServidor).isEmpty() || Recorta(db.gUsuario).isEmpty();
            db.OpenServerADODB(pide, lCursor, ConnString, true, true);
        });
        // 9. No connection: the program ends; the database object has told the operator why.
        if (!pasos.Detenido() && !Conectada(db)) {
            TerminaPrograma();
            return;
        }
        // 10.
        pasos.run([&] { AbreEstadisticas(); });
        // 11.
        pasos.run([&] {
            s.gUsuarioLogeado = db.gUsuario;
            db.gCnn.SetCommandTimeout(s.gTimeOut);
            db.gCnn.SetIsolationLevel(ado::adXactReadUncommitted);
        });
    }

    // 12.
    if (!db.gDBName.isEmpty()) {
        pasos.run([&] {
            s.gCadenaDSN = QStringLiteral("DSN=") + db.gDBName + QStringLiteral("; UID=") + db.gUsuario +
                           QStringLiteral("; PWD=") + db.gUserPassWord;
        });
        pasos.run([&] { FijaCarpeta(carpeta); });
        pasos.run([&] { db.gCnn.SetDefaultDatabase(db.gDBName); });
        pasos.run([&] {
            Lib_ClsCons3& consultas = s.gConsultas();
            consultas.gConnString = db.gConnString;
            consultas.gUsarMascarasConsultas = true;
            consultas.gRutaMascaraConsultas = carpeta + QStringLiteral("consultas.tkw");
        });
        pasos.run([&] {
            if (!QFileInfo(s.gConsultas().gRutaMascaraConsultas).isFile()) ArmaCatalogoConsultas();
        });
        pasos.run([&] { db.gCnn.SetDefaultDatabase(db.gDBName); });
        pasos.run([&] { CargaConfiguracion(carpeta); });
    }

    // A failure that ended the sequence is shown, and never lets the operator in without the check; without a
    // connection, though, the program cannot go on.
    if (pasos.Detenido() && pasos.UltimoError()) {
        TrataError(*pasos.UltimoError(), Estilo::OK | Estilo::Critical, QStringLiteral("IniciaSistema"));
        if (!Conectada(db)) {
            TerminaPrograma();
            return;
        }
    }
    // 13.
    VerificaAcceso(QString());
}

void AbreEstadisticas() {
    Sesion& s = sesion();
    DB_Dll& db = s.gDB();
    DB_Dll& est = s.gDBEstadisticas();
    Pasos pasos = Pasos::OmiteFallos();
    // 1.
    pasos.run([&] { s.gTimeOut = 360; });
    // 2.
    pasos.run([&] {
        if (est.gCnn.State() == ado::adStateOpen) est.gCnn.Close();
    });
    // 3.
    pasos.run([&] {
        est.gProveedor = db.pSQLOLEDB();
        est.gServidor = db.gServidor;
        est.gUsuario = db.gUsuario;
        est.gUserPassWord = db.gUserPassWord;
        est.gDBName = QStringLiteral("TK_ESTADISTICAS");
    });
    // 4. Quietly: a missing statistics database is no reason to bother the operator.
    pasos.run([&] { est.OpenServerADODB(false, 3, QString(), true, false); });
    // 5.
    pasos.run([&] {
        if (est.gCnn.State() != ado::adStateOpen) return;
        s.gTimeOut = RedondeaEntero16(Val(CfgTK(QStringLiteral("TimeOut"))));
    });
    pasos.run([&] {
        if (est.gCnn.State() == ado::adStateOpen && s.gTimeOut == 0)
            GrabaCfgTK(QStringLiteral("TimeOut"), Variant(s.gTimeOut), QString(), false, QStringLiteral("BaseDeDatos"),
                       true);
    });
    // 6.
    pasos.run([&] {
        if (s.gTimeOut == 0) s.gTimeOut = 360;
    });
}
