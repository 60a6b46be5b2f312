#include "archive_import.h"

#include <system_error>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "core/wildcard.h"
#include "uihost.h"

namespace cadrix::app {

namespace fs = std::filesystem;

namespace {
// The file label shows paths up to this many characters whole; longer ones
// keep their head and tail around " ... ".
constexpr int kMaxWholePath = 65;
constexpr int kPathHead = 40;
constexpr int kPathTail = 21;

bool CanWriteIn(const fs::path& folder)
{
    std::error_code ec;
    fs::create_directories(folder / "Tmp", ec);
    return !ec && QFileInfo(QString::fromStdString((folder / "Tmp").string())).isWritable();
}
}  // namespace

WorkFolders ResolveWorkFolders(const std::optional<fs::path>& workDir)
{
    fs::path base;
    if (workDir) {
        base = fs::absolute(*workDir);
    } else {
        base = fs::path(QCoreApplication::applicationDirPath().toStdString());
        if (!CanWriteIn(base))
            base = fs::path(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString());
    }
    return {base, base / "Tmp" / "old", base / "Tmp" / "new"};
}

void EmptyCsvFiles(const fs::path& folder)
{
    for (const auto& file : ListMatching(folder, "*.csv")) {
        std::error_code ec;
        if (!fs::remove(file, ec) && fs::exists(file, ec))
            throw std::runtime_error("Cannot delete file " + file.string());
    }
}

// Stand-in until the import library's ZIP reader is wired in: the unzip tool
// extracts the CSV entries with their recorded dates.
void ExtractArchive(const fs::path& archive, const fs::path& folder, UiHost& /*host*/, QWidget* /*parent*/)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw ArchiveError("ZipFile: Cannot create directory \"" + folder.string() + "\" - Native error: 00020");
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-o"), QStringLiteral("-qq"),
                                          QString::fromStdString(archive.string()), QStringLiteral("*.csv"),
                                          QStringLiteral("-d"), QString::fromStdString(folder.string())});
    if (!unzip.waitForFinished(-1) || unzip.exitStatus() != QProcess::NormalExit)
        throw ArchiveError("Cannot open file " + archive.string());
    // 0: done, 1: warnings, 11: no entry matched; anything else: no archive.
    const int code = unzip.exitCode();
    if (code != 0 && code != 1 && code != 11)
        throw ArchiveError("ZipFile: Archive is damaged. Open failed - Native error: 00048");
}

EntryFailureAnswer ArchiveQuestions::askEntryFailure(const std::string& errorText)
{
    const QString text = QString::fromStdString(errorText) + QStringLiteral(". File processing error, possibly disk is full");
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
    const QString text = QString::fromStdString(path);
    const QList<uint> chars = text.toUcs4();
    if (chars.size() <= kMaxWholePath)
        return path;
    const QString head = QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), kPathHead);
    const QString tail = QString::fromUcs4(
        reinterpret_cast<const char32_t*>(chars.constData() + chars.size() - kPathTail), kPathTail);
    return (head + QStringLiteral(" ... ") + tail).toStdString();
}

std::string FileDateText(const fs::path& file)
{
    const QDateTime modified = QFileInfo(QString::fromStdString(file.string())).lastModified().toLocalTime();
    return modified.date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

}  // namespace cadrix::app
