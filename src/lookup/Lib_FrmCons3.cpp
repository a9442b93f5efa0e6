// The list lookup window: loading the statement into columns and rows, searching, narrowing with F5, quantities,
// the stock-shortage report, accepting, and the column widths file with its temporary copy.
#include "Lib_FrmCons3.h"

#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

#include "ArchivoAnchos.h"
#include "DB_Dll.h"
#include "Numeros.h"
#include "Pasos.h"
#include "Proceso.h"
#include "Regional.h"
#include "Sentencia.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

namespace {

const QString kColumnaCantidad = QStringLiteral("**Cantidad**");

// A literal's text with its apostrophes doubled, so that typed text cannot end the literal.
QString Literal(const QString& texto) {
    return QString(texto).replace(QLatin1Char('\''), QStringLiteral("''"));
}

// A colour of the platform (0x00BBGGRR) as Qt's.
QColor Color(long bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

double ATwips(int pixeles) {
    return pixeles * 1440.0 / ui().PuntosPorPulgada();
}

// A number written with the given count of decimals and the locale's decimal separator ("########0.00").
QString Formatea(double valor, int decimales) {
    return QString::number(valor, 'f', decimales).replace(QLatin1Char('.'), ConfiguracionRegional().decimal);
}

// The number a quantity text begins with, its decimal separator the locale's, as the cells write it ("7,5" is 7.5
// where the separator is the comma); a point still reads as one, so "0.00" is zero everywhere. No number reads 0.
double LeeCantidad(const QString& texto) {
    return Val(QString(texto).replace(ConfiguracionRegional().decimal, QLatin1Char('.')));
}

}  // namespace

int CodigoTecla(int teclaQt, const QString& texto) {
    switch (teclaQt) {
        case Qt::Key_F5:
            return 116;
        case Qt::Key_F12:
            return 123;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Backspace:
            return 8;
        default:
            break;
    }
    if (texto.size() == 1 && texto[0].unicode() < 128 && texto[0].isLetterOrNumber())
        return texto[0].toUpper().unicode();
    return 0;
}

Lib_FrmCons3::Lib_FrmCons3(DB_Dll& db, LecturaCfg cfg, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), db_(db), Cfg(std::move(cfg)) {
    setWindowTitle(QStringLiteral("Consulta..."));
    resize(ui().Twips(7260), ui().Twips(4530));

    picFields = new QWidget(this);
    picFields->setGeometry(0, 0, ui().Twips(7200), ui().Twips(4215));
    CreaCaja(0);
    ListView1 = new QTreeView(picFields);
    Modelo = new ModeloConsulta(this);
    ListView1->setModel(Modelo);
    ListView1->setGeometry(0, ui().Twips(360), ui().Twips(7335), ui().Twips(3495));
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);  // painting and scrolling touch only the rows in sight
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->header()->setStretchLastSection(false);              // every column keeps the width it was given
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);  // label editing is always refused
    ListView1->setSortingEnabled(false);
    ListView1->header()->setSectionsClickable(true);  // the window sorts on a click, itself
    ListView1->installEventFilter(this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setGeometry(0, ui().Twips(3840), ui().Twips(7215), ui().Twips(255));
    HScroll1->setSingleStep(480);
    HScroll1->setPageStep(480);
    Frame1 = new QFrame(this);
    Frame1->setGeometry(ui().Twips(15), ui().Twips(4200), ui().Twips(7215), ui().Twips(255));
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), Frame1);
    CmdAceptar->setGeometry(ui().Twips(323), 0, ui().Twips(1695), ui().Twips(255));
    CmdAceptar->setDefault(true);
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), Frame1);
    CmdCancelar->setGeometry(ui().Twips(2970), 0, ui().Twips(1695), ui().Twips(255));
    CmdNueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), Frame1);
    CmdNueva->setGeometry(ui().Twips(5325), 0, ui().Twips(1695), ui().Twips(255));

    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(CmdNueva, &QPushButton::clicked, this, [this] { CmdNueva_Click(); });
    connect(ListView1, &QTreeView::doubleClicked, this, [this] { CmdAceptar_Click(); });
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int c) { ListView1_ColumnClick(c); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
}

DB_Dll& Lib_FrmCons3::base() const {
    return UsarUDBC && gDBAlterna ? *gDBAlterna : db_;
}

QComboBox* Lib_FrmCons3::CreaCaja(int indice) {
    while (static_cast<int>(CmbSearch.size()) <= indice) {
        const int i = static_cast<int>(CmbSearch.size());
        auto* caja = new QComboBox(picFields);
        caja->setEditable(true);
        caja->setGeometry(0, 0, ui().Twips(1815), ui().Twips(315));
        caja->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
        caja->installEventFilter(this);
        caja->lineEdit()->installEventFilter(this);
        if (i > 0) setTabOrder(CmbSearch.back(), caja);
        connect(caja, &QComboBox::editTextChanged, this, [this, i] { CmbSearch_Change(i); });
        CmbSearch.push_back(caja);
    }
    return CmbSearch[indice];
}

void Lib_FrmCons3::Form_Load() {
    Pasos pasos([](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("FORM_LOAD")); });
    pasos.run([&] {
        articulos_ = ContieneSentencia(SQL, QStringLiteral("articulos"), Nombres::Leidos);
        Valores = QList<Variant>();
        Cantidades = QList<Variant>();
        Modelo->Vacia(Modelo->Cabeceras());
        QFont letra = ListView1->font();
        letra.setBold(true);
        letra.setPointSize(10);
        ListView1->setFont(letra);
    });
    // The option pickers fill the list themselves.
    if (Recorta(SQL).isEmpty()) {
        PreparaFormulario(this, false);
        return;
    }
    // The table, the first and the base statement.
    pasos.run([&] {
        SQL += QStringLiteral(" ");
        const int desde = InstrSentencia(SQL, QStringLiteral("from"));
        if (desde > 0) {
            const int blanco = Instr(SQL, QStringLiteral(" "), desde + 5);
            tabla_ = Recorta(blanco > 0 ? Medio(SQL, desde + 4, blanco - desde - 4) : Medio(SQL, desde + 4));
        }
    });
    pasos.run([&] {
        if (primeraSentencia_.isEmpty()) primeraSentencia_ = SQL;
        sentenciaBase_ = SQL;
    });
    // The rows.
    // The statement is read through a copy: the caller's text stays untranslated, so F5 builds on it.
    pasos.run([&] { base().AbrirRecordset(QString(SQL), rs_, nullptr, 0, 1, -1, true); });
    pasos.run([&] {
        Encolumnar();
        Leer(1, 0);
    });
    // The operator's sort outlives a reload; before any click the list sorts itself by its first column.
    pasos.run([&] {
        if (columnaOrden_ < 0 && OrdenarPorLwv) {
            columnaOrden_ = 0;
            orden_ = Qt::AscendingOrder;
        }
        Ordena();
    });
    pasos.run([&] {
        if (!Recorta(FiltroInicial).isEmpty()) CmbSearch[0]->setEditText(FiltroInicial);
    });
    pasos.run([&] { base().CierraRecordset(rs_); });
    pasos.run([&] { LeerAnchos(); });
    pasos.run([&] { CalcularAncho(); });
    pasos.run([&] { PreparaFormulario(this, false); });
}

void Lib_FrmCons3::Encolumnar() {
    try {
        Modelo->Vacia({});
        anchosNuevos_.clear();
        const bool precios = ContieneSentencia(SQL, QStringLiteral("V_MA_ARTICULOS"), Nombres::Leidos) ||
                             ContieneSentencia(SQL, QStringLiteral("STK_MA_ARTICULOS"), Nombres::Leidos);
        QStringList cabeceras;
        QList<int> anchos;
        for (int g = 0; g < rs_.FieldCount(); ++g) {
            Field campo = rs_.Fields(g);
            // Width in characters, the field's search box.
            long caracteres = campo.DefinedSize();
            if (campo.Type() == ado::adCurrency || campo.Type() == ado::adNumeric) caracteres = 12;
            QComboBox* caja = CreaCaja(g);
            caja->setProperty("Tag", campo.Name());
            caja->setVisible(true);
            if (caracteres >= 60) caracteres = 60;
            // The header: article statements name their prices by the price classes.
            QString cabecera = campo.Name();
            if (precios) {
                for (int n = 1; n <= 8; ++n)
                    if (IgualesTexto(campo.Name(), QStringLiteral("PRECIO") + QString::number(n)))
                        cabecera = Cfg(QStringLiteral("NOM_PCLASE") + QString::number(n));
            } else if (ValoresDefault == QStringLiteral("@10")) {
                caracteres += 10;
            }
            cabeceras << cabecera;
            anchos << fontMetrics().horizontalAdvance(QString(static_cast<int>(std::max(0L, caracteres)), 'X'));
        }
        Modelo->Vacia(cabeceras);
        anchosNuevos_ = anchos;
        for (int i = 0; i < anchos.size(); ++i) ListView1->setColumnWidth(i, anchos[i]);
    } catch (const ErrorEjecucion& e) {
        ui().MsgBox(e.Description(), Estilo::OK);
    }
}

void Lib_FrmCons3::Leer(qint32, qint16) {
    if (rs_.State() == ado::adStateClosed || (rs_.Bof() && rs_.Eof())) return;
    Pasos pasos([](const ErrorEjecucion& e) {
        if (e.Number() == Err::ElementoNoEncontrado) return Ignorar;
        return TrataError(e, std::nullopt, QStringLiteral("FORM_LOAD"));
    });
    // The rows are read in one pass into the model and shown with one reset. The fields a row needs besides its
    // texts are found once; a missing one fails its step on every row, as a lookup by name would.
    ModeloConsulta::Carga carga;
    carga.cabeceras = Modelo->Cabeceras();
    const int campos = static_cast<int>(rs_.FieldCount());
    const int columnas = static_cast<int>(carga.cabeceras.size());
    auto indice = [&](const QString& nombre) {
        for (int i = 0; i < campos; ++i)
            if (IgualesTexto(rs_.Fields(i).Name(), nombre)) return i;
        return -1;
    };
    const bool colorea = IgualesTexto(MuestraStock, QStringLiteral("SI")) && articulos_;
    const int punto = colorea ? indice(QStringLiteral("PUNTOPEDIDO")) : -1;
    const int existencia = colorea ? indice(QStringLiteral("Stock")) : -1;
    const int devuelto = CheckBoxes && !ValoresDefault.isEmpty() ? indice(CampoDevuelto) : -1;
    // Each value is taken from the record set once per row and serves the text, the colour and the check alike.
    std::vector<Variant> valores(campos);
    auto valor = [&](int campo) -> const Variant& {
        if (campo < 0) Lanza(Err::ElementoNoEncontrado);
        return valores[campo];
    };
    // The platform's currency of a value: numbers as they are, texts read in the locale, null as zero.
    auto moneda = [](const Variant& v) {
        return v.Tipo() == TipoVariant::String ? TextoAMoneda(v.ATexto()) : ValorSeguro(v).AMoneda();
    };
    // The four levels' colours, once; a level whose setting is blank colours nothing, and a colour that cannot be
    // read never stops the reading.
    QColor niveles[4];
    if (colorea) {
        const Variant* ajustes[4] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
        for (int n = 0; n < 4; ++n) {
            try {
                if (!Recorta(ajustes[n]->ATexto()).isEmpty())
                    niveles[n] = Color(static_cast<long>(ajustes[n]->ADouble()));
            } catch (const ErrorEjecucion&) {
            }
        }
    }
    while (!pasos.Detenido() && !rs_.Eof()) {
        pasos.run([&] {
            for (int i = 0; i < campos; ++i) valores[i] = ValorSeguro(rs_.Fields(i).Value());
        });
        // The stock level of an article, only where its colour is shown.
        int nivel = -1;
        if (colorea) {
            pasos.run([&] {
                const Moneda p = moneda(valor(punto));
                const Moneda stock = moneda(valor(existencia));
                const Moneda cero;
                if (p == cero && stock > cero)
                    nivel = 0;
                else if (p > cero && stock > p)
                    nivel = 1;
                else if (p > cero && stock < p)
                    nivel = 2;
                else
                    nivel = 3;
            });
        }
        // The row's texts: the first trimmed, the others as PreparaTexto gives them.
        const size_t inicio = carga.textos.size();
        carga.textos.resize(inicio + columnas);
        pasos.run([&] {
            if (columnas > 0) carga.textos[inicio] = Recorta(valor(0).ATexto());
            for (int i = 1; i < campos && i < columnas; ++i) carga.textos[inicio + i] = PreparaTexto(valor(i).ATexto());
        });
        // A row starts checked when its returned value is among the defaults.
        if (CheckBoxes) {
            carga.marcas.push_back(Qt::Unchecked);
            if (!ValoresDefault.isEmpty())
                pasos.run([&] {
                    if (ValoresDefault.contains(Recorta(valor(devuelto).ATexto()), Qt::CaseInsensitive))
                        carga.marcas.back() = Qt::Checked;
                });
        }
        if (colorea) carga.colores.push_back(nivel >= 0 ? niveles[nivel] : QColor());
        pasos.run([&] { rs_.MoveNext(); });
    }
    Modelo->Reemplaza(std::move(carga), CheckBoxes);
    for (int i = 0; i < anchosNuevos_.size(); ++i) ListView1->setColumnWidth(i, anchosNuevos_[i]);
}

void Lib_FrmCons3::CalcularAncho() {
    // The boxes over their columns; the list, panel and bar as wide as the columns.
    int total = 0;
    for (int i = 0; i < Modelo->columnCount(); ++i) {
        if (i < static_cast<int>(CmbSearch.size()))
            CmbSearch[i]->setGeometry(ListView1->header()->sectionPosition(i), 0,
                                      std::max(0, ListView1->columnWidth(i) - ui().Twips(50)), CmbSearch[i]->height());
        total += ListView1->columnWidth(i);
    }
    const int margen = ui().Twips(360);
    ListView1->resize(total + margen, ListView1->height());
    picFields->resize(total + margen, picFields->height());
    HScroll1->resize(total, HScroll1->height());
    // Scroll range, in twips.
    const double panel = ATwips(picFields->width());
    HScroll1->setMaximum(panel > 32700 ? 32700 : RedondeaEntero16((panel + 480) * 0.6));
    // The window.
    const int pantalla = ui().Pantalla().width();
    if (ListView1->width() + margen >= pantalla)
        resize(pantalla - ui().Twips(480), height());
    else
        resize(ListView1->width() + ui().Twips(280), height());
}

qint32 Lib_FrmCons3::Busqueda(int Clave, const QString& QueValor) const {
    const QString buscado = Recorta(QueValor);
    return Modelo->Busca(Clave, buscado) + 1;
}

qint16 Lib_FrmCons3::IndiceColumna(const QString& Columna) const {
    for (int i = 0; i < Modelo->columnCount(); ++i)
        if (IgualesTexto(Recorta(Modelo->Cabecera(i)), Recorta(Columna))) return static_cast<qint16>(i + 1);
    return 0;
}

QList<double> Lib_FrmCons3::AnchosColumnas() const {
    QList<double> anchos;
    for (int i = 0; i < Modelo->columnCount(); ++i) anchos << ATwips(ListView1->columnWidth(i));
    return anchos;
}

void Lib_FrmCons3::FijaAnchoColumna(int columna, double twips) {
    ListView1->setColumnWidth(columna, ui().Twips(static_cast<int>(std::lround(twips))));
}

void Lib_FrmCons3::LeerAnchos() {
    const QString carpeta = AgregaSeparador(proceso().CarpetaPrograma());
    if (!QFile::exists(RutaAnchos(carpeta))) return;
    if (IgualesTexto(tabla_, QStringLiteral("Stk_ma_articulos"))) tabla_ = QStringLiteral("VT_MA_ARTICULOS");
    // A damaged line or width abandons the restore, silently: the computed widths stay.
    try {
        for (const QStringList& anchos : LeeAnchos(carpeta, tabla_)) {
            for (int i = 0; i < Modelo->columnCount() && i < anchos.size(); ++i) {
                FijaAnchoColumna(i, ACurrency(anchos[i]).ADouble());
                if (i < static_cast<int>(CmbSearch.size()))
                    CmbSearch[i]->setGeometry(ListView1->header()->sectionPosition(i), 0, ListView1->columnWidth(i),
                                              CmbSearch[i]->height());
            }
        }
    } catch (const ErrorEjecucion&) {
    }
}

void Lib_FrmCons3::GrabarAnchos() {
    if (!GrabarCfg) return;
    GrabaAnchos(AgregaSeparador(proceso().CarpetaPrograma()), tabla_, AnchosColumnas());
}

void Lib_FrmCons3::CmbSearch_Change(int Index) {
    // Errors ignored: a search that fails leaves the selection as it was.
    try {
        const qint32 posicion = Busqueda(Index, Recorta(CmbSearch[Index]->currentText()));
        if (posicion != 0) {
            // Selected and scrolled to once.
            const QModelIndex fila = Modelo->index(posicion - 1, 0);
            ListView1->setCurrentIndex(fila);
            ListView1->scrollTo(fila);
        }
    } catch (const ErrorEjecucion&) {
    }
}

void Lib_FrmCons3::CmbSearch_GotFocus(int Index) {
    cajaActual_ = Index;
    QPalette p = CmbSearch[Index]->palette();
    p.setColor(QPalette::Base, Color(0x00FFFF00));
    CmbSearch[Index]->setPalette(p);
}

void Lib_FrmCons3::CmbSearch_LostFocus(int Index) {
    QPalette p = CmbSearch[Index]->palette();
    p.setColor(QPalette::Base, Color(0x00FFFFFF));
    CmbSearch[Index]->setPalette(p);
}

void Lib_FrmCons3::CmbSearch_KeyDown(int Index, int KeyCode) {
    Pasos pasos = Pasos::OmiteFallos();
    if (KeyCode == 116) {
        // The tail the condition goes before. Only the statement's own words count: an earlier condition's text
        // sits in a literal and is passed over.
        pasos.run([&] {
            cola_.clear();
            sentenciaBase_ = SQL;
            const int orden = InstrSentencia(SQL, QStringLiteral("order by"));
            if (orden > 0) {
                cola_ = Medio(SQL, orden);
                sentenciaBase_ = Izquierda(SQL, orden - 1);
            }
            const int grupo = InstrSentencia(SQL, QStringLiteral("group by"));
            if (grupo > 0) {
                if (!Recorta(Medio(SQL, grupo)).isEmpty()) cola_ = Medio(SQL, grupo);
                sentenciaBase_ = Izquierda(SQL, grupo - 1);
            }
        });
        // The condition; the typed text with its apostrophes doubled, so it stays inside its literal.
        pasos.run([&] {
            QString prefijo;
            if (ContieneSentencia(sentenciaBase_, QStringLiteral("stk_ma_articulos."), Nombres::Leidos))
                prefijo = QStringLiteral("stk_ma_articulos.");
            if (ContieneSentencia(sentenciaBase_, QStringLiteral("v_ma_articulos."), Nombres::Leidos))
                prefijo = QStringLiteral("v_ma_articulos.");
            const QString campo = CmbSearch[Index]->property("Tag").toString();
            QString condicion;
            if (CfgUsaConsultaLIKE) {
                condicion = prefijo + campo + " like '%" + Literal(CmbSearch[Index]->currentText()) + "%' ";
            } else {
                const QString texto = ReemplazaTexto(CmbSearch[Index]->currentText(), "*", "%");
                CmbSearch[Index]->setEditText(texto);
                condicion = prefijo + campo + " like '" + Literal(texto) + "%' ";
            }
            SQL = sentenciaBase_ + (ContieneSentencia(SQL, QStringLiteral("where")) ? " and " : " where ") + condicion +
                  cola_;
        });
        // Reload on the narrowed statement.
        pasos.run([&] {
            CmbSearch[Index]->setEditText(QString());
            sentenciaBase_ = SQL;
            Form_Load();
        });
    } else if (KeyCode == 40 || KeyCode == 38 || KeyCode == 34 || KeyCode == 33) {
        pasos.run([&] {
            ListView1_KeyDown(KeyCode, false);
            ListView1->setFocus();
        });
    }
}

int Lib_FrmCons3::FilaActual() const {
    const QModelIndex i = ListView1->currentIndex();
    return i.isValid() ? i.row() : -1;
}

QString Lib_FrmCons3::ValorColumna(int fila, int columna) const {
    if (fila < 0 || columna <= 0 || columna > Modelo->columnCount()) return QString();
    return Modelo->Texto(fila, columna - 1);
}

void Lib_FrmCons3::Form_KeyDown(int KeyCode) {
    if (KeyCode != 123 || !articulos_) return;
    const int fila = FilaActual();
    if (fila < 0) return;  // nothing selected: nothing to report
    const QString codigo = Recorta(ValorColumna(fila, IndiceColumna(QStringLiteral("idarticulo"))));
    const QString descripcion = Recorta(ValorColumna(fila, IndiceColumna(QStringLiteral("Descripcion"))));
    if (ui().MsgBox("Desea informar el articulo " + codigo + " " + descripcion + "\r\n" + "como un faltante de stock?",
                    Estilo::YesNo | Estilo::Question, QStringLiteral("Atención!")) != Respuesta::Yes)
        return;
    db_.EjecutaConsultaSQL(
        QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('") +
        Variant(proceso().Ahora()).ATexto() + "','" + Literal(PreparaTexto(codigo, 25)) + "','" + Literal(descripcion) +
        "','" + Literal(db_.gUsuario) + "')");
}

void Lib_FrmCons3::Cantidad(int fila, const QString& texto) {
    const int columna = IndiceColumna(kColumnaCantidad);
    if (columna == 0) Lanza(Err::ElementoNoEncontrado);
    Modelo->FijaTexto(fila, columna - 1, texto);
}

void Lib_FrmCons3::ListView1_KeyDown(int KeyCode, bool Shift) {
    Pasos pasos(
        [](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("ListView1_KeyDown")); });
    const int fila = FilaActual();
    const bool conFila = fila >= 0;  // the quantity keys need a selected row; without one they do nothing
    const int columna = IndiceColumna(kColumnaCantidad);
    auto numero = [&] { return columna > 0 ? LeeCantidad(Modelo->Texto(fila, columna - 1)) : 0.0; };
    if (KeyCode == 32 && CheckBoxes) return;
    if (KeyCode == 13) {
        pasos.run([&] { CmdAceptar_Click(); });
    } else if (KeyCode == 45 && Shift && UsaCantidades) {
        if (!conFila) return;
        pasos.run([&] {
            QString entrada = ui().InputBox(QStringLiteral("Ingrese la Cantidad del Articulo..."),
                                            QStringLiteral("Carga de Datos"), ValorColumna(fila, columna));
            const double cantidad = LeeCantidad(entrada);
            Cantidad(fila, Formatea(cantidad, 2));
            Modelo->FijaMarca(fila, Qt::Checked);
        });
    } else if (KeyCode == 45 && UsaCantidades) {
        if (!conFila) return;
        pasos.run([&] {
            Cantidad(fila, Formatea(numero() + 1, 1));
            Modelo->FijaMarca(fila, Qt::Checked);
        });
    } else if (KeyCode == 46 && !Shift && UsaCantidades) {
        if (!conFila) return;
        pasos.run([&] {
            Cantidad(fila, Formatea(numero() - 1, 1));
            if (numero() <= 0) {
                Modelo->FijaMarca(fila, Qt::Unchecked);
                Cantidad(fila, QStringLiteral("0.00"));
            }
        });
    } else if ((KeyCode >= 47 && KeyCode <= 93) || (KeyCode >= 97 && KeyCode <= 125) || KeyCode == 8 || KeyCode == 32) {
        pasos.run([&] {
            QComboBox* caja = CmbSearch[cajaActual_];
            caja->setEditText(caja->currentText() + QChar(KeyCode));
            caja->setFocus();
        });
    }
}

void Lib_FrmCons3::ListView1_ColumnClick(int columna) {
    // A new column sorts ascending; the same column again reverses the order.
    if (columna == columnaOrden_)
        orden_ = orden_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        orden_ = Qt::AscendingOrder;
    columnaOrden_ = columna;
    Ordena();
}

void Lib_FrmCons3::Ordena() {
    if (columnaOrden_ < 0 || columnaOrden_ >= Modelo->columnCount()) return;
    Modelo->sort(columnaOrden_, orden_);
    ListView1->header()->setSortIndicator(columnaOrden_, orden_);
    ListView1->header()->setSortIndicatorShown(true);
}

void Lib_FrmCons3::HScroll1_Change() {
    picFields->move(-ui().Twips(HScroll1->value()), picFields->y());
}

void Lib_FrmCons3::Form_Resize() {
    const int W = width(), H = height(), barra = Frame1->height();
    picFields->resize(W - ui().Twips(120), H - barra - ui().Twips(480));
    ListView1->resize(picFields->width() - ui().Twips(20), picFields->height() - barra - ui().Twips(600));
    Frame1->setGeometry(0, H - barra - ui().Twips(420), W, barra);
    HScroll1->setGeometry(HScroll1->x(), picFields->height() - HScroll1->height() - ui().Twips(120),
                          W - ui().Twips(120), HScroll1->height());
    CmdAceptar->move(ui().Twips(100), CmdAceptar->y());
    CmdCancelar->move((Frame1->width() - CmdCancelar->width()) / 2, CmdCancelar->y());
    CmdNueva->move(Frame1->width() - (CmdCancelar->width() + ui().Twips(150)), CmdNueva->y());
    if (CmdNueva->isHidden()) {
        if (CmdAceptar->width() + CmdCancelar->width() + ui().Twips(400) > Frame1->width()) {
            CmdAceptar->resize(CmdAceptar->width() / 2, CmdAceptar->height());
            CmdCancelar->resize(CmdAceptar->width(), CmdCancelar->height());
            CmdAceptar->move(ui().Twips(100), CmdAceptar->y());
            CmdCancelar->move(Frame1->width() - (CmdCancelar->width() + ui().Twips(150)), CmdCancelar->y());
            CmdNueva->move(CmdCancelar->x(), CmdNueva->y());
        } else {
            CmdCancelar->move(CmdNueva->x(), CmdCancelar->y());
        }
    }
}

void Lib_FrmCons3::CmdAceptar_Click() {
    Pasos pasos([](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, QStringLiteral("HScroll1_Change")); });
    if (!Valores) Valores = QList<Variant>();
    if (CheckBoxes) {
        pasos.run([&] {
            if (CampoDevuelto.isEmpty() && Modelo->columnCount() > 0) CampoDevuelto = Modelo->Cabecera(0);
            const int columna = IndiceColumna(CampoDevuelto);
            for (int fila = 0; fila < Modelo->rowCount(); ++fila) {
                if (Modelo->Marca(fila) == Qt::Checked) Valores->append(Variant(ValorColumna(fila, columna)));
            }
        });
    } else if (const int fila = FilaActual(); fila >= 0) {
        pasos.run([&] {
            Variant ultimo = Variant(QString());
            if (CmpsDevueltos)
                for (const QString& nombre : *CmpsDevueltos) {
                    ultimo = Variant(ValorColumna(fila, IndiceColumna(nombre)));
                    Valores->append(ultimo);
                }
            if (!Recorta(CampoDevuelto).isEmpty()) ultimo = Variant(ValorColumna(fila, IndiceColumna(CampoDevuelto)));
            ValorDevuelto = ultimo;
        });
    }
    hide();
}

void Lib_FrmCons3::CmdCancelar_Click() {
    // Null, not empty: the caller tells a cancel from an accept with nothing checked.
    ValorDevuelto = Variant(QString());
    CmpsDevueltos = nullptr;
    Valores.reset();
    Cantidades.reset();
    hide();
}

void Lib_FrmCons3::CmdNueva_Click() {
    SQL = primeraSentencia_;
    Form_Load();
    CmbSearch[0]->setFocus();
}

void Lib_FrmCons3::Form_Unload() {
    Pasos pasos([](const ErrorEjecucion& e) {
        ui().MsgBox(e.Description(), Estilo::Critical, QStringLiteral("Aviso al Operador"));
        return 0;
    });
    pasos.run([&] {
        UsarUDBC = false;
        GrabarAnchos();
    });
    pasos.run([&] { Modelo->Vacia(Modelo->Cabeceras()); });
}

void Lib_FrmCons3::keyPressEvent(QKeyEvent* e) {
    const int codigo = CodigoTecla(e->key(), e->text());
    if (codigo == 123 && articulos_) {
        Form_KeyDown(codigo);
        return;
    }
    if (codigo == 13) {
        CmdAceptar_Click();
        return;
    }
    QDialog::keyPressEvent(e);  // Escape cancels
}

bool Lib_FrmCons3::eventFilter(QObject* objeto, QEvent* e) {
    for (int i = 0; i < static_cast<int>(CmbSearch.size()); ++i) {
        if (objeto != CmbSearch[i] && objeto != CmbSearch[i]->lineEdit()) continue;
        if (e->type() == QEvent::FocusIn) CmbSearch_GotFocus(i);
        if (e->type() == QEvent::FocusOut) CmbSearch_LostFocus(i);
        if (e->type() == QEvent::KeyPress) {
            auto* tecla = static_cast<QKeyEvent*>(e);
            const int codigo = CodigoTecla(tecla->key(), tecla->text());
            if (codigo == 123 && articulos_) {
                Form_KeyDown(codigo);  // the window sees the key first
                return true;
            }
            if (codigo == 116 || codigo == 40 || codigo == 38 || codigo == 34 || codigo == 33) {
                CmbSearch_KeyDown(i, codigo);
                return true;
            }
        }
        return false;
    }
    if (objeto == ListView1 && e->type() == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(e);
        const int codigo = CodigoTecla(tecla->key(), tecla->text());
        if (codigo == 123 && articulos_) {
            Form_KeyDown(codigo);
            return true;
        }
        if (codigo == 40 || codigo == 38 || codigo == 34 || codigo == 33 || (codigo == 32 && CheckBoxes) || codigo == 0)
            return false;  // the list moves and toggles itself
        ListView1_KeyDown(codigo, tecla->modifiers() & Qt::ShiftModifier);
        return true;
    }
    return QDialog::eventFilter(objeto, e);
}

void Lib_FrmCons3::closeEvent(QCloseEvent* e) {
    CmdCancelar_Click();
    e->accept();
}

void Lib_FrmCons3::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Form_Resize();
}
