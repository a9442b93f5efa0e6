// The SQLite side of SQL Server's behaviour: the collation SQLSERVER (letter case and trailing blanks ignored, as
// the server's usual collation compares) and the functions LEN, CHARINDEX, CONVERT and GETDATE. Built twice from this
// file: into the embedded provider, and as the loadable extension an ODBC connection names with LoadExt.
#ifdef PAVENKO_EXTENSION_CARGABLE
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1
#else
#include <sqlite3.h>
#endif

#include <cstdio>
#include <cstring>
#include <ctime>

#include "ExtensionSql.h"

namespace {

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

// Upper case for the letters a Spanish-speaking workstation writes: ASCII and Latin-1 (accents are kept).
unsigned Mayuscula(unsigned c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    return c;
}

int SinBlancosFinales(const void* texto, int largo) {
    const char* s = static_cast<const char*>(texto);
    while (largo > 0 && s[largo - 1] == ' ') --largo;
    return largo;
}

int ComparaSqlServer(void*, int largoA, const void* a, int largoB, const void* b) {
    const unsigned char* pa = static_cast<const unsigned char*>(a);
    const unsigned char* pb = static_cast<const unsigned char*>(b);
    const unsigned char* finA = pa + SinBlancosFinales(a, largoA);
    const unsigned char* finB = pb + SinBlancosFinales(b, largoB);
    while (pa < finA && pb < finB) {
        const unsigned ca = Mayuscula(Lee(pa, finA));
        const unsigned cb = Mayuscula(Lee(pb, finB));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (pa < finA) return 1;
    if (pb < finB) return -1;
    return 0;
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
void Len(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
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

// CONVERT('type', value [, style]): numbers for the numeric types; for the text types, a stored date in the
// server's styles 103 (dd/mm/yyyy), 3 (dd/mm/yy), 101 (mm/dd/yyyy), 108 (hh:mm:ss), 112 (yyyymmdd) and 120
// (yyyy-mm-dd hh:mm:ss), anything else as its text.
void Convert(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const char* tipo = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    auto empieza = [&](const char* prefijo) {
        return sqlite3_strnicmp(tipo, prefijo, static_cast<int>(std::strlen(prefijo))) == 0;
    };
    if (empieza("int") || empieza("smallint") || empieza("bigint") || empieza("tinyint") || empieza("bit"))
        return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[1]));
    if (empieza("float") || empieza("real") || empieza("decimal") || empieza("numeric") || empieza("money"))
        return sqlite3_result_double(ctx, sqlite3_value_double(argv[1]));
    const char* v = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int largo = sqlite3_value_bytes(argv[1]);
    const int estilo = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
    const bool fecha = largo >= 10 && v[4] == '-' && v[7] == '-';
    const bool hora = largo >= 19 && v[13] == ':' && v[16] == ':';
    char salida[32];
    const char* r = nullptr;
    if (fecha && estilo == 103) r = salida, std::snprintf(salida, sizeof salida, "%.2s/%.2s/%.4s", v + 8, v + 5, v);
    if (fecha && estilo == 3) r = salida, std::snprintf(salida, sizeof salida, "%.2s/%.2s/%.2s", v + 8, v + 5, v + 2);
    if (fecha && estilo == 101) r = salida, std::snprintf(salida, sizeof salida, "%.2s/%.2s/%.4s", v + 5, v + 8, v);
    if (fecha && estilo == 112) r = salida, std::snprintf(salida, sizeof salida, "%.4s%.2s%.2s", v, v + 5, v + 8);
    if (fecha && hora && estilo == 108) r = salida, std::snprintf(salida, sizeof salida, "%.8s", v + 11);
    if (fecha && hora && estilo == 120) r = salida, std::snprintf(salida, sizeof salida, "%.10s %.8s", v, v + 11);
    if (r) return sqlite3_result_text(ctx, r, -1, SQLITE_TRANSIENT);
    sqlite3_result_text(ctx, v, largo, SQLITE_TRANSIENT);
}

// GETDATE(): the workstation's local date and time, in the form the provider stores dates.
void GetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    std::time_t ahora = std::time(nullptr);
    std::tm local{};
    localtime_r(&ahora, &local);
    char texto[32];
    std::strftime(texto, sizeof texto, "%Y-%m-%d %H:%M:%S", &local);
    sqlite3_result_text(ctx, texto, -1, SQLITE_TRANSIENT);
}

int Registra(sqlite3* db) {
    const int deterministica = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_collation(db, "SQLSERVER", SQLITE_UTF8, nullptr, ComparaSqlServer);
    if (rc == SQLITE_OK) rc = sqlite3_create_function(db, "len", 1, deterministica, nullptr, Len, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "charindex", 2, deterministica, nullptr, CharIndex, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "charindex", 3, deterministica, nullptr, CharIndex, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "convert", 2, deterministica, nullptr, Convert, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "convert", 3, deterministica, nullptr, Convert, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "getdate", 0, SQLITE_UTF8, nullptr, GetDate, nullptr, nullptr);
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
