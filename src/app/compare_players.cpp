#include "compare_players.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "chart_lines.h"
#include "chart_picture.h"
#include "history/chart_series.h"
#include "history_windows.h"

namespace cadrix::app {

namespace {

constexpr QSize kInitialSize{960, 560};
constexpr int kListWidth = 260;

}  // namespace

ComparePlayersForm::ComparePlayersForm(UiHost& host, HistoryWindows& windows, ChartKit& kit, const std::string& club,
                                       const std::vector<ChoosablePlayer>& players, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_host(host),
      m_windows(windows),
      m_club(club),
      m_players(players),
      m_playerList(new QListWidget(this)),
      m_line(new QComboBox(this)),
      m_chart(kit.createLineChart(this)) {
    setObjectName(QStringLiteral("ComparePlayersForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("Сравнение игроков: %1").arg(QString::fromStdString(club)));
    resize(kInitialSize);
    m_playerList->setObjectName(QStringLiteral("ComparedPlayers"));
    m_playerList->setFixedWidth(kListWidth);
    for (const ChoosablePlayer& p : m_players) {
        auto* item = new QListWidgetItem(p.second, m_playerList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_line->setObjectName(QStringLiteral("ComparedLine"));
    for (const ChartSeries& line : PlayerChartLines(PlayerSeries{}))
        m_line->addItem(QString::fromStdString(line.name));
    connect(m_playerList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        int ticked = 0;
        for (int i = 0; i < m_playerList->count(); ++i)
            ticked += m_playerList->item(i)->checkState() == Qt::Checked;
        if (ticked > kMaxPlayers) {
            const QSignalBlocker quiet(m_playerList);
            item->setCheckState(Qt::Unchecked);
            return;
        }
        redraw();
    });
    connect(m_line, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
    auto* save = new QPushButton(QStringLiteral("Сохранить PNG…"), this);
    connect(save, &QPushButton::clicked, this, [this] { saveClick(); });
    auto* top = new QVBoxLayout;
    top->addWidget(m_line);
    LayOutChartBeside(this, top, m_playerList, save, m_chart);
}

void ComparePlayersForm::redraw() {
    History* history = m_windows.history(this);
    if (!history)
        return;
    const auto index = static_cast<std::size_t>(std::max(0, m_line->currentIndex()));
    std::vector<ChartSeries> shown;
    m_lines.clear();
    for (int i = 0; i < m_playerList->count(); ++i) {
        if (m_playerList->item(i)->checkState() != Qt::Checked)
            continue;
        ChartSeries line = PlayerChartLines(history->Player(m_players[static_cast<std::size_t>(i)].first))[index];
        line.name = m_players[static_cast<std::size_t>(i)].second.toStdString();
        m_lines.push_back(ToChartLine(line, LineColour(m_lines.size())));
        shown.push_back(std::move(line));
    }
    m_title = QStringLiteral("%1, %2: %3").arg(m_line->currentText(), QString::fromStdString(m_club), DateSpan(shown));
    ChartAxes axes;
    axes.title = m_title;
    axes.left = m_line->currentText();
    m_chart->setLines(m_lines, axes);
}

void ComparePlayersForm::saveClick() {
    SaveChartPicture(m_host, this, ChartPicture(*m_chart, m_lines, m_title, font()), m_line->currentText());
}

ComparePlayersForm* ComparePlayers(UiHost& host, HistoryWindows& windows, ChartKit& kit, const std::string& club,
                                   const std::vector<ChoosablePlayer>& players, QWidget* parent) {
    auto* form = new ComparePlayersForm(host, windows, kit, club, players, parent);
    if (form->playerList()->count() > 0)
        form->playerList()->item(0)->setCheckState(Qt::Checked);
    form->show();
    return form;
}

}  // namespace cadrix::app
