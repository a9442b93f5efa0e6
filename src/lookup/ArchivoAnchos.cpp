// Reading and rewriting of CONSULTASLEN.TKW, the per-table column widths of the list lookup window.
#include "ArchivoAnchos.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <filesystem>

#include "ErrorEjecucion.h"
#include "Numeros.h"
#include "Texto.h"

namespace {

const QString kArchivoAnchos = QStringLiteral("CONSULTASLEN.TKW");
const QString kArchivoAux = QStringLiteral("CONSULTASLEN.AUX");

// The two quoted fields of a widths line: "TABLA","1815|2400|".
std::pair<QString, QString> CamposLinea(const QString& linea) {
    const QStringList partes = linea.split(QLatin1Char('"'));
    if (partes.size() < 5) Lanza(Err::PasaDelFinal);
    return {partes[1], partes[3]};
}

}  // namespace

QString RutaAnchos(const QString& carpeta) {
    return carpeta + kArchivoAnchos;
}

QList<QStringList> LeeAnchos(const QString& carpeta, const QString& tabla) {
    QList<QStringList> lineas;
    QFile archivo(RutaAnchos(carpeta));
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) return lineas;
    try {
        QTextStream entrada(&archivo);
        while (!entrada.atEnd()) {
            const QString linea = entrada.readLine();
            if (linea.isEmpty()) continue;
            auto [nombre, anchos] = CamposLinea(linea);
            if (!IgualesTexto(nombre, tabla)) continue;
            QStringList textos;
            while (Instr(anchos, QStringLiteral("|")) > 0) {
                const int barra = Instr(anchos, QStringLiteral("|"));
                textos << anchos.left(barra - 1);
                anchos = anchos.mid(barra);
            }
            lineas << textos;
        }
    } catch (const ErrorEjecucion&) {
    }
    archivo.close();
    return lineas;
}

void GrabaAnchos(const QString& carpeta, const QString& tabla, const QList<double>& anchos) {
    const QString ruta = carpeta + kArchivoAnchos;
    const QString aux = carpeta + kArchivoAux;
    // The other tables' lines, then this one. A damaged line (a file cut short, edited by hand) is dropped: it
    // could never be read back, and it must not cost the operator the widths of every table.
    QByteArray texto;
    QFile archivo(ruta);
    if (archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream entrada(&archivo);
        while (!entrada.atEnd()) {
            const QString linea = entrada.readLine();
            if (linea.isEmpty()) continue;
            try {
                auto [nombre, suyos] = CamposLinea(linea);
                if (!IgualesTexto(nombre, tabla)) texto += ("\"" + nombre + "\",\"" + suyos + "\"\r\n").toLocal8Bit();
            } catch (const ErrorEjecucion&) {
            }
        }
        archivo.close();
    }
    QString linea;
    for (double ancho : anchos) linea += DoubleATexto(ancho) + QStringLiteral("|");
    texto += ("\"" + tabla + "\",\"" + linea + "\"\r\n").toLocal8Bit();
    // Written whole into the temporary file, then renamed over the old one in one move, so a failure never leaves
    // the folder without its widths; whatever fails, the temporary file does not stay behind.
    QFile temporal(aux);
    if (!temporal.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QString error = temporal.errorString();
        if (QFileInfo(aux).isFile()) QFile::remove(aux);
        Lanza(Err::AccesoRuta, error);
    }
    if (temporal.write(texto) != texto.size() || !temporal.flush()) {
        const QString error = temporal.errorString();
        temporal.close();
        QFile::remove(aux);
        Lanza(Err::ErrorES, error);
    }
    temporal.close();
    std::error_code error;
    std::filesystem::rename(aux.toStdString(), ruta.toStdString(), error);
    if (error) {
        QFile::remove(aux);
        Lanza(Err::AccesoRuta, QString::fromStdString(error.message()));
    }
}
