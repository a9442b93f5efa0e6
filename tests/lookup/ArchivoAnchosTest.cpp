// The column widths file read and rewritten alone: which lines a table's widths come from, and what a save keeps.
#include <QFile>

#include "ArchivoAnchos.h"
#include "Soporte.h"

namespace {

class ArchivoAnchos : public ConEntorno {
  protected:
    void Escribe(const QByteArray& bytes) {
        QFile f(RutaAnchos(Carpeta()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Lee() {
        QFile f(RutaAnchos(Carpeta()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(ArchivoAnchos, LosAnchosDeUnaTablaHastaLaPrimeraLineaDanada) {
    struct Caso {
        const char* archivo;
        QList<QStringList> esperado;
    };
    const Caso casos[] = {
        {"\"MA_CLIENTES\",\"900|1200|\"\r\n\"MA_CUENTAS\",\"1|2|3|\"\r\n", {{"900", "1200"}}},
        {"\"ma_clientes\",\"900|1200|\"\r\n\r\n\"MA_CLIENTES\",\"5||7|resto\"\r\n", {{"900", "1200"}, {"5", "", "7"}}},
        {"\"MA_CLIENTES\",\"\"\r\n", QList<QStringList>{QStringList()}},
        {"\"MA_CLIENTES\",\"900|\"\r\nroto\r\n\"MA_CLIENTES\",\"1|\"\r\n", {{"900"}}},
        {"\"MA_CUENTAS\r\n\"MA_CLIENTES\",\"900|\"\r\n", {}},
        {"", {}},
    };
    for (const Caso& k : casos) {
        Escribe(k.archivo);
        EXPECT_EQ(LeeAnchos(Carpeta(), QStringLiteral("MA_CLIENTES")), k.esperado) << k.archivo;
    }
}

TEST_F(ArchivoAnchos, SinArchivoNoHayAnchos) {
    EXPECT_TRUE(LeeAnchos(Carpeta(), QStringLiteral("MA_CLIENTES")).isEmpty());
}

TEST_F(ArchivoAnchos, GrabarReemplazaLasLineasDeLaTablaYDescartaLasDanadas) {
    Escribe("\"ma_clientes\",\"1|\"\r\nroto\r\n\"MA_CUENTAS\",\"1|2|3|\"\r\n\"MA_CLIENTES\",\"2|\"\r\n");
    GrabaAnchos(Carpeta(), QStringLiteral("MA_CLIENTES"), {1815, 2400});
    EXPECT_EQ(Lee(), "\"MA_CUENTAS\",\"1|2|3|\"\r\n\"MA_CLIENTES\",\"1815|2400|\"\r\n");
    EXPECT_EQ(LeeAnchos(Carpeta(), QStringLiteral("MA_CLIENTES")), (QList<QStringList>{{"1815", "2400"}}));
    EXPECT_FALSE(QFile::exists(Ruta(QStringLiteral("CONSULTASLEN.AUX"))));
}

}  // namespace
