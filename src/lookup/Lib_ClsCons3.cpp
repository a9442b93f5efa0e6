// The lookup controller's construction: its settings, read once.
#include "Lib_ClsCons3.h"

#include "Texto.h"

Lib_ClsCons3::Lib_ClsCons3(LecturaCfg cfg) : Cfg(std::move(cfg)) {
    MuestraStock = Cfg(QStringLiteral("MostrarStockenConsultas"));

    // An empty colour is black; a missing key keeps the single blank, which means no colour for that level.
    Variant* niveles[] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
    for (int i = 0; i < 4; ++i) {
        const QString valor = Cfg(QStringLiteral("Stk_Nivel") + QString::number(i + 1));
        *niveles[i] = valor.isEmpty() ? Variant(qint32(0)) : Variant(valor);
    }

    CfgUsaConsultaLIKE = IgualesTexto(Cfg(QStringLiteral("UsaConsultaLike")), QStringLiteral("SI"));
}
