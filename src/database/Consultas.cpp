// Queries and record access of the database object: record sets, statements, existence checks, one field of
// one row, column maxima and minima. Statements are SQL Server text; Oracle connections translate on the way.
#include <functional>

#include "DB_Dll.h"
#include "Pasos.h"
#include "Texto.h"
#include "Ui.h"

namespace {
// The variant type code a caller passed (8 text, 7 date, 3, 4 and 5 numbers); a null is none of them.
long CodigoTipo(const Variant& tipo) {
    if (tipo.EsNull()) return -1;
    try {
        return tipo.ALargo();
    } catch (const ErrorEjecucion&) {
        return -1;
    }
}

bool EsNumero(long tipo) {
    return tipo == 3 || tipo == 5 || tipo == 4;
}

// The number a key begins with, written for SQL: "." as the decimal point, no blanks.
QString NumeroSQL(const QString& valor) {
    return QString::number(Val(valor), 'g', 15).replace(QStringLiteral("e+"), QStringLiteral("E+"));
}

// A text key between apostrophes: an apostrophe of its own is doubled, so it cannot end the literal.
QString Literal(const QString& valor) {
    return QString(valor).replace(QStringLiteral("'"), QStringLiteral("''"));
}

// The numeric value of a field: numbers as they are, texts by the number they begin with; null and empty are 0.
double ValorNumerico(const Variant& valor) {
    switch (valor.Tipo()) {
        case TipoVariant::Empty:
        case TipoVariant::Null:
        case TipoVariant::String:
            return Val(valor.EsNull() ? QString() : valor.ATexto());
        default:
            return valor.ADouble();
    }
}

// The box of the existence checks and of DatosTabla: the description, Abort, Retry and Ignore.
int AvisoAlOperador(const ErrorEjecucion& e) {
    return ui().MsgBox(e.Description(), Estilo::AbortRetryIgnore + Estilo::Critical,
                       QStringLiteral("Aviso al Operador"));
}

// The last steps of the existence checks: with the caller's record set, it is opened on the statement and left
// open on the rows found; without one, a record set of its own is opened on propia of the statement and released.
// Whether a row exists is what either set says.
bool BuscaFilas(Pasos& pasos, Connection& conexion, Recordset* Lrcs, bool SoloLectura, const QString& sql,
                const std::function<QString(const QString&)>& propia) {
    bool existe = false;
    if (Lrcs) {
        pasos.run([&] {
            if (Lrcs->State() != ado::adStateClosed) Lrcs->Close();
        });
        pasos.run([&] {
            if (SoloLectura)
                Lrcs->Open(sql, conexion, ado::adOpenForwardOnly, ado::adLockReadOnly);
            else
                Lrcs->Open(sql, conexion, Lrcs->CursorType(), Lrcs->LockType());
        });
        pasos.run([&] { existe = !Lrcs->Bof(); });
    } else {
        Recordset rs;
        pasos.run([&] { rs.Open(propia(sql), conexion, ado::adOpenForwardOnly, ado::adLockReadOnly); });
        pasos.run([&] { existe = !rs.Bof(); });
        pasos.run([&] { rs.Close(); });
    }
    return existe;
}
}  // namespace

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, Recordset& Lrcs, Connection* Conexionactiva, long CursorType,
                            long LockType, long Options, bool ConvOracle) {
    // A lost connection (0x80004005 or 3709 with provider errors) is reopened up to twice before the
    // operator is asked. Once a reopened connection has failed the same way, the fault is not the link:
    // reconnecting again would loop for ever, so the operator decides from then on.
    bool reconectado = false;
    Pasos pasos([&](const ErrorEjecucion& e) -> int {
        if ((e.Number() == Err::ErrorNoEspecificado || e.Number() == Err::ConexionInutilizable) &&
            gCnn.errors().Count() > 0 && !reconectado) {
            reconectado = true;
            ReintentaConectar();
            if (gOpenFlag) return Reintentar;
            ReintentaConectar();
            if (gOpenFlag) return Reintentar;
        }
        return TrataError(e, std::nullopt, QStringLiteral("AbrirRecordset"));
    });
    // 1. Close what the record set held.
    pasos.run([&] { CierraRecordset(Lrcs); });
    // 2. Synonyms.
    pasos.run([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); });
    // 3. Open, in Oracle's dialect on an Oracle connection.
    pasos.run([&] {
        Connection& conexion = Conexionactiva ? *Conexionactiva : gCnn;
        if (Instr(gCnn.ConnectionString(), QStringLiteral("ORACLE")) > 1 && ConvOracle)
            Lrcs.Open(ORACLE_Dicc(SentenciaSQL), conexion, CursorType, LockType, Options);
        else
            Lrcs.Open(SentenciaSQL, conexion, CursorType, LockType, Options);
    });
}

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, long* RecordsAffected, Recordset* Lrcs) {
    // A failure never reaches the caller: a truncation warning is cleared, the expected provider failures and
    // anything inside a transaction stay silent, the rest is shown.
    auto truncacion = [&] {
        Errors& errores = Predeterminada().gCnn.errors();
        return errores.Count() > 0 && !Contiene(SentenciaSQL, QStringLiteral("TRANS")) &&
               errores.Item(0).NativeError == 8152;
    };
    Pasos pasos([&](const ErrorEjecucion& e) -> int {
        if (truncacion()) {
            Predeterminada().gCnn.errors().Clear();
            return 0;
        }
        const long n = e.Number();
        if (n != Err::ErrorNoEspecificado && n != Err::ViolacionIntegridad && n != Err::TablaNoEncontrada &&
            n != Err::ErrorSentencia && !Contiene(SentenciaSQL, QStringLiteral("TRANS")))
            ui().MsgBox(e.Description(), Estilo::Critical + Estilo::OK, QStringLiteral("Aviso al operador!!!"));
        return 0;
    });
    bool oracle = false;
    // 1. Prepare the text: scripts that drop and create objects get the synonyms, unless they also delete or
    // carry the marker; every other text only loses its markers.
    pasos.run([&] {
        if (Contiene(SentenciaSQL, QStringLiteral("DROP")) && Contiene(SentenciaSQL, QStringLiteral("CREATE"))) {
            if (Contiene(SentenciaSQL, QStringLiteral("DELETE")) || Contiene(SentenciaSQL, QStringLiteral("@ADMIN_")))
                SentenciaSQL = Reemplaza(SentenciaSQL, QStringLiteral("@Admin_"), QString());
            else
                SentenciaSQL = SS_TSinonimos(SentenciaSQL);
        } else {
            SentenciaSQL = Reemplaza(SentenciaSQL, QStringLiteral("@Admin_"), QString());
        }
    });
    // 2. Oracle: the script executor takes the text.
    pasos.run([&] {
        oracle = Contiene(gCnn.ConnectionString(), QStringLiteral("ORACLE"));
        if (!oracle) return;
        long sinCuenta = 0;
        EjecutaScriptOracle(SentenciaSQL, RecordsAffected ? *RecordsAffected : sinCuenta);
    });
    // 3. Otherwise the connection runs it.
    pasos.run([&] {
        if (!oracle) gCnn.Execute(SentenciaSQL, RecordsAffected, -1, Lrcs);
    });
    // 4. A truncation warning left on the default connection is cleared.
    pasos.run([&] {
        Errors& errores = Predeterminada().gCnn.errors();
        if ((errores.Count() == 1 || errores.Count() == 2) && truncacion()) errores.Clear();
    });
}

void DB_Dll::CierraRecordset(Recordset& LrcsTemp) {
    Pasos pasos([&](const ErrorEjecucion& e) -> int {
        if (e.Number() == Err::OperacionNoPermitida) {
            // A pending edit: dropped, and the record set closed.
            try {
                LrcsTemp.CancelUpdate();
                if (LrcsTemp.State() != ado::adStateClosed) LrcsTemp.Close();
            } catch (const ErrorEjecucion&) {
                // nothing more can be done for a record set that refuses to close
            }
            return 0;
        }
        return TrataError(e, std::nullopt, QStringLiteral("CierraRecordset"));
    });
    pasos.run([&] {
        if (LrcsTemp.State() != ado::adStateClosed) LrcsTemp.Close();
    });
}

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, Recordset* Lrcs,
                           const Variant& Tipodato, const QString& Condicion, bool SoloLectura) {
    QString sql;
    Pasos pasos(AvisoAlOperador);
    // 1. The statement.
    pasos.run([&] {
        if (Condicion.isEmpty()) {
            const long tipo = CodigoTipo(Tipodato);
            if (tipo == 8)
                sql = QStringLiteral("SELECT TOP 1  * FROM ") + Tabla +
                      QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='") +
                      Literal(Recorta(ValorBuscado)) + QStringLiteral("'");
            else if (tipo == 7)
                sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ") + Campo +
                      QStringLiteral(" = ") + Recorta(ValorBuscado) + QStringLiteral(" ");
            else if (EsNumero(tipo))
                sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ") + Campo +
                      QStringLiteral(" = ") + NumeroSQL(ValorBuscado);
            else
                sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ") + Campo +
                      QStringLiteral(" = ") + ValorBuscado;
        } else {
            sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock) ") +
                  (Contiene(Condicion, QStringLiteral(" WHERE ")) ? QStringLiteral(" ") : QStringLiteral(" WHERE ")) +
                  Condicion;
        }
    });
    // 2. Synonyms.
    pasos.run([&] { sql = SS_TSinonimos(sql); });
    // 3. The caller's record set, left open on the rows found; 4. or one of its own, in the connection's dialect.
    return BuscaFilas(pasos, gCnn, Lrcs, SoloLectura, sql, [this](const QString& t) { return ORACLE_Dicc(t); });
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo, Recordset* Lrcs,
                             const Variant& Tipodato, const QString& Condicion, bool SoloLectura) {
    QString sql;
    Connection& conexion = Predeterminada().gCnn;
    Pasos pasos(AvisoAlOperador);
    // 1. The statement, without row limit, synonyms or translation.
    pasos.run([&] {
        if (Condicion.isEmpty()) {
            const long tipo = CodigoTipo(Tipodato);
            QString prefijo = QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)   WHERE ");
            if (tipo == 8)
                sql = prefijo + Campo + QStringLiteral(" ='") + Literal(ValorBuscado) + QStringLiteral("'");
            else if (tipo == 7)
                sql = prefijo + Campo + QStringLiteral(" = ") + Recorta(ValorBuscado) + QStringLiteral(" ");
            else if (EsNumero(tipo))
                sql = prefijo + Campo + QStringLiteral(" = ") + NumeroSQL(ValorBuscado);
            else
                sql = prefijo + Campo + QStringLiteral(" = ") + ValorBuscado;
        } else {
            sql = QStringLiteral("SELECT * FROM ") + Tabla + QStringLiteral(" with(nolock)  ") +
                  (Contiene(Condicion, QStringLiteral(" WHERE ")) ? QStringLiteral(" ") : QStringLiteral(" WHERE ")) +
                  Condicion;
        }
    });
    return BuscaFilas(pasos, conexion, Lrcs, SoloLectura, sql, [](const QString& t) { return t; });
}

Variant DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                           const QString& Campo, const Variant& Tipodato, const QString& Condicion, bool UsaTrim,
                           bool IgnoraError) {
    Variant resultado;
    QString sql;
    Recordset rs;
    Pasos pasos([&](const ErrorEjecucion& e) -> int {
        if (IgnoraError) {
            resultado = QString();
            return 0;
        }
        return AvisoAlOperador(e);
    });
    // 1. The statement.
    pasos.run([&] {
        const QString y = Recorta(Condicion).isEmpty() ? QString() : QStringLiteral(" AND ");
        const QString desde = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock)  WHERE ");
        const long tipo = CodigoTipo(Tipodato);
        if (tipo == 8 && UsaTrim)
            sql = desde + QStringLiteral("LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='") +
                  Literal(Recorta(ValorBuscado)) + QStringLiteral("' ") + y + Condicion;
        else if (tipo == 8)
            sql = desde + Campo + QStringLiteral(" ='") + Literal(ValorBuscado) + QStringLiteral("' ") + y + Condicion;
        else if (tipo == 7)
            sql = desde + Campo + QStringLiteral(" = #") + Recorta(ValorBuscado) + QStringLiteral("# ") + y + Condicion;
        else if (EsNumero(tipo))
            sql = desde + Campo + QStringLiteral(" = ") + NumeroSQL(ValorBuscado) + y + Condicion;
        else
            sql = desde + Campo + QStringLiteral(" = ") + ValorBuscado + y + Condicion;
    });
    // 2. Open.
    pasos.run([&] { AbrirRecordset(sql, rs, &gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true); });
    // 3. The connection was lost on the way.
    if (!gOpenFlag) return Variant();
    // 4. The field of the first row, as text.
    pasos.run([&] { resultado = rs.Bof() ? QString() : ValorSeguro(rs.Fields(CampoDevuelto).Value()).ATexto(); });
    // 5. Close.
    pasos.run([&] { CierraRecordset(rs); });
    return resultado;
}

Variant DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, std::optional<Variant> Tipo,
                            std::optional<Variant> Condicion) {
    QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (Condicion) sql += QStringLiteral(" WHERE ") + Recorta(Condicion->ATexto());
    Recordset rs;
    rs.Open(sql, gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    Variant resultado;
    if (!rs.Bof()) {
        rs.MoveFirst();
        Variant mayor = ValorSeguro(rs.Fields(QStringLiteral("MAYOR")).Value());
        resultado = Tipo && CodigoTipo(*Tipo) == 7 ? mayor : Variant(ValorNumerico(mayor));
    }
    rs.Close();
    return resultado;
}

Variant DB_Dll::BuscaMinimo(const QString& QueTabla, const QString& QueCampo, std::optional<Variant>,
                            std::optional<Variant> Condicion) {
    QString sql = QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla +
                  QStringLiteral("  with(nolock) ");
    if (Condicion) sql += QStringLiteral(" WHERE ") + Recorta(Condicion->ATexto());
    Recordset rs;
    rs.Open(sql, gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    Variant resultado;
    if (!rs.Bof()) {
        rs.MoveFirst();
        resultado = ValorNumerico(ValorSeguro(rs.Fields(QStringLiteral("MENOR")).Value()));
    }
    rs.Close();
    return resultado;
}

Variant DB_Dll::BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const Variant&,
                                  const QString& Condicion) {
    QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (!Recorta(Condicion).isEmpty()) sql += QStringLiteral(" WHERE ") + Condicion;
    Recordset rs;
    rs.Open(sql, gCnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
    Variant resultado;
    if (!rs.Bof()) {
        rs.MoveFirst();
        resultado = ValorNumerico(ValorSeguro(rs.Fields(QStringLiteral("MAYOR")).Value()));
    }
    rs.Close();
    return resultado;
}

void DB_Dll::QConsulta(const QString&, QObject*, const QString&, const QString&, const QString&,
                       std::optional<Variant>) {}

void DB_Dll::QGridConsulta(const QString&, const QString&, const QString&, std::optional<Variant>,
                           std::optional<Variant>) {}
