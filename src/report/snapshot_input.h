#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "export/report.h"
#include "import/archive_choice.h"
#include "views/comparison.h"

namespace cadrix {

// Chooses a stored snapshot ("@ID") into the side's working folder under the
// base folder, where an archive would have been extracted.
using StoredSnapshotChooser =
    std::function<ChoiceStatus(SnapshotChoice&, std::string_view ref, const std::filesystem::path& base)>;

// Turns the report's two inputs into a loaded comparison: two folders of
// extracted CSV files are read where they lie; two archives are chosen the
// way the window chooses them, into the working folders.
class SnapshotInputs {
public:
    explicit SnapshotInputs(std::optional<std::filesystem::path> workDir);
    ~SnapshotInputs();
    SnapshotInputs(const SnapshotInputs&) = delete;
    SnapshotInputs& operator=(const SnapshotInputs&) = delete;

    // Runs the choices and the load run. Returns false after printing the
    // reason on standard error when the inputs cannot be used.
    bool Prepare(const std::filesystem::path& start, const std::filesystem::path& end, Comparison& comparison,
                 std::array<ArchiveRow, 2>& rows);

    // Lets "@ID" stand where an archive can.
    void SetStoredSnapshots(std::function<bool(std::string_view)> isRef, StoredSnapshotChooser chooser) {
        m_isStoredRef = std::move(isRef);
        m_chooseStored = std::move(chooser);
    }

private:
    std::optional<std::filesystem::path> m_workDir;
    std::optional<std::filesystem::path> m_tempDir;  // removed again at the end
    std::function<bool(std::string_view)> m_isStoredRef = [](std::string_view) { return false; };
    StoredSnapshotChooser m_chooseStored;
};

}  // namespace cadrix
