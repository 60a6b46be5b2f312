#include "archive_import.h"

#include <QMessageBox>
#include <QString>

#include "uihost.h"

namespace cadrix::app {

WorkFolders ResolveWorkFolders(const std::optional<std::filesystem::path>& workDir) {
    LockedBaseFolder locked = LockBaseFolder(ExecutableFolder(), workDir);
    const std::filesystem::path& base = locked.base;
    return {base, WorkingFolder(base, SnapshotSide::Start), WorkingFolder(base, SnapshotSide::End),
            std::move(locked.lock)};
}

EntryFailureAnswer HostQuestions::AskEntryFailure(const EntryFailure& failure) {
    const auto answer =
        m_host.message(m_parent, QStringLiteral("Confirm"), QString::fromStdString(failure.QuestionText()),
                       QMessageBox::Question, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    if (answer == QMessageBox::Retry)
        return EntryFailureAnswer::Retry;
    NoteIncomplete(failure.entryName + ": " + failure.errorText);
    return answer == QMessageBox::Ignore ? EntryFailureAnswer::Ignore : EntryFailureAnswer::Abort;
}

std::optional<std::string> HostQuestions::AskPassword(const std::string& entryName) {
    const auto password = m_host.askPassword(m_parent, QString::fromStdString(entryName));
    if (!password) {
        NoteIncomplete(entryName + ": encrypted, no password given");
        return std::nullopt;
    }
    return password->toStdString();
}

}  // namespace cadrix::app
