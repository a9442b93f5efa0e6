// The utility library over the platform layers.
#include "TkPrint2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Cp1252.h"
#include "Proceso.h"
#include "Texto.h"
#include "Ui.h"

namespace {
QString gCarpeta;  // the library's own folder, set by FijaCarpeta
}

QString NombreMaquina() {
    return proceso().NombreMaquina();
}
QString UsuarioMaquina() {
    return proceso().UsuarioMaquina();
}

void FijaCarpeta(const QString& carpeta) {
    gCarpeta = carpeta;
}
QString CarpetaFijada() {
    return gCarpeta;
}

QString LeeIni(const QString& archivo, const QString& seccion, const QString& clave, const QString& predeterminado) {
    QString ruta = archivo;
    if (QFileInfo(archivo).isRelative())
        ruta = AgregaSeparador(gCarpeta.isEmpty() ? proceso().CarpetaPrograma() : gCarpeta) + archivo;
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return predeterminado;
    const QStringList lineas = DeCp1252(f.readAll()).split(QLatin1Char('\n'));
    bool enSeccion = false;
    for (QString linea : lineas) {
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char(';'))) continue;
        if (linea.startsWith(QLatin1Char('[')) && linea.endsWith(QLatin1Char(']'))) {
            enSeccion = IgualesTexto(linea.mid(1, linea.size() - 2).trimmed(), seccion);
            continue;
        }
        qsizetype igual = linea.indexOf(QLatin1Char('='));
        if (enSeccion && igual > 0 && IgualesTexto(linea.left(igual).trimmed(), clave))
            return linea.mid(igual + 1).trimmed();
    }
    return predeterminado;
}

QString AgregaSeparador(const QString& carpeta) {
    QString c = carpeta;
    while (c.size() > 1 && (c.endsWith(QLatin1Char('/')) || c.endsWith(QLatin1Char('\\')))) c.chop(1);
    if (c == QLatin1String("/") || c == QLatin1String("\\")) return QStringLiteral("/");
    return c + QLatin1Char('/');
}

QString QuitaCaracteres(const QString& texto, const QString& c1, const QString& c2, const QString& c3) {
    QString r = texto;
    for (const QString& c : {c1, c2, c3})
        if (!c.isEmpty()) r.remove(c, Qt::CaseSensitive);
    return r;
}

QString ReemplazaTexto(const QString& texto, const QString& buscado, const QString& reemplazo) {
    return Reemplaza(texto, buscado, reemplazo);
}

QString CortaTexto(const QString& texto, int largo) {
    return texto.left(qMax(0, largo));
}

int CuentaPalabras(const QString& texto) {
    return static_cast<int>(texto.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

QString PreparaTexto(const QString& texto, std::optional<int> largo) {
    if (largo) return texto.left(qMax(0, *largo));
    QString r = texto;
    while (!r.isEmpty() && (r.endsWith(QLatin1Char(' ')) || r.endsWith(QChar(0)))) r.chop(1);
    return r;
}

void PreparaFormulario(QWidget*, bool) {}

namespace {
// A fixed key stream over UTF-16 code units, written as four hex digits per character.
const char16_t kClave[] = u"Zembrino-TkPrint2";
constexpr int kLargoClave = sizeof(kClave) / sizeof(kClave[0]) - 1;
}  // namespace

QString Encripta(const QString& texto) {
    QString r;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        char16_t c = texto.at(i).unicode() ^ kClave[i % kLargoClave] ^ static_cast<char16_t>(i * 7);
        r += QStringLiteral("%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return r;
}

QString Desencripta(const QString& texto) {
    QString r;
    for (qsizetype i = 0; i + 4 <= texto.size(); i += 4) {
        bool ok = false;
        uint v = texto.mid(i, 4).toUInt(&ok, 16);
        if (!ok) return texto;  // not ours: hand it back as it is
        qsizetype k = i / 4;
        r += QChar(static_cast<char16_t>(v ^ kClave[k % kLargoClave] ^ static_cast<char16_t>(k * 7)));
    }
    return texto.size() % 4 == 0 ? r : texto;
}

Moneda ACurrency(const QString& texto) {
    return TextoAMoneda(texto);
}

Variant ValorSeguro(const Variant& valor) {
    return valor.EsNull() ? Variant(QString()) : valor;
}

int TrataError(const ErrorEjecucion& error, std::optional<int> botones, const QString& rutina) {
    if (error.Number() == 0) return 0;
    QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") + Recorta(QString::number(error.Number())) +
                      QStringLiteral(") ") + Recorta(error.Description());
    QString parte = rutina.isEmpty() ? QString() : QStringLiteral(" - ") + rutina;
    QString titulo = error.Source() + parte + QStringLiteral(" Aviso al operador!!! ");
    return ui().MsgBox(mensaje, botones.value_or(Estilo::AbortRetryIgnore | Estilo::Critical), titulo);
}

void CommonDialog::ShowOpen() {
    auto r = ui().AbreArchivo(DialogTitle, Filter);
    Cancelado = !r.has_value();
    if (r) FileName = *r;
}
