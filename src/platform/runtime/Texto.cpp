// Text operations with the platform's positions and rules.
#include "Texto.h"

#include "ErrorEjecucion.h"

namespace {
bool EsBlanco(QChar c) {
    return c == QLatin1Char(' ');
}
}  // namespace

QString RecortaIzq(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && EsBlanco(s.at(i))) ++i;
    return s.mid(i);
}

QString RecortaDer(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && EsBlanco(s.at(n - 1))) --n;
    return s.left(n);
}

QString Recorta(const QString& s) {
    return RecortaIzq(RecortaDer(s));
}

int Instr(const QString& s, const QString& buscado, int inicio) {
    if (inicio < 1) Lanza(Err::ArgumentoInvalido);
    if (inicio > s.size() + 1) return 0;
    if (buscado.isEmpty()) return inicio;
    qsizetype p = s.indexOf(buscado, inicio - 1, Qt::CaseInsensitive);
    return p < 0 ? 0 : static_cast<int>(p) + 1;
}

int InstrBin(const QString& s, const QString& buscado, int inicio) {
    if (inicio < 1) Lanza(Err::ArgumentoInvalido);
    if (inicio > s.size() + 1) return 0;
    if (buscado.isEmpty()) return inicio;
    qsizetype p = s.indexOf(buscado, inicio - 1, Qt::CaseSensitive);
    return p < 0 ? 0 : static_cast<int>(p) + 1;
}

int InstrRev(const QString& s, const QString& buscado) {
    if (buscado.isEmpty()) return static_cast<int>(s.size());
    qsizetype p = s.lastIndexOf(buscado, -1, Qt::CaseInsensitive);
    return p < 0 ? 0 : static_cast<int>(p) + 1;
}

bool Contiene(const QString& s, const QString& buscado) {
    return s.contains(buscado, Qt::CaseInsensitive);
}

QString Reemplaza(const QString& s, const QString& buscado, const QString& reemplazo) {
    if (buscado.isEmpty()) return s;
    QString r = s;
    r.replace(buscado, reemplazo, Qt::CaseInsensitive);
    return r;
}

QString Medio(const QString& s, int inicio, std::optional<int> largo) {
    if (inicio < 1 || (largo && *largo < 0)) Lanza(Err::ArgumentoInvalido);
    if (inicio > s.size()) return {};
    return largo ? s.mid(inicio - 1, *largo) : s.mid(inicio - 1);
}

QString Izquierda(const QString& s, int largo) {
    if (largo < 0) Lanza(Err::ArgumentoInvalido);
    return s.left(largo);
}

QString Derecha(const QString& s, int largo) {
    if (largo < 0) Lanza(Err::ArgumentoInvalido);
    return s.right(largo);
}

bool IgualesTexto(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Mayus(const QString& s) {
    return s.toUpper();
}

QString Espacios(int n) {
    return QString(qMax(0, n), QLatin1Char(' '));
}

QString TextoBooleano(bool valor) {
    return valor ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
}
