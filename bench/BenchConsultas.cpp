// What the lookup windows cost on a real shop's catalogue: the demo company database with its articles scaled to
// 100,000, the list window's load (statement, fill, first paint offscreen) beside the statement alone read into
// texts through the project's Recordset, one key and twelve keys of incremental search, F5 narrowing beside its own
// statement alone, and both tree builders on 5,000 to 40,000 family codes.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "DB_Dll.h"
#include "ExtensionSql.h"
#include "Lib_FrmCons3.h"
#include "Lib_FrmCons3Tree.h"
#include "Proceso.h"
#include "Sesion.h"
#include "TkPrint2.h"
#include "UiGuion.h"

namespace {

// Two columns, no TOP, in the order of the searched column; and seven with the stock colouring.
const QString kLista = QStringLiteral(
    "SELECT DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
    "DESCRIPCION");
const QString kListaStock = QStringLiteral(
    "SELECT DESCRIPCION,IDARTICULO,IDFAMILIA,UNIDAD,PRECIO,PUNTOPEDIDO,Stock FROM VT_MA_ARTICULOS  with(nolock)  "
    "WHERE SUSPENDIDO = 0 ORDER BY DESCRIPCION");
const QString kTextoF5 = QStringLiteral("vino");

QTemporaryDir& Carpeta() {
    static QTemporaryDir dir;
    return dir;
}

QString ArchivoDemo() {
    return Carpeta().filePath(QStringLiteral("datos/DEMO.db"));
}

void Ejecuta(const QString& archivo, const QByteArray& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(archivo).constData(), &db);
    RegistraExtensionSql(db);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) qFatal("%s", error);
    sqlite3_close(db);
}

QByteArray LeeDemo(const char* nombre) {
    QFile f(QStringLiteral(PAVENKO_DEMO_DIR "/") + QString::fromUtf8(nombre));
    if (!f.open(QIODevice::ReadOnly)) qFatal("no demo SQL");
    return f.readAll();
}

// The demo server in a folder of its own, its articles scaled to 100,001 (names built as the demo's are, each with
// a number of its own), gDB connected to it as the start-up connects it.
void Prepara() {
    static bool hecho = false;
    if (hecho) return;
    hecho = true;
    static ProcesoPrueba proc;
    static UiGuion guion;
    proc.carpeta = Carpeta().path();
    InstalaProceso(&proc);
    InstalaUi(&guion);
    QDir(Carpeta().path()).mkpath(QStringLiteral("datos"));
    Ejecuta(ArchivoDemo(), LeeDemo("empresa.sql"));
    Ejecuta(Carpeta().filePath(QStringLiteral("datos/TK_ESTADISTICAS.db")), LeeDemo("estadisticas.sql"));
    Ejecuta(ArchivoDemo(),
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 99600), "
            "hojas(orden, id, nombre) AS (VALUES (0, '0101', 'Yerba mate'), (1, '0102', 'Fideos'), (2, '0103', "
            "'Conserva'), (3, '0201', 'Gaseosa'), (4, '0202', 'Agua mineral'), (5, '0203', 'Vino'), (6, '0301', "
            "'Detergente'), (7, '0401', 'Tornillo')), "
            "variante(k, texto) AS (VALUES (0, 'Don Celso'), (1, 'La Tranquera'), (2, 'Sol del Valle'), (3, 'El "
            "Ombu'), (4, 'Tres Arroyos'), (5, 'Santa Ines'), (6, 'Rio Bermejo'), (7, 'Los Alamos'), (8, 'Punta "
            "Mogotes'), (9, 'Cerro Azul')) "
            "INSERT INTO MA_ARTICULOS (IdArticulo, Descripcion, IdFamilia, Unidad, CodigoBarra, Precio, AlicuotaIva, "
            "PuntoPedido, Stock, Suspendido, FechaAlta) "
            "SELECT printf('B%06d', n.i), hojas.nombre || ' ' || variante.texto || ' ' || printf('%05d', (n.i * "
            "7919) % 99991), hojas.id, 'UN', printf('780%010d', n.i), 100 + (n.i * 37) % 5000, 21, (n.i % 4) * 10, "
            "(n.i * 13) % 90, CASE WHEN n.i % 97 = 0 THEN 1 ELSE 0 END, '2025-01-01 00:00:00' "
            "FROM n JOIN hojas ON hojas.orden = n.i % 8 JOIN variante ON variante.k = (n.i / 8) % 10; "
            // One article that sorts last, so that twelve keys typed reach the last row.
            "INSERT INTO MA_ARTICULOS (IdArticulo, Descripcion, IdFamilia, Unidad, Precio) VALUES ('Z000001', "
            "'Zapallo en almibar 1 kg', '0103', 'UN', 990); ANALYZE");
    QFile ini(Carpeta().filePath(QStringLiteral("Servidores.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[DEMOSRV]\r\nMotor=sqlite\r\nCarpeta=datos\r\n");
    ini.close();
    DB_Dll& db = sesion().gDB();
    db.gServidor = QStringLiteral("DEMOSRV");
    db.gDBName = QStringLiteral("DEMO");
    db.gUsuario = QStringLiteral("CAJERO");
    db.gUserPassWord = QStringLiteral("demo");
    db.OpenServerADODB(false, 3, QString(), true, true);
    if (!db.gOpenFlag) qFatal("the demo database did not connect");
}

QString Cfg(const QString&) {
    return QStringLiteral(" ");
}

std::unique_ptr<Lib_FrmCons3> Ventana(const QString& sql, bool stock) {
    auto w = std::make_unique<Lib_FrmCons3>(sesion().gDB(), Cfg);
    w->SQL = sql;
    if (stock) {
        w->MuestraStock = QStringLiteral("SI");
        w->StkNivel1 = Variant(qint32(0x0000FF));
        w->StkNivel2 = Variant(qint32(0x00FF00));
        w->StkNivel3 = Variant(qint32(0xFF0000));
        w->StkNivel4 = Variant(qint32(0x00FFFF));
    }
    return w;
}

// Loaded, shown and painted once, as the operator first sees it.
void Muestra(QWidget& w) {
    w.show();
    QApplication::processEvents();
    w.repaint();
}

// The statement alone, every value of every row read into a text (freed outside the timing, as the window's rows
// are).
std::vector<QString> SoloSentencia(const QString& sql) {
    DB_Dll& db = sesion().gDB();
    Recordset rs;
    db.AbrirRecordset(QString(sql), rs, nullptr, 0, 1, -1, true);
    std::vector<QString> textos;
    const int campos = static_cast<int>(rs.FieldCount());
    while (!rs.Eof()) {
        for (int i = 0; i < campos; ++i) textos.push_back(rs.Fields(i).Value().ATexto());
        rs.MoveNext();
    }
    db.CierraRecordset(rs);
    return textos;
}

void Base(benchmark::State& estado, const QString& sql) {
    Prepara();
    for (auto _ : estado) {
        std::vector<QString> textos = SoloSentencia(sql);
        estado.PauseTiming();
        textos.clear();
        estado.ResumeTiming();
    }
}

void BM_ListaBase(benchmark::State& estado) {
    Base(estado, kLista);
}
BENCHMARK(BM_ListaBase)->Unit(benchmark::kMillisecond);

void BM_ListaCarga(benchmark::State& estado) {
    Prepara();
    int filas = 0;
    for (auto _ : estado) {
        auto w = Ventana(kLista, false);
        w->Form_Load();
        Muestra(*w);
        filas = w->ListView1->model()->rowCount();
        estado.PauseTiming();
        w.reset();
        estado.ResumeTiming();
    }
    estado.counters["filas"] = filas;
}
BENCHMARK(BM_ListaCarga)->Unit(benchmark::kMillisecond);

// The same pair with seven columns and the stock colouring.
void BM_ListaBaseStock(benchmark::State& estado) {
    Base(estado, kListaStock);
}
BENCHMARK(BM_ListaBaseStock)->Unit(benchmark::kMillisecond);

void BM_ListaCargaStock(benchmark::State& estado) {
    Prepara();
    for (auto _ : estado) {
        auto w = Ventana(kListaStock, true);
        w->Form_Load();
        Muestra(*w);
        estado.PauseTiming();
        w.reset();
        estado.ResumeTiming();
    }
}
BENCHMARK(BM_ListaCargaStock)->Unit(benchmark::kMillisecond);

// The last row's description: the twelve keys that reach it.
QString UltimaDescripcion(Lib_FrmCons3& w) {
    const QAbstractItemModel* m = w.ListView1->model();
    return m->index(m->rowCount() - 1, 0).data().toString();
}

// One key typed into the first search box of a loaded window: the search, the selection and the scroll.
void BM_ListaTecla(benchmark::State& estado) {
    Prepara();
    auto w = Ventana(kLista, false);
    w->Form_Load();
    Muestra(*w);
    QLineEdit* caja = w->CmbSearch[0]->lineEdit();
    const QString ultima = UltimaDescripcion(*w);
    const char teclas[] = {'v', 't', 'g', 'a', 'y'};
    size_t k = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        w->CmbSearch[0]->setEditText(QString());
        estado.ResumeTiming();
        QTest::keyClick(caja, teclas[k++ % sizeof(teclas)]);
    }
    w->CmbSearch[0]->setEditText(ultima.left(12));
    if (w->ListView1->currentIndex().row() != w->ListView1->model()->rowCount() - 1)
        estado.SkipWithError("the search did not reach the last row");
}
BENCHMARK(BM_ListaTecla)->Unit(benchmark::kMillisecond);

void BM_ListaDoceTeclas(benchmark::State& estado) {
    Prepara();
    auto w = Ventana(kLista, false);
    w->Form_Load();
    Muestra(*w);
    QLineEdit* caja = w->CmbSearch[0]->lineEdit();
    const QString doce = UltimaDescripcion(*w).left(12);
    for (auto _ : estado) {
        estado.PauseTiming();
        w->CmbSearch[0]->setEditText(QString());
        estado.ResumeTiming();
        QTest::keyClicks(caja, doce);
    }
    if (w->ListView1->currentIndex().row() != w->ListView1->model()->rowCount() - 1)
        estado.SkipWithError("twelve keys did not reach the last row");
}
BENCHMARK(BM_ListaDoceTeclas)->Unit(benchmark::kMillisecond);

// F5 in the first box of the seven-column list: the narrowed statement, the fill and the paint.
void BM_ListaF5(benchmark::State& estado) {
    Prepara();
    auto w = Ventana(kListaStock, true);
    w->CfgUsaConsultaLIKE = true;
    w->Form_Load();
    Muestra(*w);
    const QString primera = w->SQL;
    QLineEdit* caja = w->CmbSearch[0]->lineEdit();
    for (auto _ : estado) {
        estado.PauseTiming();
        w->SQL = primera;
        w->CmbSearch[0]->setEditText(kTextoF5);
        estado.ResumeTiming();
        QTest::keyClick(caja, Qt::Key_F5);
        w->repaint();
    }
    estado.counters["filas"] = w->ListView1->model()->rowCount();
}
BENCHMARK(BM_ListaF5)->Unit(benchmark::kMillisecond);

void BM_ListaF5Base(benchmark::State& estado) {
    const QString sql = QStringLiteral(
        "SELECT DESCRIPCION,IDARTICULO,IDFAMILIA,UNIDAD,PRECIO,PUNTOPEDIDO,Stock FROM VT_MA_ARTICULOS  with(nolock)  "
        "WHERE SUSPENDIDO = 0  and DESCRIPCION like '%vino%' ORDER BY DESCRIPCION  ");
    Base(estado, sql);
}
BENCHMARK(BM_ListaF5Base)->Unit(benchmark::kMillisecond);

// TA_FAMILIAS holding n codes in three levels: 20 of two digits, 20 under each of four, the rest of six digits
// spread over the 400 of four.
void Familias(int n) {
    QByteArray sql = "DELETE FROM TA_FAMILIAS; INSERT INTO TA_FAMILIAS (IdFamilia, Descripcion) VALUES ";
    QStringList filas;
    auto agrega = [&](const QString& codigo) { filas << QStringLiteral("('%1', 'Familia %1')").arg(codigo); };
    for (int a = 1; a <= 20; ++a) agrega(QStringLiteral("%1").arg(a, 2, 10, QLatin1Char('0')));
    for (int a = 1; a <= 20; ++a)
        for (int b = 1; b <= 20; ++b)
            agrega(QStringLiteral("%1%2").arg(a, 2, 10, QLatin1Char('0')).arg(b, 2, 10, QLatin1Char('0')));
    const int resto = n - 420;
    for (int i = 0; i < resto; ++i) {
        const int padre = i % 400, hijo = i / 400 + 1;
        agrega(QStringLiteral("%1%2%3")
                   .arg(padre / 20 + 1, 2, 10, QLatin1Char('0'))
                   .arg(padre % 20 + 1, 2, 10, QLatin1Char('0'))
                   .arg(hijo, 2, 10, QLatin1Char('0')));
    }
    sql += filas.join(QLatin1Char(',')).toUtf8();
    Ejecuta(ArchivoDemo(), sql);
}

void Arbol(benchmark::State& estado, const QString& sql) {
    Prepara();
    Familias(static_cast<int>(estado.range(0)));
    int nodos = 0;
    for (auto _ : estado) {
        auto w = std::make_unique<Lib_FrmCons3Tree>(sesion().gDB());
        w->SQL = sql;
        w->Form_Load();
        Muestra(*w);
        nodos = static_cast<int>(w->Nodos().size());
        estado.PauseTiming();
        w.reset();
        estado.ResumeTiming();
    }
    if (nodos != estado.range(0) + 1) estado.SkipWithError("the tree lacks nodes");
    estado.counters["nodos"] = nodos;
}

void BM_ArbolGeneral(benchmark::State& estado) {
    Arbol(estado, QStringLiteral("SELECT IdFamilia, Descripcion FROM TA_FAMILIAS ORDER BY IdFamilia"));
}
BENCHMARK(BM_ArbolGeneral)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

void BM_ArbolFamilias(benchmark::State& estado) {
    Arbol(estado, QStringLiteral("SELECT * FROM V_TA_FAMILIAS"));
}
BENCHMARK(BM_ArbolFamilias)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sesion().Reinicia();
    return 0;
}
