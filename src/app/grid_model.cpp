#include "grid_model.h"

#include <QBrush>
#include <QPoint>

#include "look.h"
#include "views/page_text.h"

namespace cadrix::app {

namespace {

Qt::Alignment ToAlignment(Align align) {
    switch (align) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

// None for the grid's own colour: normal, fixed or selected.
QVariant BackgroundOf(const Palette& palette, Background background) {
    if (const auto colour = BackgroundColour(palette, background))
        return QBrush(ToQColor(*colour));
    return {};
}

}  // namespace

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
    QModelRoleData data(role);
    multiData(index, data);
    return data.data();
}

void GridModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const {
    for (QModelRoleData& data : roleDataSpan)
        data.clearData();
    if (!index.isValid())
        return;
    const int col = index.column();
    const int row = index.row();
    const CellStyle style = m_comparison.DrawCell(m_grid, col, row);
    for (QModelRoleData& data : roleDataSpan) {
        switch (data.role()) {
        case Qt::DisplayRole: {
            const std::string_view text = m_comparison.Grid(m_grid).Cell(col, row);
            data.setData(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            break;
        }
        case Qt::BackgroundRole: data.setData(BackgroundOf(*m_palette, style.background)); break;
        case Qt::ForegroundRole:
            if (style.text)
                data.setData(QBrush(ToQColor(*style.text)));
            break;
        case Qt::TextAlignmentRole:
            data.setData(static_cast<int>((ToAlignment(style.align) | Qt::AlignTop).toInt()));
            break;
        // A screen reader says what a copy gives (a building's level, a
        // status's name where a picture stands) and what the colour means.
        case Qt::AccessibleTextRole:
            data.setData(QString::fromStdString(CellText(m_comparison, m_grid, col, row)));
            break;
        case Qt::AccessibleDescriptionRole:
            if (const char* meaning = ChangeMeaning(style.background))
                data.setData(QString::fromUtf8(meaning));
            break;
        case ImageRole: data.setData(static_cast<int>(style.image)); break;
        case ImageOffsetRole: data.setData(QPoint(style.imageX, style.imageY)); break;
        default: break;
        }
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::reload() {
    beginResetModel();
    endResetModel();
}

void GridModel::setPalette(PaletteChoice choice) {
    m_palette = &PaletteOf(choice);
    textsChanged();
}

void GridModel::textsChanged() {
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

}  // namespace cadrix::app
