// The SQLite side of SQL Server's behaviour: the collation SQLSERVER (letter case and trailing blanks ignored, as
// the server's usual collation compares; a stored date beside a date literal compared as dates), and the server's
// functions and operators where SQLite's differ: CONVERT, dates, +/-, UPPER/LOWER, LEFT/RIGHT, SUBSTRING, REPLACE,
// LIKE. Built twice from this file: into the embedded provider, and as the loadable extension an ODBC connection names
// with LoadExt.
#ifdef PAVENKO_EXTENSION_CARGABLE
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1
#else
#include <sqlite3.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "ExtensionSql.h"

namespace {

struct Fecha;

// Reads one UTF-8 character at p (before fin) and advances p; a broken sequence reads as its first byte.
unsigned Lee(const unsigned char*& p, const unsigned char* fin) {
    unsigned c = *p++;
    int mas = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (mas == 0) return c;
    if (fin - p < mas) return c;
    unsigned cp = c & (0x3F >> mas);
    for (int i = 0; i < mas; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    p += mas;
    return cp;
}

// Upper and lower case beyond ASCII: Latin-1, Latin Extended-A, Greek and Cyrillic, the scripts a workstation
// of this system writes. Accents are kept: "ñ" is "Ñ", never "N".
unsigned Mayuscula(unsigned c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        return (c & 1) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

unsigned Minuscula(unsigned c) {
    if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F) {
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        return (c & 1) ? c : c + 1;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

// Writes one character as UTF-8; returns the bytes written (at most 4).
int Escribe(unsigned c, char* p) {
    if (c < 0x80) return p[0] = static_cast<char>(c), 1;
    if (c < 0x800) return p[0] = static_cast<char>(0xC0 | (c >> 6)), p[1] = static_cast<char>(0x80 | (c & 0x3F)), 2;
    if (c < 0x10000) {
        p[0] = static_cast<char>(0xE0 | (c >> 12));
        p[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        p[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    p[0] = static_cast<char>(0xF0 | (c >> 18));
    p[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    p[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    p[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

int SinBlancosFinales(const void* texto, int largo) {
    const char* s = static_cast<const char*>(texto);
    while (largo > 0 && s[largo - 1] == ' ') --largo;
    return largo;
}

// The letter an accented Latin-1 capital is written on: Á sorts with A, Ñ with N, as the server sorts them.
unsigned Base(unsigned c) {
    static const char kBases[] =
        "AAAAAAACEEEEIIII"
        "DNOOOOO*OUUUUYTS";  // U+00C0 to U+00DF
    if (c >= 0xC0 && c <= 0xDF && c != 0xD7) return static_cast<unsigned char>(kBases[c - 0xC0]);
    return c;
}

int ComparaNivel(const unsigned char* pa, const unsigned char* finA, const unsigned char* pb, const unsigned char* finB,
                 bool base) {
    while (pa < finA && pb < finB) {
        unsigned ca = Mayuscula(Lee(pa, finA));
        unsigned cb = Mayuscula(Lee(pb, finB));
        if (base) ca = Base(ca), cb = Base(cb);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (pa < finA) return 1;
    if (pb < finB) return -1;
    return 0;
}

// A stored date (the canonical form) beside any date literal compares as a date: true when they are so, with
// the comparison in r.
bool ComparaComoFechas(const void* a, int largoA, const void* b, int largoB, int& r);

// Letter case and trailing blanks ignored; letters first by their base letter, then accents decide.
int ComparaSqlServer(void*, int largoA, const void* a, int largoB, const void* b) {
    const unsigned char* pa = static_cast<const unsigned char*>(a);
    const unsigned char* pb = static_cast<const unsigned char*>(b);
    const unsigned char* finA = pa + SinBlancosFinales(a, largoA);
    const unsigned char* finB = pb + SinBlancosFinales(b, largoB);
    if (int fechas = 0; ComparaComoFechas(a, largoA, b, largoB, fechas)) return fechas;
    const int r = ComparaNivel(pa, finA, pb, finB, true);
    return r != 0 ? r : ComparaNivel(pa, finA, pb, finB, false);
}

int CuentaCaracteres(const unsigned char* p, const unsigned char* fin) {
    int n = 0;
    while (p < fin) {
        Lee(p, fin);
        ++n;
    }
    return n;
}

// LEN(x): characters without the trailing blanks, as the server counts them.
int LargoDeFecha(sqlite3_value* v);

void Len(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (const int fecha = LargoDeFecha(argv[0]); fecha >= 0) return sqlite3_result_int(ctx, fecha);
    const unsigned char* s = sqlite3_value_text(argv[0]);
    const int largo = SinBlancosFinales(s, sqlite3_value_bytes(argv[0]));
    sqlite3_result_int(ctx, CuentaCaracteres(s, s + largo));
}

// CHARINDEX(buscado, texto [, inicio]): first position from 1, letter case ignored; 0 when absent.
void CharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* buscado = sqlite3_value_text(argv[0]);
    const unsigned char* finBuscado = buscado + sqlite3_value_bytes(argv[0]);
    const unsigned char* texto = sqlite3_value_text(argv[1]);
    const unsigned char* finTexto = texto + sqlite3_value_bytes(argv[1]);
    const int inicio = argc > 2 ? sqlite3_value_int(argv[2]) : 1;
    if (buscado == finBuscado) return sqlite3_result_int(ctx, 0);
    int posicion = 1;
    for (const unsigned char* p = texto; p < finTexto; ++posicion) {
        if (posicion >= inicio) {
            const unsigned char* a = p;
            const unsigned char* b = buscado;
            bool iguales = true;
            while (b < finBuscado) {
                if (a >= finTexto || Mayuscula(Lee(a, finTexto)) != Mayuscula(Lee(b, finBuscado))) {
                    iguales = false;
                    break;
                }
            }
            if (iguales) return sqlite3_result_int(ctx, posicion);
        }
        Lee(p, finTexto);
    }
    sqlite3_result_int(ctx, 0);
}

// Errors raised by the functions carry the server's number between # ahead of its text; the provider's error
// mapping reads it back.
void Falla(sqlite3_context* ctx, int numero, const char* texto, const char* valor = nullptr) {
    char mensaje[512];
    if (valor)
        std::snprintf(mensaje, sizeof mensaje, "#%d# %s'%.200s'", numero, texto, valor);
    else
        std::snprintf(mensaje, sizeof mensaje, "#%d# %s", numero, texto);
    sqlite3_result_error(ctx, mensaje, -1);
}

// A date and time as the server holds it, to the millisecond.
struct Fecha {
    int anio = 1900, mes = 1, dia = 1, hora = 0, minuto = 0, segundo = 0, milis = 0;
};

bool Bisiesto(int a) {
    return (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
}
int DiasDelMes(int a, int m) {
    static const int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && Bisiesto(a) ? 29 : dias[m - 1];
}
bool Valida(const Fecha& f) {
    return f.anio >= 1753 && f.anio <= 9999 && f.mes >= 1 && f.mes <= 12 && f.dia >= 1 &&
           f.dia <= DiasDelMes(f.anio, f.mes) && f.hora >= 0 && f.hora < 24 && f.minuto >= 0 && f.minuto < 60 &&
           f.segundo >= 0 && f.segundo < 60 && f.milis >= 0 && f.milis < 1000;
}

// Days from 1900-01-01, the server's day zero (civil calendar arithmetic, valid for every year here).
long long DiaJuliano(int a, int m, int d) {
    a -= m <= 2;
    const long long era = (a >= 0 ? a : a - 399) / 400;
    const long long yoe = a - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - (-25567);  // 1970-01-01 is day 25567 after 1900-01-01
}
void DesdeDias(long long z, Fecha& f) {
    z += -25567 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    f.dia = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    f.mes = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    f.anio = static_cast<int>(yoe + era * 400 + (f.mes <= 2));
}
long long AMilis(const Fecha& f) {
    return DiaJuliano(f.anio, f.mes, f.dia) * 86400000LL + f.hora * 3600000LL + f.minuto * 60000LL +
           f.segundo * 1000LL + f.milis;
}
void DesdeMilis(long long ms, Fecha& f) {
    long long dias = ms / 86400000LL;
    long long resto = ms % 86400000LL;
    if (resto < 0) resto += 86400000LL, --dias;
    DesdeDias(dias, f);
    f.hora = static_cast<int>(resto / 3600000), f.minuto = static_cast<int>(resto / 60000 % 60);
    f.segundo = static_cast<int>(resto / 1000 % 60), f.milis = static_cast<int>(resto % 1000);
}

// The one form dates are stored in: "yyyy-mm-dd hh:mi:ss.mmm", which sorts as the dates do.
int Canonica(const Fecha& f, char* salida) {
    return std::snprintf(salida, 24, "%04d-%02d-%02d %02d:%02d:%02d.%03d", f.anio, f.mes, f.dia, f.hora, f.minuto,
                         f.segundo, f.milis);
}

int Numero(const char*& p, const char* fin, int maximo) {
    int v = 0, n = 0;
    while (p < fin && n < maximo && *p >= '0' && *p <= '9') v = v * 10 + (*p++ - '0'), ++n;
    return n == 0 ? -1 : v;
}

// The time part after a date: [ |T]hh:mi[:ss[.mmm]][AM|PM]; true when it reads to the end.
bool LeeHora(const char* p, const char* fin, Fecha& f) {
    while (p < fin && (*p == ' ' || *p == 'T')) ++p;
    if (p == fin) return true;
    f.hora = Numero(p, fin, 2);
    if (f.hora < 0 || p >= fin || *p++ != ':') return false;
    f.minuto = Numero(p, fin, 2);
    if (f.minuto < 0) return false;
    if (p < fin && *p == ':') {
        ++p;
        f.segundo = Numero(p, fin, 2);
        if (f.segundo < 0) return false;
        if (p < fin && (*p == '.' || *p == ':')) {
            ++p;
            const char* ini = p;
            int v = Numero(p, fin, 3);
            if (v < 0) return false;
            for (long d = p - ini; d < 3; ++d) v *= 10;
            while (p < fin && *p >= '0' && *p <= '9') ++p;  // digits beyond the millisecond
            f.milis = v;
        }
    }
    while (p < fin && *p == ' ') ++p;
    if (fin - p >= 2 && (p[1] == 'M' || p[1] == 'm')) {
        const bool pm = p[0] == 'P' || p[0] == 'p';
        if (!pm && p[0] != 'A' && p[0] != 'a') return false;
        if (f.hora > 12) return false;
        if (f.hora == 12) f.hora = 0;
        if (pm) f.hora += 12;
        p += 2;
    }
    while (p < fin && *p == ' ') ++p;
    return p == fin;
}

// A date written as the server reads a literal or a CONVERT with its style: "yyyymmdd", "yyyy-mm-dd",
// "yyyy-mm-ddThh:mi:ss", "yyyy/mm/dd", and with slashes "dd/mm/yyyy" (style 103, and the day first of a Spanish
// login) or "mm/dd/yyyy" (style 101), each with an optional time.
bool LeeFechaTexto(const char* s, int n, int estilo, Fecha& f) {
    const char* p = s;
    const char* fin = s + n;
    while (p < fin && *p == ' ') ++p;
    while (fin > p && fin[-1] == ' ') --fin;
    f = Fecha{};
    const char* ini = p;
    const int a = Numero(p, fin, 8);
    if (a < 0) return false;
    const long digitos = p - ini;
    if (digitos == 8 && (p == fin || *p == ' ' || *p == 'T')) {
        f.anio = a / 10000, f.mes = a / 100 % 100, f.dia = a % 100;
    } else if (digitos == 4 && p < fin && (*p == '-' || *p == '/' || *p == '.')) {
        const char sep = *p++;
        f.anio = a;
        f.mes = Numero(p, fin, 2);
        if (p >= fin || *p++ != sep) return false;
        f.dia = Numero(p, fin, 2);
    } else if ((digitos == 1 || digitos == 2) && p < fin && (*p == '/' || *p == '-' || *p == '.')) {
        const char sep = *p++;
        const int b = Numero(p, fin, 2);
        if (p >= fin || *p++ != sep) return false;
        const char* inicioAnio = p;
        int anio = Numero(p, fin, 4);
        if (anio < 0) return false;
        if (p - inicioAnio == 2) anio += anio < 50 ? 2000 : 1900;
        f.anio = anio;
        if (estilo == 101 || estilo == 1 || estilo == 110 || estilo == 10) {
            f.mes = a, f.dia = b;
        } else {
            f.dia = a, f.mes = b;
        }
    } else {
        return false;
    }
    if (!LeeHora(p, fin, f)) return false;
    return Valida(f);
}

// Any value as a date: a text as above, a number as days from 1900-01-01 (the fraction is the time of day).
bool LeeFechaValor(sqlite3_value* v, int estilo, Fecha& f) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            // Eight digits are a date written yyyymmdd that a column's numeric affinity made a number.
            if (sqlite3_value_type(v) == SQLITE_INTEGER) {
                const sqlite3_int64 n = sqlite3_value_int64(v);
                if (n >= 17530101 && n <= 99991231) {
                    f = Fecha{};
                    f.anio = static_cast<int>(n / 10000), f.mes = static_cast<int>(n / 100 % 100),
                    f.dia = static_cast<int>(n % 100);
                    return Valida(f);
                }
            }
            const double dias = sqlite3_value_double(v);
            if (dias < -53690 || dias > 2958463) return false;
            DesdeMilis(static_cast<long long>(dias * 86400000.0 + (dias >= 0 ? 0.5 : -0.5)), f);
            return true;
        }
        case SQLITE_TEXT:
            return LeeFechaTexto(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v), estilo,
                                 f);
        default:
            return false;
    }
}

// A datetime keeps time in three-hundredths of a second: its milliseconds end in 0, 3 or 7 (.999 is the next
// second), as the server rounds them.
void EnTercios(Fecha& f) {
    const long long total = AMilis(f);
    const long long segundos = total / 1000, milis = total % 1000;
    const long long tercios = (milis * 3 + 5) / 10;
    DesdeMilis(segundos * 1000 + (tercios * 10 + 1) / 3, f);
}

void ResultaFecha(sqlite3_context* ctx, const Fecha& f) {
    char texto[32];
    const int n = Canonica(f, texto);
    sqlite3_result_text(ctx, texto, n, SQLITE_TRANSIENT);
}

// Whether a text is a stored date (the canonical form), so that arithmetic on it is arithmetic on a date.
bool EsCanonica(const char* s, int n) {
    return n == 23 && s[4] == '-' && s[7] == '-' && s[10] == ' ' && s[13] == ':' && s[16] == ':' && s[19] == '.';
}

bool ComparaComoFechas(const void* a, int largoA, const void* b, int largoB, int& r) {
    const char* sa = static_cast<const char*>(a);
    const char* sb = static_cast<const char*>(b);
    if (EsCanonica(sa, largoA) == EsCanonica(sb, largoB)) return false;
    Fecha fa, fb;
    if (!LeeFechaTexto(sa, largoA, 0, fa) || !LeeFechaTexto(sb, largoB, 0, fb)) return false;
    const long long ma = AMilis(fa), mb = AMilis(fb);
    r = ma < mb ? -1 : ma > mb ? 1 : 0;
    return true;
}

// TSQL_FECHA(value [, style]): the value as a stored date; NULL for NULL. A value that is no date raises the
// server's 241; the triggers of date columns call it on every write.
void FechaDe(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const int estilo = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    Fecha f;
    if (!LeeFechaValor(argv[0], estilo, f))
        return Falla(ctx, 241, "Conversion failed when converting date and/or time from character string.");
    ResultaFecha(ctx, f);
}

bool EsCanonicaValor(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_TEXT &&
           EsCanonica(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// TSQL_ES_FECHA(value): 1 when the value is NULL or already a stored date, so a trigger leaves it alone.
void EsFechaGuardada(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL || EsCanonicaValor(argv[0]));
}

// A text read as a number the way the server converts it: blanks around, a sign, digits, one point and an
// exponent for the approximate types. False when anything else is there.
bool LeeNumeroTexto(const char* s, int n, bool entero, double& d, long long& i, bool& esEntero) {
    const char* p = s;
    const char* fin = s + n;
    while (p < fin && (*p == ' ' || *p == '\t')) ++p;
    while (fin > p && (fin[-1] == ' ' || fin[-1] == '\t')) --fin;
    if (p == fin) {
        d = 0, i = 0, esEntero = true;  // the server reads a blank text as zero
        return true;
    }
    std::string t(p, static_cast<size_t>(fin - p));
    char* finNumero = nullptr;
    errno = 0;
    const long long v = std::strtoll(t.c_str(), &finNumero, 10);
    if (*finNumero == '\0' && errno == 0) {
        i = v, d = static_cast<double>(v), esEntero = true;
        return true;
    }
    if (entero) return false;
    for (char c : t)
        if (!(c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' || (c >= '0' && c <= '9'))) return false;
    d = std::strtod(t.c_str(), &finNumero);
    if (*finNumero != '\0') return false;
    esEntero = false;
    return true;
}

// A type's name alone: "varchar(10)" reads "varchar".
bool TipoEs(const char* tipo, const char* nombre) {
    const size_t n = std::strlen(nombre);
    return sqlite3_strnicmp(tipo, nombre, static_cast<int>(n)) == 0 &&
           (tipo[n] == '\0' || tipo[n] == '(' || tipo[n] == ' ');
}

bool EsTipoEntero(const char* t) {
    return TipoEs(t, "int") || TipoEs(t, "integer") || TipoEs(t, "smallint") || TipoEs(t, "bigint") ||
           TipoEs(t, "tinyint") || TipoEs(t, "bit");
}
bool EsTipoDecimal(const char* t) {
    return TipoEs(t, "float") || TipoEs(t, "real") || TipoEs(t, "decimal") || TipoEs(t, "numeric") ||
           TipoEs(t, "money") || TipoEs(t, "smallmoney");
}
bool EsTipoFecha(const char* t) {
    return TipoEs(t, "datetime") || TipoEs(t, "smalldatetime") || TipoEs(t, "date") || TipoEs(t, "datetime2");
}
bool EsTipoTexto(const char* t) {
    return TipoEs(t, "varchar") || TipoEs(t, "nvarchar") || TipoEs(t, "char") || TipoEs(t, "nchar") ||
           TipoEs(t, "text") || TipoEs(t, "ntext");
}

// A number out of any value for arithmetic and conversion; raises 245 (int) or 8114 (other numbers) for a
// text that is no number. Returns false when it raised.
bool ANumero(sqlite3_context* ctx, sqlite3_value* v, bool entero, double& d, long long& i, bool& esEntero) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            i = sqlite3_value_int64(v), d = static_cast<double>(i), esEntero = true;
            return true;
        case SQLITE_FLOAT:
            d = sqlite3_value_double(v), i = static_cast<long long>(d), esEntero = false;
            return true;
        default: {
            const char* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
            if (!LeeNumeroTexto(s, sqlite3_value_bytes(v), entero, d, i, esEntero)) {
                if (entero)
                    Falla(ctx, 245, "Conversion failed when converting the varchar value ", s);
                else
                    Falla(ctx, 8114, "Error converting data type varchar to numeric.");
                return false;
            }
            return true;
        }
    }
}

const char* const kMeses[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A date as text in one of the server's styles.
int FormateaFecha(const Fecha& f, int estilo, char* s, size_t n) {
    const int h12 = f.hora % 12 == 0 ? 12 : f.hora % 12;
    const char* ampm = f.hora < 12 ? "AM" : "PM";
    switch (estilo) {
        case 1:
            return std::snprintf(s, n, "%02d/%02d/%02d", f.mes, f.dia, f.anio % 100);
        case 101:
            return std::snprintf(s, n, "%02d/%02d/%04d", f.mes, f.dia, f.anio);
        case 3:
            return std::snprintf(s, n, "%02d/%02d/%02d", f.dia, f.mes, f.anio % 100);
        case 103:
            return std::snprintf(s, n, "%02d/%02d/%04d", f.dia, f.mes, f.anio);
        case 8:
        case 108:
            return std::snprintf(s, n, "%02d:%02d:%02d", f.hora, f.minuto, f.segundo);
        case 12:
            return std::snprintf(s, n, "%02d%02d%02d", f.anio % 100, f.mes, f.dia);
        case 112:
            return std::snprintf(s, n, "%04d%02d%02d", f.anio, f.mes, f.dia);
        case 20:
        case 120:
            return std::snprintf(s, n, "%04d-%02d-%02d %02d:%02d:%02d", f.anio, f.mes, f.dia, f.hora, f.minuto,
                                 f.segundo);
        case 21:
        case 121:
            return Canonica(f, s);
        case 126:
            return f.milis ? std::snprintf(s, n, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", f.anio, f.mes, f.dia, f.hora,
                                           f.minuto, f.segundo, f.milis)
                           : std::snprintf(s, n, "%04d-%02d-%02dT%02d:%02d:%02d", f.anio, f.mes, f.dia, f.hora,
                                           f.minuto, f.segundo);
        default:  // 0 and 100: "Dec 26 2024 10:30AM"
            return std::snprintf(s, n, "%s %2d %04d %2d:%02d%s", kMeses[f.mes - 1], f.dia, f.anio, h12, f.minuto, ampm);
    }
}

// A stored date's length as text: the server writes a date for text in style 0 ("Dec 26 2024 12:00AM"). -1 for
// any other value.
int LargoDeFecha(sqlite3_value* v) {
    Fecha f;
    if (sqlite3_value_type(v) != SQLITE_TEXT || !EsCanonicaValor(v) || !LeeFechaValor(v, 0, f)) return -1;
    char texto[64];
    return FormateaFecha(f, 0, texto, sizeof texto);
}

// The length a text type declares, "varchar(10)" gives 10; 30 when none is written, as the server's CONVERT.
int LargoDeclarado(const char* tipo) {
    const char* p = std::strchr(tipo, '(');
    if (!p) return 30;
    if (sqlite3_strnicmp(p + 1, "max", 3) == 0) return -1;
    return std::atoi(p + 1);
}

// The first n characters of a UTF-8 text, in bytes.
int BytesDeCaracteres(const unsigned char* s, int bytes, int caracteres) {
    const unsigned char* p = s;
    const unsigned char* fin = s + bytes;
    while (p < fin && caracteres-- > 0) Lee(p, fin);
    return static_cast<int>(p - s);
}

// A number as decimal(p,s) or money keeps it: s (4) decimals, rounded half away from zero on the decimal digits
// the value was written with; decimal without (p,s) is decimal(18,0).
enum class Escala { Cabe, Desborda, TipoInvalido };
Escala RedondeaDecimal(const char* tipo, double d, double& r, int& precision) {
    precision = 18;
    int escala = 0;
    if (TipoEs(tipo, "money") || TipoEs(tipo, "smallmoney")) {
        precision = 19, escala = 4;
    } else if (const char* p = std::strchr(tipo, '(')) {
        precision = std::atoi(p + 1);
        if (const char* coma = std::strchr(p, ',')) escala = std::atoi(coma + 1);
    }
    if (precision < 1 || precision > 38 || escala < 0 || escala > precision) return Escala::TipoInvalido;
    double escalado = d * std::pow(10.0, escala);
    char cifras[64];
    std::snprintf(cifras, sizeof cifras, "%.15g", escalado);
    escalado = std::round(std::strtod(cifras, nullptr));
    if (std::fabs(escalado) >= std::pow(10.0, precision)) return Escala::Desborda;
    r = escalado / std::pow(10.0, escala);
    return Escala::Cabe;
}

// The range each integer type holds.
void RangoEntero(const char* tipo, long long& minimo, long long& maximo) {
    minimo = TipoEs(tipo, "tinyint") ? 0 : TipoEs(tipo, "smallint") ? -32768 : -2147483648LL;
    maximo = TipoEs(tipo, "tinyint") ? 255 : TipoEs(tipo, "smallint") ? 32767 : 2147483647LL;
    if (TipoEs(tipo, "bigint")) minimo = INT64_MIN, maximo = INT64_MAX;
    if (TipoEs(tipo, "bit")) minimo = 0, maximo = 1;
}

// CONVERT('type', value [, style]), also what CAST(value AS type) becomes: the server's conversions. Numbers
// from texts strictly (245 for int types, 8114 for the others); dates from the literal forms and the styles
// 101, 103, 112, 120, 126; dates to text in those styles; a text type's length cuts the text.
void Convert(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const char* tipo = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int estilo = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
    double d = 0;
    long long i = 0;
    bool esEntero = false;
    if (EsTipoEntero(tipo)) {
        if (!ANumero(ctx, argv[1], true, d, i, esEntero)) return;
        if (TipoEs(tipo, "bit")) return sqlite3_result_int(ctx, (esEntero ? i != 0 : d != 0) ? 1 : 0);
        if (!esEntero) {
            if (!(d > -9223372036854775808.0 && d < 9223372036854775808.0))
                return Falla(ctx, 8115, "Arithmetic overflow error converting expression to data type bigint.");
            i = static_cast<long long>(d);
        }
        // Each integer type holds its own range; beyond it the server raises an overflow, never wraps.
        long long minimo = 0, maximo = 0;
        RangoEntero(tipo, minimo, maximo);
        if (i < minimo || i > maximo) {
            char mensaje[96];
            std::snprintf(mensaje, sizeof mensaje, "Arithmetic overflow error converting expression to data type %s.",
                          TipoEs(tipo, "tinyint")    ? "tinyint"
                          : TipoEs(tipo, "smallint") ? "smallint"
                                                     : "int");
            return Falla(ctx, 8115, mensaje);
        }
        return sqlite3_result_int64(ctx, i);
    }
    if (EsTipoDecimal(tipo)) {
        if (!ANumero(ctx, argv[1], false, d, i, esEntero)) return;
        if (TipoEs(tipo, "float") || TipoEs(tipo, "real")) return sqlite3_result_double(ctx, d);
        double r = 0;
        int precision = 0;
        switch (RedondeaDecimal(tipo, d, r, precision)) {
            case Escala::Cabe:
                // A whole number stays exact, beyond a double's 53 bits too.
                if (esEntero) return sqlite3_result_int64(ctx, i);
                return sqlite3_result_double(ctx, r);
            case Escala::Desborda:
                return Falla(ctx, 8115, "Arithmetic overflow error converting numeric to data type numeric.");
            case Escala::TipoInvalido: {
                char mensaje[96];
                std::snprintf(mensaje, sizeof mensaje, "The size (%d) given to the type is not valid.", precision);
                return Falla(ctx, 1002, mensaje);
            }
        }
    }
    if (EsTipoFecha(tipo)) {
        Fecha f;
        if (!LeeFechaValor(argv[1], estilo, f))
            return Falla(ctx, 241, "Conversion failed when converting date and/or time from character string.");
        if (TipoEs(tipo, "date")) f.hora = f.minuto = f.segundo = f.milis = 0;
        if (TipoEs(tipo, "smalldatetime")) {
            const long long ms = (AMilis(f) + 30000) / 60000 * 60000;
            DesdeMilis(ms, f);
        }
        if (TipoEs(tipo, "datetime")) EnTercios(f);
        return ResultaFecha(ctx, f);
    }
    if (!EsTipoTexto(tipo)) {
        char mensaje[160];
        std::snprintf(mensaje, sizeof mensaje, "El servidor embebido no admite CONVERT al tipo %.60s.", tipo);
        return Falla(ctx, 40000, mensaje);
    }
    const int largo = LargoDeclarado(tipo);
    // An integer too long for the text is written "*", never cut.
    if (sqlite3_value_type(argv[1]) == SQLITE_INTEGER && largo >= 0 && sqlite3_value_bytes(argv[1]) > largo)
        return sqlite3_result_text(ctx, "*", 1, SQLITE_STATIC);
    char salida[64];
    const char* texto = nullptr;
    int bytes = 0;
    Fecha f;
    const bool fecha = sqlite3_value_type(argv[1]) == SQLITE_TEXT &&
                       (EsCanonicaValor(argv[1]) || (estilo != 0 && LeeFechaValor(argv[1], 0, f)));
    if (fecha && LeeFechaValor(argv[1], 0, f)) {
        bytes = FormateaFecha(f, estilo, salida, sizeof salida);
        texto = salida;
    } else {
        texto = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
        bytes = sqlite3_value_bytes(argv[1]);
    }
    if (largo >= 0) bytes = BytesDeCaracteres(reinterpret_cast<const unsigned char*>(texto), bytes, largo);
    sqlite3_result_text(ctx, texto, bytes, SQLITE_TRANSIENT);
}

// tsql_cast(value, 'type'): CAST(value AS type).
void Cast(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* argumentos[] = {argv[1], argv[0]};
    Convert(ctx, 2, argumentos);
}

// tsql_fuera_de_tipo(value, 'type'): whether a value stored in a column of an integer or decimal type is not as
// the server keeps it: a text, a fraction in an integer column, more decimals than the scale, out of range. The
// column's triggers then convert it with tsql_cast, which also raises the server's error (245, 8114, 8115).
void FueraDeTipo(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int clase = sqlite3_value_type(argv[0]);
    const char* tipo = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (clase == SQLITE_NULL || !tipo) return sqlite3_result_int(ctx, 0);
    if (clase != SQLITE_INTEGER && clase != SQLITE_FLOAT) return sqlite3_result_int(ctx, 1);
    if (EsTipoEntero(tipo)) {
        if (clase == SQLITE_FLOAT) return sqlite3_result_int(ctx, 1);
        long long minimo = 0, maximo = 0;
        RangoEntero(tipo, minimo, maximo);
        const long long i = sqlite3_value_int64(argv[0]);
        return sqlite3_result_int(ctx, i < minimo || i > maximo ? 1 : 0);
    }
    if (EsTipoDecimal(tipo) && !TipoEs(tipo, "float") && !TipoEs(tipo, "real")) {
        const double d = sqlite3_value_double(argv[0]);
        double r = 0;
        int precision = 0;
        return sqlite3_result_int(ctx, RedondeaDecimal(tipo, d, r, precision) != Escala::Cabe || r != d ? 1 : 0);
    }
    sqlite3_result_int(ctx, 0);
}

// GETDATE(): the workstation's local date and time, stored as every date is.
void GetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    timespec ahora{};
    clock_gettime(CLOCK_REALTIME, &ahora);
    std::tm local{};
    localtime_r(&ahora.tv_sec, &local);
    Fecha f;
    f.anio = local.tm_year + 1900, f.mes = local.tm_mon + 1, f.dia = local.tm_mday;
    f.hora = local.tm_hour, f.minuto = local.tm_min, f.segundo = local.tm_sec;
    f.milis = static_cast<int>(ahora.tv_nsec / 1000000);
    EnTercios(f);
    ResultaFecha(ctx, f);
}

// a + b and a - b by the server's type precedence: two texts concatenate; a date and a number move the date by
// days; a text beside a number is converted to a number (245 when it is none); NULL gives NULL.
void Opera(sqlite3_context* ctx, sqlite3_value** argv, bool suma) {
    const int ta = sqlite3_value_type(argv[0]), tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (ta == SQLITE_BLOB || tb == SQLITE_BLOB) return Falla(ctx, 8117, "Operand data type varbinary is invalid.");
    if (ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
        // A text beside a stored date is converted to a date, as datetime ranks above varchar: two dates do not add.
        if (const bool fa = EsCanonicaValor(argv[0]), fb = EsCanonicaValor(argv[1]); fa || fb) {
            Fecha f;
            if (!(fa && fb) && !LeeFechaValor(argv[fa ? 1 : 0], 0, f))
                return Falla(ctx, 241, "Conversion failed when converting date and/or time from character string.");
            return Falla(ctx, 8117, "Operand data type datetime is invalid for this operator.");
        }
        if (!suma) return Falla(ctx, 8117, "Operand data type varchar is invalid for subtract operator.");
        const int la = sqlite3_value_bytes(argv[0]), lb = sqlite3_value_bytes(argv[1]);
        char* t = static_cast<char*>(sqlite3_malloc64(static_cast<sqlite3_uint64>(la) + lb + 1));
        if (!t) return sqlite3_result_error_nomem(ctx);
        std::memcpy(t, sqlite3_value_text(argv[0]), static_cast<size_t>(la));
        std::memcpy(t + la, sqlite3_value_text(argv[1]), static_cast<size_t>(lb));
        return sqlite3_result_text(ctx, t, la + lb, sqlite3_free);
    }
    // A stored date and a number: days, the fraction a part of the day.
    const bool fechaA = EsCanonicaValor(argv[0]), fechaB = EsCanonicaValor(argv[1]);
    if (fechaA || fechaB) {
        if (fechaA && fechaB) return Falla(ctx, 8117, "Operand data type datetime is invalid for this operator.");
        if (fechaB && !suma) return Falla(ctx, 8117, "Operand data type datetime is invalid for subtract operator.");
        Fecha f;
        LeeFechaValor(argv[fechaA ? 0 : 1], 0, f);
        double dias = 0;
        long long entero = 0;
        bool esEntero = false;
        if (!ANumero(ctx, argv[fechaA ? 1 : 0], false, dias, entero, esEntero)) return;
        const long long delta = static_cast<long long>(dias * 86400000.0 + (dias >= 0 ? 0.5 : -0.5));
        DesdeMilis(AMilis(f) + (suma ? delta : -delta), f);
        if (!Valida(f)) return Falla(ctx, 517, "Adding a value to a 'datetime' column caused an overflow.");
        return ResultaFecha(ctx, f);
    }
    double da = 0, db = 0;
    long long ia = 0, ib = 0;
    bool ea = false, eb = false;
    // A text beside an integer converts to int (245 if it is no integer); beside a decimal, to that.
    const bool entero = (ta == SQLITE_INTEGER || tb == SQLITE_INTEGER) && ta != SQLITE_FLOAT && tb != SQLITE_FLOAT;
    if (!ANumero(ctx, argv[0], entero, da, ia, ea) || !ANumero(ctx, argv[1], entero, db, ib, eb)) return;
    if (ea && eb) {
        long long r = 0;
        if (suma ? __builtin_add_overflow(ia, ib, &r) : __builtin_sub_overflow(ia, ib, &r))
            return Falla(ctx, 8115, "Arithmetic overflow error converting expression to data type bigint.");
        return sqlite3_result_int64(ctx, r);
    }
    sqlite3_result_double(ctx, suma ? da + db : da - db);
}
void Suma(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Opera(ctx, argv, true);
}
void Resta(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Opera(ctx, argv, false);
}

// The parts DATEADD, DATEDIFF and DATEPART name, with their abbreviations.
enum class Parte { Anio, Trimestre, Mes, DiaDelAnio, Dia, Semana, DiaSemana, Hora, Minuto, Segundo, Milisegundo, Nada };

Parte ParteDe(sqlite3_value* v) {
    const char* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (!p) return Parte::Nada;
    struct Nombre {
        const char* nombre;
        Parte parte;
    };
    static const Nombre kPartes[] = {
        {"year", Parte::Anio},
        {"yy", Parte::Anio},
        {"yyyy", Parte::Anio},
        {"quarter", Parte::Trimestre},
        {"qq", Parte::Trimestre},
        {"q", Parte::Trimestre},
        {"month", Parte::Mes},
        {"mm", Parte::Mes},
        {"m", Parte::Mes},
        {"dayofyear", Parte::DiaDelAnio},
        {"dy", Parte::DiaDelAnio},
        {"y", Parte::DiaDelAnio},
        {"day", Parte::Dia},
        {"dd", Parte::Dia},
        {"d", Parte::Dia},
        {"week", Parte::Semana},
        {"wk", Parte::Semana},
        {"ww", Parte::Semana},
        {"weekday", Parte::DiaSemana},
        {"dw", Parte::DiaSemana},
        {"hour", Parte::Hora},
        {"hh", Parte::Hora},
        {"minute", Parte::Minuto},
        {"mi", Parte::Minuto},
        {"n", Parte::Minuto},
        {"second", Parte::Segundo},
        {"ss", Parte::Segundo},
        {"s", Parte::Segundo},
        {"millisecond", Parte::Milisegundo},
        {"ms", Parte::Milisegundo},
    };
    for (const Nombre& n : kPartes)
        if (sqlite3_stricmp(p, n.nombre) == 0) return n.parte;
    return Parte::Nada;
}

bool FechaArgumento(sqlite3_context* ctx, sqlite3_value* v, Fecha& f) {
    if (LeeFechaValor(v, 0, f)) return true;
    Falla(ctx, 241, "Conversion failed when converting date and/or time from character string.");
    return false;
}

// DATEADD(part, n, date).
void DateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const Parte parte = ParteDe(argv[0]);
    Fecha f;
    if (!FechaArgumento(ctx, argv[2], f)) return;
    double dn = 0;
    long long n = 0;
    bool esEntero = false;
    if (!ANumero(ctx, argv[1], true, dn, n, esEntero)) return;
    auto meses = [&](long long m) {
        long long total = f.anio * 12LL + (f.mes - 1) + m;
        f.anio = static_cast<int>(total / 12), f.mes = static_cast<int>(total % 12 + 1);
        if (f.dia > DiasDelMes(f.anio < 1 ? 2000 : f.anio, f.mes))
            f.dia = DiasDelMes(f.anio < 1 ? 2000 : f.anio, f.mes);
    };
    long long ms = 0;
    switch (parte) {
        case Parte::Anio:
            meses(n * 12);
            break;
        case Parte::Trimestre:
            meses(n * 3);
            break;
        case Parte::Mes:
            meses(n);
            break;
        case Parte::DiaDelAnio:
        case Parte::Dia:
        case Parte::DiaSemana:
            ms = n * 86400000LL;
            break;
        case Parte::Semana:
            ms = n * 7 * 86400000LL;
            break;
        case Parte::Hora:
            ms = n * 3600000LL;
            break;
        case Parte::Minuto:
            ms = n * 60000LL;
            break;
        case Parte::Segundo:
            ms = n * 1000LL;
            break;
        case Parte::Milisegundo:
            ms = n;
            break;
        case Parte::Nada:
            return Falla(ctx, 155, "The datepart given to DATEADD is not a recognized option.");
    }
    if (ms != 0) DesdeMilis(AMilis(f) + ms, f);
    if (!Valida(f)) return Falla(ctx, 517, "Adding a value to a 'datetime' column caused an overflow.");
    ResultaFecha(ctx, f);
}

// Day of the week, 1 for Sunday (the server's first day in us_english).
int DiaSemana(const Fecha& f) {
    return static_cast<int>(((DiaJuliano(f.anio, f.mes, f.dia) + 1) % 7 + 7) % 7) + 1;
}

// DATEDIFF(part, from, to): the boundaries of that part crossed between the two dates.
void DateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    Fecha a, b;
    if (!FechaArgumento(ctx, argv[1], a) || !FechaArgumento(ctx, argv[2], b)) return;
    const long long da = DiaJuliano(a.anio, a.mes, a.dia), db = DiaJuliano(b.anio, b.mes, b.dia);
    long long r = 0;
    switch (ParteDe(argv[0])) {
        case Parte::Anio:
            r = b.anio - a.anio;
            break;
        case Parte::Trimestre:
            r = (b.anio * 4LL + (b.mes - 1) / 3) - (a.anio * 4LL + (a.mes - 1) / 3);
            break;
        case Parte::Mes:
            r = (b.anio * 12LL + b.mes) - (a.anio * 12LL + a.mes);
            break;
        case Parte::DiaDelAnio:
        case Parte::Dia:
        case Parte::DiaSemana:
            r = db - da;
            break;
        case Parte::Semana:
            r = (db - DiaSemana(b) + 1 - (da - DiaSemana(a) + 1)) / 7;
            break;
        case Parte::Hora:
            r = (db * 24 + b.hora) - (da * 24 + a.hora);
            break;
        case Parte::Minuto:
            r = (db * 1440 + b.hora * 60 + b.minuto) - (da * 1440 + a.hora * 60 + a.minuto);
            break;
        case Parte::Segundo:
            r = (AMilis(b) / 1000) - (AMilis(a) / 1000);
            break;
        case Parte::Milisegundo:
            r = AMilis(b) - AMilis(a);
            break;
        case Parte::Nada:
            return Falla(ctx, 155, "The datepart given to DATEDIFF is not a recognized option.");
    }
    sqlite3_result_int64(ctx, r);
}

// DATEPART(part, date); YEAR, MONTH and DAY are DATEPART of their part.
void DatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    Fecha f;
    if (!FechaArgumento(ctx, argv[1], f)) return;
    int r = 0;
    switch (ParteDe(argv[0])) {
        case Parte::Anio:
            r = f.anio;
            break;
        case Parte::Trimestre:
            r = (f.mes - 1) / 3 + 1;
            break;
        case Parte::Mes:
            r = f.mes;
            break;
        case Parte::DiaDelAnio:
            r = static_cast<int>(DiaJuliano(f.anio, f.mes, f.dia) - DiaJuliano(f.anio, 1, 1) + 1);
            break;
        case Parte::Dia:
            r = f.dia;
            break;
        case Parte::Semana: {
            const long long enero = DiaJuliano(f.anio, 1, 1);
            Fecha primero = f;
            primero.mes = 1, primero.dia = 1;
            r = static_cast<int>((DiaJuliano(f.anio, f.mes, f.dia) - enero + DiaSemana(primero) - 1) / 7 + 1);
            break;
        }
        case Parte::DiaSemana:
            r = DiaSemana(f);
            break;
        case Parte::Hora:
            r = f.hora;
            break;
        case Parte::Minuto:
            r = f.minuto;
            break;
        case Parte::Segundo:
            r = f.segundo;
            break;
        case Parte::Milisegundo:
            r = f.milis;
            break;
        case Parte::Nada:
            return Falla(ctx, 155, "The datepart given to DATEPART is not a recognized option.");
    }
    sqlite3_result_int(ctx, r);
}

// ROUND(x, n [, f]): to n decimals (n < 0: tens, hundreds...), half away from zero on the digits the value was
// written with; f other than 0 truncates. An integer stays an integer.
void Round(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const int n = sqlite3_value_int(argv[1]);
    const bool trunca = argc > 2 && sqlite3_value_int(argv[2]) != 0;
    double d = 0;
    long long entero = 0;
    bool esEntero = false;
    if (!ANumero(ctx, argv[0], false, d, entero, esEntero)) return;
    if (esEntero && n >= 0) return sqlite3_result_int64(ctx, entero);
    if (n > 30 || n < -30)
        return esEntero ? sqlite3_result_int64(ctx, n > 0 ? entero : 0) : sqlite3_result_double(ctx, n > 0 ? d : 0);
    const double escala = std::pow(10.0, n);
    char cifras[64];
    std::snprintf(cifras, sizeof cifras, "%.15g", d * escala);
    const double escalado = std::strtod(cifras, nullptr);
    const double r = (trunca ? std::trunc(escalado) : std::round(escalado)) / escala;
    if (esEntero) return sqlite3_result_int64(ctx, static_cast<long long>(r));
    sqlite3_result_double(ctx, r);
}

// FLOOR, CEILING and SIGN keep their argument's type: an integer stays one.
void Redondeo(sqlite3_context* ctx, sqlite3_value* v, double (*f)(double)) {
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    double d = 0;
    long long entero = 0;
    bool esEntero = false;
    if (!ANumero(ctx, v, false, d, entero, esEntero)) return;
    if (esEntero) return sqlite3_result_int64(ctx, f ? entero : (entero > 0) - (entero < 0));
    sqlite3_result_double(ctx, f ? f(d) : static_cast<double>((d > 0) - (d < 0)));
}
void Floor(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Redondeo(ctx, argv[0], [](double x) { return std::floor(x); });
}
void Ceiling(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Redondeo(ctx, argv[0], [](double x) { return std::ceil(x); });
}
void Sign(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Redondeo(ctx, argv[0], nullptr);
}

// POWER(x, y) is of x's type: an integer base gives an integer, truncated (POWER(2, -1) is 0).
void Power(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    double x = 0, y = 0;
    long long ix = 0, iy = 0;
    bool ex = false, ey = false;
    if (!ANumero(ctx, argv[0], false, x, ix, ex) || !ANumero(ctx, argv[1], false, y, iy, ey)) return;
    const double r = std::pow(x, y);
    if (std::isnan(r)) return Falla(ctx, 3623, "An invalid floating point operation occurred.");
    if (!ex) return sqlite3_result_double(ctx, r);
    if (!(r > -2147483649.0 && r < 2147483648.0))
        return Falla(ctx, 8115, "Arithmetic overflow error converting expression to data type int.");
    sqlite3_result_int64(ctx, static_cast<long long>(r));
}

void Sqrt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    double x = 0;
    long long i = 0;
    bool e = false;
    if (!ANumero(ctx, argv[0], false, x, i, e)) return;
    if (x < 0) return Falla(ctx, 3623, "An invalid floating point operation occurred.");
    sqlite3_result_double(ctx, std::sqrt(x));
}

// REPLICATE(s, n) and SPACE(n): NULL for a negative count; at most 8,000 bytes, as a varchar holds.
void Repite(sqlite3_context* ctx, const char* texto, int bytes, long long veces) {
    if (veces < 0) return sqlite3_result_null(ctx);
    if (bytes == 0 || veces == 0) return sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
    const long long total = std::min<long long>(static_cast<long long>(bytes) * veces, 8000);
    std::string r;
    r.reserve(static_cast<size_t>(total));
    while (static_cast<long long>(r.size()) + bytes <= total) r.append(texto, static_cast<size_t>(bytes));
    sqlite3_result_text(ctx, r.data(), static_cast<int>(r.size()), SQLITE_TRANSIENT);
}
void Replicate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const auto* texto = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    Repite(ctx, texto, sqlite3_value_bytes(argv[0]), sqlite3_value_int64(argv[1]));
}
void Space(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    Repite(ctx, " ", 1, sqlite3_value_int64(argv[0]));
}

// REVERSE(s): its characters backwards.
void Reverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* p = sqlite3_value_text(argv[0]);
    const unsigned char* fin = p + sqlite3_value_bytes(argv[0]);
    std::string r(static_cast<size_t>(fin - p), '\0');
    size_t hasta = r.size();
    while (p < fin) {
        const unsigned char* inicio = p;
        Lee(p, fin);
        const size_t largo = static_cast<size_t>(p - inicio);
        hasta -= largo;
        std::memcpy(&r[hasta], inicio, largo);
    }
    sqlite3_result_text(ctx, r.data(), static_cast<int>(r.size()), SQLITE_TRANSIENT);
}

// UPPER and LOWER with the case of every script above, not only ASCII's.
void CambiaCaso(sqlite3_context* ctx, sqlite3_value* v, bool mayus) {
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* p = sqlite3_value_text(v);
    const int n = sqlite3_value_bytes(v);
    const unsigned char* fin = p + n;
    char* salida = static_cast<char*>(sqlite3_malloc64(static_cast<sqlite3_uint64>(n) * 2 + 4));
    if (!salida) return sqlite3_result_error_nomem(ctx);
    int largo = 0;
    while (p < fin) {
        const unsigned c = Lee(p, fin);
        largo += Escribe(mayus ? Mayuscula(c) : Minuscula(c), salida + largo);
    }
    sqlite3_result_text(ctx, salida, largo, sqlite3_free);
}
void Upper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    CambiaCaso(ctx, argv[0], true);
}
void Lower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    CambiaCaso(ctx, argv[0], false);
}

// LEFT(text, n) and RIGHT(text, n) in characters.
void Extremo(sqlite3_context* ctx, sqlite3_value** argv, bool izquierda) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const long long n = sqlite3_value_int64(argv[1]);
    if (n < 0) return Falla(ctx, 536, "Invalid length parameter passed to the LEFT or RIGHT function.");
    const unsigned char* s = sqlite3_value_text(argv[0]);
    const int bytes = sqlite3_value_bytes(argv[0]);
    const int total = CuentaCaracteres(s, s + bytes);
    if (izquierda) {
        const int b = BytesDeCaracteres(s, bytes, n > total ? total : static_cast<int>(n));
        return sqlite3_result_text(ctx, reinterpret_cast<const char*>(s), b, SQLITE_TRANSIENT);
    }
    const int saltar = n >= total ? 0 : total - static_cast<int>(n);
    const int b = BytesDeCaracteres(s, bytes, saltar);
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(s) + b, bytes - b, SQLITE_TRANSIENT);
}
void Left(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Extremo(ctx, argv, true);
}
void Right(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Extremo(ctx, argv, false);
}

// SUBSTRING(text, start, length): positions from 1; those before 1 count against the length, as the server does.
void Substring(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const long long inicio = sqlite3_value_int64(argv[1]);
    const long long largo = sqlite3_value_int64(argv[2]);
    if (largo < 0) return Falla(ctx, 537, "Invalid length parameter passed to the substring function.");
    const unsigned char* s = sqlite3_value_text(argv[0]);
    const int bytes = sqlite3_value_bytes(argv[0]);
    long long desde = inicio < 1 ? 1 : inicio;
    long long hasta = inicio + largo;  // first position not taken
    if (hasta <= desde) return sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
    const int total = CuentaCaracteres(s, s + bytes);
    if (desde > total) return sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
    if (hasta > total + 1) hasta = total + 1;
    const int b0 = BytesDeCaracteres(s, bytes, static_cast<int>(desde - 1));
    const int b1 = BytesDeCaracteres(s, bytes, static_cast<int>(hasta - 1));
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(s) + b0, b1 - b0, SQLITE_TRANSIENT);
}

// Whether the characters at p equal the pattern's, letter case ignored; advances p past them when they do.
bool IgualesDesde(const unsigned char*& p, const unsigned char* fin, const unsigned char* b,
                  const unsigned char* finB) {
    const unsigned char* a = p;
    while (b < finB) {
        if (a >= fin || Mayuscula(Lee(a, fin)) != Mayuscula(Lee(b, finB))) return false;
    }
    p = a;
    return true;
}

// REPLACE(text, sought, replacement), the sought text found without regard to case as the server's collation
// finds it.
void Replace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* s = sqlite3_value_text(argv[0]);
    const unsigned char* fin = s + sqlite3_value_bytes(argv[0]);
    const unsigned char* b = sqlite3_value_text(argv[1]);
    const unsigned char* finB = b + sqlite3_value_bytes(argv[1]);
    const unsigned char* r = sqlite3_value_text(argv[2]);
    const int largoR = sqlite3_value_bytes(argv[2]);
    if (b == finB) return sqlite3_result_value(ctx, argv[0]);
    std::string salida;
    salida.reserve(static_cast<size_t>(fin - s));
    const unsigned char* p = s;
    while (p < fin) {
        const unsigned char* q = p;
        if (IgualesDesde(q, fin, b, finB)) {
            salida.append(reinterpret_cast<const char*>(r), static_cast<size_t>(largoR));
            p = q;
            continue;
        }
        const unsigned char* c = p;
        Lee(p, fin);
        salida.append(reinterpret_cast<const char*>(c), static_cast<size_t>(p - c));
    }
    sqlite3_result_text(ctx, salida.data(), static_cast<int>(salida.size()), SQLITE_TRANSIENT);
}

// The server's LIKE: % and _, [abc], [a-z] and [^...] classes, an optional escape character, letter case ignored
// beyond ASCII. Recursion only at %, at most once per pattern position.
bool Coincide(const unsigned char* p, const unsigned char* finP, const unsigned char* s, const unsigned char* finS,
              unsigned escape) {
    while (p < finP) {
        const unsigned char* antes = p;
        unsigned c = Lee(p, finP);
        if (escape && c == escape && p < finP) {
            c = Lee(p, finP);
            if (s >= finS || Mayuscula(Lee(s, finS)) != Mayuscula(c)) return false;
            continue;
        }
        if (c == '%') {
            while (p < finP && *p == '%') ++p;
            if (p == finP) return true;
            for (const unsigned char* t = s; t <= finS;) {
                if (Coincide(p, finP, t, finS, escape)) return true;
                if (t == finS) break;
                Lee(t, finS);
            }
            return false;
        }
        if (s >= finS) return false;
        const unsigned cs = Mayuscula(Lee(s, finS));
        if (c == '_') continue;
        if (c == '[') {
            const unsigned char* q = p;
            bool niega = false;
            if (q < finP && *q == '^') niega = true, ++q;
            bool dentro = false, cerrado = false;
            bool primero = true;
            while (q < finP) {
                unsigned a = Lee(q, finP);
                if (a == ']' && !primero) {
                    cerrado = true;
                    break;
                }
                primero = false;
                if (q + 1 < finP && *q == '-' && q[1] != ']') {
                    ++q;
                    const unsigned z = Lee(q, finP);
                    if (cs >= Mayuscula(a) && cs <= Mayuscula(z)) dentro = true;
                } else if (Mayuscula(a) == cs) {
                    dentro = true;
                }
            }
            if (!cerrado) {
                // An unclosed bracket is the character itself.
                if (cs != '[') return false;
                p = antes + 1;
                continue;
            }
            if (dentro == niega) return false;
            p = q;
            continue;
        }
        if (Mayuscula(c) != cs) return false;
    }
    return s == finS;
}

// like(pattern, text [, escape]): what SQLite calls for "text LIKE pattern".
void Like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* p = sqlite3_value_text(argv[0]);
    const unsigned char* finP = p + sqlite3_value_bytes(argv[0]);
    const unsigned char* s = sqlite3_value_text(argv[1]);
    const unsigned char* finS = s + sqlite3_value_bytes(argv[1]);
    unsigned escape = 0;
    if (argc > 2) {
        const unsigned char* e = sqlite3_value_text(argv[2]);
        const unsigned char* finE = e + sqlite3_value_bytes(argv[2]);
        if (e < finE) escape = Lee(e, finE);
    }
    sqlite3_result_int(ctx, Coincide(p, finP, s, finS, escape) ? 1 : 0);
}

// Whether a declared type is one of the server's integer types, whose AVG is of that type.
bool EsDeclaradoEntero(const char* declarado) {
    return declarado && EsTipoEntero(declarado) && !TipoEs(declarado, "bit");
}

// tsql_enteros('SELECT a, b FROM ...'): 1 when every column of the probe is declared with an integer type, as SQLite
// reads a column's declared type through joins, views and derived tables; 0 when one is declared otherwise or the
// probe does not prepare; 2 when the rest are integers but a view or derived table computes one (no declared
// type). Read once for each run of the statement.
void SonEnteras(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (const auto* leido = static_cast<const int*>(sqlite3_get_auxdata(ctx, 0)))
        return sqlite3_result_int(ctx, *leido);
    const auto* sql = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    sqlite3_stmt* st = nullptr;
    int enteras = 0;
    if (sql && sqlite3_prepare_v2(sqlite3_context_db_handle(ctx), sql, -1, &st, nullptr) == SQLITE_OK && st &&
        sqlite3_column_count(st) > 0) {
        enteras = 1;
        for (int i = 0; i < sqlite3_column_count(st) && enteras != 0; ++i) {
            const char* declarado = sqlite3_column_decltype(st, i);
            if (!declarado)
                enteras = 2;
            else if (!EsDeclaradoEntero(declarado))
                enteras = 0;
        }
    }
    sqlite3_finalize(st);
    if (auto* guardado = static_cast<int*>(sqlite3_malloc(sizeof(int)))) {
        *guardado = enteras;
        sqlite3_set_auxdata(ctx, 0, guardado, sqlite3_free);
    }
    sqlite3_result_int(ctx, enteras);
}

// tsql_avg(flag, x): AVG(x); when the flag says x is an integer expression (1), the server's integer average,
// truncated toward zero. With a computed column of unknown type (2), whole values whose average is not whole could
// be either: refused rather than answered one way.
struct Promedio {
    double suma;
    long long sumaEntera;
    long long cuenta;
    bool real;
    bool desborde;
    int entero;
};

void PasoPromedio(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* p = static_cast<Promedio*>(sqlite3_aggregate_context(ctx, sizeof(Promedio)));
    if (!p) return sqlite3_result_error_nomem(ctx);
    if (p->cuenta == 0) p->entero = sqlite3_value_int(argv[0]);
    sqlite3_value* v = argv[1];
    switch (sqlite3_value_numeric_type(v)) {
        case SQLITE_NULL:
            return;
        case SQLITE_INTEGER: {
            const long long i = sqlite3_value_int64(v);
            if (__builtin_add_overflow(p->sumaEntera, i, &p->sumaEntera)) p->desborde = true;
            p->suma += static_cast<double>(i);
            break;
        }
        default:
            p->suma += sqlite3_value_double(v);
            p->real = true;
            break;
    }
    ++p->cuenta;
}

void FinPromedio(sqlite3_context* ctx) {
    const auto* p = static_cast<const Promedio*>(sqlite3_aggregate_context(ctx, 0));
    if (!p || p->cuenta == 0) return sqlite3_result_null(ctx);
    if (p->entero == 0 || (p->entero == 2 && p->real))
        return sqlite3_result_double(ctx, p->suma / static_cast<double>(p->cuenta));
    if (p->entero == 2 && !p->desborde && p->sumaEntera % p->cuenta != 0)
        return sqlite3_result_error(ctx,
                                    "El servidor embebido no admite AVG de una columna que calcula una vista o una "
                                    "tabla derivada, cuyo tipo no conoce",
                                    -1);
    if (p->desborde) return Falla(ctx, 8115, "Arithmetic overflow error converting expression to data type bigint.");
    if (p->real) return sqlite3_result_int64(ctx, static_cast<long long>(p->suma / static_cast<double>(p->cuenta)));
    sqlite3_result_int64(ctx, p->sumaEntera / p->cuenta);
}

// @@IDENTITY and SCOPE_IDENTITY(): the key the connection's last INSERT gave a table with IDENTITY (AUTOINCREMENT
// here), NULL when that insert went to a table without one, as the server answers. The hook only notes the row;
// whether its table numbers itself is read when asked, since the hook may not use the connection.
struct UltimaInsercion {
    std::string esquema, tabla;
    sqlite3_int64 fila = 0;
    bool hay = false;
};

void AnotaInsercion(void* estado, int operacion, const char* esquema, const char* tabla, sqlite3_int64 fila) {
    if (operacion != SQLITE_INSERT) return;
    auto* u = static_cast<UltimaInsercion*>(estado);
    u->esquema = esquema ? esquema : "main";
    u->tabla = tabla ? tabla : "";
    u->fila = fila;
    u->hay = true;
}

void Identidad(sqlite3_context* ctx, int, sqlite3_value**) {
    const auto* u = static_cast<const UltimaInsercion*>(sqlite3_user_data(ctx));
    if (!u->hay) return sqlite3_result_null(ctx);
    // A table with AUTOINCREMENT has its row in its schema's sqlite_sequence once a row went in.
    std::string sql = "SELECT 1 FROM \"";
    for (char c : u->esquema) sql += c == '"' ? std::string("\"\"") : std::string(1, c);
    sql += "\".sqlite_sequence WHERE name = ?";
    sqlite3_stmt* st = nullptr;
    bool numerada = false;
    if (sqlite3_prepare_v2(sqlite3_context_db_handle(ctx), sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, u->tabla.c_str(), -1, SQLITE_TRANSIENT);
        numerada = sqlite3_step(st) == SQLITE_ROW;
    }
    sqlite3_finalize(st);
    if (!numerada) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, u->fila);
}

int Registra(sqlite3* db) {
    const int deterministica = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    struct Funcion {
        const char* nombre;
        int argumentos;
        void (*funcion)(sqlite3_context*, int, sqlite3_value**);
        bool determinista;
    };
    static const Funcion kFunciones[] = {
        {"len", 1, Len, true},
        {"charindex", 2, CharIndex, true},
        {"charindex", 3, CharIndex, true},
        {"convert", 2, Convert, true},
        {"convert", 3, Convert, true},
        {"tsql_cast", 2, Cast, true},
        {"tsql_fuera_de_tipo", 2, FueraDeTipo, true},
        {"getdate", 0, GetDate, false},
        {"tsql_fecha", 1, FechaDe, true},
        {"tsql_fecha", 2, FechaDe, true},
        {"tsql_es_fecha", 1, EsFechaGuardada, true},
        {"tsql_enteros", 1, SonEnteras, false},
        {"tsql_suma", 2, Suma, true},
        {"tsql_resta", 2, Resta, true},
        {"dateadd", 3, DateAdd, true},
        {"datediff", 3, DateDiff, true},
        {"datepart", 2, DatePart, true},
        {"tsql_round", 2, Round, true},
        {"tsql_round", 3, Round, true},
        {"tsql_floor", 1, Floor, true},
        {"tsql_ceiling", 1, Ceiling, true},
        {"tsql_sign", 1, Sign, true},
        {"tsql_power", 2, Power, true},
        {"tsql_sqrt", 1, Sqrt, true},
        {"tsql_replicate", 2, Replicate, true},
        {"tsql_space", 1, Space, true},
        {"tsql_reverse", 1, Reverse, true},
        {"upper", 1, Upper, true},
        {"lower", 1, Lower, true},
        {"tsql_left", 2, Left, true},
        {"tsql_right", 2, Right, true},
        {"tsql_substring", 3, Substring, true},
        {"tsql_replace", 3, Replace, true},
        {"like", 2, Like, true},
        {"like", 3, Like, true},
    };
    int rc = sqlite3_create_collation(db, "SQLSERVER", SQLITE_UTF8, nullptr, ComparaSqlServer);
    for (const Funcion& f : kFunciones) {
        if (rc != SQLITE_OK) break;
        rc = sqlite3_create_function(db, f.nombre, f.argumentos, f.determinista ? deterministica : SQLITE_UTF8, nullptr,
                                     f.funcion, nullptr, nullptr);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "tsql_avg", 2, SQLITE_UTF8, nullptr, nullptr, PasoPromedio, FinPromedio);
    if (rc == SQLITE_OK) {
        auto* ultima = new UltimaInsercion;
        rc = sqlite3_create_function_v2(db, "tsql_identidad", 0, SQLITE_UTF8, ultima, Identidad, nullptr, nullptr,
                                        [](void* p) { delete static_cast<UltimaInsercion*>(p); });
        if (rc == SQLITE_OK) sqlite3_update_hook(db, AnotaInsercion, ultima);
    }
    return rc;
}

}  // namespace

#ifdef PAVENKO_EXTENSION_CARGABLE
// The entry point SQLite derives from the file name libpavenko_sqlext.so, and the generic one.
extern "C" int sqlite3_pavenkosqlext_init(sqlite3* db, char**, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    return Registra(db);
}
extern "C" int sqlite3_extension_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    return sqlite3_pavenkosqlext_init(db, error, api);
}
#else
int RegistraExtensionSql(sqlite3* db) {
    return Registra(db);
}
#endif
