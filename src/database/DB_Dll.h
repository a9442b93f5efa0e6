// The database object: one ADO connection with its connection data and every database service of the system:
// connecting (with the connection dialog), single values, record sets, statements, SQL literals, the Oracle
// dialect translation, schema checks and changes, and the database error dialog with its log.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "Ado.h"
#include "ErrorEjecucion.h"
#include "TkPrint2.h"
#include "Variant.h"

class QObject;

class DB_Dll {
  public:
    DB_Dll();
    ~DB_Dll();
    DB_Dll(const DB_Dll&) = delete;
    DB_Dll& operator=(const DB_Dll&) = delete;

    // The process-wide default instance, created on first use; some operations reach through it.
    static DB_Dll& Predeterminada();
    // Tests: drops the default instance so that the next use creates a fresh one.
    static void ReiniciaPredeterminada();
    // Whether the session's confidentiality setting is on; the framework points it at its session field.
    static std::function<bool()> LeeConfidencialidad;
    // Executables of the suite that read the real deposit view: for them "V_TA_DEPOSITO" keeps its name.
    static QStringList ProgramasConDepositoReal;

    // Public data, in declaration order.
    CommonDialog CmdDlg;
    bool gOpenFlag = false;
    Variant gIgnoraPassWord;
    Connection gCnn;
    Recordset glrcs;          // held for callers
    Variant gCursorLocation;  // held for callers
    QString gProveedor;
    QString gDsn;       // held for callers
    QString gServidor;  // a "#" anywhere marks an Oracle connection
    QString gDBName;
    QString gUsuario;
    bool gEsAdmin = false;
    QString gUserPassWord;
    QString gConnString;
    QString gExtended;
    QString gLogErr;             // read and written through ArchivoErrores
    bool ParametrosSQL = false;  // held for callers
    qint16 gTKTimeOut = 0;       // held for callers

    // Operations, in slot order.
    Variant BuscaMaximo(const QString& QueTabla, const QString& QueCampo, std::optional<Variant> Tipo = std::nullopt,
                        std::optional<Variant> Condicion = std::nullopt);
    Variant BuscaMinimo(const QString& QueTabla, const QString& QueCampo, std::optional<Variant> Tipo = std::nullopt,
                        std::optional<Variant> Condicion = std::nullopt);
    void OpenServerADODB(bool PideParametrosSQL = false, long lCursor = 3, const QString& ConnString = QString(),
                         bool ValidaAdmin = true, bool MuestraError = true);
    void ReintentaConectar();
    void OpenLocalADODB(const QString& ConnString = QString(), const QString& CadenaID = QStringLiteral("User Id"),
                        const QString& CadenaPWD = QStringLiteral("Password"));
    bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado,
                         const QString& Campo = QStringLiteral("Codigo"), Recordset* Lrcs = nullptr,
                         const Variant& Tipodato = Variant(qint32(8)), const QString& Condicion = QString(),
                         bool SoloLectura = false);
    bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado,
                       const QString& Campo = QStringLiteral("Codigo"), Recordset* Lrcs = nullptr,
                       const Variant& Tipodato = Variant(qint32(8)), const QString& Condicion = QString(),
                       bool SoloLectura = true);
    Variant DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                       const QString& Campo = QStringLiteral("Codigo"), const Variant& Tipodato = Variant(qint32(8)),
                       const QString& Condicion = QString(), bool UsaTrim = true, bool IgnoraError = false);
    bool adodate(const Variant& Qtype) const;
    QString ADOComilla(const Variant& Qtype) const;
    bool ADOText(const Variant& Qtype) const;
    bool ADONumeric(const Variant& Qtype) const;
    bool ADOCurrency(const Variant& Qtype) const;
    bool ADOBoolean(const Variant& Qtype) const;
    void CierraRecordset(Recordset& LrcsTemp);
    // Accept their arguments and do nothing.
    void QConsulta(const QString& TB, QObject* Rsp, const QString& Cl1, const QString& Cl2,
                   const QString& CmpDisplay = QStringLiteral("Codigo"),
                   std::optional<Variant> SQLWHERE = std::nullopt);
    void QGridConsulta(const QString& Sentencia, const QString& CampoDevuelto1, const QString& gCnnString,
                       std::optional<Variant> CampoDevuelto2 = std::nullopt,
                       std::optional<Variant> CampoDevuelto3 = std::nullopt);
    QString stSTF(QString& rsName, qint16 rnPart);
    QString AddBrackets(const QString& rObjName) const;
    QString StripConnect(const QString& rsTblName) const;
    QString StripBrackets(const QString& rsObjName) const;
    QString StripOwner(QString& rsTblName);
    QString StripFileName(const QString& rsFileName) const;
    // SentenciaSQL is replaced by its prepared text.
    void EjecutaConsultaSQL(QString& SentenciaSQL, long* RecordsAffected = nullptr, Recordset* Lrcs = nullptr);
    // The same for a text the caller does not keep.
    void EjecutaConsultaSQL(const QString& SentenciaSQL, long* RecordsAffected = nullptr, Recordset* Lrcs = nullptr) {
        QString copia = SentenciaSQL;
        EjecutaConsultaSQL(copia, RecordsAffected, Lrcs);
    }
    // SentenciaSQL is replaced by its synonym-translated text.
    void AbrirRecordset(QString& SentenciaSQL, Recordset& Lrcs, Connection* Conexionactiva = nullptr,
                        long CursorType = ado::adOpenForwardOnly, long LockType = ado::adLockReadOnly,
                        long Options = -1, bool ConvOracle = true);
    void AbrirRecordset(const QString& SentenciaSQL, Recordset& Lrcs, Connection* Conexionactiva = nullptr,
                        long CursorType = ado::adOpenForwardOnly, long LockType = ado::adLockReadOnly,
                        long Options = -1, bool ConvOracle = true) {
        QString copia = SentenciaSQL;
        AbrirRecordset(copia, Lrcs, Conexionactiva, CursorType, LockType, Options, ConvOracle);
    }
    QString ORACLE_Dicc(const QString& Valor);
    Variant BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo,
                              const Variant& Tipo = Variant(qint32(8)), const QString& Condicion = QString());
    QString pJETOLEDB40() const { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
    QString pJETOLEDB35() const { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }
    QString pSQLOLEDB() const { return QStringLiteral("SQLOLEDB"); }
    Variant SQLValue(Variant Valor, const QString& Tipo = QStringLiteral("'"));
    void AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                  std::optional<Variant> ValorDefault = std::nullopt);
    bool ExisteTablaDB(const QString& Tabla);
    bool ExisteCampoDB(const QString& Tabla, const QString& Campo);
    bool VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar = true, const QString& Tipo = QString(),
                    bool PermiteNulos = false, std::optional<Variant> ValorDefault = std::nullopt);
    QString SS_TSinonimos(const QString& SQL);
    Variant ArchivoErrores() const;
    void ArchivoErrores(const Variant& valor);
    qint16 TratamientoErrores(ErrorEjecucion CodErr, std::optional<Variant> Botones = std::nullopt,
                              std::optional<Variant> Rutina = std::nullopt);

  private:
    QString FiltraSentencia(const QString& Sentencia) const;
    void EjecutaScriptOracle(QString& SQL, long& RecordsAffected);

    void ConstruyeCadena();
    // The Access file through the file dialog; false when the user cancelled.
    bool BuscaArchivoAccess();
    // Runs the connection dialog; false when the user cancelled it.
    bool MuestraDialogo();
    bool reconectado_ = false;  // per-call flag of OpenServerADODB: a 3705 has been answered by closing once
};
