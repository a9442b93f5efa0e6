// The list window's model: the incremental search by halves (rows in the column's order) and in one pass (any other
// order) give the row a plain scan from the top gives; sorting keeps the selected row.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <algorithm>
#include <random>

#include "ModeloConsulta.h"

namespace {

ModeloConsulta::Carga Textos(const QStringList& textos) {
    ModeloConsulta::Carga c;
    c.cabeceras = QStringList{QStringLiteral("DESCRIPCION"), QStringLiteral("N")};
    for (qsizetype i = 0; i < textos.size(); ++i) {
        c.textos.push_back(textos[i]);
        c.textos.push_back(QString::number(i));
    }
    return c;
}

// The first row from the top whose trimmed text begins with the trimmed text, ignoring case.
int Recorrido(const ModeloConsulta& m, const QString& texto) {
    for (int i = 0; i < m.rowCount(); ++i)
        if (m.Texto(i, 0).trimmed().startsWith(texto.trimmed(), Qt::CaseInsensitive)) return i;
    return -1;
}

TEST(ModeloConsulta, LaBusquedaPorMitadesDaLaMismaFilaQueElRecorrido) {
    const QStringList enOrden = {"agua",   "Agua mineral", "  banco", "BANCO", "bañera", "Caja",
                                 "caja 2", "Cajón",        "Vino",    "vino ", "Zeta"};
    const QString buscados[] = {"",  "a", "AG",    "agua m", "b", "ban",  "BAÑ", "c", "caja ",
                                "z", "x", " caja", "cajo",   "v", "vino", "zz",  "0"};
    QStringList desordenados = enOrden;
    std::mt19937 azar(7);
    std::shuffle(desordenados.begin(), desordenados.end(), azar);
    QStringList alReves = enOrden;
    std::reverse(alReves.begin(), alReves.end());
    struct Caso {
        const char* nombre;
        QStringList textos;
        int columnaOrden;  // -1: the rows as given
        Qt::SortOrder orden;
    };
    const Caso casos[] = {
        {"en orden", enOrden, -1, Qt::AscendingOrder},          {"al reves", alReves, -1, Qt::AscendingOrder},
        {"desordenados", desordenados, -1, Qt::AscendingOrder}, {"ordenados", desordenados, 0, Qt::AscendingOrder},
        {"descendente", desordenados, 0, Qt::DescendingOrder},  {"por otra columna", enOrden, 1, Qt::DescendingOrder},
    };
    for (const Caso& k : casos) {
        ModeloConsulta m;
        m.Reemplaza(Textos(k.textos), false);
        if (k.columnaOrden >= 0) m.sort(k.columnaOrden, k.orden);
        for (const QString& b : buscados)
            EXPECT_EQ(m.Busca(0, b), Recorrido(m, b)) << k.nombre << " " << b.toStdString();
        // A cell changed after the search keeps the search true.
        m.FijaTexto(0, 0, QStringLiteral("Zzz al principio"));
        EXPECT_EQ(m.Busca(0, "zzz"), Recorrido(m, "zzz")) << k.nombre;
        EXPECT_EQ(m.Busca(0, "agua"), Recorrido(m, "agua")) << k.nombre;
    }
}

TEST(ModeloConsulta, OrdenarConservaLaFilaElegidaYLasMarcas) {
    ModeloConsulta m;
    ModeloConsulta::Carga c = Textos({"Caja", "agua", "Banco", "vino"});
    c.marcas = {Qt::Unchecked, Qt::Checked, Qt::Unchecked, Qt::Unchecked};
    m.Reemplaza(std::move(c), true);
    QItemSelectionModel seleccion(&m);
    seleccion.setCurrentIndex(m.index(1, 0), QItemSelectionModel::ClearAndSelect);
    const struct {
        Qt::SortOrder orden;
        QStringList textos;
        int elegida;
    } pasos[] = {{Qt::AscendingOrder, {"agua", "Banco", "Caja", "vino"}, 0},
                 {Qt::DescendingOrder, {"vino", "Caja", "Banco", "agua"}, 3}};
    for (const auto& p : pasos) {
        m.sort(0, p.orden);
        QStringList textos;
        for (int i = 0; i < m.rowCount(); ++i) textos << m.Texto(i, 0);
        EXPECT_EQ(textos, p.textos);
        EXPECT_EQ(seleccion.currentIndex().row(), p.elegida);
        EXPECT_EQ(m.Marca(p.elegida), Qt::Checked);
        EXPECT_EQ(m.index(p.elegida, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    }
}

}  // namespace
