#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "views/pages.h"

namespace cadrix {

namespace {

constexpr int kNotCalled = 0;  // counters: not called, extended list, youth team, main team
constexpr int kExtended = 1;
constexpr int kYouth = 2;
constexpr int kMain = 3;

// The counter a status code adds to, or -1 for a code that is not counted.
int CounterOf(std::string_view code) {
    if (code == period::kNotAvailable)
        return -1;
    const auto n = ParseWhole(code);
    if (!n)
        return -1;
    switch (*n) {
    case 0: return kNotCalled;
    case -1:
    case -2: return kExtended;
    case 2: return kYouth;
    case 1: return kMain;
    default: return -1;
    }
}

CellImage IconOf(std::string_view code) {
    const auto n = ParseWhole(code);
    if (!n)
        return CellImage::None;
    if (*n < 0)
        return CellImage::StatusGrey;
    switch (*n) {
    case 0: return CellImage::StatusOutline;
    case 1: return CellImage::StatusGold;
    case 2: return CellImage::StatusGreen;
    default: return CellImage::None;  // no icon for codes above 2
    }
}

constexpr Align kAlign[] = {Align::Left, Align::Center, Align::Right,  Align::Center,
                            Align::Left, Align::Right,  Align::Center, Align::Left};

}  // namespace

void FillNationalPage(const TextTable& total, TextTable& grid, std::vector<NatStatus>& status,
                      NationalCounters& counters) {
    using namespace period;
    grid.SetRowCount(1);
    status.resize(1);
    for (int a = 1; a < total.RowCount(); ++a) {
        const int row = a - 1;
        if (a > 1) {
            grid.AddRow();
            status.emplace_back();
        }
        grid.SetCell(0, row, total.Cell(kName, a));
        grid.SetCell(1, row, total.Cell(kPosition, a));
        grid.SetCell(2, row, total.Cell(kAgeStart, a));
        grid.SetCell(4, row, total.Cell(kCitizenshipStart, a));
        grid.SetCell(5, row, total.Cell(kAgeEnd, a));
        grid.SetCell(7, row, total.Cell(kCitizenshipEnd, a));
        status[static_cast<std::size_t>(row)] = {std::string(total.Cell(kNationalStatusStart, a)),
                                                 std::string(total.Cell(kNationalStatusEnd, a))};
        if (total.Cell(kNationalStatusStart, a) == kNotAvailable)
            grid.SetCell(3, row, kNotAvailable);
        if (total.Cell(kNationalStatusEnd, a) == kNotAvailable)
            grid.SetCell(6, row, kNotAvailable);
    }
    std::array<int, 4> start{};
    std::array<int, 4> end{};
    for (const auto& [startCode, endCode] : status) {
        if (const int c = CounterOf(startCode); c >= 0)
            ++start[static_cast<std::size_t>(c)];
        if (const int c = CounterOf(endCode); c >= 0)
            ++end[static_cast<std::size_t>(c)];
    }
    for (std::size_t i = 0; i < 4; ++i) {
        counters.start[i] = "(" + std::to_string(start[i]) + ")";
        counters.end[i] = "(" + std::to_string(end[i]) + ")";
    }
}

CellStyle DrawNationalCell(const TextTable& grid, const std::vector<NatStatus>& status, int col, int row) {
    CellStyle style;
    if (grid.Cell(col, row) == period::kNotAvailable)
        style.text = kDimTextColour;
    if (col >= 0 && col < 8)
        style.align = kAlign[col];
    if ((col == 3 || col == 6) && row >= 0 && static_cast<std::size_t>(row) < status.size()) {
        style.image = IconOf(status[static_cast<std::size_t>(row)][col == 3 ? 0 : 1]);
        if (style.image != CellImage::None) {
            style.imageX = col == 3 ? 11 : 10;
            style.imageY = 1;
        }
    }
    return style;
}

}  // namespace cadrix
