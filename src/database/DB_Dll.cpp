// The database object: the default instance and the connection operations (the server connection with its
// dialog, the reconnection, the local Access file).
#include "DB_Dll.h"

#include "Pasos.h"
#include "Proceso.h"
#include "Texto.h"
#include "Ui.h"
#include "frmAcceso.h"

namespace {
std::unique_ptr<DB_Dll>& Instancia() {
    static std::unique_ptr<DB_Dll> instancia;
    return instancia;
}

const QString kOracle = QStringLiteral("OraOLEDB.Oracle.1");
}  // namespace

std::function<bool()> DB_Dll::LeeConfidencialidad = [] { return false; };
QStringList DB_Dll::ProgramasConDepositoReal;

DB_Dll::DB_Dll() = default;
DB_Dll::~DB_Dll() = default;

DB_Dll& DB_Dll::Predeterminada() {
    auto& instancia = Instancia();
    if (!instancia) instancia = std::make_unique<DB_Dll>();
    return *instancia;
}

void DB_Dll::ReiniciaPredeterminada() {
    Instancia().reset();
}

void DB_Dll::ConstruyeCadena() {
    if (Contiene(gServidor, QStringLiteral("#"))) {
        gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + gDBName +
                      QStringLiteral(";User Id=") + gUsuario + QStringLiteral(";Password=") + gUserPassWord +
                      QStringLiteral(";");
    } else {
        gConnString = QStringLiteral("PROVIDER=") + Predeterminada().pSQLOLEDB() + QStringLiteral(";") +
                      QStringLiteral("Server=") + gServidor + QStringLiteral(";") + QStringLiteral("Database =") +
                      gDBName + QStringLiteral(";") + QStringLiteral("UId=") + gUsuario + QStringLiteral(";") +
                      QStringLiteral("Pwd=") + gUserPassWord + QStringLiteral(";") + gExtended;
    }
}

bool DB_Dll::MuestraDialogo() {
    // Without a screen nobody can fill the dialog: it counts as cancelled.
    if (!ui().MuestraFormularios()) {
        gOpenFlag = false;
        return false;
    }
    // 1. Load the dialog with the connection data; the first platform selected.
    frmAcceso dialogo;
    dialogo.TxtDbName->setText(gDBName);
    dialogo.TxtServidor->setText(gServidor);
    dialogo.TxtUserId->setText(gUsuario);
    dialogo.TxtUserPassword->setText(gUserPassWord);
    dialogo.CboPlataformaDB->setCurrentIndex(0);
    // 2. Modal.
    ui().MuestraModal(dialogo);
    if (dialogo.Aceptar) {
        // 3. Accepted: the texts come back; Oracle marks the server with "#".
        gOpenFlag = true;
        gDBName = dialogo.TxtDbName->text();
        gServidor = dialogo.TxtServidor->text();
        gUsuario = dialogo.TxtUserId->text();
        gUserPassWord = dialogo.TxtUserPassword->text();
        if (dialogo.CboPlataformaDB->currentIndex() > 0) {
            gProveedor = kOracle;
            if (!Contiene(gServidor, QStringLiteral("#"))) gServidor += QStringLiteral("#");
        } else {
            gProveedor = Predeterminada().pSQLOLEDB();
        }
    } else {
        // 4. Cancelled.
        gOpenFlag = false;
    }
    // 5. The dialog unloads as it goes out of scope.
    return gOpenFlag;
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString, bool ValidaAdmin,
                             bool MuestraError) {
    // A connection already open (3705) is closed and the step run again, once per call.
    auto cierraYReintenta = [&](const ErrorEjecucion& e) {
        if (e.Number() != Err::ObjetoAbierto || reconectado_) return false;
        reconectado_ = true;
        try {
            gCnn.Close();
        } catch (const ErrorEjecucion&) {
            // already closed: the retried step opens it anyway
        }
        return true;
    };
    Pasos pasos([&](const ErrorEjecucion& e) -> int {
        if (!MuestraError) {
            if (cierraYReintenta(e)) return Reintentar;
            gOpenFlag = false;
            return 0;
        }
        if (gCnn.errors().Count() > 0) {
            const ErrorProveedor& p = gCnn.errors().Item(0);
            const QChar cr(13);
            int respuesta =
                ui().MsgBox(QStringLiteral(" Estado de Sql: ") + p.SQLState + cr + QStringLiteral("Numero de Error: ") +
                                QString::number(p.Number) + cr + QStringLiteral("Descripcion: ") + p.Description + cr +
                                QStringLiteral("Codigo Nativo: ") + QString::number(p.NativeError) + cr +
                                QStringLiteral(" - Desea Intentarlo Nuevamente??? "),
                            Estilo::YesNo + Estilo::Critical, QStringLiteral(" Error de Conexion a Base de Datos"));
            if (respuesta == Respuesta::Yes) {
                gCnn.errors().Clear();
                if (!MuestraDialogo()) return 0;
                ConstruyeCadena();
                return Reintentar;
            }
            gOpenFlag = false;
            return 0;
        }
        if (cierraYReintenta(e)) return Reintentar;
        ui().MsgBox(e.Description(), Estilo::OK);
        return 0;
    });

    // 1. A fresh call: no reconnection yet; the connection counts as open from here.
    pasos.run([&] {
        reconectado_ = false;
        gOpenFlag = true;
    });
    // 2. The provider by default.
    pasos.run([&] {
        if (IgualesTexto(gProveedor, QString())) gProveedor = QStringLiteral("SQLOLEDB");
    });
    // 3. The connection string: built from the fields unless the caller gives one.
    pasos.run([&] {
        if (Recorta(ConnString).isEmpty())
            ConstruyeCadena();
        else
            gConnString = ConnString;
    });
    // 4. The connection dialog, when asked for; a cancelled dialog ends here without connecting.
    pasos.run([&] {
        if (!PideParametrosSQL) return;
        if (!MuestraDialogo()) {
            pasos.Detiene();
            return;
        }
        ConstruyeCadena();
    });
    // 5. Cursor location.
    pasos.run([&] { gCnn.SetCursorLocation(lCursor); });
    // 6. Open.
    pasos.run([&] { gCnn.Open(gConnString, QString(), QString(), -1); });
    // 7. Administrator check.
    pasos.run([&] {
        if (!ValidaAdmin) {
            gEsAdmin = true;
            return;
        }
        if (Recorta(gDBName).isEmpty()) return;
        gCnn.SetDefaultDatabase(gDBName);
        if (!Predeterminada().ExisteTablaDB(QStringLiteral("TA_USUARIOS"))) return;
        if (!MuestraError) {
            gEsAdmin = true;
            return;
        }
        Variant administrador = DatosTabla(QStringLiteral("ta_usuarios"), gUsuario, QStringLiteral("Administrador"),
                                           QStringLiteral("nombre"), Variant(qint32(8)), QString(), true, false);
        gEsAdmin = Val(administrador.ATexto()) == 1;
    });
}

void DB_Dll::ReintentaConectar() {
    Pasos pasos([&](const ErrorEjecucion& e) -> int {
        if (e.Number() == Err::ObjetoCerrado) return Ignorar;  // nothing to close: straight to the open
        gOpenFlag = false;
        if (e.Number() == Err::ErrorNoEspecificado) return 0;
        return TrataError(e, std::nullopt, QStringLiteral("AbrirRecordset"));
    });
    pasos.run([&] { gOpenFlag = false; });
    pasos.run([&] { gCnn.SetCommandTimeout(5); });
    pasos.run([&] { gCnn.Close(); });
    pasos.run([&] { gCnn.Open(gCnn.ConnectionString(), QString(), QString(), -1); });
    pasos.run([&] { gOpenFlag = true; });
}

bool DB_Dll::BuscaArchivoAccess() {
    CmdDlg.DialogTitle = QStringLiteral("Buscar Base de Datos");
    CmdDlg.Filter = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");
    CmdDlg.Cancelado = false;
    CmdDlg.ShowOpen();
    if (CmdDlg.Cancelado) return false;
    gDBName = CmdDlg.FileName;
    return true;
}

void DB_Dll::OpenLocalADODB(const QString& ConnString, const QString& CadenaID, const QString& CadenaPWD) {
    QString clausula;            // the database password clause, once a refusal has set it
    bool claveGuardada = false;  // the stored password was already tried once
    while (true) {
        QString cadena;
        try {
            // 1. No file named: the user picks one.
            if (Recorta(gDBName).isEmpty() && !BuscaArchivoAccess()) return;
            // 2. The Jet connection string, or the caller's.
            if (ConnString.isEmpty())
                cadena = QStringLiteral("PROVIDER=") + gProveedor + QStringLiteral(";") +
                         QStringLiteral("Data Source =") + gDBName + QStringLiteral(";") + CadenaID +
                         QStringLiteral("=") + gUsuario + QStringLiteral(";") + CadenaPWD + QStringLiteral("=") +
                         gUserPassWord + QStringLiteral(";") + gExtended;
            else
                cadena = ConnString;
            cadena += clausula;
            // 3. Open.
            gCnn.Open(cadena, QString(), QString(), -1);
            // 4. Keep the string.
            gConnString = cadena;
            return;
        } catch (const ErrorEjecucion& e) {
            QString estado = gCnn.errors().Count() > 0 ? gCnn.errors().Item(0).SQLState : QString();
            bool conErrores = gCnn.errors().Count() > 0;
            if (conErrores &&
                (IgualesTexto(estado, QStringLiteral("3024")) || IgualesTexto(estado, QStringLiteral("3051")) ||
                 IgualesTexto(estado, QStringLiteral("3044")))) {
                // The file is missing or cannot be opened: pick it again and start over.
                if (!BuscaArchivoAccess()) return;
                continue;
            }
            bool guardada = false;  // a null, or anything that is no boolean, counts as false
            try {
                guardada = !gIgnoraPassWord.EsNull() && gIgnoraPassWord.ABooleano();
            } catch (const ErrorEjecucion&) {
            }
            // The stored password refused a second time would be retried without end: report it instead.
            if (conErrores && IgualesTexto(estado, QStringLiteral("3031")) && !(guardada && claveGuardada)) {
                if (guardada) {
                    claveGuardada = true;
                    clausula = QStringLiteral("Jet OLEDB:Database Password=") + gUserPassWord + QStringLiteral(";");
                } else {
                    clausula =
                        QStringLiteral(" Jet OLEDB:Database Password=") +
                        ui().InputBox(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access")) +
                        QStringLiteral(";");
                }
                continue;
            }
            ui().MsgBox(QString::number(e.Number()) + QStringLiteral("  ") + e.Description(), Estilo::Critical);
            return;
        }
    }
}
