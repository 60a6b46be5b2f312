#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "views/comparison.h"

namespace cadrix {

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
                 std::map<std::string, std::string>& labels);

private:
    std::optional<std::filesystem::path> m_workDir;
    std::optional<std::filesystem::path> m_tempDir;  // removed again at the end
};

}  // namespace cadrix
