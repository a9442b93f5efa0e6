// The settings reads and writes, and the start-up's settings load.
#include "Configuracion.h"

#include <variant>

#include "DB_Dll.h"
#include "Pasos.h"
#include "Proceso.h"
#include "SentenciasSQL.h"
#include "Sesion.h"
#include "Texto.h"
#include "TkPrint2.h"

namespace {

QString& TablaCfg() {
    QString& tabla = sesion().gTablaCfg;
    if (Recorta(tabla).isEmpty()) tabla = QStringLiteral("TA_CONFIGURACION");
    return tabla;
}

QString LeeClave(DB_Dll& db, const QString& Clave, QString* ValorAux, const QString& rutina) {
    Pasos pasos([&](const ErrorEjecucion& e) { return TrataError(e, std::nullopt, rutina); });
    QString sql, valor, aux;
    Recordset rs;
    // The key is quoted with its apostrophes doubled: a key can never change the statement.
    pasos.run([&] {
        sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + TablaCfg() +
              QStringLiteral(" with(nolock)  WHERE CLAVE = '") + DuplicaApostrofes(Recorta(Clave)) +
              QStringLiteral("'");
    });
    // The two date keys run as upper-case statements.
    pasos.run([&] {
        if (IgualesTexto(Recorta(Clave), QStringLiteral("[FECHA HASTA]")) ||
            IgualesTexto(Recorta(Clave), QStringLiteral("[FECHA DESDE]")))
            sql = Mayus(sql);
    });
    // The read: opening and taking the row are one step, so that a retry opens the record set again rather
    // than reading one the failure left closed.
    pasos.run([&] {
        db.AbrirRecordset(sql, rs);
        if (rs.Eof()) {
            valor = QStringLiteral(" ");
            aux.clear();
        } else {
            valor = ValorSeguro(rs.Valor(QStringLiteral("Valor"))).ATexto();
            aux = ValorSeguro(rs.Valor(QStringLiteral("ValorAux"))).ATexto();
        }
    });
    pasos.run([&] { db.CierraRecordset(rs); });
    if (pasos.Detenido()) {
        // Given up: the record set is released and the read returns nothing.
        Pasos::OmiteFallos().run([&] { db.CierraRecordset(rs); });
        if (ValorAux) ValorAux->clear();
        return QString();
    }
    if (IgualesTexto(Clave, QStringLiteral("THEME")) && Recorta(valor).isEmpty()) valor = QStringLiteral("1");
    if (ValorAux) *ValorAux = aux;
    return valor;
}

}  // namespace

QString Cfg(const QString& Clave, QString* ValorAux) {
    return LeeClave(sesion().gDB(), Clave, ValorAux, QStringLiteral("Cfg"));
}

QString CfgTK(const QString& Clave, QString* ValorAux) {
    return LeeClave(sesion().gDBEstadisticas(), Clave, ValorAux, QStringLiteral("CfgTK"));
}

void GrabaCfgTK(const QString& Clave, const Variant& Valor, const QString& ValorAux, bool PoliticaNegocio,
                const QString& Grupo, bool RecortaValor) {
    Pasos pasos = Pasos::OmiteFallos();
    DB_Dll& db = sesion().gDBEstadisticas();
    QString sql;
    Recordset rs;
    // 1. Looked up with the key as passed, apostrophes doubled.
    pasos.run([&] {
        sql = QStringLiteral("SELECT * FROM ") + TablaCfg() + QStringLiteral(" with(nolock)  WHERE CLAVE = '") +
              DuplicaApostrofes(Clave) + QStringLiteral("'");
    });
    // 2.
    pasos.run([&] { db.AbrirRecordset(sql, rs, &db.gCnn, ado::adOpenDynamic, ado::adLockOptimistic, -1, true); });
    // 3.
    pasos.run([&] {
        if (rs.Eof())
            rs.AddNew();
        else
            rs.MoveFirst();
    });
    // 4.
    pasos.run([&] { rs.Fields(QStringLiteral("Grupo")).SetValue(ValorSeguro(Variant(Grupo))); });
    pasos.run([&] { rs.Fields(QStringLiteral("Clave")).SetValue(ValorSeguro(Variant(Mayus(Recorta(Clave))))); });
    pasos.run([&] {
        rs.Fields(QStringLiteral("Valor"))
            .SetValue(ValorSeguro(RecortaValor ? Variant(Recorta(Valor.ATexto())) : Valor));
    });
    pasos.run([&] { rs.Fields(QStringLiteral("PoliticaNegocio")).SetValue(ValorSeguro(Variant(PoliticaNegocio))); });
    // 5.
    pasos.run([&] {
        if (!ValorAux.isEmpty())
            rs.Fields(QStringLiteral("ValorAux")).SetValue(ValorSeguro(Variant(Recorta(ValorAux))));
    });
    // 6.
    pasos.run([&] { rs.Update(); });
    pasos.run([&] { db.CierraRecordset(rs); });
}

namespace {

// How a setting's text becomes its session field.
enum class Lectura {
    SI,           // exactly "SI", ignoring case, untrimmed
    SIRecortado,  // "SI" once trimmed
    NoNO,         // anything but a trimmed "NO"
    FijadoYNoNO,  // not blank, and not exactly "NO"
    Texto,        // trimmed
    TextoCrudo,   // as read, " " when missing
    Entero,       // the number the text begins with, 16 bits
    Importe,      // fixed point of the trimmed text
    Color,        // fixed point of the text as a 32-bit colour
    // Steps of the load that are not a plain key.
    RutaDocTareas,
    FilaOperador,
    DecimalesVentas,
    CondicionIva,
    TopDefault,
};

using Campo = std::variant<std::monostate, bool CamposSesion::*, QString CamposSesion::*, qint16 CamposSesion::*,
                           qint32 CamposSesion::*, Moneda CamposSesion::*>;

struct Ajuste {
    const char* clave;
    Lectura lectura;
    Campo campo;
};

using S = CamposSesion;
// The framework's settings, in the order they are read.
const Ajuste kAjustes[] = {
    {"MostrarStockenConsultas", Lectura::SI, &S::MostrarStockenConsultas},
    {"TituloClientes", Lectura::Texto, &S::TituloClientes},
    {"TituloProveedores", Lectura::Texto, &S::TituloProveedores},
    {nullptr, Lectura::RutaDocTareas, {}},
    {"EXIGECLAVECONSULTALIKEARTICULOS", Lectura::SI, &S::EXIGECLAVECONSULTALIKEARTICULOS},
    {"UsaConsultaLike", Lectura::SI, &S::UsaConsultaLike},
    {"CantidadDecimales", Lectura::TextoCrudo, &S::CantidadDecimales},
    {"SS_CONFIDENCIALIDAD", Lectura::SI, &S::SS_CONFIDENCIALIDAD},
    {"CantidadDecimalesVentas", Lectura::DecimalesVentas, &S::CantidadDecimales},
    {"UsaMultilesMonedas", Lectura::SI, &S::UsaMultilesMonedas},
    {"UsaFacturaProforma", Lectura::SI, &S::UsaFacturaProforma},
    {"USACCOSTO", Lectura::SI, &S::USACCOSTO},
    {"USA_STK_STOCK_UDKG", Lectura::SI, &S::USA_STK_STOCK_UDKG},
    {nullptr, Lectura::FilaOperador, {}},
    {"UNIDADDEMEDIDA_M3", Lectura::Texto, &S::UNIDADDEMEDIDA_M3},
    {"UNIDADDEMEDIDA_BL", Lectura::Texto, &S::UNIDADDEMEDIDA_BL},
    {"UNIDADDEMEDIDA_KG", Lectura::Texto, &S::UNIDADDEMEDIDA_KG},
    {"PERIODO", Lectura::Entero, &S::PERIODO},
    {"VALIDACODIGOBARRA", Lectura::SIRecortado, &S::VALIDACODIGOBARRA},
    {"CFondo", Lectura::Color, &S::gColorFondo},
    {"CLetra", Lectura::Color, &S::gColorLetra},
    {"ModuloOrdenDeTrabajo", Lectura::NoNO, &S::ModuloOrdenDeTrabajo},
    {"V_ModificaCPrecio", Lectura::FijadoYNoNO, &S::V_ModificaCPrecio},
    {"C_ModificaCPrecio", Lectura::FijadoYNoNO, &S::C_ModificaCPrecio},
    {"MADERERA", Lectura::FijadoYNoNO, &S::MADERERA},
    {"MAD_TIRAS", Lectura::Texto, &S::MAD_TIRAS},
    {"MAD_P2", Lectura::Texto, &S::MAD_P2},
    {"MAD_ML", Lectura::Texto, &S::MAD_ML},
    {"MAD_M2", Lectura::Texto, &S::MAD_M2},
    {"MAD_HOJAS", Lectura::Texto, &S::MAD_HOJAS},
    {"MAD_ML_P2", Lectura::Texto, &S::MAD_ML_P2},
    {"MAD_M2_P2", Lectura::Texto, &S::MAD_M2_P2},
    {"MAD_ML_M2", Lectura::Texto, &S::MAD_ML_M2},
    {"CuentaCtroDist", Lectura::Texto, &S::CuentaCtroDist},
    {"MaxDto", Lectura::Importe, &S::MaxDto},
    {"MaxDtoProforma", Lectura::Importe, &S::MaxDtoProforma},
    {"PideClave_StockNeg", Lectura::FijadoYNoNO, &S::PideClave_StockNeg},
    {"PideClave_MarkUpBase", Lectura::FijadoYNoNO, &S::PideClave_MarkUpBase},
    {"PideClave_LimiteCredito", Lectura::FijadoYNoNO, &S::PideClave_LimiteCredito},
    {"SS_BloqueoActivo", Lectura::SI, &S::SS_BloqueoActivo},
    {"UTILIZARFECHADIA", Lectura::SI, &S::UTILIZARFECHADIA},
    {"CONDIVAEMPRESA", Lectura::CondicionIva, &S::CONDIVAEMPRESA},
    {"Top_Default", Lectura::TopDefault, &S::Top_Default},
};

// The suite's sales programs, which show prices with the sales decimals.
const char* const kProgramasVenta[] = {
    "TKVENTAS", "TKVENTASH", "TKFACTURA", "TKPEDIDOS", "TKREMITOS", "TKPRESUPUESTOS", "TKMOSTRADOR", "TKTPV", "TKTPVH",
};

bool EsProgramaVenta(const QString& ejecutable) {
    for (const char* p : kProgramasVenta)
        if (IgualesTexto(ejecutable, QString::fromUtf8(p))) return true;
    return false;
}

qint16 Entero(const QString& valor) {
    return RedondeaEntero16(Val(valor));
}

// The operator's business unit and whether he may see proformas, from his row of ta_usuarios.
void LeeFilaOperador(Sesion& s) {
    Pasos pasos = Pasos::OmiteFallos();
    DB_Dll& db = s.gDB();
    Recordset rs;
    pasos.run([&] {
        QString sql = QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = '") +
                      DuplicaApostrofes(s.gUsuarioLogeado) + QStringLiteral("'");
        db.AbrirRecordset(sql, rs);
    });
    pasos.run([&] {
        if (rs.Eof()) return;
        s.UNegocio = ValorSeguro(rs.Valor(QStringLiteral("UNegocio"))).ATexto();
        if (s.UsaFacturaProforma) s.UsaFacturaProforma = rs.Valor(QStringLiteral("VerProforma")).ABooleano();
    });
    pasos.run([&] { db.CierraRecordset(rs); });
    if (s.UNegocio.isEmpty()) s.UNegocio = QStringLiteral("   1");
}

}  // namespace

void CargaConfiguracion(const QString& Carpeta) {
    Sesion& s = sesion();
    Pasos pasos = Pasos::OmiteFallos();
    // 1.
    s.gTablaCfg = QStringLiteral("ta_configuracion");
    // 2. and 3. Every key, and the operator's row, in order; each a step of its own.
    for (const Ajuste& a : kAjustes) {
        pasos.run([&] {
            const QString clave = a.clave ? QString::fromUtf8(a.clave) : QString();
            switch (a.lectura) {
                case Lectura::RutaDocTareas:
                    s.gRutaDocTareas = Carpeta + QStringLiteral("TKDOCTareas.tkw");
                    return;
                case Lectura::FilaOperador:
                    LeeFilaOperador(s);
                    return;
                default:
                    break;
            }
            const QString v = Cfg(clave);
            switch (a.lectura) {
                case Lectura::SI:
                    s.*std::get<bool S::*>(a.campo) = IgualesTexto(v, QStringLiteral("SI"));
                    break;
                case Lectura::SIRecortado:
                    s.*std::get<bool S::*>(a.campo) = IgualesTexto(Recorta(v), QStringLiteral("SI"));
                    break;
                case Lectura::NoNO:
                    s.*std::get<bool S::*>(a.campo) = !IgualesTexto(Recorta(v), QStringLiteral("NO"));
                    break;
                case Lectura::FijadoYNoNO:
                    s.*std::get<bool S::*>(a.campo) = !Recorta(v).isEmpty() && !IgualesTexto(v, QStringLiteral("NO"));
                    break;
                case Lectura::Texto:
                    s.*std::get<QString S::*>(a.campo) = Recorta(v);
                    break;
                case Lectura::TextoCrudo:
                    s.*std::get<QString S::*>(a.campo) = v;
                    break;
                case Lectura::Entero:
                    s.*std::get<qint16 S::*>(a.campo) = Entero(v);
                    break;
                case Lectura::Importe:
                    s.*std::get<Moneda S::*>(a.campo) = ACurrency(Recorta(v));
                    break;
                case Lectura::Color:
                    s.*std::get<qint32 S::*>(a.campo) = RedondeaEntero32(ACurrency(v).ADouble());
                    break;
                case Lectura::DecimalesVentas:
                    if (EsProgramaVenta(proceso().NombreEjecutable()) && Val(v) > 0)
                        s.*std::get<QString S::*>(a.campo) = v;
                    break;
                case Lectura::CondicionIva: {
                    // Three steps of their own: a value that does not fit skips only its own.
                    qint16& condicion = s.*std::get<qint16 S::*>(a.campo);
                    Pasos iva = Pasos::OmiteFallos();
                    iva.run([&] { condicion = 0; });
                    iva.run([&] { condicion = Entero(v); });
                    iva.run([&] {
                        if (condicion == 0) condicion = Entero(Cfg(QStringLiteral("CONDIVA")));
                    });
                    iva.run([&] {
                        if (condicion == 0) condicion = 1;
                    });
                    break;
                }
                case Lectura::TopDefault:
                    s.*std::get<QString S::*>(a.campo) = Recorta(v).isEmpty() ? QStringLiteral("1000") : v;
                    break;
                default:
                    break;
            }
        });
    }
    // 4. The colour defaults, once both colours are read.
    if (s.gColorFondo == 0) s.gColorFondo = 0xFFFF00;
}
