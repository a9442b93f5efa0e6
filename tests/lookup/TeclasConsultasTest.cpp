// Both lookup windows driven as an operator drives them, on the demo database: keys typed where the focus is, clicks
// on the header and the buttons; what the list or tree shows and what the window hands back are checked.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "ConsultasDemo.h"
#include "Lib_FrmCons3.h"
#include "Lib_FrmCons3Tree.h"
#include "Regional.h"
#include "Texto.h"

namespace {

const QString kArticulos = QStringLiteral(
    "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
    "DESCRIPCION");

class Teclas : public ConConsultas {
  protected:
    std::unique_ptr<Lib_FrmCons3> Lista(const QString& sql) {
        auto w = std::make_unique<Lib_FrmCons3>(db(), cfg());
        w->SQL = sql;
        return w;
    }
    // The window on the screen, active, with the focus where it opens (the first search box).
    static void Muestra(QWidget& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    // Keys go where the focus is, as the operator's keyboard sends them.
    static QWidget* Foco() { return QApplication::focusWidget(); }
    static void Teclea(const QString& texto) {
        for (QChar c : texto) QTest::keyClick(Foco(), c.toLatin1());
    }
    static void Pulsa(Qt::Key tecla, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QTest::keyClick(Foco(), tecla, mod);
    }
    static void ClicEn(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); }
    static void ClicCabecera(QTreeView* v, int columna) {
        QHeaderView* h = v->header();
        v->scrollTo(v->model()->index(0, columna));  // the column in sight, as the operator scrolls to it
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(h->sectionViewportPosition(columna) + h->sectionSize(columna) / 2, h->height() / 2));
    }

    // What the list shows: one column's texts, top to bottom.
    static QStringList Columna(QTreeView* v, int columna) {
        QStringList r;
        for (int i = 0; i < v->model()->rowCount(); ++i) r << v->model()->index(i, columna).data().toString();
        return r;
    }
    static QString Elegida(QTreeView* v, int columna = 0) {
        const QModelIndex i = v->currentIndex();
        return i.isValid() ? v->model()->index(i.row(), columna).data().toString() : QString();
    }
    // Every node's text in the tree, depth first.
    static QStringList Nodos(QTreeView* v, const QModelIndex& padre = QModelIndex()) {
        QStringList r;
        for (int i = 0; i < v->model()->rowCount(padre); ++i) {
            const QModelIndex n = v->model()->index(i, 0, padre);
            r << n.data().toString() << Nodos(v, n);
        }
        return r;
    }
    // The descriptions the database gives, straight from the file, in the server's collation.
    QStringList Descripciones(const QString& condicion, const QString& columna = QStringLiteral("Descripcion"),
                              const QString& sentido = QStringLiteral("ASC")) {
        QStringList r;
        for (const QStringList& f :
             Filas("DEMO", "SELECT Descripcion FROM MA_ARTICULOS WHERE Suspendido = 0 AND (" + condicion +
                               ") ORDER BY " + columna + " COLLATE SQLSERVER " + sentido))
            r << f[0];
        return r;
    }
};

TEST_F(Teclas, LoTecleadoEnLaListaBuscaYEnterDevuelveLaFila) {
    auto w = Lista(kArticulos);
    w->CampoDevuelto = "IDARTICULO";
    w->Form_Load();
    Muestra(*w);
    const QStringList tor = Descripciones("Descripcion LIKE 'tor%'");
    ASSERT_GE(tor.size(), 2);

    ClicEn(w->ListView1->viewport());  // the operator starts typing with the list in focus
    Teclea("tor");  // the first key goes from the list to the first box, as a capital; the focus follows it
    EXPECT_EQ(w->CmbSearch[0]->currentText(), "Tor");
    EXPECT_TRUE(w->CmbSearch[0]->hasFocus());
    EXPECT_EQ(Elegida(w->ListView1), tor[0]);
    Teclea("zz");  // no row starts with it: the selection stays
    EXPECT_EQ(Elegida(w->ListView1), tor[0]);

    Pulsa(Qt::Key_Down);  // from the box, the arrow hands the focus to the list
    EXPECT_TRUE(w->ListView1->hasFocus());
    EXPECT_EQ(Elegida(w->ListView1), tor[0]);
    Pulsa(Qt::Key_Down);
    EXPECT_EQ(Elegida(w->ListView1), tor[1]);
    const QString codigo = Elegida(w->ListView1, 1);
    Pulsa(Qt::Key_Return);
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(w->ValorDevuelto, Variant(codigo));
    ASSERT_TRUE(w->Valores.has_value());
}

TEST_F(Teclas, F5EnCadaCajaAcotaLaSentencia) {
    struct Paso {
        int caja;
        const char* texto;
        const char* condicion;  // what the rows shown must satisfy, added to the earlier ones
    };
    const Paso pasos[] = {
        {0, "vino", "Descripcion LIKE '%vino%'"},
        {0, "la tr", "Descripcion LIKE '%la tr%'"},
        {1, "a001", "IdArticulo LIKE '%a001%'"},
    };
    auto w = Lista(kArticulos);
    w->CfgUsaConsultaLIKE = true;
    w->Form_Load();
    Muestra(*w);
    QString condicion = "1 = 1";
    for (const Paso& p : pasos) {
        ClicEn(w->CmbSearch[p.caja]->lineEdit());
        Teclea(p.texto);
        Pulsa(Qt::Key_F5);
        condicion += QStringLiteral(" AND ") + p.condicion;
        EXPECT_EQ(Columna(w->ListView1, 0), Descripciones(condicion)) << p.texto;
        EXPECT_TRUE(w->CmbSearch[p.caja]->currentText().isEmpty()) << p.texto;
    }
    EXPECT_FALSE(Columna(w->ListView1, 0).isEmpty());

    ClicEn(w->CmdNueva);  // back to the first statement
    EXPECT_EQ(Columna(w->ListView1, 0).size(), Descripciones("1 = 1").size());
}

// Whatever the operator types into the boxes stays a text to look for: no two presses of F5 can make it part of
// the statement.
TEST_F(Teclas, LoEscritoNuncaCambiaLaSentencia) {
    struct Caso {
        bool like;
        std::vector<const char*> textos;
    };
    const Caso casos[] = {
        {true, {"q order by ", "1 UNION SELECT Nombre, NombreCompleto FROM ta_usuarios WHERE 1=1 OR 1"}},
        {false, {"q order by ", "1 UNION SELECT Nombre, NombreCompleto FROM ta_usuarios WHERE 1=1 OR 1"}},
        {true, {"x' group by ", "1 UNION SELECT Nombre, NombreCompleto FROM ta_usuarios --"}},
        {true, {"d'a order by x", "' UNION SELECT Nombre, NombreCompleto FROM ta_usuarios WHERE '1'='1"}},
        {true, {"where", "Vino"}},
    };
    Ejecuta("DEMO", "UPDATE MA_ARTICULOS SET Descripcion = 'Vino q order by 1 UNION' WHERE IdArticulo = 'A00005'");
    for (const Caso& k : casos) {
        auto w = Lista(kArticulos);
        w->CfgUsaConsultaLIKE = k.like;
        w->Form_Load();
        Muestra(*w);
        QString condicion = "1 = 1";
        for (const char* texto : k.textos) {
            ClicEn(w->CmbSearch[0]->lineEdit());
            Teclea(texto);
            Pulsa(Qt::Key_F5);
            const QString patron = QString(texto).replace("'", "''").replace("*", "%");
            condicion += " AND Descripcion LIKE '" + QString(k.like ? "%" : "") + patron + "%'";
        }
        const QStringList vistas = Columna(w->ListView1, 0);
        EXPECT_EQ(vistas, Descripciones(condicion)) << k.textos[0];
        for (const QStringList& u : Filas("DEMO", "SELECT Nombre FROM ta_usuarios"))
            EXPECT_FALSE(vistas.contains(u[0])) << k.textos[0];
    }

    // The tree's F5 the same.
    for (const Caso& k : casos) {
        Lib_FrmCons3Tree t(db());
        t.SQL = "SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo";
        t.Form_Load();
        Muestra(t);
        for (const char* texto : k.textos) {
            ClicEn(t.CmbSearch[0]->lineEdit());
            Teclea(texto);
            Pulsa(Qt::Key_F5);
        }
        EXPECT_EQ(Nodos(t.TreeV), QStringList{"Consulta..."}) << k.textos[0];
    }
}

TEST_F(Teclas, UnClicEnLaCabeceraOrdenaYLaRecargaConservaElOrden) {
    struct Caso {
        const char* sql;
        bool ordenarPorLista;
    };
    const Caso casos[] = {
        {"SELECT TOP 1000 DESCRIPCION,IDARTICULO,UNIDAD FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY UNIDAD, "
         "IDARTICULO",
         false},
        {"SELECT TOP 1000 DESCRIPCION,IDARTICULO,UNIDAD FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0", true},
    };
    for (const Caso& k : casos) {
        auto w = Lista(k.sql);
        w->OrdenarPorLwv = k.ordenarPorLista;
        w->Form_Load();
        Muestra(*w);
        if (k.ordenarPorLista) {
            EXPECT_EQ(Columna(w->ListView1, 0), Descripciones("1 = 1")) << k.sql;
        }

        ClicCabecera(w->ListView1, 1);
        EXPECT_EQ(Columna(w->ListView1, 0), Descripciones("1 = 1", "IdArticulo")) << k.sql;
        ClicCabecera(w->ListView1, 1);
        EXPECT_EQ(Columna(w->ListView1, 0), Descripciones("1 = 1", "IdArticulo", "DESC")) << k.sql;
        ClicCabecera(w->ListView1, 0);
        EXPECT_EQ(Columna(w->ListView1, 0), Descripciones("1 = 1")) << k.sql;
        ClicCabecera(w->ListView1, 0);
        const QStringList descendente = Descripciones("1 = 1", "Descripcion", "DESC");
        EXPECT_EQ(Columna(w->ListView1, 0), descendente) << k.sql;

        // F5 and "Nueva Busqueda" reload the rows in the operator's order.
        ClicEn(w->CmbSearch[0]->lineEdit());
        Teclea("agua");
        Pulsa(Qt::Key_F5);
        EXPECT_EQ(Columna(w->ListView1, 0), Descripciones("Descripcion LIKE 'agua%'", "Descripcion", "DESC")) << k.sql;
        ClicEn(w->CmdNueva);
        EXPECT_EQ(Columna(w->ListView1, 0), descendente) << k.sql;
    }
}

TEST_F(Teclas, CadaNivelDeStockConSuColor) {
    struct Caso {
        const char* articulo;
        int punto;
        int stock;
        int nivel;  // 1 to 4
    };
    const Caso casos[] = {
        {"A00001", 0, 5, 1},   {"A00002", 10, 15, 2}, {"A00003", 10, 5, 3}, {"A00004", 0, 0, 4},
        {"A00006", 10, 10, 4}, {"A00007", 0, -2, 4},  {"A00009", -1, 5, 4},
    };
    const long colores[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};  // 0x00BBGGRR
    QStringList ids;
    for (const Caso& k : casos) {
        Ejecuta("DEMO", QString("UPDATE MA_ARTICULOS SET PuntoPedido = %1, Stock = %2 WHERE IdArticulo = '%3'")
                            .arg(k.punto)
                            .arg(k.stock)
                            .arg(k.articulo));
        ids << QString("'%1'").arg(k.articulo);
    }
    auto w = Lista("SELECT IDARTICULO, DESCRIPCION, PUNTOPEDIDO, Stock FROM VT_MA_ARTICULOS WHERE IDARTICULO IN (" +
                   ids.join(',') + ") ORDER BY IDARTICULO");
    w->MuestraStock = "SI";
    w->StkNivel1 = Variant(qint32(colores[0]));
    w->StkNivel2 = Variant(qint32(colores[1]));
    w->StkNivel3 = Variant(qint32(colores[2]));
    w->StkNivel4 = Variant(qint32(colores[3]));
    w->Form_Load();
    Muestra(*w);
    ASSERT_EQ(Columna(w->ListView1, 0).size(), static_cast<int>(std::size(casos)));
    for (int i = 0; i < static_cast<int>(std::size(casos)); ++i) {
        const long bgr = colores[casos[i].nivel - 1];
        const QColor esperado(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
        for (int c = 0; c < 4; ++c) {
            const QModelIndex celda = w->ListView1->model()->index(i, c);
            EXPECT_EQ(celda.data(Qt::ForegroundRole).value<QBrush>().color(), esperado) << casos[i].articulo << c;
            EXPECT_TRUE(celda.data(Qt::FontRole).value<QFont>().bold()) << casos[i].articulo;
        }
    }
}

TEST_F(Teclas, F5ConElPrefijoDeLaVistaYAntesDelGroupBy) {
    struct Caso {
        const char* sql;
        bool like;
        const char* texto;
        const char* esperada;  // the same rows, asked straight from the file
    };
    const Caso casos[] = {
        // Both views have a Descripcion: only the article view's prefix keeps the condition unambiguous.
        {"SELECT v_ma_articulos.DESCRIPCION, v_ma_articulos.IDARTICULO, V_TA_FAMILIAS.Descripcion AS Familia FROM "
         "v_ma_articulos JOIN V_TA_FAMILIAS ON V_TA_FAMILIAS.IdFamilia = v_ma_articulos.IDFAMILIA ORDER BY "
         "v_ma_articulos.DESCRIPCION",
         true, "vino",
         "SELECT Descripcion FROM MA_ARTICULOS WHERE Descripcion LIKE '%vino%' ORDER BY Descripcion COLLATE SQLSERVER"},
        {"SELECT IdFamilia, COUNT(*) AS Cuantos FROM MA_ARTICULOS GROUP BY IdFamilia ORDER BY IdFamilia", false, "02",
         "SELECT IdFamilia FROM MA_ARTICULOS WHERE IdFamilia LIKE '02%' GROUP BY IdFamilia ORDER BY IdFamilia"},
        {"SELECT IdFamilia, COUNT(*) AS Cuantos FROM MA_ARTICULOS WHERE Suspendido = 0 GROUP BY IdFamilia", true, "3",
         "SELECT IdFamilia FROM MA_ARTICULOS WHERE Suspendido = 0 AND IdFamilia LIKE '%3%' GROUP BY IdFamilia ORDER "
         "BY IdFamilia"},
    };
    for (const Caso& k : casos) {
        auto w = Lista(k.sql);
        w->CfgUsaConsultaLIKE = k.like;
        w->Form_Load();
        Muestra(*w);
        ClicEn(w->CmbSearch[0]->lineEdit());
        Teclea(k.texto);
        Pulsa(Qt::Key_F5);
        QStringList esperadas;
        for (const QStringList& f : Filas("DEMO", k.esperada)) esperadas << f[0];
        ASSERT_FALSE(esperadas.isEmpty());
        QStringList vistas = Columna(w->ListView1, 0);
        if (!Contiene(k.sql, "ORDER BY")) vistas.sort();
        EXPECT_EQ(vistas, esperadas) << k.sql;
    }
}

TEST_F(Teclas, ArrobaDiezEnsanchaLasColumnas) {
    struct Caso {
        const char* predeterminados;
        int extra;
    };
    const Caso casos[] = {{"", 0}, {"@10", 10}, {"@100", 0}};
    for (const Caso& k : casos) {
        auto w = Lista("SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo");
        w->ValoresDefault = k.predeterminados;
        w->Form_Load();
        Muestra(*w);
        const QFontMetrics m = w->fontMetrics();
        // varchar(20), and varchar(100) held to 60 before the widening.
        EXPECT_EQ(w->ListView1->header()->sectionSize(0), m.horizontalAdvance(QString(20 + k.extra, 'X')))
            << k.predeterminados;
        EXPECT_EQ(w->ListView1->header()->sectionSize(1), m.horizontalAdvance(QString(60 + k.extra, 'X')))
            << k.predeterminados;
    }
}

// The quantity typed after Shift+Insert is read as the cells write it, in the workstation's locale.
TEST_F(Teclas, LaCantidadSeLeeEnElIdiomaDelPuesto) {
    struct Caso {
        char decimal;
        const char* tecleada;
        const char* celda;
        const char* siguiente;  // after Insert
    };
    const Caso casos[] = {{',', "7,5", "7,50", "8,5"},
                          {'.', "7.5", "7.50", "8.5"},
                          {',', "", "0,00", "1,0"},
                          {',', "12", "12,00", "13,0"}};
    const Regional antes = ConfiguracionRegional();
    for (const Caso& k : casos) {
        ConfiguracionRegional().decimal = QLatin1Char(k.decimal);
        ConfiguracionRegional().grupo = QLatin1Char(k.decimal == ',' ? '.' : ',');
        auto w = Lista("SELECT IdArticulo, '0.00' AS [**Cantidad**] FROM MA_ARTICULOS ORDER BY IdArticulo");
        w->CheckBoxes = true;
        w->UsaCantidades = true;
        w->Form_Load();
        Muestra(*w);
        ClicEn(w->ListView1->viewport());
        w->ListView1->setCurrentIndex(w->ListView1->model()->index(2, 0));
        guion.RespondeInput(k.tecleada);
        Pulsa(Qt::Key_Insert, Qt::ShiftModifier);
        const QModelIndex celda = w->ListView1->model()->index(2, 1);
        EXPECT_EQ(celda.data().toString(), k.celda) << k.tecleada;
        Pulsa(Qt::Key_Insert);
        EXPECT_EQ(celda.data().toString(), k.siguiente) << k.tecleada;
        EXPECT_EQ(w->ListView1->model()->index(2, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    }
    ConfiguracionRegional() = antes;
}

// A cancel leaves the results null; an accept with nothing picked leaves them empty: the caller tells them apart.
TEST_F(Teclas, CancelarNoEsLoMismoQueAceptarSinMarcas) {
    struct Caso {
        Qt::Key tecla;
        bool nulos;
    };
    const Caso casos[] = {{Qt::Key_Escape, true}, {Qt::Key_Return, false}};
    for (const Caso& k : casos) {
        Lib_ClsCons3 c(cfg());
        c.Checks = true;
        guion.AlMostrar([&](QDialog& d) {
            auto& w = dynamic_cast<Lib_FrmCons3&>(d);
            Muestra(w);
            ClicEn(w.ListView1->viewport());
            Pulsa(k.tecla);
            EXPECT_TRUE(w.isHidden());
        });
        QStringList* cmps = nullptr;
        QString campo, where;
        c.ConsultaSearch("SELECT Codigo, Descripcion FROM MA_CUENTAS", cmps, QString(), campo, where);
        EXPECT_EQ(!c.Valores.has_value(), k.nulos);
        EXPECT_EQ(!c.Cantidades.has_value(), k.nulos);
        if (!k.nulos) {
            EXPECT_TRUE(c.Valores->isEmpty());
            EXPECT_TRUE(c.Cantidades->isEmpty());
        }

        // The check list of options, the same.
        guion.AlMostrar([&](QDialog& d) {
            auto& w = dynamic_cast<Lib_FrmCons3&>(d);
            Muestra(w);
            ClicEn(w.ListView1->viewport());
            Pulsa(k.tecla);
        });
        QStringList devueltos{"X"};
        EXPECT_EQ(c.CheckOpciones("Opciones", &devueltos, {"0Uno", "0Dos"}), "");
        EXPECT_EQ(!c.Valores.has_value(), k.nulos);
        if (!k.nulos) {
            EXPECT_TRUE(c.Valores->isEmpty());
        }

        // And the tree.
        guion.AlMostrar([&](QDialog& d) {
            auto& t = dynamic_cast<Lib_FrmCons3Tree&>(d);
            Muestra(t);
            ClicEn(t.TreeV->viewport());
            Pulsa(k.tecla);
        });
        c.Checks = true;
        c.CampoDevuelto = "CODIGO";
        c.ConsultaSearch("SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo", cmps, QString(), campo, where,
                         QString(), true);
        EXPECT_EQ(!c.Valores.has_value(), k.nulos);
    }
}

TEST_F(Teclas, ElArbolBuscaBajaYDevuelveConTeclas) {
    Lib_ClsCons3 c(cfg());
    c.CampoDevuelto = "IDFAMILIA";
    guion.AlMostrar([&](QDialog& d) {
        auto& t = dynamic_cast<Lib_FrmCons3Tree&>(d);
        Muestra(t);
        EXPECT_TRUE(t.CmbSearch[0]->hasFocus());
        Teclea("herr");
        EXPECT_EQ(t.TreeV->currentIndex().data().toString(), "0402 - Herramientas manuales");
        Pulsa(Qt::Key_Down);  // the focus moves to the tree, and the tree's own keys take over
        EXPECT_TRUE(t.TreeV->hasFocus());
        Pulsa(Qt::Key_Right);
        Pulsa(Qt::Key_Down);
        EXPECT_EQ(t.TreeV->currentIndex().data().toString(), "040201 - Destornilladores");
        Pulsa(Qt::Key_Return);
    });
    QStringList* cmps = nullptr;
    QString campo, where;
    c.ConsultaSearch("SELECT * FROM V_TA_FAMILIAS", cmps, QString(), campo, where, QString(), true);
    EXPECT_EQ(c.ValorDevuelto.ATexto(), "040201");

    // F5 in the general tree narrows by description.
    Lib_FrmCons3Tree t(db());
    t.SQL = "SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo";
    t.Form_Load();
    Muestra(t);
    Teclea("ca");
    Pulsa(Qt::Key_F5);
    QStringList esperados{"Consulta..."};
    for (const QStringList& f :
         Filas("DEMO",
               "SELECT Codigo || ' - ' || Descripcion FROM SS_MA_CUENTAS WHERE Descripcion LIKE '%ca%' ORDER "
               "BY Codigo"))
        esperados << f[0];
    EXPECT_EQ(Nodos(t.TreeV), esperados);
}

}  // namespace
