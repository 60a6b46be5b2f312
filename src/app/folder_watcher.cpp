#include "folder_watcher.h"

#include <set>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include "import/archive_choice.h"

namespace cadrix::app {

namespace {

// While an archive settles, the folder is looked at this often: a file that
// grows changes nothing the folder's watch reports.
constexpr int kLookMs = 250;

}  // namespace

FolderWatcher::FolderWatcher(Store store, Stored stored, QObject* parent)
    : QObject(parent),
      m_store(std::move(store)),
      m_stored(std::move(stored)),
      m_settleTimer(new QTimer(this)) {
    m_settleTimer->setInterval(kLookMs);
    connect(m_settleTimer, &QTimer::timeout, this, [this] { scan(); });
}

void FolderWatcher::watch(const QString& folder) {
    delete m_watcher;
    m_watcher = nullptr;
    m_settleTimer->stop();
    m_settling.clear();
    m_done.clear();
    m_folder = folder;
    if (folder.isEmpty())
        return;
    m_watcher = new QFileSystemWatcher({folder}, this);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { scan(); });
    scan();
}

void FolderWatcher::scan() {
    const QFileInfoList archives =
        QDir(m_folder).entryInfoList({QStringLiteral("*.zip")}, QDir::Files | QDir::Readable, QDir::Name);
    std::set<QString> present;
    std::vector<StoredSnapshot> stored;
    for (const QFileInfo& archive : archives) {
        const QString path = archive.absoluteFilePath();
        present.insert(path);
        const Look look{archive.size(), archive.lastModified().toMSecsSinceEpoch()};
        const auto done = m_done.find(path);
        if (done != m_done.end() && done->second == look)
            continue;
        auto settling = m_settling.find(path);
        if (settling == m_settling.end() || settling->second.look != look) {
            m_settling[path].look = look;
            m_settling[path].since.start();
            continue;
        }
        if (settling->second.since.elapsed() < kSettleMs)
            continue;
        m_settling.erase(settling);
        m_done[path] = look;
        const std::filesystem::path file(path.toStdString());
        // A download folder holds many archives; only exports are stored.
        if (!PlayersFileStamp(file))
            continue;
        if (auto snapshot = m_store(file))
            stored.push_back(std::move(*snapshot));
    }
    std::erase_if(m_settling, [&](const auto& entry) { return !present.contains(entry.first); });
    if (m_settling.empty())
        m_settleTimer->stop();
    else if (!m_settleTimer->isActive())
        m_settleTimer->start();
    if (!stored.empty())
        m_stored(stored);
}

}  // namespace cadrix::app
