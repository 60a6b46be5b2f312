#pragma once

#include <filesystem>

#include "import/extract_questions.h"
#include "import/zip_archive.h"

namespace cadrix {

// Writes every entry of `archive` matching "*.csv" into `folder`, straight,
// with no temporary file. `root` is the folder from which `folder` is
// reached: it may be a symbolic link itself (the user chose it), but the
// folders from it down to `folder` are created and entered without following
// one, as the entries' folders are; empty, `folder` is its own root. Failures
// of single entries are settled through the questions; only a failed read of
// the archive throws (FileReadError).
void ExtractCsvEntries(const ZipArchive& archive, const std::filesystem::path& folder, ExtractQuestions& questions,
                       const std::filesystem::path& root = {});

}  // namespace cadrix
