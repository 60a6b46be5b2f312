#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "history/history.h"

class QFileSystemWatcher;
class QTimer;

namespace cadrix::app {

// Watches one folder (a download folder, usually) for statistics exports:
// every "*.zip" directly in it is handed to `store` once its size and time
// have stayed the same for a second, so that an archive still being written
// is never read half-way. Archives that hold no players file are passed
// over. The folder is only read, never written.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    // Stores one export; the snapshot when it was new to the history.
    using Store = std::function<std::optional<StoredSnapshot>(const std::filesystem::path& archive)>;
    // The snapshots one look at the folder stored, in the archives' name order.
    using Stored = std::function<void(const std::vector<StoredSnapshot>& snapshots)>;

    FolderWatcher(Store store, Stored stored, QObject* parent = nullptr);

    // Watches `folder`, the archives in it already included; an empty one
    // stops watching.
    void watch(const QString& folder);
    const QString& folder() const { return m_folder; }

    // How long an archive must stay the same before it is read.
    static constexpr int kSettleMs = 1000;

private:
    // An archive's size and last-write time, as one looks at it sees them.
    using Look = std::pair<qint64, qint64>;
    struct Settling {
        Look look;
        QElapsedTimer since;
    };

    void scan();

    Store m_store;
    Stored m_stored;
    QString m_folder;
    QFileSystemWatcher* m_watcher = nullptr;
    QTimer* m_settleTimer;
    std::map<QString, Settling> m_settling;
    std::map<QString, Look> m_done;  // read already, in the state they were read
};

}  // namespace cadrix::app
