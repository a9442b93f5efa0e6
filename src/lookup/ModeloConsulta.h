// The rows of the list lookup window as a table model: the texts read from the statement, the check marks and the
// stock colour of each row as roles, the window's own sort (a permutation over the rows as read) and the incremental
// search, by halves when the rows stand in order of the searched column, else in one pass over the texts.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <optional>
#include <vector>

class ModeloConsulta : public QAbstractTableModel {
  public:
    // Everything a load shows, handed over at once: texts row by row (columnas per row), one check state per row
    // when the list has check boxes, one colour per row (invalid: not coloured).
    struct Carga {
        QStringList cabeceras;
        std::vector<QString> textos;
        std::vector<Qt::CheckState> marcas;
        std::vector<QColor> colores;
    };

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the rows in one reset; the order is the statement's until Ordena is called.
    void Reemplaza(Carga carga, bool casillas);
    void Vacia(const QStringList& cabeceras);

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor, int rol = Qt::EditRole) override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    void sort(int columna, Qt::SortOrder orden = Qt::AscendingOrder) override;

    // By row as shown.
    const QString& Texto(int fila, int columna) const { return textos_[Celda(fila, columna)]; }
    void FijaTexto(int fila, int columna, const QString& texto);
    Qt::CheckState Marca(int fila) const { return marcas_.empty() ? Qt::Unchecked : marcas_[orden_[fila]]; }
    void FijaMarca(int fila, Qt::CheckState marca);
    QString Cabecera(int columna) const { return cabeceras_.value(columna); }
    const QStringList& Cabeceras() const { return cabeceras_; }

    // The first row shown (from 0) whose text in the column, trimmed, begins with the trimmed text, ignoring case;
    // -1 when none does.
    int Busca(int columna, const QString& texto) const;

  private:
    qsizetype Celda(int fila, int columna) const {
        return static_cast<qsizetype>(orden_[fila]) * cabeceras_.size() + columna;
    }
    // The rows' keys in the server's order (capitals, no surrounding blanks), by row as read; made on first need.
    const std::vector<QString>& Claves(int columna) const;
    bool EnOrden(int columna) const;  // the rows shown stand in ascending order of the column's keys

    QStringList cabeceras_;
    std::vector<QString> textos_;  // row-major, by row as read
    std::vector<Qt::CheckState> marcas_;
    std::vector<QColor> colores_;
    std::vector<int> orden_;  // row shown -> row as read
    bool casillas_ = false;
    mutable std::vector<std::vector<QString>> claves_;
    mutable std::vector<std::optional<bool>> enOrden_;
};

// A text as the server's collation compares it: letters in capitals (ASCII and Latin-1, accents kept), without the
// blanks around it.
QString ClaveServidor(const QString& texto);
