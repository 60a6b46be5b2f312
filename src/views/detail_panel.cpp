#include "views/detail_panel.h"

#include "core/numbers.h"
#include "snapshot/skills.h"

namespace cadrix {

namespace {

enum Row { kName, kPosition, kTalent, kAge, kLevelChange, kRise, kFall, kProfile, kGeneral, kAlien, kCommon };

// A goalkeeper's level moves with his four goalkeeper skills, an outfield
// player's with his twenty outfield skills.
constexpr long double kGoalkeeperFactor = 0.125L;
constexpr long double kOutfieldFactor = 0.05L;

std::optional<PositionLine> LineOfCode(std::string_view code) {
    if (code == "GK")
        return PositionLine::Goalkeeper;
    if (code == "LD" || code == "CD" || code == "RD")
        return PositionLine::Defence;
    if (code == "LM" || code == "CM" || code == "RM")
        return PositionLine::Midfield;
    if (code == "FW")
        return PositionLine::Forward;
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
    // Held in single precision, as the panel always has.
    const float value = static_cast<float>(sum) * (goalkeeper ? 0.125f : 0.05f);
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
    const bool goalkeeper = position == "GK";
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
    const long double factor = goalkeeper ? kGoalkeeperFactor : kOutfieldFactor;
    v[kLevelChange] = FixedText(static_cast<long double>(levelSum) * factor, 1);
    v[kRise] = rise > 0 && riseSkill ? SkillName(riseSkill) + " (" + WholeText(rise) + ")" : "нет";
    v[kFall] = fall < 0 && fallSkill ? SkillName(fallSkill) + " (" + WholeText(fall) + ")" : "нет";

    SkillGroups groups;
    if (const auto line = LineOfCode(position))
        groups = GroupsOf(*line);
    v[kProfile] = GroupText(SumOver(formed, groups.profile), goalkeeper);
    v[kGeneral] = GroupText(SumOver(formed, groups.general), goalkeeper);
    v[kAlien] = GroupText(SumOver(formed, groups.alien), goalkeeper);
    v[kCommon] = GroupText(SumOver(formed, groups.common), goalkeeper);
}

}  // namespace cadrix
