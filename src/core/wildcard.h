#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrix {

// File-name masks as the game's managers know them: "*" matches any run of
// characters (the empty run and folder separators included), "?" exactly one
// character, and every other character itself without regard to letter case.
// The match covers the whole name. Names and masks are UTF-8.
bool MatchesMask(std::string_view name, std::string_view mask);

// The regular files directly in `folder` whose names match `mask`, in name
// order, so that the first of several matching names is always the same one.
std::vector<std::filesystem::path> ListMatching(const std::filesystem::path& folder, std::string_view mask);

// The first of them, or none.
std::optional<std::filesystem::path> FindFirstMatching(const std::filesystem::path& folder, std::string_view mask);

}  // namespace cadrix
