#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "import/extract_questions.h"

class QWidget;

namespace cadrix::app {

class UiHost;

struct WorkFolders {
    std::filesystem::path base;
    std::filesystem::path start;  // base/Tmp/old
    std::filesystem::path end;    // base/Tmp/new
};

// The base folder: `workDir` when given, else the executable's folder, or the
// per-user data folder when the executable's folder cannot be written.
WorkFolders ResolveWorkFolders(const std::optional<std::filesystem::path>& workDir);

// The reader's questions while it extracts, put to the user through the
// desktop: the entry failure question with Abort, Retry and Ignore, and the
// password question.
class HostQuestions : public ExtractQuestions {
public:
    HostQuestions(UiHost& host, QWidget* parent) : m_host(host), m_parent(parent) {}

    EntryFailureAnswer AskEntryFailure(const std::string& text) override;
    std::optional<std::string> AskPassword(const std::string& entryName) override;

private:
    UiHost& m_host;
    QWidget* m_parent;
};

}  // namespace cadrix::app
