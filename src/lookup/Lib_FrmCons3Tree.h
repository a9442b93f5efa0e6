// The tree lookup window: the rows of a statement as a tree of hierarchical codes under one root "Consulta...",
// either the product families (parent computed by the database) or any coded list (parent = longest prefix).
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QHash>
#include <QPushButton>
#include <QStringList>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "Variant.h"

class DB_Dll;

class Lib_FrmCons3Tree : public QDialog {
  public:
    explicit Lib_FrmCons3Tree(DB_Dll& db, QWidget* parent = nullptr);

    // Public fields, in declaration order.
    QString SQL;
    QString CampoDevuelto;
    QStringList* CmpsDevueltos = nullptr;
    bool CheckBoxes = false;
    QString gConnString;
    Variant ValorDevuelto;
    QString FiltroInicial;
    QString CampoBusqueda;
    bool OrdenarPorLwv = false;
    std::optional<QList<Variant>> Valores;
    std::optional<QList<Variant>> Cantidades;
    bool UsaCantidades = false;

    // Controls.
    QWidget* panel;
    std::vector<QComboBox*> CmbSearch;
    QTreeWidget* TreeV;
    QFrame* Frame1;
    QPushButton* CmdAceptar;
    QPushButton* CmdCancelar;
    QPushButton* CmdNueva;

    void ArmarTreeVFamilias();
    void ArmarTreeVAutomatico();
    void Form_Load();
    void Form_Unload();
    void CmbSearch_GotFocus(int Index);
    void CmbSearch_Change(int Index);
    void CmbSearch_KeyDown(int Index, int KeyCode);
    void TreeV_NodeCheck(QTreeWidgetItem* nodo);
    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void CmdNueva_Click();

    // Nodes in the tree's order (the order they were added), the root first.
    const QList<QTreeWidgetItem*>& Nodos() const { return nodos_; }
    QTreeWidgetItem* Nodo(const QString& clave) const { return claves_.value(clave.toUpper()); }
    static QString Clave(const QTreeWidgetItem* nodo);

    // Escape and the close box cancel.
    void reject() override { CmdCancelar_Click(); }

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

  private:
    // The common start of both builders; padre chooses each row's parent from the row's values and key.
    void Arma(const QString& sentencia, const std::function<QString(const QList<Variant>&, const QString&)>& padre);
    QTreeWidgetItem* Agrega(QTreeWidgetItem* padre, const QString& clave, const QString& texto);
    void Limpia();

    DB_Dll& db_;
    int cajaActual_ = 0;
    QString sentenciaBase_;
    QString cola_;
    QTreeWidgetItem* ultimo_ = nullptr;
    QList<QTreeWidgetItem*> nodos_;
    QHash<QString, QTreeWidgetItem*> claves_;  // by key in capitals: keys ignore case
    bool propagando_ = false;
};
