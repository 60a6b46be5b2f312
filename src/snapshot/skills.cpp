#include "snapshot/skills.h"

#include <array>
#include <stdexcept>

#include "core/utf8.h"

namespace cadrix {

namespace {

const std::array<std::string, kSkillCount> kSkillNames = {
    "Навесы",
    "Дриблинг",
    "Голова",
    "Дальний удар",
    "Удар",
    "Опека",
    "Пас",
    "Пенальти",
    "Штрафные",
    "Угловые",
    "Отбор",
    "Техника",
    "Выбор позиции",
    "Работоспособность",
    "Скорость",
    "Мощь",
    "Выносливость",
    "Видение поля",
    "Контроль мяча",
    "Лидерство",
    "Выбор позиции (врат.)",
    "Реакция (врат.)",
    "Игра на выходах (врат.)",
    "Игра руками (врат.)",
};

constexpr SkillClass G = SkillClass::Green;
constexpr SkillClass B = SkillClass::Blue;
constexpr SkillClass R = SkillClass::Red;

// Colour class per skill (rows 1..20) and line (forward, midfield, defence, goalkeeper).
constexpr std::array<std::array<SkillClass, 4>, kOutfieldSkills> kOutfieldClasses = {{
    {R, G, R, R},  // 1 Навесы
    {G, B, R, R},  // 2 Дриблинг
    {G, R, B, R},  // 3 Голова
    {B, G, R, R},  // 4 Дальний удар
    {G, B, R, R},  // 5 Удар
    {R, R, G, R},  // 6 Опека
    {B, G, B, R},  // 7 Пас
    {G, G, G, G},  // 8 Пенальти
    {G, G, G, G},  // 9 Штрафные
    {G, G, G, G},  // 10 Угловые
    {R, B, G, R},  // 11 Отбор
    {G, G, G, G},  // 12 Техника
    {G, R, B, R},  // 13 Выбор позиции
    {R, B, G, G},  // 14 Работоспособность
    {G, G, G, G},  // 15 Скорость
    {B, R, G, R},  // 16 Мощь
    {G, G, G, G},  // 17 Выносливость
    {B, G, B, R},  // 18 Видение поля
    {G, G, G, G},  // 19 Контроль мяча
    {G, G, G, G},  // 20 Лидерство
}};

int LineIndex(PositionLine line) {
    switch (line) {
    case PositionLine::Forward: return 0;
    case PositionLine::Midfield: return 1;
    case PositionLine::Defence: return 2;
    case PositionLine::Goalkeeper: return 3;
    }
    return 0;
}

}  // namespace

const std::string& SkillName(int skill) {
    if (skill < 1 || skill > kSkillCount)
        throw std::out_of_range("skill number out of range");
    return kSkillNames[static_cast<std::size_t>(skill - 1)];
}

std::optional<PositionLine> LineFromLetter(char32_t letter) {
    switch (letter) {
    case U'K': return PositionLine::Goalkeeper;
    case U'D': return PositionLine::Defence;
    case U'M': return PositionLine::Midfield;
    case U'W': return PositionLine::Forward;
    default: return std::nullopt;
    }
}

std::optional<PositionLine> LineOfChooserText(std::string_view text) {
    const auto cps = DecodeUtf8(text);
    if (cps.empty())
        return std::nullopt;
    return LineFromLetter(cps.back());
}

std::string NameOfChooserText(std::string_view text) { return DropRightChars(text, 4); }

std::string PositionOfChooserText(std::string_view text) { return RightChars(text, 2); }

SkillClass ColourClass(PositionLine line, int skill) {
    if (skill > kOutfieldSkills)
        return line == PositionLine::Goalkeeper ? SkillClass::Green : SkillClass::Red;
    return kOutfieldClasses[static_cast<std::size_t>(skill - 1)][static_cast<std::size_t>(LineIndex(line))];
}

const std::vector<int>& CommonSkills() {
    static const std::vector<int> common = {8, 9, 10, 12, 15, 17, 19, 20};
    return common;
}

bool IsCommonSkill(int skill) {
    for (int s : CommonSkills()) {
        if (s == skill)
            return true;
    }
    return false;
}

SkillGroups GroupsOf(PositionLine line) {
    SkillGroups g;
    g.common = CommonSkills();
    if (line == PositionLine::Goalkeeper) {
        g.profile = {21, 22, 23, 24};
        g.alien = {1, 2, 3, 4, 5, 6, 7, 11, 13, 14, 16, 18};
        return g;
    }
    for (int k = 1; k <= kOutfieldSkills; ++k) {
        if (IsCommonSkill(k))
            continue;
        switch (ColourClass(line, k)) {
        case SkillClass::Green: g.profile.push_back(k); break;
        case SkillClass::Blue: g.general.push_back(k); break;
        case SkillClass::Red: g.alien.push_back(k); break;
        }
    }
    return g;
}

std::optional<int> FindPlayerRow(const TextTable& table, std::string_view id, int idColumn) {
    for (int r = 1; r < table.RowCount(); ++r) {
        if (table.Cell(idColumn, r) == id)
            return r;
    }
    return std::nullopt;
}

}  // namespace cadrix
