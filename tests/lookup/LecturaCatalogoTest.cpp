// The lookup catalogue's reader alone: which record a table finds.
#include <QFile>

#include "Catalogo.h"
#include "LecturaCatalogo.h"
#include "Soporte.h"

namespace {

using LecturaCatalogo = ConEntorno;

TEST_F(LecturaCatalogo, UnaTablaHallaSuPrimerRegistroEntero) {
    const QByteArray relleno = QByteArray("DEPOSITO") + QByteArray(92, '\0') + "V_TA_DEPOSITO" +
                               QByteArray(87, '\xff') + QByteArray(1000, ' ') + "\r\n";
    const QByteArray bytes = RegistroCatalogo("UNO", "MA_CUENTAS", "|A|") +
                             RegistroCatalogo("DOS", "ma_cuentas", "|B|") + relleno +
                             RegistroCatalogo("CORTO", "VT_CLIENTES", "|C|").left(1201);
    const QString ruta = Ruta(QStringLiteral("consultas.tkw"));
    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    struct Caso {
        const char* tabla;
        const char* nombre;  // nullptr: none
    };
    const Caso casos[] = {
        {"MA_CUENTAS", "UNO"},         {"  Ma_Cuentas ", "UNO"},
        {"V_TA_DEPOSITO", "DEPOSITO"}, {"VT_CLIENTES", nullptr},  // the short record at the end is no record
        {"MA_CLIENTES", nullptr},
    };
    for (const Caso& k : casos) {
        const std::optional<ConsultaCatalogo> r = BuscaConsulta(ruta, QString::fromUtf8(k.tabla));
        ASSERT_EQ(r.has_value(), k.nombre != nullptr) << k.tabla;
        if (r) {
            EXPECT_EQ(CampoLimpio(r->Nombre), QString::fromUtf8(k.nombre)) << k.tabla;
        }
    }
    EXPECT_FALSE(BuscaConsulta(Ruta(QStringLiteral("no_existe.tkw")), QStringLiteral("MA_CUENTAS")).has_value());
}

}  // namespace
