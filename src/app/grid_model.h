#pragma once

#include <QAbstractTableModel>

#include "views/comparison.h"

namespace cadrix::app {

// Shows one page grid of the comparison, cell for cell. The comparison owns
// the texts; the model only hands them to the view.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(const Comparison& comparison, GridId grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    GridId grid() const { return m_grid; }

    // After a load run: the row count may have changed.
    void reload();
    // After a player choice: same rows, new texts.
    void textsChanged();

private:
    const Comparison& m_comparison;
    GridId m_grid;
};

}  // namespace cadrix::app
