#pragma once

#include <QAbstractTableModel>

#include "views/comparison.h"
#include "views/palette.h"

namespace cadrix::app {

// Shows one page grid of the comparison, cell for cell. The comparison owns
// the texts; the model hands them to the view together with what the page's
// draw rule decides for the cell: its background (in the colours of the
// chosen palette), text colour and alignment as Qt's roles, and the picture
// drawn over it in roles of its own.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        ImageRole = Qt::UserRole,  // a CellImage, as int
        ImageOffsetRole,           // a QPoint from the cell's top-left corner
    };

    GridModel(const Comparison& comparison, GridId grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Asks the draw rule once for all the roles a view wants of a cell.
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    GridId grid() const { return m_grid; }

    // After a load run: the row count may have changed.
    void reload();
    // After a player choice: same rows, new texts.
    void textsChanged();
    // Shows the changes in another palette's colours.
    void setPalette(PaletteChoice choice);

private:
    const Comparison& m_comparison;
    GridId m_grid;
    const Palette* m_palette = &PaletteOf(PaletteChoice::Designed);
};

}  // namespace cadrix::app
