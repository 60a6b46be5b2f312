#pragma once

#include <QString>
#include <QWidget>

#include "history/history.h"

class QListWidget;

namespace cadrix::app {

class ChartKit;
class LineChart;
class UiHost;

// A player's development over the stored snapshots: real level, value and
// the 24 skills, each a line switched on and off in the list beside the
// chart. At first the real level, the value and the skills of his line's
// colour are on.
class PlayerChartForm : public QWidget {
    Q_OBJECT
public:
    PlayerChartForm(UiHost& host, ChartKit& kit, const PlayerSeries& series, QWidget* parent);

    LineChart* chart() const { return m_chart; }
    QListWidget* lineList() const { return m_lineList; }

    // Saves the chart as a PNG picture, the file chosen in the save dialog.
    void saveClick();

private:
    UiHost& m_host;
    QString m_name;
    QListWidget* m_lineList;
    LineChart* m_chart;
};

// The save dialog's filter.
inline const QString kPngFilter = QStringLiteral("PNG Image (*.png)|*.png");

}  // namespace cadrix::app
