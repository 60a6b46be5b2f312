#include "player_menu.h"

#include <QAction>
#include <QMenu>

namespace cadrix::app {

QAction* AddPlayerDevelopmentItem(QMenu& menu, const std::optional<std::string>& playerId,
                                  std::function<void(const std::string&)> open) {
    QAction* action = menu.addAction(QStringLiteral("Развитие игрока…"));
    action->setObjectName(QStringLiteral("PlayerDevelopmentAction"));
    action->setEnabled(playerId.has_value() && open);
    if (playerId && open)
        QObject::connect(action, &QAction::triggered, &menu, [id = *playerId, open] { open(id); });
    return action;
}

}  // namespace cadrix::app
