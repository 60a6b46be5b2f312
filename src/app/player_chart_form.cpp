#include "player_chart_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chart_lines.h"
#include "chart_picture.h"
#include "compare_players.h"
#include "history/chart_series.h"
#include "history/player_table.h"
#include "history_windows.h"
#include "player_table_tab.h"
#include "uihost.h"

namespace cadrix::app {

namespace {

constexpr QSize kInitialSize{960, 600};
constexpr int kLineListWidth = 230;
constexpr int kSwatchSize = 12;

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

PlayerChartForm::PlayerChartForm(UiHost& host, HistoryWindows& windows, ChartKit& kit, const PlayerSeries& series,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_host(host),
      m_windows(windows),
      m_kit(kit),
      m_chooser(new QComboBox(this)),
      m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("PlayerChartForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_WindowPropagation);
    resize(kInitialSize);
    m_chooser->setObjectName(QStringLiteral("PlayerChooser"));
    m_tabs->addTab(makeChartTab(), QStringLiteral("График"));
    m_tableTab = new PlayerTableTab(host, windows.palette(), m_tabs);
    m_tabs->addTab(m_tableTab, QStringLiteral("Таблица"));

    auto* compare = Button("Сравнить игроков…", "CompareButton", this);
    connect(compare, &QPushButton::clicked, this, [this] { compareClick(); });
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Игрок:"), this));
    top->addWidget(m_chooser, 1);
    top->addWidget(compare);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);

    setSeries(series);
    connect(m_chooser, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < m_players.size())
            showPlayer(m_players[static_cast<std::size_t>(index)].first);
    });
}

QWidget* PlayerChartForm::makeChartTab() {
    auto* tab = new QWidget(m_tabs);
    m_lineList = new QListWidget(tab);
    m_lineList->setObjectName(QStringLiteral("LineList"));
    m_lineList->setFixedWidth(kLineListWidth);
    m_chart = m_kit.createLineChart(tab);
    m_chart->setObjectName(QStringLiteral("PlayerChart"));
    connect(m_lineList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_lineList->row(item);
        const bool on = item->checkState() == Qt::Checked;
        m_lines[static_cast<std::size_t>(row)].visible = on;
        m_chart->setLineVisible(row, on);
    });
    auto* all = Button("Все", "AllLinesButton", tab);
    auto* none = Button("Ни одного", "NoLinesButton", tab);
    auto* save = Button("Сохранить PNG…", "SaveButton", tab);
    connect(all, &QPushButton::clicked, this, [this] { showAllLines(true); });
    connect(none, &QPushButton::clicked, this, [this] { showAllLines(false); });
    connect(save, &QPushButton::clicked, this, [this] { saveClick(); });
    auto* choice = new QHBoxLayout;
    choice->addWidget(all);
    choice->addWidget(none);
    LayOutChartBeside(tab, choice, m_lineList, save, m_chart);
    return tab;
}

void PlayerChartForm::setSeries(const PlayerSeries& series) {
    const PlayerTable table = BuildPlayerTable(series, m_windows.snapshots());
    m_name = QString::fromStdString(series.name);
    m_club = table.rows.empty() ? std::string() : table.rows.back().cells[ColumnIndex(PlayerColumn::Club)];
    const std::string position = series.points.empty() ? std::string() : series.points.back().position;
    const std::vector<ChartSeries> figures = PlayerChartLines(series);
    m_title = QStringLiteral("%1 (%2), %3: %4")
                  .arg(m_name, QString::fromStdString(position), QString::fromStdString(m_club), DateSpan(figures));
    setWindowTitle(QStringLiteral("Развитие игрока: %1").arg(m_name));
    m_lines = PlayerChartLooks(figures, DefaultChartSkills(series));
    {
        const QSignalBlocker quiet(m_lineList);
        m_lineList->clear();
        for (const ChartLine& line : m_lines) {
            auto* item = new QListWidgetItem(Swatch(line.colour), line.name, m_lineList);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(line.visible ? Qt::Checked : Qt::Unchecked);
        }
    }
    ChartAxes axes;
    axes.title = m_title;
    axes.left = QStringLiteral("РУ, умения");
    axes.right = QStringLiteral("Стоимость");
    m_chart->setLines(m_lines, axes);
    m_tableTab->setTable(table);
    fillChooser(series.playerId);
}

void PlayerChartForm::fillChooser(const std::string& playerId) {
    m_players = m_windows.choosablePlayers(m_club);
    const QSignalBlocker quiet(m_chooser);
    m_chooser->clear();
    int current = -1;
    for (std::size_t i = 0; i < m_players.size(); ++i) {
        m_chooser->addItem(m_players[i].second);
        if (m_players[i].first == playerId)
            current = static_cast<int>(i);
    }
    if (current < 0) {
        // He is no longer in the club: he stays chosen all the same.
        m_players.insert(m_players.begin(), {playerId, m_name});
        m_chooser->insertItem(0, m_name);
        current = 0;
    }
    m_chooser->setCurrentIndex(current);
}

bool PlayerChartForm::showPlayer(const std::string& playerId) {
    History* history = m_windows.history(this);
    if (!history)
        return false;
    const PlayerSeries series = history->Player(playerId);
    if (series.points.empty())
        return false;
    setSeries(series);
    return true;
}

void PlayerChartForm::showAllLines(bool on) {
    for (int i = 0; i < m_lineList->count(); ++i)
        m_lineList->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void PlayerChartForm::saveClick() {
    SaveChartPicture(m_host, this, ChartPicture(*m_chart, m_lines, m_title, font()), m_name);
}

void PlayerChartForm::compareClick() { ComparePlayers(m_host, m_windows, m_kit, m_club, m_players, this); }

}  // namespace cadrix::app
