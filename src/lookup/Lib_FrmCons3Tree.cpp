// The tree lookup window: building the family tree and the general prefix tree, checking down the branches,
// searching by code or description, narrowing with F5 and looking the picked code up on accepting.
#include "Lib_FrmCons3Tree.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <map>

#include "DB_Dll.h"
#include "Lib_FrmCons3.h"
#include "Pasos.h"
#include "Sentencia.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

Lib_FrmCons3Tree::Lib_FrmCons3Tree(DB_Dll& db, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), db_(db) {
    setWindowTitle(QStringLiteral("Consulta..."));
    resize(ui().Twips(5910), ui().Twips(4530));

    panel = new QWidget(this);
    panel->setGeometry(0, 0, ui().Twips(5955), ui().Twips(4185));
    auto* caja = new QComboBox(panel);
    caja->setEditable(true);
    caja->setGeometry(0, 0, ui().Twips(1815), ui().Twips(315));
    caja->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    caja->installEventFilter(this);
    caja->lineEdit()->installEventFilter(this);
    CmbSearch.push_back(caja);
    TreeV = new QTreeWidget(panel);
    TreeV->setGeometry(0, ui().Twips(330), ui().Twips(5895), ui().Twips(3825));
    TreeV->setHeaderHidden(true);
    TreeV->setUniformRowHeights(true);
    Frame1 = new QFrame(this);
    Frame1->setGeometry(0, ui().Twips(4215), ui().Twips(6180), ui().Twips(255));
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), Frame1);
    CmdAceptar->setGeometry(ui().Twips(120), 0, ui().Twips(1695), ui().Twips(255));
    CmdAceptar->setDefault(true);
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), Frame1);
    CmdCancelar->setGeometry(ui().Twips(2040), 0, ui().Twips(1695), ui().Twips(255));
    CmdNueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), Frame1);
    CmdNueva->setGeometry(ui().Twips(3915), 0, ui().Twips(1695), ui().Twips(255));

    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(CmdNueva, &QPushButton::clicked, this, [this] { CmdNueva_Click(); });
    connect(TreeV, &QTreeWidget::itemDoubleClicked, this, [this] { CmdAceptar_Click(); });
    connect(TreeV, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* nodo) { TreeV_NodeCheck(nodo); });
    connect(caja, &QComboBox::editTextChanged, this, [this] { CmbSearch_Change(0); });
}

QString Lib_FrmCons3Tree::Clave(const QTreeWidgetItem* nodo) {
    return nodo ? nodo->data(0, Qt::UserRole).toString() : QString();
}

void Lib_FrmCons3Tree::Limpia() {
    TreeV->clear();
    nodos_.clear();
    claves_.clear();
    ultimo_ = nullptr;
}

QTreeWidgetItem* Lib_FrmCons3Tree::Agrega(QTreeWidgetItem* padre, const QString& clave, const QString& texto) {
    // Keys are unique, ignoring case, as the tree control's keys are.
    if (claves_.contains(clave.toUpper())) Lanza(35602, QStringLiteral("Key is not unique in collection"));
    // The root is built apart from the tree and handed to it whole (Arma), so adding a node costs no view work.
    auto* nodo = padre ? new QTreeWidgetItem(padre) : new QTreeWidgetItem();
    const QSignalBlocker bloqueo(TreeV);
    nodo->setText(0, texto);
    nodo->setData(0, Qt::UserRole, clave);
    if (CheckBoxes) nodo->setCheckState(0, Qt::Unchecked);
    nodos_ << nodo;
    claves_.insert(clave.toUpper(), nodo);
    ultimo_ = nodo;
    return nodo;
}

void Lib_FrmCons3Tree::Arma(const QString& sentencia,
                            const std::function<QString(const QList<Variant>&, const QString&)>& padre) {
    Pasos pasos(
        [](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("ArmarTreeVAutomatico")); });
    Recordset rs;
    QList<QList<Variant>> filas;
    // The root, built apart and given to the tree once its branches are on it, however the building ends.
    QTreeWidgetItem* raiz = nullptr;
    struct Planta {
        QTreeWidget* arbol;
        QTreeWidgetItem*& raiz;
        ~Planta() {
            if (!raiz) return;
            arbol->addTopLevelItem(raiz);
            raiz->setExpanded(true);
        }
    } planta{TreeV, raiz};
    pasos.run([&] {
        Limpia();
        TreeV->setRootIsDecorated(true);
        raiz = Agrega(nullptr, QStringLiteral("A"), QStringLiteral("Consulta..."));
    });
    // Every row at once.
    pasos.run([&] { db_.AbrirRecordset(sentencia, rs, &db_.gCnn, 0, 1, -1, true); });
    if (rs.State() == ado::adStateClosed || (rs.Bof() && rs.Eof())) return;
    pasos.run([&] { filas = rs.GetRows(); });
    pasos.run([&] { db_.CierraRecordset(rs); });
    // Each row under the parent its builder chooses (the walk up from the last node never changes it); a repeated
    // key or a missing parent fails that row.
    for (const QList<Variant>& fila : filas) {
        pasos.run([&] {
            if (fila.size() < 2) Lanza(Err::ElementoNoEncontrado);
            const QString codigo = fila[0].ATexto();
            const QString clave = QStringLiteral("A") + codigo;
            QTreeWidgetItem* nodoPadre = claves_.value(padre(fila, clave).toUpper());
            if (!nodoPadre) Lanza(35601, QStringLiteral("Element not found"));
            Agrega(nodoPadre, clave, codigo + " - " + fila[1].ATexto());
        });
        if (pasos.Detenido()) break;
    }
}

void Lib_FrmCons3Tree::ArmarTreeVFamilias() {
    // A family's relative is the greatest code that sorts before it and is shorter once trimmed. The rows come in
    // code order under the server's collation (codes are unique there), so that is the last code read so far of any
    // shorter length: kept per length in one pass, instead of a subquery per row that made the server's work grow
    // with the square of the families.
    struct Visto {
        int fila;
        QString codigo;
    };
    std::map<qsizetype, Visto> ultimoPorLargo;
    int leidas = 0;
    Arma(
        QStringLiteral("SELECT     TOP 100 PERCENT IdFamilia, Descripcion FROM dbo.V_TA_FAMILIAS b ORDER BY IdFamilia"),
        [&](const QList<Variant>& fila, const QString&) {
            const QString codigo = fila[0].ATexto();
            const qsizetype largo = Recorta(codigo).size();
            const Visto* relativo = nullptr;
            for (const auto& [l, visto] : ultimoPorLargo) {
                if (l >= largo) break;
                if (!relativo || visto.fila > relativo->fila) relativo = &visto;
            }
            const QString padre = relativo ? QStringLiteral("A") + relativo->codigo : QStringLiteral("A");
            ultimoPorLargo[largo] = Visto{leidas++, codigo};
            return padre;
        });
}

void Lib_FrmCons3Tree::ArmarTreeVAutomatico() {
    Arma(SQL, [this](const QList<Variant>&, const QString& clave) {
        // The longest key already in the tree that begins the new one, looked up by its beginnings from the longest
        // (keys are unique ignoring case, so one length has at most one); the root "A" begins every key.
        const QString mayusculas = clave.toUpper();
        for (qsizetype largo = mayusculas.size() - 1; largo > 1; --largo)
            if (QTreeWidgetItem* nodo = claves_.value(mayusculas.left(largo))) return Clave(nodo);
        return QStringLiteral("A");
    });
}

void Lib_FrmCons3Tree::Form_Load() {
    Pasos pasos([](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("FORM_LOAD")); });
    pasos.run([&] {
        Valores = QList<Variant>();
        Limpia();
    });
    pasos.run([&] {
        if (ContieneSentencia(SQL, QStringLiteral("v_ta_familias"), Nombres::Leidos))
            ArmarTreeVFamilias();
        else
            ArmarTreeVAutomatico();
    });
}

void Lib_FrmCons3Tree::TreeV_NodeCheck(QTreeWidgetItem* nodo) {
    if (propagando_ || !CheckBoxes) return;
    propagando_ = true;
    const Qt::CheckState estado = nodo->checkState(0);
    // Down to six levels below the node, each child taking its parent's state.
    std::function<void(QTreeWidgetItem*, int)> baja = [&](QTreeWidgetItem* padre, int nivel) {
        if (nivel > 6) return;
        for (int i = 0; i < padre->childCount(); ++i) {
            padre->child(i)->setCheckState(0, estado);
            baja(padre->child(i), nivel + 1);
        }
    };
    baja(nodo, 1);
    propagando_ = false;
}

void Lib_FrmCons3Tree::CmbSearch_GotFocus(int Index) {
    cajaActual_ = Index;
}

void Lib_FrmCons3Tree::CmbSearch_Change(int Index) {
    // Errors ignored: a search that fails leaves the selection as it was.
    try {
        const QString buscado = CmbSearch[Index]->currentText();
        for (QTreeWidgetItem* nodo : nodos_) {
            const QString texto = nodo->text(0);
            const int guion = Instr(texto, QStringLiteral("-"));
            const QString codigo = guion > 0 ? Recorta(Izquierda(texto, guion - 1)) : QString();
            const QString descripcion = guion > 0 ? Recorta(Medio(texto, guion + 1)) : Recorta(texto);
            if (codigo.startsWith(buscado, Qt::CaseInsensitive) ||
                descripcion.startsWith(buscado, Qt::CaseInsensitive)) {
                TreeV->setCurrentItem(nodo);
                TreeV->scrollToItem(nodo);
                return;
            }
        }
    } catch (const ErrorEjecucion&) {
    }
}

void Lib_FrmCons3Tree::CmbSearch_KeyDown(int Index, int KeyCode) {
    Pasos pasos = Pasos::OmiteFallos();
    if (KeyCode == 116) {
        pasos.run([&] {
            cola_.clear();
            CmbSearch[Index]->setProperty("Tag", QStringLiteral("Descripcion"));
            sentenciaBase_ = SQL;
            const int orden = InstrSentencia(SQL, QStringLiteral("order by"));
            if (orden > 0) {
                cola_ = Medio(SQL, orden);
                sentenciaBase_ = Izquierda(SQL, orden - 1);
            }
        });
        // The typed text with its apostrophes doubled, so that it stays inside its literal; only the statement's own
        // words count, never an earlier condition's text.
        pasos.run([&] {
            const QString texto = QString(CmbSearch[Index]->currentText()).replace("'", "''");
            SQL = sentenciaBase_ + (ContieneSentencia(SQL, QStringLiteral("where")) ? " and " : " where ") +
                  "Descripcion" + " like '%" + texto + "%' " + cola_;
        });
        pasos.run([&] {
            CmbSearch[Index]->setEditText(QString());
            sentenciaBase_ = SQL;
            Form_Load();
        });
    } else if (KeyCode == 40 || KeyCode == 38 || KeyCode == 34 || KeyCode == 33) {
        TreeV->setFocus();
    }
}

void Lib_FrmCons3Tree::CmdAceptar_Click() {
    Pasos pasos([](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("HScroll1_Change")); });
    if (!Valores) Valores = QList<Variant>();
    auto valor = [](QTreeWidgetItem* nodo) { return Clave(nodo).mid(1); };
    Recordset rs;
    if (CheckBoxes) {
        pasos.run([&] {
            for (QTreeWidgetItem* nodo : nodos_) {
                if (nodo->checkState(0) != Qt::Checked) continue;
                const QString v = valor(nodo);
                if (IgualesTexto(CampoDevuelto, "IDFAMILIA") || IgualesTexto(CampoDevuelto, "CODIGO"))
                    Valores->append(Variant(Recorta(v)));
                else if (IgualesTexto(CampoDevuelto, "IDPOSICION") &&
                         db_.ExisteEnTabla("MA_POSICIONES", v, "IDPOSICION", &rs, Variant(qint32(8)), QString(), true))
                    Valores->append(Variant(ValorSeguro(rs.Valor(CampoDevuelto)).ATexto()));
            }
        });
    } else if (QTreeWidgetItem* nodo = TreeV->currentItem()) {
        pasos.run([&] {
            const QString v = valor(nodo);
            auto busca = [&](const QString& tabla, const QString& campo) {
                return db_.ExisteEnTabla(tabla, v, campo, &rs, Variant(qint32(8)), QString(), true);
            };
            std::optional<bool> hallado;
            if (IgualesTexto(CampoDevuelto, "IDFAMILIA"))
                hallado = busca("@admin_V_TA_FAMILIAS", "IDFAMILIA");
            else if (IgualesTexto(CampoDevuelto, "IDPOSICION"))
                hallado = busca("MA_POSICIONES", "IDPOSICION");
            else if (IgualesTexto(CampoDevuelto, "CODIGO"))
                hallado = busca("TA_CCOSTO", "CODIGO") || busca("MA_CUENTAS", "CODIGO");
            if (hallado)
                ValorDevuelto = *hallado ? Variant(ValorSeguro(rs.Valor(CampoDevuelto)).ATexto()) : Variant(QString());
        });
    }
    if (rs.State() != ado::adStateClosed) db_.CierraRecordset(rs);
    hide();
}

void Lib_FrmCons3Tree::CmdCancelar_Click() {
    ValorDevuelto = Variant(QString());
    CmpsDevueltos = nullptr;
    Valores.reset();
    hide();
}

void Lib_FrmCons3Tree::CmdNueva_Click() {
    Pasos pasos = Pasos::OmiteFallos();
    pasos.run([&] { ArmarTreeVAutomatico(); });
}

void Lib_FrmCons3Tree::Form_Unload() {
    Pasos pasos([](const ErrorEjecucion& e) {
        ui().MsgBox(e.Description(), Estilo::Critical, QStringLiteral("Aviso al Operador"));
        return 0;
    });
    pasos.run([&] { Limpia(); });
}

void Lib_FrmCons3Tree::closeEvent(QCloseEvent* e) {
    CmdCancelar_Click();
    e->accept();
}

bool Lib_FrmCons3Tree::eventFilter(QObject* objeto, QEvent* e) {
    if (objeto == CmbSearch[0] || objeto == CmbSearch[0]->lineEdit()) {
        if (e->type() == QEvent::FocusIn) CmbSearch_GotFocus(0);
        if (e->type() == QEvent::KeyPress) {
            auto* tecla = static_cast<QKeyEvent*>(e);
            const int codigo = CodigoTecla(tecla->key(), tecla->text());
            if (codigo == 116 || codigo == 40 || codigo == 38 || codigo == 34 || codigo == 33) {
                CmbSearch_KeyDown(0, codigo);
                return true;
            }
        }
    }
    return QDialog::eventFilter(objeto, e);
}
