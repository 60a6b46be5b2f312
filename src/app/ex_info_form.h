#pragma once

#include <string>
#include <vector>

#include <QWidget>

class QTableWidget;

namespace cadrix {
struct DetailPanel;
}

namespace cadrix::app {

// The detail panel: a frameless window that stands beside the main window
// and sums up the skill changes of the chosen player. Given the main window
// as its parent it is a tool window owned by it: above the main window,
// below the program's dialogs and message boxes.
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
    // The rows as the panel shows them, or all of them, on the clipboard.
    void copyRows(bool all) const;

    QTableWidget* m_grid;
    std::vector<std::vector<std::string>> m_lines;  // caption and value of each row
};

}  // namespace cadrix::app
