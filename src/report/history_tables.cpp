#include "report/history_tables.h"

#include <algorithm>
#include <ostream>

#include "core/utf8.h"
#include "export/csv_report.h"
#include "export/json_writer.h"

namespace cadrix {

namespace {

const char* const kRealLevel = "Реальный уровень";
const char* const kSkillsSum = "Сумма умений";

void Field(JsonWriter& w, const char* key, std::string_view text) {
    w.Key(key);
    w.String(text);
}

void Value(JsonWriter& w, const std::optional<double>& value) {
    if (value)
        w.Number(*value);
    else
        w.Null();
}

// [start, end, change, per week], null where unknown.
void GrowthArray(JsonWriter& w, const char* key, const Growth& g) {
    w.Key(key);
    w.BeginArray();
    for (const auto* v : {&g.startValue, &g.endValue, &g.changeValue, &g.perWeekValue})
        Value(w, *v);
    w.EndArray();
}

std::string Dash(const std::string& text) { return text.empty() ? "—" : text; }

// "Реальный уровень: 64,1 → 66,3, +2,2 за 70 дн., 0,2 в неделю".
std::string GrowthLine(const char* caption, const Growth& g, std::int64_t days) {
    std::string line = std::string(caption) + ": " + Dash(g.start) + " → " + Dash(g.end) + ", изменение " +
                       Dash(g.change) + " за " + std::to_string(days) + " дн., в неделю " + Dash(g.perWeek);
    return line;
}

void PrintCsv(std::ostream& out, const std::vector<std::vector<std::string>>& rows) { out << CsvText(rows); }

void PlayerJson(std::ostream& out, const PlayerTable& table) {
    JsonWriter w;
    w.BeginObject();
    Field(w, "id", table.playerId);
    Field(w, "name", table.name);
    w.Key("series");
    w.BeginArray();
    const auto& captions = PlayerTableCaptions();
    static const char* const kKeys[] = {"date", "club", "position", "age", "real_level", "value", "salary"};
    for (const PlayerTableRow& row : table.rows) {
        w.BeginObject();
        w.Key("snapshot");
        w.Int(row.snapshot);
        const std::size_t skills = ColumnIndex(PlayerColumn::FirstSkill);
        for (std::size_t c = 0; c < skills; ++c)
            Field(w, kKeys[c], row.cells[c]);
        w.Key("skills");
        w.BeginObject();
        for (std::size_t c = skills; c < kPlayerTableColumns; ++c)
            Field(w, captions[c].c_str(), row.cells[c]);
        w.EndObject();
        w.EndObject();
    }
    w.EndArray();
    const PlayerGrowth& g = table.growth;
    w.Key("growth");
    w.BeginObject();
    Field(w, "from", g.from);
    Field(w, "to", g.to);
    w.Key("days");
    w.Int(g.days);
    GrowthArray(w, "real_level", g.realLevel);
    GrowthArray(w, "skills_sum", g.skillsSum);
    w.EndObject();
    w.EndObject();
    out << w.Text() << "\n";
}

std::vector<std::string> ImproverCaptions(const Improvers& r) {
    std::vector<std::string> captions = {"ИД", "Имя", "Позиция"};
    for (const char* figure : {kRealLevel, kSkillsSum}) {
        const std::string f = figure;
        captions.insert(captions.end(), {f + " " + r.from.date, f + " " + r.to.date, f + ": изменение",
                                         f + ": в неделю"});
    }
    return captions;
}

std::vector<std::string> ImproverRow(const Improver& p) {
    return {p.playerId,          p.name,          p.position,         p.realLevel.start,  p.realLevel.end,
            p.realLevel.change,  p.realLevel.perWeek, p.skillsSum.start, p.skillsSum.end, p.skillsSum.change,
            p.skillsSum.perWeek};
}

void ImproversJson(std::ostream& out, const Improvers& r) {
    JsonWriter w;
    w.BeginObject();
    Field(w, "club", r.to.club);
    Field(w, "from", r.from.date);
    Field(w, "to", r.to.date);
    w.Key("days");
    w.Int(r.days);
    w.Key("players");
    w.BeginArray();
    for (const Improver& p : r.byRealLevel) {
        w.BeginObject();
        Field(w, "id", p.playerId);
        Field(w, "name", p.name);
        Field(w, "position", p.position);
        GrowthArray(w, "real_level", p.realLevel);
        GrowthArray(w, "skills_sum", p.skillsSum);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    out << w.Text() << "\n";
}

}  // namespace

void PrintColumns(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], CodePointCount(row[c]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += (c ? " | " : "") + row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - CodePointCount(row[c]), ' ');
        }
        out << line << "\n";
    }
}

void PrintPlayerTable(std::ostream& out, const PlayerTable& table, TableFormat format) {
    switch (format) {
    case TableFormat::Csv: PrintCsv(out, PlayerTableGrid(table)); return;
    case TableFormat::Json: PlayerJson(out, table); return;
    case TableFormat::Text: break;
    }
    out << table.playerId << " " << table.name << "\n";
    PrintColumns(out, PlayerTableGrid(table));
    const PlayerGrowth& g = table.growth;
    out << "\n" << g.from << " – " << g.to << "\n";
    out << GrowthLine(kRealLevel, g.realLevel, g.days) << "\n";
    out << GrowthLine(kSkillsSum, g.skillsSum, g.days) << "\n";
}

void PrintImprovers(std::ostream& out, const Improvers& r, TableFormat format) {
    std::vector<std::vector<std::string>> rows = {ImproverCaptions(r)};
    switch (format) {
    case TableFormat::Json: ImproversJson(out, r); return;
    case TableFormat::Csv:
        for (const Improver& p : r.byRealLevel)
            rows.push_back(ImproverRow(p));
        PrintCsv(out, rows);
        return;
    case TableFormat::Text: break;
    }
    out << r.to.club << ": " << r.from.date << " – " << r.to.date << ", " << r.days << " дн.\n";
    for (const auto& [title, list] : {std::pair{kRealLevel, &r.byRealLevel}, std::pair{kSkillsSum, &r.bySkillsSum}}) {
        out << "\nПо изменению за неделю: " << title << "\n";
        rows.resize(1);
        for (const Improver& p : *list)
            rows.push_back(ImproverRow(p));
        PrintColumns(out, rows);
    }
}

}  // namespace cadrix
