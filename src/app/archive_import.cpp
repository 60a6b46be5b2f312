#include "archive_import.h"

#include <QMessageBox>
#include <QString>

#include "import/working_folders.h"
#include "uihost.h"

namespace cadrix::app {

WorkFolders ResolveWorkFolders(const std::optional<std::filesystem::path>& workDir) {
    const std::filesystem::path base = BaseFolder(ExecutableFolder(), workDir);
    return {base, WorkingFolder(base, SnapshotSide::Start), WorkingFolder(base, SnapshotSide::End)};
}

EntryFailureAnswer HostQuestions::AskEntryFailure(const std::string& text) {
    switch (m_host.message(m_parent, QStringLiteral("Confirm"), QString::fromStdString(text), QMessageBox::Question,
                           QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore)) {
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
