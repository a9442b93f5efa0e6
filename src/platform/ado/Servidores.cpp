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

// A value inside an ODBC string: one holding a separator is braced, so that a password such as "a;Driver=x"
// stays a password.
QString ValorOdbc(const QString& valor) {
    if (!valor.contains(u';') && !valor.contains(u'{') && !valor.contains(u'}') && !valor.contains(u'=') &&
        valor.trimmed() == valor)
        return valor;
    return QLatin1Char('{') + QString(valor).replace(QStringLiteral("}"), QStringLiteral("}}")) + QLatin1Char('}');
}

QString Completa(QString plantilla, const Destino& d) {
    plantilla.replace(QStringLiteral("{servidor}"), ValorOdbc(d.servidor), Qt::CaseInsensitive);
    plantilla.replace(QStringLiteral("{base}"), ValorOdbc(d.base), Qt::CaseInsensitive);
    plantilla.replace(QStringLiteral("{usuario}"), ValorOdbc(d.usuario), Qt::CaseInsensitive);
    plantilla.replace(QStringLiteral("{clave}"), ValorOdbc(d.clave), Qt::CaseInsensitive);
    return plantilla;
}

// A server without a section of its own is a real server reached through ODBC.
const char* const kCadenaSqlServer =
    "Driver=FreeTDS;Server={servidor};Port=1433;Database={base};UID={usuario};PWD={clave};TDS_Version=7.3;"
    "ClientCharset=UTF-8;";
const char* const kCadenaOracle = "Driver=Oracle;DBQ={base};UID={usuario};PWD={clave};";

}  // namespace

QMap<QString, QString> LeeCadena(const QString& cadena) {
    // key=value pairs separated by ";"; a value may be quoted with " or ' (the quote doubled inside) or braced.
    QMap<QString, QString> pares;
    qsizetype i = 0;
    const qsizetype n = cadena.size();
    while (i < n) {
        const qsizetype igual = cadena.indexOf(u'=', i);
        const qsizetype puntoYComa = cadena.indexOf(u';', i);
        if (igual < 0 || (puntoYComa >= 0 && puntoYComa < igual)) {
            if (puntoYComa < 0) break;
            i = puntoYComa + 1;
            continue;
        }
        const QString clave = cadena.mid(i, igual - i).trimmed().toLower();
        qsizetype j = igual + 1;
        while (j < n && cadena[j] == u' ') ++j;
        QString valor;
        const QChar apertura = j < n ? cadena[j] : QChar();
        if (apertura == u'"' || apertura == u'\'' || apertura == u'{') {
            const QChar cierre = apertura == u'{' ? QChar(u'}') : apertura;
            for (++j; j < n; ++j) {
                if (cadena[j] == cierre) {
                    if (j + 1 < n && cadena[j + 1] == cierre) {
                        valor += cierre;
                        ++j;
                        continue;
                    }
                    ++j;
                    break;
                }
                valor += cadena[j];
            }
            const qsizetype fin = cadena.indexOf(u';', j);
            i = fin < 0 ? n : fin + 1;
        } else {
            const qsizetype fin = cadena.indexOf(u';', j);
            valor = cadena.mid(j, (fin < 0 ? n : fin) - j).trimmed();
            i = fin < 0 ? n : fin + 1;
        }
        if (!clave.isEmpty()) pares.insert(clave, valor);
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
    // Values that hold a separator or a quote are quoted, so that the string reads back the same.
    auto v = [](const QString& valor) {
        if (!valor.contains(u';') && !valor.contains(u'"') && !valor.contains(u'\'') && valor.trimmed() == valor)
            return valor;
        return QLatin1Char('"') + QString(valor).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    };
    switch (d.dialecto) {
        case Destino::Dialecto::Access:
            return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=%1;Password=%2;Data Source=%3;")
                .arg(v(d.usuario), v(d.clave), v(d.archivo));
        case Destino::Dialecto::Oracle:
            return QStringLiteral("Provider=OraOLEDB.Oracle.1;Password=%1;User ID=%2;Data Source=%3;")
                .arg(v(d.clave), v(d.usuario), v(d.servidor));
        case Destino::Dialecto::Odbc:
            return QStringLiteral("Provider=MSDASQL.1;") + d.cadenaOdbc;
        default:
            return QStringLiteral("Provider=SQLOLEDB.1;Password=%1;User ID=%2;Initial Catalog=%3;Data Source=%4;")
                .arg(v(d.clave), v(d.usuario), v(baseActual), v(d.servidor));
    }
}

QString NlsLangUnicode(const QString& actual) {
    // LANGUAGE_TERRITORY.CHARSET, each part optional.
    const QString idioma = actual.section(QLatin1Char('.'), 0, 0).trimmed();
    return idioma + QStringLiteral(".AL32UTF8");
}
