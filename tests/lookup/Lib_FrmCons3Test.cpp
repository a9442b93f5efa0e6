// The list lookup window on the demo database: incremental search, F5 narrowing, columns, quantities, the
// stock-shortage report and the column widths file.
#include <QDir>
#include <QFile>

#include "ConsultasDemo.h"
#include "Lib_FrmCons3.h"
#include "Sentencia.h"

namespace {

const QString kArticulos = QStringLiteral(
    "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
    "DESCRIPCION");

class Ventana : public ConConsultas {
  protected:
    std::unique_ptr<Lib_FrmCons3> Abre(const QString& sql) {
        auto w = std::make_unique<Lib_FrmCons3>(db(), cfg());
        w->SQL = sql;
        return w;
    }
    QByteArray Lee(const QString& archivo) {
        QFile f(Ruta(archivo));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Escribe(const QString& archivo, const QByteArray& bytes) {
        QFile f(Ruta(archivo));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(Ventana, LaBusquedaIncrementalEligeLaPrimeraFilaQueEmpiezaConElTexto) {
    auto w = Abre(kArticulos);
    w->Form_Load();
    const auto primera = Filas("DEMO",
                               "SELECT Descripcion FROM MA_ARTICULOS WHERE Suspendido = 0 AND Descripcion LIKE 'tor%' "
                               "ORDER BY Descripcion LIMIT 1");
    ASSERT_EQ(primera.size(), 1);
    w->ListView1_KeyDown('T', false);  // a letter typed in the list goes to the search box
    w->ListView1_KeyDown('O', false);
    w->ListView1_KeyDown('R', false);
    EXPECT_EQ(w->CmbSearch[0]->currentText(), "TOR");
    ASSERT_TRUE(w->ListView1->currentIndex().isValid());
    EXPECT_EQ(w->ListView1->currentIndex().data().toString(), primera[0][0]);
    const QModelIndex elegida = w->ListView1->currentIndex();
    w->CmbSearch[0]->setEditText("zzz");  // no row: the selection stays
    EXPECT_EQ(w->ListView1->currentIndex(), elegida);
    const qint32 posicion = w->Busqueda(1, "  a00001 ");  // trimmed, any letter case, in the second column
    ASSERT_GT(posicion, 0);
    EXPECT_EQ(w->Modelo->Texto(posicion - 1, 1), "A00001");
}

TEST_F(Ventana, F5AgregaLaCondicionConElTextoEscrito) {
    struct Caso {
        const char* sql;
        bool like;
        const char* texto;
        const char* esperada;
    };
    const Caso casos[] = {
        {"SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
         "DESCRIPCION",
         true, "tor",
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0  and "
         "DESCRIPCION like '%tor%' ORDER BY DESCRIPCION  "},
        {"SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
         "DESCRIPCION",
         false, "to*o",
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0  and "
         "DESCRIPCION like 'to%o%' ORDER BY DESCRIPCION  "},
        {"SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS", true, "Vino",
         "SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS  where DESCRIPCION like '%Vino%'  "},
        // An apostrophe typed stays inside the literal.
        {"SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS", false, "d'a",
         "SELECT DESCRIPCION, IDARTICULO FROM VT_MA_ARTICULOS  where DESCRIPCION like 'd''a%'  "},
    };
    Ejecuta("DEMO", "UPDATE MA_ARTICULOS SET Descripcion = 'D''Angelo tinto' WHERE IdArticulo = 'A00005'");
    for (const Caso& k : casos) {
        auto w = Abre(k.sql);
        w->CfgUsaConsultaLIKE = k.like;
        w->Form_Load();
        w->CmbSearch[0]->setEditText(k.texto);
        w->CmbSearch_KeyDown(0, 116);
        EXPECT_EQ(w->SQL, QString::fromUtf8(k.esperada)) << k.texto;
        EXPECT_TRUE(w->CmbSearch[0]->currentText().isEmpty());
        EXPECT_GT(w->Modelo->rowCount(), 0) << k.texto;  // the narrowed statement ran
        for (int i = 0; i < w->Modelo->rowCount(); ++i)
            ASSERT_TRUE(w->Modelo->Texto(i, 0).contains(QString(k.texto).remove('*').left(2), Qt::CaseInsensitive));
    }
}

TEST_F(Ventana, ColumnasConLosNombresDePreciosYAnchosPorTipo) {
    ajustes["NOM_PCLASE1"] = "Lista mayorista";
    auto w = Abre("SELECT IDARTICULO, DESCRIPCION, PRECIO AS PRECIO1 FROM V_MA_ARTICULOS");
    w->Form_Load();
    ASSERT_EQ(w->Modelo->columnCount(), 3);
    EXPECT_EQ(w->Modelo->Cabecera(2), "Lista mayorista");
    EXPECT_EQ(w->CmbSearch[2]->property("Tag").toString(), "PRECIO1");
    const QFontMetrics m = w->fontMetrics();
    EXPECT_EQ(w->ListView1->columnWidth(1), m.horizontalAdvance(QString(60, 'X')));  // 100 characters: 60
    EXPECT_EQ(w->ListView1->columnWidth(2), m.horizontalAdvance(QString(12, 'X')));  // currency: 12
    EXPECT_EQ(w->IndiceColumna(" descripcion "), 2);
    EXPECT_EQ(w->IndiceColumna("PRECIO"), 0);
}

TEST_F(Ventana, AceptarConCasillasDevuelveUnValorPorFilaMarcada) {
    auto w = Abre("SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo");
    w->CheckBoxes = true;
    w->CampoDevuelto = "Codigo";
    w->ValoresDefault = "1101|41";
    w->Form_Load();
    QStringList marcadas;
    for (int i = 0; i < w->Modelo->rowCount(); ++i)
        if (w->Modelo->Marca(i) == Qt::Checked) marcadas << w->Modelo->Texto(i, 0);
    EXPECT_EQ(marcadas, (QStringList{"1", "11", "1101", "4", "41"}));  // an occurrence anywhere in the defaults
    w->CampoDevuelto = "NINGUNA";
    w->CmdAceptar_Click();
    EXPECT_EQ(w->Valores->size(), 5);
    EXPECT_EQ(w->Valores->value(0), Variant(QString()));
    EXPECT_TRUE(w->isHidden());
}

TEST_F(Ventana, InsertYDeleteCarganLaCantidad) {
    ConfiguracionRegional().decimal = QLatin1Char('.');
    auto w = Abre("SELECT IdArticulo, '0.00' AS [**Cantidad**] FROM MA_ARTICULOS ORDER BY IdArticulo");
    w->CheckBoxes = true;
    w->UsaCantidades = true;
    w->Form_Load();
    w->ListView1->setCurrentIndex(w->Modelo->index(0, 0));
    const struct {
        int tecla;
        const char* celda;
        Qt::CheckState marca;
    } pasos[] = {
        {45, "1.0", Qt::Checked}, {45, "2.0", Qt::Checked}, {46, "1.0", Qt::Checked}, {46, "0.00", Qt::Unchecked}};
    for (const auto& p : pasos) {
        w->ListView1_KeyDown(p.tecla, false);
        EXPECT_EQ(w->Modelo->Texto(0, 1), p.celda);
        EXPECT_EQ(w->Modelo->Marca(0), p.marca);
    }
    guion.RespondeInput("7.5");
    w->ListView1_KeyDown(45, true);
    EXPECT_EQ(w->Modelo->Texto(0, 1), "7.50");
    EXPECT_EQ(guion.Entradas().back(), "Ingrese la Cantidad del Articulo... | Carga de Datos");
}

TEST_F(Ventana, F12InformaElFaltanteDeStock) {
    Ejecuta("DEMO", "UPDATE MA_ARTICULOS SET Descripcion = 'D''Angelo tinto' WHERE IdArticulo = 'A00005'");
    auto w = Abre("SELECT IDARTICULO, Descripcion FROM VT_MA_ARTICULOS WHERE IDARTICULO = 'A00005'");
    w->Form_Load();
    w->ListView1->setCurrentIndex(w->Modelo->index(0, 0));
    guion.Responde(Respuesta::Yes);
    w->Form_KeyDown(123);
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].texto, "Desea informar el articulo A00005 D'Angelo tinto\r\ncomo un faltante de stock?");
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::YesNo | Estilo::Question);
    EXPECT_EQ(guion.Cajas()[0].titulo, "Atención!");
    const auto filas = Filas("DEMO", "SELECT IdArticulo, Descripcion, Usuario FROM V_MV_FALTANTES");
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0], (QStringList{"A00005", "D'Angelo tinto", "CAJERO"}));

    guion.Responde(Respuesta::No);
    w->Form_KeyDown(123);
    EXPECT_EQ(Filas("DEMO", "SELECT Id FROM V_MV_FALTANTES").size(), 1);

    auto otra = Abre("SELECT Codigo, Descripcion FROM MA_CUENTAS");  // no "articulos": F12 does nothing
    otra->Form_Load();
    otra->ListView1->setCurrentIndex(otra->Modelo->index(0, 0));
    otra->Form_KeyDown(123);
    EXPECT_EQ(guion.Cajas().size(), 2u);
}

TEST_F(Ventana, LosAnchosSeGrabanPorTablaYSeRecuperan) {
    Escribe("CONSULTASLEN.TKW", "\"MA_CLIENTES\",\"900|1200|\"\r\n\"MA_CUENTAS\",\"1|2|3|\"\r\n");
    auto w = Abre("SELECT Codigo, Descripcion, Imputable FROM MA_CUENTAS ORDER BY Codigo");
    w->GrabarCfg = true;
    w->Form_Load();
    EXPECT_EQ(w->Tabla(), "MA_CUENTAS");
    w->FijaAnchoColumna(0, 1815);
    w->FijaAnchoColumna(1, 2400);
    w->FijaAnchoColumna(2, 900);
    w->Form_Unload();
    EXPECT_EQ(Lee("CONSULTASLEN.TKW"), "\"MA_CLIENTES\",\"900|1200|\"\r\n\"MA_CUENTAS\",\"1815|2400|900|\"\r\n");
    EXPECT_FALSE(QFile::exists(Ruta("CONSULTASLEN.AUX")));

    auto otra = Abre("SELECT Codigo, Descripcion, Imputable FROM MA_CUENTAS");
    otra->Form_Load();
    EXPECT_EQ(otra->AnchosColumnas(), (QList<double>{1815, 2400, 900}));
    EXPECT_EQ(otra->CmbSearch[1]->width(), otra->ListView1->columnWidth(1) - ui().Twips(50));
}

// A line that cannot be read (a file cut short, edited by hand) is dropped; the other tables keep their widths and
// no temporary file stays behind.
TEST_F(Ventana, UnaLineaDanadaDelArchivoDeAnchosSeDescarta) {
    struct Caso {
        const char* antes;
        const char* despues;
    };
    const Caso casos[] = {
        {"\"MA_CLIENTES\",\"900|1200|\"\r\nroto\r\n",
         "\"MA_CLIENTES\",\"900|1200|\"\r\n\"MA_CUENTAS\",\"1815|2400|\"\r\n"},
        {"\"MA_CLIENTES\r\n\"VT_CLIENTES\",\"1|2|\"\r\n",
         "\"VT_CLIENTES\",\"1|2|\"\r\n\"MA_CUENTAS\",\"1815|2400|\"\r\n"},
        {"\"MA_CUENTAS\",\"1|2|\"\r\n\"MA_CLIENTES\",\"9", "\"MA_CUENTAS\",\"1815|2400|\"\r\n"},
    };
    for (const Caso& k : casos) {
        Escribe("CONSULTASLEN.TKW", k.antes);
        auto w = Abre("SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo");
        w->GrabarCfg = true;
        w->Form_Load();
        w->FijaAnchoColumna(0, 1815);
        w->FijaAnchoColumna(1, 2400);
        w->Form_Unload();
        EXPECT_EQ(Lee("CONSULTASLEN.TKW"), k.despues) << k.antes;
        EXPECT_FALSE(QFile::exists(Ruta("CONSULTASLEN.AUX"))) << k.antes;
    }
}

TEST_F(Ventana, UnFalloAlGrabarLosAnchosNoPierdeElArchivo) {
    const QByteArray antes = "\"MA_CLIENTES\",\"900|1200|\"\r\n";
    Escribe("CONSULTASLEN.TKW", antes);
    QDir(Carpeta()).mkdir("CONSULTASLEN.AUX");  // the temporary file cannot be created
    auto w = Abre("SELECT Codigo, Descripcion FROM MA_CUENTAS");
    w->GrabarCfg = true;
    w->Form_Load();
    guion.Responde(Respuesta::OK);
    w->Form_Unload();
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].titulo, "Aviso al Operador");
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::Critical);
    EXPECT_EQ(Lee("CONSULTASLEN.TKW"), antes);
    EXPECT_FALSE(w->UsarUDBC);
}

}  // namespace

namespace {

TEST_F(Ventana, ArticulosColoreadosPorSuNivelDeStock) {
    Ejecuta("DEMO", "UPDATE MA_ARTICULOS SET PuntoPedido = 10, Stock = 5 WHERE IdArticulo = 'A00001'");
    const struct {
        const char* muestra;
        Variant nivel3;
        bool coloreada;
    } casos[] = {{"si", Variant("255"), true}, {"si", Variant(" "), false}, {"NO", Variant("255"), false}};
    for (const auto& k : casos) {
        auto w =
            Abre("SELECT IDARTICULO, DESCRIPCION, PUNTOPEDIDO, Stock FROM VT_MA_ARTICULOS WHERE IDARTICULO = 'A00001'");
        w->MuestraStock = k.muestra;
        w->StkNivel3 = k.nivel3;
        w->Form_Load();
        ASSERT_EQ(w->Modelo->rowCount(), 1);
        const QModelIndex celda = w->Modelo->index(0, 1);
        EXPECT_EQ(celda.data(Qt::ForegroundRole).value<QBrush>().color() == QColor(255, 0, 0), k.coloreada)
            << k.muestra;
        EXPECT_EQ(celda.data(Qt::FontRole).isValid() && celda.data(Qt::FontRole).value<QFont>().bold(), k.coloreada)
            << k.muestra;
    }
}

}  // namespace

namespace {

// The statement searches the windows rework by: only the statement's own words are found.
TEST(Sentencia, LasPalabrasSeBuscanFueraDeLiteralesNombresYComentarios) {
    struct Caso {
        const char* sql;
        const char* palabra;
        Nombres nombres;
        int posicion;
    };
    const Caso casos[] = {
        {"SELECT a FROM t ORDER BY a", "order by", Nombres::Saltados, 17},
        {"SELECT a FROM t WHERE a like '%q order by %' ORDER BY a", "order by", Nombres::Saltados, 46},
        {"SELECT a FROM t WHERE a like 'it''s order by' ORDER BY a", "order by", Nombres::Saltados, 47},
        {"SELECT [order by] FROM t", "order by", Nombres::Saltados, 0},
        {"SELECT \"where\" FROM t", "where", Nombres::Saltados, 0},
        {"SELECT a FROM t -- order by\nWHERE b = 1", "where", Nombres::Saltados, 29},
        {"SELECT a FROM t /* group by */ GROUP BY a", "group by", Nombres::Saltados, 32},
        {"SELECT a FROM t WHERE a = 'sin cerrar order by", "order by", Nombres::Saltados, 0},
        {"SELECT [v_ma_articulos].x FROM v_ma_articulos", "[v_ma_articulos]", Nombres::Leidos, 8},
        {"SELECT x FROM t WHERE d like '%v_ma_articulos.%'", "v_ma_articulos.", Nombres::Leidos, 0},
    };
    for (const Caso& k : casos) EXPECT_EQ(InstrSentencia(k.sql, k.palabra, 1, k.nombres), k.posicion) << k.sql;
}

}  // namespace
