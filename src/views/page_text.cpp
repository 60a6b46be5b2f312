#include "views/page_text.h"

#include "core/numbers.h"

namespace cadrix {

namespace {

constexpr int kStructureLevel = 1;  // the level column of a structure table

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
    static constexpr CellImage kStars[kNationalStatusCount] = {CellImage::StatusOutline, CellImage::StatusGrey,
                                                               CellImage::StatusGreen, CellImage::StatusGold};
    std::vector<TotalsFigure> figures;
    for (std::size_t i = 0; i < kNationalStatusCount; ++i)
        figures.push_back({CounterText(counts[i]), kStars[i], std::nullopt});
    return figures;
}

TotalsLineText Totals(std::string caption, const TotalsLine& line) {
    return {std::move(caption),
            {{{line.start, CellImage::None, std::nullopt}},
             {{line.end, CellImage::None, std::nullopt}},
             {{line.change, CellImage::None, line.shape}}}};
}

}  // namespace

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
        const Snapshot& snapshot = col == 1 ? comparison.StartSnapshot() : comparison.EndSnapshot();
        text = snapshot.structure.Cell(kStructureLevel, row + 1);
    } else if (grid == GridId::StringGrid_nat) {
        text = comparison.NatStatusOf(row)[col == 3 ? 0 : 1];
    }
    // A level that is no whole number shows as a blank strip: no number.
    const auto n = ParseWhole(text);
    return n ? WholeText(*n) : std::string();
}

}  // namespace cadrix
