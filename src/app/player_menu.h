#pragma once

#include <functional>
#include <optional>
#include <string>

#include "context_menu.h"

namespace cadrix::app {

// "Развитие игрока…": the context-menu item that opens a player's
// development chart, on a row of a player page or on the player chooser.
// `player` is the player pointed at, if any; the item is disabled where there
// is none, or where `available` says no chart can be drawn.
MenuCommand PlayerDevelopmentCommand(std::function<std::optional<std::string>()> player,
                                     std::function<bool()> available, std::function<void(const std::string&)> open);

}  // namespace cadrix::app
