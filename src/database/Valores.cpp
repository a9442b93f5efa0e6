// SQL literals, the classes of ADO type codes and the name helpers of the database object: pure text work,
// none of it touches the connection.
#include "DB_Dll.h"
#include "Texto.h"

namespace {
// The type code a caller passed; a null or a text that is no number matches no class.
std::optional<double> Codigo(const Variant& Qtype) {
    if (Qtype.EsNull()) return std::nullopt;
    try {
        return Qtype.ADouble();
    } catch (const ErrorEjecucion&) {
        return std::nullopt;
    }
}

bool EsUnoDe(const Variant& Qtype, std::initializer_list<int> codigos) {
    auto c = Codigo(Qtype);
    if (!c) return false;
    for (int codigo : codigos)
        if (*c == codigo) return true;
    return false;
}
}  // namespace

Variant DB_Dll::SQLValue(Variant Valor, const QString& Tipo) {
    // 1. Empty delimiters, a working copy.
    QString izquierda, derecha;
    Variant valor = Valor;
    if (IgualesTexto(Tipo, QStringLiteral("@")) && !valor.EsNull()) {
        // 2. A number with "." as its decimal point, whatever the locale.
        valor = ReemplazaTexto(MonedaATexto(ACurrency(valor.ATexto())), QStringLiteral(","), QStringLiteral("."));
    } else if (IgualesTexto(Tipo, QStringLiteral("'"))) {
        // 3. A text literal.
        izquierda = derecha = QStringLiteral("'");
    }
    // 4. Any other Tipo leaves the value bare.
    // 5. Nulls.
    if (valor.EsNull()) {
        if (!IgualesTexto(Tipo, QStringLiteral("@"))) {
            valor = QStringLiteral("NULL");
            izquierda.clear();
            derecha.clear();
        } else {
            valor = QStringLiteral("0");
        }
    }
    // 6. An apostrophe inside a text literal is doubled, so that the value cannot close its literal early.
    QString texto = valor.ATexto();
    if (!izquierda.isEmpty()) texto.replace(QStringLiteral("'"), QStringLiteral("''"));
    return izquierda + texto + derecha;
}

bool DB_Dll::adodate(const Variant& Qtype) const {
    return EsUnoDe(Qtype, {7, 133, 137, 134, 135, 64});
}

QString DB_Dll::ADOComilla(const Variant& Qtype) const {
    return adodate(Qtype) || ADOText(Qtype) ? QStringLiteral("'") : QString();
}

bool DB_Dll::ADOText(const Variant& Qtype) const {
    return EsUnoDe(Qtype, {8, 201, 203, 200, 202, 130, 129});
}

bool DB_Dll::ADONumeric(const Variant& Qtype) const {
    return EsUnoDe(Qtype, {20, 14, 5, 3, 131, 4, 2, 16, 21, 19, 18, 17});
}

bool DB_Dll::ADOCurrency(const Variant& Qtype) const {
    return EsUnoDe(Qtype, {6});
}

bool DB_Dll::ADOBoolean(const Variant& Qtype) const {
    return EsUnoDe(Qtype, {11});
}

QString DB_Dll::stSTF(QString& rsName, qint16 rnPart) {
    int punto = Instr(rsName, QStringLiteral("."));
    if (punto > 0 && Instr(rsName, QStringLiteral("."), punto + 1) > 0) {
        // Three parts: the owner goes, whatever part was asked for.
        rsName = StripOwner(rsName);
        return rsName;
    }
    if (rnPart != 0) return Medio(rsName, punto + 1);
    return Izquierda(rsName, punto - 1);  // without "." this asks for a negative length
}

QString DB_Dll::AddBrackets(const QString& rObjName) const {
    if (Instr(rObjName, QStringLiteral(" ")) > 0 && Izquierda(rObjName, 1) != QStringLiteral("["))
        return QStringLiteral("[") + rObjName + QStringLiteral("]");
    return rObjName;
}

QString DB_Dll::StripConnect(const QString& rsTblName) const {
    int flecha = Instr(rsTblName, QStringLiteral("->"));
    if (flecha > 0) return Izquierda(rsTblName, flecha - 2);  // drops the blank before the arrow too
    return rsTblName;
}

QString DB_Dll::StripBrackets(const QString& rsObjName) const {
    if (Izquierda(rsObjName, 1) == QStringLiteral("[")) return Medio(rsObjName, 2, int(rsObjName.size()) - 2);
    return rsObjName;
}

QString DB_Dll::StripOwner(QString& rsTblName) {
    int punto = Instr(rsTblName, QStringLiteral("."));
    if (punto > 0) rsTblName = Medio(rsTblName, punto + 1);
    return rsTblName;
}

QString DB_Dll::StripFileName(const QString& rsFileName) const {
    for (int i = int(rsFileName.size()); i >= 1; --i)
        if (rsFileName.at(i - 1) == QLatin1Char('\\')) return Izquierda(rsFileName, i - 1);
    return QString();
}
