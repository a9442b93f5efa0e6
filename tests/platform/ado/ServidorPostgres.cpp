// The private PostgreSQL server of the ODBC tests: initdb, pg_ctl and psql from the installed server's folder.
#include "ServidorPostgres.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

// The newest installed server's programs.
QString CarpetaProgramas() {
    QStringList versiones = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator orden;
    orden.setNumericMode(true);
    std::sort(versiones.begin(), versiones.end(), orden);
    for (auto it = versiones.rbegin(); it != versiones.rend(); ++it) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/") + *it + QStringLiteral("/bin");
        if (QFile::exists(bin + QStringLiteral("/pg_ctl"))) return bin;
    }
    return {};
}

}  // namespace

int PuertoLibre() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in dir{};
    dir.sin_family = AF_INET;
    dir.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    dir.sin_port = 0;
    socklen_t largo = sizeof dir;
    int puerto = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&dir), sizeof dir) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&dir), &largo) == 0)
        puerto = ntohs(dir.sin_port);
    close(s);
    return puerto;
}

ServidorPostgres::ServidorPostgres() : bin_(CarpetaProgramas()) {}

ServidorPostgres::~ServidorPostgres() {
    if (arrancado_) Detiene(QStringLiteral("immediate"));
}

bool ServidorPostgres::Corre(const QString& programa, const QStringList& argumentos, bool comoServidor,
                             QString* salida) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // The server and its tools refuse to run as root: as root they run under the server's own account.
    if (comoServidor && geteuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                       QStringLiteral("--"), bin_ + QLatin1Char('/') + programa} +
                                               argumentos);
    else
        p.start(bin_ + QLatin1Char('/') + programa, argumentos);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        error_ = programa + QStringLiteral(": did not finish");
        return false;
    }
    const QString texto = QString::fromUtf8(p.readAll());
    if (salida) *salida = texto;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error_ = programa + QStringLiteral(": ") + texto;
        return false;
    }
    return true;
}

bool ServidorPostgres::Crea() {
    if (bin_.isEmpty()) {
        error_ = QStringLiteral(
            "PostgreSQL is not installed (/usr/lib/postgresql/*/bin); scripts/bootstrap "
            "installs it");
        return false;
    }
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    // The server's account must reach the folder, which is private to whoever made it.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther |
                                           QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup);
    if (!Corre(QStringLiteral("initdb"),
               {QStringLiteral("-D"), dir_.filePath(QStringLiteral("datos")), QStringLiteral("-U"),
                QStringLiteral("pavenko"), QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
               true))
        return false;
    puerto_ = PuertoLibre();
    if (!Arranca()) return false;
    return Corre(QStringLiteral("createdb"),
                 {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(puerto_),
                  QStringLiteral("-U"), QStringLiteral("pavenko"), QStringLiteral("PRUEBA")},
                 false);
}

bool ServidorPostgres::Arranca() {
    const QString opciones = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                                 .arg(QString::number(puerto_), dir_.path());
    if (!Corre(QStringLiteral("pg_ctl"),
               {QStringLiteral("start"), QStringLiteral("-D"), dir_.filePath(QStringLiteral("datos")),
                QStringLiteral("-w"), QStringLiteral("-l"), dir_.filePath(QStringLiteral("servidor.log")),
                QStringLiteral("-o"), opciones},
               true))
        return false;
    arrancado_ = true;
    return true;
}

bool ServidorPostgres::Detiene(const QString& modo) {
    if (!arrancado_) return true;
    const bool ok = Corre(QStringLiteral("pg_ctl"),
                          {QStringLiteral("stop"), QStringLiteral("-D"), dir_.filePath(QStringLiteral("datos")),
                           QStringLiteral("-m"), modo, QStringLiteral("-w")},
                          true);
    if (ok) arrancado_ = false;
    return ok;
}

bool ServidorPostgres::Psql(const QString& sql, QString* salida) {
    return Corre(
        QStringLiteral("psql"),
        {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(puerto_),
         QStringLiteral("-U"), QStringLiteral("pavenko"), QStringLiteral("-d"), QStringLiteral("PRUEBA"),
         QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-qAt"), QStringLiteral("-c"), sql},
        false, salida);
}

QString ServidorPostgres::CadenaOdbc() const {
    return QStringLiteral(
               "Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=%1;Database={base};UID={usuario};"
               "PWD={clave};")
        .arg(puerto_);
}
