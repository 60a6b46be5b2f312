// cadrix-report: the comparison of two statistics exports, printed as text or
// JSON or exported as HTML or CSV, computed by the same core as the window.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/report.h"
#include "export/report_output.h"
#include "history/history.h"
#include "report/history_command.h"
#include "report/snapshot_input.h"
#include "views/palette.h"
#include "views/summary.h"

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "usage: cadrix-report [--work-dir DIR] [--db FILE] [--format text|json|html|csv] [--output FILE|DIR]\n"
    "                     [--summary] [--palette designed|colourblind] [--tables] [--choose N|all]... START END\n"
    "  START, END: two statistics archives (.zip), two folders of extracted CSV files,\n"
    "              or stored snapshots @ID of the history FILE in place of archives\n"
    "  --output: the file to write instead of standard output; for csv the folder (needed)\n"
    "       cadrix-report history add|list|remove|player|club ... (cadrix-report history --help)\n";

struct Options {
    bool help = false;  // -h or --help: print the usage and do nothing else
    std::optional<std::filesystem::path> workDir;
    std::optional<std::filesystem::path> db;
    cadrix::ReportFormat format = cadrix::ReportFormat::Text;
    std::optional<std::filesystem::path> output;
    bool summary = false;
    cadrix::PaletteChoice palette = cadrix::PaletteChoice::Designed;
    bool tables = false;
    std::vector<std::string> choose;
    std::vector<std::filesystem::path> inputs;
};

std::optional<std::string> Any(const std::string& v) { return v; }
std::optional<std::string> NonEmpty(const std::string& v) { return v.empty() ? std::nullopt : std::optional(v); }

// Reads the value after the option at argv[i] through `parse` into `target`,
// moving `i` onto it; false when the value is missing or `parse` refuses it.
template <typename Target, typename Parse>
bool TakeValue(int argc, char** argv, int& i, Target& target, Parse parse) {
    if (i + 1 >= argc)
        return false;
    const auto parsed = parse(std::string(argv[++i]));
    if (parsed)
        target = *parsed;
    return parsed.has_value();
}

std::optional<Options> ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto take = [&](auto& target, auto parse) { return TakeValue(argc, argv, i, target, parse); };
        std::string chosen;
        if (a == "--work-dir") {
            if (!take(o.workDir, Any))
                return std::nullopt;
        } else if (a == "--db") {
            if (!take(o.db, Any))
                return std::nullopt;
        } else if (a == "--format") {
            if (!take(o.format, cadrix::ReportFormatNamed))
                return std::nullopt;
        } else if (a == "--output") {
            if (!take(o.output, NonEmpty))
                return std::nullopt;
        } else if (a == "--summary") {
            o.summary = true;
        } else if (a == "--palette") {
            if (!take(o.palette, cadrix::PaletteNamed))
                return std::nullopt;
        } else if (a == "--tables") {
            o.tables = true;
        } else if (a == "--choose") {
            if (!take(chosen, Any))
                return std::nullopt;
            o.choose.push_back(chosen);
        } else if (a == "-h" || a == "--help") {
            Options help;
            help.help = true;
            return help;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return std::nullopt;
        } else {
            o.inputs.emplace_back(a);
        }
    }
    if (o.inputs.size() != 2 || (cadrix::NeedsOutput(o.format) && !o.output))
        return std::nullopt;
    return o;
}

// The chooser indexes that the --choose options name, in order.
std::optional<std::vector<int>> ChoiceIndexes(const std::vector<std::string>& choose, std::size_t itemCount) {
    std::vector<int> indexes;
    for (const auto& c : choose) {
        if (c == "all") {
            for (std::size_t i = 0; i < itemCount; ++i)
                indexes.push_back(static_cast<int>(i));
            continue;
        }
        std::size_t used = 0;
        int n = -1;
        try {
            n = std::stoi(c, &used);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        if (used != c.size() || n < 0 || static_cast<std::size_t>(n) >= itemCount)
            return std::nullopt;
        indexes.push_back(n);
    }
    return indexes;
}

// What the report reads, so that --output never replaces it: the inputs that
// are files or folders, and the history database with its journal files.
cadrix::ReadFiles ReadFilesOf(const Options& options) {
    cadrix::ReadFiles reads;
    for (const auto& input : options.inputs) {
        if (!cadrix::IsStoredSnapshotRef(input.string()))
            reads.Add(input);
    }
    const std::filesystem::path db = options.db ? *options.db : cadrix::DefaultHistoryFile();
    for (const char* suffix : {"", "-wal", "-shm"})
        reads.Add(db.string() + suffix);
    return reads;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace cadrix;
    if (IsHistoryCommand(argc, argv))
        return RunHistoryCommand(argc, argv);
    const auto options = ParseArgs(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return kUsageError;
    }
    if (options->help) {
        std::cout << kUsage;
        return 0;
    }
    try {
        Comparison comparison;
        // The report shows tables and pages, never the files' lines.
        comparison.SetKeepLineLists(false);
        ReportInput input;
        input.comparison = &comparison;
        input.withTables = options->tables;
        input.palette = options->palette;

        SnapshotInputs inputs(options->workDir);
        inputs.SetStoredSnapshots(IsStoredSnapshotRef, StoredSnapshotsOf(options->db));
        if (!inputs.Prepare(options->inputs[0], options->inputs[1], comparison, input.archives))
            return kUsageError;
        const auto indexes = ChoiceIndexes(options->choose, comparison.ComboBox3().size());
        if (!indexes) {
            std::cerr << "cadrix-report: no such chooser item; the chooser holds " << comparison.ComboBox3().size()
                      << " items\n";
            return kUsageError;
        }
        for (int index : *indexes) {
            comparison.ChoosePlayer(index);
            ChoiceRecord record;
            record.index = index;
            record.text = comparison.ComboBox3Text();
            record.skills = comparison.Grid(GridId::StringGrid3);
            record.panel = comparison.ExInfo();
            input.choices.push_back(std::move(record));
        }
        PeriodSummary summary;
        if (options->summary) {
            summary = SummarisePeriod(comparison);
            input.summary = &summary;
        }
        const ReadFiles reads = ReadFilesOf(*options);
        WriteReport(input, options->format, options->output, &reads);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "cadrix-report: " << e.what() << "\n";
        return kUsageError;
    }
}
