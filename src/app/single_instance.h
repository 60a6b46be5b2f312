#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include <sys/types.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include "core/fd.h"

class QSocketNotifier;

namespace cadrix::app {

// One window per user and history: a second start hands the archives of its
// command line to the window that runs already, over a local socket only the
// user can reach, and ends; the running window takes them as its own command
// line would. The socket is a plain Unix one watched by the event loop, so
// that the program needs no network library at start.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    ~InstanceServer() override;

    // The socket of the windows that keep their history in `historyFile`:
    // in $XDG_RUNTIME_DIR, else the temporary folder, named after the user and
    // the history, so that a window on another history is another instance.
    static QString SocketPath(const std::filesystem::path& historyFile);

    // Gives `archives` (made absolute, as the receiver's folder differs) to the
    // window listening at `socket`; false when none listens or it does not
    // answer within `timeoutMs`.
    static bool HandOver(const QString& socket, const QStringList& archives, int timeoutMs = 3000);

    // Listens at `socket`, taking over a socket that no window answers at
    // any more; false when it cannot.
    bool listen(const QString& socket);

signals:
    // A second start's archives: none, one or two, absolute paths.
    void archivesHandedOver(const QStringList& archives);

private:
    struct Client;

    void takeConnections();
    void readFrom(Client& client);
    void drop(const Client& client);

    Fd m_listener;
    QSocketNotifier* m_notifier = nullptr;
    std::filesystem::path m_path;  // the socket file this server made
    ino_t m_inode = 0;             // and its inode, not to remove another's
    std::vector<std::unique_ptr<Client>> m_clients;
};

}  // namespace cadrix::app
