// cadrix-report: the comparison of two statistics exports, printed as text or
// JSON or exported as HTML, CSV, BBCode or Markdown, computed by the same core
// as the window.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
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
constexpr const char* kVersion = CADRIX_VERSION;

const char* const kUsage =
    "usage: cadrix-report [--version] [--work-dir DIR] [--db FILE]\n"
    "                     [--format text|json|html|csv|bbcode|markdown] [--output FILE|DIR] [--summary]\n"
    "                     [--palette designed|colourblind] [--tables] [--choose N|all]... [--strict] START END\n"
    "  START, END: two statistics archives (.zip), two folders of extracted CSV files,\n"
    "              or stored snapshots @ID of the history FILE in place of archives;\n"
    "              @last and @prev: the newest stored snapshot of the newest one's club and the one before\n"
    "  --strict: an end older than the start, two clubs or one export twice is an error, not a warning\n"
    "  --output: the file to write instead of standard output; for csv the folder (needed)\n"
    "       cadrix-report history add|list|remove|player|club ... (cadrix-report history --help)\n";

struct Options {
    bool help = false;     // -h or --help: print the usage and do nothing else
    bool version = false;  // -v or --version: print the version and do nothing else
    std::optional<std::filesystem::path> workDir;
    std::optional<std::filesystem::path> db;
    cadrix::ReportFormat format = cadrix::ReportFormat::Text;
    std::optional<std::filesystem::path> output;
    bool summary = false;
    cadrix::PaletteChoice palette = cadrix::PaletteChoice::Designed;
    bool tables = false;
    bool strict = false;
    std::vector<std::string> choose;
    std::vector<std::filesystem::path> inputs;
};

// The command line as options, or the reason it is not understood.
struct ParsedArgs {
    std::optional<Options> options;
    std::string error;  // names the option or operand at fault
};

ParsedArgs Misuse(std::string error) { return {std::nullopt, std::move(error)}; }

ParsedArgs ParseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        std::optional<std::string> v;
        auto takeValue = [&] {
            if (i + 1 < argc)
                v = argv[++i];
            return v.has_value();
        };
        if (a == "--work-dir" || a == "--db" || a == "--format" || a == "--output" || a == "--palette" ||
            a == "--choose") {
            if (!takeValue())
                return Misuse("missing value for " + a);
        }
        if (a == "--work-dir") {
            o.workDir = *v;
        } else if (a == "--db") {
            o.db = *v;
        } else if (a == "--format") {
            const auto format = cadrix::ReportFormatNamed(*v);
            if (!format)
                return Misuse("unknown format " + *v);
            o.format = *format;
        } else if (a == "--output") {
            if (v->empty())
                return Misuse("empty value for --output");
            o.output = *v;
        } else if (a == "--summary") {
            o.summary = true;
        } else if (a == "--palette") {
            const auto palette = cadrix::PaletteNamed(*v);
            if (!palette)
                return Misuse("unknown palette " + *v);
            o.palette = *palette;
        } else if (a == "--tables") {
            o.tables = true;
        } else if (a == "--strict") {
            o.strict = true;
        } else if (a == "--choose") {
            o.choose.push_back(*v);
        } else if (a == "-h" || a == "--help" || a == "-v" || a == "--version") {
            Options only;
            only.help = a == "-h" || a == "--help";
            only.version = !only.help;
            return {only, {}};
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return Misuse("unknown option " + a);
        } else {
            o.inputs.emplace_back(a);
        }
    }
    if (o.inputs.size() != 2)
        return Misuse("two inputs are needed, START and END; " + std::to_string(o.inputs.size()) + " given");
    if (cadrix::NeedsOutput(o.format) && !o.output)
        return Misuse("this format needs --output");
    return {o, {}};
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

// Loads the two inputs into the comparison and their archive rows into the
// report; false once the reason is on standard error. The temporary working
// folders stay with `inputs` until the run ends.
bool Prepare(const Options& options, cadrix::SnapshotInputs& inputs, cadrix::Comparison& comparison,
             cadrix::ReportInput& input) {
    using namespace cadrix;
    inputs.SetStoredSnapshots(IsStoredSnapshotRef, StoredSnapshotsOf(options.db));
    inputs.SetPairFindings(options.strict ? PairFindings::Errors : PairFindings::Warnings);
    return inputs.Prepare(options.inputs[0], options.inputs[1], comparison, input.archives);
}

// The skills page after each pick that --choose names, in order; false once
// the reason is on standard error.
bool Choose(const std::vector<std::string>& choose, cadrix::Comparison& comparison, cadrix::ReportInput& input) {
    const auto indexes = ChoiceIndexes(choose, comparison.ComboBox3().size());
    if (!indexes) {
        std::cerr << "cadrix-report: no such chooser item; the chooser holds " << comparison.ComboBox3().size()
                  << " items\n";
        return false;
    }
    for (int index : *indexes) {
        comparison.ChoosePlayer(index);
        cadrix::ChoiceRecord record;
        record.index = index;
        record.text = comparison.ComboBox3Text();
        record.skills = comparison.Grid(cadrix::GridId::StringGrid3);
        record.panel = comparison.ExInfo();
        input.choices.push_back(std::move(record));
    }
    return true;
}

// The report, with the period summary when --summary asks for it, to
// --output or standard output; `doing` says so from when the writing starts.
void Write(const Options& options, cadrix::ReportInput& input, std::string& doing) {
    using namespace cadrix;
    PeriodSummary summary;
    if (options.summary) {
        summary = SummarisePeriod(*input.comparison);
        input.summary = &summary;
    }
    const ReadFiles reads = ReadFilesOf(options);
    doing = "writing " + (options.output ? options.output->string() : std::string("standard output"));
    WriteReport(input, options.format, options.output, &reads);
}

// The comparison of the two inputs, reported; the exit status.
int Report(const Options& options) {
    using namespace cadrix;
    // What the run is doing, so that running out of memory names its files.
    std::string doing = "comparing " + options.inputs[0].string() + " and " + options.inputs[1].string();
    try {
        Comparison comparison;
        // The report shows tables and pages, never the files' lines.
        comparison.SetKeepLineLists(false);
        ReportInput input;
        input.comparison = &comparison;
        input.withTables = options.tables;
        input.palette = options.palette;
        SnapshotInputs inputs(options.workDir);
        if (!Prepare(options, inputs, comparison, input) || !Choose(options.choose, comparison, input))
            return kUsageError;
        Write(options, input, doing);
        return 0;
    } catch (const std::bad_alloc&) {
        std::cerr << "cadrix-report: out of memory while " << doing << "\n";
        return kUsageError;
    } catch (const std::exception& e) {
        std::cerr << "cadrix-report: " << e.what() << "\n";
        return kUsageError;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (cadrix::IsHistoryCommand(argc, argv))
        return cadrix::RunHistoryCommand(argc, argv);
    const auto [options, misuse] = ParseArgs(argc, argv);
    if (!options) {
        std::cerr << "cadrix-report: " << misuse << "\n" << kUsage;
        return kUsageError;
    }
    if (options->help) {
        std::cout << kUsage;
        return 0;
    }
    if (options->version) {
        std::cout << "cadrix-report " << kVersion << "\n";
        return 0;
    }
    return Report(*options);
}
