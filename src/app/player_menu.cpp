#include "player_menu.h"

namespace cadrix::app {

MenuCommand PlayerDevelopmentCommand(std::function<std::optional<std::string>()> player,
                                     std::function<bool()> available, std::function<void(const std::string&)> open) {
    MenuCommand command;
    command.text = QStringLiteral("Развитие игрока…");
    command.name = QStringLiteral("PlayerDevelopmentAction");
    command.run = [player, open] {
        if (const auto id = player())
            open(*id);
    };
    command.enabled = [player, available] { return available() && player().has_value(); };
    return command;
}

}  // namespace cadrix::app
