#include "export/report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "core/utf8.h"
#include "export/json_writer.h"
#include "export/summary_json.h"
#include "views/page_text.h"
#include "views/skills_page.h"

namespace cadrix {

namespace {

// How the report names a picture (JSON) and prints it (text); none for no
// picture, and no mark for a blank strip.
struct PictureWords {
    const char* name;
    const char* mark;
};
constexpr std::array<PictureWords, static_cast<std::size_t>(CellImage::StatusGold) + 1> kPictureWords = {{
    {nullptr, nullptr},
    {"stars-0", "☆☆☆☆☆"},
    {"stars-1", "★☆☆☆☆"},
    {"stars-2", "★★☆☆☆"},
    {"stars-3", "★★★☆☆"},
    {"stars-4", "★★★★☆"},
    {"stars-5", "★★★★★"},
    {"stars-blank", nullptr},
    {"status-outline", "☆"},
    {"status-grey", "✩"},
    {"status-green", "✦"},
    {"status-gold", "★"},
}};

const PictureWords& WordsOf(CellImage image) {
    const auto i = static_cast<std::size_t>(image);
    return kPictureWords[i < kPictureWords.size() ? i : 0];
}

using NamedTexts = std::vector<std::pair<std::string, std::string>>;

// The comparison's captions and totals under the names of the window's
// labels, in the order of the JSON contract.
NamedTexts LabelTexts(const ComparisonResult& result) {
    const std::string& start = result.startDate;
    const std::string& end = result.endDate;
    NamedTexts labels = {{"Label1", start},  {"Label2", end},  {"Label3", start},  {"Label4", end},
                         {"Label35", start}, {"Label36", end}, {"Label10", start}, {"Label13", end}};
    for (std::size_t i = 0; i < kNationalStatusCount; ++i)
        labels.emplace_back("LO" + std::to_string(i + 1), CounterText(result.national.start[i]));
    for (std::size_t i = 0; i < kNationalStatusCount; ++i)
        labels.emplace_back("LN" + std::to_string(i + 1), CounterText(result.national.end[i]));
    for (const auto& [prefix, line] : {std::pair{"kt", &result.payroll}, std::pair{"tot", &result.values}}) {
        labels.emplace_back(prefix + std::string("1"), line->start);
        labels.emplace_back(prefix + std::string("2"), line->end);
        labels.emplace_back(prefix + std::string("3"), line->change);
    }
    return labels;
}

// A shape's fill by the name of its background; the button face by its own.
const char* ShapeName(ShapeColour c) {
    const char* background = BackgroundName(ShapeBackground(c));
    return background ? background : "button-face";
}

NamedTexts ShapeTexts(const ComparisonResult& result) {
    return {{"shapet3", ShapeName(result.payroll.shape)}, {"Shape19", ShapeName(result.values.shape)}};
}

const char* AlignName(Align a) {
    switch (a) {
    case Align::Left: return "left";
    case Align::Center: return "center";
    case Align::Right: return "right";
    }
    return "left";
}

void WriteNullable(JsonWriter& w, const char* value) {
    if (value)
        w.String(value);
    else
        w.Null();
}

void WriteCell(JsonWriter& w, std::string_view text, const CellStyle& style) {
    w.BeginObject();
    w.Key("text");
    w.String(text);
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

template <typename StyleOf>
void WriteStyledGrid(JsonWriter& w, const TextTable& grid, StyleOf styleOf) {
    w.BeginArray();
    for (int r = 0; r < grid.RowCount(); ++r) {
        w.BeginArray();
        for (int c = 0; c < grid.ColCount(); ++c)
            WriteCell(w, grid.Cell(c, r), styleOf(c, r));
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

void WriteObject(JsonWriter& w, const NamedTexts& members) {
    w.BeginObject();
    for (const auto& [name, text] : members) {
        w.Key(name);
        w.String(text);
    }
    w.EndObject();
}

// The archive rows under the names of the window's labels.
NamedTexts ChoiceLabels(const ReportInput& in) {
    const auto& [start, end] = in.archives;
    return {{"labelTS1", start.file}, {"LabelOF", start.date}, {"labelTS2", end.file}, {"LabelNF", end.date}};
}

void WriteGrids(JsonWriter& w, const Comparison& cmp) {
    w.BeginObject();
    for (const GridInfo& g : kGrids) {
        w.Key(g.name);
        WriteStyledGrid(w, cmp.Grid(g.id), [&](int c, int r) { return cmp.DrawCell(g.id, c, r); });
    }
    w.EndObject();
}

void WriteDataTables(JsonWriter& w, const Comparison& cmp) {
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

void WriteChoice(JsonWriter& w, const ChoiceRecord& choice) {
    w.BeginObject();
    w.Key("index");
    w.Int(choice.index);
    w.Key("text");
    w.String(choice.text);
    w.Key("StringGrid3");
    WriteStyledGrid(w, choice.skills, [&](int c, int r) { return DrawSkillsCell(choice.skills, choice.text, c, r); });
    w.Key("ExInfoForm");
    w.BeginArray();
    for (std::size_t r = 0; r < DetailPanel::kRows; ++r)
        WriteStrings(w, {DetailPanel::Captions()[r], choice.panel.values[r]});
    w.EndArray();
    w.EndObject();
}

}  // namespace

std::string HexColour(const Rgb& c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

const char* BackgroundName(Background b) {
    switch (b) {
    case Background::Grid: return nullptr;
    case Background::Favourable: return "favourable";
    case Background::Unfavourable: return "unfavourable";
    }
    return nullptr;
}

const char* ImageName(CellImage image) { return WordsOf(image).name; }

void WriteJsonReport(const ReportInput& in, OutputSink& out) {
    const Comparison& cmp = *in.comparison;
    JsonWriter w(out);
    w.BeginObject();
    NamedTexts labels = ChoiceLabels(in);
    for (auto& label : LabelTexts(cmp.Result()))
        labels.push_back(std::move(label));
    w.Key("labels");
    WriteObject(w, labels);
    w.Key("shapes");
    WriteObject(w, ShapeTexts(cmp.Result()));
    w.Key("grids");
    WriteGrids(w, cmp);
    w.Key("ComboBox3");
    WriteStrings(w, cmp.ComboBox3());
    w.Key("ListBox1");
    WriteStrings(w, cmp.ListBox1());
    if (in.withTables)
        WriteDataTables(w, cmp);
    w.Key("choices");
    w.BeginArray();
    for (const auto& choice : in.choices)
        WriteChoice(w, choice);
    w.EndArray();
    if (in.summary) {
        w.Key("summary");
        WriteSummaryJson(w, *in.summary);
    }
    w.EndObject();
    w.Flush();
    out.Write("\n");
}

std::string JsonReport(const ReportInput& in) {
    StringSink sink;
    WriteJsonReport(in, sink);
    return sink.Text();
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

// One printed cell: "+" after a favourable cell, "!" after an unfavourable
// one, so that they read without colour too; on a terminal (`palette` given)
// they are shown in the palette's colours instead, in black text.
std::string PrintedCell(const std::string& text, const CellStyle& style, std::size_t width, const Palette* palette) {
    std::string cell = Pad(text, width, style.align);
    if (palette) {
        if (const auto rgb = BackgroundColour(*palette, style.background))
            cell = "\x1b[30;48;2;" + std::to_string(rgb->r) + ";" + std::to_string(rgb->g) + ";" +
                   std::to_string(rgb->b) + "m" + cell + "\x1b[0m";
        return cell + " ";
    }
    switch (style.background) {
    case Background::Favourable: return cell + "+";
    case Background::Unfavourable: return cell + "!";
    case Background::Grid: break;
    }
    return cell + " ";
}

// A cell's printed text: a picture as its marks after the text.
std::string CellText(std::string_view text, const CellStyle& style) {
    const char* mark = WordsOf(style.image).mark;
    if (!mark)
        return std::string(text);
    return text.empty() ? std::string(mark) : std::string(text) + " " + mark;
}

// Prints a grid as an aligned table. The columns are measured in a first pass
// and the lines written in a second, so that a large grid is never held as
// text twice.
template <typename StyleOf>
void PrintGrid(OutputSink& out, const TextTable& grid, StyleOf styleOf, const Palette* palette) {
    std::vector<std::size_t> widths(static_cast<std::size_t>(grid.ColCount()), 0);
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c)
            widths[static_cast<std::size_t>(c)] =
                std::max(widths[static_cast<std::size_t>(c)], CodePointCount(CellText(grid.Cell(c, r), styleOf(c, r))));
    }
    std::string line;
    for (int r = 0; r < grid.RowCount(); ++r) {
        line.clear();
        for (int c = 0; c < grid.ColCount(); ++c) {
            const CellStyle style = styleOf(c, r);
            line += (c ? " | " : "") +
                    PrintedCell(CellText(grid.Cell(c, r), style), style, widths[static_cast<std::size_t>(c)], palette);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        line += '\n';
        out.Write(line);
    }
}

// The caption lines above a grid in one line, each date caption followed by
// the captions under it.
std::string CaptionLine(GridId id, const ComparisonResult& r) {
    const std::vector<HeaderRow> rows = CaptionsAbove(id, r);
    if (rows.empty())
        return "";
    std::string line;
    std::size_t col = 0;
    for (const HeaderCell& cell : rows[0]) {
        line += (col ? " | " : "") + cell.text;
        if (cell.span > 1) {
            line += ": ";
            for (std::size_t i = 0; i < static_cast<std::size_t>(cell.span); ++i)
                line += (i ? ", " : "") + rows[1][col + i].text;
        }
        col += static_cast<std::size_t>(cell.span);
    }
    return line + "\n";
}

// The totals line under a grid.
std::string TotalsText(GridId id, const ComparisonResult& r) {
    const auto totals = TotalsBelow(id, r);
    if (!totals)
        return "";
    std::string line = totals->caption + " ";
    for (std::size_t g = 0; g < totals->groups.size(); ++g) {
        line += g ? " | " : "";
        for (std::size_t i = 0; i < totals->groups[g].size(); ++i)
            line += (i ? " " : "") + totals->groups[g][i].text;
    }
    return line + "\n";
}

}  // namespace

void WriteTextReport(const ReportInput& in, bool colour, OutputSink& out) {
    const Comparison& cmp = *in.comparison;
    const Palette* palette = colour ? &PaletteOf(in.palette) : nullptr;
    for (const auto& [name, text] : ChoiceLabels(in)) {
        if (!text.empty())
            out.Write(text + (name[0] == 'l' ? "  " : "\n"));
    }
    if (in.summary)
        out.Write("\n" + SummaryText(*in.summary));
    for (const GridInfo& g : kGrids) {
        out.Write("\n== " + std::string(g.caption) + " (" + std::string(g.name) + ")\n");
        out.Write(CaptionLine(g.id, cmp.Result()));
        PrintGrid(
            out, cmp.Grid(g.id), [&](int c, int r) { return cmp.DrawCell(g.id, c, r); }, palette);
        out.Write(TotalsText(g.id, cmp.Result()));
    }
    for (const auto& choice : in.choices) {
        out.Write("\n== Скиллы: " + choice.text + "\n");
        PrintGrid(
            out, choice.skills, [&](int c, int r) { return DrawSkillsCell(choice.skills, choice.text, c, r); },
            palette);
        out.Write("-- Подробная информация:\n");
        for (std::size_t r = 0; r < DetailPanel::kRows; ++r)
            out.Write(DetailPanel::Captions()[r] + ": " + choice.panel.values[r] + "\n");
    }
}

std::string TextReport(const ReportInput& in, bool colour) {
    StringSink sink;
    WriteTextReport(in, colour, sink);
    return sink.Text();
}

}  // namespace cadrix
