#pragma once

#include <functional>
#include <optional>
#include <string>

class QAction;
class QMenu;

namespace cadrix::app {

// "Развитие игрока…": the context-menu item that opens a player's
// development chart, on a row of a player page or on the player chooser.
// Disabled where no player is under the pointer.
QAction* AddPlayerDevelopmentItem(QMenu& menu, const std::optional<std::string>& playerId,
                                  std::function<void(const std::string&)> open);

}  // namespace cadrix::app
