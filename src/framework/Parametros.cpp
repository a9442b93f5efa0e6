// The parameter text and the workstation values.
#include "Parametros.h"

#include "Numeros.h"
#include "Proceso.h"
#include "Texto.h"
#include "TkPrint2.h"

namespace {
// Whether, from position desde (counting from 1), the text holds optional blanks and then "=".
bool SigueIgual(const QString& texto, int desde) {
    qsizetype i = desde - 1;
    while (i < texto.size() && texto.at(i) == QLatin1Char(' ')) ++i;
    return i < texto.size() && texto.at(i) == QLatin1Char('=');
}
}  // namespace

QString EligeParametros(bool usaIni, const QString& parametros) {
    // 1. The argument, else the command line.
    QString texto = parametros.isEmpty() ? proceso().LineaComandos() : parametros;
    // 2. Blank and allowed: composed from the settings file.
    if (Recorta(texto).isEmpty() && usaIni) texto = ParametrosDesdeIni();
    return texto;
}

QString ParametrosDesdeIni() {
    const QString seccion = SeccionBaseDeDatos();
    // 1. Server and database, empty by default.
    QString servidor = LeeIni(kArchivoIni, seccion, QStringLiteral("Servidor"), QString());
    QString base = LeeIni(kArchivoIni, seccion, QStringLiteral("DbName"), QString());
    // 2. User and password are stored enciphered; a missing key deciphers to the suite's defaults.
    QString usuario =
        Desencripta(LeeIni(kArchivoIni, seccion, QStringLiteral("Usuario"), Encripta(QStringLiteral("Tamarek"))));
    QString clave =
        Desencripta(LeeIni(kArchivoIni, seccion, QStringLiteral("UserPassWord"), Encripta(QStringLiteral("quillet"))));
    // 3. A "|" would break the section names of the programs this text is handed to.
    const QString barra = QStringLiteral("|");
    servidor = QuitaCaracteres(servidor, barra);
    base = QuitaCaracteres(base, barra);
    usuario = QuitaCaracteres(usuario, barra);
    clave = QuitaCaracteres(clave, barra);
    // 4.
    return QStringLiteral("@server=") + servidor + QStringLiteral("; @dbname= ") + base +
           QStringLiteral("; @usuario= ") + usuario + QStringLiteral("; @Password= ") + clave +
           QStringLiteral("; @ParametroAdicional=; @Caja=1;veld@");
}

QString ExtraeParametro(const QString& texto, const QString& clave, const QString& predeterminado) {
    // 1. The first occurrence of the key as a whole key: its text, optional blanks, "=". So "@Usuario" is never
    //    read from inside "@UsuarioLogeado".
    int posicion = Instr(texto, clave);
    while (posicion > 0 && !SigueIgual(texto, posicion + clave.size())) posicion = Instr(texto, clave, posicion + 1);
    if (posicion == 0) return predeterminado;
    // 2. The value runs from the end of the key to the next ";". With none, Medio refuses the negative length,
    //    except for the additional parameter, which may stand last without its ";".
    const int fin = Instr(texto, QStringLiteral(";"), posicion);
    std::optional<int> largo = fin - clave.size() - posicion;
    if (fin == 0 && IgualesTexto(clave, QStringLiteral("@ParametroAdicional"))) largo = std::nullopt;
    // 3. Without "=" and trimmed.
    return Recorta(QuitaCaracteres(Medio(texto, posicion + clave.size(), largo), QStringLiteral("=")));
}

QString LimpiaServidor(const QString& servidor) {
    QString limpio = servidor;
    // 1. A protocol prefix goes.
    if (int barra = Instr(limpio, QStringLiteral("/")); barra > 0) limpio = Medio(limpio, barra + 1);
    // 2. So does a port.
    if (int puerto = Instr(limpio, QStringLiteral(":")); puerto > 0) limpio = Izquierda(limpio, puerto - 1);
    return limpio;
}

QString CadenaOracle(const QString& base, const QString& usuario, const QString& clave) {
    return QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + base + QStringLiteral(";User Id=") + usuario +
           QStringLiteral(";Password=") + clave + QStringLiteral(";");
}

QString ClavePuesto() {
    QString clave = Mayus(NombreMaquina()) + QStringLiteral("|") + Mayus(UsuarioMaquina());
    if (Recorta(clave).size() > 50) clave = Izquierda(clave, 50);
    return clave;
}

QString SeccionBaseDeDatos() {
    return Mayus(NombreMaquina()) + QStringLiteral("|") + Mayus(UsuarioMaquina()) + QStringLiteral("BaseDeDatos");
}

double LeeFlatToolbars(const QString& clavePuesto) {
    return Val(LeeIni(kArchivoIni, clavePuesto, QStringLiteral("FlatToolbars"), QStringLiteral("1")));
}
