#!/usr/bin/env python3
"""Writes a club's weekly statistics exports as ZIP archives, for the history benchmark.

    python3 bench/make_history_archives.py FOLDER COUNT PLAYERS [CLUB]

COUNT archives export_0001.zip ... of PLAYERS players each, one week apart,
in the game's format (four ';'-separated Windows-1251 CSV files, CR LF,
deflated), the size of the sample exports for 30 players. The roster drifts:
skills, real level, value and salary move a little every week, players age
once a year, and one player in ten is replaced every ten weeks. Deterministic.
"""

import datetime
import os
import random
import sys
import zipfile

POSITIONS = ("GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW")
SURNAMES = ("Соколов", "Лебедев", "Зайцев", "Ковальчук", "Пестов", "Волков", "Морозов", "Петрович", "Беляев",
            "Гусев", "Орлов", "Сантос", "Жуков", "Карпов", "Медведев", "Бондаренко", "Кузнецов", "Новиков")
NAMES = ("Максим", "Кирилл", "Роман", "Тарас", "Глеб", "Денис", "Сергей", "Марко", "Никита", "Андрей", "Павел")
COUNTRIES = ("Россия", "Россия", "Россия", "Украина", "Сербия", "Бразилия", "Казахстан", "Беларусь")
FIRST_DAY = datetime.datetime(2020, 1, 6, 10, 0, 0)
CLUB = sys.argv[4] if len(sys.argv) > 4 else "Волжский Сокол"


def new_player(rng, pid):
    return {
        "id": pid, "name": f"{rng.choice(SURNAMES)} {rng.choice(NAMES)}", "country": rng.choice(COUNTRIES),
        "status": rng.choice((0, 0, 0, 1, 2, -1)), "pos": rng.choice(POSITIONS), "age": rng.randint(17, 33),
        "talent": rng.randint(1, 5), "level": rng.randint(450, 750), "number": rng.randint(1, 99),
        "height": rng.randint(170, 195), "weight": rng.randint(65, 90), "foot": rng.choice(("правая", "левая")),
        "contract": rng.choice(("1 сезон", "2 сезона", "3 сезона")), "salary": rng.randint(20, 120) * 1000,
        "value": rng.randint(50, 1500) * 10000, "skills": [rng.randint(1, 99) for _ in range(24)],
    }


def advance(rng, p, week):
    p["level"] += rng.randint(-2, 4)
    p["value"] = max(10000, p["value"] + rng.randint(-5, 10) * 10000)
    if rng.random() < 0.1:
        p["salary"] += rng.randint(-2, 5) * 500
    p["skills"] = [min(99, max(1, s + rng.randint(-1, 2))) for s in p["skills"]]
    if week % 52 == 0:
        p["age"] += 1


def csv(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp1251")


def export_files(roster, rng, week):
    play = ["№;ИД;Имя;Гражданство;Сборная;Позиция;Возраст;Талант;РУ;Мораль;Форма;Игры;Голы;Пасы;ЖК;КК;Травма;Номер;"
            "Контракт;Зарплата;Стоимость;Рост;Вес;Нога;"]
    skills = ["№;ИД;Имя;Поз;Возр;Нав;Дрб;Глв;ДлУ;Удр;Опк;Пас;Пен;Штр;Угл;Отб;Тех;ВП;Раб;Скр;Мщь;Вын;ВдП;КМ;Лид;ВПв;Рея;"
              "ИВв;ИРв;"]
    for n, p in enumerate(roster, 1):
        play.append(f"{n};{p['id']};{p['name']};{p['country']};{p['status']};{p['pos']};{p['age']};{p['talent']};"
                    f"{p['level'] // 10}.{p['level'] % 10};{rng.randint(40, 99)};{rng.randint(40, 99)};"
                    f"{rng.randint(0, 30)};{rng.randint(0, 9)};{rng.randint(0, 9)};{rng.randint(0, 5)};0;0;"
                    f"{p['number']};{p['contract']};{p['salary']};{p['value']};{p['height']};{p['weight']};"
                    f"{p['foot']};")
        skills.append(f"{n};{p['id']};{p['name']};{p['pos']};{p['age']};" + "".join(f"{s};" for s in p["skills"]))
    skills += [f"S{k};Навык {k};" for k in range(1, 25)]
    team = ["Показатель;Значение;", f"Название клуба;{CLUB};", "Город;Самара;", "Чемпионат;Высшая лига;",
            "ИД Чемпионата;117;", "Страна;Россия;", "Менеджер;Ветров Константин;", "Стадион;Волга Арена;",
            "Год основания;1936;", f"Бюджет;{100000000 + week * 250000};", f"Доход за сезон;{48000000 + week * 1000};",
            f"Болельщики;{34000 + week * 7};", f"Стоимость состава;{sum(p['value'] for p in roster)};",
            f"Средний возраст;{sum(p['age'] for p in roster) / len(roster):.1f};",
            f"Средний РУ;{sum(p['level'] for p in roster) / len(roster) / 10:.1f};",
            f"Рейтинговые очки;{1400 + week % 300};", f"Место в рейтинге;{1 + week % 90};"]
    structure = ["Строение;Уровень;Износ;", f"Стадион;{25000 + week // 10 * 500};1.50;", "Спортивная База;3;4.10;",
                 "Клубный центр;2;7.80;", "Тренировочные поля;4;2.30;", "Медицинский центр;1;6.60;",
                 "Магазин;0;0.00;", "ДЮСШ;2;5.15;"]
    return [("club_players.csv", csv(play)), ("club_players_skills.csv", csv(skills)), ("club_team.csv", csv(team)),
            ("club_structure.csv", csv(structure))]


def main():
    folder, count, players = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(20260101)
    next_id = 100000
    roster = []
    for _ in range(players):
        roster.append(new_player(rng, next_id))
        next_id += rng.randint(1, 900)
    for week in range(count):
        if week and week % 10 == 0:
            # The first player stays throughout: his series is the longest.
            for i in rng.sample(range(1, players), max(1, players // 10)):
                roster[i] = new_player(rng, next_id)
                next_id += rng.randint(1, 900)
        for p in roster:
            advance(rng, p, week)
        when = FIRST_DAY + datetime.timedelta(days=7 * week)
        path = os.path.join(folder, f"export_{week + 1:04d}.zip")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            for name, data in export_files(roster, rng, week):
                info = zipfile.ZipInfo(name, date_time=when.timetuple()[:6])
                info.compress_type = zipfile.ZIP_DEFLATED
                z.writestr(info, data)


if __name__ == "__main__":
    main()
