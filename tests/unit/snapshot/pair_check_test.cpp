#include "snapshot/pair_check.h"

#include <gtest/gtest.h>

#include "../history/history_test_support.h"

namespace cadrix {
namespace {

using testing::ExportFiles;

class PairCheck : public testing::HistoryTest {};

TEST_F(PairCheck, FindsOlderEndOtherClubAndTheSameExportInTheirOrder) {
    const auto early = WriteExport("early", GeneratedExport(4, 3), 3);
    const auto late = WriteExport("late", GeneratedExport(4, 10), 10);
    const auto copy = WriteExport("copy", GeneratedExport(4, 10), 10);
    const auto other = WriteExport("other", GeneratedExport(4, 12, "Торпедо"), 12);
    const auto earlyOther = WriteExport("early_other", GeneratedExport(4, 2, "Торпедо"), 2);
    const auto noPlayers = m_root / "empty";
    std::filesystem::create_directories(noPlayers);
    struct Case {
        std::filesystem::path start, end;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        {early, late, {}},
        {late, early, {"Выгрузка конца периода (E) старше выгрузки начала (S). Поменять их местами?"}},
        {late, other, {"Выгрузки разных клубов: «Волжский Сокол» и «Торпедо». Сравнить всё равно?"}},
        {late, earlyOther,
         {"Выгрузка конца периода (E) старше выгрузки начала (S). Поменять их местами?",
          "Выгрузки разных клубов: «Волжский Сокол» и «Торпедо». Сравнить всё равно?"}},
        // Equal players files are one export, whatever else the folders hold.
        {late, copy, {"Выбрана одна и та же выгрузка (E): изменений не будет."}},
        {noPlayers, late, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        for (const PairFinding& finding : CheckPair({c.start, "S"}, {c.end, "E"}))
            texts.push_back(finding.text);
        EXPECT_EQ(texts, c.texts) << c.start.filename() << " " << c.end.filename();
    }
}

}  // namespace
}  // namespace cadrix
