// What the database layer costs over SQLite itself: on a 100,000-row table of articles, a 1,000-row record set in
// the order of an indexed column, 10,000 single-row lookups by key and 1,000 inserts in one transaction, each
// through Connection/Recordset (T-SQL text) and through the SQLite C API with the same statements in SQLite's
// dialect, the direct side also copying every value out. Every column varies from row to row.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <variant>
#include <vector>

#include "Ado.h"
#include "ExtensionSql.h"
#include "Proceso.h"

namespace {

constexpr int kArticulos = 100000;

QTemporaryDir& Carpeta() {
    static QTemporaryDir dir;
    return dir;
}

QString Archivo() {
    return Carpeta().filePath(QStringLiteral("datos/BENCH.db"));
}

QString Codigo(int i) {
    return QStringLiteral("A%1").arg(i, 6, 10, QLatin1Char('0'));
}

// The server folder, its Servidores.ini and the articles, made once.
void PreparaBase() {
    static bool hecho = false;
    if (hecho) return;
    hecho = true;
    QDir(Carpeta().path()).mkpath(QStringLiteral("datos"));
    QFile ini(Carpeta().filePath(QStringLiteral("Servidores.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[BENCH]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
    ini.close();

    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(Archivo()).constData(), &db);
    RegistraExtensionSql(db);
    sqlite3_exec(db,
                 "CREATE TABLE ARTICULOS (Codigo varchar(20) COLLATE SQLSERVER PRIMARY KEY, "
                 "Descripcion varchar(60) COLLATE SQLSERVER NOT NULL, Precio money, Stock int, Familia varchar(10) "
                 "COLLATE SQLSERVER, Alta datetime);"
                 "CREATE INDEX IX_ARTICULOS_DESCRIPCION ON ARTICULOS (Descripcion);"
                 "CREATE TABLE ARTICULOS_NUEVOS (Codigo varchar(20) COLLATE SQLSERVER PRIMARY KEY, "
                 "Descripcion varchar(60) COLLATE SQLSERVER NOT NULL, Precio money, Stock int);"
                 "BEGIN",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO ARTICULOS VALUES (?, ?, ?, ?, ?, ?)", -1, &st, nullptr);
    const QDateTime inicio(QDate(2026, 1, 1), QTime(0, 0));
    for (int i = 0; i < kArticulos; ++i) {
        const QByteArray codigo = Codigo(i).toUtf8();
        // Descriptions in an order unrelated to the keys.
        const QByteArray descripcion = QStringLiteral("Articulo %1 de prueba").arg((i * 7919) % kArticulos).toUtf8();
        sqlite3_bind_text(st, 1, codigo.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, descripcion.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 3, (i % 1000) / 4.0);
        sqlite3_bind_int(st, 4, i % 50);
        const QByteArray familia = QStringLiteral("%1").arg(i % 97, 4, 10, QLatin1Char('0')).toUtf8();
        const QByteArray alta = inicio.addSecs(i * 421).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        sqlite3_bind_text(st, 5, familia.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 6, alta.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT; ANALYZE", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

const QString kCadena = QStringLiteral("PROVIDER=SQLOLEDB;Server=BENCH;Database =BENCH;UId=sa;Pwd=x;");

// ---- The direct side ----

using Valor = std::variant<std::monostate, sqlite3_int64, double, std::string>;

sqlite3* AbreDirecto() {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(Archivo()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    RegistraExtensionSql(db);
    return db;
}

// Prepares, steps to the end copying every value out, finalizes: what a caller of the C API does with a text.
std::vector<std::vector<Valor>> Consulta(sqlite3* db, const std::string& sql) {
    std::vector<std::vector<Valor>> filas;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
    const int columnas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<Valor> fila;
        fila.reserve(columnas);
        for (int i = 0; i < columnas; ++i) {
            switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER:
                    fila.emplace_back(sqlite3_column_int64(st, i));
                    break;
                case SQLITE_FLOAT:
                    fila.emplace_back(sqlite3_column_double(st, i));
                    break;
                case SQLITE_NULL:
                    fila.emplace_back();
                    break;
                default:
                    fila.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                                  sqlite3_column_bytes(st, i)));
            }
        }
        filas.push_back(std::move(fila));
    }
    sqlite3_finalize(st);
    return filas;
}

void BM_Recordset1000_Capa(benchmark::State& estado) {
    Connection cn;
    cn.Open(kCadena);
    for (auto _ : estado) {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT TOP 1000 * FROM ARTICULOS with(nolock) ORDER BY Descripcion"), cn);
        long n = 0;
        while (!rs.Eof()) {
            benchmark::DoNotOptimize(rs.Fields(1).Value());
            ++n;
            rs.MoveNext();
        }
        if (n != 1000) estado.SkipWithError("rows");
    }
}

void BM_Recordset1000_Directo(benchmark::State& estado) {
    sqlite3* db = AbreDirecto();
    for (auto _ : estado) {
        auto filas = Consulta(db, "SELECT * FROM ARTICULOS ORDER BY Descripcion LIMIT 1000");
        for (const auto& f : filas) benchmark::DoNotOptimize(f[1]);
        if (filas.size() != 1000) estado.SkipWithError("rows");
    }
    sqlite3_close(db);
}

void BM_Busquedas10000_Capa(benchmark::State& estado) {
    Connection cn;
    cn.Open(kCadena);
    for (auto _ : estado) {
        for (int i = 0; i < 10000; ++i) {
            Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM ARTICULOS with(nolock)  WHERE Codigo = '") +
                        Codigo((i * 37) % kArticulos) + QLatin1Char('\''),
                    cn);
            benchmark::DoNotOptimize(rs.Fields(QStringLiteral("Descripcion")).Value());
            rs.Close();
        }
    }
}

void BM_Busquedas10000_Directo(benchmark::State& estado) {
    sqlite3* db = AbreDirecto();
    for (auto _ : estado) {
        for (int i = 0; i < 10000; ++i) {
            auto filas = Consulta(
                db, "SELECT * FROM ARTICULOS   WHERE Codigo = '" + Codigo((i * 37) % kArticulos).toStdString() + "'");
            benchmark::DoNotOptimize(filas.at(0)[1]);
        }
    }
    sqlite3_close(db);
}

void BM_Altas1000_Capa(benchmark::State& estado) {
    Connection cn;
    cn.Open(kCadena);
    for (auto _ : estado) {
        estado.PauseTiming();
        cn.Execute(QStringLiteral("DELETE FROM ARTICULOS_NUEVOS"));
        estado.ResumeTiming();
        cn.BeginTrans();
        for (int i = 0; i < 1000; ++i)
            cn.Execute(QStringLiteral("INSERT INTO ARTICULOS_NUEVOS (Codigo, Descripcion, Precio, Stock) VALUES ('") +
                       Codigo(i) + QStringLiteral("', 'Articulo nuevo', 12.5, 3)"));
        cn.CommitTrans();
    }
}

void BM_Altas1000_Directo(benchmark::State& estado) {
    sqlite3* db = AbreDirecto();
    for (auto _ : estado) {
        estado.PauseTiming();
        sqlite3_exec(db, "DELETE FROM ARTICULOS_NUEVOS", nullptr, nullptr, nullptr);
        estado.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 0; i < 1000; ++i)
            Consulta(db, "INSERT INTO ARTICULOS_NUEVOS (Codigo, Descripcion, Precio, Stock) VALUES ('" +
                             Codigo(i).toStdString() + "', 'Articulo nuevo', 12.5, 3)");
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}

BENCHMARK(BM_Recordset1000_Capa)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Recordset1000_Directo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Busquedas10000_Capa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Busquedas10000_Directo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Altas1000_Capa)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Altas1000_Directo)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ProcesoPrueba proceso;
    proceso.carpeta = Carpeta().path();
    InstalaProceso(&proceso);
    PreparaBase();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    InstalaProceso(nullptr);
    return 0;
}
