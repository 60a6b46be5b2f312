#pragma once

#include <filesystem>

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace cadrix::app {

// One window per user and history: a second start hands the archives of its
// command line to the window that runs already, over a local socket only the
// user can reach, and ends; the running window takes them as its own command
// line would.
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
    void takeConnection();

    QLocalServer* m_server;
};

}  // namespace cadrix::app
