#include "export/csv_report.h"

#include <fcntl.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "export/output_file.h"
#include "views/page_text.h"
#include "views/skills_page.h"
#include "views/summary.h"

namespace cadrix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kSeparator = ";";
constexpr std::string_view kLineEnd = "\r\n";

// The chosen folder, opened once: every page file is made in it by name.
struct CsvFolder {
    std::filesystem::path path;
    Fd fd;
    const ReadFiles* reads = nullptr;
};

class CsvFile {
public:
    CsvFile(const CsvFolder& folder, const std::string& name) : m_file(folder.fd, folder.path, name, folder.reads) {
        m_file.Write(kByteOrderMark);
    }

    // A field with a separator, a quote or a line break goes in quotes, its
    // quotes doubled.
    void Field(std::string_view text) {
        if (m_fieldsInRow++)
            m_file.Write(kSeparator);
        if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
            m_file.Write(text);
            return;
        }
        m_file.Write("\"");
        for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
            m_file.Write(text.substr(0, quote + 1));
            m_file.Write("\"");
            text.remove_prefix(quote + 1);
        }
        m_file.Write(text);
        m_file.Write("\"");
    }
    void EndRow() {
        m_file.Write(kLineEnd);
        m_fieldsInRow = 0;
    }
    void Row(const std::vector<std::string>& fields) {
        for (const auto& f : fields)
            Field(f);
        EndRow();
    }
    void Commit() { m_file.Commit(); }

private:
    OutputFile m_file;
    int m_fieldsInRow = 0;
};

// The caption lines above a grid as one row, one caption per column, so that
// a spreadsheet reads one header: a column under a date caption is named by
// the date and its own caption ("15.01.2026 Уровень").
void Captions(CsvFile& csv, const std::vector<HeaderRow>& rows) {
    if (rows.empty())
        return;
    std::size_t col = 0;
    for (const HeaderCell& cell : rows[0]) {
        for (int i = 0; i < cell.span; ++i, ++col) {
            const std::string& under = rows.size() > 1 ? rows[1][col].text : std::string();
            csv.Field(under.empty() ? cell.text : cell.text + " " + under);
        }
    }
    csv.EndRow();
}

void Totals(CsvFile& csv, const TotalsLineText& totals) {
    csv.Field(totals.caption);
    for (const auto& group : totals.groups) {
        for (const TotalsFigure& figure : group)
            csv.Field(figure.text);
    }
    csv.EndRow();
}

void WritePage(const Comparison& cmp, GridId id, const CsvFolder& folder) {
    CsvFile csv(folder, std::string(CsvFileName(id)));
    Captions(csv, CaptionsAbove(id, cmp.Result()));
    const TextTable& grid = cmp.Grid(id);
    const bool pictures = id == GridId::StringGrid2 || id == GridId::StringGrid_nat;
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c) {
            const auto number = pictures ? PictureNumber(cmp, id, c, r) : std::nullopt;
            csv.Field(number ? std::string_view(*number) : grid.Cell(c, r));
        }
        csv.EndRow();
    }
    if (const auto totals = TotalsBelow(id, cmp.Result()))
        Totals(csv, *totals);
    csv.Commit();
}

// The skills page after one pick: the chooser's line, then the grid.
void WriteChoice(const ChoiceRecord& choice, const CsvFolder& folder) {
    CsvFile csv(folder, "skills-" + std::to_string(choice.index) + ".csv");
    csv.Row({"Выбрать игрока:", choice.text});
    for (int r = 0; r < choice.skills.RowCount(); ++r)
        csv.Row(choice.skills.RowCells(r));
    csv.Commit();
}

void WriteSummary(const PeriodSummary& summary, const CsvFolder& folder) {
    CsvFile csv(folder, "summary.csv");
    for (const SummaryGroup& group : SummaryGroups(summary)) {
        if (group.items.empty()) {
            csv.Row({std::string(group.key), std::string(kSummaryNothing)});
            continue;
        }
        for (const SummaryItem& item : group.items) {
            csv.Field(group.key);
            for (const SummaryField& field : item.fields)
                csv.Field(field.text);
            csv.EndRow();
        }
    }
    csv.Commit();
}

// Creates the folder when missing and opens it; the folder itself may be a
// link, which the user chose.
CsvFolder OpenFolder(const std::filesystem::path& folder, const ReadFiles* reads) {
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    CsvFolder opened{folder, Fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), reads};
    if (!opened.fd.IsOpen())
        throw std::runtime_error("Cannot create folder \"" + folder.string() +
                                 "\": " + std::generic_category().message(ec ? ec.value() : errno));
    return opened;
}

}  // namespace

std::string_view CsvFileName(GridId grid) {
    switch (grid) {
    case GridId::StringGrid1: return "club.csv";
    case GridId::StringGrid2: return "infrastructure.csv";
    case GridId::StringGrid_nat: return "national.csv";
    case GridId::StringGrid_pay: return "contracts.csv";
    case GridId::StringGrid_pr: return "values.csv";
    case GridId::StringGrid_ru: return "real_level.csv";
    case GridId::StringGrid3: break;
    }
    return "skills.csv";
}

void WriteCsvReport(const ReportInput& input, const std::filesystem::path& folder, const ReadFiles* reads) {
    const Comparison& cmp = *input.comparison;
    const CsvFolder opened = OpenFolder(folder, reads);
    for (const GridInfo& grid : kGrids) {
        if (grid.id != GridId::StringGrid3)
            WritePage(cmp, grid.id, opened);
    }
    for (const ChoiceRecord& choice : input.choices)
        WriteChoice(choice, opened);
    WriteSummary(input.summary ? *input.summary : SummarisePeriod(cmp), opened);
}

}  // namespace cadrix
