// The step helper: retry, skip and stop, as the sequences' failure rules read.
#include <gtest/gtest.h>

#include <QStringList>

#include "Pasos.h"

TEST(Pasos, RespuestasReintentanOmitenODetienen) {
    struct Caso {
        QList<int> respuestas;  // answers given to successive failures of step 2
        QStringList esperado;   // the steps that completed, in order
        bool detenido;
    };
    const Caso casos[] = {
        {{Ignorar}, {"1", "3"}, false},
        {{Reintentar, Reintentar}, {"1", "2", "3"}, false},  // step 2 fails twice, then works
        {{Reintentar, 3}, {"1"}, true},
        {{0}, {"1"}, true},
    };
    for (const auto& c : casos) {
        QList<int> respuestas = c.respuestas;
        int fallos = static_cast<int>(respuestas.size());
        QStringList hechos;
        Pasos pasos([&](const ErrorEjecucion& e) {
            EXPECT_EQ(e.Number(), 13);
            return respuestas.takeFirst();
        });
        pasos.run([&] { hechos << "1"; });
        pasos.run([&] {
            if (fallos-- > 0) Lanza(13);
            hechos << "2";
        });
        pasos.run([&] { hechos << "3"; });
        EXPECT_EQ(hechos, c.esperado);
        EXPECT_EQ(pasos.Detenido(), c.detenido);
    }
}

TEST(Pasos, OmiteArgumentoInvalidoYDetieneConOtroError) {
    QStringList hechos;
    Pasos pasos = Pasos::OmiteArgumentoInvalido();
    pasos.run([&] { Lanza(Err::ArgumentoInvalido); });
    pasos.run([&] { hechos << "a"; });
    EXPECT_FALSE(pasos.run([&] { Lanza(Err::TiposNoCoinciden); }));
    pasos.run([&] { hechos << "b"; });
    EXPECT_EQ(hechos, QStringList{"a"});
    ASSERT_TRUE(pasos.UltimoError().has_value());
    EXPECT_EQ(pasos.UltimoError()->Number(), Err::TiposNoCoinciden);
}
