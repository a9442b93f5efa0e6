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

// The statements the controller builds, as the list window receives them, on the demo database.
#include <QFile>

#include "Catalogo.h"
#include "ConsultasDemo.h"
#include "Cp1252.h"
#include "Lib_FrmCons3.h"
#include "Lib_FrmCons3Tree.h"

namespace {

// One catalogue record as another writer may leave it: its table padded with NULs instead of blanks.
void AgregaRegistro(const QString& ruta, const QString& tabla, const QString& campos) {
    QByteArray r = ACp1252(QStringLiteral("PRUEBA")).leftJustified(100, ' ');
    r += ACp1252(tabla).leftJustified(100, '\0');
    r += ACp1252(campos).leftJustified(500, ' ');
    r += QByteArray(500, ' ') + "\r\n";
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(r);
}

class Sentencias : public ConConsultas {
  protected:
    // Runs a list lookup and returns the statement the window loaded (with the blank its load appends).
    QString Busca(const QString& sql, QString& campo, QString& where, int* filas = nullptr) {
        Lib_ClsCons3 c(cfg());
        c.gUsarMascarasConsultas = catalogo;
        c.gRutaMascaraConsultas = Ruta("consultas.tkw");
        QString recibida;
        guion.AlMostrar([&](QDialog& d) {
            auto& w = dynamic_cast<Lib_FrmCons3&>(d);
            recibida = w.SQL;
            if (filas) *filas = w.Modelo->rowCount();
            w.CmdCancelar_Click();
        });
        QStringList* cmps = nullptr;
        c.ConsultaSearch(sql, cmps, QString(), campo, where);
        return recibida;
    }
    bool catalogo = true;
};

TEST_F(Sentencias, ConstruyeLaBusquedaDesdeElCatalogoOLaTabla) {
    EscribeCatalogo(Ruta("consultas.tkw"));
    struct Caso {
        bool catalogo;
        const char* top;
        const char* sql;
        const char* where;
        const char* esperada;
        const char* whereFinal;
        const char* campo;
    };
    const Caso casos[] = {
        {true, nullptr, "VT_CLIENTES", "",
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES  with(nolock)  WHERE Dada_De_Baja = 0 ORDER BY "
         "RAZON_SOCIAL ",
         "", "RAZON_SOCIAL"},
        {true, nullptr, "VT_CLIENTES", "CODIGO > 5",
         "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES  with(nolock)  WHERE  (CODIGO > 5)  ORDER BY "
         "RAZON_SOCIAL ",
         " (CODIGO > 5) ", "RAZON_SOCIAL"},
        {true, nullptr, "V_MA_ARTICULOS", "",
         "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
         "DESCRIPCION ",
         "", "DESCRIPCION"},
        {true, "250 filas", "V_MA_ARTICULOS", "",
         "SELECT TOP 250 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY "
         "DESCRIPCION ",
         "", "DESCRIPCION"},
        {true, nullptr, "TA_CCOSTO", "", "SELECT TOP 1000 Descripcion,Codigo FROM TA_CCOSTO  ORDER BY Descripcion ", "",
         "Descripcion"},  // not in the catalogue: built from the table
        {false, nullptr, "V_TA_DEPOSITO", "",
         "SELECT TOP 1000 Descripcion,IdDeposito,UnidadNegocio FROM V_TA_DEPOSITO  ORDER BY IDDEPOSITO ", "",
         "IDDEPOSITO"},
        {false, nullptr, "MA_CUENTAS", "Imputable = 1",
         "SELECT TOP 1000 Imputable,Descripcion,Codigo FROM MA_CUENTAS WHERE   (Imputable = 1)  ORDER BY Descripcion ",
         " (Imputable = 1) ", "Descripcion"},
        {true, nullptr, "select IDARTICULO from V_MA_ARTICULOS order by 1", "",
         "select IDARTICULO from VT_MA_ARTICULOS order by 1 ", "", ""},
    };
    for (const Caso& k : casos) {
        ajustes.clear();
        if (k.top) ajustes["TopConsArt"] = k.top;
        catalogo = k.catalogo;
        QString campo, where = QString::fromUtf8(k.where);
        int filas = 0;
        EXPECT_EQ(Busca(k.sql, campo, where, &filas), QString::fromUtf8(k.esperada)) << k.sql;
        EXPECT_EQ(where, QString::fromUtf8(k.whereFinal)) << k.sql;
        EXPECT_EQ(campo, QString::fromUtf8(k.campo)) << k.sql;
        EXPECT_GT(filas, 0) << k.sql;  // the statement ran on the database
    }
}

TEST_F(Sentencias, UnaSolaColumnaSinOrdenPideConfigurarLaConsulta) {
    AgregaRegistro(Ruta("consultas.tkw"), "MA_CUENTAS", "|DESCRIPCION|");
    Lib_ClsCons3 c(cfg());
    c.gUsarMascarasConsultas = true;
    c.gRutaMascaraConsultas = Ruta("consultas.tkw");
    c.CampoDevuelto = "CODIGO";
    guion.Responde(Respuesta::OK);
    QStringList lista{"CODIGO"};
    QStringList* cmps = &lista;
    QString campo, where;
    c.ConsultaSearch("MA_CUENTAS", cmps, QString(), campo, where);
    ASSERT_EQ(guion.Cajas().size(), 1u);
    EXPECT_EQ(guion.Cajas()[0].texto, "Debe configurar la consulta para esta tabla");
    EXPECT_EQ(guion.Cajas()[0].estilo, Estilo::Information);
    EXPECT_EQ(guion.Cajas()[0].titulo, "Aviso al operador");
    EXPECT_EQ(c.CampoDevuelto, "CODIGO");  // no window, no clean-up

    // With the caller's ordering column the same record (table padded with NULs) gives its statement.
    campo = "DESCRIPCION";
    EXPECT_EQ(Busca("MA_CUENTAS", campo, where),
              "SELECT TOP 1000 DESCRIPCION FROM MA_CUENTAS  with(nolock)  ORDER BY DESCRIPCION ");
}

TEST_F(Sentencias, DevuelveLoElegidoYLimpiaAlTerminar) {
    Lib_ClsCons3 c(cfg());
    c.gUsarMascarasConsultas = false;
    c.CampoDevuelto = "Codigo";
    c.Checks = false;
    guion.AlMostrar([](QDialog& d) {
        auto& w = dynamic_cast<Lib_FrmCons3&>(d);
        w.CmbSearch[1]->setEditText("Banco");
        w.CmdAceptar_Click();
    });
    QStringList lista{"Descripcion"};
    QStringList* cmps = &lista;
    QString campo, where;
    c.ConsultaSearch("MA_CUENTAS", cmps, QString(), campo, where);
    EXPECT_EQ(c.ValorDevuelto.ATexto(), "1102");
    EXPECT_EQ(c.Valores, QList<Variant>{Variant("Banco cuenta corriente")});
    EXPECT_TRUE(c.CampoDevuelto.isEmpty());
    EXPECT_EQ(cmps, nullptr);
    EXPECT_TRUE(lista.isEmpty());
}

TEST_F(Sentencias, MenuYListaDeOpciones) {
    Lib_ClsCons3 c(cfg());
    guion.AlMostrar([](QDialog& d) {
        auto& w = dynamic_cast<Lib_FrmCons3&>(d);
        EXPECT_EQ(w.width(), ui().Twips(600));  // 120 twips for each of the five letters of the title
        EXPECT_TRUE(w.CmdNueva->isHidden());
        ASSERT_EQ(w.Modelo->rowCount(), 2);
        w.ListView1->setCurrentIndex(w.Modelo->index(1, 0));
        w.CmdAceptar_Click();
    });
    EXPECT_EQ(c.MenuOpciones("Color", {"Rojo", "Azul"}), "Azul");

    guion.AlMostrar([](QDialog& d) {
        auto& w = dynamic_cast<Lib_FrmCons3&>(d);
        ASSERT_EQ(w.Modelo->rowCount(), 2);
        EXPECT_EQ(w.Modelo->Texto(0, 0), "Uno");
        EXPECT_EQ(w.Modelo->Marca(0), Qt::Checked);
        EXPECT_EQ(w.Modelo->Texto(1, 0), "Dos");
        EXPECT_EQ(w.Modelo->Marca(1), Qt::Unchecked);
        w.CmdAceptar_Click();
    });
    EXPECT_EQ(c.CheckOpciones("Opciones", nullptr, {"1Uno", "0Dos"}), "");
    EXPECT_EQ(c.Valores, QList<Variant>{Variant("Uno")});
}

}  // namespace
