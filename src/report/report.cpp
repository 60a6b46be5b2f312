#include "report/report.h"

#include <algorithm>
#include <cstdio>

#include "core/utf8.h"
#include "report/json_writer.h"
#include "views/skills_page.h"

namespace cadrix {

namespace {

struct GridInfo {
    GridId id;
    const char* name;
    const char* title;
};

constexpr GridInfo kGrids[] = {
    {GridId::StringGrid1, "StringGrid1", "Клуб"},          {GridId::StringGrid2, "StringGrid2", "Инф-ра"},
    {GridId::StringGrid_nat, "StringGrid_nat", "Сборные"}, {GridId::StringGrid_pay, "StringGrid_pay", "Контракты"},
    {GridId::StringGrid_pr, "StringGrid_pr", "Номиналы"},  {GridId::StringGrid_ru, "StringGrid_ru", "РУ"},
    {GridId::StringGrid3, "StringGrid3", "Скиллы"},
};

const char* BackgroundName(Background b) {
    switch (b) {
    case Background::Grid: return nullptr;
    case Background::Favourable: return "favourable";
    case Background::Unfavourable: return "unfavourable";
    }
    return nullptr;
}

const char* AlignName(Align a) {
    switch (a) {
    case Align::Left: return "left";
    case Align::Center: return "center";
    case Align::Right: return "right";
    }
    return "left";
}

const char* ImageName(CellImage image) {
    switch (image) {
    case CellImage::None: return nullptr;
    case CellImage::Stars0: return "stars-0";
    case CellImage::Stars1: return "stars-1";
    case CellImage::Stars2: return "stars-2";
    case CellImage::Stars3: return "stars-3";
    case CellImage::Stars4: return "stars-4";
    case CellImage::Stars5: return "stars-5";
    case CellImage::StarsBlank: return "stars-blank";
    case CellImage::StatusOutline: return "status-outline";
    case CellImage::StatusGrey: return "status-grey";
    case CellImage::StatusGreen: return "status-green";
    case CellImage::StatusGold: return "status-gold";
    }
    return nullptr;
}

const char* ShapeName(ShapeColour c) {
    switch (c) {
    case ShapeColour::ButtonFace: return "button-face";
    case ShapeColour::Favourable: return "favourable";
    case ShapeColour::Unfavourable: return "unfavourable";
    }
    return "button-face";
}

std::string HexColour(const Rgb& c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

void WriteNullable(JsonWriter& w, const char* value) {
    if (value)
        w.String(value);
    else
        w.Null();
}

template <typename StyleOf>
void WriteStyledGrid(JsonWriter& w, const TextTable& grid, StyleOf styleOf) {
    w.BeginArray();
    for (int r = 0; r < grid.RowCount(); ++r) {
        w.BeginArray();
        for (int c = 0; c < grid.ColCount(); ++c) {
            const CellStyle style = styleOf(c, r);
            w.BeginObject();
            w.Key("text");
            w.String(grid.Cell(c, r));
            w.Key("bg");
            WriteNullable(w, BackgroundName(style.background));
            w.Key("fg");
            if (style.text)
                w.String(HexColour(*style.text));
            else
                w.Null();
            w.Key("align");
            w.String(AlignName(style.align));
            w.Key("image");
            WriteNullable(w, ImageName(style.image));
            w.EndObject();
        }
        w.EndArray();
    }
    w.EndArray();
}

void WriteTable(JsonWriter& w, const TextTable& table) {
    w.BeginArray();
    for (int r = 0; r < table.RowCount(); ++r) {
        w.BeginArray();
        for (const auto& cell : table.RowCells(r))
            w.String(cell);
        w.EndArray();
    }
    w.EndArray();
}

void WriteStrings(JsonWriter& w, const std::vector<std::string>& items) {
    w.BeginArray();
    for (const auto& s : items)
        w.String(s);
    w.EndArray();
}

}  // namespace

std::string JsonReport(const ReportInput& in) {
    const Comparison& cmp = *in.comparison;
    JsonWriter w;
    w.BeginObject();

    w.Key("labels");
    w.BeginObject();
    for (const char* name : {"labelTS1", "LabelOF", "labelTS2", "LabelNF"}) {
        w.Key(name);
        const auto it = in.choiceLabels.find(name);
        w.String(it == in.choiceLabels.end() ? "" : it->second);
    }
    for (const auto& name : Comparison::LabelNames()) {
        w.Key(name);
        w.String(cmp.Label(name));
    }
    w.EndObject();

    w.Key("shapes");
    w.BeginObject();
    for (const char* name : {"shapet3", "Shape19"}) {
        w.Key(name);
        w.String(ShapeName(cmp.Shape(name)));
    }
    w.EndObject();

    w.Key("grids");
    w.BeginObject();
    for (const auto& g : kGrids) {
        w.Key(g.name);
        WriteStyledGrid(w, cmp.Grid(g.id), [&](int c, int r) { return cmp.DrawCell(g.id, c, r); });
    }
    w.EndObject();

    w.Key("ComboBox3");
    WriteStrings(w, cmp.ComboBox3());
    w.Key("ListBox1");
    WriteStrings(w, cmp.ListBox1());

    if (in.withTables) {
        const Snapshot& s1 = cmp.StartSnapshot();
        const Snapshot& s2 = cmp.EndSnapshot();
        const std::pair<const char*, const TextTable*> tables[] = {
            {"sg1_play", &s1.play},        {"sg1_play2", &s1.play2},      {"sg1_team", &s1.team},
            {"sg1_struct", &s1.structure}, {"sg2_play", &s2.play},        {"sg2_play2", &s2.play2},
            {"sg2_team", &s2.team},        {"sg2_struct", &s2.structure}, {"Total_play1", &cmp.TotalPlay()},
        };
        for (const auto& [name, table] : tables) {
            w.Key(name);
            WriteTable(w, *table);
        }
    }

    w.Key("choices");
    w.BeginArray();
    for (const auto& choice : in.choices) {
        w.BeginObject();
        w.Key("index");
        w.Int(choice.index);
        w.Key("text");
        w.String(choice.text);
        w.Key("StringGrid3");
        WriteStyledGrid(w, choice.skills,
                        [&](int c, int r) { return DrawSkillsCell(choice.skills, choice.chooserText, c, r); });
        w.Key("ExInfoForm");
        w.BeginArray();
        for (int r = 0; r < DetailPanel::kRows; ++r) {
            w.BeginArray();
            w.String(DetailPanel::Captions()[static_cast<std::size_t>(r)]);
            w.String(choice.panel.values[static_cast<std::size_t>(r)]);
            w.EndArray();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();

    w.EndObject();
    return w.Text() + "\n";
}

namespace {

std::string Pad(const std::string& text, std::size_t width, Align align) {
    const std::size_t n = CodePointCount(text);
    if (n >= width)
        return text;
    const std::size_t gap = width - n;
    switch (align) {
    case Align::Right: return std::string(gap, ' ') + text;
    case Align::Center: return std::string(gap / 2, ' ') + text + std::string(gap - gap / 2, ' ');
    case Align::Left: break;
    }
    return text + std::string(gap, ' ');
}

const char* ImageMark(CellImage image) {
    switch (image) {
    case CellImage::Stars0: return "☆☆☆☆☆";
    case CellImage::Stars1: return "★☆☆☆☆";
    case CellImage::Stars2: return "★★☆☆☆";
    case CellImage::Stars3: return "★★★☆☆";
    case CellImage::Stars4: return "★★★★☆";
    case CellImage::Stars5: return "★★★★★";
    case CellImage::StatusOutline: return "☆";
    case CellImage::StatusGrey: return "✩";
    case CellImage::StatusGreen: return "✦";
    case CellImage::StatusGold: return "★";
    default: return nullptr;
    }
}

// Prints a grid as an aligned table; coloured cells are marked so that they
// read without colour too: "+" after a favourable cell, "!" after an
// unfavourable one (or shown in colour on a terminal).
template <typename StyleOf>
void PrintGrid(std::string& out, const TextTable& grid, StyleOf styleOf, bool colour) {
    std::vector<std::vector<std::string>> texts(static_cast<std::size_t>(grid.RowCount()));
    std::vector<std::vector<CellStyle>> styles(static_cast<std::size_t>(grid.RowCount()));
    std::vector<std::size_t> widths(static_cast<std::size_t>(grid.ColCount()), 0);
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c) {
            CellStyle style = styleOf(c, r);
            std::string text(grid.Cell(c, r));
            if (const char* mark = ImageMark(style.image))
                text = text.empty() ? mark : text + " " + mark;
            texts[r].push_back(text);
            styles[r].push_back(style);
            widths[c] = std::max(widths[c], CodePointCount(text));
        }
    }
    for (int r = 0; r < grid.RowCount(); ++r) {
        std::string line;
        for (int c = 0; c < grid.ColCount(); ++c) {
            const CellStyle& st = styles[r][c];
            std::string cell = Pad(texts[r][c], widths[c], st.align);
            const char* mark = st.background == Background::Favourable     ? "+"
                               : st.background == Background::Unfavourable ? "!"
                                                                           : " ";
            if (colour && st.background != Background::Grid)
                cell = (st.background == Background::Favourable ? "\x1b[42m" : "\x1b[41m") + cell + "\x1b[0m";
            line += (c ? " | " : "") + cell + (colour ? " " : mark);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + "\n";
    }
}

}  // namespace

std::string TextReport(const ReportInput& in, bool colour) {
    const Comparison& cmp = *in.comparison;
    std::string out;
    auto label = [&](const char* name) { return cmp.Label(name); };
    for (const char* name : {"labelTS1", "LabelOF", "labelTS2", "LabelNF"}) {
        const auto it = in.choiceLabels.find(name);
        if (it != in.choiceLabels.end() && !it->second.empty())
            out += it->second + (name[0] == 'l' ? "  " : "\n");
    }
    for (const auto& g : kGrids) {
        out += "\n== " + std::string(g.title) + " (" + g.name + ")\n";
        if (g.id == GridId::StringGrid2)
            out += "Строение | " + label("Label35") + ": Уровень, Разруш., % | " + label("Label36") +
                   ": Уровень, Разруш., % | Прогресс\n";
        if (g.id == GridId::StringGrid_nat)
            out += "Игрок | Поз. | " + label("Label1") + ": Возр., Стат., Гражданство | " + label("Label2") +
                   ": Возр., Стат., Гражданство\n";
        if (g.id == GridId::StringGrid_pay)
            out += "Игрок | Поз. | " + label("Label3") + ": Зарплата, Контракт | " + label("Label4") +
                   ": Зарплата, Контракт | Разница\n";
        if (g.id == GridId::StringGrid_ru)
            out += "Игрок | Тал. | Поз. | " + label("Label10") + ": Возраст, РУ | " + label("Label13") +
                   ": Возраст, РУ | Разница\n";
        PrintGrid(
            out, cmp.Grid(g.id), [&](int c, int r) { return cmp.DrawCell(g.id, c, r); }, colour);
        if (g.id == GridId::StringGrid_nat) {
            out += "Всего по статусам: " + label("LO1") + " " + label("LO2") + " " + label("LO3") + " " + label("LO4") +
                   " | " + label("LN1") + " " + label("LN2") + " " + label("LN3") + " " + label("LN4") + "\n";
        }
        if (g.id == GridId::StringGrid_pay)
            out += "Общая зарплата в ИД/Разница: " + label("kt1") + " | " + label("kt2") + " | " + label("kt3") + "\n";
        if (g.id == GridId::StringGrid_pr)
            out += "Общая стоимость игроков: " + label("tot1") + " | " + label("tot2") + " | " + label("tot3") + "\n";
    }
    for (const auto& choice : in.choices) {
        out += "\n== Скиллы: " + choice.text + "\n";
        PrintGrid(
            out, choice.skills, [&](int c, int r) { return DrawSkillsCell(choice.skills, choice.chooserText, c, r); },
            colour);
        out += "-- Подробная информация:\n";
        for (int r = 0; r < DetailPanel::kRows; ++r)
            out += DetailPanel::Captions()[static_cast<std::size_t>(r)] + ": " +
                   choice.panel.values[static_cast<std::size_t>(r)] + "\n";
    }
    return out;
}

}  // namespace cadrix
