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
    switch (m_host.message(m_parent, QStringLiteral("Confirm"), QString::fromStdString(failure.QuestionText()),
                           QMessageBox::Question, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore)) {
    case QMessageBox::Retry: return EntryFailureAnswer::Retry;
    case QMessageBox::Ignore: return EntryFailureAnswer::Ignore;
    default: return EntryFailureAnswer::Abort;
    }
}

std::optional<std::string> HostQuestions::AskPassword(const std::string& entryName) {
    const auto password = m_host.askPassword(m_parent, QString::fromStdString(entryName));
    if (!password)
        return std::nullopt;
    return password->toStdString();
}

}  // namespace cadrix::app
