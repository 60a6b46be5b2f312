// The history's entry points: its window, the chosen archives it keeps,
// the stored snapshots compared, and the players' development charts.

#include "form_main.h"

#include <QPushButton>

#include "form_main_shared.h"
#include "history/latest_pair.h"
#include "history/stored_choice.h"
#include "history_windows.h"
#include "player_menu.h"
#include "ui_form_pages.h"
#include "uihost.h"
#include "views/player_rows.h"

namespace cadrix::app {

void FormMain::setHistory(HistoryWindows* history) {
    m_history = history;
    connectHistoryButton();
}

// The club page's button, once both the history and the pages are there.
void FormMain::connectHistoryButton() {
    if (!m_history || !m_pagesUi)
        return;
    QPushButton* button = m_pagesUi->ButtonHistory;
    connect(button, &QPushButton::clicked, this, [this] {
        if (m_history)
            run([this] { m_history->showHistory(); });
    });
    connect(&m_history->access(), &HistoryAccess::disabled, button, [button] { button->setEnabled(false); });
    if (m_history->access().failed())
        button->setEnabled(false);
}

void FormMain::keepInHistory(SnapshotSide side, const QString& archive, const std::optional<std::string>& incomplete) {
    if (!m_history)
        return;
    m_history->access().forgetLastKept();
    const auto problem =
        incomplete ? std::optional(HistoryAccess::NotKeptText(archive + QStringLiteral(": ") +
                                                              QString::fromStdString(*incomplete)))
                   : m_history->access().keepChosenArchive(archive.toStdString(),
                                                           side == SnapshotSide::Start ? m_folders.start : m_folders.end);
    if (problem)
        m_host.message(this, kHistoryCaption, *problem, QMessageBox::Warning, QMessageBox::Ok);
}

void FormMain::compareStored(const History& history, SnapshotId start, SnapshotId end) {
    // As with two dropped archives: the start is not compared with the end
    // chosen before.
    BeginChoice(m_endChoice);
    showChoice(m_endChoice);
    run([&] { chooseStoredOf(SnapshotSide::Start, history, start); });
    run([&] { chooseStoredOf(SnapshotSide::End, history, end); });
}

void FormMain::takeArchives(const QStringList& archives) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (archives.size() == 2) {
        chooseArchive(SnapshotSide::Start, archives[0]);
        chooseArchive(SnapshotSide::End, archives[1]);
    } else if (archives.size() == 1) {
        run([&] { compareWithPrevious(archives[0]); });
    }
}

void FormMain::compareWithPrevious(const QString& archive) {
    // Chosen as the start, it is stored as every chosen archive is; with an
    // earlier export of its club in the history, that becomes the start.
    if (!chooseArchiveOf(SnapshotSide::Start, archive) || !m_history)
        return;
    const std::optional<StoredSnapshot> kept = m_history->access().lastKept();
    std::optional<QString> problem;
    const History* history = kept ? m_history->access().open(problem) : nullptr;
    if (!history)
        return;
    const std::optional<StoredSnapshot> previous = PreviousOf(*history, kept->id);
    if (!previous)
        return;
    chooseStoredOf(SnapshotSide::Start, *history, previous->id);
    chooseStoredOf(SnapshotSide::End, *history, kept->id);
}

void FormMain::chooseStoredOf(SnapshotSide side, const History& history, SnapshotId id) {
    SnapshotChoice& choice = side == SnapshotSide::Start ? m_startChoice : m_endChoice;
    BeginChoice(choice);
    showChoice(choice);
    ChoiceStatus status;
    try {
        status = ChooseStoredSnapshot(choice, history, id, m_folders.base);
    } catch (...) {
        showChoice(choice);
        throw;
    }
    finishChoice(choice, status);
}

std::optional<std::string> FormMain::playerIdAt(GridId grid, int row) const {
    return PlayerIdOfRow(m_comparison.TotalPlay(), grid, row);
}

std::optional<std::string> FormMain::chosenPlayerId() const {
    const int index = m_comparison.ChosenIndex();
    const auto& ids = m_comparison.ListBox1();
    if (index < 0 || static_cast<std::size_t>(index) >= ids.size())
        return std::nullopt;
    return ids[static_cast<std::size_t>(index)];
}

MenuCommand FormMain::playerDevelopment(std::function<std::optional<std::string>()> player) {
    // Without a history there is nothing to chart: the item stays disabled.
    return PlayerDevelopmentCommand(
        std::move(player), [this] { return m_history && !m_history->access().failed(); },
        [this](const std::string& id) { run([&] { m_history->showPlayerChart(id); }); });
}

}  // namespace cadrix::app
