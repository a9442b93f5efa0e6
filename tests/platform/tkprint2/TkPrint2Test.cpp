// The utility library: settings file, cipher round trip, text helpers and the error dialog.
#include <gtest/gtest.h>

#include <QFile>

#include "Soporte.h"
#include "TkPrint2.h"
#include "Ui.h"

class TkPrint2 : public ConEntorno {};

TEST_F(TkPrint2, LeeIniPorSeccionYClaveSinDistinguirMayusculas) {
    QFile f(Ruta(QStringLiteral("CN000pr.INI")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "; comentario\r\n[CAJA01|OPERADOR]\r\nFlatToolbars=0\r\n[CAJA01|OPERADORBaseDeDatos]\r\n"
        "Servidor = SRV01\r\nDbName=EMPRESA\r\n");
    f.close();
    const QString ini = QStringLiteral("CN000pr.INI");
    EXPECT_EQ(LeeIni(ini, QStringLiteral("caja01|operador"), QStringLiteral("flattoolbars"), QStringLiteral("1")),
              QStringLiteral("0"));
    EXPECT_EQ(LeeIni(ini, QStringLiteral("CAJA01|OPERADORBaseDeDatos"), QStringLiteral("Servidor"), {}),
              QStringLiteral("SRV01"));
    EXPECT_EQ(LeeIni(ini, QStringLiteral("CAJA01|OPERADOR"), QStringLiteral("Servidor"), QStringLiteral("x")),
              QStringLiteral("x"));
    EXPECT_EQ(LeeIni(QStringLiteral("NoExiste.ini"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST_F(TkPrint2, DesencriptaDeshaceEncripta) {
    for (const QString& t : {QStringLiteral("Tamarek"), QStringLiteral("quillet"), QString(), QStringLiteral("ñ=;|")}) {
        EXPECT_EQ(Desencripta(Encripta(t)), t);
        if (!t.isEmpty()) {
            EXPECT_NE(Encripta(t), t);
        }
    }
}

TEST_F(TkPrint2, AyudasDeTexto) {
    EXPECT_EQ(AgregaSeparador(QStringLiteral("/opt/pavenko")), QStringLiteral("/opt/pavenko/"));
    EXPECT_EQ(AgregaSeparador(QStringLiteral("/opt/pavenko//")), QStringLiteral("/opt/pavenko/"));
    EXPECT_EQ(AgregaSeparador(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(QuitaCaracteres(QStringLiteral("a|b=c|"), QStringLiteral("|"), QStringLiteral("=")),
              QStringLiteral("abc"));
    QString conNulos = QStringLiteral("CAJA");
    conNulos += QChar(0);
    conNulos += QChar(0xFF);
    conNulos += QLatin1Char('\n');
    EXPECT_EQ(QuitaCaracteres(conNulos, QString(QChar(0)), QString(QChar(0xFF)), QStringLiteral("\n")),
              QStringLiteral("CAJA"));
    EXPECT_EQ(CuentaPalabras(QStringLiteral("  Select  TOP 1 ")), 3);
    EXPECT_EQ(CuentaPalabras(QStringLiteral("len")), 1);
    EXPECT_EQ(CuentaPalabras(QStringLiteral("   ")), 0);
    EXPECT_EQ(CortaTexto(QStringLiteral("abcdef"), 3), QStringLiteral("abc"));
    EXPECT_EQ(ValorSeguro(Variant::Null()).ATexto(), QString());
    EXPECT_EQ(ValorSeguro(Variant(qint32(5))).ALargo(), 5);
    EXPECT_EQ(ACurrency(QString()).Escalado(), 0);
    EXPECT_EQ(ACurrency(QStringLiteral("30")).Escalado(), 300000);
}

TEST_F(TkPrint2, TrataErrorMuestraElErrorYDevuelveElBoton) {
    guion.Responde(Respuesta::Ignore);
    int r = TrataError(ErrorEjecucion(3709, QStringLiteral(" sin conexión "), QStringLiteral("ADODB.Recordset")),
                       std::nullopt, QStringLiteral("AbrirRecordset"));
    EXPECT_EQ(r, Respuesta::Ignore);
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].texto, QStringLiteral("Ha ocurrido el Siguiente Error (3709) sin conexión"));
    EXPECT_EQ(guion.Cajas()[0].titulo, QStringLiteral("ADODB.Recordset - AbrirRecordset Aviso al operador!!! "));
    EXPECT_EQ(guion.Cajas()[0].estilo, 18);
    EXPECT_EQ(TrataError(ErrorEjecucion(0)), 0);
    EXPECT_EQ(guion.Cajas().size(), 1u);
}
