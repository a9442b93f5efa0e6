// The Qt message box as the operator sees it offscreen: its buttons left to right, and the answer each gives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <map>

#include "UiQt.h"

namespace {

TEST(UiQt, LosBotonesEnElOrdenDeLaPlataformaYSusRespuestas) {
    struct Caso {
        int estilo;
        QStringList botones;  // left to right
        int pulsado;          // index of the button clicked
        int respuesta;
    };
    const QStringList ari{"Anular", "Reintentar", "Omitir"};
    const Caso casos[] = {
        {Estilo::AbortRetryIgnore | Estilo::Critical, ari, 0, Respuesta::Abort},
        {Estilo::AbortRetryIgnore, ari, 1, Respuesta::Retry},
        {Estilo::AbortRetryIgnore | Estilo::Exclamation, ari, 2, Respuesta::Ignore},
        {Estilo::YesNo | Estilo::Question, {"Sí", "No"}, 1, Respuesta::No},
        {Estilo::YesNoCancel, {"Sí", "No", "Cancelar"}, 0, Respuesta::Yes},
        {Estilo::OKCancel, {"Aceptar", "Cancelar"}, 1, Respuesta::Cancel},
        {Estilo::RetryCancel, {"Reintentar", "Cancelar"}, 0, Respuesta::Retry},
        {Estilo::OK, {"Aceptar"}, 0, Respuesta::OK},
    };
    UiQt ventanas;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.botones.join(QLatin1Char(' ')).toStdString());
        QStringList vistos;
        QTimer::singleShot(0, [&] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caja) {
                ADD_FAILURE() << "no box";
                return;
            }
            std::map<int, QPushButton*> porX;
            for (QPushButton* b : caja->findChildren<QPushButton*>())
                if (b->isVisible()) porX[b->mapTo(caja, QPoint(0, 0)).x()] = b;
            std::vector<QPushButton*> orden;
            for (const auto& [x, b] : porX) {
                vistos << b->text().remove(QLatin1Char('&'));
                orden.push_back(b);
            }
            if (c.pulsado < int(orden.size())) orden[size_t(c.pulsado)]->click();
            if (QApplication::activeModalWidget() == caja) caja->done(0);
        });
        EXPECT_EQ(ventanas.MsgBox(QStringLiteral("texto"), c.estilo, QStringLiteral("título")), c.respuesta);
        EXPECT_EQ(vistos.join(QStringLiteral(" · ")).toStdString(),
                  c.botones.join(QStringLiteral(" · ")).toStdString());
    }
}

}  // namespace
