#include "history_windows.h"

#include <algorithm>
#include <tuple>
#include <set>

#include "chart_module.h"
#include "folder_watcher.h"
#include "form_main.h"
#include "history/latest_pair.h"
#include "history_form.h"
#include "new_export_notice.h"
#include "player_chart_form.h"
#include "saved_settings.h"
#include "uihost.h"
#include "window_placement.h"

namespace cadrix::app {

HistoryWindows::HistoryWindows(UiHost& host, FormMain& form, std::filesystem::path file)
    : m_host(host),
      m_form(form),
      m_access(std::move(file)),
      m_watcher(new FolderWatcher([this](const auto& archive) { return storeWatched(archive); },
                                  [this](const auto& snapshots) { announce(snapshots); }, this)),
      m_notice(new NewExportNotice(&form)) {
    m_form.afterFirstActivation([this] {
        if (!m_access.failed())
            m_watcher->watch(SavedWatchFolder());
    });
}

HistoryWindows::~HistoryWindows() {
    // They would outlive this as the main window's children.
    delete m_historyForm;
    qDeleteAll(m_form.findChildren<PlayerChartForm*>());
}

History* HistoryWindows::history(QWidget* parent) {
    std::optional<QString> problem;
    History* opened = m_access.open(problem);
    if (problem)
        m_host.message(parent, kHistoryCaption, *problem, QMessageBox::Warning, QMessageBox::Ok);
    return opened;
}

ChartKit* HistoryWindows::chartKit(QWidget* parent) {
    QString error;
    ChartKit* kit = LoadChartKit(error);
    if (!kit)
        m_host.message(parent, kHistoryCaption, error, QMessageBox::Critical, QMessageBox::Ok);
    return kit;
}

void HistoryWindows::showHistory() {
    History* opened = history(&m_form);
    if (!opened)
        return;
    if (!m_historyForm)
        m_historyForm = new HistoryForm(m_host, *this, &m_form);
    m_historyForm->reload(QString::fromStdString(currentClub()));
    m_historyForm->show();
    KeepInsideScreen(*m_historyForm);
    m_historyForm->raise();
    m_historyForm->activateWindow();
}

HistoryForm* HistoryWindows::historyForm() const { return m_historyForm; }

void HistoryWindows::compare(SnapshotId start, SnapshotId end) {
    History* opened = history(&m_form);
    if (!opened)
        return;
    m_form.compareStored(*opened, start, end);
    m_form.raise();
    m_form.activateWindow();
}

PlayerChartForm* HistoryWindows::showPlayerChart(const std::string& playerId) {
    History* opened = history(&m_form);
    if (!opened)
        return nullptr;
    const PlayerSeries series = opened->Player(playerId);
    if (series.points.empty()) {
        m_host.message(&m_form, kHistoryCaption,
                       QStringLiteral("В истории %1 нет выгрузок с игроком %2.")
                           .arg(QString::fromStdString(m_access.file().string()), QString::fromStdString(playerId)),
                       QMessageBox::Information, QMessageBox::Ok);
        return nullptr;
    }
    ChartKit* kit = chartKit(&m_form);
    if (!kit)
        return nullptr;
    auto* chart = new PlayerChartForm(m_host, *this, *kit, series, &m_form);
    chart->show();
    KeepInsideScreen(*chart);
    return chart;
}

void HistoryWindows::compareLatest(const std::string& club) {
    History* opened = history(&m_form);
    if (!opened)
        return;
    const auto pair = club.empty() ? LatestPair(*opened) : LatestPair(*opened, club);
    if (!pair) {
        m_host.message(&m_form, kHistoryCaption,
                       QStringLiteral("В истории %1 нет двух выгрузок одного клуба.")
                           .arg(QString::fromStdString(m_access.file().string())),
                       QMessageBox::Information, QMessageBox::Ok);
        return;
    }
    compare(pair->previous.id, pair->latest.id);
}

void HistoryWindows::watchFolder(const QString& folder) {
    SaveWatchFolder(folder);
    m_watcher->watch(folder);
}

std::optional<StoredSnapshot> HistoryWindows::storeWatched(const std::filesystem::path& archive) {
    // Silently: a download folder is no place for messages. The database's
    // own failure is told once, by the history's opening.
    History* opened = history(&m_form);
    if (!opened)
        return std::nullopt;
    try {
        UnattendedQuestions questions;
        const AddOutcome outcome = opened->Add(archive, questions);
        if (outcome.status != AddStatus::Added)
            return std::nullopt;
        m_access.notifyChanged();
        return outcome.snapshot;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void HistoryWindows::announce(const std::vector<StoredSnapshot>& snapshots) {
    // Several at once (those found at start): the newest is announced.
    const auto newest = std::max_element(snapshots.begin(), snapshots.end(), [](const auto& a, const auto& b) {
        return std::tie(a.day, a.id) < std::tie(b.day, b.id);
    });
    History* opened = m_access.failed() ? nullptr : history(&m_form);
    const auto previous = opened ? PreviousOf(*opened, newest->id) : std::nullopt;
    std::function<void()> compareAction;
    if (previous)
        compareAction = [this, start = previous->id, end = newest->id] { compare(start, end); };
    m_notice->announce(QString::fromStdString(newest->club), QString::fromStdString(newest->date),
                       std::move(compareAction));
}

std::string HistoryWindows::currentClub() const {
    // The club's name as the history stores it: the end snapshot's team
    // table, row 1, column 1.
    return std::string(m_form.comparison().EndSnapshot().team.Cell(1, 1));
}

const Palette& HistoryWindows::palette() const { return PaletteOf(m_form.paletteChoice()); }

std::vector<StoredSnapshot> HistoryWindows::snapshots() {
    History* opened = history(&m_form);
    return opened ? opened->Snapshots() : std::vector<StoredSnapshot>{};
}

std::vector<std::pair<std::string, QString>> HistoryWindows::choosablePlayers(const std::string& club) {
    std::vector<std::pair<std::string, QString>> players;
    std::set<std::string> seen;
    const auto add = [&](std::string id, std::string_view name, std::string_view position) {
        if (id.empty() || !seen.insert(id).second)
            return;
        players.emplace_back(std::move(id), QStringLiteral("%1 (%2)").arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                                                                          QString::fromUtf8(position.data(), static_cast<qsizetype>(position.size()))));
    };
    if (History* opened = history(&m_form)) {
        const auto stored = opened->Snapshots(club);
        if (!stored.empty()) {
            for (const SnapshotPlayer& p : opened->Players(stored.back().id))
                add(p.playerId, p.point.name, p.point.position);
        }
    }
    for (const Snapshot* s : {&m_form.comparison().EndSnapshot(), &m_form.comparison().StartSnapshot()}) {
        for (int r = 1; r < s->play.RowCount(); ++r)
            add(std::string(s->play.Cell(players::kPlayerId, r)), s->play.Cell(players::kName, r),
                s->play.Cell(players::kPosition, r));
    }
    return players;
}

}  // namespace cadrix::app
