#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "import/extract_questions.h"

class QWidget;

namespace cadrix::app {

class UiHost;

// Every call of the window into the import library's archive-choice steps
// goes through this file, one function per step.

struct WorkFolders {
    std::filesystem::path base;
    std::filesystem::path start;  // base/Tmp/old
    std::filesystem::path end;    // base/Tmp/new
};

// The base folder: `workDir` when given, else the executable's folder, or the
// per-user data folder when the executable's folder cannot be written.
WorkFolders ResolveWorkFolders(const std::optional<std::filesystem::path>& workDir);

// STEP: empty a working folder of its CSV files; other files and sub-folders
// stay. A file that cannot be deleted ends the emptying with an error instead
// of being tried again for ever.
void EmptyCsvFiles(const std::filesystem::path& folder);

// STEP: extract the archive's "*.csv" entries into `folder`, creating it.
// Entry failures and passwords are settled with the user through `host`;
// an error of the archive as a whole throws the import library's ArchiveError
// (or its open and read errors).
void ExtractArchive(const std::filesystem::path& archive, const std::filesystem::path& folder, UiHost& host,
                    QWidget* parent);


class ArchiveQuestions {
public:
    ArchiveQuestions(UiHost& host, QWidget* parent) : m_host(host), m_parent(parent) {}

    // An entry could not be extracted: `text` is the whole question,
    // answered with Abort, Retry or Ignore.
    EntryFailureAnswer askEntryFailure(const std::string& errorText);
    // An encrypted entry: the password typed, or none when cancelled.
    std::optional<std::string> askPassword(const std::string& entryName);

private:
    UiHost& m_host;
    QWidget* m_parent;
};

// STEP: the first "*players.csv" file (letter case ignored) at the folder's
// top level, when there is one that can be opened.
std::optional<std::filesystem::path> FindPlayersFile(const std::filesystem::path& folder);

// STEP: the file label's text for the chosen archive's path.
std::string FileLabelText(const std::string& path);

// STEP: the snapshot date: the file's last-write date, local time, dd.MM.yyyy.
std::string FileDateText(const std::filesystem::path& file);

}  // namespace cadrix::app
