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
    // The program is the first word; where the suite keeps the folder and the name glued together
    // ("…/Tresvane @server=…"), the first word is the path up to the first blank.
    QStringList palabras = Palabras(lineaComandos);
    if (palabras.isEmpty()) Lanza(Err::ArchivoNoEncontrado);
    QString programa = palabras.takeFirst();
    // The rest of the line is handed over as one text, as the suite's programs read their command line.
    qint64 pid = 0;
    if (!QProcess::startDetached(programa, palabras, {}, &pid)) Lanza(Err::ArchivoNoEncontrado);
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
