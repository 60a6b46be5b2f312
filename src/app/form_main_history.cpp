// The history's entry points: its window, the chosen archives it keeps,
// the stored snapshots compared, and the players' development charts.

#include "form_main.h"

#include <QPushButton>

#include "form_main_shared.h"
#include "history/stored_choice.h"
#include "history_windows.h"
#include "player_menu.h"
#include "ui_form_main.h"
#include "uihost.h"
#include "views/player_rows.h"

namespace cadrix::app {

void FormMain::setHistory(HistoryWindows* history) {
    m_history = history;
    if (!m_history)
        return;
    connect(m_ui->ButtonHistory, &QPushButton::clicked, this, [this] {
        if (m_history)
            run([this] { m_history->showHistory(); });
    });
    connect(&m_history->access(), &HistoryAccess::disabled, m_ui->ButtonHistory,
            [this] { m_ui->ButtonHistory->setEnabled(false); });
}

void FormMain::keepInHistory(SnapshotSide side, const QString& archive) {
    if (!m_history)
        return;
    const auto problem = m_history->access().keepChosenArchive(
        archive.toStdString(), side == SnapshotSide::Start ? m_folders.start : m_folders.end);
    if (problem)
        m_host.message(this, kHistoryCaption, *problem, QMessageBox::Warning, QMessageBox::Ok);
}

void FormMain::compareStored(const History& history, SnapshotId start, SnapshotId end) {
    run([&] { chooseStoredOf(SnapshotSide::Start, history, start); });
    run([&] { chooseStoredOf(SnapshotSide::End, history, end); });
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
