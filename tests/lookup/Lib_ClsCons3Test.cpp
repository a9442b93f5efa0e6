// The lookup controller's construction: the settings it reads through the session's settings read.
#include <QMap>

#include "Lib_ClsCons3.h"
#include "Soporte.h"

namespace {

using Controlador = ConEntorno;

TEST_F(Controlador, LeeSusAjustesAlConstruirse) {
    const QMap<QString, QString> ajustes{
        {"MostrarStockenConsultas", "SI"},
        {"Stk_Nivel1", ""},
        {"Stk_Nivel2", "255"},
        {"UsaConsultaLike", "si"},
    };
    QStringList leidas;
    Lib_ClsCons3 c([&](const QString& clave) {
        leidas << clave;
        return ajustes.value(clave, QStringLiteral(" "));  // an absent key reads as one blank
    });
    EXPECT_EQ(leidas, (QStringList{"MostrarStockenConsultas", "Stk_Nivel1", "Stk_Nivel2", "Stk_Nivel3", "Stk_Nivel4",
                                   "UsaConsultaLike"}));
    EXPECT_EQ(c.MuestraStock, QStringLiteral("SI"));
    EXPECT_EQ(c.StkNivel1, Variant(qint32(0)));  // empty is black
    EXPECT_EQ(c.StkNivel2, Variant(QStringLiteral("255")));
    EXPECT_EQ(c.StkNivel3, Variant(QStringLiteral(" ")));  // missing: no colour
    EXPECT_TRUE(c.UsaConsultaLike());
    EXPECT_FALSE(c.gUsarMascarasConsultas);
    EXPECT_TRUE(c.gRutaMascaraConsultas.isEmpty());
    EXPECT_FALSE(c.Checks);
}

TEST_F(Controlador, UsaConsultaLikeSoloConSI) {
    for (const char* v : {" SI", "NO", " ", "S"}) {
        Lib_ClsCons3 c([&](const QString& clave) {
            return clave == QStringLiteral("UsaConsultaLike") ? QString::fromUtf8(v) : QStringLiteral(" ");
        });
        EXPECT_FALSE(c.UsaConsultaLike()) << v;
    }
}

}  // namespace
