// What the simulated printer's files share and no caller needs: the arguments of a command as its handler reads
// them, the argument checks, and the pieces of the paper's lines.
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

#include "ImpresoraSimulada.h"

struct ImpresoraSimulada::Argumentos {
    QList<Variant> valores;
    QStringList textos;  // each value as text
    const QString& operator[](int i) const { return textos[i]; }
    int Entero(int i) const { return valores[i].AEntero(); }
    int Digitos(int i) const { return textos[i].toInt(); }  // a checked digit string
    qint64 Largo(int i) const { return textos[i].toLongLong(); }
    int size() const { return static_cast<int>(textos.size()); }
};

namespace simulada {
constexpr int kAncho = 40;  // characters of a line of the paper roll
const QString kBorrado = QString(QChar(0x7F));

// One argument's check.
struct Chequeo {
    enum Tipo { Texto, TextoOBorrado, Digitos, Codigos, Entero, Fecha, Hora, NumeroLinea } tipo;
    int maximo = 0;                 // characters of a text or digit string; the highest integer
    bool vacio = false;             // a text may be empty
    const char* codigos = nullptr;  // the allowed codes, separated by "|"
    int minimo = 0;                 // the lowest integer
};
inline Chequeo T(int maximo, bool vacio = false) {
    return {Chequeo::Texto, maximo, vacio};
}
inline Chequeo TB(int maximo) {
    return {Chequeo::TextoOBorrado, maximo};
}
inline Chequeo D(int maximo) {
    return {Chequeo::Digitos, maximo};
}
inline Chequeo C(const char* codigos) {
    return {Chequeo::Codigos, 0, false, codigos};
}
inline Chequeo E(int minimo, int maximo) {
    return {Chequeo::Entero, maximo, false, nullptr, minimo};
}
// The states a command fits, as bits.
constexpr unsigned En(EstadoFiscal e) {
    return 1u << unsigned(e);
}
constexpr unsigned kLibre = En(EstadoFiscal::Libre);
constexpr unsigned kTodos = 0xFFu;
constexpr unsigned kFactura = En(EstadoFiscal::Factura) | En(EstadoFiscal::FinDeHoja);
constexpr unsigned kDNF = En(EstadoFiscal::DNF) | En(EstadoFiscal::DNFSlip);

// Adds to a counter or a total of the memory; false, and the total unchanged, when the sum would not fit.
template <typename N>
bool Suma(N& total, N sumando) {
    N r;
    if (__builtin_add_overflow(total, sumando, &r)) return false;
    total = r;
    return true;
}
// The next number of a counter ("tique", a letter, "dnf", ...), or nullopt when the counter is at its limit.
inline std::optional<int> Siguiente(QMap<QString, int>& numeros, const QString& clave) {
    int n = numeros.value(clave);
    if (!Suma(n, 1)) return std::nullopt;
    numeros[clave] = n;
    return n;
}

bool Cumple(const Chequeo& ch, const Variant& v, const QString& t);
bool SonDigitos(const QString& t);
// The standard CUIT and CUIL check: weights 5 4 3 2 7 6 5 4 3 2 on the first ten digits, modulo 11.
bool CuitValido(const QString& cuit);
QDate FechaAAMMDD(const QString& t);
QTime HoraHHMMSS(const QString& t);

// Cents as the paper shows them: "1,21", "-0,20".
QString Importe(qint64 centavos);
QString Cantidad(qint64 milesimas);
QString Tasa(int centesimas);
// A text on the left and another on the right of one line.
QString Renglon(const QString& izquierda, const QString& derecha);
QString Centrado(const QString& texto);
QString Raya(QChar c = QLatin1Char('-'));
QString NumeroDocumento(int numero);
QString CuitConGuiones(const QString& cuit);
// A YYMMDD date as the paper shows it.
QString Fecha(const QString& aammdd);
}  // namespace simulada

struct ImpresoraSimulada::Comando {
    const char* nombre;
    unsigned estados;  // the states the command fits
    int minimo;        // arguments required; the checks give the most
    QList<simulada::Chequeo> chequeos;
    Resultado (ImpresoraSimulada::*manejador)(MemoriaFiscal&, const Argumentos&);
};
