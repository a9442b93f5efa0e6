// Connecting: the connection strings, the connection dialog's effect on the fields, the administrator check,
// the failure rules of the open and the reconnection.
#include <gtest/gtest.h>

#include "DB_Dll.h"
#include "Impresion.h"
#include "MotorGuion.h"
#include "Soporte.h"
#include "frmAcceso.h"

namespace {
const QString kSql = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=juan;Pwd=clave;");
const QString kSql02 = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV02;Database =EMPRESA;UId=juan;Pwd=clave;");
const QString kProveedor = QStringLiteral("Microsoft OLE DB Provider for SQL Server");

ErrorProveedor Proveedor(long numero, const char* descripcion, long nativo = 0, const char* estado = "08001") {
    return {numero, QString::fromUtf8(descripcion), kProveedor, QString::fromUtf8(estado), nativo};
}

class Conexion : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        Connection::FijaFabricaDePrueba(MotorGuion::Fabrica(motor));
        db.gServidor = QStringLiteral("SRV01");
        db.gDBName = QStringLiteral("EMPRESA");
        db.gUsuario = QStringLiteral("juan");
        db.gUserPassWord = QStringLiteral("clave");
    }
    void TearDown() override {
        DB_Dll::ReiniciaPredeterminada();
        Connection::FijaFabricaDePrueba(nullptr);
        ConEntorno::TearDown();
    }
    // Closes what a previous case left open and forgets what the engine received.
    void Reinicia() {
        if (db.gCnn.State() == ado::adStateOpen) db.gCnn.Close();
        Olvida();
    }
    void Olvida() {
        g.aperturas.clear();
        g.sentencias.clear();
        g.cierres = 0;
    }
    // Fills the dialog as the operator would and presses a button.
    static std::function<void(QDialog&)> Rellena(const QString& servidor, int plataforma, bool acepta) {
        return [=](QDialog& d) {
            auto& f = static_cast<frmAcceso&>(d);
            f.TxtServidor->setText(servidor);
            f.CboPlataformaDB->setCurrentIndex(plataforma);
            (acepta ? f.bcAceptar : f.bcCancelar)->click();
        };
    }

    std::shared_ptr<GuionMotor> motor = std::make_shared<GuionMotor>();
    GuionMotor& g = *motor;
    DB_Dll& db = DB_Dll::Predeterminada();
};
}  // namespace

TEST_F(Conexion, CadenasDeConexion) {
    struct Caso {
        const char* servidor;
        const char* extendido;
        const char* proveedor;
        const char* dada;  // the caller's ConnString
        bool pideDialogo;  // accepted with server SRV02
        long cursor;       // the location asked for
        const char* cadena;
        const char* proveedorDespues;
    };
    const Caso casos[] = {
        {"SRV01", "", "", "", false, 3, "PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=juan;Pwd=clave;",
         "SQLOLEDB"},
        {"SRV01", "Connect Timeout=5;", "MiProveedor", "", false, 3,
         "PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=juan;Pwd=clave;Connect Timeout=5;", "MiProveedor"},
        // A "#" anywhere makes it Oracle, without the server and without the further text.
        {"ORA#", "Connect Timeout=5;", "", "", false, 3,
         "Provider=OraOLEDB.Oracle.1;Data Source=EMPRESA;User Id=juan;Password=clave;", "SQLOLEDB"},
        {"#", "", "", "", false, 3, "Provider=OraOLEDB.Oracle.1;Data Source=EMPRESA;User Id=juan;Password=clave;",
         "SQLOLEDB"},
        // The caller's string, unless blank; the dialog rebuilds the string from the fields, discarding it.
        {"SRV01", "", "", "   ", false, 2, "PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=juan;Pwd=clave;",
         "SQLOLEDB"},
        {"SRV01", "", "", "DSN=Empresa;", false, 2, "DSN=Empresa;", "SQLOLEDB"},
        {"SRV01", "", "", "DSN=Empresa;", true, 2,
         "PROVIDER=SQLOLEDB;Server=SRV02;Database =EMPRESA;UId=juan;Pwd=clave;", "SQLOLEDB"},
    };
    for (const auto& c : casos) {
        Reinicia();
        db.gServidor = QString::fromUtf8(c.servidor);
        db.gExtended = QString::fromUtf8(c.extendido);
        db.gProveedor = QString::fromUtf8(c.proveedor);
        db.gEsAdmin = false;
        if (c.pideDialogo) guion.AlMostrar(Rellena(QStringLiteral("SRV02"), 0, true));
        db.OpenServerADODB(c.pideDialogo, c.cursor, QString::fromUtf8(c.dada), false, true);
        EXPECT_EQ(db.gConnString, QString::fromUtf8(c.cadena)) << c.cadena;
        EXPECT_EQ(g.aperturas, QStringList{QString::fromUtf8(c.cadena)}) << c.cadena;
        EXPECT_EQ(db.gProveedor, QString::fromUtf8(c.proveedorDespues)) << c.cadena;
        EXPECT_TRUE(db.gOpenFlag);
        EXPECT_TRUE(db.gEsAdmin);  // ValidaAdmin false
        EXPECT_EQ(db.gCnn.CursorLocation(), c.cursor);
    }
}

TEST_F(Conexion, ElDialogoMuestraYDevuelveLosDatos) {
    struct Caso {
        int plataforma;
        const char* servidor;
        const char* servidorDespues;
        const char* proveedor;
        bool oracle;
    };
    const Caso casos[] = {
        {0, "SRV02", "SRV02", "SQLOLEDB", false},
        {1, "ORA1", "ORA1#", "OraOLEDB.Oracle.1", true},
        {1, "OR#A1", "OR#A1", "OraOLEDB.Oracle.1", true},
    };
    for (const auto& c : casos) {
        Reinicia();
        db.gServidor = QStringLiteral("SRV01");
        db.gDBName = QStringLiteral("EMPRESA");
        db.gUsuario = QStringLiteral("juan");
        db.gUserPassWord = QStringLiteral("clave");
        db.gProveedor.clear();
        guion.AlMostrar([&](QDialog& d) {
            auto& f = static_cast<frmAcceso&>(d);
            // Loaded with the object's data and the first platform.
            EXPECT_EQ(f.TxtServidor->text(), QStringLiteral("SRV01"));
            EXPECT_EQ(f.TxtDbName->text(), QStringLiteral("EMPRESA"));
            EXPECT_EQ(f.TxtUserId->text(), QStringLiteral("juan"));
            EXPECT_EQ(f.TxtUserPassword->text(), QStringLiteral("clave"));
            EXPECT_EQ(f.CboPlataformaDB->currentIndex(), 0);
            f.TxtServidor->setText(QString::fromUtf8(c.servidor));
            f.TxtDbName->setText(QStringLiteral("OTRA"));
            f.TxtUserId->setText(QStringLiteral("ana"));
            f.TxtUserPassword->setText(QStringLiteral("secreta"));
            f.CboPlataformaDB->setCurrentIndex(c.plataforma);
            f.bcAceptar->click();
        });
        db.OpenServerADODB(true, 3, QString(), false, true);
        EXPECT_EQ(db.gServidor, QString::fromUtf8(c.servidorDespues));
        EXPECT_EQ(db.gDBName, QStringLiteral("OTRA"));
        EXPECT_EQ(db.gUsuario, QStringLiteral("ana"));
        EXPECT_EQ(db.gUserPassWord, QStringLiteral("secreta"));
        EXPECT_EQ(db.gProveedor, QString::fromUtf8(c.proveedor));
        EXPECT_EQ(db.gConnString.startsWith(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=OTRA;")), c.oracle);
        EXPECT_TRUE(db.gOpenFlag);
    }
}

TEST_F(Conexion, CancelarElDialogoNoConecta) {
    for (bool admin : {false, true}) {
        db.gEsAdmin = admin;
        guion.AlMostrar(Rellena(QStringLiteral("SRV02"), 1, false));
        db.OpenServerADODB(true, 3, QString(), true, true);
        EXPECT_FALSE(db.gOpenFlag);
        EXPECT_EQ(db.gCnn.State(), ado::adStateClosed);
        EXPECT_EQ(db.gEsAdmin, admin);
        EXPECT_EQ(db.gServidor, QStringLiteral("SRV01"));
        EXPECT_TRUE(g.aperturas.isEmpty());
        EXPECT_TRUE(g.sentencias.isEmpty());
        EXPECT_EQ(g.cierres, 0);
    }
}

TEST_F(Conexion, ComprobacionDeAdministrador) {
    struct Caso {
        const char* base;
        bool hayTabla;
        bool muestraError;
        std::optional<Variant> administrador;  // the row's value; none: no row
        bool antes;
        bool despues;
        bool consulta;
    };
    const Caso casos[] = {
        {"EMPRESA", true, true, Variant(qint32(1)), false, true, true},
        {"EMPRESA", true, true, Variant(QStringLiteral("1")), false, true, true},
        {"EMPRESA", true, true, Variant(qint32(0)), true, false, true},
        {"EMPRESA", true, true, Variant(QStringLiteral("")), true, false, true},
        {"EMPRESA", true, true, Variant(QStringLiteral("abc")), true, false, true},
        {"EMPRESA", true, true, Variant::Null(), true, false, true},
        {"EMPRESA", true, true, std::nullopt, true, false, true},
        // Without error handling the table alone makes an administrator.
        {"EMPRESA", true, false, Variant(qint32(0)), false, true, false},
        // No table, or no database: the value stays.
        {"EMPRESA", false, true, Variant(qint32(1)), false, false, false},
        {"EMPRESA", false, true, Variant(qint32(1)), true, true, false},
        {"  ", true, true, Variant(qint32(1)), false, false, false},
    };
    const QStringList columnas{QStringLiteral("nombre"), QStringLiteral("Administrador")};
    for (const auto& c : casos) {
        Reinicia();
        db.gDBName = QString::fromUtf8(c.base);
        db.gEsAdmin = c.antes;
        g.base = QStringLiteral("DEMO");
        g.Tablas(c.hayTabla ? QStringList{QStringLiteral("Clientes"), QStringLiteral("ta_usuarios")} : QStringList{});
        g.respuestas.clear();
        if (c.administrador)
            g.Filas(QStringLiteral("ta_usuarios"), columnas, {{Variant(QStringLiteral("juan")), *c.administrador}});
        else
            g.Filas(QStringLiteral("ta_usuarios"), columnas, {});
        db.OpenServerADODB(false, 3, QString(), true, c.muestraError);
        EXPECT_EQ(db.gEsAdmin, c.despues) << c.base << c.hayTabla << c.muestraError;
        EXPECT_EQ(g.sentencias, c.consulta
                                    ? QStringList{QStringLiteral("SELECT TOP 1 * FROM ta_usuarios with(nolock)  WHERE "
                                                                 "LTRIM(RTRIM(nombre)) ='juan' ")}
                                    : QStringList{});
        // The named database becomes the connection's default.
        if (c.base[0] != ' ') {
            EXPECT_EQ(g.base, QStringLiteral("EMPRESA"));
        }
    }
}

TEST_F(Conexion, FallosAlAbrir) {
    const ErrorProveedor rechazo = Proveedor(-2147217843, "Login failed for user 'juan'.", 18456, "42000");
    struct Caso {
        const char* nombre;
        bool muestraError;
        QList<ErrorProveedor> errores;  // of the failed open; none: a plain run-time error
        std::optional<int> respuesta;   // to the box, when one is expected
        bool dialogo;                   // the dialog comes and is accepted with server SRV02
        bool cancela;                   // ... or cancelled
        bool abiertaDespues;
        QStringList aperturas;
    };
    const Caso casos[] = {
        {"sin mensajes", false, {rechazo}, std::nullopt, false, false, false, {kSql}},
        {"No", true, {rechazo}, Respuesta::No, false, false, false, {kSql}},
        {"Si y acepta", true, {rechazo}, Respuesta::Yes, true, false, true, {kSql, kSql02}},
        {"Si y cancela", true, {rechazo}, Respuesta::Yes, false, true, false, {kSql}},
        // Without provider errors the description is shown and the flag stays as it was.
        {"sin errores del proveedor", true, {}, Respuesta::OK, false, false, true, {kSql}},
    };
    for (const auto& c : casos) {
        Reinicia();
        db.gServidor = QStringLiteral("SRV01");
        db.gCnn.errors().Clear();
        const size_t cajas = guion.Cajas().size();
        g.FallaAlAbrir(c.errores);
        if (c.respuesta) guion.Responde(*c.respuesta);
        if (c.dialogo || c.cancela) guion.AlMostrar(Rellena(QStringLiteral("SRV02"), 0, !c.cancela));
        db.OpenServerADODB(false, 3, QString(), false, c.muestraError);
        EXPECT_EQ(db.gOpenFlag, c.abiertaDespues) << c.nombre;
        EXPECT_EQ(g.aperturas, c.aperturas) << c.nombre;
        ASSERT_EQ(guion.Cajas().size(), cajas + (c.respuesta ? 1 : 0)) << c.nombre;
        if (!c.respuesta) continue;
        const auto& b = guion.Cajas().back();
        if (!c.errores.isEmpty()) {
            EXPECT_EQ(b.texto, QStringLiteral(" Estado de Sql: 42000\rNumero de Error: -2147217843\rDescripcion: "
                                              "Login failed for user 'juan'.\rCodigo Nativo: 18456\r - Desea "
                                              "Intentarlo Nuevamente??? "));
            EXPECT_EQ(b.estilo, 20);
            EXPECT_EQ(b.titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
        } else {
            EXPECT_EQ(b.texto, QStringLiteral("Error no especificado"));
            EXPECT_EQ(b.estilo, 0);
            EXPECT_EQ(b.titulo, QString());
        }
    }
}

TEST_F(Conexion, AbrirDeNuevoUnaConexionAbiertaLaCierraUnaVez) {
    for (bool muestraError : {false, true}) {
        db.OpenServerADODB(false, 3, QString(), false, muestraError);
        Olvida();
        db.OpenServerADODB(false, 3, QString(), false, muestraError);
        EXPECT_EQ(g.cierres, 1);
        EXPECT_EQ(g.aperturas, QStringList{kSql});
        EXPECT_TRUE(g.sentencias.isEmpty());
        EXPECT_TRUE(db.gOpenFlag);
        EXPECT_EQ(db.gCnn.State(), ado::adStateOpen);  // closed before, not after, the new open
    }
}

TEST_F(Conexion, Reconexion) {
    const ErrorProveedor caida = Proveedor(Err::ErrorNoEspecificado, "General network error.");
    const ErrorProveedor rechazo = Proveedor(-2147217843, "Login failed for user 'juan'.");
    struct Caso {
        const char* nombre;
        bool abiertaAntes;
        QList<ErrorProveedor> fallo;  // of the first reopen
        std::vector<int> respuestas;  // to the utility's error box
        bool abiertaDespues;
        int aperturas;
    };
    const Caso casos[] = {
        {"abierta", true, {}, {}, true, 1},
        {"cerrada", false, {}, {}, true, 1},
        {"0x80004005 calla", true, {caida}, {}, false, 1},
        {"otro error, reintenta", true, {rechazo}, {Respuesta::Retry}, true, 2},
        {"otro error, abandona", true, {rechazo}, {Respuesta::Abort}, false, 1},
        // Ignore goes on with the last step, which sets the flag.
        {"otro error, ignora", true, {rechazo}, {Respuesta::Ignore}, true, 1},
    };
    for (const auto& c : casos) {
        db.OpenServerADODB(false, 3, QString(), false, false);
        if (!c.abiertaAntes) db.gCnn.Close();
        Olvida();
        if (!c.fallo.isEmpty()) g.FallaAlAbrir(c.fallo);
        for (int r : c.respuestas) guion.Responde(r);
        const size_t cajas = guion.Cajas().size();
        db.ReintentaConectar();
        EXPECT_EQ(db.gOpenFlag, c.abiertaDespues) << c.nombre;
        EXPECT_EQ(g.aperturas.size(), c.aperturas) << c.nombre;
        EXPECT_EQ(g.cierres > 0, c.abiertaAntes) << c.nombre;
        EXPECT_EQ(g.aperturas.value(0), kSql) << c.nombre;
        EXPECT_EQ(db.gCnn.CommandTimeout(), 5);
        ASSERT_EQ(guion.Cajas().size(), cajas + c.respuestas.size()) << c.nombre;
        if (!c.respuestas.empty()) {
            EXPECT_EQ(guion.Cajas().back().texto,
                      QStringLiteral("Ha ocurrido el Siguiente Error (-2147217843) Login failed for user 'juan'."));
            EXPECT_EQ(
                guion.Cajas().back().titulo,
                QStringLiteral("Microsoft OLE DB Provider for SQL Server - AbrirRecordset Aviso al operador!!! "));
            EXPECT_EQ(guion.Cajas().back().estilo, 18);
        }
        if (db.gCnn.State() == ado::adStateOpen) db.gCnn.Close();
    }
}

TEST_F(Conexion, ArchivoAccessLocal) {
    const ErrorProveedor noEsta = Proveedor(-2147467259, "Could not find file.", 0, "3024");
    const ErrorProveedor clave = Proveedor(-2147217843, "Not a valid password.", 0, "3031");
    const ErrorProveedor otro = Proveedor(-2147217887, "Errors occurred.", 0, "HY000");
    struct Caso {
        const char* nombre;
        const char* base;
        bool ignoraClave;
        QList<ErrorProveedor> fallo;                   // of the first opens
        int veces;                                     // how many opens fail so
        std::vector<std::optional<QString>> archivos;  // answers of the file dialog
        std::vector<QString> claves;                   // typed into the input box
        std::vector<int> respuestas;                   // to message boxes
        QStringList aperturas;
        bool abierta;
    };
    // The strings opened on the two files, with the object's user and password.
    const QString a =
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =C:\\d\\a.mdb;User Id=juan;Password=clave;");
    const QString b =
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =C:\\e\\b.mdb;User Id=juan;Password=clave;");
    const QString elegido = QStringLiteral("C:\\e\\b.mdb");
    const Caso casos[] = {
        {"con archivo", "C:\\d\\a.mdb", false, {}, 0, {}, {}, {}, {a}, true},
        {"elige el archivo", "", false, {}, 0, {elegido}, {}, {}, {b}, true},
        {"cancela la eleccion", " ", false, {}, 0, {std::nullopt}, {}, {}, {}, false},
        {"no esta y elige otro", "C:\\d\\a.mdb", false, {noEsta}, 1, {elegido}, {}, {}, {a, b}, true},
        // A refused password is asked for after every refusal.
        {"clave tecleada",
         "C:\\d\\a.mdb",
         false,
         {clave},
         2,
         {},
         {"uno", "dos"},
         {},
         {a,
          "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =C:\\d\\a.mdb;User Id=juan;Password=clave; Jet OLEDB:Database "
          "Password=uno;",
          "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =C:\\d\\a.mdb;User Id=juan;Password=clave; Jet OLEDB:Database "
          "Password=dos;"},
         true},
        // The stored password is tried once; refused again, the error is reported.
        {"clave guardada",
         "C:\\d\\a.mdb",
         true,
         {clave},
         2,
         {},
         {},
         {Respuesta::OK},
         {a,
          "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =C:\\d\\a.mdb;User Id=juan;Password=clave;Jet OLEDB:Database "
          "Password=clave;"},
         false},
        {"otro error", "C:\\d\\a.mdb", false, {otro}, 1, {}, {}, {Respuesta::OK}, {a}, false},
    };
    for (const auto& c : casos) {
        Reinicia();
        if (c.veces > 0) g.FallaAlAbrir(c.fallo, c.veces);
        db.gProveedor = db.pJETOLEDB40();
        db.gDBName = QString::fromUtf8(c.base);
        db.gIgnoraPassWord = Variant(c.ignoraClave);
        for (const auto& a : c.archivos) guion.AlAbrirArchivo(a);
        for (const auto& k : c.claves) guion.RespondeInput(k);
        for (int r : c.respuestas) guion.Responde(r);
        const size_t cajas = guion.Cajas().size();
        db.gOpenFlag = true;
        db.OpenLocalADODB();
        EXPECT_EQ(g.aperturas, c.aperturas) << c.nombre;
        EXPECT_TRUE(g.sentencias.isEmpty()) << c.nombre;
        EXPECT_EQ(g.cierres, 0) << c.nombre;
        EXPECT_EQ(db.gCnn.State() == ado::adStateOpen, c.abierta) << c.nombre;
        if (c.abierta) {
            EXPECT_EQ(db.gConnString, c.aperturas.back()) << c.nombre;
        }
        EXPECT_TRUE(db.gOpenFlag);  // never touched here
        ASSERT_EQ(guion.Cajas().size(), cajas + c.respuestas.size()) << c.nombre;
        if (!c.respuestas.empty()) {
            const QString esperado = c.ignoraClave ? QStringLiteral("-2147217843  Not a valid password.")
                                                   : QStringLiteral("-2147217887  Errors occurred.");
            EXPECT_EQ(guion.Cajas().back().texto, esperado);
            EXPECT_EQ(guion.Cajas().back().estilo, 16);
        }
    }
    ASSERT_EQ(guion.Entradas().size(), 2u);
    EXPECT_EQ(guion.Entradas().back(), QStringLiteral("ingrese el password: | Password Access"));
}

TEST_F(Conexion, LaCadenaDelLlamadorParaAccess) {
    db.gDBName = QStringLiteral("C:\\d\\a.mdb");
    db.OpenLocalADODB(QStringLiteral("Provider=Microsoft.Jet.OLEDB.3.51;Data Source=C:\\x.mdb;"));
    EXPECT_EQ(g.aperturas, QStringList{QStringLiteral("Provider=Microsoft.Jet.OLEDB.3.51;Data Source=C:\\x.mdb;")});
    EXPECT_TRUE(g.sentencias.isEmpty());
    EXPECT_EQ(db.pJETOLEDB35(), QStringLiteral("Microsoft.Jet.OLEDB.3.51"));
    EXPECT_EQ(db.pSQLOLEDB(), QStringLiteral("SQLOLEDB"));
}
