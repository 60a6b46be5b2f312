#pragma once

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
};

struct BuildingChange {
    std::string name;
    int start = 0;
    int end = 0;
};

struct PeriodSummary {
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

// The summary as the groups that every form of it (text, JSON, HTML, CSV) is
// written from: the group's key (its JSON name), its caption, and per item
// its fields and its line of text.

// A field of an item: its JSON name and its text; a whole number (a skill
// sum, a building's level) keeps its value, which JSON writes as a number.
struct SummaryField {
    std::string_view key;
    std::string text;
    std::optional<long long> number;
};
struct SummaryItem {
    std::vector<SummaryField> fields;
    std::string line;
};
enum class SummaryShape {
    Objects,  // a list of items, each an object of its fields
    Named,    // items named by their first field, each a list of the others' texts
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

// The summary as plain text: the title, then each group's caption and its
// lines, "нет" for an empty group.
std::string SummaryText(const PeriodSummary& summary);

}  // namespace cadrix
