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

bool TieneServidorTPV() {
    bool tiene = true;  // a setting that cannot be read does not hide the offer
    Pasos(Informa).run([&] { tiene = !Recorta(Cfg(QStringLiteral("TPV_SERVER"))).isEmpty(); });
    return tiene;
}

void OfreceMantenimiento() {
    Pasos pasos(Informa);
    const QString titulo = QStringLiteral("Aviso al operador");
    const QString CRLF = QStringLiteral("\r\n");
    Moneda dias;
    bool sigue = false;

    // 1.
    if (!TieneServidorTPV()) return;
    // 2. and 3.
    pasos.run([&] {
        dias = ACurrency(Cfg(QStringLiteral("DepuracionAutomatica_Dias")));
        sigue = dias > Moneda::DesdeDouble(10);
    });
    if (!sigue) return;
    // 4.
    if (ui().MsgBox(QStringLiteral("Plan de Mantenimiento de Base de Datos") + CRLF +
                        QStringLiteral("-Se recomienda realizar una depuración de Datos") + CRLF +
                        QStringLiteral("-Desea realizarlo ahora...?"),
                    Estilo::YesNo | Estilo::Question, titulo) == Respuesta::No)
        return;
    // 5.
    if (ui().MsgBox(
            QStringLiteral("Este proceso puede demorar unos minutos ") + CRLF + QStringLiteral("-Desea Continuar...?"),
            Estilo::YesNo | Estilo::Question, titulo) == Respuesta::No)
        return;
    // 6. Started and not watched.
    pasos.run([&] {
        DB_Dll& db = sesion().gDB();
        const QString linea = AgregaSeparador(proceso().CarpetaPrograma()) + QStringLiteral("Tresvane @server=") +
                              db.gServidor + QStringLiteral("; @dbname=") + db.gDBName + QStringLiteral("; @usuario=") +
                              db.gUsuario + QStringLiteral("; @Password=") + db.gUserPassWord +
                              QStringLiteral(";veld@ ; @UsuarioLogeado = ") + sesion().gUsuarioLogeado +
                              QStringLiteral("; @Caja=") + sesion().gCaja + QStringLiteral(";@ParametroAdicional=") +
                              FechaCorta(FechaDeCorte(dias));
        proceso().Inicia(linea);
    });
}
