#!/usr/bin/env python3
"""Reads the HTML, CSV, BBCode and Markdown exports of cadrix-report back and
compares them, cell by cell, with its JSON report of the same pair: the sample
pair and generated pairs with awkward texts (quotes, ampersands, tags,
separators of CSV, texts a spreadsheet would run as formulas, markup of
forums), missing values and codes the pages do not know.

Usage: check_exports.py CADRIX_REPORT SAMPLES_DIR
"""
import csv
import html.parser
import json
import os
import random
import re
import subprocess
import sys
import tempfile

REPORT, SAMPLES = sys.argv[1], sys.argv[2]

TAB_ORDER = ["StringGrid1", "StringGrid3", "StringGrid_ru", "StringGrid_pr", "StringGrid_pay", "StringGrid_nat",
             "StringGrid2"]
CSV_NAMES = {"StringGrid1": "club.csv", "StringGrid2": "infrastructure.csv", "StringGrid_nat": "national.csv",
             "StringGrid_pay": "contracts.csv", "StringGrid_pr": "values.csv", "StringGrid_ru": "real_level.csv"}
CAPTIONS_ABOVE = {"StringGrid2", "StringGrid_nat", "StringGrid_pay", "StringGrid_ru"}
# Header rows and columns of the grids, drawn in the button face.
FIXED = {"StringGrid1": (1, 1), "StringGrid2": (0, 1), "StringGrid_pr": (1, 0), "StringGrid3": (1, 0)}
PALETTES = {"designed": ("#BAF0B3", "#FFB0B0"), "colourblind": ("#9ECAE1", "#FDAE6B")}
GRID_BASE, BUTTON_FACE, GRID_TEXT = "#FFFFFF", "#EFEFEF", "#000000"
MARKS = {None: "", "favourable": "\u25b2", "unfavourable": "\u25bc"}
SUMMARY_KEYS = ["arrivals", "departures", "national", "real_level_rises", "real_level_falls", "skill_rises",
                "skill_falls", "money", "club", "buildings"]
SUMMARY_TITLES = ["Пришли в клуб", "Ушли из клуба", "Сборные", "Рост РУ", "Падение РУ", "Рост скиллов",
                  "Падение скиллов", "Зарплаты и стоимость", "Клуб", "Инфраструктура"]
# The columns the totals of a page stand under.
TOTALS_COLUMNS = {"StringGrid_pay": (["kt1", "kt2", "kt3"], [2, 4, 6]), "StringGrid_pr": (["tot1", "tot2", "tot3"],
                                                                                           [2, 3, 4])}
LEGEND = "\u25b2 — изменение к лучшему, \u25bc — к худшему"

failures = []


def expect(ok, where, message):
    if not ok:
        failures.append(f"{where}: {message}")
    return ok


def run(args):
    done = subprocess.run([REPORT] + args, capture_output=True, timeout=120)
    if done.returncode != 0:
        raise SystemExit(f"cadrix-report {' '.join(args)} failed: {done.stderr.decode()}")
    return done.stdout


# ---- Reading the HTML back.

class Cell:
    def __init__(self, tag, attrs):
        self.tag = tag
        self.classes = (attrs.get("class") or "").split()
        self.style = attrs.get("style") or ""
        self.colspan = int(attrs.get("colspan", "1"))
        self.rowspan = int(attrs.get("rowspan", "1"))
        self.text = ""
        self.mark = ""
        self.images = []


class ReportParser(html.parser.HTMLParser):
    """Collects the style sheet, the summary's items by group and, per page
    section, its tables (header and body rows of cells), headings and
    totals lines."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.css = ""
        self.summary = {}
        self.sections = {}
        self.order = []
        self.section = None
        self.group = None
        self.table = None
        self.part = None
        self.cell = None
        self.in_mark = False
        self.capture = None  # [tag, text] of a heading, list item or paragraph being read
        self.title = None
        self.headings = []  # h1 and h2 texts in order
        self.marks = None  # the legend's text and the classes of its spans
        self.spans = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag in ("title", "h1", "h2", "h3", "li", "p", "style"):
            self.capture = [tag, "", attrs]
        if tag == "span" and self.capture and self.capture[0] in ("p", "li"):
            self.spans.append(attrs.get("class"))
        if tag == "table":
            self.table = {"class": attrs.get("class"), "head": [], "body": []}
            self.sections[self.section]["tables"].append(self.table)
        elif tag in ("thead", "tbody"):
            self.part = "head" if tag == "thead" else "body"
        elif tag == "tr" and self.table is not None:
            self.table[self.part].append([])
        elif tag in ("td", "th") and self.table is not None:
            self.cell = Cell(tag, attrs)
            self.table[self.part][-1].append(self.cell)
        elif tag == "span" and self.cell is not None and attrs.get("class") == "m":
            self.in_mark = True
        elif tag == "img" and self.cell is not None:
            self.cell.images.append(attrs.get("class"))
            expect(attrs.get("src", "").startswith("data:image/png;base64,"), "img", "picture not inlined")

    def handle_endtag(self, tag):
        if tag == "table":
            self.table = None
        elif tag in ("td", "th"):
            self.cell = None
        elif tag == "span":
            self.in_mark = False
        if self.capture and self.capture[0] == tag:
            kind, text, attrs = self.capture
            self.capture = None
            if tag in ("h1", "h2"):
                self.headings.append(text)
            if tag == "style":
                self.css = text
            elif tag == "title":
                self.title = text
            elif tag == "p" and attrs.get("class") == "marks":
                self.marks = (text, self.spans[-2:])
            elif tag == "h2" and attrs.get("id") == "summary":
                pass
            elif tag == "h2":
                self.section = attrs["id"]
                self.order.append(self.section)
                self.sections[self.section] = {"tables": [], "headings": [], "totals": []}
            elif tag == "h3" and self.section is None:
                self.group = attrs["id"]
                self.summary[self.group] = []
            elif tag == "h3":
                self.sections[self.section]["headings"].append(text)
            elif tag in ("li", "p") and self.section is None and self.group:
                self.summary[self.group].append((tag, text))
            elif tag == "p" and self.section and attrs.get("class") == "totals":
                self.sections[self.section]["totals"].append(text)

    def handle_data(self, data):
        if self.capture:
            self.capture[1] += data
        if self.cell is not None:
            if self.in_mark:
                self.cell.mark += data
            else:
                self.cell.text += data


def style_rules(css):
    """The rules of the screen style sheet as (selectors, declarations), in order."""
    css = re.sub(r"@media print\s*\{(?:[^{}]*\{[^{}]*\})*[^{}]*\}", "", css)
    rules = []
    for selectors, body in re.findall(r"([^{}]+)\{([^{}]*)\}", css):
        decls = {}
        for decl in body.split(";"):
            if ":" in decl:
                name, value = decl.split(":", 1)
                decls[name.strip()] = value.strip()
        rules.append(([s.strip() for s in selectors.split(",")], decls))
    return rules


def resolved(rules, cell, prop):
    """A property of a cell after the style sheet (element, then element with
    class, later rules winning at equal specificity) and its inline style."""
    value, weight = None, -1
    for selectors, decls in rules:
        if prop not in decls:
            continue
        for sel in selectors:
            tag, _, cls = sel.partition(".")
            if tag != cell.tag or (cls and cls not in cell.classes):
                continue
            w = 1 if cls else 0
            if w >= weight:
                value, weight = decls[prop], w
    for decl in cell.style.split(";"):
        if ":" in decl and decl.split(":", 1)[0].strip() == prop:
            value = decl.split(":", 1)[1].strip()
    return value


def check_html_cell(where, rules, td, cell, fixed, palette):
    expect(td.tag == "td", where, f"a {td.tag} in the grid")
    expect(td.text == cell["text"], where, f"text {td.text!r}, JSON {cell['text']!r}")
    expect(td.mark == MARKS[cell["bg"]], where, f"mark {td.mark!r} for {cell['bg']}")
    favourable, unfavourable = palette
    background = {"favourable": favourable, "unfavourable": unfavourable}.get(
        cell["bg"], BUTTON_FACE if fixed else GRID_BASE)
    expect(resolved(rules, td, "background-color") == background, where,
           f"background {resolved(rules, td, 'background-color')}, expected {background}")
    text = cell["fg"] or GRID_TEXT
    expect(resolved(rules, td, "color") == text, where, f"text colour {resolved(rules, td, 'color')}, JSON {text}")
    expect(resolved(rules, td, "text-align") == cell["align"], where, f"alignment, JSON {cell['align']}")
    expect(td.images == ([cell["image"]] if cell["image"] else []), where, f"pictures {td.images}, JSON {cell['image']}")


def check_html_grid(where, rules, rows, grid, fixed, palette):
    if not expect(len(rows) == len(grid), where, f"{len(rows)} rows, JSON {len(grid)}"):
        return
    for r, (tr, row) in enumerate(zip(rows, grid)):
        if not expect(len(tr) == len(row), f"{where} row {r}", f"{len(tr)} cells, JSON {len(row)}"):
            continue
        for c, (td, cell) in enumerate(zip(tr, row)):
            check_html_cell(f"{where} [{r}][{c}]", rules, td, cell, r < fixed[0] or c < fixed[1], palette)


def report_title(doc):
    """Who and when, as every report names them."""
    club = doc["sg2_team"][1][1] if len(doc["sg2_team"]) > 1 and len(doc["sg2_team"][1]) > 1 else ""
    dates = f"{doc['labels']['Label1']} – {doc['labels']['Label2']}"
    return f"Итоги и сравнение: {club}, {dates}" if club else f"Итоги и сравнение: {dates}"


def check_html(name, page, doc, palette):
    parser = ReportParser()
    parser.feed(page)
    rules = style_rules(parser.css)
    title = report_title(doc)
    expect(parser.title == title and parser.headings[:1] == [title], name,
           f"title {parser.title!r}, heading {parser.headings[:1]}, expected {title!r}")
    expect(parser.headings[1].startswith("Итоги периода: ") if len(parser.headings) > 1 else False, name,
           f"summary heading {parser.headings[1:2]}")
    expect(parser.marks == (LEGEND, ["t f", "t u"]), name, f"legend {parser.marks}")
    expect(parser.order == TAB_ORDER, name, f"pages in the order {parser.order}")
    expect("@media print" in parser.css and "print-color-adjust: exact" in parser.css, name, "no print style sheet")
    expect("<script" not in page, name, "a script")
    labels = doc["labels"]
    for grid in TAB_ORDER:
        where = f"{name} {grid}"
        section = parser.sections.get(grid)
        if not expect(section is not None, where, "no section"):
            continue
        if grid == "StringGrid3":
            expect(section["headings"] == [c["text"] for c in doc["choices"]], where, "one heading per pick")
            tables = section["tables"]
            expect(len(tables) == 2 * len(doc["choices"]), where, "a skills table and a panel per pick")
            for i, choice in enumerate(doc["choices"][: len(tables) // 2]):
                check_html_grid(f"{where} pick {i}", rules, tables[2 * i]["body"], choice["StringGrid3"],
                                FIXED[grid], palette)
                panel = [[td.text for td in tr] for tr in tables[2 * i + 1]["body"]]
                expect(panel == choice["ExInfoForm"], f"{where} pick {i}", f"panel {panel}")
            continue
        table = section["tables"][0]
        # The grid's header rows repeat on every printed sheet with the captions above it.
        fixed_rows = [tr for tr in table["head"] if tr and tr[0].tag == "td"]
        check_html_grid(where, rules, fixed_rows + table["body"], doc["grids"][grid], FIXED.get(grid, (0, 0)), palette)
        head = [tr for tr in table["head"] if tr and tr[0].tag == "th"]
        if grid in CAPTIONS_ABOVE:
            spans = [sum(th.colspan for th in head[0]), len(head[1]) + sum(th.rowspan == 2 for th in head[0])]
            expect(spans == [len(doc["grids"][grid][0])] * 2 if doc["grids"][grid] else True, where,
                   f"caption lines over {spans} columns")
            dates = [th.text for th in head[0] if th.colspan > 1]
            expect(dates == [labels["Label1"], labels["Label2"]], where, f"date captions {dates}")
        else:
            expect(head == [], where, "captions above a grid that holds them")
    totals = {"StringGrid_pay": ["kt1", "kt2", "kt3"], "StringGrid_pr": ["tot1", "tot2", "tot3"],
              "StringGrid_nat": ["LO1", "LO2", "LO3", "LO4", "LN1", "LN2", "LN3", "LN4"]}
    for grid, names in totals.items():
        line = " ".join(parser.sections[grid]["totals"])
        expect(all(labels[n] in line for n in names), f"{name} {grid}", f"totals {line!r}")
    summary = doc["summary"]
    expect(list(parser.summary) == SUMMARY_KEYS, name, f"summary groups {list(parser.summary)}")
    for key in SUMMARY_KEYS:
        items = parser.summary.get(key, [])
        expected = 2 if key == "money" else len(summary[key])
        if expected == 0:
            expect(items == [("p", "нет")], f"{name} summary {key}", f"{items} for an empty group")
            continue
        expect(len(items) == expected and all(tag == "li" for tag, _ in items), f"{name} summary {key}",
               f"{items}, JSON {summary[key]}")
        for (tag, text), item in zip(items, summary[key] if key != "money" else []):
            first = item.get("name", item.get("caption"))
            expect(text.startswith(first), f"{name} summary {key}", f"{text!r} for {first!r}")


# ---- Reading the CSV back.

def whole(text):
    """A whole number as the pages read one, or None."""
    if re.fullmatch(r"[+-]?[0-9]+", text) and -2**31 <= int(text) < 2**31:
        return int(text)
    return None


def picture_number(doc, grid, r, c):
    if grid == "StringGrid2":
        table = doc["sg1_struct" if c == 1 else "sg2_struct"]
        level = table[r + 1][1] if r + 1 < len(table) and len(table[r + 1]) > 1 else ""
        return "" if whole(level) is None else str(whole(level))
    status = doc["Total_play1"][r + 1][13 if c == 3 else 14]
    return str(whole(status))


def read_csv(where, path):
    with open(path, "rb") as f:
        expect(f.read(3) == b"\xef\xbb\xbf", where, "no byte order mark")
    with open(path, encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, delimiter=";"))


NUMBER = re.compile(r"-?[0-9]+(,[0-9]+)?")
GROUPED = re.compile(r"-?[0-9]{1,3}(\.[0-9]{3})+(,[0-9]+)?")


def spreadsheet(text):
    """A cell as a spreadsheet in a Russian locale should get it: a page's
    number without its grouping points, a text that would run as a formula
    behind an apostrophe."""
    if NUMBER.fullmatch(text) or GROUPED.fullmatch(text):
        return text.replace(".", "")
    if text != "-" and text[:1] in ("=", "+", "-", "@", "\t", "\r"):
        return "'" + text
    return text


def check_numbers(where, rows, expected):
    """Every cell the page shows as a number reads as one: digits, one comma, a leading minus."""
    for r, (row, want) in enumerate(zip(rows, expected)):
        for c, (cell, shown) in enumerate(zip(row, want)):
            if NUMBER.fullmatch(shown) or GROUPED.fullmatch(shown):
                expect(NUMBER.fullmatch(cell) is not None, f"{where} [{r}][{c}]", f"{cell!r} for {shown!r}")


def check_totals_rows(where, grid, rest, doc, columns):
    labels = doc["labels"]
    expect(all(len(row) == columns for row in rest), where, f"totals rows not {columns} fields wide: {rest}")
    if grid in TOTALS_COLUMNS:
        names, at = TOTALS_COLUMNS[grid]
        expect(len(rest) == 1 and [rest[0][c] for c in at] == [spreadsheet(labels[n]) for n in names], where,
               f"totals row {rest}")
    elif grid == "StringGrid_nat":
        counts = [[row[3], row[6]] for row in rest[1:]]
        want = [[labels[f"LO{k}"].strip("()"), labels[f"LN{k}"].strip("()")] for k in range(1, 5)]
        expect(len(rest) == 5 and counts == want, where, f"status counters {rest}")
    else:
        expect(rest == [], where, f"rows after the grid: {rest}")


def summary_rows(summary):
    """summary.csv as the JSON summary says it should read."""
    rows = [["Раздел", "Игрок", "Позиция", "Было", "Стало", "Изменение"]]
    for key, title in zip(SUMMARY_KEYS, SUMMARY_TITLES):
        value = summary[key]
        if key == "money":
            rows += [[title, caption, ""] + value[part] for part, caption in
                     (("payroll", "Зарплата"), ("value", "Стоимость"))]
        elif not value:
            rows.append([title, "нет", "", "", "", ""])
        for item in value if key != "money" else []:
            get = lambda k: str(item.get(k, ""))
            if key in ("club", "buildings"):
                who = [get("caption") or get("name"), ""]
            else:
                who = [get("name"), get("position")]
            if key == "national":
                rows.append([title] + who + [get("from"), get("to"), ""])
            elif key.startswith("skill"):
                rows.append([title] + who + ["", "", get("sum")])
            else:
                rows.append([title] + who + [get("start"), get("end"), get("change")])
    return [[spreadsheet(cell) for cell in row] for row in rows]


def check_csv(name, folder, doc):
    labels = doc["labels"]
    for grid, file in CSV_NAMES.items():
        where = f"{name} {file}"
        rows = read_csv(where, os.path.join(folder, file))
        json_grid = doc["grids"][grid]
        if grid in CAPTIONS_ABOVE:
            head, rows = rows[0], rows[1:]
            dated = [caption for caption in head if caption.startswith((labels["Label1"], labels["Label2"]))]
            expect(len(head) == len(json_grid[0]) and len(dated) == {"StringGrid2": 4, "StringGrid_nat": 6}.get(grid, 4),
                   where, f"caption row {head}")
        shown = [[picture_number(doc, grid, r, c) if cell["image"] else cell["text"] for c, cell in enumerate(row)]
                 for r, row in enumerate(json_grid)]
        expected = [[spreadsheet(text) for text in row] for row in shown]
        expect(rows[: len(expected)] == expected, where,
               f"grid rows differ, first: {next((a, b) for a, b in zip(rows, expected + [None]) if a != b)}"
               if rows[: len(expected)] != expected else "")
        check_numbers(where, rows, shown)
        check_totals_rows(where, grid, rows[len(expected):], doc, len(json_grid[0]) if json_grid else 0)
    for choice in doc["choices"]:
        where = f"{name} skills-{choice['index']}.csv"
        rows = read_csv(where, os.path.join(folder, f"skills-{choice['index']}.csv"))
        expect(rows[0][1:] == [spreadsheet(choice["text"])], where, f"chooser line {rows[0]}")
        expect(rows[1:] == [[spreadsheet(cell["text"]) for cell in row] for row in choice["StringGrid3"]], where,
               "grid rows")
    expected = summary_rows(doc["summary"])
    rows = read_csv(f"{name} summary.csv", os.path.join(folder, "summary.csv"))
    expect(rows == expected, f"{name} summary.csv", f"{rows} against {expected}")


# ---- Reading the forum texts back.

def md_split(line):
    """The cells of a Markdown table line, its escapes undone."""
    cells, cell, escaped = [], "", False
    for ch in line.strip()[1:]:
        if escaped:
            cell, escaped = cell + ch, False
        elif ch == "\\":
            escaped = True
        elif ch == "|":
            cells.append(cell[1:-1] if cell.startswith(" ") and cell.endswith(" ") else cell)
            cell = ""
        else:
            cell += ch
    return cells


def md_unescape(text):
    return re.sub(r"\\(.)", r"\1", text)


def forum_tables(text, markup):
    """Each table as a list of rows of cells, in order; a BBCode cell keeps its colour tag."""
    tables = []
    if markup == "bbcode":
        for block in re.findall(r"\[table\]\n(.*?)\[/table\]", text, re.S):
            rows = [re.findall(r"\[td\](.*?)\[/td\]", line) for line in block.splitlines()]
            tables.append([[re.sub(r"^\[b\](.*)\[/b\]$", r"\1", cell.replace("\u200b", "")) for cell in row]
                           for row in rows])
        return tables
    current = None
    for line in text.splitlines():
        if line.startswith("|"):
            if current is None:
                current = []
                tables.append(current)
            current.append(md_split(line))
        else:
            current = None
    return [[table[0]] + table[2:] for table in tables]  # the rule under the header left out


def forum_cell(cell, markup, palette):
    """A JSON cell as the forum text should show it."""
    text = MARKS[cell["bg"]] + cell["text"]
    if markup == "bbcode" and cell["bg"]:
        return f"[color={palette[0] if cell['bg'] == 'favourable' else palette[1]}]{text}[/color]"
    return text


def check_forum_table(where, rows, grid, markup, palette):
    if not expect(len(rows) >= len(grid), where, f"{len(rows)} rows for {len(grid)}"):
        return
    for r, (row, cells) in enumerate(zip(rows, grid)):
        want = [None if cell["image"] else forum_cell(cell, markup, palette) for cell in cells]
        got = [None if w is None else c for c, w in zip(row, want)]
        expect(len(row) == len(cells) and got == want, f"{where} row {r}", f"{row} against {want}")


def check_forum(name, text, doc, markup, palette):
    heading = text.splitlines()[0]
    title = report_title(doc)
    expect(heading == (f"[b]{title}[/b]" if markup == "bbcode" else f"# {title}")
           or md_unescape(heading) == f"# {title}", f"{name} {markup}", f"heading {heading!r}")
    if markup == "bbcode":
        captions = re.findall(r"^\[b\](.*)\[/b\]$", text, re.M)
    else:
        captions = ["", ""] + [md_unescape(c) for c in re.findall(r"^### (.*)$", text, re.M)]
    expect(captions[2:2 + len(SUMMARY_TITLES)] == SUMMARY_TITLES, f"{name} {markup}", f"summary groups {captions}")
    tables = forum_tables(text, markup)
    order = [("StringGrid1", None)] + [("pick", c) for c in doc["choices"]] + [(g, None) for g in TAB_ORDER[2:]]
    expected_tables = sum(2 if g == "pick" else 1 for g, _ in order)
    if not expect(len(tables) == expected_tables, f"{name} {markup}", f"{len(tables)} tables"):
        return
    for grid, choice in order:
        where = f"{name} {markup} {grid}"
        if grid == "pick":
            skills, panel = tables.pop(0), tables.pop(0)
            check_forum_table(where, skills, choice["StringGrid3"], markup, palette)
            expect([row for row in panel[1:]] == choice["ExInfoForm"], where, f"panel {panel}")
            continue
        table = tables.pop(0)
        check_forum_table(where, table if grid not in CAPTIONS_ABOVE else table[1:], doc["grids"][grid], markup,
                          palette)


# ---- Generated pairs.

NAMES = ["Иван \"Молот\" Петров", "Д'Артаньян & Ко", "<b>Жирный</b> Шрифт", "Сидоров Олег", "O'Нил;", "Ёж",
         "Пётр, \"Младший\"", "Кузнецов Артём", "Иванов Иван", "Смирнов &amp; Павел",
         "=HYPERLINK(\"http://example.invalid\")", "@SUM(1+1)*cmd|' /C calc'!A0", "+7 Плюс", "-Минус",
         "[b]Тег[/b] | *звезда*"]
POSITIONS = ["GK", "LD", "CD", "RD", "LM", "CM", "RM", "FW"]
PLAYERS_HEADER = ("№;ИД;Имя;Гражданство;Сборная;Позиция;Возраст;Талант;РУ;Мораль;Форма;Игры;Голы;Пасы;ЖК;КК;Травма;"
                  "Номер;Контракт;Зарплата;Стоимость;Рост;Вес;Нога;")


def write_export(folder, players, skills, team, structure):
    os.makedirs(folder)

    def write(name, lines):
        with open(os.path.join(folder, name), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("cp1251"))

    write("gen_players.csv", [PLAYERS_HEADER] + players)
    write("gen_players_skills.csv", ["№;ИД;Имя;Поз;Возр;"] + skills + [f"Навык {k};описание;" for k in range(24)])
    write("gen_team.csv", ["Показатель;Значение;"] + team)
    write("gen_structure.csv", ["Строение;Уровень;Износ;"] + structure)


def generate_pair(root, rng):
    """Two exports of one squad: some players leave, some arrive, and the
    values, statuses and skills move, now and then to texts that are no
    numbers."""
    ids = rng.sample(range(1, 500), rng.randint(3, 30))
    def player(n, pid):
        name = rng.choice(NAMES).replace(";", ",") + " " + str(pid)
        level = rng.choice([f"{rng.randint(30, 80)}.{rng.randint(0, 9)}", str(rng.randint(30, 80)), "", "н/д"])
        return ";".join([str(n), str(pid), name, "Россия", rng.choice(["0", "1", "2", "-1", "-2", "-3", "3", "x"]),
                         rng.choice(POSITIONS * 4 + ["XX"]), str(rng.randint(17, 35)), str(rng.randint(0, 6)), level,
                         "60", "80", "5", "0", "0", "0", "0", "0", str(n), "2 сезона",
                         rng.choice([str(rng.randint(0, 200000)), "abc"]), str(rng.randint(0, 9000000)),
                         "180", "75", "правая"]) + ";"

    def skills_line(n, pid):
        return ";".join([str(n), str(pid), "x", "CD", "25"] +
                        [rng.choice([str(rng.randint(1, 99))] * 12 + ["4.5", ""]) for _ in range(24)]) + ";"

    def team():
        return [f"Строка {r};" + rng.choice([str(rng.randint(0, 10**8)), f"{rng.randint(1, 99)}.{rng.randint(0, 9)}",
                                             "<нет данных>", "12.5"]) + ";" for r in range(1, 17)]

    def structure():
        names = ["Стадион", "Спортивная База", "Клубный центр", "Тренировочные поля", "Медицинский центр",
                 "Магазин", "ДЮСШ"]
        return [f"{b};" + (str(rng.randint(20000, 40000)) if i == 0 else rng.choice([str(rng.randint(0, 6)), "x"]))
                + f";{rng.randint(0, 99)}.{rng.randint(0, 99):02d};" for i, b in enumerate(names)]

    start_ids = [i for i in ids if rng.random() < 0.85]
    end_ids = [i for i in ids if i not in start_ids or rng.random() < 0.8]
    for side, side_ids in (("start", start_ids), ("end", end_ids)):
        rng.shuffle(side_ids)
        players = [player(n + 1, pid) for n, pid in enumerate(side_ids)]
        skills = [skills_line(n + 1, pid) for n, pid in enumerate(side_ids) if rng.random() < 0.9]
        write_export(os.path.join(root, side), players, skills, team(), structure())
    return os.path.join(root, "start"), os.path.join(root, "end")


def check_pair(name, start, end, work, palette, via_stdout):
    common = [start, end]
    doc = json.loads(run(["--format", "json", "--summary", "--tables", "--choose", "all"] + common))
    picks = ["--choose", "all"]
    page_file = os.path.join(work, name + ".html")
    if via_stdout:
        page = run(["--format", "html", "--palette", palette] + picks + common).decode("utf-8")
    else:
        run(["--format", "html", "--palette", palette, "--output", page_file] + picks + common)
        with open(page_file, encoding="utf-8") as f:
            page = f.read()
    check_html(name, page, doc, PALETTES[palette])
    for markup in ("bbcode", "markdown"):
        check_forum(name, run(["--format", markup, "--palette", palette] + picks + common).decode("utf-8"), doc,
                    markup, PALETTES[palette])
    folder = os.path.join(work, name + "-csv")
    run(["--format", "csv", "--output", folder] + picks + common)
    check_csv(name, folder, doc)
    expect(sorted(os.listdir(folder)) == sorted(list(CSV_NAMES.values()) + ["summary.csv"] +
                                                [f"skills-{c['index']}.csv" for c in doc["choices"]]),
           name, f"files {sorted(os.listdir(folder))}")


def check_terminal_colours():
    """On a terminal the text report shows the palette's colours."""
    for palette, (favourable, unfavourable) in PALETTES.items():
        reader, writer = os.openpty()
        process = subprocess.Popen([REPORT, "--palette", palette, os.path.join(SAMPLES, "start"),
                                    os.path.join(SAMPLES, "end")], stdout=writer, stderr=subprocess.DEVNULL)
        os.close(writer)
        out = b""
        try:
            while chunk := os.read(reader, 65536):
                out += chunk
        except OSError:  # the terminal is gone once the program has ended
            pass
        os.close(reader)
        status = process.wait(timeout=120)
        for colour in (favourable, unfavourable):
            escape = "\x1b[30;48;2;{};{};{}m".format(*(int(colour[i:i + 2], 16) for i in (1, 3, 5)))
            expect(status == 0 and escape.encode() in out, f"terminal {palette}", f"no {escape!r}")


def main():
    check_terminal_colours()
    rng = random.Random(13)
    with tempfile.TemporaryDirectory() as work:
        pairs = [("sample", os.path.join(SAMPLES, "start"), os.path.join(SAMPLES, "end"))]
        for i in range(6):
            pairs.append((f"generated{i}",) + generate_pair(os.path.join(work, f"pair{i}"), rng))
        for i, (name, start, end) in enumerate(pairs):
            check_pair(name, start, end, work, "colourblind" if i % 2 else "designed", via_stdout=i % 3 == 2)
    for failure in failures[:40]:
        print(failure)
    if failures:
        print(f"{len(failures)} mismatches")
        return 1
    print(f"HTML, CSV, BBCode and Markdown match the JSON report on {len(pairs)} pairs")
    return 0


if __name__ == "__main__":
    sys.exit(main())
