// The console ui: each box one line on its stream, answered at once as if nobody were there.
#include <QByteArray>
#include <cstdio>

#include "Soporte.h"
#include "UiConsola.h"

namespace {
// What the console wrote to its stream, as bytes.
class Flujo {
  public:
    Flujo() : archivo_(std::tmpfile()) {}
    ~Flujo() { std::fclose(archivo_); }
    std::FILE* archivo() { return archivo_; }
    QByteArray Leido() {
        std::rewind(archivo_);
        QByteArray bytes;
        char bloque[512];
        size_t n = 0;
        while ((n = std::fread(bloque, 1, sizeof bloque, archivo_)) > 0)
            bytes.append(bloque, static_cast<qsizetype>(n));
        return bytes;
    }

  private:
    std::FILE* archivo_;
};
}  // namespace

TEST(UiConsola, CadaCajaEsUnaLineaConLaRespuestaDeNadie) {
    struct Caso {
        const char* texto;
        int estilo;
        const char* titulo;
        int respuesta;
        const char* linea;
    };
    const Caso casos[] = {
        {"Plan de Mantenimiento de Base de Datos\r\n-Se recomienda realizar una depuración de Datos\r\n-Desea "
         "realizarlo ahora...?",
         Estilo::YesNo + Estilo::Question, "Aviso al operador", Respuesta::No,
         "Aviso al operador: Plan de Mantenimiento de Base de Datos / -Se recomienda realizar una depuración de Datos "
         "/ -Desea realizarlo ahora...? -> No"},
        {"Falso\r0410 Tique abierto\r0600 Impresora lista", Estilo::OK, "", Respuesta::OK,
         "Zembrino: Falso / 0410 Tique abierto / 0600 Impresora lista"},
        {"El valor de la propiedad no es válido", Estilo::AbortRetryIgnore + Estilo::Critical, "aviso al operador!!!",
         Respuesta::Abort, "aviso al operador!!!: El valor de la propiedad no es válido -> Anular"},
        {"a\nb", Estilo::YesNoCancel, "t", Respuesta::No, "t: a / b -> No"},
        {"c", Estilo::OKCancel + Estilo::Exclamation, "t", Respuesta::Cancel, "t: c -> Cancelar"},
        {"d", Estilo::RetryCancel, "t", Respuesta::Cancel, "t: d -> Cancelar"},
        {"NO TIENE ACCESO A ESTE PROCESO, UTILICE EL MENU CORRESPONDIENTE!!!", Estilo::Critical + Estilo::OK,
         "ATENCION!", Respuesta::OK, "ATENCION!: NO TIENE ACCESO A ESTE PROCESO, UTILICE EL MENU CORRESPONDIENTE!!!"},
    };
    for (const Caso& c : casos) {
        Flujo flujo;
        UiConsola consola(flujo.archivo());
        EXPECT_EQ(consola.MsgBox(QString::fromUtf8(c.texto), c.estilo, QString::fromUtf8(c.titulo)), c.respuesta)
            << c.linea;
        EXPECT_EQ(flujo.Leido(), QByteArray(c.linea) + '\n');
    }
}

TEST(UiConsola, NadaEsperaAUnaPersona) {
    Flujo flujo;
    UiConsola consola(flujo.archivo());
    EXPECT_FALSE(consola.MuestraFormularios());
    EXPECT_EQ(consola.InputBox(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"), {}), "");
    EXPECT_EQ(consola.AbreArchivo(QStringLiteral("Buscar Base de Datos"), QStringLiteral("*.MDB")), std::nullopt);
    EXPECT_EQ(flujo.Leido(), QByteArray("Password Access: ingrese el password: -> \"\"\n"
                                        "Buscar Base de Datos: -> Cancelar\n"));
}
