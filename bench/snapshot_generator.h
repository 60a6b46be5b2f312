#pragma once

#include <filesystem>

namespace cadrix::bench {

enum class Period { Start, End };

// Writes a statistics export of `players` players into `folder`, as the game
// writes it: Windows-1251, CR LF, ";" after every field. The end export loses
// every 50th player, gains as many newcomers and moves every 40th player.
void WriteSnapshot(const std::filesystem::path& folder, int players, Period period);

}  // namespace cadrix::bench
