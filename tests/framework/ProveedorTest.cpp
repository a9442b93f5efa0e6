// What the framework sends to the provider, to the character, and how it treats the provider's errors; on the
// scripted engine, which records every statement and fails on demand.
#include <QFile>
#include <memory>

#include "Acceso.h"
#include "BaseDemo.h"
#include "Configuracion.h"
#include "DB_Dll.h"
#include "ModGlobal.h"
#include "MotorGuion.h"
#include "Sesion.h"
#include "Stuff.h"

namespace {

class Proveedor : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        Connection::FijaFabricaDePrueba(MotorGuion::Fabrica(motor));
        sesion().Reinicia();
        FijaTerminacion([this] { ++terminaciones; });
        motor->Filas(QStringLiteral("AUX_ERR"), {"Proceso", "Fecha", "Error", "Descripcion", "SQL", "PC", "Usuario"},
                     {});
    }
    void TearDown() override {
        sesion().Reinicia();
        FijaTerminacion({});
        Connection::FijaFabricaDePrueba(nullptr);
        ConEntorno::TearDown();
    }
    void Conecta(const QString& usuario = QStringLiteral("CAJERO")) {
        DB_Dll& db = sesion().gDB();
        db.gServidor = QStringLiteral("SRV");
        db.gDBName = QStringLiteral("DEMO");
        db.gUsuario = usuario;
        db.gUserPassWord = QStringLiteral("x");
        db.OpenServerADODB(false, 3, QString(), false, true);
        ASSERT_TRUE(db.gOpenFlag);
        sesion().gUsuarioLogeado = usuario;
        motor->sentencias.clear();
    }
    // What the provider received from the first entry containing the fragment on.
    QStringList DesdeQueContiene(const QString& fragmento) const {
        for (int i = 0; i < motor->sentencias.size(); ++i)
            if (motor->sentencias[i].contains(fragmento)) return motor->sentencias.mid(i);
        return {};
    }
    static ErrorProveedor Error(long nativo, const QString& descripcion) {
        ErrorProveedor e;
        e.Number = Err::ViolacionIntegridad;
        e.NativeError = nativo;
        e.Description = descripcion;
        e.SQLState = QStringLiteral("23000");
        return e;
    }

    std::shared_ptr<GuionMotor> motor = std::make_shared<GuionMotor>();
    int terminaciones = 0;
};

TEST_F(Proveedor, UnLoteQueFuncionaLlegaEnteroYSeConfirma) {
    Conecta();
    bool hubo = true;
    long nro = -1;
    QString texto, mensaje;
    GActualizarDatoScript({QString(), QStringLiteral("INSERT INTO T (A) VALUES ('x')"), QStringLiteral("  "),
                           QStringLiteral("UPDATE T SET A = 'y'")},
                          hubo, nro, false, false, texto, mensaje, true);
    EXPECT_EQ(DesdeQueContiene(QStringLiteral("BEGIN TRANSACTION")),
              (QStringList{"BEGIN TRANSACTION \r\r\rINSERT INTO T (A) VALUES ('x')\rUPDATE T SET A = 'y'\r",
                           "COMMIT TRANSACTION"}));
    EXPECT_FALSE(hubo);
    EXPECT_EQ(nro, 0);
    EXPECT_TRUE(motor->grabadas.isEmpty());  // no AUX_ERR row
}

TEST_F(Proveedor, ElTextoDelErrorOmiteLaUltimaDeVarias) {
    struct Caso {
        int errores;
        const char* texto;
    };
    const Caso casos[] = {
        {1, "2627 : primera\r\n"},
        {2, "2627 : primera\r\n"},
        {3, "2627 : primera\r\n3621 : segunda\r\n"},
    };
    for (const Caso& c : casos) {
        Conecta();
        motor->grabadas.clear();
        QList<ErrorProveedor> errores{Error(2627, QStringLiteral("primera")), Error(3621, QStringLiteral("segunda")),
                                      Error(0, QStringLiteral("tercera"))};
        motor->Falla(QStringLiteral("BEGIN TRANSACTION"), errores.mid(0, c.errores));
        guion.Responde(Respuesta::OK);
        bool hubo = false;
        long nro = 0;
        QString texto, mensaje;
        GActualizarDatoScript({QStringLiteral("INSERT INTO T (A) VALUES ('x')")}, hubo, nro, false, false, texto,
                              mensaje, true);
        EXPECT_TRUE(hubo);
        EXPECT_EQ(nro, 2627);
        EXPECT_EQ(mensaje, QString::fromUtf8(c.texto)) << c.errores;
        EXPECT_EQ(guion.Cajas().back().texto, QString::fromUtf8(c.texto));
        EXPECT_EQ(guion.Cajas().back().titulo, QStringLiteral("Aviso al Operador!"));
        EXPECT_EQ(DesdeQueContiene(QStringLiteral("ROLLBACK")).value(0), QStringLiteral("ROLLBACK TRANSACTION"));
        // The error row: process, time, number, text, the batch, workstation and user.
        ASSERT_EQ(motor->grabadas.size(), 1);
        const GuionMotor::FilaGrabada& fila = motor->grabadas[0];
        EXPECT_TRUE(fila.original.isEmpty());
        const QList<Variant> esperada{
            Variant("Pavenko"), Variant("15/03/26 10:30"), Variant(qint32(2627)), Variant(QString::fromUtf8(c.texto)),
            Variant(texto),     Variant("CAJA01"),         Variant("CAJERO")};
        ASSERT_EQ(fila.nueva.size(), esperada.size());
        for (int i = 0; i < esperada.size(); ++i)
            EXPECT_EQ(fila.nueva[i].ATexto(), esperada[i].ATexto()) << fila.columnas.value(i).toStdString();
    }
}

TEST_F(Proveedor, UnaClaveForaneaInformadaVuelveSinCaja) {
    Conecta();
    motor->Falla(QStringLiteral("BEGIN TRANSACTION"),
                 {Error(547, QStringLiteral("conflicto de clave foranea")), Error(3621, QStringLiteral("terminada"))});
    bool hubo = false;
    long nro = 0;
    QString texto, mensaje;
    GActualizarDatoScript({QStringLiteral("DELETE FROM T")}, hubo, nro, false, true, texto, mensaje, true);
    EXPECT_EQ(nro, 547);
    EXPECT_EQ(mensaje, QStringLiteral("conflicto de clave foranea"));
    EXPECT_TRUE(guion.Cajas().empty());
    ASSERT_EQ(motor->grabadas.size(), 1);
    EXPECT_EQ(motor->grabadas[0].nueva.value(3).ATexto(), QString());
}

TEST_F(Proveedor, SoloLasFechasSeLeenEnMayusculas) {
    Conecta();
    struct Caso {
        const char* clave;
        const char* sentencia;
    };
    const Caso casos[] = {
        {"[fecha desde]", "SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WITH(NOLOCK)  WHERE CLAVE = '[FECHA DESDE]'"},
        {" [Fecha Hasta] ", "SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WITH(NOLOCK)  WHERE CLAVE = '[FECHA HASTA]'"},
        {" TpvServer ", "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'TpvServer'"},
        {"O'K", "SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'O''K'"},
    };
    for (const Caso& c : casos) {
        motor->sentencias.clear();
        EXPECT_EQ(Cfg(QString::fromUtf8(c.clave)), QStringLiteral(" "));
        EXPECT_EQ(motor->sentencias, QStringList{QString::fromUtf8(c.sentencia)}) << c.clave;
    }
}

TEST_F(Proveedor, LaConsultaDeAccesoYLaFilaDelRegistro) {
    proc.ejecutable = QStringLiteral("Pavenkoh");
    Conecta(QStringLiteral("O'Brien"));
    motor->Filas(QStringLiteral("TA_TAREAS"), {"USUARIO", "Proceso", "Clave", "Nombre"},
                 {{Variant("O'Brien"), Variant("PAVENKO"), Variant("PV010"), Variant("Consola")},
                  {Variant("O'Brien"), Variant("PAVENKO /X"), Variant("PV020"), Variant("Otra")}});
    VerificaAcceso();
    EXPECT_EQ(terminaciones, 0);
    EXPECT_EQ(motor->sentencias.value(0),
              QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM "
                             "TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE "
                             "(TA_TAREAS.USUARIO = 'O''Brien ') AND (TA_MENU.Proceso LIKE '%PAVENKO%')"));
    EXPECT_EQ(DesdeQueContiene(QStringLiteral("Control_Acceso")),
              (QStringList{"Select TOP 1 * from Control_Acceso  with(nolock) ",
                           "BEGIN TRANSACTION \r\r\rINSERT INTO Control_Acceso "
                           "(Maquina,Usuario,Formulario,Tarea,Ingreso,NombreUsuario) VALUES ('CAJA01','OBRIEN',"
                           "'PAVENKO','CONSOLA','15/03/26 10:30','OBrien')\r",
                           "COMMIT TRANSACTION"}));
}

TEST_F(Proveedor, UnProgramaExentoNoConsultaTareas) {
    Conecta();
    VerificaAcceso();
    for (const QString& s : motor->sentencias) EXPECT_FALSE(s.contains(QStringLiteral("TA_TAREAS"))) << s.toStdString();
    EXPECT_EQ(DesdeQueContiene(QStringLiteral("INSERT INTO Control_Acceso")).size(), 2);
}

TEST_F(Proveedor, UnaConsultaDeAccesoQueFallaRechaza) {
    proc.ejecutable = QStringLiteral("TKSTOCK");
    Conecta();
    motor->Falla(QStringLiteral("TA_TAREAS"), 208, QStringLiteral("Invalid object name 'TA_TAREAS'."),
                 Err::TablaNoEncontrada);
    guion.Responde(Respuesta::Abort);  // the database object's error dialog: give up the query
    guion.Responde(Respuesta::OK);
    VerificaAcceso();
    EXPECT_EQ(guion.Cajas().back().titulo, QStringLiteral("ATENCION!"));
    EXPECT_EQ(terminaciones, 1);
    EXPECT_TRUE(DesdeQueContiene(QStringLiteral("Control_Acceso")).isEmpty());
}

TEST_F(Proveedor, ElServidorMarcadoConAlmohadillaEsOracle) {
    struct Caso {
        const char* cadena;
        const char* esperada;
    };
    const Caso casos[] = {
        {"", "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ana;Password=x;"},
        {"Provider=OraOLEDB.Oracle.1;Data Source=OTRA;", "Provider=OraOLEDB.Oracle.1;Data Source=OTRA;"},
    };
    for (const Caso& c : casos) {
        sesion().Reinicia();
        motor->aperturas.clear();
        QString cadena = QString::fromUtf8(c.cadena);
        IniciaSistema(false, QStringLiteral("@Server=#ORASRV; @DbName=ORCL; @Usuario=ana; @Password=x;"), cadena, 3);
        EXPECT_EQ(cadena, QString::fromUtf8(c.esperada));
        EXPECT_EQ(sesion().gDB().gServidor, QStringLiteral("ORASRV"));
        ASSERT_FALSE(motor->aperturas.isEmpty());
        EXPECT_EQ(motor->aperturas[0], QString::fromUtf8(c.esperada));
    }
}

TEST_F(Proveedor, SinNombreDeBaseSoloQuedaLaVerificacionDeAcceso) {
    QString cadena;
    IniciaSistema(false, QStringLiteral("@Server=SRV; @Usuario=ana; @Password=x;"), cadena, 3);
    EXPECT_EQ(terminaciones, 0);
    EXPECT_TRUE(sesion().gCadenaDSN.isEmpty());
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("consultas.tkw"))));
    EXPECT_TRUE(sesion().gTablaCfg.isEmpty() || sesion().gTablaCfg == QStringLiteral("TA_CONFIGURACION"));
    EXPECT_FALSE(DesdeQueContiene(QStringLiteral("INSERT INTO Control_Acceso")).isEmpty());
}

}  // namespace
