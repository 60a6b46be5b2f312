// Extracts each archive given with the program's own reader, as a manager's
// choice of an archive does, into a numbered folder of its own below
// OUTPUT_FOLDER (0, 1, ...). The counterpart of mmap_extract in
// zip_extract.sh. Usage: archive_extract OUTPUT_FOLDER ARCHIVE...
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "import/archive_file.h"
#include "import/extract_questions.h"
#include "import/zip_extract.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: archive_extract OUTPUT_FOLDER ARCHIVE...\n";
        return 2;
    }
    cadrix::UnattendedQuestions questions;
    try {
        for (int i = 2; i < argc; ++i) {
            const cadrix::ArchiveFile archive = cadrix::ArchiveFile::Open(argv[i]);
            cadrix::ExtractCsvEntries(archive.Archive(), std::filesystem::path(argv[1]) / std::to_string(i - 2),
                                      questions);
        }
    } catch (const std::exception& e) {
        std::cerr << "archive_extract: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
