// The trace's lines, byte for byte: a property write, a method with texts, one with integers, a refused call,
// and a write that raises; reads leave no line.
#include <QDir>
#include <QFile>

#include "Impresora.h"
#include "PrinterTraza.h"

using PrinterTrazaTest = ConImpresora;

TEST_F(PrinterTrazaTest, UnaLineaJsonPorLlamada) {
    const QString archivo = Ruta("traza.jsonl");
    qputenv("PAVENKO_TRAZA", archivo.toUtf8());
    ImpresoraSimulada imp;
    PrinterTraza traza(imp);
    qunsetenv("PAVENKO_TRAZA");

    traza.Puerto(1);
    traza.Baud("9600");
    (void)traza.Estado1();
    (void)traza.CampoRespuesta7();
    EXPECT_TRUE(traza.HeaderTrailer("S", qint16(11), QString::fromUtf8("Añejo \"1\"")));
    EXPECT_TRUE(traza.TiqueAbrir("G"));
    EXPECT_FALSE(traza.FormatoHoja(90, 72));
    EXPECT_THROW(traza.Puerto(7), ErrorEjecucion);

    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lineas = QString::fromUtf8(f.readAll()).split('\n');
    const QStringList esperadas = {
        R"({"op":"Puerto","value":1,"estado1":"0001 Sin comunicación: puerto y velocidad sin asignar",)"
        R"("estado2":"0000 Sin respuesta del controlador fiscal"})",
        R"({"op":"Baud","value":"9600","estado1":"0600 Impresora lista","estado2":"0400 Controlador fiscal listo"})",
        R"({"op":"HeaderTrailer","args":["S",11,"Añejo \"1\""],"result":true,"estado1":"0600 Impresora lista",)"
        R"("estado2":"0400 Controlador fiscal listo"})",
        R"({"op":"TiqueAbrir","args":["G"],"result":true,"estado1":"0600 Impresora lista",)"
        R"("estado2":"0410 Tique abierto"})",
        R"({"op":"FormatoHoja","args":[90,72],"result":false,"estado1":"0600 Impresora lista",)"
        R"("estado2":"0411 Comando no válido en el estado actual, Tique abierto"})",
        R"({"op":"Puerto","value":7,"error":{"number":5,"description":"Puerto no válido: 7. Los puertos son COM1 )"
        R"(a COM4"},"estado1":"0600 Impresora lista","estado2":"0411 Comando no válido en el estado actual, )"
        R"(Tique abierto"})",
        "",
    };
    ASSERT_EQ(lineas.size(), esperadas.size());
    for (int i = 0; i < esperadas.size(); ++i) EXPECT_EQ(lineas[i], esperadas[i]) << i;
}

TEST_F(PrinterTrazaTest, SinVariableSoloPasaLasLlamadas) {
    qunsetenv("PAVENKO_TRAZA");
    ImpresoraSimulada imp;
    PrinterTraza traza(imp);
    traza.Puerto(1);
    traza.Baud("9600");
    EXPECT_TRUE(traza.VerEstado());
    EXPECT_EQ(traza.Estado1(), imp.Estado1());
    EXPECT_EQ(QDir(Carpeta()).entryList(QDir::Files),
              QStringList({"ImpresoraSimulada.json", "ImpresoraSimulada.lock"}));
}
