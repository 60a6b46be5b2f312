#pragma once

// Shared by the history tests: a fresh folder per test, statistics exports
// written and zipped here, and the sample pair.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/codepage.h"

namespace cadrix::testing {

namespace fs = std::filesystem;

inline const fs::path kSamples = fs::path(CADRIX_SOURCE_DIR) / "samples";

// File name → UTF-8 lines.
using ExportFiles = std::map<std::string, std::vector<std::string>>;

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cadrix-history-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    // Writes the files in Windows-1251 with CR LF line ends, each with the
    // last-write time noon of `day` January 2026 (local time).
    fs::path WriteExport(const std::string& name, const ExportFiles& files, int day) {
        const fs::path folder = m_root / name;
        fs::create_directories(folder);
        std::tm tm{};
        tm.tm_year = 126;
        tm.tm_mday = day;
        tm.tm_hour = 12;
        tm.tm_isdst = -1;
        const auto when = std::chrono::system_clock::from_time_t(std::mktime(&tm));
        for (const auto& [file, lines] : files) {
            {
                std::ofstream out(folder / file, std::ios::binary);
                for (const auto& line : lines)
                    out << Utf8ToCp1251(line) << "\r\n";
            }
            fs::last_write_time(folder / file, fs::file_time_type::clock::from_sys(when));
        }
        return folder;
    }

    // Packs the files of `folder` into `folder`.zip with Info-ZIP, which keeps
    // the files' times; skips the test when the tool is missing (fails under CI).
    fs::path Zip(const fs::path& folder) {
        const fs::path archive = folder.string() + ".zip";
        if (std::system("command -v zip >/dev/null 2>&1") != 0) {
            if (const char* ci = std::getenv("CI"); ci && std::string(ci) == "true")
                ADD_FAILURE() << "zip is missing";
            return {};
        }
        const std::string cmd = "cd '" + folder.string() + "' && zip -q -X -r '" + archive.string() + "' .";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
        return archive;
    }

    // An export of `players` players whose figures depend on `day`.
    static ExportFiles GeneratedExport(int players, int day, const std::string& club = "Волжский Сокол") {
        static const char* const kPositions[] = {"GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW"};
        ExportFiles f;
        auto& play = f["club_players.csv"];
        auto& skills = f["club_players_skills.csv"];
        play.push_back("№;ИД;Имя;Гражданство;Сборная;Позиция;Возраст;Талант;РУ;Мораль;Форма;Игры;Голы;Пасы;ЖК;КК;"
                       "Травма;Номер;Контракт;Зарплата;Стоимость;Рост;Вес;Нога;");
        std::string skillsHeader = "№;ИД;Имя;Поз;Возр;";
        for (int k = 1; k <= 24; ++k)
            skillsHeader += "S" + std::to_string(k) + ";";
        skills.push_back(skillsHeader);
        for (int i = 0; i < players; ++i) {
            const int id = 100000 + i * 7 + (i % 10 == 9 ? day : 0);  // every tenth player changes clubs
            const std::string n = std::to_string(i + 1), sid = std::to_string(id);
            play.push_back(n + ";" + sid + ";Игрок " + sid + ";Россия;0;" + kPositions[i % 8] + ";" +
                           std::to_string(18 + i % 15) + ";" + std::to_string(1 + i % 5) + ";" +
                           std::to_string(50 + (i + day) % 40) + "." + std::to_string(day % 10) +
                           ";1;2;3;4;5;6;7;8;9;2 сезона;" + std::to_string(10000 + 100 * day + i) + ";" +
                           std::to_string(1000000 + 1000 * day + i) + ";180;75;правая;");
            std::string line = n + ";" + sid + ";Игрок " + sid + ";" + kPositions[i % 8] + ";20;";
            for (int k = 1; k <= 24; ++k)
                line += std::to_string(10 + (i * k + day) % 80) + ";";
            skills.push_back(line);
        }
        for (int k = 1; k <= 24; ++k)
            skills.push_back("S" + std::to_string(k) + ";Навык " + std::to_string(k) + ";");
        f["club_team.csv"] = {"Показатель;Значение;",
                              "Название клуба;" + club + ";",
                              "Город;Самара;",
                              "Чемпионат;Высшая лига;",
                              "ИД Чемпионата;117;",
                              "Страна;Россия;",
                              "Менеджер;Ветров;",
                              "Стадион;Волга;",
                              "Год основания;1936;",
                              "Бюджет;" + std::to_string(100000000 + day) + ";",
                              "Доход за сезон;5000;",
                              "Болельщики;300;",
                              "Стоимость состава;9000;",
                              "Средний возраст;25.5;",
                              "Средний РУ;63.2;",
                              "Рейтинговые очки;1500;",
                              "Место в рейтинге;" + std::to_string(day) + ";"};
        f["club_structure.csv"] = {
            "Строение;Уровень;Износ;",   "Стадион;25000;1.5;",       "Спортивная База;3;1.0;", "Клубный центр;2;1.0;",
            "Тренировочные поля;4;1.0;", "Медицинский центр;1;1.0;", "Магазин;0;0.0;",         "ДЮСШ;2;1.0;"};
        return f;
    }

    fs::path m_root;
};

}  // namespace cadrix::testing
