// The transaction runner and the error table.
#include "Stuff.h"

#include "DB_Dll.h"
#include "Fechas.h"
#include "Pasos.h"
#include "Proceso.h"
#include "Sesion.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

namespace {
const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

// Sends one text; the outcome is read from the connection's error collection, not from a raised failure.
void Envia(QString texto) {
    Pasos::OmiteFallos().run([&] { sesion().gDB().EjecutaConsultaSQL(texto); });
}
}  // namespace

void GActualizarDatoScript(const QStringList& Sentencias, bool& HuboError, long& NroError, bool InformaDuplicado,
                           bool InformaClaveForanea, QString& TextoEjecutado, QString& MensajeError,
                           bool MuestraMensaje) {
    Pasos pasos(
        [](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("GActualizarDatoScript")); });
    DB_Dll& db = sesion().gDB();
    QString unidas, lote, textoError;
    long numero = 0;

    // 1.
    pasos.run([&] { HuboError = false; });
    // 2. Join the non-blank statements, each after a CR.
    pasos.run([&] {
        for (const QString& s : Sentencias)
            if (!Recorta(s).isEmpty()) unidas += CR + s;
    });
    // 3. Nothing to send.
    if (unidas.isEmpty()) return;
    // 4.
    pasos.run([&] {
        lote = QStringLiteral("BEGIN TRANSACTION ") + CR + CR + unidas + CR;
        TextoEjecutado = lote;
    });
    // 5.
    pasos.run([&] { Envia(lote); });
    // 6. The provider's errors.
    pasos.run([&] {
        Errors& errores = db.gCnn.errors();
        if (errores.Count() == 0) return;
        HuboError = true;
        numero = errores.Item(0).NativeError;
        // One line per error; of several, the last is the provider's summary and is left out.
        const long lineas = errores.Count() == 1 ? 1 : errores.Count() - 1;
        for (long i = 0; i < lineas; ++i)
            textoError += QString::number(errores.Item(i).NativeError) + QStringLiteral(" : ") +
                          errores.Item(i).Description + CRLF;
        MensajeError = textoError;
        if ((InformaDuplicado && numero == 2627) || (InformaClaveForanea && numero == 547)) {
            MensajeError = errores.Item(0).Description;
            textoError.clear();
        }
        errores.Clear();
    });
    // 7. Undo, record, show.
    if (HuboError) {
        pasos.run([&] { Envia(QStringLiteral("ROLLBACK TRANSACTION")); });
        pasos.run([&] { GrabaAuxErr(lote, proceso().NombreEjecutable(), numero, textoError); });
        pasos.run([&] {
            if (!Recorta(textoError).isEmpty() && MuestraMensaje)
                ui().MsgBox(textoError, Estilo::Critical | Estilo::OK, QStringLiteral("Aviso al Operador!"));
        });
    } else {
        // 8.
        pasos.run([&] { Envia(QStringLiteral("COMMIT TRANSACTION")); });
    }
    // 9.
    pasos.run([&] { NroError = numero; });
}

void GrabaAuxErr(const QString& SQL, QString Proceso, long NroError, const QString& Descripcion) {
    Pasos pasos = Pasos::OmiteFallos();
    DB_Dll& db = sesion().gDB();
    Recordset rs;
    // 1.
    pasos.run([&] {
        if (Proceso.isEmpty()) Proceso = proceso().NombreEjecutable();
    });
    // 2.
    pasos.run([&] {
        db.AbrirRecordset(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), rs, nullptr,
                          ado::adOpenDynamic, ado::adLockOptimistic, -1, true);
    });
    // 3.
    pasos.run([&] { rs.AddNew(); });
    pasos.run([&] { rs.Fields(QStringLiteral("Proceso")).SetValue(Variant(Proceso)); });
    pasos.run([&] {
        rs.Fields(QStringLiteral("Fecha")).SetValue(Variant(FormateaFecha(proceso().Ahora(), FormatoFechaHora())));
    });
    pasos.run([&] { rs.Fields(QStringLiteral("Error")).SetValue(Variant(qint32(NroError))); });
    pasos.run([&] { rs.Fields(QStringLiteral("Descripcion")).SetValue(Variant(CortaTexto(Descripcion, 250))); });
    pasos.run([&] { rs.Fields(QStringLiteral("SQL")).SetValue(Variant(SQL)); });
    pasos.run([&] { rs.Fields(QStringLiteral("PC")).SetValue(Variant(NombreMaquina())); });
    pasos.run([&] { rs.Fields(QStringLiteral("Usuario")).SetValue(Variant(db.gUsuario)); });
    // 4.
    pasos.run([&] { rs.Update(); });
    pasos.run([&] { db.CierraRecordset(rs); });
}

QString FormatoFechaHora() {
    return QStringLiteral("dd/MM/yy HH:mm");
}
QString FormatoFecha() {
    return QStringLiteral("dd/MM/yy");
}
QString FormatoHora() {
    return QStringLiteral("HH:mm");
}
