#include "core/wildcard.h"

#include <algorithm>
#include <system_error>

#include "core/utf8.h"

namespace cadrix {

bool MatchesMask(std::string_view name, std::string_view mask) {
    const std::vector<char32_t> n = DecodeUtf8(name);
    const std::vector<char32_t> m = DecodeUtf8(mask);
    // Iterative matching with one backtrack point: linear in practice and
    // never exponential, whatever the number of stars.
    std::size_t ni = 0, mi = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (ni < n.size()) {
        if (mi < m.size() && m[mi] == U'*') {
            starMask = mi++;
            starName = ni;
        } else if (mi < m.size() && (m[mi] == U'?' || FoldCase(m[mi]) == FoldCase(n[ni]))) {
            ++mi;
            ++ni;
        } else if (starMask != std::string_view::npos) {
            mi = starMask + 1;
            ni = ++starName;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == U'*')
        ++mi;
    return mi == m.size();
}

std::vector<std::filesystem::path> ListMatching(const std::filesystem::path& folder, std::string_view mask) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        return found;
    for (const auto& entry : it) {
        std::error_code typeEc;
        if (!entry.is_regular_file(typeEc))
            continue;
        if (MatchesMask(entry.path().filename().string(), mask))
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
    return found;
}

std::optional<std::filesystem::path> FindFirstMatching(const std::filesystem::path& folder, std::string_view mask) {
    auto found = ListMatching(folder, mask);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

}  // namespace cadrix
