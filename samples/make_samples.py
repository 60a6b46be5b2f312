#!/usr/bin/env python3
"""Writes the sample pair of Orvanto statistics exports of one club.

The club "Волжский Сокол" is exported twice: at the start of the period
(2026-09-01 10:00) and at its end (2026-11-30 10:00).  Each export is four
';'-separated Windows-1251 CSV files with CR LF line ends, written into
samples/start/ and samples/end/, and the same four files packed as the
deflated ZIP archives samples/start.zip and samples/end.zip.

Standard library only, and deterministic: the figures are written by hand
below and the little variation there is comes from a fixed-seed generator of
our own, so a re-run reproduces every file byte for byte.

    python3 samples/make_samples.py
"""

import os
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))

ENCODING = "cp1251"
LINE_END = "\r\n"

PLAYERS_FILE = "orvanto_club_players.csv"
SKILLS_FILE = "orvanto_club_players_skills.csv"
TEAM_FILE = "orvanto_club_team.csv"
STRUCTURE_FILE = "orvanto_club_structure.csv"
FILE_ORDER = (PLAYERS_FILE, SKILLS_FILE, TEAM_FILE, STRUCTURE_FILE)

START_DATE = (2026, 9, 1, 10, 0, 0)
END_DATE = (2026, 11, 30, 10, 0, 0)

POSITIONS = ("GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW")


class Rng:
    """A 64-bit linear congruential generator (Knuth's MMIX constants).

    Python's own `random` is reproducible too, but keeping the generator here
    makes the samples independent of the interpreter's version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % n

    def between(self, lo, hi):
        return lo + self.below(hi - lo + 1)


# ---------------------------------------------------------------------------
# Players at the start of the period.
# id, name, citizenship, national status, position, age, talent,
# real level in tenths, shirt number, height, weight, foot, contract
START_PLAYERS = [
    (104512, "Соколов Максим", "Россия", 1, "GK", 29, 4, 712, 1, 191, 86, "правая", "3 сезона"),
    (118230, "Лебедев Кирилл", "Россия", 2, "GK", 20, 3, 548, 16, 188, 80, "правая", "4 сезона"),
    (109874, "Зайцев Роман", "Россия", 0, "LD", 26, 3, 634, 3, 179, 74, "левая", "2 сезона"),
    (121045, "Ковальчук Тарас", "Украина", -1, "LD", 24, 4, 617, 13, 181, 76, "левая", "3 сезона"),
    (130877, "Пестов Глеб", "Россия", 0, "LD", 19, 5, 512, 28, 177, 70, "левая", "5 сезонов"),
    (107761, "Волков Денис", "Россия", 0, "CD", 27, 3, 655, 5, 186, 82, "левая", "2 сезона"),
    (102398, "Морозов Сергей", "Россия", 1, "CD", 31, 3, 702, 4, 189, 85, "правая", "1 сезон"),
    (115502, "Петрович Марко", "Сербия", -2, "CD", 28, 4, 681, 15, 192, 88, "правая", "2 сезона"),
    (124690, "Беляев Никита", "Россия", 0, "CD", 22, 4, 589, 24, 187, 81, "правая", "4 сезона"),
    (111203, "Гусев Андрей", "Россия", 0, "CD", 33, 2, 603, 25, 184, 83, "правая", "1 сезон"),
    (108446, "Орлов Павел", "Россия", 0, "RD", 28, 3, 641, 2, 180, 75, "правая", "3 сезона"),
    (119318, "Сантос Лукас", "Бразилия", 0, "RD", 25, 4, 663, 22, 176, 72, "правая", "3 сезона"),
    (127055, "Жуков Илья", "Россия", 2, "RD", 20, 4, 534, 32, 178, 71, "правая", "4 сезона"),
    (112984, "Карпов Егор", "Россия", 0, "LM", 26, 3, 628, 11, 175, 70, "левая", "2 сезона"),
    (125317, "Медведев Артур", "Россия", 0, "LM", 18, 5, 471, 27, 174, 66, "левая", "5 сезонов"),
    (116741, "Бондаренко Олег", "Украина", 0, "LM", 30, 2, 605, 17, 177, 73, "обе", "1 сезон"),
    (105629, "Кузнецов Артём", "Россия", -2, "CM", 29, 3, 668, 8, 180, 76, "правая", "1 сезон"),
    (110082, "Новиков Алексей", "Россия", 1, "CM", 27, 4, 724, 10, 178, 74, "правая", "3 сезона"),
    (113570, "Федоров Виктор", "Россия", 0, "CM", 32, 2, 637, 6, 182, 79, "правая", "1 сезон"),
    (120966, "Ахметов Ерлан", "Казахстан", -1, "CM", 24, 3, 612, 14, 176, 71, "правая", "2 сезона"),
    (128413, "Тихонов Матвей", "Россия", 0, "CM", 21, 5, 566, 23, 179, 72, "правая", "4 сезона"),
    (117638, "Громов Станислав", "Россия", 0, "CM", 25, 1, 579, 18, 181, 77, "левая", "2 сезона"),
    (114205, "Фролов Даниил", "Россия", 0, "RM", 23, 4, 621, 7, 173, 68, "правая", "3 сезона"),
    (122771, "Оливейра Рафаэл", "Бразилия", 0, "RM", 27, 3, 648, 19, 172, 67, "правая", "2 сезона"),
    (129904, "Степанов Антон", "Россия", 0, "RM", 19, 2, 498, 30, 176, 69, "обе", "3 сезона"),
    (103187, "Смирнов Владимир", "Россия", 1, "FW", 28, 4, 738, 9, 183, 78, "правая", "3 сезона"),
    (109955, "Козлов Артемий", "Россия", 0, "FW", 31, 2, 652, 20, 185, 81, "левая", "1 сезон"),
    (123846, "Романов Тимур", "Россия", 2, "FW", 20, 5, 577, 29, 180, 74, "правая", "5 сезонов"),
    (118809, "Силва Жоао", "Бразилия", 0, "FW", 26, 3, 669, 21, 178, 73, "правая", "2 сезона"),
    (126532, "Лукашевич Янка", "Беларусь", 0, "FW", 23, 1, 583, 33, 187, 82, "левая", "2 сезона"),
]

LEAVER_ID = 105629       # Кузнецов Артём, CM: sold during the period
NEWCOMER = (131478, "Мартинес Диего", "Аргентина", 1, "FW", 27, 4, 706, 99, 181, 77, "левая", "3 сезона")
POSITION_CHANGES = {107761: "LD"}   # Волков Денис retrained from CD to LD
INJURED_ID = 109955      # Козлов Артемий: injured at both dates

# National status at the end, where it differs from the start.
END_STATUS = {
    102398: 0,     # Морозов: dropped from the main team
    127055: 1,     # Жуков: from the youth team to the main team
    121045: 1,     # Ковальчук: from the extended list to the main team
    115502: -1,    # Петрович: still on an extended list, now the first one
    124690: -2,    # Беляев: put on the extended list
    125317: 2,     # Медведев: called to the youth team
}

# Players who turned a year older during the period.
BIRTHDAYS = {104512, 130877, 102398, 119318, 125317, 113570, 128413, 122771, 109955, 126532}

# Real level change in tenths where it is not the usual growth.
LEVEL_CHANGE = {
    111203: -9,    # Гусев, 33: past his best
    113570: -4,    # Федоров, 32
    109955: -12,   # Козлов, 31, with an injury
    116741: -3,    # Бондаренко
    117638: 0,     # Громов: no progress at all
    108446: 0,     # Орлов: no progress at all
}

# Contracts renewed during the period: the new contract, and the new salary's
# difference from the usual salary for the player's level.
RENEWALS = {
    102398: ("2 сезона", 5000),
    109955: ("1 сезон", -20000),    # the same length again, at a lower salary
    116741: ("2 сезона", 5000),
    113570: ("1 сезон", 5000),
}

# Players whose salary stayed the same (no renewal, no bonus clause).
SALARY_FROZEN = {104512, 118230, 109874, 130877, 115502, 124690, 108446, 127055,
                 125317, 120966, 117638, 129904, 126532, 118809, 123846}

TEAM_ROWS = [
    ("Название клуба", "Волжский Сокол", "Волжский Сокол"),
    ("Город", "Самара", "Самара"),
    ("Чемпионат", "Высшая лига", "Высшая лига"),
    ("ИД Чемпионата", "117", "117"),
    ("Страна", "Россия", "Россия"),
    ("Менеджер", "Ветров Константин", "Ветров Константин"),
    ("Стадион", "Волга Арена", "Волга Арена"),
    ("Год основания", "1936", "1936"),
    ("Бюджет", "125000000", "131400000"),
    ("Доход за сезон", "48500000", "61250000"),
    ("Болельщики", "34500", "36200"),
    ("Стоимость состава", None, None),      # the sum of the players' values
    ("Средний возраст", None, None),        # computed from the players
    ("Средний РУ", None, None),             # computed from the players
    ("Рейтинговые очки", "1482", "1547"),
    ("Место в рейтинге", "57", "41"),
]

# building, start level, start wear, end level, end wear
STRUCTURE_ROWS = [
    ("Стадион", 25000, "12.50", 27500, "3.20"),
    ("Спортивная База", 3, "4.10", 4, "1.05"),
    ("Клубный центр", 2, "7.80", 2, "9.45"),
    ("Тренировочные поля", 4, "2.30", 5, "0.75"),
    ("Медицинский центр", 1, "6.60", 2, "0.90"),
    ("Магазин", 0, "0.00", 0, "0.00"),
    ("ДЮСШ", 2, "5.15", 3, "0.40"),
]

SKILLS = [
    ("Нав", "Навесы"), ("Дрб", "Дриблинг"), ("Глв", "Голова"), ("ДлУ", "Дальний удар"),
    ("Удр", "Удар"), ("Опк", "Опека"), ("Пас", "Пас"), ("Пен", "Пенальти"),
    ("Штр", "Штрафные"), ("Угл", "Угловые"), ("Отб", "Отбор"), ("Тех", "Техника"),
    ("ВП", "Выбор позиции"), ("Раб", "Работоспособность"), ("Скр", "Скорость"), ("Мщь", "Мощь"),
    ("Вын", "Выносливость"), ("ВдП", "Видение поля"), ("КМ", "Контроль мяча"), ("Лид", "Лидерство"),
    ("ВПв", "Выбор позиции (врат.)"), ("Рея", "Реакция (врат.)"), ("ИВв", "Игра на выходах (врат.)"),
    ("ИРв", "Игра руками (врат.)"),
]

# Skills (numbered from 1) a player of each line is strong or weak in.
STRONG = {
    "K": {21, 22, 23, 24, 14},
    "D": {6, 11, 14, 16, 3, 7, 13, 18},
    "M": {1, 4, 7, 18, 2, 5, 11, 14},
    "W": {2, 3, 5, 13, 4, 7, 16, 18},
}
WEAK = {
    "K": {1, 2, 3, 4, 5, 6, 7, 11, 13, 16, 18},
    "D": {1, 2, 4, 5},
    "M": {3, 6, 13, 16},
    "W": {1, 6, 11, 14},
}
COMMON = {8, 9, 10, 12, 15, 17, 19, 20}

PLAYERS_HEADER = ["№", "ИД", "Имя", "Гражданство", "Сборная", "Позиция", "Возраст", "Талант",
                  "РУ", "Мораль", "Форма", "Игры", "Голы", "Пасы", "ЖК", "КК", "Травма",
                  "Номер", "Контракт", "Зарплата", "Стоимость", "Рост", "Вес", "Нога"]


def tenths(t):
    return "%d.%d" % (t // 10, t % 10)


def rounded_div(a, b):
    """a / b rounded half up, for non-negative whole numbers."""
    return (2 * a + b) // (2 * b)


def value_of(level_tenths, age):
    """A nominal value that grows with the cube of the real level and falls with age."""
    v = level_tenths ** 3 * 50 * max(4, 40 - age) // 15000
    v = (v + 5000) // 10000 * 10000
    return max(500000, min(25000000, v))


def salary_of(level_tenths, talent):
    s = level_tenths * level_tenths // 5 + talent * 1500
    s = (s + 250) // 500 * 500
    return max(15000, min(250000, s))


def goals(rng, position, forward_most, other_most):
    if position == "GK":
        return 0
    return rng.between(0, forward_most if position == "FW" else other_most)


def season_stats(rng, position, injured):
    """Columns 9 to 16 at the start of the period, early in the season."""
    return {
        "morale": rng.between(60, 99),
        "fitness": rng.between(70, 100),
        "games": rng.between(2, 8),
        "goals": goals(rng, position, 5, 2),
        "assists": 0 if position == "GK" else rng.between(0, 3),
        "yellow": rng.between(0, 2),
        "red": 0,
        "injury": rng.between(10, 25) if injured else 0,
    }


def advance_stats(rng, s, position, injured):
    return {
        "morale": rng.between(55, 99),
        "fitness": rng.between(65, 100),
        "games": s["games"] + rng.between(6, 14),
        "goals": s["goals"] + goals(rng, position, 9, 3),
        "assists": s["assists"] + (0 if position == "GK" else rng.between(0, 5)),
        "yellow": s["yellow"] + rng.between(0, 3),
        "red": s["red"] + (1 if rng.below(12) == 0 else 0),
        "injury": rng.between(5, 30) if injured else 0,
    }


def base_skills(rng, position, level_tenths):
    line = position[-1]
    centre = level_tenths // 10
    skills = []
    for k in range(1, 25):
        if k >= 21 and line != "K":
            v = rng.between(1, 12)
        elif k in STRONG[line]:
            v = centre + rng.between(5, 18)
        elif k in WEAK[line]:
            v = centre - rng.between(18, 35) if line == "K" else centre - rng.between(8, 20)
        elif k in COMMON:
            v = centre + rng.between(-8, 8)
        else:
            v = centre + rng.between(-12, 4)
        skills.append(max(1, min(99, v)))
    return skills


def grown_skills(rng, skills, declining):
    out = []
    for v in skills:
        if rng.below(100) < (25 if declining else 5):
            d = -rng.between(1, 3)
        else:
            d = rng.between(0, 5)
        out.append(max(1, min(99, v + d)))
    return out


def build():
    rng = Rng(20260901)
    start, end = [], []
    for (pid, name, country, status, pos, age, talent, level, number,
         height, weight, foot, contract) in START_PLAYERS + [NEWCOMER]:
        is_newcomer = pid == NEWCOMER[0]
        injured = pid == INJURED_ID
        p = dict(id=pid, name=name, country=country, status=status, pos=pos, age=age,
                 talent=talent, level=level, number=number, height=height, weight=weight,
                 foot=foot, contract=contract)
        p["value"] = value_of(level, age)
        p["salary"] = salary_of(level, talent)
        p["stats"] = season_stats(rng, pos, injured)
        p["skills"] = base_skills(rng, pos, level)

        change = LEVEL_CHANGE.get(pid)
        if change is None:
            change = rng.between(1, 30) if age < 30 else rng.between(1, 12)
        q = dict(p)
        q["status"] = END_STATUS.get(pid, status)
        q["pos"] = POSITION_CHANGES.get(pid, pos)
        q["age"] = age + (1 if pid in BIRTHDAYS else 0)
        q["level"] = level + (0 if is_newcomer else change)
        q["value"] = value_of(q["level"], q["age"])
        q["stats"] = advance_stats(rng, p["stats"], pos, injured)
        q["skills"] = grown_skills(rng, p["skills"], change < 0)
        if pid in RENEWALS:
            q["contract"], bonus = RENEWALS[pid]
            q["salary"] = salary_of(q["level"], talent) + bonus
        elif pid in SALARY_FROZEN or is_newcomer:
            q["salary"] = p["salary"]
        else:
            q["salary"] = salary_of(q["level"], talent)

        if not is_newcomer:
            start.append(p)
        if pid != LEAVER_ID:
            end.append(q)

    # The export lists the squad by shirt number.
    start.sort(key=lambda p: p["number"])
    end.sort(key=lambda p: p["number"])
    return start, end


def player_line(n, p):
    s = p["stats"]
    return [n, p["id"], p["name"], p["country"], p["status"], p["pos"], p["age"], p["talent"],
            tenths(p["level"]), s["morale"], s["fitness"], s["games"], s["goals"], s["assists"],
            s["yellow"], s["red"], s["injury"], p["number"], p["contract"], p["salary"],
            p["value"], p["height"], p["weight"], p["foot"]]


def skills_line(n, p):
    return [n, p["id"], p["name"], p["pos"], p["age"]] + p["skills"]


def team_lines(players, which):
    lines = [["Показатель", "Значение"]]
    for caption, start_value, end_value in TEAM_ROWS:
        value = start_value if which == 0 else end_value
        if caption == "Стоимость состава":
            value = str(sum(p["value"] for p in players))
        elif caption == "Средний возраст":
            value = tenths(rounded_div(10 * sum(p["age"] for p in players), len(players)))
        elif caption == "Средний РУ":
            value = tenths(rounded_div(sum(p["level"] for p in players), len(players)))
        lines.append([caption, value])
    return lines


def structure_lines(which):
    lines = [["Строение", "Уровень", "Износ"]]
    for row in STRUCTURE_ROWS:
        lines.append([row[0], row[1 + 2 * which], row[2 + 2 * which]])
    return lines


def encode(lines):
    """Every line ends with ';' and CR LF, as the game writes them."""
    text = "".join(";".join(str(c) for c in line) + ";" + LINE_END for line in lines)
    return text.encode(ENCODING)


def snapshot_files(players, which):
    players_lines = [PLAYERS_HEADER] + [player_line(i + 1, p) for i, p in enumerate(players)]
    skills_lines = ([["№", "ИД", "Имя", "Поз", "Возр"] + [s[0] for s in SKILLS]]
                    + [skills_line(i + 1, p) for i, p in enumerate(players)]
                    + [[short, name] for short, name in SKILLS])
    return {
        PLAYERS_FILE: encode(players_lines),
        SKILLS_FILE: encode(skills_lines),
        TEAM_FILE: encode(team_lines(players, which)),
        STRUCTURE_FILE: encode(structure_lines(which)),
    }


def write_snapshot(name, files, date_time):
    folder = os.path.join(HERE, name)
    os.makedirs(folder, exist_ok=True)
    stamp = time.mktime(date_time + (0, 0, -1))
    for file_name in FILE_ORDER:
        path = os.path.join(folder, file_name)
        with open(path, "wb") as f:
            f.write(files[file_name])
        os.utime(path, (stamp, stamp))

    archive = os.path.join(HERE, name + ".zip")
    with zipfile.ZipFile(archive, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        for file_name in FILE_ORDER:
            info = zipfile.ZipInfo(file_name, date_time=date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            # Fixed "made by" system and attributes, whatever the host, so the
            # archive bytes do not depend on where the script runs.
            info.create_system = 0
            info.external_attr = 0x20   # MS-DOS archive bit
            z.writestr(info, files[file_name])


def check(start, end):
    """The properties the pair is meant to show; a failed one stops the script."""
    for players in (start, end):
        statuses = {p["status"] for p in players}
        assert statuses == {0, 1, 2, -1, -2}, statuses
        assert sum(1 for p in players if p["pos"] == "GK") == 2
        assert {p["pos"] for p in players} == set(POSITIONS)
        assert {p["talent"] for p in players} == {1, 2, 3, 4, 5}
        assert len({p["id"] for p in players}) == len(players)
        for p in players:
            assert all(1 <= v <= 99 for v in p["skills"])
            assert 15000 <= p["salary"] <= 250000, (p["name"], p["salary"])
            assert 500000 <= p["value"] <= 25000000, (p["name"], p["value"])
    start_ids = {p["id"] for p in start}
    end_ids = {p["id"] for p in end}
    assert start_ids - end_ids == {LEAVER_ID}
    assert end_ids - start_ids == {NEWCOMER[0]}


def main():
    start, end = build()
    check(start, end)
    write_snapshot("start", snapshot_files(start, 0), START_DATE)
    write_snapshot("end", snapshot_files(end, 1), END_DATE)
    return 0


if __name__ == "__main__":
    sys.exit(main())
