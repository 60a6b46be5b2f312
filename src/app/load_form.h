#pragma once

#include <QWidget>

class QTabWidget;

namespace cadrix {
class Comparison;
}

namespace cadrix::app {

// The debug view of the loaded snapshots: every line list and every table of
// both snapshots and the period player table, as plain text.
class LoadForm : public QWidget {
    Q_OBJECT
public:
    explicit LoadForm(QWidget* parent = nullptr);

    void showTables(const Comparison& comparison);

private:
    QTabWidget* m_tabs;
};

}  // namespace cadrix::app
