// The session of the program: one object for the whole run holding the database objects, the lookup controller,
// the session fields the start-up fills and one field per system setting, named after its key.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "Numeros.h"

class DB_Dll;
class Lib_ClsCons3;

// One column/value pair of the statement builder; the value is already SQL text.
struct ParCampo {
    QString Campo;
    QString Valor;
};

// The plain fields, kept apart so that a reset is one assignment.
struct CamposSesion {
    // Session fields.
    QString gArchivoAyuda;
    QString gUsuarioLogeado;
    QString gCaja;
    QString gMenu;
    QString gParametroAdicional;
    QString gClavePuesto;
    double gFlatToolbars = 0;
    QString gCadenaDSN;
    qint16 gTimeOut = 360;
    qint32 gColorLetra = 0;
    qint32 gColorFondo = 0xFFFFFF;
    QString gTablaCfg;
    QString gRutaDocTareas;
    bool ProgramaTerminado = false;  // the program was told to end (the start-up, the access check)

    // The statement builder's pair list: one statement is built at a time.
    QList<ParCampo> ListaCampos{ParCampo{}};

    // System settings.
    bool MostrarStockenConsultas = false;
    QString TituloClientes;
    QString TituloProveedores;
    bool EXIGECLAVECONSULTALIKEARTICULOS = false;
    bool UsaConsultaLike = false;
    QString CantidadDecimales;
    bool SS_CONFIDENCIALIDAD = false;
    bool UsaMultilesMonedas = false;
    bool UsaFacturaProforma = false;
    bool USACCOSTO = false;
    bool USA_STK_STOCK_UDKG = false;
    QString UNegocio;
    QString UNIDADDEMEDIDA_M3;
    QString UNIDADDEMEDIDA_BL;
    QString UNIDADDEMEDIDA_KG;
    qint16 PERIODO = 0;
    bool VALIDACODIGOBARRA = false;
    bool ModuloOrdenDeTrabajo = false;
    bool V_ModificaCPrecio = false;
    bool C_ModificaCPrecio = false;
    bool MADERERA = false;
    QString MAD_TIRAS;
    QString MAD_P2;
    QString MAD_ML;
    QString MAD_M2;
    QString MAD_HOJAS;
    QString MAD_ML_P2;
    QString MAD_M2_P2;
    QString MAD_ML_M2;
    QString CuentaCtroDist;
    Moneda MaxDto;
    Moneda MaxDtoProforma;
    bool PideClave_StockNeg = false;
    bool PideClave_MarkUpBase = false;
    bool PideClave_LimiteCredito = false;
    bool SS_BloqueoActivo = false;
    bool UTILIZARFECHADIA = false;
    qint16 CONDIVAEMPRESA = 0;
    QString Top_Default;
};

class Sesion : public CamposSesion {
  public:
    Sesion();
    ~Sesion();

    // Created on first use, alive until the program ends.
    DB_Dll& gDB();  // the database object's default instance
    DB_Dll& gDBEstadisticas();
    Lib_ClsCons3& gConsultas();  // reads its settings through Cfg

    // Tests: back to the state of a program that has just started (the default database instance too).
    void Reinicia();

  private:
    std::unique_ptr<DB_Dll> estadisticas_;
    std::unique_ptr<Lib_ClsCons3> consultas_;
};

Sesion& sesion();

// Ends the program where the system says it ends (no connection, access refused). The session remembers it, so
// that a caller whose end was replaced (the tests) returns at once.
void TerminaPrograma();
// Tests: what ending the program does; an empty function puts the real end back.
void FijaTerminacion(std::function<void()> terminar);
