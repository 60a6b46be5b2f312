#include "views/page_text.h"

#include <array>
#include <string_view>

namespace cadrix {

namespace {

// What the national teams page's legend calls each status, in the order of
// NationalStatus, without the legend's leading dash.
constexpr std::array<std::string_view, kNationalStatusCount> kStatusNames = {"не вызван", "в расширенном списке",
                                                                             "молодежная сборная", "основная сборная"};

// What a picture in a cell says, or nothing.
std::string_view PictureText(CellImage image) {
    switch (image) {
    case CellImage::Stars0: return "0";
    case CellImage::Stars1: return "1";
    case CellImage::Stars2: return "2";
    case CellImage::Stars3: return "3";
    case CellImage::Stars4: return "4";
    case CellImage::Stars5: return "5";
    case CellImage::StatusOutline: return kStatusNames[0];
    case CellImage::StatusGrey: return kStatusNames[1];
    case CellImage::StatusGreen: return kStatusNames[2];
    case CellImage::StatusGold: return kStatusNames[3];
    case CellImage::StarsBlank:
    case CellImage::None: break;
    }
    return {};
}

// The two caption lines laid over a player or building grid, where the
// captions are not grid cells: the first with the column captions and the
// two dates over their columns, the second with the captions under the dates.
std::vector<TextLine> CaptionsAbove(GridId grid, const ComparisonResult& result) {
    const std::string& s = result.startDate;
    const std::string& e = result.endDate;
    switch (grid) {
    case GridId::StringGrid2:
        return {{"Строение", s, "", e, "", "Прогресс"}, {"", "Уровень", "Разруш., %", "Уровень", "Разруш., %", ""}};
    case GridId::StringGrid_nat:
        return {{"Игрок", "Поз.", s, "", "", e, "", ""},
                {"", "", "Возр.", "Стат.", "Гражданство", "Возр.", "Стат.", "Гражданство"}};
    case GridId::StringGrid_pay:
        return {{"Игрок", "Поз.", s, "", e, "", "Разница"},
                {"", "", "Зарплата", "Контракт", "Зарплата", "Контракт", ""}};
    case GridId::StringGrid_ru:
        return {{"Игрок", "Тал.", "Поз.", s, "", e, "", "Разница"}, {"", "", "", "Возраст", "РУ", "Возраст", "РУ", ""}};
    case GridId::StringGrid1:
    case GridId::StringGrid_pr:
    case GridId::StringGrid3: break;
    }
    return {};
}

// The lines under a grid: the status counts under the status columns, the
// totals under the columns they sum. The counts are plain numbers, not the
// page's "(n)", which a spreadsheet would read as a negative number.
std::vector<TextLine> LinesBelow(GridId grid, const ComparisonResult& result) {
    switch (grid) {
    case GridId::StringGrid_nat: {
        std::vector<TextLine> lines = {{"Всего по статусам:", "", "", "", "", "", "", ""}};
        for (std::size_t i = 0; i < kNationalStatusCount; ++i)
            lines.push_back({std::string(kStatusNames[i]), "", "", std::to_string(result.national.start[i]), "", "",
                             std::to_string(result.national.end[i]), ""});
        return lines;
    }
    case GridId::StringGrid_pay: {
        const TotalsLine& t = result.payroll;
        return {{"Общая зарплата в ИД/Разница:", "", t.start, "", t.end, "", t.change}};
    }
    case GridId::StringGrid_pr: {
        const TotalsLine& t = result.values;
        return {{"Общая стоимость игроков:", "", t.start, t.end, t.change}};
    }
    case GridId::StringGrid1:
    case GridId::StringGrid2:
    case GridId::StringGrid_ru:
    case GridId::StringGrid3: break;
    }
    return {};
}

}  // namespace

std::vector<TextLine> PageText::Lines() const {
    std::vector<TextLine> lines = header;
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), footer.begin(), footer.end());
    return lines;
}

std::string CellText(const Comparison& comparison, GridId grid, int col, int row) {
    std::string text(comparison.Grid(grid).Cell(col, row));
    if (text.empty())
        text = PictureText(comparison.DrawCell(grid, col, row).image);
    return text;
}

TextLine RowText(const Comparison& comparison, GridId grid, int row) {
    TextLine line;
    for (int col = 0; col < comparison.Grid(grid).ColCount(); ++col)
        line.push_back(CellText(comparison, grid, col, row));
    return line;
}

PageText PageTextOf(const Comparison& comparison, GridId grid) {
    PageText page;
    const ComparisonResult& result = comparison.Result();
    const GridInfo& info = InfoOf(grid);
    // The skills page names its player above the grid, in the chooser.
    if (grid == GridId::StringGrid3 && !comparison.ComboBox3Text().empty()) {
        TextLine chosen(static_cast<std::size_t>(info.cols));
        chosen[0] = comparison.ComboBox3Text();
        page.header.push_back(chosen);
    }
    for (TextLine& line : CaptionsAbove(grid, result))
        page.header.push_back(std::move(line));
    const int rows = comparison.Grid(grid).RowCount();
    for (int row = 0; row < rows; ++row)
        (row < info.fixedRows ? page.header : page.rows).push_back(RowText(comparison, grid, row));
    page.footer = LinesBelow(grid, result);
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
