// The maintenance offer after a close: when the installation has a point-of-sale server and keeps movements for
// more than ten days, the operator may start the suite's maintenance program, which purges what is older.
#include "Mantenimiento.h"

#include <QDateTime>

#include "Configuracion.h"
#include "DB_Dll.h"
#include "Fechas.h"
#include "Pasos.h"
#include "Proceso.h"
#include "Sesion.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"
#include "Variant.h"

namespace {
// A failure during the offer is shown, and the window goes on.
int Informa(const ErrorEjecucion& e) {
    TrataError(e, Estilo::OK | Estilo::Critical, QStringLiteral("OfreceMantenimiento"));
    return 0;
}

// Today minus the number of days, which may carry decimals: half a day back from midnight is the day before.
// Worked on date serials, as the platform subtracts from a date, so a night the clock changes costs no day.
QDate FechaDeCorte(const Moneda& dias) {
    const double hoy = Variant(QDateTime(proceso().Ahora().date(), QTime(0, 0))).ADouble();
    return Variant(hoy - dias.ADouble()).AFecha().date();
}
}  // namespace

void OfreceMantenimiento(const std::function<bool()>& TieneServidorTPV) {
    Pasos pasos(Informa);
    const QString titulo = QStringLiteral("Aviso al operador");
    const QString CRLF = QStringLiteral("\r\n");
    Moneda dias;
    bool sigue = false;

    if (!TieneServidorTPV()) return;
    // The days kept; ten or fewer call for no purge.
    pasos.run([&] {
        dias = ACurrency(Cfg(QStringLiteral("DepuracionAutomatica_Dias")));
        sigue = dias > Moneda::DesdeDouble(10);
    });
    if (!sigue) return;
    // Two questions; a No to either ends the offer.
    if (ui().MsgBox(QStringLiteral("Plan de Mantenimiento de Base de Datos") + CRLF +
                        QStringLiteral("-Se recomienda realizar una depuración de Datos") + CRLF +
                        QStringLiteral("-Desea realizarlo ahora...?"),
                    Estilo::YesNo | Estilo::Question, titulo) == Respuesta::No)
        return;
    if (ui().MsgBox(
            QStringLiteral("Este proceso puede demorar unos minutos ") + CRLF + QStringLiteral("-Desea Continuar...?"),
            Estilo::YesNo | Estilo::Question, titulo) == Respuesta::No)
        return;
    // Started and not watched.
    pasos.run([&] {
        DB_Dll& db = sesion().gDB();
        const QString carpeta = AgregaSeparador(proceso().CarpetaPrograma());
        const QString linea =
            carpeta + QStringLiteral("Tresvane @server=") + db.gServidor + QStringLiteral("; @dbname=") + db.gDBName +
            QStringLiteral("; @usuario=") + db.gUsuario + QStringLiteral("; @Password=") + db.gUserPassWord +
            QStringLiteral(";veld@ ; @UsuarioLogeado = ") + sesion().gUsuarioLogeado + QStringLiteral("; @Caja=") +
            sesion().gCaja + QStringLiteral(";@ParametroAdicional=") + FechaCorta(FechaDeCorte(dias));
        try {
            proceso().Inicia(linea);
        } catch (const ErrorEjecucion& e) {
            throw ErrorEjecucion(e.Number(),
                                 QStringLiteral("No se pudo iniciar el programa de mantenimiento \"Tresvane\" en la "
                                                "carpeta \"") +
                                     carpeta + QStringLiteral("\": ") + e.Description(),
                                 e.Source());
        }
    });
}
