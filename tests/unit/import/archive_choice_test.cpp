#include "import/archive_choice.h"

#include <gtest/gtest.h>

#include "core/utf8.h"
#include "import/archive_error.h"
#include "import_test_support.h"

namespace cadrix {
namespace {

using namespace cadrix::testing;

TEST(ArchiveChoice, FileLabelShortensPathsLongerThan65Characters) {
    const std::string p65 = "/home/менеджер/" + std::string(50, 'a');  // 65 code points, more bytes
    ASSERT_EQ(CodePointCount(p65), 65u);
    EXPECT_EQ(FileLabelText(p65), p65);

    const std::string p66 = "/home/менеджер/" + std::string(30, 'a') + "/" + std::string(14, 'b') + "/z.zip";
    ASSERT_EQ(CodePointCount(p66), 66u);
    const std::string label = FileLabelText(p66);
    EXPECT_EQ(label, "/home/менеджер/" + std::string(25, 'a') + " ... " + "/" + std::string(14, 'b') + "/z.zip");
    EXPECT_EQ(CodePointCount(label), 66u);
}

TEST(ArchiveChoice, DateTextIsLocalDayMonthYear) {
    EXPECT_EQ(LocalDateText(LocalTimeOf(2024, 3, 5, 0, 30, 0)), "05.03.2024");
    EXPECT_EQ(LocalDateText(LocalTimeOf(1999, 12, 31, 23, 59, 58)), "31.12.1999");
}

TEST(ArchiveChoice, InitialStateShowsPrompts) {
    const SnapshotChoice start = SnapshotChoice::Initial(SnapshotSide::Start);
    EXPECT_FALSE(start.chosen);
    EXPECT_EQ(start.fileLabel, "Выбрать файл на начало периода");
    EXPECT_EQ(start.dateLabel, "не выбран");
    EXPECT_EQ(start.dateLabelColour, (Rgb{128, 0, 0}));
    EXPECT_TRUE(start.dateText.empty());
    EXPECT_EQ(SnapshotChoice::Initial(SnapshotSide::End).fileLabel, "Выбрать файл на конец периода");
}

class ArchiveChoiceTest : public TempFolderTest {
protected:
    fs::path Archive(const std::string& name, const std::vector<CraftedEntry>& entries) {
        const fs::path p = Src() / name;
        WriteFileBytes(p, CraftZip(entries));
        return p;
    }

    fs::path Folder() const { return WorkingFolder(Work(), SnapshotSide::End); }

    UnattendedQuestions questions;
    SnapshotChoice choice = SnapshotChoice::Initial(SnapshotSide::End);
};

TEST_F(ArchiveChoiceTest, ChosenArchiveShowsPathAndPlayersFileDate) {
    WriteFileBytes(Folder() / "old_skills.csv", "stale");
    WriteFileBytes(Folder() / "notes.txt", "kept");
    // The players file's date in the archive, not the archive's own date.
    const fs::path archive =
        Archive("end.zip", {{.name = "club_players.csv", .data = "p"},
                            {.name = "club_team.csv", .data = "t", .dosDate = ((2023 - 1980) << 9) | (1 << 5) | 2}});
    BeginChoice(choice);
    EXPECT_EQ(ChooseArchive(choice, archive, Work(), questions), ChoiceStatus::Extracted);
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.fileLabel, archive.string());
    EXPECT_EQ(choice.dateText, "15.03.2024");
    EXPECT_EQ(choice.dateLabel, "15.03.2024, OK");
    EXPECT_EQ(choice.dateLabelColour, (Rgb{0, 128, 0}));
    EXPECT_EQ(TreeOf(Folder()), (std::vector<std::string>{"club_players.csv", "club_team.csv", "notes.txt"}));

    // Cancelling the next dialog clears the flag and nothing else.
    BeginChoice(choice);
    EXPECT_FALSE(choice.chosen);
    EXPECT_EQ(choice.dateLabel, "15.03.2024, OK");
}

TEST_F(ArchiveChoiceTest, PlayersFileStampOrdersArchivesByTheirPlayersFile) {
    constexpr std::uint16_t kMarch = ((2024 - 1980) << 9) | (3 << 5) | 15;
    constexpr std::uint16_t kApril = ((2024 - 1980) << 9) | (4 << 5) | 1;
    // The other files' dates do not count, nor a later players file in name order.
    const fs::path march = Archive("a.zip", {{.name = "club_team.csv", .data = "t", .dosDate = kApril},
                                             {.name = "b_players.csv", .data = "p", .dosDate = kApril},
                                             {.name = "a_players.csv", .data = "p", .dosDate = kMarch}});
    const fs::path april = Archive("b.zip", {{.name = "club_players.csv", .data = "p", .dosDate = kApril}});
    const fs::path earlyMorning =
        Archive("c.zip", {{.name = "club_players.csv", .data = "p", .dosTime = 1 << 11, .dosDate = kApril}});
    ASSERT_TRUE(PlayersFileStamp(march) && PlayersFileStamp(april) && PlayersFileStamp(earlyMorning));
    EXPECT_LT(*PlayersFileStamp(march), *PlayersFileStamp(april));
    EXPECT_LT(*PlayersFileStamp(earlyMorning), *PlayersFileStamp(april));

    const fs::path nested = Archive("nested.zip", {{.name = "data/a_players.csv", .data = "p"}});
    const fs::path notZip = Src() / "notes.zip";
    WriteFileBytes(notZip, "not an archive");
    EXPECT_EQ(PlayersFileStamp(nested), std::nullopt);
    EXPECT_EQ(PlayersFileStamp(notZip), std::nullopt);
    EXPECT_EQ(PlayersFileStamp(Src() / "missing.zip"), std::nullopt);
    EXPECT_TRUE(TreeOf(Work()).empty());
}

TEST_F(ArchiveChoiceTest, ArchiveWithoutTopLevelPlayersFileTakesErrorPath) {
    const fs::path good = Archive("good.zip", {{.name = "a_players.csv", .data = "p"}});
    const fs::path skillsOnly = Archive("skills.zip", {{.name = "club_players_skills.csv", .data = "s"}});
    const fs::path nested = Archive("nested.zip", {{.name = "data/a_players.csv", .data = "p"}});
    ASSERT_EQ(ChooseArchive(choice, good, Work(), questions), ChoiceStatus::Extracted);
    for (const fs::path& archive : {skillsOnly, nested}) {
        SCOPED_TRACE(archive.filename().string());
        BeginChoice(choice);
        EXPECT_EQ(ChooseArchive(choice, archive, Work(), questions), ChoiceStatus::InvalidStatistics);
        EXPECT_TRUE(choice.chosen);
        EXPECT_EQ(choice.fileLabel, "Выбрать файл на конец периода");
        EXPECT_EQ(choice.dateLabel, "не выбран");
        EXPECT_EQ(choice.dateLabelColour, (Rgb{128, 0, 0}));
        EXPECT_EQ(choice.dateText, "15.03.2024");  // the earlier date stays
    }
    EXPECT_TRUE(fs::exists(Folder() / "data" / "a_players.csv"));  // what the extraction left stays
}

TEST_F(ArchiveChoiceTest, ArchiveErrorPropagatesWithFolderEmptiedAndLabelsUnchanged) {
    const fs::path good = Archive("good.zip", {{.name = "a_players.csv", .data = "p"}});
    ASSERT_EQ(ChooseArchive(choice, good, Work(), questions), ChoiceStatus::Extracted);
    const SnapshotChoice before = choice;
    WriteFileBytes(Src() / "text.zip", "this is no archive");
    BeginChoice(choice);
    try {
        ChooseArchive(choice, Src() / "text.zip", Work(), questions);
        ADD_FAILURE() << "no archive error";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.NativeCode(), 48);
    }
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.fileLabel, before.fileLabel);
    EXPECT_EQ(choice.dateLabel, before.dateLabel);
    EXPECT_TRUE(TreeOf(Folder()).empty());
}

}  // namespace
}  // namespace cadrix
