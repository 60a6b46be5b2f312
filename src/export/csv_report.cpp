#include "export/csv_report.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <iterator>
#include <optional>
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

}  // namespace

// A field with a separator, a quote or a line break goes in quotes, its
// quotes doubled.
void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        out += text.substr(0, quote + 1);
        out += '"';
        text.remove_prefix(quote + 1);
    }
    out += text;
    out += '"';
}

std::string CsvText(const std::vector<std::vector<std::string>>& rows) {
    std::string out(kByteOrderMark);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i)
                out += kSeparator;
            AppendCsvField(out, CsvCell(row[i]));
        }
        out += kLineEnd;
    }
    return out;
}

namespace {

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

    void Field(std::string_view shown) {
        if (m_fieldsInRow++)
            m_file.Write(kSeparator);
        m_field.clear();
        AppendCsvField(m_field, CsvCell(shown));
        m_file.Write(m_field);
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
    std::string m_field;
};

void WritePage(const Comparison& cmp, GridId id, const CsvFolder& folder) {
    CsvFile csv(folder, std::string(CsvFileName(id)));
    if (const auto captions = CaptionsAbove(id, cmp.Result()); !captions.empty())
        csv.Row(OneCaptionLine(captions));
    const TextTable& grid = cmp.Grid(id);
    const bool pictures = id == GridId::StringGrid2 || id == GridId::StringGrid_nat;
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c) {
            const auto number = pictures ? PictureNumber(cmp, id, c, r) : std::nullopt;
            csv.Field(number ? std::string_view(*number) : grid.Cell(c, r));
        }
        csv.EndRow();
    }
    for (const TextLine& line : LinesBelow(id, cmp.Result()))
        csv.Row(line);
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

// The summary's columns: the group's caption, then SummaryColumn's.
constexpr std::string_view kSummaryHeader[] = {"Раздел", "Игрок", "Позиция", "Было", "Стало", "Изменение"};
constexpr std::size_t kSummaryColumns = std::size(kSummaryHeader) - 1;
static_assert(kSummaryColumns == kSummaryColumnCount);

// One row per item under the header, its group named by its caption; an
// empty group says "нет" in the first column after it.
void WriteSummary(const PeriodSummary& summary, const CsvFolder& folder) {
    CsvFile csv(folder, "summary.csv");
    for (std::string_view caption : kSummaryHeader)
        csv.Field(caption);
    csv.EndRow();
    for (const SummaryGroup& group : SummaryGroups(summary)) {
        if (group.items.empty()) {
            csv.Row({std::string(group.caption), std::string(kSummaryNothing), "", "", "", ""});
            continue;
        }
        for (const SummaryItem& item : group.items) {
            std::array<std::string_view, kSummaryColumns> cells{};
            for (const SummaryField& field : item.fields)
                cells[static_cast<std::size_t>(field.column)] = field.text;
            csv.Field(group.caption);
            for (const std::string_view cell : cells)
                csv.Field(cell);
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

std::optional<std::string> SpreadsheetNumber(std::string_view text) {
    const auto digitsAt = [&](std::size_t from, std::size_t count) {
        return from + count <= text.size() &&
               std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                           text.begin() + static_cast<std::ptrdiff_t>(from + count),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    std::size_t i = sign;
    while (digitsAt(i, 1))
        ++i;
    const std::size_t lead = i - sign;
    if (lead == 0)
        return std::nullopt;
    std::string number(text.substr(0, i));
    // Groups of three points apart, after a lead of at most three digits.
    while (lead <= 3 && i < text.size() && text[i] == '.' && digitsAt(i + 1, 3) && !digitsAt(i + 4, 1)) {
        number.append(text.substr(i + 1, 3));
        i += 4;
    }
    if (i < text.size() && text[i] == ',' && digitsAt(i + 1, 1)) {
        const std::size_t from = i;
        for (++i; digitsAt(i, 1); ++i) {
        }
        number.append(text.substr(from, i - from));
    }
    if (i != text.size())
        return std::nullopt;
    return number;
}

std::string CsvCell(std::string_view text) {
    if (auto number = SpreadsheetNumber(text))
        return *number;
    if (text == "-" || text.empty() || std::string_view("=+-@\t\r").find(text[0]) == std::string_view::npos)
        return std::string(text);
    return "'" + std::string(text);
}

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
