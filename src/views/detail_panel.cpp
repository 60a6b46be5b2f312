#include "views/detail_panel.h"

#include "core/numbers.h"
#include "snapshot/period_table.h"
#include "snapshot/skills.h"

namespace cadrix {

namespace {

enum Row { kName, kPosition, kTalent, kAge, kLevelChange, kRise, kFall, kProfile, kGeneral, kAlien, kCommon };

// What one skill point is worth on the panel's scale of the real level: a
// goalkeeper's level moves with his four goalkeeper skills, an outfield
// player's with his twenty outfield skills.
constexpr long double kGoalkeeperFactor = 0.125L;
constexpr long double kOutfieldFactor = 0.05L;

long double FactorOf(bool goalkeeper) { return goalkeeper ? kGoalkeeperFactor : kOutfieldFactor; }

// The line of one of the game's eight position codes, by its last letter.
// Any other code has no line, and so no skill groups.
std::optional<PositionLine> LineOfCode(std::string_view code) {
    for (const char* known : kPositionOrder) {
        if (code == known)
            return LineFromLetter(static_cast<char32_t>(code.back()));
    }
    return std::nullopt;
}

long long SumOver(const std::vector<SkillDifference>& formed, const std::vector<int>& skills) {
    long long sum = 0;
    for (const auto& d : formed) {
        for (int s : skills) {
            if (s == d.skill)
                sum += d.difference;
        }
    }
    return sum;
}

std::string GroupText(long long sum, bool goalkeeper) {
    // A group value is a single-precision number; its two decimals are
    // rounded from that.
    const float value = static_cast<float>(sum) * static_cast<float>(FactorOf(goalkeeper));
    std::string text = FixedText(static_cast<long double>(value), 2);
    return value > 0 ? "+" + text : text;
}

}  // namespace

const std::array<std::string, DetailPanel::kRows>& DetailPanel::Captions() {
    static const std::array<std::string, kRows> captions = {
        "Имя",           "Позиция",    "Талант", "Возраст", "Изменение РУ", "Макс. рост",
        "Макс. падение", "Профильные", "Общие",  "Чужие",   "Единые",
    };
    return captions;
}

void FillDetailPanel(const std::string& chooserText, const std::vector<SkillDifference>& formed,
                     const std::string& talent, const std::string& age, DetailPanel& panel) {
    auto& v = panel.values;
    const std::string position = PositionOfChooserText(chooserText);
    const auto line = LineOfCode(position);
    const bool goalkeeper = line == PositionLine::Goalkeeper;
    v[kName] = NameOfChooserText(chooserText);
    v[kPosition] = position;
    v[kTalent] = talent;
    v[kAge] = age;

    long long levelSum = 0;
    long long rise = -100, fall = 100;
    int riseSkill = 0, fallSkill = 0;
    for (const auto& d : formed) {
        const bool counts = goalkeeper ? d.skill > kOutfieldSkills : d.skill <= kOutfieldSkills;
        if (counts)
            levelSum += d.difference;
        // Strictly greater / smaller: on a tie the lowest skill number stays.
        if (d.difference > rise) {
            rise = d.difference;
            riseSkill = d.skill;
        }
        if (d.difference < fall) {
            fall = d.difference;
            fallSkill = d.skill;
        }
    }
    v[kLevelChange] = FixedText(static_cast<long double>(levelSum) * FactorOf(goalkeeper), 1);
    v[kRise] = rise > 0 && riseSkill ? SkillName(riseSkill) + " (" + WholeText(rise) + ")" : "нет";
    v[kFall] = fall < 0 && fallSkill ? SkillName(fallSkill) + " (" + WholeText(fall) + ")" : "нет";

    SkillGroups groups;
    if (line)
        groups = GroupsOf(*line);
    v[kProfile] = GroupText(SumOver(formed, groups.profile), goalkeeper);
    v[kGeneral] = GroupText(SumOver(formed, groups.general), goalkeeper);
    v[kAlien] = GroupText(SumOver(formed, groups.alien), goalkeeper);
    v[kCommon] = GroupText(SumOver(formed, groups.common), goalkeeper);
}

}  // namespace cadrix
