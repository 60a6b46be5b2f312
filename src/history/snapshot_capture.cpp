#include "history/snapshot_capture.h"

#include <sys/stat.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

#include "core/wildcard.h"
#include "history/sha256.h"
#include "import/archive_choice.h"
#include "snapshot/snapshot.h"

namespace cadrix {

namespace {

struct RoleMask {
    StoredFileRole role;
    std::string_view mask;
};

// The files a load reads, found by the same masks.
constexpr RoleMask kRoleMasks[] = {
    {StoredFileRole::Players, kPlayersMask},
    {StoredFileRole::Skills, kSkillsMask},
    {StoredFileRole::Team, kTeamMask},
    {StoredFileRole::Structure, kStructureMask},
};

// Best compression: a snapshot is stored once and read rarely.
constexpr int kCompressionLevel = 9;

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file " + file.string());
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw std::runtime_error("Cannot read file " + file.string());
    return bytes;
}

std::time_t ModificationTime(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        throw std::runtime_error("Cannot open file " + file.string());
    return st.st_mtime;
}

std::vector<CapturedFile> ReadFiles(const std::filesystem::path& folder) {
    std::vector<CapturedFile> files;
    for (const auto& [role, mask] : kRoleMasks) {
        const auto path = FindFirstMatching(folder, mask);
        if (!path)
            continue;
        CapturedFile file;
        file.role = role;
        file.name = path->filename().string();
        file.modified = WallTimeText(ModificationTime(*path));
        file.bytes = ReadBytes(*path);
        files.push_back(std::move(file));
    }
    return files;
}

std::vector<PlayerRow> DerivePlayerRows(const Snapshot& s) {
    std::vector<PlayerRow> rows;
    std::set<std::string, std::less<>> seen;
    const int lines = static_cast<int>(s.lbPlay.size());
    for (int r = 1; r < lines; ++r) {
        const std::string_view id = s.play.Cell(players::kPlayerId, r);
        // The first row of an id is the player, as the period table matches him.
        if (id.empty() || !seen.emplace(id).second)
            continue;
        PlayerRow row;
        row.playerId = id;
        row.name = s.play.Cell(players::kName, r);
        row.position = s.play.Cell(players::kPosition, r);
        row.talent = s.play.Cell(players::kTalent, r);
        row.age = s.play.Cell(players::kAge, r);
        row.realLevel = s.play.Cell(players::kRealLevel, r);
        row.value = s.play.Cell(players::kValue, r);
        row.salary = s.play.Cell(players::kSalary, r);
        if (const auto skillsRow = FindPlayerRow(s.play2, id)) {
            row.skills.emplace();
            for (int k = 1; k <= kSkillCount; ++k)
                (*row.skills)[static_cast<std::size_t>(k - 1)] = s.play2.Cell(SkillColumn(k), *skillsRow);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

std::array<std::uint8_t, 32> ContentDigest(const std::vector<CapturedFile>& files) {
    Sha256 sha;
    for (const auto& f : files) {
        const std::string head = std::to_string(static_cast<int>(f.role)) + '\0' + f.name + '\0' + f.modified + '\0' +
                                 std::to_string(f.bytes.size()) + '\0';
        sha.Update(head);
        sha.Update(f.bytes);
    }
    return sha.Finish();
}

std::string WallTimeText(std::time_t time) {
    std::tm tm{};
    if (!::localtime_r(&time, &tm))
        return {};
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::optional<std::time_t> WallTimeFromText(std::string_view text) {
    std::tm tm{};
    char tail = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%d-%d-%d %d:%d:%d%c", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour, &tm.tm_min,
                    &tm.tm_sec, &tail) != 6)
        return std::nullopt;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return t;
}

std::optional<CapturedSnapshot> CaptureFolder(const std::filesystem::path& folder) {
    CapturedSnapshot c;
    c.files = ReadFiles(folder);
    if (c.files.empty() || c.files.front().role != StoredFileRole::Players)
        return std::nullopt;

    Snapshot s;
    ReadSnapshotFiles(s, folder);
    ApplyDecimalPointRule(s);
    SplitSnapshot(s);

    const std::string& modified = c.files.front().modified;
    c.day = modified.substr(0, 10);
    c.date = c.day.size() == 10 ? c.day.substr(8, 2) + "." + c.day.substr(5, 2) + "." + c.day.substr(0, 4) : "";
    c.club = s.team.Cell(1, 1);
    c.players = std::max(0, static_cast<int>(s.lbPlay.size()) - 1);
    c.playerRows = DerivePlayerRows(s);
    for (int r = 1; r <= kClubFigureCount; ++r)
        c.figures[static_cast<std::size_t>(r - 1)] = {std::string(s.team.Cell(0, r)), std::string(s.team.Cell(1, r))};
    c.contentDigest = ContentDigest(c.files);
    c.packed = PackFiles(c.files);
    return c;
}

std::vector<std::uint8_t> PackFiles(const std::vector<CapturedFile>& files) {
    std::string all;
    for (const auto& f : files)
        all += f.bytes;
    uLongf size = compressBound(static_cast<uLong>(all.size()));
    std::vector<std::uint8_t> packed(size);
    const int code = compress2(packed.data(), &size, reinterpret_cast<const Bytef*>(all.data()),
                               static_cast<uLong>(all.size()), kCompressionLevel);
    // With a buffer of compressBound's size only memory can run out.
    if (code != Z_OK)
        throw std::runtime_error(code == Z_MEM_ERROR
                                     ? "not enough memory to pack the files"
                                     : "the files cannot be packed (zlib error " + std::to_string(code) + ")");
    packed.resize(size);
    return packed;
}

std::optional<std::vector<std::string>> UnpackFiles(std::span<const std::uint8_t> packed,
                                                    const std::vector<std::size_t>& sizes) {
    std::size_t total = 0;
    for (const std::size_t n : sizes)
        total += n;
    std::string all(total, '\0');
    uLongf size = static_cast<uLongf>(total);
    // One spare byte shows a stream longer than the sizes say.
    all.push_back('\0');
    size += 1;
    if (uncompress(reinterpret_cast<Bytef*>(all.data()), &size, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        size != total)
        return std::nullopt;
    std::vector<std::string> files;
    std::size_t at = 0;
    for (const std::size_t n : sizes) {
        files.push_back(all.substr(at, n));
        at += n;
    }
    return files;
}

}  // namespace cadrix
