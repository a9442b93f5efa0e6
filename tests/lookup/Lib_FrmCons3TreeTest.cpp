// The tree lookup window on the demo database: the family tree, the prefix tree, checking down the branches,
// searching and the value looked up on accepting.
#include "ConsultasDemo.h"
#include "Lib_FrmCons3Tree.h"

namespace {

class Arbol : public ConConsultas {
  protected:
    // Each node's key with its parent's, in the tree's order.
    static QStringList Ramas(const Lib_FrmCons3Tree& w) {
        QStringList r;
        for (QTreeWidgetItem* n : w.Nodos())
            r << Lib_FrmCons3Tree::Clave(n->parent()) + ">" + Lib_FrmCons3Tree::Clave(n);
        return r;
    }
};

TEST_F(Arbol, LasFamiliasCuelganDeSuPrefijoMasLargo) {
    Lib_ClsCons3 c(cfg());
    c.CampoDevuelto = "IDFAMILIA";
    guion.AlMostrar([](QDialog& d) {
        auto& w = dynamic_cast<Lib_FrmCons3Tree&>(d);
        EXPECT_EQ(Ramas(w), (QStringList{">A", "A>A01", "A01>A0101", "A01>A0102", "A01>A0103", "A>A02", "A02>A0201",
                                         "A02>A0202", "A02>A0203", "A>A03", "A03>A0301", "A03>A0302", "A>A04",
                                         "A04>A0401", "A04>A0402", "A0402>A040201"}));
        EXPECT_EQ(w.Nodo("A0101")->text(0), "0101 - Infusiones");
        EXPECT_EQ(w.Nodo("A")->text(0), "Consulta...");
        w.CmbSearch[0]->setEditText("02");  // the family 02, not 0201 which comes later
        EXPECT_EQ(w.TreeV->currentItem(), w.Nodo("A02"));
        w.CmbSearch[0]->setEditText("herr");
        EXPECT_EQ(w.TreeV->currentItem(), w.Nodo("A0402"));
        w.CmbSearch[0]->setEditText("Con");  // the root reads as a description
        EXPECT_EQ(w.TreeV->currentItem(), w.Nodo("A"));
        w.TreeV->setCurrentItem(w.Nodo("A0201"));
        w.CmdAceptar_Click();
    });
    QStringList* cmps = nullptr;
    QString campo, where;
    c.ConsultaSearch("SELECT * FROM V_TA_FAMILIAS", cmps, QString(), campo, where, QString(), true);
    EXPECT_EQ(c.ValorDevuelto.ATexto(), "0201");
    EXPECT_TRUE(c.CampoDevuelto.isEmpty());
}

TEST_F(Arbol, ElArbolGeneralYElCodigoBuscadoEnCuentas) {
    Lib_FrmCons3Tree w(db());
    w.SQL = "SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo";
    w.CampoDevuelto = "CODIGO";
    w.Form_Load();
    EXPECT_EQ(Ramas(w), (QStringList{">A", "A>A1", "A1>A11", "A11>A1101", "A11>A1102", "A>A2", "A2>A21", "A>A4",
                                     "A4>A41"}));  // the operator's synonym view hides the 5s
    w.TreeV->setCurrentItem(w.Nodo("A1101"));      // not a cost centre: found among the accounts
    w.CmdAceptar_Click();
    EXPECT_EQ(w.ValorDevuelto.ATexto(), "1101");
    EXPECT_TRUE(w.isHidden());

    w.SQL = "SELECT Codigo, Descripcion FROM MA_CUENTAS WHERE Codigo = 'ninguno'";
    w.Form_Load();
    EXPECT_EQ(Ramas(w), QStringList{">A"});  // an empty result: the root alone
}

TEST_F(Arbol, MarcarLaRaizMarcaTodasLasRamas) {
    Lib_FrmCons3Tree w(db());
    w.SQL = "SELECT * FROM V_TA_FAMILIAS";
    w.CheckBoxes = true;
    w.CampoDevuelto = "IDFAMILIA";
    w.Form_Load();
    w.Nodo("A")->setCheckState(0, Qt::Checked);
    for (QTreeWidgetItem* n : w.Nodos())
        EXPECT_EQ(n->checkState(0), Qt::Checked) << Lib_FrmCons3Tree::Clave(n).toStdString();
    w.Nodo("A04")->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(w.Nodo("A040201")->checkState(0), Qt::Unchecked);
    w.CmdAceptar_Click();
    EXPECT_EQ(w.Valores->size(), 12);  // the root's empty value and eleven families outside 04
    EXPECT_EQ(w.Valores->value(0), Variant(QString()));
    EXPECT_EQ(w.Valores->value(1), Variant("01"));
}

TEST_F(Arbol, F5BuscaEnLaDescripcionConElTextoEscrito) {
    Lib_FrmCons3Tree w(db());
    w.SQL = "SELECT Codigo, Descripcion FROM MA_CUENTAS ORDER BY Codigo";
    w.Form_Load();
    w.CmbSearch[0]->setEditText("o'c");
    w.CmbSearch_KeyDown(0, 116);
    EXPECT_EQ(w.SQL, "SELECT Codigo, Descripcion FROM MA_CUENTAS  where Descripcion like '%o''c%' ORDER BY Codigo");
    EXPECT_EQ(Ramas(w), QStringList{">A"});  // ran without error, nothing matches
}

}  // namespace

namespace {

// The family tree hangs each family from the greatest code before it that is shorter once trimmed, as the
// server's own subquery names it, even where that code is no prefix or carries blanks.
TEST_F(Arbol, ElPadreDeCadaFamiliaEsElQueDaElServidor) {
    Ejecuta("DEMO",
            "INSERT INTO TA_FAMILIAS (IdFamilia, Descripcion) VALUES ('05', 'a'), ('0501', 'b'), ('051', 'c'), "
            "('07 ', 'd'), ('0701', 'e'), ('08', 'f'), ('0901', 'g'), ('1', 'h'), ('10', 'i'), ('X1', 'j'), "
            "('X123', 'k'), ('x2', 'l'), ('X2345', 'm')");
    Lib_FrmCons3Tree w(db());
    w.SQL = "SELECT * FROM V_TA_FAMILIAS";
    w.Form_Load();
    QStringList esperadas{">A"};
    for (const QStringList& f : Filas("DEMO",
                                      "SELECT IdFamilia, (SELECT a.IdFamilia FROM TA_FAMILIAS a WHERE a.IdFamilia < "
                                      "b.IdFamilia AND length(trim(a.IdFamilia, ' ')) < length(trim(b.IdFamilia, ' ')) "
                                      "ORDER BY a.IdFamilia DESC LIMIT 1) FROM TA_FAMILIAS b ORDER BY IdFamilia"))
        esperadas << "A" + f[1] + ">A" + f[0];
    EXPECT_EQ(Ramas(w), esperadas);
}

}  // namespace
