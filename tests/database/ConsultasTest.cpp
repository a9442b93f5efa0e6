// Queries: the statements sent for each existence check, field read and maximum; the preparation and the
// failure rules of statements; the reconnection of record sets; the Oracle script executor.
#include <gtest/gtest.h>

#include <QFile>

#include "DB_Dll.h"
#include "Impresion.h"
#include "MotorGuion.h"
#include "Soporte.h"

namespace {
const QString kSql = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV01;Database =EMPRESA;UId=juan;Pwd=clave;");
const QString kOracle = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=EMPRESA;User Id=juan;Password=clave;");

ErrorProveedor Proveedor(long numero, const char* descripcion, long nativo = 0) {
    return {numero, QString::fromUtf8(descripcion), QStringLiteral("Microsoft OLE DB Provider for SQL Server"),
            QStringLiteral("08001"), nativo};
}

class Consultas : public ConEntorno {
  protected:
    void SetUp() override {
        ConEntorno::SetUp();
        Connection::FijaFabricaDePrueba(MotorGuion::Fabrica(motor));
        Conecta(kSql);
    }
    void TearDown() override {
        DB_Dll::ReiniciaPredeterminada();
        Connection::FijaFabricaDePrueba(nullptr);
        ConEntorno::TearDown();
    }
    // Opens on a fresh script: no answers queued, nothing received yet.
    void Conecta(const QString& cadena) {
        if (db.gCnn.State() == ado::adStateOpen) db.gCnn.Close();
        g.respuestas.clear();
        g.vecesFallaAlAbrir = 0;
        db.OpenServerADODB(false, 3, cadena, false, false);
        db.gEsAdmin = false;
        g.aperturas.clear();
        g.sentencias.clear();
    }
    std::shared_ptr<GuionMotor> motor = std::make_shared<GuionMotor>();
    GuionMotor& g = *motor;
    DB_Dll& db = DB_Dll::Predeterminada();
};
}  // namespace

TEST_F(Consultas, SentenciasDeLasBusquedas) {
    enum Busqueda { Existe, ExisteST, Datos };
    struct Caso {
        Busqueda busqueda;
        int tipo;
        const char* valor;
        const char* condicion;
        const char* esperado;
        const char* tabla = "CLIENTES";
        bool recorta = true;  // DatosTabla's UsaTrim
    };
    const Caso casos[] = {
        {Existe, 8, " A1 ", "", "SELECT TOP 1  * FROM CLIENTES with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='A1'"},
        {Existe, 8, "O'Brien", "",
         "SELECT TOP 1  * FROM CLIENTES with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='O''Brien'"},
        {Existe, 7, " '15/03/2026' ", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = '15/03/2026' "},
        {Existe, 3, "12abc", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = 12"},
        {Existe, 5, "12.5", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = 12.5"},
        {Existe, 4, "x", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = 0"},
        {Existe, 2, "7 ", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = 7 "},
        {Existe, 8, "A1", "Activo = 1", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Activo = 1"},
        {Existe, 8, "A1", "x where Activo = 1", "SELECT TOP 1 * FROM CLIENTES with(nolock)  x where Activo = 1"},
        // Synonyms apply to ExisteEnTabla, not to ExisteEnTablaST.
        {Existe, 8, "1", "", "SELECT TOP 1  * FROM SS_MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='1'",
         "MA_CUENTAS"},
        {ExisteST, 8, " A1 ", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Codigo =' A1 '", "MA_CUENTAS"},
        {ExisteST, 8, "O'Brien", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Codigo ='O''Brien'", "MA_CUENTAS"},
        {ExisteST, 7, " '15/03/2026' ", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Codigo = '15/03/2026' ",
         "MA_CUENTAS"},
        {ExisteST, 3, "12", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Codigo = 12", "MA_CUENTAS"},
        {ExisteST, 11, "1", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Codigo = 1", "MA_CUENTAS"},
        {ExisteST, 8, "A1", "Activo = 1", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE Activo = 1", "MA_CUENTAS"},
        {ExisteST, 8, "A1", "T WHERE Activo = 1", "SELECT * FROM MA_CUENTAS with(nolock)   T WHERE Activo = 1",
         "MA_CUENTAS"},
        {Datos, 8, " A1 ", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='A1' "},
        {Datos, 8, "A1", "Activo = 1",
         "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE LTRIM(RTRIM(Codigo)) ='A1'  AND Activo = 1"},
        {Datos, 8, " A1 ", "  ", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo =' A1 '   ", "CLIENTES",
         false},
        {Datos, 8, "D'Or", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo ='D''Or' ", "CLIENTES", false},
        {Datos, 7, " 15/03/2026 ", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = #15/03/2026# "},
        {Datos, 3, "42", "Activo = 1", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = 42 AND Activo = 1"},
        {Datos, 0, "X", "", "SELECT TOP 1 * FROM CLIENTES with(nolock)  WHERE Codigo = X"},
    };
    for (const auto& c : casos) {
        g.sentencias.clear();
        const QString tabla = QString::fromUtf8(c.tabla), valor = QString::fromUtf8(c.valor);
        const QString campo = QStringLiteral("Codigo"), condicion = QString::fromUtf8(c.condicion);
        const Variant tipo(qint32(c.tipo));
        if (c.busqueda == Existe) db.ExisteEnTabla(tabla, valor, campo, nullptr, tipo, condicion);
        if (c.busqueda == ExisteST) db.ExisteEnTablaST(tabla, valor, campo, nullptr, tipo, condicion);
        if (c.busqueda == Datos)
            db.DatosTabla(tabla, valor, QStringLiteral("Nombre"), campo, tipo, condicion, c.recorta);
        EXPECT_EQ(g.sentencias, QStringList{QString::fromUtf8(c.esperado)}) << c.esperado;
    }
}

TEST_F(Consultas, DatosTablaDevuelveElCampoComoTexto) {
    struct Caso {
        std::optional<Variant> valor;
        const char* esperado;
    };
    const Caso casos[] = {{Variant(QStringLiteral("Perez")), "Perez"},
                          {Variant(qint32(12)), "12"},
                          {Variant::Null(), ""},
                          {std::nullopt, ""}};
    for (const auto& c : casos) {
        g.respuestas.clear();
        g.Filas(QString(), {QStringLiteral("Nombre")},
                c.valor ? QList<QList<Variant>>{{*c.valor}} : QList<QList<Variant>>{});
        Variant v = db.DatosTabla(QStringLiteral("CLIENTES"), QStringLiteral("A1"), QStringLiteral("Nombre"));
        EXPECT_EQ(v.Tipo(), TipoVariant::String);
        EXPECT_EQ(v.ATexto(), QString::fromUtf8(c.esperado));
    }
}

TEST_F(Consultas, SentenciasDeMaximosYMinimos) {
    g.Filas(QString(), {QStringLiteral("MAYOR"), QStringLiteral("MENOR")}, {{Variant(qint32(41)), Variant(qint32(3))}});
    struct Caso {
        std::function<Variant()> llamada;
        const char* esperado;
        double resultado;
    };
    const Caso casos[] = {
        {[&] { return db.BuscaMaximo("VENTAS", "NUMERO"); }, "SELECT MAX(NUMERO) AS MAYOR FROM VENTAS", 41},
        {[&] { return db.BuscaMaximo("VENTAS", "NUMERO", Variant(qint32(3)), Variant(" CAJA = 1 ")); },
         "SELECT MAX(NUMERO) AS MAYOR FROM VENTAS WHERE CAJA = 1", 41},
        {[&] { return db.BuscaMinimo("VENTAS", "NUMERO"); }, "SELECT MIN(NUMERO) AS MENOR FROM VENTAS  with(nolock) ",
         3},
        {[&] { return db.BuscaMinimo("VENTAS", "NUMERO", std::nullopt, Variant(" CAJA = 1 ")); },
         "SELECT MIN(NUMERO) AS MENOR FROM VENTAS  with(nolock)  WHERE CAJA = 1", 3},
        {[&] { return db.BuscaUltimoCodigo("VENTAS", "NUMERO"); }, "SELECT MAX(NUMERO) AS MAYOR FROM VENTAS", 41},
        {[&] { return db.BuscaUltimoCodigo("VENTAS", "NUMERO", Variant(qint32(8)), " CAJA = 1 "); },
         "SELECT MAX(NUMERO) AS MAYOR FROM VENTAS WHERE  CAJA = 1 ", 41},
        {[&] { return db.BuscaUltimoCodigo("VENTAS", "NUMERO", Variant(qint32(8)), "   "); },
         "SELECT MAX(NUMERO) AS MAYOR FROM VENTAS", 41},
    };
    for (const auto& c : casos) {
        g.sentencias.clear();
        Variant v = c.llamada();
        EXPECT_EQ(g.sentencias, QStringList{QString::fromUtf8(c.esperado)}) << c.esperado;
        EXPECT_EQ(v.Tipo(), TipoVariant::Double) << c.esperado;
        EXPECT_EQ(v.ADouble(), c.resultado) << c.esperado;
    }
}

TEST_F(Consultas, AbrirRecordsetTraduceSoloEnOracle) {
    struct Caso {
        QString cadena;  // of the connection
        QString oracle;  // the object's own string, which ORACLE_Dicc reads
        bool convierte;
        const char* enviado;
    };
    const Caso casos[] = {
        // A SQL Server connection never translates, whatever the object's string says.
        {kSql, kOracle, true, "SELECT TOP 5 A FROM SS_MA_CUENTAS WHERE LEN(A) > 1"},
        {kOracle, kOracle, true, "SELECT  A FROM SS_MA_CUENTAS WHERE LENGTH(A) > 1  AND ROWNUM <= 5  "},
        {kOracle, kOracle, false, "SELECT TOP 5 A FROM SS_MA_CUENTAS WHERE LEN(A) > 1"},
    };
    for (const auto& c : casos) {
        Conecta(c.cadena);
        db.gConnString = c.oracle;
        QString sql = QStringLiteral("SELECT TOP 5 A FROM MA_CUENTAS WHERE LEN(A) > 1");
        Recordset rs;
        db.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, c.convierte);
        EXPECT_EQ(sql, QStringLiteral("SELECT TOP 5 A FROM SS_MA_CUENTAS WHERE LEN(A) > 1"));  // the synonym text
        EXPECT_EQ(g.sentencias, QStringList{QString::fromUtf8(c.enviado)}) << c.enviado;
        EXPECT_EQ(rs.State(), ado::adStateOpen);
    }
}

TEST_F(Consultas, AbrirRecordsetCierraElQueEstabaAbierto) {
    Recordset rs;
    db.AbrirRecordset(QStringLiteral("SELECT 1"), rs);
    db.AbrirRecordset(QStringLiteral("SELECT 2"), rs);
    EXPECT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_EQ(g.sentencias, (QStringList{QStringLiteral("SELECT 1"), QStringLiteral("SELECT 2")}));
}

TEST_F(Consultas, AbrirRecordsetReconecta) {
    const ErrorProveedor caida = Proveedor(Err::ErrorNoEspecificado, "General network error.");
    const ErrorProveedor inutil = Proveedor(Err::ConexionInutilizable, "Connection unusable.");
    const ErrorProveedor sintaxis = Proveedor(Err::ErrorSentencia, "Incorrect syntax.");
    struct Caso {
        const char* nombre;
        ErrorProveedor fallo;         // of the statement
        int veces;                    // how many runs of it fail
        int aperturasFallidas;        // reconnections that fail with the network error
        std::vector<int> respuestas;  // to the utility's box
        bool abiertaDespues;
        int sentencias;
        int reaperturas;
        bool abierto;  // the record set
    };
    const Caso casos[] = {
        {"reconecta a la primera", caida, 1, 0, {}, true, 2, 1, true},
        {"reconecta a la segunda", inutil, 1, 1, {}, true, 2, 2, true},
        {"no reconecta", caida, 1, 2, {Respuesta::Abort}, false, 1, 2, false},
        // Reconnected, and the statement fails the same way: the link was not the fault.
        {"sigue fallando", caida, 2, 0, {Respuesta::Abort}, true, 2, 1, false},
        {"sigue fallando, reintenta", caida, 2, 0, {Respuesta::Retry}, true, 3, 1, true},
        {"error de la sentencia", sintaxis, 1, 0, {Respuesta::Abort}, true, 1, 0, false},
        {"error de la sentencia, reintenta", sintaxis, 1, 0, {Respuesta::Retry}, true, 2, 0, true},
    };
    for (const auto& c : casos) {
        Conecta(kSql);
        g.Falla(QString(), {c.fallo}, c.veces);
        if (c.aperturasFallidas > 0) g.FallaAlAbrir({caida}, c.aperturasFallidas);
        for (int r : c.respuestas) guion.Responde(r);
        const size_t cajas = guion.Cajas().size();
        Recordset rs;
        db.AbrirRecordset(QStringLiteral("SELECT A FROM T"), rs);
        EXPECT_EQ(db.gOpenFlag, c.abiertaDespues) << c.nombre;
        EXPECT_EQ(g.sentencias.size(), c.sentencias) << c.nombre;
        EXPECT_EQ(g.aperturas.size(), c.reaperturas) << c.nombre;
        EXPECT_EQ(rs.State(), c.abierto ? ado::adStateOpen : ado::adStateClosed) << c.nombre;
        ASSERT_EQ(guion.Cajas().size(), cajas + c.respuestas.size()) << c.nombre;
        if (!c.respuestas.empty()) {
            EXPECT_EQ(
                guion.Cajas().back().titulo,
                QStringLiteral("Microsoft OLE DB Provider for SQL Server - AbrirRecordset Aviso al operador!!! "));
        }
    }
}

TEST_F(Consultas, PreparacionDeLasSentencias) {
    struct Caso {
        const char* entrada;
        const char* enviada;
    };
    const Caso casos[] = {
        {"DELETE FROM MA_CUENTAS WHERE 1=1", "DELETE FROM MA_CUENTAS WHERE 1=1"},
        {"UPDATE @Admin_MA_CUENTAS SET A = 1", "UPDATE MA_CUENTAS SET A = 1"},
        {"DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1",
         "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM SS_MA_CUENTAS WHERE 1=1"},
        {"DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1 DELETE FROM X",
         "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1 DELETE FROM X"},
        {"DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM @admin_MV_ASIENTOS , MA_CUENTAS WHERE 1=1",
         "DROP VIEW V1 CREATE VIEW V1 AS SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1"},
    };
    DB_Dll::LeeConfidencialidad = [] { return true; };
    for (const auto& c : casos) {
        g.sentencias.clear();
        QString sql = QString::fromUtf8(c.entrada);
        db.EjecutaConsultaSQL(sql);
        EXPECT_EQ(g.sentencias, QStringList{QString::fromUtf8(c.enviada)}) << c.entrada;
        EXPECT_EQ(sql, QString::fromUtf8(c.enviada));
    }
    DB_Dll::LeeConfidencialidad = [] { return false; };
}

TEST_F(Consultas, EjecutaConsultaSQLNuncaPasaElError) {
    struct Caso {
        const char* nombre;
        ErrorProveedor fallo;
        const char* sentencia;
        bool caja;
        bool errores;  // provider errors left on the connection
    };
    const Caso casos[] = {
        {"truncado", Proveedor(-2147217833, "String or binary data would be truncated.", 8152),
         "INSERT INTO T VALUES ('x')", false, false},
        {"truncado en transaccion", Proveedor(-2147217833, "String or binary data would be truncated.", 8152),
         "BEGIN TRANSACTION INSERT INTO T VALUES ('x')", false, true},
        {"0x80004005", Proveedor(Err::ErrorNoEspecificado, "x"), "DELETE FROM T", false, true},
        {"integridad", Proveedor(Err::ViolacionIntegridad, "x", 2627), "INSERT INTO T VALUES (1)", false, true},
        {"tabla", Proveedor(Err::TablaNoEncontrada, "x", 208), "DELETE FROM T", false, true},
        {"sintaxis", Proveedor(Err::ErrorSentencia, "x", 102), "DELETE FROM T", false, true},
        {"otro", Proveedor(-2147217887, "Errors occurred.", 0), "DELETE FROM T", true, true},
        {"otro en transaccion", Proveedor(-2147217887, "Errors occurred.", 0), "COMMIT TRANS", false, true},
    };
    for (const auto& c : casos) {
        db.gCnn.errors().Clear();
        g.respuestas.clear();
        g.Falla(QString(), {c.fallo});
        if (c.caja) guion.Responde(Respuesta::OK);
        const size_t cajas = guion.Cajas().size();
        db.EjecutaConsultaSQL(QString::fromUtf8(c.sentencia));
        ASSERT_EQ(guion.Cajas().size(), cajas + (c.caja ? 1 : 0)) << c.nombre;
        if (c.caja) {
            EXPECT_EQ(guion.Cajas().back().texto, QStringLiteral("Errors occurred."));
            EXPECT_EQ(guion.Cajas().back().estilo, 16);
            EXPECT_EQ(guion.Cajas().back().titulo, QStringLiteral("Aviso al operador!!!"));
        }
        EXPECT_EQ(db.gCnn.errors().Count() > 0, c.errores) << c.nombre;
    }
}

TEST_F(Consultas, EjecutaConsultaSQLCuentaLasFilas) {
    g.Afectadas(QString(), 3);
    long filas = 0;
    db.EjecutaConsultaSQL(QStringLiteral("UPDATE T SET A = 1"), &filas);
    EXPECT_EQ(filas, 3);
}

TEST_F(Consultas, GuionOracle) {
    FijaLocale("es_AR");  // the date literal is day first
    struct Caso {
        const char* guion;
        QStringList sentencias;  // as the engine receives them
        long filas;
    };
    const Caso casos[] = {
        {"BEGIN TRANSACTION INSERT INTO T VALUES ('15/03/2026') COMMIT TRANSACTION",
         {"BeginTrans", "INSERT INTO T VALUES (TO_DATE('15/03/2026','DD/MM/YYYY'))", "CommitTrans"},
         1},
        {"SET NOCOUNT ON BEGIN TRANS UPDATE T SET A = 1\r\nGO\r\nDELETE FROM U WHERE B = '' ROLLBACK TRANS",
         {"BeginTrans", "UPDATE T SET A = 1", "DELETE FROM U WHERE B  IS NULL ", "RollbackTrans"},
         2},
        // Carriage returns become blanks; line feeds stay with the statement.
        {"INSERT INTO T VALUES (1)\r\nINSERT INTO T VALUES (2)",
         {"INSERT INTO T VALUES (1) \n", "INSERT INTO T VALUES (2)"},
         2},
        // The guard is dropped, what it guards runs.
        {"IF NOT EXISTS (SELECT 1 FROM X) INSERT INTO X VALUES (1)", {"INSERT INTO X VALUES (1)"}, 1},
        // A keyword inside a word opens a statement.
        {"UPDATE T SET LAST_UPDATE = 1", {"UPDATE T SET LAST_", "UPDATE = 1"}, 2},
        // Nothing before the first keyword runs; a plain SELECT runs nothing.
        {"SELECT * FROM T", {}, 0},
        {"PRINT 'x' GRANT SELECT ON T TO U", {"GRANT SELECT ON T TO U"}, 1},
    };
    for (const auto& c : casos) {
        Conecta(kOracle);
        db.gConnString = kOracle;
        g.Afectadas(QString(), 1);
        long filas = 0;
        QString sql = QString::fromUtf8(c.guion);
        db.EjecutaConsultaSQL(sql, &filas);
        EXPECT_EQ(g.sentencias, c.sentencias) << c.guion;
        EXPECT_EQ(filas, c.filas) << c.guion;
        // The text is consumed when a statement was found.
        EXPECT_EQ(sql, c.sentencias.isEmpty() ? QString::fromUtf8(c.guion) : QString()) << c.guion;
    }
}

TEST_F(Consultas, GuionOracleSeDetieneEnElPrimerFallo) {
    Conecta(kOracle);
    db.gConnString = kOracle;
    // The first of two equal statements succeeds, the second is refused.
    g.Afectadas(QStringLiteral("INSERT INTO T VALUES (1)"), 1, 1);
    g.Falla(QStringLiteral("INSERT INTO T VALUES (1)"), {Proveedor(Err::ViolacionIntegridad, "dup", 1)});
    long filas = 10;
    db.EjecutaConsultaSQL(
        QStringLiteral("BEGIN TRANS INSERT INTO T VALUES (1) INSERT INTO T VALUES (1) INSERT INTO T VALUES (2)"),
        &filas);
    EXPECT_EQ(filas, 11);
    EXPECT_EQ(g.sentencias, (QStringList{"BeginTrans", "INSERT INTO T VALUES (1)", "INSERT INTO T VALUES (1)"}));
}

TEST_F(Consultas, SentenciasDeAddField) {
    struct Caso {
        const char* tabla;
        const char* campo;
        const char* tipo;
        bool nulos;
        std::optional<Variant> predeterminado;
        const char* esperado;
    };
    const Caso casos[] = {
        {"CLIENTES ", " Activo", "int", false, Variant(qint32(0)),
         "ALTER TABLE dbo.CLIENTES  ADD  Activo int Not Null  CONSTRAINT DF_CLIENTES_Activo DEFAULT (0)"},
        {"T", "C", "varchar(10)", true, std::nullopt, "ALTER TABLE dbo.T ADD C varchar(10) Null "},
        {"T", "F", "datetime", true, Variant("getdate()"),
         "ALTER TABLE dbo.T ADD F datetime Null  CONSTRAINT DF_T_F DEFAULT (getdate())"},
    };
    for (const auto& c : casos) {
        g.sentencias.clear();
        db.AddField(QString::fromUtf8(c.tabla), QString::fromUtf8(c.campo), QString::fromUtf8(c.tipo), c.nulos,
                    c.predeterminado);
        EXPECT_EQ(g.sentencias, QStringList{QString::fromUtf8(c.esperado)}) << c.esperado;
    }
}

TEST_F(Consultas, FallosDelCatalogoVanAlDialogoDeErrores) {
    struct Caso {
        std::vector<int> respuestas;
        bool existe;
    };
    const Caso casos[] = {{{Respuesta::Abort}, false}, {{Respuesta::Retry}, true}};
    g.Tablas({QStringLiteral("CLIENTES")});
    // The catalogue is out of reach until the operator has been asked.
    guion.alVerCaja = [&](const UiGuion::Caja&) { g.perdida = false; };
    for (const auto& c : casos) {
        g.PierdeConexion();
        for (int r : c.respuestas) guion.Responde(r);
        EXPECT_EQ(db.ExisteTablaDB(QStringLiteral("clientes")), c.existe);
        EXPECT_EQ(guion.Cajas().back().titulo,
                  QStringLiteral("Microsoft OLE DB Provider for SQL Server - VerificaCampos Aviso al operador!!! "));
    }
    // Every answer is in the log.
    QFile log(Ruta(QStringLiteral("TKERR.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count(
                  "Rutina: - VerificaCampos Mensaje Ha ocurrido el Siguiente Error (-2147467259) "
                  "[DBNETLIB][ConnectionWrite (send()).]General network error. Check your network documentation."),
              2);
}

TEST_F(Consultas, AddFieldTrataSusPropiosFallos) {
    // A null default cannot be written: the operator is asked; Ignore goes on without the default clause.
    guion.Responde(Respuesta::Ignore);
    db.AddField(QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("int"), true, Variant::Null());
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas().back().titulo, QStringLiteral("Pavenko - errAddField Aviso al operador!!! "));
    EXPECT_EQ(g.sentencias, QStringList{QStringLiteral("ALTER TABLE dbo.T ADD C int Null ")});
    // Abort: nothing is sent.
    g.sentencias.clear();
    guion.Responde(Respuesta::Abort);
    db.AddField(QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("int"), true, Variant::Null());
    EXPECT_TRUE(g.sentencias.isEmpty());
}
