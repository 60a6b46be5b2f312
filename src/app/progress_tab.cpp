#include "progress_tab.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "error_box.h"
#include "history_windows.h"

namespace cadrix::app {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QTreeWidget* Ranking(const QString& figure, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels({QStringLiteral("Игрок"), QStringLiteral("Поз."), figure, QStringLiteral("Изменение"),
                           QStringLiteral("В неделю")});
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    return list;
}

void Fill(QTreeWidget* list, const std::vector<Improver>& players, Growth Improver::*figure) {
    list->clear();
    QList<QTreeWidgetItem*> items;
    for (const Improver& p : players) {
        const Growth& g = p.*figure;
        auto* item = new QTreeWidgetItem(
            {Q(p.name), Q(p.position), Q(g.start) + QStringLiteral(" → ") + Q(g.end), Q(g.change), Q(g.perWeek)});
        for (int c = 2; c < 5; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kIdRole, Q(p.playerId));
        items << item;
    }
    list->addTopLevelItems(items);
}

}  // namespace

ProgressTab::ProgressTab(HistoryWindows& windows, QWidget* parent)
    : QWidget(parent),
      m_windows(windows),
      m_from(new QComboBox(this)),
      m_to(new QComboBox(this)),
      m_days(new QLabel(this)),
      m_byRealLevel(Ranking(QStringLiteral("РУ"), this)),
      m_bySkillsSum(Ranking(QStringLiteral("Сумма умений"), this)) {
    setObjectName(QStringLiteral("ProgressTab"));
    m_from->setObjectName(QStringLiteral("ProgressFrom"));
    m_to->setObjectName(QStringLiteral("ProgressTo"));
    m_byRealLevel->setObjectName(QStringLiteral("ByRealLevel"));
    m_bySkillsSum->setObjectName(QStringLiteral("BySkillsSum"));
    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("С"), this));
    dates->addWidget(m_from);
    dates->addWidget(new QLabel(QStringLiteral("по"), this));
    dates->addWidget(m_to);
    dates->addWidget(m_days, 1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_byRealLevel);
    lists->addWidget(m_bySkillsSum);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addLayout(lists, 1);
    for (QComboBox* date : {m_from, m_to})
        connect(date, &QComboBox::currentIndexChanged, this, [this] { rank(); });
    for (QTreeWidget* list : {m_byRealLevel, m_bySkillsSum}) {
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
            m_windows.showPlayerChart(item->data(0, kIdRole).toString().toStdString());
        });
    }
}

void ProgressTab::setSnapshots(const std::vector<StoredSnapshot>& snapshots) {
    m_snapshots.assign(snapshots.rbegin(), snapshots.rend());
    {
        const QSignalBlocker quietFrom(m_from), quietTo(m_to);
        m_from->clear();
        m_to->clear();
        for (const StoredSnapshot& s : m_snapshots) {
            m_from->addItem(Q(s.date));
            m_to->addItem(Q(s.date));
        }
        m_from->setCurrentIndex(m_snapshots.empty() ? -1 : 0);
        m_to->setCurrentIndex(static_cast<int>(m_snapshots.size()) - 1);
    }
    rank();
}

void ProgressTab::rank() {
    const int from = m_from->currentIndex(), to = m_to->currentIndex();
    History* history = from >= 0 && to >= 0 ? m_windows.history(this) : nullptr;
    if (!history) {
        m_byRealLevel->clear();
        m_bySkillsSum->clear();
        m_days->clear();
        return;
    }
    const Improvers r = RankImprovers(*history, m_snapshots[static_cast<std::size_t>(from)],
                                      m_snapshots[static_cast<std::size_t>(to)]);
    m_days->setText(QStringLiteral("дней: %1, игроков: %2").arg(r.days).arg(r.byRealLevel.size()));
    Fill(m_byRealLevel, r.byRealLevel, &Improver::realLevel);
    Fill(m_bySkillsSum, r.bySkillsSum, &Improver::skillsSum);
}

}  // namespace cadrix::app
