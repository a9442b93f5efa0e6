// The transaction runner and the error table, on the demo database.
#include "BaseDemo.h"
#include "DB_Dll.h"
#include "Sesion.h"
#include "Stuff.h"

namespace {

class Stuff : public ConBaseDemo {
  protected:
    void SetUp() override {
        ConBaseDemo::SetUp();
        Conecta();
    }
    struct Salida {
        bool huboError = true;
        long nroError = -1;
        QString texto = QStringLiteral("antes");
        QString mensaje = QStringLiteral("antes");
    };
    Salida Corre(const QStringList& sentencias, bool informaDuplicado = false, bool muestra = true) {
        Salida s;
        GActualizarDatoScript(sentencias, s.huboError, s.nroError, informaDuplicado, false, s.texto, s.mensaje,
                              muestra);
        return s;
    }
    QList<QStringList> Errores() {
        return Filas(QStringLiteral("DEMO"),
                     QStringLiteral("SELECT Proceso, Fecha, Error, Descripcion, SQL, PC, Usuario FROM AUX_ERR"));
    }
};

const QString kAlta = QStringLiteral("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('ZZ1', 'X', 'Uno')");
const QString kDuplicada = QStringLiteral("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('MP000', 'X', 'Dos')");

TEST_F(Stuff, UnaListaEnBlancoNoEnviaNada) {
    const Salida s = Corre({QString(), QStringLiteral("   "), QString()});
    EXPECT_FALSE(s.huboError);
    EXPECT_EQ(s.nroError, -1);
    EXPECT_EQ(s.texto, QStringLiteral("antes"));
    EXPECT_EQ(s.mensaje, QStringLiteral("antes"));
}

TEST_F(Stuff, UnaSentenciaQueFuncionaSeConfirma) {
    const Salida s = Corre({QString(), kAlta, QString()});
    EXPECT_FALSE(s.huboError);
    EXPECT_EQ(s.nroError, 0);
    EXPECT_EQ(s.texto, QStringLiteral("BEGIN TRANSACTION \r\r\r") + kAlta + QStringLiteral("\r"));
    EXPECT_EQ(s.mensaje, QStringLiteral("antes"));
    EXPECT_EQ(Filas(QStringLiteral("DEMO"), QStringLiteral("SELECT Nombre FROM TA_MENU WHERE Clave = 'ZZ1'")),
              (QList<QStringList>{{"Uno"}}));
    EXPECT_TRUE(Errores().isEmpty());
}

TEST_F(Stuff, UnLoteQueFallaSeDeshaceSeRegistraYSeMuestra) {
    guion.Responde(Respuesta::OK);
    const Salida s = Corre({kAlta, kDuplicada});
    EXPECT_TRUE(s.huboError);
    EXPECT_EQ(s.nroError, 2627);
    const QString lote =
        QStringLiteral("BEGIN TRANSACTION \r\r\r") + kAlta + QStringLiteral("\r") + kDuplicada + QStringLiteral("\r");
    EXPECT_EQ(s.texto, lote);
    EXPECT_TRUE(s.mensaje.startsWith(QStringLiteral("2627 : "))) << s.mensaje.toStdString();
    EXPECT_TRUE(s.mensaje.endsWith(QStringLiteral("\r\n")));
    // Rolled back: the first statement left nothing.
    EXPECT_TRUE(Filas(QStringLiteral("DEMO"), QStringLiteral("SELECT * FROM TA_MENU WHERE Clave = 'ZZ1'")).isEmpty());
    const QList<QStringList> errores = Errores();
    ASSERT_EQ(errores.size(), 1);
    EXPECT_EQ(errores[0], (QStringList{"Pavenko", "15/03/26 10:30", "2627", s.mensaje, lote, "CAJA01", "CAJERO"}));
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].texto, s.mensaje);
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::Critical | Estilo::OK);
    EXPECT_EQ(guion.Cajas()[0].titulo, QStringLiteral("Aviso al Operador!"));
}

TEST_F(Stuff, UnDuplicadoInformadoVuelveAlLlamadorSinCaja) {
    const Salida s = Corre({kDuplicada}, true, true);
    EXPECT_TRUE(s.huboError);
    EXPECT_EQ(s.nroError, 2627);
    EXPECT_FALSE(s.mensaje.isEmpty());
    EXPECT_FALSE(s.mensaje.startsWith(QStringLiteral("2627 : ")));  // the provider's description alone
    const QList<QStringList> errores = Errores();
    ASSERT_EQ(errores.size(), 1);
    EXPECT_EQ(errores[0][3], QString());  // recorded with an empty description
    EXPECT_TRUE(guion.Cajas().empty());
}

TEST_F(Stuff, GrabaAuxErrCortaLaDescripcionA250) {
    GrabaAuxErr(QStringLiteral("SELECT 1"), QString(), 17, QString(300, QLatin1Char('d')));
    GrabaAuxErr(QStringLiteral("SELECT 2"), QStringLiteral("OTRO"), 18, QStringLiteral("corta"));
    EXPECT_EQ(Errores(),
              (QList<QStringList>{
                  {"Pavenko", "15/03/26 10:30", "17", QString(250, QLatin1Char('d')), "SELECT 1", "CAJA01", "CAJERO"},
                  {"OTRO", "15/03/26 10:30", "18", "corta", "SELECT 2", "CAJA01", "CAJERO"}}));
}

TEST_F(Stuff, GrabaAuxErrNoFallaSinTabla) {
    Ejecuta(QStringLiteral("DEMO"), QStringLiteral("DROP TABLE AUX_ERR"));
    // The database object reports the missing table in its own dialog; the writer itself goes on quietly.
    guion.Responde(Respuesta::Abort);
    EXPECT_NO_THROW(GrabaAuxErr(QStringLiteral("SELECT 1"), QString(), 1, QStringLiteral("x")));
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_TRUE(guion.Cajas()[0].titulo.contains(QStringLiteral("AbrirRecordset")))
        << guion.Cajas()[0].titulo.toStdString();
}

}  // namespace
