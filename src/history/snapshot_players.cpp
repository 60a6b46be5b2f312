#include "history/history.h"

#include <algorithm>

#include "history/stored_rows.h"

namespace cadrix {

std::vector<SnapshotPlayer> History::Players(SnapshotId id) const {
    SqliteStatement stmt = m_db->Prepare(
        "SELECT p.player_id, s.export_date, n.text, p.position, p.talent, p.age, p.real_level, p.value, p.salary, "
        "p.skills FROM player_point p LEFT JOIN snapshot s ON s.id = p.snapshot_id LEFT JOIN shared_text n ON "
        "n.id = p.name_id WHERE p.snapshot_id = ?1");
    stmt.Bind(1, id);
    std::vector<SnapshotPlayer> players;
    while (stmt.Step()) {
        // A row whose snapshot or name is gone would drop a player unseen.
        if (stmt.IsNull(1) || stmt.IsNull(2))
            stmt.Damaged("a row of snapshot " + std::to_string(id) + " without its snapshot or name");
        SnapshotPlayer player;
        player.playerId = CellAt(stmt, 0);
        PlayerPoint& p = player.point;
        p.snapshot = id;
        p.date = stmt.Text(1);
        ReadPlayerFigures(stmt, 2, p);
        players.push_back(std::move(player));
    }
    // Code-point order: UTF-8 bytes compare as their code points do.
    std::sort(players.begin(), players.end(), [](const SnapshotPlayer& a, const SnapshotPlayer& b) {
        return a.point.name != b.point.name ? a.point.name < b.point.name : a.playerId < b.playerId;
    });
    return players;
}

}  // namespace cadrix
