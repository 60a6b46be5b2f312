#include "archive_import.h"

#include <system_error>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "core/wildcard.h"
#include "import/archive_choice.h"
#include "import/working_folders.h"
#include "import/zip_file.h"
#include "uihost.h"

namespace cadrix::app {

namespace fs = std::filesystem;

namespace {
// The file label shows paths up to this many characters whole; longer ones
// keep their head and tail around " ... ".
constexpr int kMaxWholePath = 65;
constexpr int kPathHead = 40;
constexpr int kPathTail = 21;

}  // namespace

WorkFolders ResolveWorkFolders(const std::optional<fs::path>& workDir)
{
    const fs::path base = BaseFolder(ExecutableFolder(), workDir);
    return {base, WorkingFolder(base, SnapshotSide::Start), WorkingFolder(base, SnapshotSide::End)};
}

void EmptyCsvFiles(const fs::path& folder)
{
    cadrix::EmptyCsvFiles(folder);
}

namespace {
// The reader's questions, answered by the user through the desktop.
class HostQuestions : public ExtractQuestions {
public:
    HostQuestions(UiHost& host, QWidget* parent) : m_questions(host, parent) {}
    EntryFailureAnswer AskEntryFailure(const std::string& text) override { return m_questions.askEntryFailure(text); }
    std::optional<std::string> AskPassword(const std::string& entryName) override
    {
        return m_questions.askPassword(entryName);
    }

private:
    ArchiveQuestions m_questions;
};
}  // namespace

void ExtractArchive(const fs::path& archive, const fs::path& folder, UiHost& host, QWidget* parent)
{
    HostQuestions questions(host, parent);
    ZipFile zip(questions);
    zip.SetBaseDir(folder);
    zip.SetTempDir(folder);
    zip.SetFileName(archive);
    zip.OpenArchive();
    zip.ExtractFiles();
    zip.CloseArchive();
}

EntryFailureAnswer ArchiveQuestions::askEntryFailure(const std::string& errorText)
{
    const QString text = QString::fromStdString(errorText);
    switch (m_host.message(m_parent, QStringLiteral("Confirm"), text, QMessageBox::Question,
                           QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore)) {
    case QMessageBox::Retry:
        return EntryFailureAnswer::Retry;
    case QMessageBox::Ignore:
        return EntryFailureAnswer::Ignore;
    default:
        return EntryFailureAnswer::Abort;
    }
}

std::optional<std::string> ArchiveQuestions::askPassword(const std::string& entryName)
{
    const auto password = m_host.askPassword(m_parent, QString::fromStdString(entryName));
    if (!password)
        return std::nullopt;
    return password->toStdString();
}

std::optional<fs::path> FindPlayersFile(const fs::path& folder)
{
    const auto found = FindFirstMatching(folder, "*players.csv");
    if (!found)
        return std::nullopt;
    QFile file(QString::fromStdString(found->string()));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return found;
}

std::string FileLabelText(const std::string& path)
{
    return cadrix::FileLabelText(path);
}

std::string FileDateText(const fs::path& file)
{
    const QDateTime modified = QFileInfo(QString::fromStdString(file.string())).lastModified().toLocalTime();
    return modified.date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

}  // namespace cadrix::app
