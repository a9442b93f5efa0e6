// The simulated printer's window: status words on top, the paper roll below, following the printer's signals.
#include "VentanaImpresora.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
constexpr qint64 kColaDelRollo = 64 * 1024;  // what is shown of a long roll at start: its end

QString Decodifica(const QString& nombre, const QString& texto, const QStringList& bits) {
    return nombre + QStringLiteral(": ") + texto + QStringLiteral("\n    ") +
           (bits.isEmpty() ? QStringLiteral("(ningún bit)") : bits.join(QStringLiteral(" · ")));
}
}  // namespace

VentanaImpresora::VentanaImpresora(ImpresoraSimulada& impresora, QWidget* padre)
    : QWidget(padre, Qt::Tool | Qt::WindowDoesNotAcceptFocus), impresora_(impresora) {
    setWindowTitle(QStringLiteral("Impresora fiscal (simulada)"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    const QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLabel* l : {&lbEstado1_, &lbEstado2_}) {
        l->setFont(fija);
        l->setFocusPolicy(Qt::NoFocus);
        l->setWordWrap(true);  // a long status wraps; the window keeps the roll's width
    }
    btApagar_.setText(QStringLiteral("Apagar y encender"));
    btApagar_.setFocusPolicy(Qt::NoFocus);
    connect(&btApagar_, &QPushButton::clicked, this, [this] { impresora_.ApagaYEnciende(); });
    rollo_.setReadOnly(true);
    rollo_.setFocusPolicy(Qt::NoFocus);
    rollo_.setFont(fija);
    rollo_.setLineWrapMode(QPlainTextEdit::NoWrap);
    rollo_.setTextInteractionFlags(Qt::NoTextInteraction);

    auto* capas = new QVBoxLayout(this);
    capas->addWidget(&lbEstado1_);
    capas->addWidget(&lbEstado2_);
    capas->addWidget(&rollo_, 1);
    capas->addWidget(&btApagar_, 0, Qt::AlignLeft);
    // The roll's forty columns whole, with its margins, frame and scroll bar; the window is as wide as that.
    const int columnas = QFontMetrics(fija).horizontalAdvance(QString(40, QLatin1Char('M')));
    rollo_.setMinimumWidth(columnas + 2 * int(rollo_.document()->documentMargin()) + 2 * rollo_.frameWidth() +
                           rollo_.verticalScrollBar()->sizeHint().width() + 2);
    const QMargins margenes = capas->contentsMargins();
    setFixedWidth(rollo_.minimumWidth() + margenes.left() + margenes.right());
    resize(width(), 520);

    // What the roll already holds, then what the printer prints from now on.
    // Another program on the same device prints and changes the memory too: the window looks twice a second.
    QFile archivo(impresora_.RutaPapel());
    if (archivo.open(QIODevice::ReadOnly)) leidoHasta_ = std::max<qint64>(0, archivo.size() - kColaDelRollo);
    LeeRollo();
    connect(&impresora_, &ImpresoraSimulada::Imprimio, this, &VentanaImpresora::LeeRollo);
    connect(&impresora_, &ImpresoraSimulada::Cambio, this, &VentanaImpresora::ActualizaEstados);
    connect(&vigia_, &QTimer::timeout, this, [this] {
        impresora_.Relee();
        LeeRollo();
    });
    vigia_.start(500);
    ActualizaEstados();
    rollo_.verticalScrollBar()->setValue(rollo_.verticalScrollBar()->maximum());
}

void VentanaImpresora::LeeRollo() {
    QFile archivo(impresora_.RutaPapel());
    if (!archivo.open(QIODevice::ReadOnly)) return;
    if (archivo.size() < leidoHasta_) {  // a roll replaced: shown again from its start
        leidoHasta_ = 0;
        rollo_.clear();
        utf8_.resetState();
    }
    if (!archivo.seek(leidoHasta_)) return;
    const QByteArray nuevo = archivo.readAll();
    if (nuevo.isEmpty()) return;
    leidoHasta_ += nuevo.size();
    rollo_.moveCursor(QTextCursor::End);
    rollo_.insertPlainText(utf8_.decode(nuevo));
    rollo_.verticalScrollBar()->setValue(rollo_.verticalScrollBar()->maximum());
}

void VentanaImpresora::ActualizaEstados() {
    lbEstado1_.setText(Decodifica(QStringLiteral("Estado1"), impresora_.Lee(QStringLiteral("Estado1")),
                                  DescribeBits1(impresora_.Palabra1())));
    lbEstado2_.setText(Decodifica(QStringLiteral("Estado2"), impresora_.Lee(QStringLiteral("Estado2")),
                                  DescribeBits2(impresora_.Palabra2())));
}

void VentanaImpresora::MuestraJuntoA(QWidget* principal) {
    if (!impresora_.MuestraVentana()) return;
    if (principal) {
        QPoint lugar = principal->frameGeometry().topRight() + QPoint(12, 0);
        if (const QScreen* pantalla = principal->screen()) {
            const QRect area = pantalla->availableGeometry();
            lugar.setX(std::min(lugar.x(), area.right() - width()));
            lugar.setY(std::max(area.top(), std::min(lugar.y(), area.bottom() - height())));
        }
        move(lugar);
    }
    companera_ = principal ? principal->window() : nullptr;
    show();
}

bool VentanaImpresora::event(QEvent* e) {
    // Some platforms activate every window shown, whatever its hints: the program's window gets the focus back.
    if (e->type() == QEvent::WindowActivate && companera_ && companera_->isVisible()) companera_->activateWindow();
    return QWidget::event(e);
}
