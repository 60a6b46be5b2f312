#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "views/comparison.h"
#include "views/comparison_result.h"

namespace cadrix {

// The period summary ("Итоги периода"): what a manager writes down after a
// period, taken from what the pages of a loaded comparison show. Every number
// is a text of a page, every name the period player table's.

struct SummaryPlayer {
    std::string name;
    std::string position;
};

struct NationalChange {
    std::string name;
    std::string position;
    std::string from;  // the legend text of the status meaning, without "- "
    std::string to;
};

struct RealLevelChange {
    std::string name;
    std::string position;
    std::string start;
    std::string end;
    std::string change;
};

struct SkillSum {
    std::string name;
    std::string position;
    long long sum = 0;
};

struct ClubChange {
    std::string caption;
    std::string start;
    std::string end;
    std::string change;
    Background tone = Background::Grid;  // as the club page colours the change
};

struct BuildingChange {
    std::string name;
    int start = 0;
    int end = 0;
};

// Who and when: the club named in the end snapshot's team file, and the
// dates of the two players files as the pages' captions show them.
struct Period {
    std::string club;
    std::string start;
    std::string end;
};
Period PeriodOf(const Comparison& comparison);

// "Итоги и сравнение: Волжский Сокол, 01.09.2026 – 30.11.2026", the title of
// every report; without a club name it starts with the dates.
std::string ReportTitle(const Period& period);
// "Итоги периода: Волжский Сокол, 01.09.2026 – 30.11.2026 (90 дней)", the
// summary's heading; the length is left out when a date does not read.
std::string SummaryHeading(const Period& period);

struct PeriodSummary {
    Period period;
    std::vector<SummaryPlayer> arrivals;
    std::vector<SummaryPlayer> departures;
    std::vector<NationalChange> national;
    std::vector<RealLevelChange> realLevelRises;
    std::vector<RealLevelChange> realLevelFalls;
    std::vector<SkillSum> skillRises;
    std::vector<SkillSum> skillFalls;
    TotalsLine payroll;
    TotalsLine value;
    std::vector<ClubChange> club;
    std::vector<BuildingChange> buildings;
};

// How many players a top list holds.
inline constexpr std::size_t kSummaryTop = 5;

PeriodSummary SummarisePeriod(const Comparison& comparison);

// The summary as the groups that every form of it (text, JSON, HTML, CSV,
// forum text, PDF) is written from: the group's key (its JSON name), its
// caption, and per item its fields and its line for a reader, whose change
// is signed ("+5,1") and toned as its page colours it.

// The columns of the summary's table after the group's caption: who or what
// (a player, a money line, a club row, a building), the position, the two
// values and the change.
enum class SummaryColumn { Subject, Position, Start, End, Change };
inline constexpr std::size_t kSummaryColumnCount = 5;

// A field of an item as the pages show it: its JSON name, its column and its
// text; a whole number (a skill sum, a building's level) keeps its value,
// which JSON writes as a number.
struct SummaryField {
    std::string_view key;
    SummaryColumn column;
    std::string text;
    std::optional<long long> number;
};
struct SummaryItem {
    std::vector<SummaryField> fields;
    std::string lead;    // "Петров (CD): 60 → 65,1 ("
    std::string change;  // "+5,1"; empty where the line has none
    Background tone = Background::Grid;
    std::string tail;  // ")"
    std::string Line() const { return lead + change + tail; }
};
enum class SummaryShape {
    Objects,  // a list of items, each an object of its fields
    Named,    // items named by their first field's key, each a list of the others' texts
};
struct SummaryGroup {
    std::string_view key;
    std::string_view caption;
    std::vector<SummaryItem> items;
    SummaryShape shape = SummaryShape::Objects;
};
std::vector<SummaryGroup> SummaryGroups(const PeriodSummary& summary);

inline constexpr std::string_view kSummaryTitle = "Итоги периода";
// What an empty group shows.
inline constexpr std::string_view kSummaryNothing = "нет";

// The summary as plain text: the heading, then each group's caption and its
// lines, "нет" for an empty group.
std::string SummaryText(const PeriodSummary& summary);

}  // namespace cadrix
