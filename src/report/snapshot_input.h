#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/file_io.h"
#include "export/report.h"
#include "import/archive_choice.h"
#include "views/comparison.h"

namespace cadrix {

// Chooses a stored snapshot ("@ID") into the side's working folder under the
// base folder, where an archive would have been extracted.
using StoredSnapshotChooser =
    std::function<ChoiceStatus(SnapshotChoice&, std::string_view ref, const std::filesystem::path& base)>;

// What a pair that looks wrong (an end older than the start, two clubs, one
// export twice) does: warnings on standard error, or an error that stops.
enum class PairFindings { Warnings, Errors };

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

    void SetPairFindings(PairFindings treatment) { m_pairFindings = treatment; }

private:
    std::optional<std::filesystem::path> m_workDir;
    PairFindings m_pairFindings = PairFindings::Warnings;
    std::optional<TempFolder> m_tempDir;  // removed again at the end
    std::function<bool(std::string_view)> m_isStoredRef = [](std::string_view) { return false; };
    StoredSnapshotChooser m_chooseStored;
};

}  // namespace cadrix
