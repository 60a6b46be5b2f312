#include "snapshot_generator.h"

#include <fstream>
#include <string>

#include "core/codepage.h"

namespace cadrix::bench {

namespace {

const char* const kPositions[] = {"GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW"};
const char* const kNames[] = {"Иванов Иван", "Петров Пётр", "Сидоров Олег", "Кузнецов Артём", "Смирнов Павел"};

std::string PlayerLine(int n, int id, int shift, Period period) {
    const bool end = period == Period::End;
    std::string line = std::to_string(n) + ";" + std::to_string(id) + ";" + kNames[id % 5] + " " + std::to_string(id) +
                       ";Россия;" + std::to_string(id % 5 - 2) + ";" + kPositions[(id + shift) % 8] + ";" +
                       std::to_string(18 + id % 17 + (end ? 1 : 0)) + ";" + std::to_string(1 + id % 5) + ";" +
                       std::to_string(40 + id % 30) + "." + std::to_string((id + (end ? 3 : 0)) % 10) + ";";
    for (int f = 9; f <= 17; ++f)
        line += std::to_string((id * f) % 100) + ";";
    line += std::to_string(1 + id % 4) + " сезона;" + std::to_string(15000 + (id % 200) * 1000 + (end ? 500 : 0)) +
            ";" + std::to_string(500000 + (id % 900) * 25000 + (end ? 10000 : 0)) + ";0;0;0;";
    return line;
}

std::string SkillsLine(int n, int id, Period period) {
    std::string line = std::to_string(n) + ";" + std::to_string(id) + ";x;y;20;";
    for (int k = 1; k <= 24; ++k)
        line += std::to_string(10 + (id + k) % 80 + (period == Period::End ? k % 3 : 0)) + ";";
    return line;
}

void WriteFile(const std::filesystem::path& path, const std::string& utf8) {
    std::ofstream(path, std::ios::binary) << Utf8ToCp1251(utf8);
}

}  // namespace

void WriteSnapshot(const std::filesystem::path& folder, int players, Period period) {
    std::filesystem::create_directories(folder);
    std::string play = "N;player_id;name;citizenship;national_status;position;age;talent;real_level;"
                       "a;b;c;d;e;f;g;h;i;contract;salary;value;j;k;l;\r\n";
    std::string skills = "N;player_id;name;position;age;";
    for (int k = 1; k <= 24; ++k)
        skills += "s" + std::to_string(k) + ";";
    skills += "\r\n";
    int n = 0;
    for (int i = 0; i < players; ++i) {
        int id = 100000 + i;
        if (period == Period::End && i % 50 == 0)
            id = 900000 + i;  // one left, one arrived
        const int shift = period == Period::End && i % 40 == 0 ? 1 : 0;
        ++n;
        play += PlayerLine(n, id, shift, period) + "\r\n";
        skills += SkillsLine(n, id, period) + "\r\n";
    }
    for (int k = 1; k <= 24; ++k)
        skills += "Skill " + std::to_string(k) + ";legend;\r\n";
    WriteFile(folder / "bench_players.csv", play);
    WriteFile(folder / "bench_players_skills.csv", skills);

    std::string team = "Показатель;Значение;\r\n";
    for (int r = 1; r <= 16; ++r)
        team +=
            "Строка " + std::to_string(r) + ";" + std::to_string(r * 1000 + (period == Period::End ? 7 : 0)) + ";\r\n";
    WriteFile(folder / "bench_team.csv", team);
    WriteFile(folder / "bench_structure.csv",
              "Строение;Уровень;Износ;\r\nСтадион;25000;1.5;\r\nСпортивная База;3;1.0;\r\nКлубный центр;2;1.0;\r\n"
              "Тренировочные поля;4;1.0;\r\nМедицинский центр;1;1.0;\r\nМагазин;0;0.0;\r\nДЮСШ;2;1.0;\r\n");
}

}  // namespace cadrix::bench
