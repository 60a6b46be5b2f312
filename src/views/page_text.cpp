#include "views/page_text.h"

#include "core/numbers.h"
#include "views/pages.h"

namespace cadrix {

namespace {

constexpr std::string_view kChooserCaption = "Выбрать игрока:";

// Two caption lines: `first` the captions of the first line, a date caption
// spanning the columns of the captions under it in `under`.
struct CaptionColumn {
    std::string_view caption;
    std::vector<std::string_view> under;  // none: a caption of one column
};

std::vector<HeaderRow> TwoLines(const std::vector<CaptionColumn>& columns) {
    HeaderRow first, second;
    for (const auto& column : columns) {
        if (column.under.empty()) {
            first.push_back({std::string(column.caption), 1});
            second.push_back({"", 1});
            continue;
        }
        first.push_back({std::string(column.caption), static_cast<int>(column.under.size())});
        for (std::string_view caption : column.under)
            second.push_back({std::string(caption), 1});
    }
    return {first, second};
}

std::vector<TotalsFigure> Counters(const std::array<int, kNationalStatusCount>& counts) {
    std::vector<TotalsFigure> figures;
    for (const NationalStatusLook& look : kNationalStatuses)
        figures.push_back({CounterText(counts[static_cast<std::size_t>(look.status)]), look.picture, std::nullopt});
    return figures;
}

TotalsLineText Totals(std::string caption, const TotalsLine& line) {
    return {std::move(caption),
            {{{line.start, CellImage::None, std::nullopt}},
             {{line.end, CellImage::None, std::nullopt}},
             {{line.change, CellImage::None, line.shape}}}};
}

// The columns the figures of a totals line stand under, group by group, as
// the window places them.
std::vector<std::size_t> TotalsColumns(GridId grid) {
    switch (grid) {
    case GridId::StringGrid_nat: return {national_grid::kStatusStart, national_grid::kStatusEnd};
    case GridId::StringGrid_pay:
        return {contracts_grid::kSalaryStart, contracts_grid::kSalaryEnd, contracts_grid::kChange};
    case GridId::StringGrid_pr: return {values_grid::kValueStart, values_grid::kValueEnd, values_grid::kChange};
    default: return {};
    }
}

}  // namespace

std::vector<TextLine> LinesBelow(GridId grid, const ComparisonResult& result) {
    const auto totals = TotalsBelow(grid, result);
    if (!totals)
        return {};
    const auto cols = static_cast<std::size_t>(InfoOf(grid).cols);
    const std::vector<std::size_t> at = TotalsColumns(grid);
    TextLine first(cols);
    first[0] = totals->caption;
    if (grid != GridId::StringGrid_nat) {
        for (std::size_t g = 0; g < totals->groups.size() && g < at.size(); ++g)
            first[at[g]] = totals->groups[g].front().text;
        return {first};
    }
    std::vector<TextLine> lines = {first};
    for (const NationalStatusLook& look : kNationalStatuses) {
        const auto status = static_cast<std::size_t>(look.status);
        TextLine line(cols);
        line[0] = look.Name();
        line[at[0]] = std::to_string(result.national.start[status]);
        line[at[1]] = std::to_string(result.national.end[status]);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> OneCaptionLine(const std::vector<HeaderRow>& rows) {
    std::vector<std::string> line;
    if (rows.empty())
        return line;
    std::size_t col = 0;
    for (const HeaderCell& cell : rows[0]) {
        for (int i = 0; i < cell.span; ++i, ++col) {
            const std::string& under = rows.size() > 1 ? rows[1][col].text : std::string();
            line.push_back(under.empty() ? cell.text : cell.text + " " + under);
        }
    }
    return line;
}

std::vector<HeaderRow> CaptionsAbove(GridId grid, const ComparisonResult& result) {
    const std::string_view s = result.startDate;
    const std::string_view e = result.endDate;
    switch (grid) {
    case GridId::StringGrid2:
        return TwoLines(
            {{"Строение", {}}, {s, {"Уровень", "Разруш., %"}}, {e, {"Уровень", "Разруш., %"}}, {"Прогресс", {}}});
    case GridId::StringGrid_nat:
        return TwoLines({{"Игрок", {}},
                         {"Поз.", {}},
                         {s, {"Возр.", "Стат.", "Гражданство"}},
                         {e, {"Возр.", "Стат.", "Гражданство"}}});
    case GridId::StringGrid_pay:
        return TwoLines({{"Игрок", {}},
                         {"Поз.", {}},
                         {s, {"Зарплата", "Контракт"}},
                         {e, {"Зарплата", "Контракт"}},
                         {"Разница", {}}});
    case GridId::StringGrid_ru:
        return TwoLines({{"Игрок", {}},
                         {"Тал.", {}},
                         {"Поз.", {}},
                         {s, {"Возраст", "РУ"}},
                         {e, {"Возраст", "РУ"}},
                         {"Разница", {}}});
    default: return {};
    }
}

std::optional<TotalsLineText> TotalsBelow(GridId grid, const ComparisonResult& result) {
    switch (grid) {
    case GridId::StringGrid_nat:
        return TotalsLineText{"Всего по статусам:", {Counters(result.national.start), Counters(result.national.end)}};
    case GridId::StringGrid_pay: return Totals("Общая зарплата в ИД/Разница:", result.payroll);
    case GridId::StringGrid_pr: return Totals("Общая стоимость игроков:", result.values);
    default: return std::nullopt;
    }
}

std::optional<std::string> PictureNumber(const Comparison& comparison, GridId grid, int col, int row) {
    if (comparison.DrawCell(grid, col, row).image == CellImage::None)
        return std::nullopt;
    std::string_view text;
    if (grid == GridId::StringGrid2) {
        const bool start = col == infrastructure_grid::kLevelStart;
        const Snapshot& snapshot = start ? comparison.StartSnapshot() : comparison.EndSnapshot();
        text = snapshot.structure.Cell(structure::kLevel, row + 1);
    } else if (grid == GridId::StringGrid_nat) {
        text = comparison.NatStatusOf(row)[col == national_grid::kStatusStart ? 0 : 1];
    }
    // A level that is no whole number shows as a blank strip: no number.
    const auto n = ParseWhole(text);
    return n ? WholeText(*n) : std::string();
}

std::vector<TextLine> PageText::Lines() const {
    std::vector<TextLine> lines = header;
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), footer.begin(), footer.end());
    return lines;
}

std::string CellText(const Comparison& comparison, GridId grid, int col, int row) {
    std::string text(comparison.Grid(grid).Cell(col, row));
    if (!text.empty())
        return text;
    const CellImage picture = comparison.DrawCell(grid, col, row).image;
    if (picture == CellImage::None)
        return text;
    if (const auto status = StatusPictured(picture))
        return std::string(LookOf(*status).Name());
    return PictureNumber(comparison, grid, col, row).value_or(text);  // a star strip: the level
}

TextLine RowText(const Comparison& comparison, GridId grid, int row) {
    TextLine line;
    for (int col = 0; col < comparison.Grid(grid).ColCount(); ++col)
        line.push_back(CellText(comparison, grid, col, row));
    return line;
}

PageText PageTextOf(const Comparison& comparison, GridId grid) {
    PageText page;
    const GridInfo& info = InfoOf(grid);
    if (grid == GridId::StringGrid3 && !comparison.ComboBox3Text().empty()) {
        TextLine chooser(static_cast<std::size_t>(info.cols));
        chooser[0] = kChooserCaption;
        chooser[1] = comparison.ComboBox3Text();
        page.header.push_back(std::move(chooser));
    }
    for (const HeaderRow& row : CaptionsAbove(grid, comparison.Result())) {
        TextLine line;
        for (const HeaderCell& cell : row) {
            line.push_back(cell.text);
            line.resize(line.size() + static_cast<std::size_t>(cell.span - 1));
        }
        page.header.push_back(std::move(line));
    }
    for (int row = 0; row < comparison.Grid(grid).RowCount(); ++row)
        (row < info.fixedRows ? page.header : page.rows).push_back(RowText(comparison, grid, row));
    page.footer = LinesBelow(grid, comparison.Result());
    return page;
}

std::vector<TextLine> DetailPanelLines(const DetailPanel& panel) {
    std::vector<TextLine> lines;
    for (std::size_t row = 0; row < DetailPanel::kRows; ++row)
        lines.push_back({DetailPanel::Captions()[row], panel.values[row]});
    return lines;
}

std::string TabSeparated(const std::vector<TextLine>& lines) {
    std::string out;
    for (const TextLine& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i > 0)
                out += '\t';
            for (const char c : line[i])
                out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
        }
        out += '\n';
    }
    return out;
}

}  // namespace cadrix
