// Process services over Qt.
#include "Proceso.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>

#include "ErrorEjecucion.h"

namespace {
Proceso* gInstalado = nullptr;

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

Proceso& proceso() {
    static ProcesoSistema sistema;
    return gInstalado ? *gInstalado : sistema;
}

void InstalaProceso(Proceso* p) {
    gInstalado = p;
}
