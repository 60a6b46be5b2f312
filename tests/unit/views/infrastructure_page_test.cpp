#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/pages.h"

namespace cadrix {
namespace {

const char* const kBuildings[] = {"Стадион",           "Спортивная База", "Клубный центр", "Тренировочные поля",
                                  "Медицинский центр", "Магазин",         "ДЮСШ"};

// Structure tables of 8 rows: the stadium with `capacity`, then six buildings at `level`.
TextTable Structure(const std::string& capacity, const std::vector<std::string>& levels,
                    const std::string& wear = "10,50") {
    TextTable t(3, 8);
    for (int p = 1; p <= 7; ++p) {
        t.SetCell(0, p, kBuildings[p - 1]);
        t.SetCell(1, p, p == 1 ? capacity : levels[static_cast<std::size_t>(p - 2)]);
        t.SetCell(2, p, wear);
    }
    return t;
}

TEST(InfrastructurePage, CapacityIsGroupedWithSeatsAndItsProgress) {
    const TextTable start = Structure("25000", {"1", "1", "1", "1", "1", "1"});
    const TextTable end = Structure("27500", {"1", "1", "1", "1", "1", "1"}, "3,00");
    TextTable grid(6, 7);
    FillInfrastructurePage(start, end, grid);
    EXPECT_EQ(grid.Cell(1, 0), "25.000 мест");
    EXPECT_EQ(grid.Cell(3, 0), "27.500 мест");
    EXPECT_EQ(grid.Cell(5, 0), "2.500");
    EXPECT_EQ(DrawInfrastructureCell(grid, start, end, 5, 0).background, Background::Favourable);
    // Names from the start table, wear copied and never compared.
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(grid.Cell(0, k), kBuildings[k]);
        EXPECT_EQ(grid.Cell(2, k), "10,50");
        EXPECT_EQ(grid.Cell(4, k), "3,00");
    }
    // The level cells of the buildings hold no text: the stars show the level.
    for (int k = 1; k < 7; ++k) {
        EXPECT_EQ(grid.Cell(1, k), "") << k;
        EXPECT_EQ(grid.Cell(3, k), "") << k;
    }
}

TEST(InfrastructurePage, EmptyCapacityGivesOnlyTheWord) {
    const TextTable start = Structure("", {"0", "0", "0", "0", "0", "0"});
    TextTable grid(6, 7);
    FillInfrastructurePage(start, start, grid);
    EXPECT_EQ(grid.Cell(1, 0), " мест");
    EXPECT_EQ(grid.Cell(5, 0), "");
}

TEST(InfrastructurePage, LevelsGiveStarsAndProgress) {
    struct Case {
        std::string start, end, progress;
        Background bg;
        CellImage startStars, endStars;
    };
    const std::vector<Case> cases = {
        {"3", "4", "1", Background::Favourable, CellImage::Stars3, CellImage::Stars4},
        {"4", "2", "-2", Background::Unfavourable, CellImage::Stars4, CellImage::Stars2},
        {"5", "5", "0", Background::Grid, CellImage::Stars5, CellImage::Stars5},
        {"0", "5", "5", Background::Favourable, CellImage::Stars0, CellImage::Stars5},
        {"5", "6", "1", Background::Favourable, CellImage::Stars5, CellImage::StarsBlank},
        {"-1", "1", "2", Background::Favourable, CellImage::StarsBlank, CellImage::Stars1},
    };
    for (const auto& c : cases) {
        const TextTable start = Structure("100", {"0", "0", c.start, "0", "0", "0"});
        const TextTable end = Structure("100", {"0", "0", c.end, "0", "0", "0"});
        TextTable grid(6, 7);
        FillInfrastructurePage(start, end, grid);
        const std::string what = c.start + " -> " + c.end;
        // Table row 4 ("Тренировочные поля") is grid row 3.
        EXPECT_EQ(grid.Cell(5, 3), c.progress) << what;
        EXPECT_EQ(DrawInfrastructureCell(grid, start, end, 5, 3).background, c.bg) << what;
        const CellStyle s1 = DrawInfrastructureCell(grid, start, end, 1, 3);
        const CellStyle s3 = DrawInfrastructureCell(grid, start, end, 3, 3);
        EXPECT_EQ(s1.image, c.startStars) << what;
        EXPECT_EQ(s3.image, c.endStars) << what;
        EXPECT_EQ(s1.imageX, 4);
        EXPECT_EQ(s1.imageY, 2);
    }
}

TEST(InfrastructurePage, NonWholeLevelDrawsBlankAndLeavesProgressAlone) {
    const TextTable start = Structure("x", {"2", "abc", "2", "2", "2", "2"});
    const TextTable end = Structure("1000", {"2", "3", "2", "2", "2", "2,5"});
    TextTable grid(6, 7);
    grid.SetCell(5, 2, "old");
    FillInfrastructurePage(start, end, grid);
    EXPECT_EQ(grid.Cell(5, 2), "old");
    EXPECT_EQ(grid.Cell(5, 6), "");
    EXPECT_EQ(grid.Cell(5, 0), "");
    // A capacity that is not a number is still shown with the word.
    EXPECT_EQ(grid.Cell(1, 0), "x мест");
    EXPECT_EQ(DrawInfrastructureCell(grid, start, end, 1, 2).image, CellImage::StarsBlank);
    EXPECT_EQ(DrawInfrastructureCell(grid, start, end, 3, 2).image, CellImage::Stars3);
    EXPECT_EQ(DrawInfrastructureCell(grid, start, end, 3, 6).image, CellImage::StarsBlank);
}

TEST(InfrastructurePage, StarsAreReadFromTheTablesAtDrawingTime) {
    TextTable start = Structure("100", {"1", "1", "1", "1", "1", "1"});
    const TextTable end = start;
    TextTable grid(6, 7);
    FillInfrastructurePage(start, end, grid);
    start.SetCell(1, 2, "4");
    EXPECT_EQ(DrawInfrastructureCell(grid, start, end, 1, 1).image, CellImage::Stars4);
}

TEST(InfrastructurePage, OnlyBuildingLevelCellsGetStars) {
    const TextTable t = Structure("100", {"3", "3", "3", "3", "3", "3"});
    TextTable grid(6, 7);
    FillInfrastructurePage(t, t, grid);
    EXPECT_EQ(DrawInfrastructureCell(grid, t, t, 1, 0).image, CellImage::None);
    EXPECT_EQ(DrawInfrastructureCell(grid, t, t, 3, 0).image, CellImage::None);
    for (int row = 0; row < 7; ++row) {
        for (int col : {0, 2, 4, 5})
            EXPECT_EQ(DrawInfrastructureCell(grid, t, t, col, row).image, CellImage::None) << col << "," << row;
    }
    for (int row = 1; row < 7; ++row)
        EXPECT_EQ(DrawInfrastructureCell(grid, t, t, 1, row).image, CellImage::Stars3) << row;
}

TEST(InfrastructurePage, AlignsNamesAndLevelsLeftFiguresRight) {
    const TextTable t = Structure("100", {"3", "3", "3", "3", "3", "3"});
    TextTable grid(6, 7);
    const Align expected[] = {Align::Left, Align::Left, Align::Right, Align::Left, Align::Right, Align::Right};
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(DrawInfrastructureCell(grid, t, t, col, 2).align, expected[col]) << col;
    // Only the progress column is ever coloured; an empty progress counts as favourable.
    EXPECT_EQ(DrawInfrastructureCell(grid, t, t, 5, 2).background, Background::Favourable);
    EXPECT_EQ(DrawInfrastructureCell(grid, t, t, 2, 2).background, Background::Grid);
}

}  // namespace
}  // namespace cadrix
