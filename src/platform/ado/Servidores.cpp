// Resolution of connection strings: the provider named, the server's section of Servidores.ini, and the
// connection string the connection reports back.
#include "Servidores.h"

#include <QDir>
#include <QFile>

#include "Ado.h"
#include "Cp1252.h"
#include "ErroresSqlite.h"
#include "Proceso.h"
#include "Texto.h"

namespace {

// The keys of one section of an INI file, in lower case; empty when the file or the section is absent.
QMap<QString, QString> LeeSeccion(const QString& archivo, const QString& seccion) {
    QMap<QString, QString> claves;
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly)) return claves;
    bool dentro = false;
    const QStringList lineas = DeCp1252(f.readAll()).split(QLatin1Char('\n'));
    for (QString linea : lineas) {
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(u';')) continue;
        if (linea.startsWith(u'[') && linea.endsWith(u']')) {
            dentro = IgualesTexto(linea.mid(1, linea.size() - 2).trimmed(), seccion.trimmed());
            continue;
        }
        const qsizetype igual = linea.indexOf(u'=');
        if (dentro && igual > 0) claves.insert(linea.left(igual).trimmed().toLower(), linea.mid(igual + 1).trimmed());
    }
    return claves;
}

QString Primero(const QMap<QString, QString>& pares, std::initializer_list<const char*> claves) {
    for (const char* c : claves) {
        auto it = pares.find(QString::fromLatin1(c));
        if (it != pares.end()) return it.value();
    }
    return {};
}

QString Completa(QString plantilla, const Destino& d) {
    plantilla.replace(QStringLiteral("{servidor}"), d.servidor, Qt::CaseInsensitive);
    plantilla.replace(QStringLiteral("{base}"), d.base, Qt::CaseInsensitive);
    plantilla.replace(QStringLiteral("{usuario}"), d.usuario, Qt::CaseInsensitive);
    plantilla.replace(QStringLiteral("{clave}"), d.clave, Qt::CaseInsensitive);
    return plantilla;
}

// A server without a section of its own is a real server reached through ODBC.
const char* const kCadenaSqlServer =
    "Driver=FreeTDS;Server={servidor};Port=1433;Database={base};UID={usuario};PWD={clave};TDS_Version=7.3;"
    "ClientCharset=UTF-8;";
const char* const kCadenaOracle = "Driver=Oracle;DBQ={base};UID={usuario};PWD={clave};";

}  // namespace

QMap<QString, QString> LeeCadena(const QString& cadena) {
    QMap<QString, QString> pares;
    for (const QString& par : cadena.split(QLatin1Char(';'))) {
        const qsizetype igual = par.indexOf(u'=');
        if (igual <= 0) continue;
        QString valor = par.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && (valor.startsWith(u'"') || valor.startsWith(u'\'')) && valor.back() == valor.front())
            valor = valor.mid(1, valor.size() - 2);
        pares.insert(par.left(igual).trimmed().toLower(), valor);
    }
    return pares;
}

Destino ResuelveDestino(const QString& cadena) {
    const QMap<QString, QString> pares = LeeCadena(cadena);
    const QString proveedor = pares.value(QStringLiteral("provider")).toLower();
    Destino d;
    d.usuario = Primero(pares, {"user id", "uid", "user"});
    d.clave = Primero(pares, {"password", "pwd"});

    // 1. The provider decides the dialect and which keys name server and database.
    if (proveedor.startsWith(u"microsoft.jet.oledb") || proveedor.startsWith(u"microsoft.ace.oledb")) {
        d.dialecto = Destino::Dialecto::Access;
        d.archivo = Primero(pares, {"data source"});
        d.origen = Origen::Jet;
        return d;
    }
    if (proveedor.contains(u"oraoledb") || proveedor.contains(u"msdaora")) {
        d.dialecto = Destino::Dialecto::Oracle;
        d.servidor = Primero(pares, {"data source"});
        d.base = d.servidor;
        d.origen = QStringLiteral("OraOLEDB");
    } else if (proveedor.startsWith(u"sqloledb") || proveedor.startsWith(u"sqlncli") ||
               proveedor.startsWith(u"msoledbsql")) {
        d.servidor = Primero(pares, {"server", "data source", "address"});
        d.base = Primero(pares, {"database", "initial catalog"});
        d.origen = Origen::SqlServer;
    } else if (proveedor.isEmpty() || proveedor.startsWith(u"msdasql")) {
        // An ODBC string as it is, without the provider.
        QStringList resto;
        for (const QString& par : cadena.split(QLatin1Char(';')))
            if (!par.trimmed().isEmpty() && !par.trimmed().startsWith(QStringLiteral("provider"), Qt::CaseInsensitive))
                resto.push_back(par.trimmed());
        d.motor = Destino::Motor::Odbc;
        d.dialecto = Destino::Dialecto::Odbc;
        d.cadenaOdbc = resto.join(QLatin1Char(';')) + QLatin1Char(';');
        d.origen = Origen::Odbc;
        return d;
    } else {
        throw ErrorMotor({{3706, QStringLiteral("Provider cannot be found. It may not be properly installed."),
                           QStringLiteral("ADODB.Connection"), QString(), 0}});
    }

    // 2. The server's section of Servidores.ini, letter case ignored.
    const QMap<QString, QString> seccion =
        LeeSeccion(QDir(proceso().CarpetaPrograma()).filePath(QStringLiteral("Servidores.ini")), d.servidor);
    const QString motor = seccion.value(QStringLiteral("motor")).trimmed();
    if (IgualesTexto(motor, QStringLiteral("sqlite"))) {
        const QString carpeta = seccion.value(QStringLiteral("carpeta"));
        d.carpeta = QDir(proceso().CarpetaPrograma()).absoluteFilePath(carpeta);
        return d;
    }
    d.motor = Destino::Motor::Odbc;
    if (IgualesTexto(motor, QStringLiteral("odbc")))
        d.cadenaOdbc = Completa(seccion.value(QStringLiteral("cadena")), d);
    else
        d.cadenaOdbc = Completa(
            QString::fromLatin1(d.dialecto == Destino::Dialecto::Oracle ? kCadenaOracle : kCadenaSqlServer), d);
    return d;
}

QString CadenaDeInforme(const Destino& d, const QString& baseActual) {
    switch (d.dialecto) {
        case Destino::Dialecto::Access:
            return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=%1;Password=%2;Data Source=%3;")
                .arg(d.usuario, d.clave, d.archivo);
        case Destino::Dialecto::Oracle:
            return QStringLiteral("Provider=OraOLEDB.Oracle.1;Password=%1;User ID=%2;Data Source=%3;")
                .arg(d.clave, d.usuario, d.servidor);
        case Destino::Dialecto::Odbc:
            return QStringLiteral("Provider=MSDASQL.1;") + d.cadenaOdbc;
        default:
            return QStringLiteral("Provider=SQLOLEDB.1;Password=%1;User ID=%2;Initial Catalog=%3;Data Source=%4;")
                .arg(d.clave, d.usuario, baseActual, d.servidor);
    }
}
