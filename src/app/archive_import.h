#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "import/extract_questions.h"
#include "import/working_folders.h"

class QWidget;

namespace cadrix::app {

class UiHost;

struct WorkFolders {
    std::filesystem::path base;
    std::filesystem::path start;  // base/Tmp/old
    std::filesystem::path end;    // base/Tmp/new
    // The lock on the working folders, held as long as any copy of these
    // folders lives: the window uses them for its whole life.
    std::shared_ptr<const WorkFolderLock> lock;
};

// The base folder: `workDir` when given, else the executable's folder, or the
// per-user data folder when the executable's folder cannot be written or
// another window holds it. Throws WorkingFolderError, naming the folder, when
// the folders are held by another window and there is no other to take.
WorkFolders ResolveWorkFolders(const std::optional<std::filesystem::path>& workDir);

// The reader's questions while it extracts, put to the user through the
// desktop: the entry failure question with Abort, Retry and Ignore, and the
// password question. It remembers the first entry that did not come out
// whole (passed over, extraction stopped, or left encrypted), so that such an
// archive is compared as the user chose but never stored.
class HostQuestions : public ExtractQuestions {
public:
    HostQuestions(UiHost& host, QWidget* parent) : m_host(host), m_parent(parent) {}

    EntryFailureAnswer AskEntryFailure(const EntryFailure& failure) override;
    std::optional<std::string> AskPassword(const std::string& entryName) override;

    // "entry: reason" of the first entry that is missing or cut short; none
    // when every entry came out whole.
    const std::optional<std::string>& FirstIncompleteEntry() const { return m_incomplete; }

private:
    void NoteIncomplete(const std::string& what) {
        if (!m_incomplete)
            m_incomplete = what;
    }

    UiHost& m_host;
    QWidget* m_parent;
    std::optional<std::string> m_incomplete;
};

}  // namespace cadrix::app
