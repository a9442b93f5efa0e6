// The list lookup window: one statement shown as a multi-column list with a search box above each column,
// incremental search, F5 narrowing on the server, quantities, the stock-shortage report (F12) and the per-table
// column widths kept in CONSULTASLEN.TKW.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTreeView>
#include <functional>
#include <optional>
#include <vector>

#include "Ado.h"
#include "ModeloConsulta.h"
#include "Variant.h"

class DB_Dll;

class Lib_FrmCons3 : public QDialog {
  public:
    using LecturaCfg = std::function<QString(const QString& clave)>;

    Lib_FrmCons3(DB_Dll& db, LecturaCfg cfg, QWidget* parent = nullptr);

    // Public fields, in declaration order.
    Variant StkNivel1;
    Variant StkNivel2;
    Variant StkNivel3;
    Variant StkNivel4;
    QString MuestraStock;
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
    QString ValoresDefault;
    bool CfgUsaConsultaLIKE = false;
    bool GrabarCfg = false;
    bool UsarUDBC = false;
    DB_Dll* gDBAlterna = nullptr;

    // Controls, in tab order.
    QWidget* picFields;
    std::vector<QComboBox*> CmbSearch;
    QTreeView* ListView1;
    ModeloConsulta* Modelo;  // the rows ListView1 shows
    QScrollBar* HScroll1;
    QFrame* Frame1;
    QPushButton* CmdAceptar;
    QPushButton* CmdCancelar;
    QPushButton* CmdNueva;

    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    void Form_KeyDown(int KeyCode);
    void CmbSearch_GotFocus(int Index);
    void CmbSearch_LostFocus(int Index);
    void CmbSearch_Change(int Index);
    void CmbSearch_KeyDown(int Index, int KeyCode);
    void ListView1_KeyDown(int KeyCode, bool Shift);
    void ListView1_ColumnClick(int columna);
    void HScroll1_Change();
    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void CmdNueva_Click();

    void Leer(qint32 Cdesde, qint16 Cuantas);
    void Encolumnar();
    void CalcularAncho();
    qint32 Busqueda(int Clave, const QString& QueValor) const;
    qint16 IndiceColumna(const QString& Columna) const;
    void LeerAnchos();
    void GrabarAnchos();

    // The column widths in twips, in column order (what the widths file holds).
    QList<double> AnchosColumnas() const;
    void FijaAnchoColumna(int columna, double twips);
    const QString& Tabla() const { return tabla_; }

    // Escape and the close box cancel.
    void reject() override { CmdCancelar_Click(); }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    QComboBox* CreaCaja(int indice);
    QString ValorColumna(int fila, int columna) const;  // fila as shown (-1: none); columna from 1, 0 gives ""
    void Cantidad(int fila, const QString& texto);      // the quantity cell
    int FilaActual() const;                             // the selected row as shown; -1 when none
    DB_Dll& base() const;
    void Ordena();

    DB_Dll& db_;
    LecturaCfg Cfg;
    bool articulos_ = false;
    QString sentenciaBase_;
    QString primeraSentencia_;
    QString cola_;
    QString tabla_;
    int cajaActual_ = 0;
    Recordset rs_;
    QList<int> anchosNuevos_;  // the widths Encolumnar computed, given again once the rows are in
    int columnaOrden_ = -1;    // the column the list is sorted by; -1 in the statement's order
    Qt::SortOrder orden_ = Qt::AscendingOrder;
};

// Qt key to the platform's key code (F5 116, F12 123, arrows, letters as their capitals...); 0 when none.
int CodigoTecla(int teclaQt, const QString& texto);
