// Process services over Qt.
#include "Proceso.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>
#include <optional>

#include <pwd.h>
#include <unistd.h>

#include "ErrorEjecucion.h"

namespace {
Proceso* gInstalado = nullptr;
std::optional<QStringList> gArgumentos;

// Splits a command line at blanks outside double quotes.
QStringList Palabras(const QString& linea) {
    QStringList r;
    QString actual;
    bool comillas = false;
    for (QChar c : linea) {
        if (c == QLatin1Char('"')) {
            comillas = !comillas;
        } else if (c == QLatin1Char(' ') && !comillas) {
            if (!actual.isEmpty()) r << actual;
            actual.clear();
        } else {
            actual += c;
        }
    }
    if (!actual.isEmpty()) r << actual;
    return r;
}
}  // namespace

QString ProcesoSistema::CarpetaPrograma() const {
    return QCoreApplication::applicationDirPath();
}

QString ProcesoSistema::NombreEjecutable() const {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString ProcesoSistema::LineaComandos() const {
    if (gArgumentos) return gArgumentos->join(QLatin1Char(' '));
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty()) args.removeFirst();
    return args.join(QLatin1Char(' '));
}

QString ProcesoSistema::NombreMaquina() const {
    return QSysInfo::machineHostName();
}

QString ProcesoSistema::UsuarioMaquina() const {
    auto env = QProcessEnvironment::systemEnvironment();
    QString u = env.value(QStringLiteral("USER"));
    if (u.isEmpty()) u = env.value(QStringLiteral("USERNAME"));
    if (u.isEmpty()) u = env.value(QStringLiteral("LOGNAME"));
    // Started by a service, cron or a bare "env -i": the account the process runs under.
    if (u.isEmpty())
        if (const passwd* cuenta = getpwuid(geteuid()); cuenta && cuenta->pw_name)
            u = QString::fromLocal8Bit(cuenta->pw_name);
    return u;
}

void ProcesoSistema::Inicia(const QString& lineaComandos) {
    // The suite writes the program's path and its arguments unquoted ("<folder>/Tresvane @server=..."), and the
    // folder may hold blanks: as the platform does, the program is the shortest prefix ending at a blank that
    // names an executable file; the words after it are its arguments.
    QStringList palabras = Palabras(lineaComandos);
    if (palabras.isEmpty()) Lanza(Err::ArchivoNoEncontrado);
    qsizetype usadas = 1;
    for (qsizetype n = 1; n <= palabras.size(); ++n) {
        QFileInfo candidato(palabras.mid(0, n).join(QLatin1Char(' ')));
        if (candidato.isFile() && candidato.isExecutable()) {
            usadas = n;
            break;
        }
    }
    const QString programa = palabras.mid(0, usadas).join(QLatin1Char(' '));
    const QStringList argumentos = palabras.mid(usadas);
    qint64 pid = 0;
    if (!QProcess::startDetached(programa, argumentos, {}, &pid)) Lanza(Err::ArchivoNoEncontrado);
}

void ProcesoPrueba::Inicia(const QString& linea) {
    if (fallaAlIniciar) Lanza(Err::ArchivoNoEncontrado);
    iniciados << linea;
}

void FijaArgumentos(int argc, const char* const* argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    gArgumentos = args;
}

Proceso& proceso() {
    static ProcesoSistema sistema;
    return gInstalado ? *gInstalado : sistema;
}

void InstalaProceso(Proceso* p) {
    gInstalado = p;
}
