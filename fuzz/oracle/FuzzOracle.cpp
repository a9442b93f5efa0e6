// Fuzzes the Oracle dialect translation of one statement and the synonym redirection. Whatever the statement,
// they end or raise a run-time error (an unpaired quote, a TOP without its count), and their output stays within a
// fixed multiple of the input: each rewrite lengthens a piece by a bounded amount, and no rewrite may feed another
// without end.
#include "DB_Dll.h"
#include "Entorno.h"
#include "ErrorEjecucion.h"

namespace {
// The longest growth of one input character: a three-character style number becomes a twelve-character mask, a
// short date literal a TO_DATE call.
constexpr qsizetype kFactor = 16;
constexpr qsizetype kHolgura = 256;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t largo) {
    EntornoFuzz::Uno().Reinicia();
    static DB_Dll* db = [] {
        auto* d = new DB_Dll;
        d->gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=EMP;User Id=U;Password=P;");
        return d;
    }();
    const QString sentencia = QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(largo));
    const qsizetype limite = kFactor * sentencia.size() + kHolgura;
    try {
        const QString oracle = db->ORACLE_Dicc(sentencia);
        EXIGE(oracle.size() <= limite, "%lld characters became %lld", static_cast<long long>(sentencia.size()),
              static_cast<long long>(oracle.size()));
    } catch (const ErrorEjecucion&) {
    }
    for (bool admin : {false, true}) {
        db->gEsAdmin = admin;
        const QString sinonimos = db->SS_TSinonimos(sentencia);
        EXIGE(sinonimos.size() <= limite, "synonyms: %lld characters became %lld",
              static_cast<long long>(sentencia.size()), static_cast<long long>(sinonimos.size()));
    }
    return 0;
}
