// The lookup controller: the session's one object that turns a table name or a statement into a search window.
// It reads its settings through the settings read the session hands it, since it sits below the framework.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "LecturaCatalogo.h"
#include "Variant.h"

class DB_Dll;

class Lib_ClsCons3 {
  public:
    // Reads one key of the settings table; an absent key reads as " ".
    using LecturaCfg = std::function<QString(const QString& clave)>;

    // Reads the stock colours, MostrarStockenConsultas and UsaConsultaLike through cfg. The database object is
    // the session's gDB (the default instance) unless a caller hands another with FijaBase.
    explicit Lib_ClsCons3(LecturaCfg cfg);

    Variant StkNivel1;
    Variant StkNivel2;
    Variant StkNivel3;
    Variant StkNivel4;
    QString MuestraStock;
    QStringList CmpsDevueltos;
    std::optional<QList<Variant>> Valores = QList<Variant>();  // null after a cancelled lookup
    std::optional<QList<Variant>> Cantidades;                  // null until a list lookup, and after a cancel
    bool Checks = false;
    Variant ValorDevuelto;
    QString gConnString;
    QString gRutaMascaraConsultas;
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;
    QString CampoDevuelto;

    bool UsaConsultaLike() const { return CfgUsaConsultaLIKE; }

    // Builds the search statement for SQL and opens the list window (or the tree window with TreeView).
    // CmpsDevueltos is emptied and set to null (nullptr) at the end; CampoBusqueda and WHERE come back changed.
    void ConsultaSearch(QString SQL, QStringList*& CmpsDevueltos, const QString& Clave, QString& CampoBusqueda,
                        QString& WHERE, const QString& SentenciaOpcional = QString(), bool TreeView = false,
                        const QString& ValoresDefault = QString());
    // A check list of options, each beginning with its flag ("1" checked); the checked texts go to Valores (null
    // after a cancel). CmpsDevueltos is not used.
    QString CheckOpciones(const QString& Titulo, QStringList* CmpsDevueltos, const QStringList& Opc);
    // A one-choice menu; the chosen text, or "".
    QString MenuOpciones(const QString& Titulo, const QStringList& Opc);

    void FijaBase(DB_Dll& db) { db_ = &db; }
    // The statement the last ConsultaSearch handed to its window (what the operator's search ran on).
    const QString& UltimaSentencia() const { return ultimaSentencia_; }

  private:
    // False when the catalogue tells to stop (the message was shown and no window opens).
    bool ArmaDesdeCatalogo(QString& SQL, QString& CampoBusqueda, const QString& WHERE, const QString& SentenciaOpcional,
                           qint32 limite);
    void ArmaPredeterminada(QString& SQL, QString& CampoBusqueda, const QString& WHERE,
                            const QString& SentenciaOpcional, qint32 limite);
    bool LeeCatalogo(const QString& tabla);
    QString OpcionesComun(const QString& Titulo, const QStringList& Opc, bool checks);
    DB_Dll& db() const;

    LecturaCfg Cfg;
    ConsultaCatalogo registro_;
    bool CfgUsaConsultaLIKE = false;
    DB_Dll* db_ = nullptr;
    QString ultimaSentencia_;
};
