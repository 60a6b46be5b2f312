#include "history_form.h"

#include <algorithm>
#include <filesystem>

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "archive_import.h"
#include "chart_kit.h"
#include "chart_lines.h"
#include "progress_tab.h"
#include "error_box.h"
#include "folder_watcher.h"
#include "form_main.h"
#include "history_windows.h"
#include "uihost.h"

namespace cadrix::app {

namespace {

namespace fs = std::filesystem;

constexpr QSize kInitialSize{660, 440};
constexpr int kFigureListWidth = 190;
enum Column { kDateColumn, kClubColumn, kFileColumn, kPlayersColumn, kColumnCount };
constexpr int kIdRole = Qt::UserRole;
// The failures one message lists; the rest are counted.
constexpr int kListedFailures = 10;
// How often a shown window asks whether the database changed.
constexpr int kDatabaseLookMs = 500;

QString Text(const std::string& text) { return QString::fromStdString(text); }

SnapshotId IdOf(const QTreeWidgetItem* item) { return item->data(kDateColumn, kIdRole).toLongLong(); }

// The archives that dialog answers or dropped files name: a file itself, a
// folder every archive directly in it.
std::vector<fs::path> ArchivesOf(const QStringList& paths, QStringList& emptyFolders) {
    std::vector<fs::path> archives;
    for (const QString& path : paths) {
        const fs::path p(path.toStdString());
        if (QFileInfo(path).isDir()) {
            const auto found = ArchivesIn(p);
            if (found.empty())
                emptyFolders << path;
            archives.insert(archives.end(), found.begin(), found.end());
        } else {
            archives.push_back(p);
        }
    }
    return archives;
}

}  // namespace

template <typename Handler>
void HistoryForm::run(Handler&& handler) {
    RunHandler(m_host, this, std::forward<Handler>(handler));
}

HistoryForm::HistoryForm(UiHost& host, HistoryWindows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_host(host),
      m_windows(windows),
      m_clubs(new QComboBox(this)),
      m_tabs(new QTabWidget(this)),
      m_databaseLook(new QTimer(this)),
      m_dialogFolder(QDir::homePath()) {
    setObjectName(QStringLiteral("HistoryForm"));
    setWindowTitle(kHistoryCaption);
    // The main window's font, and later its font choices, reach this window.
    setAttribute(Qt::WA_WindowPropagation);
    setAcceptDrops(true);
    resize(kInitialSize);

    m_clubs->setObjectName(QStringLiteral("ClubChooser"));
    auto* clubRow = new QHBoxLayout;
    clubRow->addWidget(new QLabel(QStringLiteral("Клуб:"), this));
    clubRow->addWidget(m_clubs, 1);
    auto* snapshots = new QWidget(m_tabs);
    snapshots->setObjectName(QStringLiteral("SnapshotsTab"));
    auto* clubTab = new QWidget(m_tabs);
    clubTab->setObjectName(QStringLiteral("ClubTab"));
    m_tabs->addTab(snapshots, QStringLiteral("Выгрузки"));
    m_tabs->addTab(clubTab, QStringLiteral("Клуб"));
    setUpSnapshotsTab(snapshots);
    setUpClubTab(clubTab);
    m_progress = new ProgressTab(m_windows, m_tabs);
    m_tabs->addTab(m_progress, QStringLiteral("Прогресс"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(clubRow);
    layout->addWidget(m_tabs, 1);

    connect(m_clubs, &QComboBox::activated, this, [this] {
        run([this] {
            fillList();
            fillClubChart();
        });
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_tabs->widget(index)->objectName() == QStringLiteral("ClubTab"))
            run([this] { ensureChart(); });
    });
    m_databaseLook->setInterval(kDatabaseLookMs);
    connect(m_databaseLook, &QTimer::timeout, this, [this] { followDatabase(); });
    connect(&m_windows.access(), &HistoryAccess::changed, this, [this] {
        if (isVisible())
            run([this] { reload(); });
    });
}

void HistoryForm::setUpSnapshotsTab(QWidget* tab) {
    m_list = new QTreeWidget(tab);
    m_list->setObjectName(QStringLiteral("SnapshotList"));
    m_list->setColumnCount(kColumnCount);
    m_list->setHeaderLabels(
        {QStringLiteral("Дата"), QStringLiteral("Клуб"), QStringLiteral("Файл"), QStringLiteral("Игроков")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(kFileColumn, QHeaderView::Stretch);

    m_compare = new QPushButton(QStringLiteral("Сравнить"), tab);
    m_compare->setObjectName(QStringLiteral("CompareButton"));
    m_compare->setToolTip(QStringLiteral("Загрузить две выбранные выгрузки, более раннюю как начало периода"));
    m_compareLatest = new QPushButton(QStringLiteral("Сравнить последние"), tab);
    m_compareLatest->setObjectName(QStringLiteral("CompareLatestButton"));
    m_compareLatest->setToolTip(QStringLiteral("Загрузить самую новую выгрузку клуба и предыдущую"));
    m_watch = new QPushButton(QStringLiteral("Следить за папкой…"), tab);
    m_watch->setObjectName(QStringLiteral("WatchFolderButton"));
    m_watch->setCheckable(true);
    m_add = new QPushButton(QStringLiteral("Добавить…"), tab);
    m_add->setObjectName(QStringLiteral("AddButton"));
    auto* addMenu = new QMenu(m_add);
    addMenu->addAction(QStringLiteral("Архивы…"), this, [this] { addArchivesClick(); });
    addMenu->addAction(QStringLiteral("Папку с архивами…"), this, [this] { addFolderClick(); });
    m_add->setMenu(addMenu);
    m_remove = new QPushButton(QStringLiteral("Удалить"), tab);
    m_remove->setObjectName(QStringLiteral("RemoveButton"));
    m_status = new QLabel(tab);
    m_status->setObjectName(QStringLiteral("StatusLabel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_compare);
    buttons->addWidget(m_compareLatest);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_watch);
    buttons->addWidget(m_status, 1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_compare, &QPushButton::clicked, this, [this] { compareClick(); });
    connect(m_compareLatest, &QPushButton::clicked, this, [this] { compareLatestClick(); });
    connect(m_watch, &QPushButton::clicked, this, [this](bool on) { watchFolderClick(on); });
    connect(m_remove, &QPushButton::clicked, this, [this] { removeClick(); });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem*, QTreeWidgetItem* previous) {
        m_previousCurrent = previous ? std::optional(IdOf(previous)) : std::nullopt;
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { doubleClicked(item); });
    updateButtons();
}

void HistoryForm::setUpClubTab(QWidget* tab) {
    m_figures = new QListWidget(tab);
    m_figures->setObjectName(QStringLiteral("FigureList"));
    m_figures->setFixedWidth(kFigureListWidth);
    m_chartArea = new QWidget(tab);
    m_chartArea->setObjectName(QStringLiteral("ClubChartArea"));
    auto* areaLayout = new QVBoxLayout(m_chartArea);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(m_figures);
    layout->addWidget(m_chartArea, 1);
    connect(m_figures, &QListWidget::currentRowChanged, this, [this](int row) { showFigure(row); });
}

QString HistoryForm::club() const { return m_clubs->currentText(); }

void HistoryForm::reload(const QString& club) {
    History* history = m_windows.history(this);
    if (!history)
        return;
    // What is read now is the state to compare later looks with.
    m_changeCount = history->ChangeCount();
    const QString wanted = !club.isEmpty() ? club : this->club();
    m_clubs->clear();
    for (const std::string& name : history->Clubs())
        m_clubs->addItem(Text(name));
    int index = m_clubs->findText(wanted);
    if (index < 0) {
        const auto all = history->Snapshots();
        index = all.empty() ? -1 : m_clubs->findText(Text(all.back().club));
    }
    m_clubs->setCurrentIndex(index);
    fillList();
    fillClubChart();
}

void HistoryForm::fillList() {
    History* history = m_windows.history(this);
    if (!history)
        return;
    m_snapshots =
        m_clubs->currentIndex() < 0 ? std::vector<StoredSnapshot>{} : history->Snapshots(club().toStdString());
    std::reverse(m_snapshots.begin(), m_snapshots.end());
    {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        for (const StoredSnapshot& s : m_snapshots) {
            auto* item =
                new QTreeWidgetItem(m_list, {Text(s.date), Text(s.club), Text(s.fileName), QString::number(s.players)});
            item->setData(kDateColumn, kIdRole, QVariant::fromValue<qlonglong>(s.id));
            item->setTextAlignment(kPlayersColumn, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    m_previousCurrent.reset();
    for (int c = 0; c < kColumnCount; ++c) {
        if (c != kFileColumn)
            m_list->resizeColumnToContents(c);
    }
    updateButtons();
}

std::vector<SnapshotId> HistoryForm::selectedIds() const {
    std::vector<SnapshotId> ids;
    for (const QTreeWidgetItem* item : m_list->selectedItems())
        ids.push_back(IdOf(item));
    return ids;
}

void HistoryForm::updateButtons() {
    const auto selected = m_list->selectedItems().size();
    m_compare->setEnabled(selected == 2);
    m_compareLatest->setEnabled(m_snapshots.size() >= 2);
    const QString watched = m_windows.watcher().folder();
    m_watch->setChecked(!watched.isEmpty());
    m_watch->setToolTip(watched.isEmpty() ? QStringLiteral("Добавлять в историю новые выгрузки из папки")
                                          : QStringLiteral("Новые выгрузки добавляются из %1")
                                                .arg(QDir::toNativeSeparators(watched)));
    m_remove->setEnabled(selected > 0);
}

void HistoryForm::compareClick() {
    const auto ids = selectedIds();
    if (ids.size() == 2)
        compare(ids[0], ids[1]);
}

void HistoryForm::compareLatestClick() {
    if (m_snapshots.size() >= 2)
        run([this] { m_windows.compareLatest(club().toStdString()); });
}

void HistoryForm::watchFolderClick(bool on) {
    QString folder;
    if (on) {
        const QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        folder = m_host.getExistingDirectory(this, QStringLiteral("Следить за папкой"), start);
    }
    m_windows.watchFolder(folder);
    updateButtons();
}

void HistoryForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_databaseLook->start();
}

void HistoryForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_databaseLook->stop();
}

void HistoryForm::followDatabase() {
    // Asked only while the database is open already: a window shown opened it.
    if (m_windows.access().failed())
        return;
    History* history = m_windows.history(this);
    if (!history)
        return;
    run([&] {
        std::int64_t count = 0;
        try {
            count = history->ChangeCount();
        } catch (...) {
            // Told once, not at every look.
            m_databaseLook->stop();
            throw;
        }
        if (m_changeCount && *m_changeCount != count)
            reload();
        m_changeCount = count;
    });
}

void HistoryForm::doubleClicked(QTreeWidgetItem* item) {
    // The second of two snapshots: the other one selected, or the one
    // clicked before.
    const SnapshotId second = IdOf(item);
    std::optional<SnapshotId> first;
    for (const SnapshotId id : selectedIds()) {
        if (id != second)
            first = first ? std::optional<SnapshotId>() : std::optional(id);
    }
    if (!first && m_previousCurrent != second)
        first = m_previousCurrent;
    if (first)
        compare(*first, second);
}

void HistoryForm::compare(SnapshotId a, SnapshotId b) {
    // The list runs newest first: the one further down is the older.
    auto position = [this](SnapshotId id) {
        return std::find_if(m_snapshots.begin(), m_snapshots.end(), [id](const auto& s) { return s.id == id; });
    };
    const bool aIsOlder = position(a) > position(b);
    run([&] { m_windows.compare(aIsOlder ? a : b, aIsOlder ? b : a); });
}

void HistoryForm::removeClick() {
    run([this] {
        const auto ids = selectedIds();
        History* history = m_windows.history(this);
        if (ids.empty() || !history)
            return;
        const auto answer = m_host.message(
            this, kHistoryCaption,
            QStringLiteral("Удалить из истории выбранные выгрузки (%1)? Архивы на диске останутся.").arg(ids.size()),
            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
        for (const SnapshotId id : ids)
            history->Remove(id);
        m_status->setText(QStringLiteral("Удалено: %1").arg(ids.size()));
        m_windows.access().notifyChanged();
    });
}

void HistoryForm::addArchivesClick() {
    const QStringList files =
        m_host.getOpenFileNames(this, QStringLiteral("Добавить выгрузки"), m_dialogFolder, QtFilter(kArchiveFilter));
    if (files.isEmpty())
        return;
    m_dialogFolder = QFileInfo(files.front()).absolutePath();
    addPaths(files);
}

void HistoryForm::addFolderClick() {
    const QString folder = m_host.getExistingDirectory(this, QStringLiteral("Папка с выгрузками"), m_dialogFolder);
    if (folder.isEmpty())
        return;
    m_dialogFolder = folder;
    addPaths({folder});
}

void HistoryForm::addPaths(const QStringList& paths) {
    run([&] {
        History* history = m_windows.history(this);
        if (!history)
            return;
        QStringList problems;
        const std::vector<fs::path> archives = ArchivesOf(paths, problems);
        for (QString& folder : problems)
            folder = QStringLiteral("%1: в папке нет архивов (*.zip)").arg(folder);
        HostQuestions questions(m_host, this);
        std::unique_ptr<ProgressReport> progress;
        if (archives.size() > 1)
            progress = m_host.startProgress(this, QStringLiteral("Выгрузки добавляются в историю…"),
                                            static_cast<int>(archives.size()));
        AddProgress report;
        if (progress)
            report = [&](std::size_t done, std::size_t) { return progress->advance(static_cast<int>(done)); };
        const std::vector<AddOutcome> outcomes = history->Add(archives, questions, report);
        progress.reset();

        int added = 0;
        int storedAlready = 0;
        QString newestClub;
        for (const AddOutcome& outcome : outcomes) {
            if (outcome.status == AddStatus::Added) {
                ++added;
                newestClub = Text(outcome.snapshot.club);
            } else if (outcome.status == AddStatus::StoredAlready) {
                ++storedAlready;
            } else {
                problems << QStringLiteral("%1: %2").arg(Text(outcome.archive.string()), Text(outcome.error));
            }
        }
        QString status = QStringLiteral("Добавлено: %1, уже были: %2").arg(added).arg(storedAlready);
        if (outcomes.size() < archives.size())
            status += QStringLiteral(", остановлено на %1 из %2").arg(outcomes.size()).arg(archives.size());
        m_status->setText(status);
        // A first club added is shown at once.
        if (m_clubs->count() == 0 && !newestClub.isEmpty())
            reload(newestClub);
        else
            reload();
        if (added > 0)
            m_windows.access().notifyChanged();
        if (!problems.isEmpty()) {
            const auto listed = problems.mid(0, kListedFailures);
            QString text = QStringLiteral("Не добавлены в историю %1:\n\n%2")
                               .arg(Text(m_windows.access().file().string()), listed.join(u'\n'));
            if (problems.size() > listed.size())
                text += QStringLiteral("\n… и ещё %1").arg(problems.size() - listed.size());
            m_host.message(this, kHistoryCaption, text, QMessageBox::Warning, QMessageBox::Ok);
        }
    });
}

void HistoryForm::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void HistoryForm::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    event->acceptProposedAction();
    // Not inside the drop: the progress dialog and the messages need the
    // event loop the drag holds.
    QMetaObject::invokeMethod(
        this, [this, paths] { addPaths(paths); }, Qt::QueuedConnection);
}

void HistoryForm::fillClubChart() {
    History* history = m_windows.history(this);
    if (!history)
        return;
    m_clubLines = ClubChartLines(history->Club(club().toStdString()));
    m_progress->setSnapshots(m_snapshots);
    const int row = std::max(0, m_figures->currentRow());
    const QSignalBlocker blocker(m_figures);
    m_figures->clear();
    if (m_clubs->currentIndex() >= 0) {
        for (const ChartSeries& line : m_clubLines)
            m_figures->addItem(Text(line.name));
        m_figures->setCurrentRow(row);
    }
    showFigure(m_figures->currentRow());
}

void HistoryForm::ensureChart() {
    if (m_chart || m_chartFailed)
        return;
    ChartKit* kit = m_windows.chartKit(this);
    if (!kit) {
        m_chartFailed = true;
        return;
    }
    m_chart = kit->createLineChart(m_chartArea);
    m_chart->setObjectName(QStringLiteral("ClubChart"));
    m_chartArea->layout()->addWidget(m_chart);
    showFigure(m_figures->currentRow());
}

void HistoryForm::showFigure(int index) {
    if (!m_chart)
        return;
    std::vector<ChartLine> lines;
    ChartAxes axes;
    if (index >= 0 && static_cast<std::size_t>(index) < m_clubLines.size()) {
        const ChartSeries& series = m_clubLines[static_cast<std::size_t>(index)];
        lines.push_back(ToChartLine(series, LineColour(0)));
        axes.title = QStringLiteral("%1, %2: %3").arg(club(), Text(series.name), DateSpan(m_clubLines));
        axes.left = Text(series.name);
        axes.leftReversed = series.fallIsFavourable;
    }
    m_chart->setLines(lines, axes);
}

}  // namespace cadrix::app
