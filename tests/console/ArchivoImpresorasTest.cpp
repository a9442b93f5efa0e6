// Printers.Fis: records of 585 bytes looked up by MACHINE|USER without regard to case, and the field clean-up.
#include <QDir>
#include <QFile>

#include "ArchivoImpresoras.h"
#include "Soporte.h"

namespace {
// A record laid out by hand: key 254, printer 150, unread 150, port 5, speed 5, data 3, parity 1, the rest 17.
QByteArray Registro(const QByteArray& clave, const QByteArray& impresora, const QByteArray& puerto = "COM2",
                    const QByteArray& baud = "9600", const QByteArray& data = "8", const QByteArray& parity = "N",
                    char relleno = ' ') {
    auto campo = [relleno](const QByteArray& v, int ancho) { return v.leftJustified(ancho, relleno, true); };
    QByteArray r = campo(clave, 254) + campo(impresora, 150) + QByteArray(150, ' ') + campo(puerto, 5) +
                   campo(baud, 5) + campo(data, 3) + campo(parity, 1) + QByteArray(17, ' ');
    return r;
}

class ArchivoImpresorasTest : public ConEntorno {
  protected:
    void Escribe(const QByteArray& bytes) {
        QFile f(Ruta("Printers.Fis"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};
}  // namespace

TEST_F(ArchivoImpresorasTest, SinArchivoCreaUnoVacioYNoEncuentra) {
    EXPECT_FALSE(LeeRegistroImpresora());
    QFile f(Ruta("Printers.Fis"));
    ASSERT_TRUE(f.exists());
    EXPECT_EQ(f.size(), 0);
}

TEST_F(ArchivoImpresorasTest, SoloCuentanLosRegistrosCompletos) {
    const QByteArray otro = Registro("OTRA|persona", "EPSON");
    const QByteArray propio = Registro("CAJA01|operador", "EPSON", "COM3");
    struct Caso {
        const char* nombre;
        QByteArray bytes;
        bool encontrado;
    };
    const Caso casos[] = {
        {"584 bytes: ningun registro", propio.left(584), false},
        {"1170 bytes: dos registros", otro + propio, true},
        {"un registro y medio", otro + propio.left(300), false},
        {"dos registros y un resto", otro + propio + "COLA", true},
        {"archivo vacio", QByteArray(), false},
    };
    for (const Caso& c : casos) {
        Escribe(c.bytes);
        EXPECT_EQ(LeeRegistroImpresora(), c.encontrado) << c.nombre;
        if (c.encontrado) {
            EXPECT_EQ(gRegistroImpresora.Puerto, "COM3 ") << c.nombre;
        }
    }
}

TEST_F(ArchivoImpresorasTest, LaClaveDelPuestoSeComparaSinMayusculasYRecortadaSinCortar) {
    const QByteArray largo = "operador_con_un_nombre_de_usuario_que_pasa_de_los_cincuenta_caracteres";
    struct Caso {
        const char* maquina;
        QByteArray usuario;
        QByteArray guardada;
        bool encontrado;
    };
    const Caso casos[] = {
        {"CAJA01", "OPERADOR", "caja01|operador", true},
        {"  CAJA01", largo + "  ", "CAJA01|" + largo, true},
        {"CAJA01", "operador", "CAJA01 | operador", false},
        {"CAJA01", "operador", "CAJA02|operador", false},
    };
    for (const Caso& c : casos) {
        proc.maquina = QString::fromUtf8(c.maquina);
        proc.usuario = QString::fromUtf8(c.usuario);
        Escribe(Registro(c.guardada, "EPSON"));
        EXPECT_EQ(LeeRegistroImpresora(), c.encontrado) << c.guardada.constData();
    }
}

TEST_F(ArchivoImpresorasTest, GanaElPrimeroConImpresoraNoEnBlanco) {
    Escribe(Registro("CAJA01|operador", "", "COM1") + Registro("OTRA|x", "EPSON", "COM2") +
            Registro("CAJA01|operador", "EPSON", "COM3") + Registro("CAJA01|operador", "EPSON", "COM4"));
    ASSERT_TRUE(LeeRegistroImpresora());
    EXPECT_EQ(gRegistroImpresora.Puerto, "COM3 ");
}

TEST_F(ArchivoImpresorasTest, CamposRellenosConNulosSeLimpian) {
    Escribe(Registro("CAJA01|operador", "EPSON\xFF\n", "COM4", "19200", "7", "E", '\0'));
    ASSERT_TRUE(LeeRegistroImpresora());
    EXPECT_EQ(LimpiaCampo(gRegistroImpresora.Baud), "19200");
    EXPECT_EQ(LimpiaCampo(gRegistroImpresora.Data), "7");
    EXPECT_EQ(LimpiaCampo(gRegistroImpresora.Parity), "E");
    EXPECT_EQ(LimpiaCampo(gRegistroImpresora.Impresora), "EPSON");
}

TEST_F(ArchivoImpresorasTest, ImpresoraSoloConRellenoNoCuenta) {
    Escribe(Registro("CAJA01|operador", QByteArray("\0\xFF\n", 3)));
    EXPECT_FALSE(LeeRegistroImpresora());
}

TEST_F(ArchivoImpresorasTest, ArchivoQueNoSePuedeAbrirNoTieneRegistros) {
    ASSERT_TRUE(QDir(Carpeta()).mkdir("Printers.Fis"));  // a folder by that name cannot be read as a file
    EXPECT_FALSE(LeeRegistroImpresora());
}

TEST_F(ArchivoImpresorasTest, LimpiaCampoQuitaNulosFFSaltosYBlancosDeLosExtremos) {
    struct Caso {
        Variant entrada;
        const char* esperado;
    };
    const Caso casos[] = {
        {QString::fromUtf8("  9600  "), "9600"},
        {QString(QChar(0)) + "96" + QChar(0xFF) + "00\n", "9600"},
        {QStringLiteral("\n COM1 \n"), "COM1"},
        {QStringLiteral("a b"), "a b"},
        {QStringLiteral("\tx"), "\tx"},  // only blanks are trimmed
        {Variant(qint16(12)), "12"},
        {Variant::Null(), ""},
        {Variant(), ""},
    };
    for (const Caso& c : casos) EXPECT_EQ(LimpiaCampo(c.entrada), QString::fromUtf8(c.esperado)) << c.esperado;
}
