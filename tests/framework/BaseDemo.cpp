// The demo server of the framework tests.
#include "BaseDemo.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "DB_Dll.h"
#include "ExtensionSql.h"
#include "Sesion.h"

namespace {

sqlite3* Abre(const QString& archivo) {
    sqlite3* db = nullptr;
    if (sqlite3_open(archivo.toUtf8().constData(), &db) != SQLITE_OK)
        ADD_FAILURE() << "cannot open " << archivo.toStdString();
    RegistraExtensionSql(db);
    return db;
}

void EjecutaEn(const QString& archivo, const QString& sql) {
    sqlite3* db = Abre(archivo);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << error;
        sqlite3_free(error);
    }
    sqlite3_close(db);
}

QString LeeSql(const QString& nombre) {
    QFile f(QStringLiteral(PAVENKO_DEMO_DIR "/") + nombre);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nombre.toStdString();
    return QString::fromUtf8(f.readAll());
}

}  // namespace

void ConBaseDemo::SetUp() {
    ConEntorno::SetUp();
    QDir(Carpeta()).mkpath(QStringLiteral("datos"));
    EjecutaEn(ArchivoBase(QStringLiteral("DEMO")), LeeSql(QStringLiteral("empresa.sql")));
    EjecutaEn(ArchivoBase(QStringLiteral("TK_ESTADISTICAS")), LeeSql(QStringLiteral("estadisticas.sql")));
    QFile ini(Ruta(QStringLiteral("Servidores.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[DEMOSRV]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
    ini.close();
    sesion().Reinicia();
    FijaTerminacion([this] { ++terminaciones; });
}

void ConBaseDemo::TearDown() {
    sesion().Reinicia();
    FijaTerminacion({});
    ConEntorno::TearDown();
}

QString ConBaseDemo::ParametrosDemo(const QString& usuario) {
    return QStringLiteral("@Server=DEMOSRV; @DbName=DEMO; @Usuario=") + usuario +
           QStringLiteral("; @Password=demo; @UsuarioLogeado=") + usuario + QStringLiteral("; @Caja=3;veld@");
}

void ConBaseDemo::Conecta(const QString& usuario) {
    DB_Dll& db = sesion().gDB();
    db.gServidor = QStringLiteral("DEMOSRV");
    db.gDBName = QStringLiteral("DEMO");
    db.gUsuario = usuario;
    db.gUserPassWord = QStringLiteral("demo");
    db.OpenServerADODB(false, 3, QString(), true, true);
    ASSERT_TRUE(db.gOpenFlag);
    ASSERT_EQ(db.gCnn.State(), ado::adStateOpen);
    sesion().gUsuarioLogeado = usuario;
}

QList<QStringList> ConBaseDemo::Filas(const QString& base, const QString& sql) const {
    QList<QStringList> filas;
    sqlite3* db = Abre(ArchivoBase(base));
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db);
    } else {
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList fila;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                fila << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            filas << fila;
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return filas;
}

void ConBaseDemo::Ejecuta(const QString& base, const QString& sql) const {
    EjecutaEn(ArchivoBase(base), sql);
}
