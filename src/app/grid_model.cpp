#include "grid_model.h"

namespace cadrix::app {

GridModel::GridModel(const Comparison& comparison, GridId grid, QObject* parent)
    : QAbstractTableModel(parent),
      m_comparison(comparison),
      m_grid(grid) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_comparison.Grid(m_grid).RowCount();
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_comparison.Grid(m_grid).ColCount();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const std::string_view text = m_comparison.Grid(m_grid).Cell(index.column(), index.row());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::reload() {
    beginResetModel();
    endResetModel();
}

void GridModel::textsChanged() {
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

}  // namespace cadrix::app
