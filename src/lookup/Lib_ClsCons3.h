// The lookup controller: the session's one object that turns a table name or a statement into a search window.
// It reads its settings through the settings read the session hands it, since it sits below the framework.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "Variant.h"

class Lib_ClsCons3 {
  public:
    // Reads one key of the settings table; an absent key reads as " ".
    using LecturaCfg = std::function<QString(const QString& clave)>;

    // Reads the stock colours, MostrarStockenConsultas and UsaConsultaLike through cfg.
    explicit Lib_ClsCons3(LecturaCfg cfg);

    Variant StkNivel1;
    Variant StkNivel2;
    Variant StkNivel3;
    Variant StkNivel4;
    QString MuestraStock;
    QStringList CmpsDevueltos;
    QList<Variant> Valores;
    QList<Variant> Cantidades;
    bool Checks = false;
    Variant ValorDevuelto;
    QString gConnString;
    QString gRutaMascaraConsultas;
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;
    QString CampoDevuelto;

    bool UsaConsultaLike() const { return CfgUsaConsultaLIKE; }

  private:
    // One record of consultas.tkw as stored: 1202 bytes.
    struct RegistroCatalogo {
        QString Nombre;  // 100
        QString Tabla;   // 100
        QString Campos;  // 500
        QString Extra;   // 500
    };

    LecturaCfg Cfg;
    RegistroCatalogo registro_;
    bool CfgUsaConsultaLIKE = false;
};
