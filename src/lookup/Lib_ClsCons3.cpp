// The lookup controller: its settings, the search statement built from a table name (through the catalogue
// consultas.tkw or from the table's own fields) and the list or tree window opened on it.
#include "Lib_ClsCons3.h"

#include <QFile>

#include "DB_Dll.h"
#include "LecturaCatalogo.h"
#include "Lib_FrmCons3.h"
#include "Lib_FrmCons3Tree.h"
#include "Numeros.h"
#include "Pasos.h"
#include "Texto.h"
#include "TkPrint2.h"
#include "Ui.h"

Lib_ClsCons3::Lib_ClsCons3(LecturaCfg cfg) : Cfg(std::move(cfg)) {
    MuestraStock = Cfg(QStringLiteral("MostrarStockenConsultas"));

    // An empty colour is black; a missing key keeps the single blank, which means no colour for that level.
    Variant* niveles[] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
    for (int i = 0; i < 4; ++i) {
        const QString valor = Cfg(QStringLiteral("Stk_Nivel") + QString::number(i + 1));
        *niveles[i] = valor.isEmpty() ? Variant(qint32(0)) : Variant(valor);
    }

    CfgUsaConsultaLIKE = IgualesTexto(Cfg(QStringLiteral("UsaConsultaLike")), QStringLiteral("SI"));
}

DB_Dll& Lib_ClsCons3::db() const {
    return db_ ? *db_ : DB_Dll::Predeterminada();
}

bool Lib_ClsCons3::LeeCatalogo(const QString& tabla) {
    std::optional<ConsultaCatalogo> hallado = BuscaConsulta(gRutaMascaraConsultas, tabla);
    if (hallado) registro_ = *hallado;
    return hallado.has_value();
}

bool Lib_ClsCons3::ArmaDesdeCatalogo(QString& SQL, QString& CampoBusqueda, const QString& WHERE,
                                     const QString& SentenciaOpcional, qint32 limite) {
    // The first record whose table is SQL; none: the default building.
    if (!LeeCatalogo(SQL)) {
        ArmaPredeterminada(SQL, CampoBusqueda, WHERE, SentenciaOpcional, limite);
        return true;
    }
    // Table and columns.
    QString tabla = CampoLimpio(registro_.Tabla);
    QString campos = Recorta(ReemplazaTexto(registro_.Campos, QStringLiteral("|"), QStringLiteral(",")));
    if (campos.startsWith(QLatin1Char(','))) campos = campos.mid(1);
    if (campos.endsWith(QLatin1Char(','))) campos.chop(1);
    if (campos.isEmpty()) campos = QStringLiteral("*");

    // The ordering column: the first listed, or the operator is told to configure the lookup.
    if (CampoBusqueda.isEmpty()) {
        if (Instr(campos, QStringLiteral(",")) > 0) {
            CampoBusqueda = campos.left(Instr(campos, QStringLiteral(",")) - 1);
        } else {
            ui().MsgBox(QStringLiteral("Debe configurar la consulta para esta tabla"), Estilo::Information,
                        QStringLiteral("Aviso al operador"));
            return false;
        }
    }

    // A stored condition takes the place of the caller's; some tables hide their retired rows.
    QString condicion = CampoLimpio(registro_.Extra);
    if (condicion.isEmpty() && !Recorta(WHERE).isEmpty()) condicion = WHERE;
    if (IgualesTexto(tabla, QStringLiteral("VT_PROVEEDORES")) || IgualesTexto(tabla, QStringLiteral("VT_CLIENTES"))) {
        if (condicion.isEmpty()) condicion = QStringLiteral("Dada_De_Baja = 0");
    } else if (IgualesTexto(tabla, QStringLiteral("V_MA_ARTICULOS"))) {
        tabla = QStringLiteral("VT_MA_ARTICULOS");
        if (condicion.isEmpty()) condicion = QStringLiteral("SUSPENDIDO = 0");
    }

    // The statement.
    const QString W = Recorta(condicion).isEmpty() ? QString() : QStringLiteral(" WHERE ");
    const QString top = QStringLiteral("SELECT TOP ") + QString::number(limite) + QStringLiteral(" ");
    if (!CampoBusqueda.isEmpty())
        SQL = top + campos + " FROM " + tabla + "  with(nolock) " + W + condicion + " ORDER BY " + CampoBusqueda;
    else
        SQL = top + campos + " FROM " + tabla + " with(nolock) " + W + condicion;
    return true;
}

void Lib_ClsCons3::ArmaPredeterminada(QString& SQL, QString& CampoBusqueda, const QString& WHERE,
                                      const QString& SentenciaOpcional, qint32 limite) {
    // The caller's own statement.
    if (!SentenciaOpcional.isEmpty()) {
        SQL = SentenciaOpcional;
        return;
    }
    // The columns of the table, in reverse field order, ordered by the last describing field.
    QString lista;
    if (IgualesTexto(SQL, QStringLiteral("V_TA_DEPOSITO"))) {
        lista = QStringLiteral("Descripcion,IdDeposito,UnidadNegocio,");
        CampoBusqueda = QStringLiteral("IDDEPOSITO");
    } else {
        Recordset rs;
        Pasos pasos = Pasos::OmiteFallos();
        pasos.run(
            [&] { db().AbrirRecordset(QStringLiteral("select top 1 * from ") + SQL, rs, nullptr, 0, 1, -1, true); });
        pasos.run([&] {
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const QString nombre = rs.Fields(i).Name();
                const QString mayus = Mayus(nombre);
                if (mayus == "ID" || mayus == "FECHAHORA_MODIFICACION" || mayus == "FECHAHORA_GRABACION") {
                    if (IgualesTexto(SQL, QStringLiteral("v_mv_mutuales"))) {
                        lista = nombre + "," + lista;
                        CampoBusqueda = nombre;
                    }
                } else if (mayus == "DESCRIPCION" || mayus == "NOMBRE" || mayus == "DETALLE" ||
                           Recorta(lista).isEmpty()) {
                    lista = nombre + "," + lista;
                    CampoBusqueda = nombre;
                } else {
                    lista = nombre + "," + lista;
                }
            }
        });
        pasos.run([&] { db().CierraRecordset(rs); });
    }
    // The statement, without the read hint.
    if (Recorta(lista).isEmpty())
        lista = QStringLiteral(" * ");
    else
        lista.chop(1);
    const QString condicion = QStringLiteral(" ") + WHERE;
    const QString W = Recorta(condicion).isEmpty() ? QString() : QStringLiteral(" WHERE ");
    SQL = QStringLiteral("SELECT TOP ") + QString::number(limite) + " " + lista + " FROM " + SQL + W + condicion +
          " ORDER BY " + CampoBusqueda;
}

void Lib_ClsCons3::ConsultaSearch(QString SQL, QStringList*& CmpsDevueltos, const QString& Clave,
                                  QString& CampoBusqueda, QString& WHERE, const QString& SentenciaOpcional,
                                  bool TreeView, const QString& ValoresDefault) {
    Pasos pasos = Pasos::OmiteFallos();
    qint32 limite = 1000;

    // The caller's condition in parentheses.
    pasos.run([&] {
        if (Recorta(WHERE).size() > 1 && !WHERE.startsWith(QLatin1Char('(')))
            WHERE = QStringLiteral(" (") + WHERE + QStringLiteral(") ");
    });
    // The row limit.
    pasos.run([&] {
        limite = RedondeaEntero32(Val(Cfg(QStringLiteral("TopConsArt"))));
        if (limite == 0) limite = 1000;
    });
    // The statement.
    bool seguir = true;
    pasos.run([&] {
        if (Instr(SQL, QStringLiteral("SELECT")) == 0) {
            // A catalogue missing since start-up builds from the table, rather than running the bare name.
            if (gUsarMascarasConsultas && QFile::exists(gRutaMascaraConsultas)) {
                seguir = ArmaDesdeCatalogo(SQL, CampoBusqueda, WHERE, SentenciaOpcional, limite);
            } else {
                ArmaPredeterminada(SQL, CampoBusqueda, WHERE, SentenciaOpcional, limite);
            }
        } else {
            SQL = Reemplaza(SQL, QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("VT_MA_ARTICULOS"));
        }
    });
    if (!seguir) return;
    ultimaSentencia_ = SQL;

    // The window, then the clean-up.
    if (TreeView) {
        Lib_FrmCons3Tree arbol(db());
        pasos.run([&] {
            arbol.SQL = SQL;
            arbol.CampoDevuelto = CampoDevuelto;
            arbol.CheckBoxes = Checks;
            arbol.Valores.reset();
            arbol.Form_Load();
            ui().MuestraModal(arbol);
            ValorDevuelto = arbol.ValorDevuelto;
            Valores = arbol.Valores;
            Checks = false;
        });
        arbol.Form_Unload();
    } else {
        Lib_FrmCons3 lista(db(), Cfg);
        pasos.run([&] {
            lista.StkNivel1 = StkNivel1;
            lista.StkNivel2 = StkNivel2;
            lista.StkNivel3 = StkNivel3;
            lista.StkNivel4 = StkNivel4;
            lista.MuestraStock = MuestraStock;
            lista.CfgUsaConsultaLIKE = CfgUsaConsultaLIKE;
            lista.OrdenarPorLwv = Instr(SQL, QStringLiteral("ORDER BY")) == 0;
            lista.FiltroInicial = Clave;
            lista.CampoBusqueda = CampoBusqueda;
            if (gConnString.isEmpty()) gConnString = db().gConnString;
            lista.gConnString = gConnString;
            lista.SQL = SQL;
            lista.CampoDevuelto = CampoDevuelto;
            lista.CheckBoxes = Checks;
            lista.UsaCantidades = UsaCantidades;
            lista.ValoresDefault = ValoresDefault;
            lista.Valores.reset();
            lista.Cantidades.reset();
            lista.CmpsDevueltos = CmpsDevueltos;
            lista.Form_Load();
            ui().MuestraModal(lista);
            Checks = false;
            Valores = lista.Valores;
            Cantidades = lista.Cantidades;
            ValorDevuelto = lista.ValorDevuelto;
            lista.CampoDevuelto.clear();
        });
        lista.Valores.reset();
        lista.Cantidades.reset();
        lista.Form_Unload();
    }
    CampoDevuelto.clear();
    if (CmpsDevueltos) CmpsDevueltos->clear();
    CmpsDevueltos = nullptr;
}

QString Lib_ClsCons3::OpcionesComun(const QString& Titulo, const QStringList& Opc, bool checks) {
    Lib_FrmCons3 ventana(db(), Cfg);
    QString resultado;
    Pasos pasos = Pasos::OmiteFallos();
    int largo = Titulo.size();
    // The window without a statement.
    pasos.run([&] {
        ventana.Form_Load();
        ventana.setWindowTitle(Titulo);
        ventana.CmdNueva->hide();
        ventana.OrdenarPorLwv = true;
        ventana.SQL.clear();
        ventana.gConnString.clear();
        ventana.CampoDevuelto = Titulo;
        ventana.CheckBoxes = checks;
    });
    // One column, titled, with one entry per option.
    pasos.run([&] {
        const int ancho = ventana.ListView1->width();
        ventana.CmbSearch[0]->resize(ancho, ventana.CmbSearch[0]->height());
        ModeloConsulta::Carga carga;
        carga.cabeceras = QStringList{Titulo};
        for (const QString& opcion : Opc) {
            // A single option is listed too (only an empty list adds none).
            carga.textos.push_back(checks ? opcion.mid(1) : opcion);
            if (checks) carga.marcas.push_back(opcion.startsWith(QLatin1Char('1')) ? Qt::Checked : Qt::Unchecked);
            largo = std::max<int>(largo, opcion.size());
        }
        ventana.Modelo->Reemplaza(std::move(carga), checks);
        ventana.ListView1->setColumnWidth(0, ancho);
    });
    // The width, then the window.
    pasos.run([&] {
        const int ancho = 120 * largo;
        const int pantalla = static_cast<int>(ui().Pantalla().width() * 1440.0 / ui().PuntosPorPulgada());
        ventana.resize(ui().Twips(ancho < pantalla ? ancho : pantalla), ventana.height());
        ventana.update();
        ui().MuestraModal(ventana);
    });
    // The results.
    pasos.run([&] {
        if (checks)
            Valores = ventana.Valores;
        else
            resultado = ventana.ValorDevuelto.ATexto();
    });
    ventana.Form_Unload();
    return resultado;
}

QString Lib_ClsCons3::CheckOpciones(const QString& Titulo, QStringList*, const QStringList& Opc) {
    OpcionesComun(Titulo, Opc, true);
    return QString();
}

QString Lib_ClsCons3::MenuOpciones(const QString& Titulo, const QStringList& Opc) {
    return OpcionesComun(Titulo, Opc, false);
}
