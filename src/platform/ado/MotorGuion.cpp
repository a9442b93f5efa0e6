// The scripted engine: records, then answers with the first matching scripted answer.
#include "MotorGuion.h"

#include "ErroresSqlite.h"
#include "Texto.h"

namespace {

int TipoDeValor(const Variant& v) {
    switch (v.Tipo()) {
        case TipoVariant::Integer:
            return ado::adSmallInt;
        case TipoVariant::Long:
            return ado::adInteger;
        case TipoVariant::Double:
            return ado::adDouble;
        case TipoVariant::Currency:
            return ado::adCurrency;
        case TipoVariant::Date:
            return ado::adDBTimeStamp;
        case TipoVariant::Boolean:
            return ado::adBoolean;
        default:
            return ado::adVarChar;
    }
}

Resultado ResultadoDe(const QStringList& columnas, const QList<QList<Variant>>& filas) {
    Resultado r;
    r.tieneFilas = true;
    for (int i = 0; i < columnas.size(); ++i) {
        Columna c;
        c.nombre = columnas[i];
        c.tipo = filas.isEmpty() || i >= filas.front().size() ? ado::adVarChar : TipoDeValor(filas.front()[i]);
        c.tamano = c.tipo == ado::adVarChar ? 255 : 8;
        r.columnas.push_back(c);
    }
    r.filas = filas;
    return r;
}

bool Filtra(const QList<Variant>& restricciones, int i, const Variant& valor) {
    if (i >= restricciones.size() || restricciones[i].EsEmpty() || restricciones[i].EsNull()) return true;
    const QString r = Recorta(restricciones[i].ATexto());
    return r.isEmpty() || IgualesTexto(r, Recorta(valor.ATexto()));
}

}  // namespace

void GuionMotor::Filas(const QString& fragmento, const QStringList& columnas, const QList<QList<Variant>>& filas,
                       int veces) {
    respuestas.push_back({fragmento, ResultadoDe(columnas, filas), {}, 0, veces});
}

void GuionMotor::Afectadas(const QString& fragmento, long filas, int veces) {
    Resultado r;
    r.afectados = filas;
    respuestas.push_back({fragmento, r, {}, 0, veces});
}

void GuionMotor::Falla(const QString& fragmento, long nativo, const QString& descripcion, long numero,
                       const QString& estado, int veces) {
    Falla(fragmento, {{numero, descripcion, Origen::SqlServer, estado, nativo}}, veces);
}

void GuionMotor::Falla(const QString& fragmento, const QList<ErrorProveedor>& errores, int veces) {
    respuestas.push_back({fragmento, {}, errores, 0, veces});
}

void GuionMotor::PierdeConexion(bool como3709, bool reconectaLuego) {
    perdida = true;
    perdidaCon3709 = como3709;
    reconecta = reconectaLuego;
}

void GuionMotor::FallaAlAbrir(const QList<ErrorProveedor>& errores, int veces) {
    fallasAlAbrir = errores;
    vecesFallaAlAbrir = veces;
}

void GuionMotor::Tablas(const QStringList& nombres) {
    QList<QList<Variant>> filas;
    for (const QString& n : nombres) filas.push_back({Variant(base), Variant("dbo"), Variant(n), Variant("TABLE")});
    esquemaTablas = ResultadoDe({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"}, filas);
}

void GuionMotor::ColumnasDe(const QString& tabla, const QStringList& columnas) {
    if (esquemaColumnas.columnas.isEmpty())
        esquemaColumnas =
            ResultadoDe({"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME", "ORDINAL_POSITION"}, {});
    for (int i = 0; i < columnas.size(); ++i)
        esquemaColumnas.filas.push_back(
            {Variant(base), Variant("dbo"), Variant(tabla), Variant(columnas[i]), Variant(static_cast<qint32>(i + 1))});
}

QList<ErrorProveedor> GuionMotor::ErroresDeRed() {
    return {{Err::ErrorNoEspecificado,
             QStringLiteral("[DBNETLIB][ConnectionWrite (send()).]General network error. Check your network "
                            "documentation."),
             Origen::SqlServer, QStringLiteral("08S01"), 11}};
}

Connection::FabricaMotor MotorGuion::Fabrica(std::shared_ptr<GuionMotor> guion) {
    return [guion](const QString&) { return std::make_unique<MotorGuion>(guion); };
}

void MotorGuion::ExigeEnlace() {
    GuionMotor& g = *guion_;
    if (g.perdida) throw ErrorMotor(GuionMotor::ErroresDeRed(), g.perdidaCon3709 ? Err::ConexionInutilizable : 0);
}

void MotorGuion::Abre(const QString& cadena) {
    GuionMotor& g = *guion_;
    g.aperturas.push_back(cadena);
    if (g.vecesFallaAlAbrir != 0) {
        if (g.vecesFallaAlAbrir > 0) --g.vecesFallaAlAbrir;
        throw ErrorMotor(g.fallasAlAbrir);
    }
    if (g.perdida && !g.reconecta)
        throw ErrorMotor({{Err::ErrorNoEspecificado,
                           QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or "
                                          "access denied."),
                           Origen::SqlServer, QStringLiteral("08001"), 17}});
    g.perdida = false;
    cadena_ = cadena;
}

void MotorGuion::Cierra() {
    ++guion_->cierres;
}

Resultado MotorGuion::Ejecuta(const QString& sql) {
    GuionMotor& g = *guion_;
    g.sentencias.push_back(sql);
    ExigeEnlace();
    for (qsizetype i = 0; i < g.respuestas.size(); ++i) {
        RespuestaGuion& r = g.respuestas[i];
        if (!r.fragmento.isEmpty() && !sql.contains(r.fragmento, Qt::CaseInsensitive)) continue;
        RespuestaGuion respuesta = r;
        if (r.veces > 0 && --r.veces == 0) g.respuestas.removeAt(i);
        if (!respuesta.errores.isEmpty() || respuesta.numero != 0)
            throw ErrorMotor(respuesta.errores, respuesta.numero);
        return respuesta.resultado;
    }
    // Unscripted: a query reads no rows, anything else changes none.
    Resultado r;
    r.tieneFilas = Recorta(sql).startsWith(QStringLiteral("select"), Qt::CaseInsensitive);
    r.afectados = r.tieneFilas ? -1 : 0;
    return r;
}

void MotorGuion::IniciaTransaccion() {
    guion_->sentencias.push_back(QStringLiteral("BeginTrans"));
    ExigeEnlace();
}
void MotorGuion::ConfirmaTransaccion() {
    guion_->sentencias.push_back(QStringLiteral("CommitTrans"));
    ExigeEnlace();
}
void MotorGuion::DeshaceTransaccion() {
    guion_->sentencias.push_back(QStringLiteral("RollbackTrans"));
    ExigeEnlace();
}

Resultado MotorGuion::Esquema(long tipo, const QList<Variant>& restricciones) {
    GuionMotor& g = *guion_;
    g.esquemas.push_back({tipo, restricciones});
    ExigeEnlace();
    Resultado r = tipo == ado::adSchemaTables ? g.esquemaTablas : g.esquemaColumnas;
    r.tieneFilas = true;
    QList<QList<Variant>> filas;
    for (const auto& f : r.filas) {
        const bool cumple = tipo == ado::adSchemaTables
                                ? Filtra(restricciones, 2, f[2])
                                : Filtra(restricciones, 2, f[2]) && Filtra(restricciones, 3, f[3]);
        if (cumple) filas.push_back(f);
    }
    r.filas = filas;
    return r;
}

void MotorGuion::GrabaFila(const QString& tabla, const QList<Columna>& columnas, const QList<Variant>& original,
                           const QList<Variant>& nueva) {
    GuionMotor& g = *guion_;
    ExigeEnlace();
    if (!g.fallasAlGrabar.isEmpty()) {
        const QList<ErrorProveedor> errores = g.fallasAlGrabar;
        g.fallasAlGrabar.clear();
        throw ErrorMotor(errores);
    }
    QStringList nombres;
    for (const Columna& c : columnas) nombres.push_back(c.nombre);
    g.grabadas.push_back({tabla, nombres, original, nueva});
}

void MotorGuion::FijaBaseDeDatos(const QString& nombre) {
    ExigeEnlace();
    guion_->base = nombre;
}

QString MotorGuion::CadenaInforme() const {
    return guion_->cadenaInforme.isEmpty() ? cadena_ : guion_->cadenaInforme;
}
