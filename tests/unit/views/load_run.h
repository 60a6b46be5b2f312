#pragma once

// A comparison loaded from two export folders written by the test, as the
// game writes them: Windows-1251, CR LF.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/codepage.h"
#include "views/comparison.h"

namespace cadrix::testing {

namespace fs = std::filesystem;

struct PlayerSpec {
    std::string id, name, position;
    std::string nat = "0", age = "25", talent = "3", level = "60.5", contract = "2 сезона";
    std::string salary = "10000", value = "1000000";
};

inline std::string PlayerLine(int n, const PlayerSpec& p) {
    return std::to_string(n) + ";" + p.id + ";" + p.name + ";Россия;" + p.nat + ";" + p.position + ";" + p.age + ";" +
           p.talent + ";" + p.level + ";60;80;5;0;0;0;0;0;" + std::to_string(n) + ";" + p.contract + ";" + p.salary +
           ";" + p.value + ";180;75;правая;";
}

inline std::string SkillsLine(int n, const std::string& id, const std::string& position, int base, int delta = 0) {
    std::string line = std::to_string(n) + ";" + id + ";Игрок;" + position + ";25;";
    for (int k = 1; k <= 24; ++k)
        line += std::to_string(base + (k == 1 ? delta : 0)) + ";";
    return line;
}

const char* const kPlayersHeader =
    "№;ИД;Имя;Гражданство;Сборная;Позиция;Возраст;Талант;РУ;Мораль;Форма;Игры;Голы;Пасы;ЖК;КК;Травма;Номер;"
    "Контракт;Зарплата;Стоимость;Рост;Вес;Нога;";

inline std::vector<std::string> TeamLines(const std::string& budget = "125000000") {
    return {"Показатель;Значение;",
            "Название клуба;Сокол;",
            "Город;Самара;",
            "Чемпионат;Высшая лига;",
            "ИД Чемпионата;117;",
            "Страна;Россия;",
            "Менеджер;Ветров;",
            "Стадион;Волга;",
            "Год основания;1936;",
            "Бюджет;" + budget + ";",
            "Доход за сезон;48500000;",
            "Болельщики;34500;",
            "Стоимость состава;336550000;",
            "Средний возраст;25.4;",
            "Средний РУ;61.9;",
            "Рейтинговые очки;1482;",
            "Место в рейтинге;57;"};
}

inline std::vector<std::string> StructureLines(const std::string& level = "3") {
    return {"Строение;Уровень;Износ;",
            "Стадион;25000;12.50;",
            "Спортивная База;" + level + ";4.10;",
            "Клубный центр;2;7.80;",
            "Тренировочные поля;4;2.30;",
            "Медицинский центр;1;6.60;",
            "Магазин;0;0.00;",
            "ДЮСШ;2;5.15;"};
}

// One export folder, written as the game writes it: Windows-1251, CR LF.
struct ExportFolder {
    std::vector<PlayerSpec> players;
    std::vector<std::string> skills;  // data lines; the 24 trailing lines are added
    std::vector<std::string> team = TeamLines();
    std::vector<std::string> structure = StructureLines();
    bool writePlayers = true;

    void Write(const fs::path& folder) const {
        fs::remove_all(folder);
        fs::create_directories(folder);
        auto write = [&](const char* name, const std::vector<std::string>& lines) {
            std::ofstream out(folder / name, std::ios::binary);
            for (const auto& line : lines)
                out << Utf8ToCp1251(line) << "\r\n";
        };
        if (writePlayers) {
            std::vector<std::string> lines = {kPlayersHeader};
            for (std::size_t i = 0; i < players.size(); ++i)
                lines.push_back(PlayerLine(static_cast<int>(i) + 1, players[i]));
            write("club_players.csv", lines);
        }
        std::vector<std::string> skillLines = {"№;ИД;Имя;Поз;Возр;" + std::string(24 * 4, 'x')};
        skillLines.insert(skillLines.end(), skills.begin(), skills.end());
        for (int i = 0; i < 24; ++i)
            skillLines.push_back("Навык " + std::to_string(i + 1) + ";описание 1.5;");
        write("club_players_skills.csv", skillLines);
        write("club_team.csv", team);
        write("club_structure.csv", structure);
    }
};

class LoadRun : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        m_root =
            fs::temp_directory_path() / ("cadrix_cmp_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::create_directories(m_root);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    bool Load(const ExportFolder& start, const ExportFolder& end) {
        start.Write(m_root / "old");
        end.Write(m_root / "new");
        return cmp.Load({startChosen, "01.01.2026", m_root / "old"}, {endChosen, "08.01.2026", m_root / "new"});
    }
    const TextTable& G(GridId id) const { return cmp.Grid(id); }

    Comparison cmp;
    bool startChosen = true;
    bool endChosen = true;
    fs::path m_root;
};

}  // namespace cadrix::testing
