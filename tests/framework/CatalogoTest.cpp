// The lookup catalogue file, to the byte.
#include <QDir>
#include <QFile>

#include "Catalogo.h"
#include "ErrorEjecucion.h"
#include "Soporte.h"

namespace {

using Catalogo = ConEntorno;

QByteArray Relleno(const QByteArray& texto, int ancho) {
    return texto + QByteArray(ancho - texto.size(), ' ');
}

QByteArray Lee(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(Catalogo, UnArchivoNuevoTieneLasOnceConsultasEstandar) {
    const QString ruta = Ruta(QStringLiteral("consultas.tkw"));
    EscribeCatalogo(ruta);
    const QByteArray bytes = Lee(ruta);
    ASSERT_EQ(bytes.size(), 13222);
    EXPECT_TRUE(bytes.startsWith("ARTICULOS" + QByteArray(91, ' ') + "V_MA_ARTICULOS"));

    struct Registro {
        const char* nombre;
        const char* tabla;
        const char* campos;
    };
    const Registro registros[] = {
        {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
        {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
        {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
        {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
        {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
        {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|"},
        {"TAREAS", "V_TA_Tareas", "|Descripcion|IdTarea|"},
        {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|"},
        {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|"},
    };
    for (int i = 0; i < 11; ++i) {
        const Registro& r = registros[i];
        const QByteArray esperado =
            Relleno(r.nombre, 100) + Relleno(r.tabla, 100) + Relleno(r.campos, 500) + QByteArray(500, ' ') + "\r\n";
        EXPECT_EQ(bytes.mid(i * 1202, 1202), esperado) << "record " << i + 1;
    }
}

TEST_F(Catalogo, UnaEscrituraFallidaNoDejaArchivo) {
    // The target's folder does not exist: nothing can be written, and nothing is left behind.
    const QString ruta = Ruta(QStringLiteral("no/existe/consultas.tkw"));
    try {
        EscribeCatalogo(ruta);
        FAIL() << "no error";
    } catch (const ErrorEjecucion& e) {
        EXPECT_NE(e.Number(), 0);
    }
    EXPECT_FALSE(QFile::exists(ruta));
    // A directory in the file's place: the rename fails, the directory stays, no stray temporary file.
    const QString enUso = Ruta(QStringLiteral("consultas.tkw"));
    ASSERT_TRUE(QDir(Carpeta()).mkdir(QStringLiteral("consultas.tkw")));
    EXPECT_THROW(EscribeCatalogo(enUso), ErrorEjecucion);
    EXPECT_EQ(QDir(Carpeta()).entryList(QDir::Files), QStringList());
}

TEST_F(Catalogo, LosTextosLargosSeCortanAlAncho) {
    const QByteArray r = RegistroCatalogo(QString(120, QLatin1Char('N')), QStringLiteral("T"), QStringLiteral("|Ñ|"));
    ASSERT_EQ(r.size(), 1202);
    EXPECT_EQ(r.left(100), QByteArray(100, 'N'));
    EXPECT_EQ(r.mid(200, 4), QByteArray("|\xD1|", 3) + ' ');  // Windows-1252
}

}  // namespace
