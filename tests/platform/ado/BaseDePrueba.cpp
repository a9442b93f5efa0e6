// The test server's files, created with the SQLite library itself.
#include "BaseDePrueba.h"

#include <sqlite3.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ExtensionSql.h"

namespace {
const char* const kEsquema = R"(
BEGIN;
CREATE TABLE TA_CONFIGURACION (Clave varchar(100) COLLATE SQLSERVER NOT NULL PRIMARY KEY,
    Valor varchar(255) COLLATE SQLSERVER, ValorAux varchar(255) COLLATE SQLSERVER);
INSERT INTO TA_CONFIGURACION VALUES ('TPV_SERVER', 'DEMOSRV', 'x'), ('MaxDto', '15', NULL);
CREATE TABLE TA_TAREAS (USUARIO varchar(50) COLLATE SQLSERVER, TAREA varchar(20) COLLATE SQLSERVER);
CREATE TABLE TA_MENU (Clave varchar(20) COLLATE SQLSERVER PRIMARY KEY, Proceso varchar(100) COLLATE SQLSERVER,
    Nombre varchar(100) COLLATE SQLSERVER);
INSERT INTO TA_TAREAS VALUES ('CAJERO', 'T01'), ('CAJERO', 'T02');
INSERT INTO TA_MENU VALUES ('T01', 'C:\APP\PAVENKO.EXE', 'Impresora fiscal'), ('T02', 'OTRO.EXE', 'Otro');
CREATE TABLE Control_Acceso (Id INTEGER PRIMARY KEY AUTOINCREMENT, Maquina varchar(50) COLLATE SQLSERVER,
    Usuario varchar(50) COLLATE SQLSERVER, Formulario varchar(50) COLLATE SQLSERVER, Tarea varchar(100) COLLATE SQLSERVER,
    Ingreso datetime, NombreUsuario varchar(50) COLLATE SQLSERVER);
CREATE TABLE AUX_ERR (Proceso varchar(50) COLLATE SQLSERVER, Fecha varchar(20), Error int,
    Descripcion varchar(250) COLLATE SQLSERVER, SQL text COLLATE SQLSERVER, PC varchar(50), Usuario varchar(50));
CREATE TABLE TA_FAMILIAS (IdFamilia varchar(10) COLLATE SQLSERVER PRIMARY KEY, Descripcion varchar(50) COLLATE SQLSERVER);
INSERT INTO TA_FAMILIAS VALUES ('01', 'Bebidas'), ('0101', 'Gaseosas'), ('0102', 'Aguas'), ('02', 'Almacen'),
    ('0201', 'Harinas'), ('020101', 'Harina 000');
CREATE VIEW v_ta_familias AS SELECT IdFamilia, Descripcion FROM TA_FAMILIAS;
CREATE TABLE ARTICULOS (Codigo varchar(20) COLLATE SQLSERVER PRIMARY KEY, Descripcion varchar(60) COLLATE SQLSERVER NOT NULL,
    Precio money, Stock int, Activo bit, Alta datetime, Peso float, Familia varchar(10) REFERENCES TA_FAMILIAS(IdFamilia),
    Cantidad smallint, Tasa decimal(10,2));
INSERT INTO ARTICULOS VALUES ('A1', 'Agua mineral', 1.5, 10, 1, '2026-03-01 08:15:00', 0.5, '0102', 3, 10.5),
    ('A2', 'Harina', 2.25, 0, 0, NULL, 1.0, '020101', 1, 21);
COMMIT;
)";
}  // namespace

void ConBaseDePrueba::SetUp() {
    ConEntorno::SetUp();
    QDir(Carpeta()).mkpath(QStringLiteral("datos"));
    QFile ini(Ruta(QStringLiteral("Servidores.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("; servers of the tests\r\n[srv01]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
    ini.close();
    Directo(QString::fromUtf8(kEsquema));
    Directo(QStringLiteral("CREATE TABLE ESTADISTICAS (Clave varchar(10))"), QStringLiteral("TK_ESTADISTICAS"));
}

void ConBaseDePrueba::TearDown() {
    if (cn.State() == ado::adStateOpen) cn.Close();
    ConEntorno::TearDown();
}

QString ConBaseDePrueba::ArchivoBase(const QString& base) const {
    return Ruta(QStringLiteral("datos/") + base + QStringLiteral(".db"));
}

void ConBaseDePrueba::Directo(const QString& sql, const QString& base) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(ArchivoBase(base)).constData(), &db), SQLITE_OK);
    RegistraExtensionSql(db);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString texto = error ? QString::fromUtf8(error) : QString();
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << texto.toStdString();
}

QString ControladorSqlite() {
    QFile odbcinst(QStringLiteral("/etc/odbcinst.ini"));
    if (odbcinst.open(QIODevice::ReadOnly) && odbcinst.readAll().contains("[SQLite3]"))
        return QStringLiteral("SQLite3");
    for (const char* ruta :
         {"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so",
          "/usr/lib/odbc/libsqlite3odbc.so", "/usr/lib64/libsqlite3odbc.so"})
        if (QFileInfo::exists(QString::fromLatin1(ruta))) return QString::fromLatin1(ruta);
    return QStringLiteral("SQLite3");
}

void ConBaseDePrueba::AgregaServidorOdbc() {
    QFile ini(Ruta(QStringLiteral("Servidores.ini")));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(("[ODBCSRV]\r\nMotor=odbc\r\nCadena=Driver=" + ControladorSqlite() +
               ";Database=" + Ruta(QStringLiteral("datos")) + "/{base}.db;Timeout=1000;\r\n")
                  .toUtf8());
}
