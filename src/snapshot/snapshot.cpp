#include "snapshot/snapshot.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "core/codepage.h"
#include "core/utf8.h"
#include "core/wildcard.h"

namespace cadrix {

namespace {

// The skills file ends with lines that describe the skills, not players.
constexpr int kSkillsTrailingLines = 24;

constexpr std::size_t kShortTeamLines = 15;
constexpr std::size_t kStructureLines = 8;

struct BuildingDefault {
    int row;
    std::string_view prefix;  // the first four characters of the building's line
    std::string_view line;
};

constexpr std::array<BuildingDefault, 6> kBuildings = {{
    {2, "Спор", "Спортивная База;0;0,00;"},
    {3, "Клуб", "Клубный центр;0;0,00;"},
    {4, "Трен", "Тренировочные поля;0;0,00;"},
    {5, "Меди", "Медицинский центр;0;0,00;"},
    {6, "Мага", "Магазин;0;0,00;"},
    {7, "ДЮСШ", "ДЮСШ;0;0,00;"},
}};

void SplitAll(const std::vector<std::string>& lines, std::size_t count, TextTable& table) {
    table.SetRowCount(std::max<int>(Snapshot::kMinRows, static_cast<int>(count)));
    // A field per ";" and its text without the ";": room for all of them at
    // once, so that a huge file is not copied while its table grows.
    std::size_t separators = 0;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) {
        separators += static_cast<std::size_t>(std::count(lines[i].begin(), lines[i].end(), ';'));
        bytes += lines[i].size();
    }
    table.Reserve(separators, bytes - separators);
    for (std::size_t i = 0; i < count; ++i)
        SplitLine(lines[i], table, static_cast<int>(i));
}

void ReadOne(std::vector<std::string>& lines, const std::filesystem::path& folder, std::string_view mask) {
    if (auto file = FindFirstMatching(folder, mask))
        lines = ReadLines(*file);
}

}  // namespace

void ResetSnapshot(Snapshot& s) {
    s.lbPlay.clear();
    s.lbPlay2.clear();
    s.lbTeam.clear();
    s.lbStruct.clear();
    for (TextTable* t : {&s.play, &s.play2, &s.team, &s.structure}) {
        t->SetRowCount(0);
        t->SetRowCount(Snapshot::kMinRows);
    }
}

namespace {

// Calls `fn` with every line of `text`: a line ends at CR LF, LF or CR; a last
// line without an end counts, a final line end adds no empty line. The next
// CR and the next LF are each looked for once, with memchr.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    auto next = [end](const char* from, char c) {
        const void* found = from < end ? std::memchr(from, c, static_cast<std::size_t>(end - from)) : nullptr;
        return found ? static_cast<const char*>(found) : end;
    };
    const char* start = begin;
    const char* cr = next(start, '\r');
    const char* lf = next(start, '\n');
    while (start < end) {
        if (cr < start)
            cr = next(start, '\r');
        if (lf < start)
            lf = next(start, '\n');
        const char* stop = std::min(cr, lf);
        fn(std::string_view(start, static_cast<std::size_t>(stop - start)));
        if (stop == end)
            break;
        start = stop + (stop == cr && stop + 1 == lf ? 2 : 1);
    }
}

}  // namespace

std::vector<std::string> SplitIntoLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file " + file.string());
    std::string bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw std::runtime_error("Cannot read file " + file.string());
    // Line ends are the same bytes in code page 1251 as in UTF-8, so the file
    // is decoded at once and then cut into lines, each of just its size.
    const std::string text = Cp1251ToUtf8(bytes);
    std::string().swap(bytes);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void SplitLine(std::string_view line, TextTable& table, int row) {
    int col = 0;
    std::size_t fieldStart = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != ';')
            continue;
        table.SetCell(col, row, line.substr(fieldStart, i - fieldStart));
        fieldStart = i + 1;
        if (i != 0)
            ++col;
    }
}

void RepairTeam(std::vector<std::string>& lines) {
    if (lines.size() != kShortTeamLines)
        return;
    lines.insert(lines.begin() + 3, "Чемпионат;<нет данных>;");
    lines.insert(lines.begin() + 4, "ИД Чемпионата;<нет данных>;");
}

void RepairStructure(std::vector<std::string>& lines) {
    if (lines.empty() || lines.size() >= kStructureLines)
        return;
    std::array<bool, kBuildings.size()> present{};
    for (const auto& line : lines) {
        const std::string prefix = LeftChars(line, 4);
        for (std::size_t b = 0; b < kBuildings.size(); ++b) {
            if (prefix == kBuildings[b].prefix)
                present[b] = true;
        }
    }
    for (std::size_t b = 0; b < kBuildings.size(); ++b) {
        if (present[b])
            continue;
        const auto row = static_cast<std::size_t>(kBuildings[b].row);
        // A list too short to hold the row (a header-only file, say) is
        // padded with empty lines first, so that the insertion can be made.
        if (lines.size() < row)
            lines.resize(row);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(row), std::string(kBuildings[b].line));
    }
}

void ReadSnapshotFiles(Snapshot& s, const std::filesystem::path& folder) {
    ReadOne(s.lbPlay, folder, kPlayersMask);
    ReadOne(s.lbPlay2, folder, kSkillsMask);
    ReadOne(s.lbTeam, folder, kTeamMask);
    RepairTeam(s.lbTeam);
    ReadOne(s.lbStruct, folder, kStructureMask);
}

void ReleaseLineLists(Snapshot& s) {
    for (auto* lines : {&s.lbPlay, &s.lbPlay2, &s.lbTeam, &s.lbStruct})
        std::vector<std::string>().swap(*lines);
}

void ApplyDecimalPointRule(Snapshot& s) {
    for (auto* lines : {&s.lbPlay, &s.lbTeam, &s.lbStruct}) {
        for (std::size_t i = 1; i < lines->size(); ++i)
            std::replace((*lines)[i].begin(), (*lines)[i].end(), '.', ',');
    }
}

void SplitSnapshot(Snapshot& s) {
    SplitAll(s.lbPlay, s.lbPlay.size(), s.play);
    const std::size_t skillRows = s.lbPlay2.size() > kSkillsTrailingLines ? s.lbPlay2.size() - kSkillsTrailingLines : 0;
    SplitAll(s.lbPlay2, skillRows, s.play2);
    SplitAll(s.lbTeam, s.lbTeam.size(), s.team);
    RepairStructure(s.lbStruct);
    SplitAll(s.lbStruct, s.lbStruct.size(), s.structure);
}

}  // namespace cadrix
