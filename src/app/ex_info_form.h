#pragma once

#include <QWidget>

class QTableWidget;

namespace cadrix {
struct DetailPanel;
}

namespace cadrix::app {

// The detail panel: a frameless window that stands beside the main window
// and sums up the skill changes of the chosen player.
class ExInfoForm : public QWidget {
    Q_OBJECT
public:
    explicit ExInfoForm(QWidget* parent = nullptr);

    // Writes the value column.
    void setValues(const DetailPanel& panel);
    QTableWidget* grid() const { return m_grid; }

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* m_grid;
};

}  // namespace cadrix::app
