// The access check and the access log.
#include "Acceso.h"

#include "DB_Dll.h"
#include "Fechas.h"
#include "Pasos.h"
#include "Proceso.h"
#include "SentenciasSQL.h"
#include "Sesion.h"
#include "Stuff.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

namespace {

struct Alias {
    const char* variante;
    const char* canonico;
};

// Variant names of the suite's programs (their alternative builds, and this program's closes run without a
// window) and the name the menu knows them by.
const Alias kAlias[] = {
    {"PAVENKOCIERRE", "PAVENKO"}, {"PAVENKOH", "PAVENKO"},     {"TRESVANEH", "TRESVANE"},
    {"TKVENTASH", "TKVENTAS"},    {"TKTPVH", "TKTPV"},         {"TKSTOCKH", "TKSTOCK"},
    {"TKCOMPRASH", "TKCOMPRAS"},  {"TKCAJAH", "TKCAJA"},       {"TKCONTABH", "TKCONTAB"},
    {"TKPEDIDOSH", "TKPEDIDOS"},  {"TKREMITOSH", "TKREMITOS"}, {"TKINFORMESH", "TKINFORMES"},
};

// This program under its executable and project names, and the suite's service programs.
const char* const kExentos[] = {"Pavenko", "Marvelo", "Marveloh", "TKSERVICIO", "TKACTUALIZA", "TKRESPALDO"};

const QString kSupervisor = QStringLiteral("SUPERVISOR TAMAREK MC");

}  // namespace

QString ProcesoCanonico(const QString& proceso, bool* tieneAlias) {
    for (const Alias& a : kAlias) {
        if (IgualesTexto(proceso, QString::fromUtf8(a.variante))) {
            if (tieneAlias) *tieneAlias = true;
            return QString::fromUtf8(a.canonico);
        }
    }
    if (tieneAlias) *tieneAlias = false;
    return proceso;
}

bool ProcesoExento(const QString& proceso) {
    for (const char* e : kExentos)
        if (IgualesTexto(proceso, QString::fromUtf8(e))) return true;
    return false;
}

void VerificaAcceso(const QString& Proceso) {
    Sesion& s = sesion();
    DB_Dll& db = s.gDB();
    Pasos pasos = Pasos::OmiteFallos();
    const QString ejecutable = proceso().NombreEjecutable();
    QString nombre, tarea;
    bool consulta = true;
    Recordset rs;

    // 1.
    pasos.run([&] {
        nombre = Proceso.isEmpty() ? ejecutable : Proceso;
        s.gUsuarioLogeado = db.gUsuario;
    });
    // 2. and 3.
    pasos.run([&] {
        bool tieneAlias = false;
        nombre = ProcesoCanonico(nombre, &tieneAlias);
        if (!tieneAlias && ProcesoExento(nombre)) consulta = false;
    });

    if (consulta) {
        // 4. Operator and process are quoted with their apostrophes doubled, so neither can change the statement.
        pasos.run([&] {
            QString sql =
                QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre ") +
                QStringLiteral(" FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave ") +
                QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + DuplicaApostrofes(s.gUsuarioLogeado) +
                QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") + DuplicaApostrofes(nombre) + QStringLiteral("%')");
            db.AbrirRecordset(sql, rs);
        });
        // A query that could not be read counts as one without rows.
        bool sinFilas = true;
        pasos.run([&] { sinFilas = rs.Eof(); });
        if (sinFilas) {
            // 5.
            if (IgualesTexto(ejecutable, QStringLiteral("CN000PR"))) {
                tarea = QStringLiteral("Menu Principal");
            } else if (IgualesTexto(db.gUsuario, db.gDBName) || IgualesTexto(db.gUsuario, kSupervisor)) {
                tarea = ejecutable;
            } else {
                Pasos::OmiteFallos().run([&] { db.CierraRecordset(rs); });
                ui().MsgBox(QStringLiteral("NO TIENE ACCESO A ESTE PROCESO, UTILICE EL MENU CORRESPONDIENTE!!!"),
                            Estilo::Critical | Estilo::OK, QStringLiteral("ATENCION!"));
                TerminaPrograma();
                return;
            }
        } else {
            // 6.
            pasos.run([&] {
                rs.MoveFirst();
                tarea = ValorSeguro(rs.Valor(QStringLiteral("Nombre"))).ATexto();
            });
        }
        // 7.
        pasos.run([&] { db.CierraRecordset(rs); });
    }

    // 8. The access log.
    Recordset ultimo;
    QStringList sentencias{QString()};
    pasos.run([&] {
        db.AbrirRecordset(AdaptaSQL(QStringLiteral("Select TOP 1 * from Control_Acceso  with(nolock) ")), ultimo);
    });
    pasos.run([&] {
        const QString comilla = QStringLiteral("'");
        AgregaCampo(QStringLiteral("Maquina"), Mayus(Recorta(NombreMaquina())), comilla, true);
        AgregaCampo(QStringLiteral("Usuario"), Mayus(Recorta(s.gUsuarioLogeado)), comilla, false);
        AgregaCampo(QStringLiteral("Formulario"), Mayus(Recorta(nombre)), comilla, false);
        AgregaCampo(QStringLiteral("Tarea"), Mayus(Recorta(tarea)), comilla, false);
        AgregaCampo(QStringLiteral("Ingreso"),
                    FormateaFecha(proceso().Ahora(), FormatoFecha() + QStringLiteral(" ") + FormatoHora()), comilla,
                    false);
        AgregaCampo(QStringLiteral("NombreUsuario"), QString(s.gUsuarioLogeado), comilla, false);
    });
    pasos.run([&] {
        QString condicion;
        ArmaSentencia(s.ListaCampos, sentencias, QStringLiteral("Control_Acceso"), false, condicion, false);
    });
    pasos.run([&] {
        bool huboError = false;
        long nroError = 0;
        QString texto, mensaje;
        GActualizarDatoScript(sentencias, huboError, nroError, false, false, texto, mensaje, true);
    });
    pasos.run([&] { db.CierraRecordset(ultimo); });
}
