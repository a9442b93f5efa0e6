// PavenkoCierre as a scheduler runs it, against the demo database in a temporary program folder: the JSON answer,
// the exit code, the access row, the port and speed from Printers.Fis, the trace, and where the start-up ends it.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include "BaseDemo.h"
#include "ImpresoraSimulada.h"
#include "Proceso.h"
#include "Secuencias.h"

namespace {

struct Corrida {
    int codigo = -1;
    QString salida;       // standard output
    QStringList errores;  // standard error, line by line
    QJsonObject Json() const { return QJsonDocument::fromJson(salida.toUtf8()).object(); }
};

class PavenkoCierre : public ConBaseDemo {
  protected:
    void SetUp() override {
        ConBaseDemo::SetUp();
        ASSERT_TRUE(QFile::copy(QStringLiteral(PAVENKO_CIERRE), Ruta("PavenkoCierre")));
        // The device sits at COM2 and 19200, as this workstation's record says: it answers only once the
        // program has handed the record's port and speed to the control.
        EscribeRegistro("COM2", "19200");
        EscribeArchivo("ImpresoraSimulada.json", R"({"version": 1, "puerto": 2, "baud": 19200, "ventana": false})");
    }

    // This workstation's key as the program builds it: the real machine and account names.
    static QString ClaveEstacion() {
        ProcesoSistema sistema;
        return sistema.NombreMaquina() + QStringLiteral("|") + sistema.UsuarioMaquina();
    }
    void EscribeRegistro(const QByteArray& puerto, const QByteArray& baud) {
        auto campo = [](const QByteArray& v, int ancho) { return v.leftJustified(ancho, ' ', true); };
        EscribeArchivo("Printers.Fis", campo(ClaveEstacion().toUtf8(), 254) + campo("EPSON TM-U220AF", 150) +
                                           QByteArray(150, ' ') + campo(puerto, 5) + campo(baud, 5) + campo("8", 3) +
                                           campo("N", 1) + QByteArray(17, ' '));
    }
    void EscribeArchivo(const QString& nombre, const QByteArray& bytes) {
        QFile f(Ruta(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Only what a scheduler's job has: the path, the language, the zone, and the account when the shell has one.
    static QProcessEnvironment Entorno() {
        const QProcessEnvironment sistema = QProcessEnvironment::systemEnvironment();
        QProcessEnvironment e;
        for (const char* v : {"PATH", "LANG", "LC_ALL", "TZ", "USER", "USERNAME", "LOGNAME"})
            if (sistema.contains(QString::fromUtf8(v)))
                e.insert(QString::fromUtf8(v), sistema.value(QString::fromUtf8(v)));
        return e;
    }

    Corrida Ejecuta(const QStringList& argumentos, const QString& traza = {}) {
        QProcess p;
        QProcessEnvironment e = Entorno();
        if (!traza.isEmpty()) e.insert(QStringLiteral("PAVENKO_TRAZA"), traza);
        p.setProcessEnvironment(e);
        p.setWorkingDirectory(QDir::tempPath());
        p.start(Ruta("PavenkoCierre"), argumentos);
        Corrida c;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "PavenkoCierre did not end normally: " << argumentos.join(' ').toStdString() << "\n"
                          << p.readAllStandardError().toStdString();
            p.kill();
            p.waitForFinished();
            return c;
        }
        c.codigo = p.exitCode();
        c.salida = QString::fromUtf8(p.readAllStandardOutput());
        c.errores = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return c;
    }

    QList<QStringList> Accesos() {
        return Filas(
            QStringLiteral("DEMO"),
            QStringLiteral("SELECT Usuario, Formulario, Tarea, NombreUsuario FROM Control_Acceso ORDER BY Id"));
    }
    MemoriaFiscal Memoria() {
        QFile f(Ruta("ImpresoraSimulada.json"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return MemoriaFiscal::DesdeJson(f.readAll()).value_or(MemoriaFiscal{});
    }
    QList<QJsonObject> Traza(const QString& archivo) {
        QList<QJsonObject> lineas;
        QFile f(archivo);
        if (!f.open(QIODevice::ReadOnly)) return lineas;
        for (const QByteArray& l : f.readAll().split('\n'))
            if (!l.isEmpty()) lineas << QJsonDocument::fromJson(l).object();
        return lineas;
    }
    static quint16 Palabra(const QJsonValue& estado) { return estado.toString().left(4).toUShort(nullptr, 16); }
};

const QString kClaves[] = {
    QStringLiteral("action"),          QStringLiteral("result"),          QStringLiteral("Estado1"),
    QStringLiteral("Estado2"),         QStringLiteral("CampoRespuesta1"), QStringLiteral("CampoRespuesta2"),
    QStringLiteral("CampoRespuesta3"), QStringLiteral("CampoRespuesta4"), QStringLiteral("CampoRespuesta5"),
    QStringLiteral("CampoRespuesta6"), QStringLiteral("CampoRespuesta7"), QStringLiteral("CampoRespuesta8")};

}  // namespace

TEST_F(PavenkoCierre, CadaAccionLlamaAlControlYRespondeConSuJsonSuCodigoYSuFilaDeAcceso) {
    struct Caso {
        QStringList argumentos;
        const char* accion;
        QJsonArray enviados;  // the call's arguments as the trace shows them
        const char* contador;
    };
    const QString demo = ParametrosDemo();
    const Caso casos[] = {
        {{QStringLiteral("X"), demo}, "X", {"X", "P"}, "x"},
        {{QStringLiteral("Z"), demo}, "Z", {"Z"}, "z"},
        {{QStringLiteral("estado"), demo}, "ESTADO", {}, nullptr},
        // The parameter text as separate words, some of which look like options of Qt: they are the text's.
        {QStringList{QStringLiteral("Z")} + demo.split(QLatin1Char(' ')) +
             QStringList{QStringLiteral("-reverse"), QStringLiteral("-platform"), QStringLiteral("nada")},
         "Z",
         {"Z"},
         "z"},
    };
    int filas = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.argumentos.join(' ').toStdString());
        const QString traza = Ruta("traza.jsonl");
        QFile::remove(traza);
        const MemoriaFiscal antes = Memoria();
        const Corrida r = Ejecuta(c.argumentos, traza);

        EXPECT_EQ(r.codigo, 0);
        EXPECT_TRUE(r.errores.isEmpty()) << r.errores.join('\n').toStdString();
        // One JSON object, one line, its keys in the order a reader expects.
        EXPECT_EQ(r.salida.count(QLatin1Char('\n')), 1);
        const QJsonObject json = r.Json();
        EXPECT_EQ(json.keys().size(), std::size(kClaves));
        for (const QString& k : kClaves) EXPECT_TRUE(json.contains(k)) << k.toStdString();
        EXPECT_LT(r.salida.indexOf("\"action\""), r.salida.indexOf("\"result\""));
        EXPECT_LT(r.salida.indexOf("\"Estado2\""), r.salida.indexOf("\"CampoRespuesta1\""));
        EXPECT_EQ(json.value("action").toString(), QString::fromUtf8(c.accion));
        EXPECT_EQ(json.value("result"), QJsonValue(true));

        // The trace: the record's port and speed written, then the one call; the answer's status is the call's.
        const QList<QJsonObject> t = Traza(traza);
        ASSERT_EQ(t.size(), 3);
        EXPECT_EQ(t[0].value("op").toString(), "Puerto");
        EXPECT_EQ(t[0].value("value").toInt(), 2);
        EXPECT_EQ(t[1].value("op").toString(), "Baud");
        EXPECT_EQ(t[1].value("value").toString(), "19200");
        EXPECT_EQ(t[2].value("op").toString(), c.contador ? "RealizarCierre" : "VerEstado");
        EXPECT_EQ(t[2].value("args").toArray(), c.enviados);
        EXPECT_EQ(t[2].value("result"), QJsonValue(true));
        EXPECT_EQ(json.value("Estado1"), t[2].value("estado1"));
        EXPECT_EQ(json.value("Estado2"), t[2].value("estado2"));

        // What the device keeps: a close adds one to its counter and answers with that number; the status gives
        // the Z counter and the port and speed it was reached at.
        const MemoriaFiscal despues = Memoria();
        if (c.contador) {
            EXPECT_EQ(despues.numeros.value(c.contador), antes.numeros.value(c.contador) + 1);
            EXPECT_EQ(json.value("CampoRespuesta1").toString(), QString::number(despues.numeros.value(c.contador)));
        } else {
            EXPECT_EQ(despues.numeros, antes.numeros);
            EXPECT_EQ(json.value("CampoRespuesta6").toString(), QString::number(despues.numeros.value("z")));
            EXPECT_EQ(json.value("CampoRespuesta8").toString(), "COM2 19200");
        }

        // One access row per run, under the name the menu knows.
        const QList<QStringList> accesos = Accesos();
        ASSERT_EQ(accesos.size(), ++filas);
        EXPECT_EQ(accesos.last(), (QStringList{"CAJERO", "PAVENKO", "CONSOLA DE IMPRESORA FISCAL", "CAJERO"}));
    }
}

TEST_F(PavenkoCierre, ElControlQueRechazaDaUnoConSuEstado) {
    // A ticket left open by the window's program: the Z close does not fit and the device says why.
    {
        ImpresoraSimulada abierta;
        abierta.Puerto(2);
        abierta.Baud(QStringLiteral("19200"));
        ASSERT_TRUE(abierta.TiqueAbrir(QStringLiteral("G")));
    }
    const MemoriaFiscal antes = Memoria();
    const Corrida r = Ejecuta({QStringLiteral("Z"), ParametrosDemo()});
    EXPECT_EQ(r.codigo, 1);
    const QJsonObject json = r.Json();
    EXPECT_EQ(json.value("action").toString(), "Z");
    EXPECT_EQ(json.value("result"), QJsonValue(false));
    EXPECT_TRUE(Palabra(json.value("Estado2")) & Bit2::TiqueAbierto) << json.value("Estado2").toString().toStdString();
    EXPECT_TRUE(Palabra(json.value("Estado2")) & Bit2::FueraDeEstado);
    EXPECT_EQ(Memoria().numeros, antes.numeros);
    EXPECT_EQ(Accesos().size(), 1);

    // A device the record does not reach: every call is refused with a communication status.
    EscribeRegistro("COM3", "19200");
    const Corrida sinPuerto = Ejecuta({QStringLiteral("ESTADO"), ParametrosDemo()});
    EXPECT_EQ(sinPuerto.codigo, 1);
    EXPECT_EQ(sinPuerto.Json().value("result"), QJsonValue(false));
    EXPECT_TRUE(Palabra(sinPuerto.Json().value("Estado1")) & Bit1::SinComunicacion);
}

TEST_F(PavenkoCierre, SinRegistroDeLaEstacionLoDiceYElControlNoResponde) {
    QFile::remove(Ruta("Printers.Fis"));
    const Corrida r = Ejecuta({QStringLiteral("ESTADO"), ParametrosDemo()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Palabra(r.Json().value("Estado1")) & Bit1::SinComunicacion);
    ASSERT_EQ(r.errores.size(), 1);
    EXPECT_TRUE(r.errores[0].contains("Printers.Fis")) << r.errores[0].toStdString();
    EXPECT_TRUE(r.errores[0].contains(ClaveEstacion())) << r.errores[0].toStdString();
}

TEST_F(PavenkoCierre, ElAccesoSeCompruebaComoParaLaVentana) {
    struct Caso {
        const char* usuario;
        int codigo;
        QStringList fila;  // the access row's first fields; empty: no row
    };
    const Caso casos[] = {
        // The database's own user and the supervisor need no task: the task is then the program's name.
        {"DEMO", 0, {"DEMO", "PAVENKO", "PAVENKOCIERRE", "DEMO"}},
        {"supervisor tamarek mc", 0, {"SUPERVISOR TAMAREK MC", "PAVENKO", "PAVENKOCIERRE", "supervisor tamarek mc"}},
        // An operator holding a task that launches PAVENKO.
        {"TECNICO", 0, {"TECNICO", "PAVENKO"}},
        // One without: refused, never exempt although run by a scheduler.
        {"INVITADO", 2, {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.usuario);
        const QString traza = Ruta("traza.jsonl");
        QFile::remove(traza);
        const qsizetype filas = Accesos().size();
        const Corrida r = Ejecuta({QStringLiteral("Z"), ParametrosDemo(QString::fromUtf8(c.usuario))}, traza);
        EXPECT_EQ(r.codigo, c.codigo);
        const QList<QStringList> accesos = Accesos();
        if (c.fila.isEmpty()) {
            // The refusal's box as one line, the program's own last word, and nothing else happened.
            EXPECT_EQ(accesos.size(), filas);
            EXPECT_EQ(
                r.errores,
                (QStringList{"ATENCION!: NO TIENE ACCESO A ESTE PROCESO, UTILICE EL MENU CORRESPONDIENTE!!!",
                             QString::fromUtf8("PavenkoCierre: acceso rechazado; nada se envió a la impresora")}));
            EXPECT_TRUE(r.salida.isEmpty());
            EXPECT_FALSE(QFile::exists(traza));
        } else {
            ASSERT_EQ(accesos.size(), filas + 1);
            EXPECT_EQ(accesos.last().mid(0, c.fila.size()), c.fila);
            EXPECT_EQ(r.Json().value("result"), QJsonValue(true));
        }
    }
}

TEST_F(PavenkoCierre, SinConexionTerminaConDosYElMensajeEnUnaLinea) {
    struct Caso {
        const char* parametros;
        const char* mensaje;  // the connection's box, when there is one
    };
    const Caso casos[] = {
        {"@Server=DEMOSRV; @DbName=NOEXISTE; @Usuario=CAJERO; @Password=demo; @Caja=1;veld@",
         " Error de Conexion a Base de Datos:  Estado de Sql: "},
        // Without server or user the window would ask for them: nobody is here to fill the dialog.
        {"@Server=DEMOSRV; @DbName=DEMO; @Caja=1;veld@", nullptr},
        {"", nullptr},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.parametros);
        const Corrida r = Ejecuta({QStringLiteral("Z"), QString::fromUtf8(c.parametros)}, Ruta("traza.jsonl"));
        EXPECT_EQ(r.codigo, 2);
        EXPECT_TRUE(r.salida.isEmpty());
        ASSERT_FALSE(r.errores.isEmpty());
        if (c.mensaje) {
            // The box's several lines, its question and the answer nobody present gives, on one line.
            ASSERT_EQ(r.errores.size(), 2) << r.errores.join('\n').toStdString();
            EXPECT_TRUE(r.errores[0].startsWith(QString::fromUtf8(c.mensaje))) << r.errores[0].toStdString();
            EXPECT_TRUE(r.errores[0].contains(" / Numero de Error: ")) << r.errores[0].toStdString();
            EXPECT_TRUE(r.errores[0].contains("NOEXISTE")) << r.errores[0].toStdString();
            EXPECT_TRUE(r.errores[0].endsWith(" - Desea Intentarlo Nuevamente???  -> No"))
                << r.errores[0].toStdString();
        }
        EXPECT_EQ(r.errores.last(),
                  QString::fromUtf8("PavenkoCierre: sin conexión a la base de datos; nada se envió a la impresora"));
        EXPECT_TRUE(Accesos().isEmpty());
        EXPECT_FALSE(QFile::exists(Ruta("traza.jsonl")));
    }
}

TEST_F(PavenkoCierre, LineaNoEntendidaTerminaConTresYElUso) {
    const QString demo = ParametrosDemo();
    const QStringList casos[] = {
        {}, {QStringLiteral("W"), demo}, {QStringLiteral("CIERRE"), demo}, {QString(), demo}, {demo},
    };
    for (const QStringList& argumentos : casos) {
        SCOPED_TRACE(argumentos.join(' ').toStdString());
        const Corrida r = Ejecuta(argumentos);
        EXPECT_EQ(r.codigo, 3);
        EXPECT_TRUE(r.salida.isEmpty());
        ASSERT_FALSE(r.errores.isEmpty());
        EXPECT_TRUE(r.errores[0].startsWith("Uso: PavenkoCierre X|Z|ESTADO ")) << r.errores[0].toStdString();
        EXPECT_TRUE(Accesos().isEmpty());
    }
}

// The window's program and a scheduled close on one device: each command takes the memory afresh under the device's
// lock, so neither writes an old copy back over the other's documents.
TEST_F(PavenkoCierre, DosProgramasEnUnDispositivoNoPierdenDocumentos) {
    ImpresoraSimulada impresora;
    impresora.Puerto(2);
    impresora.Baud(QStringLiteral("19200"));
    const int zInicial = Memoria().numeros.value("z");

    QList<int> tiques;         // the numbers of the tickets the device accepted
    QList<int> zetas;          // the numbers of the Z closes it accepted
    int documentosDelDia = 0;  // the fiscal documents each accepted Z reported
    int corridas = 0;
    QProcess cierre;
    cierre.setProcessEnvironment(Entorno());
    auto recoge = [&] {
        EXPECT_EQ(cierre.exitStatus(), QProcess::NormalExit);
        const QJsonObject json = QJsonDocument::fromJson(cierre.readAllStandardOutput()).object();
        // Refused only because a ticket was open at that moment, or because the device was busy.
        EXPECT_EQ(cierre.exitCode(), json.value("result").toBool() ? 0 : 1)
            << cierre.readAllStandardError().toStdString();
        if (json.value("result").toBool()) {
            zetas << json.value("CampoRespuesta1").toString().toInt();
            documentosDelDia += json.value("CampoRespuesta2").toString().toInt();
        }
    };
    // About eighty tickets of five commands each, by the window's sequence, while Z closes run one after another.
    int intentos = 0;
    while (intentos < 80 || corridas < 3) {
        if (cierre.state() == QProcess::NotRunning) {
            if (corridas > 0) recoge();
            cierre.start(Ruta("PavenkoCierre"), {QStringLiteral("Z"), ParametrosDemo()});
            ASSERT_TRUE(cierre.waitForStarted());
            ++corridas;
        }
        if (intentos < 80) {
            ++intentos;
            if (EjecutaSecuencia(0, impresora))
                tiques << impresora.CampoRespuesta1().toInt();
            else
                impresora.TiqueCerrar();  // a ticket the sequence left open is cancelled, as an operator would
        }
        // A short pause between tickets leaves the close a moment with no document open.
        cierre.waitForFinished(intentos < 80 ? 20 : 60000);
    }
    cierre.waitForFinished(60000);
    recoge();

    // Numbers only go forward, and every accepted ticket is in the memory and on the roll once.
    for (qsizetype i = 1; i < tiques.size(); ++i) EXPECT_LT(tiques[i - 1], tiques[i]);
    for (qsizetype i = 1; i < zetas.size(); ++i) EXPECT_LT(zetas[i - 1], zetas[i]);
    const MemoriaFiscal m = Memoria();
    EXPECT_EQ(m.numeros.value("z"), zInicial + zetas.size());
    ASSERT_FALSE(tiques.isEmpty());
    EXPECT_GE(m.numeros.value("tique"), tiques.last());
    EXPECT_EQ(documentosDelDia + m.diarios.Fiscales(), tiques.size());
    QFile rollo(Ruta("ImpresoraSimulada.txt"));
    ASSERT_TRUE(rollo.open(QIODevice::ReadOnly));
    const QStringList lineas = QString::fromUtf8(rollo.readAll()).split(QLatin1Char('\n'));
    for (int numero : tiques) {
        const QRegularExpression tique(QStringLiteral("^\\s*TIQUE Nro \\d{4}-0*%1\\s*$").arg(numero));
        // Its heading and its closing line.
        EXPECT_EQ(lineas.filter(tique).size(), 2) << numero;
    }
}
