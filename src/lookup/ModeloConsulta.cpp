// The list lookup window's table model: one reset per load, roles for what each row shows, sorting as a permutation
// and the incremental search.
#include "ModeloConsulta.h"

#include <QBrush>
#include <QFont>
#include <algorithm>

namespace {

// The same capitals the server's collation compares with.
char16_t Mayuscula(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    return c;
}

QStringView SinBlancos(QStringView s) {
    qsizetype i = 0, n = s.size();
    while (i < n && s[i] == u' ') ++i;
    while (n > i && s[n - 1] == u' ') --n;
    return s.mid(i, n - i);
}

}  // namespace

QString ClaveServidor(const QString& texto) {
    const QStringView s = SinBlancos(texto);
    QString r(s.size(), Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(r.data());
    for (qsizetype i = 0; i < s.size(); ++i) d[i] = Mayuscula(s[i].unicode());
    return r;
}

void ModeloConsulta::Reemplaza(Carga carga, bool casillas) {
    beginResetModel();
    cabeceras_ = std::move(carga.cabeceras);
    textos_ = std::move(carga.textos);
    casillas_ = casillas;
    const int filas = cabeceras_.isEmpty() ? 0 : static_cast<int>(textos_.size() / cabeceras_.size());
    Q_ASSERT(static_cast<qsizetype>(filas) * cabeceras_.size() == static_cast<qsizetype>(textos_.size()));
    marcas_ = std::move(carga.marcas);
    if (casillas_) marcas_.resize(filas, Qt::Unchecked);
    colores_ = std::move(carga.colores);
    orden_.resize(filas);
    for (int i = 0; i < filas; ++i) orden_[i] = i;
    claves_.assign(cabeceras_.size(), {});
    enOrden_.assign(cabeceras_.size(), std::nullopt);
    endResetModel();
}

void ModeloConsulta::Vacia(const QStringList& cabeceras) {
    Carga vacia;
    vacia.cabeceras = cabeceras;
    Reemplaza(std::move(vacia), casillas_);
}

int ModeloConsulta::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(orden_.size());
}

int ModeloConsulta::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(cabeceras_.size());
}

QVariant ModeloConsulta::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid()) return {};
    const int fila = indice.row(), columna = indice.column();
    switch (rol) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Texto(fila, columna);
        case Qt::CheckStateRole:
            if (casillas_ && columna == 0) return static_cast<int>(Marca(fila));
            return {};
        case Qt::ForegroundRole:
            if (!colores_.empty() && colores_[orden_[fila]].isValid()) return QBrush(colores_[orden_[fila]]);
            return {};
        case Qt::FontRole:
            if (!colores_.empty() && colores_[orden_[fila]].isValid()) {
                QFont letra;
                letra.setBold(true);
                return letra;
            }
            return {};
        default:
            return {};
    }
}

bool ModeloConsulta::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
    if (!indice.isValid() || rol != Qt::CheckStateRole || !casillas_ || indice.column() != 0) return false;
    FijaMarca(indice.row(), static_cast<Qt::CheckState>(valor.toInt()));
    return true;
}

QVariant ModeloConsulta::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole) return cabeceras_.value(seccion);
    return {};
}

Qt::ItemFlags ModeloConsulta::flags(const QModelIndex& indice) const {
    if (!indice.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (casillas_ && indice.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

void ModeloConsulta::FijaTexto(int fila, int columna, const QString& texto) {
    textos_[Celda(fila, columna)] = texto;
    if (!claves_[columna].empty()) claves_[columna][orden_[fila]] = ClaveServidor(texto);
    enOrden_[columna].reset();
    emit dataChanged(index(fila, columna), index(fila, columna), {Qt::DisplayRole});
}

void ModeloConsulta::FijaMarca(int fila, Qt::CheckState marca) {
    if (!casillas_) return;
    marcas_[orden_[fila]] = marca;
    emit dataChanged(index(fila, 0), index(fila, 0), {Qt::CheckStateRole});
}

const std::vector<QString>& ModeloConsulta::Claves(int columna) const {
    std::vector<QString>& claves = claves_[columna];
    if (claves.empty() && !orden_.empty()) {
        const qsizetype ancho = cabeceras_.size();
        claves.resize(orden_.size());
        for (size_t i = 0; i < orden_.size(); ++i) claves[i] = ClaveServidor(textos_[i * ancho + columna]);
    }
    return claves;
}

bool ModeloConsulta::EnOrden(int columna) const {
    std::optional<bool>& enOrden = enOrden_[columna];
    if (!enOrden) {
        const std::vector<QString>& claves = Claves(columna);
        enOrden = std::is_sorted(orden_.begin(), orden_.end(), [&](int a, int b) { return claves[a] < claves[b]; });
    }
    return *enOrden;
}

void ModeloConsulta::sort(int columna, Qt::SortOrder orden) {
    if (columna < 0 || columna >= cabeceras_.size()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList antes = persistentIndexList();
    std::vector<int> leidas;  // the row as read behind each persistent index
    leidas.reserve(antes.size());
    for (const QModelIndex& i : antes) leidas.push_back(orden_[i.row()]);
    const std::vector<QString>& claves = Claves(columna);
    if (orden == Qt::AscendingOrder)
        std::stable_sort(orden_.begin(), orden_.end(), [&](int a, int b) { return claves[a] < claves[b]; });
    else
        std::stable_sort(orden_.begin(), orden_.end(), [&](int a, int b) { return claves[b] < claves[a]; });
    std::vector<int> posicion(orden_.size());
    for (size_t i = 0; i < orden_.size(); ++i) posicion[orden_[i]] = static_cast<int>(i);
    QModelIndexList despues;
    despues.reserve(antes.size());
    for (qsizetype k = 0; k < antes.size(); ++k) despues << index(posicion[leidas[k]], antes[k].column());
    changePersistentIndexList(antes, despues);
    for (auto& e : enOrden_) e.reset();
    enOrden_[columna] = orden == Qt::AscendingOrder;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ModeloConsulta::Busca(int columna, const QString& texto) const {
    if (columna < 0 || columna >= cabeceras_.size()) return -1;
    const QStringView buscado = SinBlancos(texto);
    if (EnOrden(columna)) {
        // In order: the rows that begin with the text stand together, from the first not below it.
        const std::vector<QString>& claves = Claves(columna);
        const QString clave = ClaveServidor(texto);
        auto it = std::lower_bound(orden_.begin(), orden_.end(), clave,
                                   [&](int fila, const QString& c) { return claves[fila] < c; });
        if (it == orden_.end() || !claves[*it].startsWith(clave)) return -1;
        return static_cast<int>(it - orden_.begin());
    }
    const qsizetype ancho = cabeceras_.size();
    for (size_t i = 0; i < orden_.size(); ++i)
        if (SinBlancos(textos_[orden_[i] * ancho + columna]).startsWith(buscado, Qt::CaseInsensitive))
            return static_cast<int>(i);
    return -1;
}
