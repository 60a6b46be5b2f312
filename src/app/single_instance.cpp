#include "single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>

namespace cadrix::app {

namespace {

// The first word of a hand-over, so that a stray client is not taken for one.
constexpr quint32 kHandOverMagic = 0x43445832;  // "CDX2"
constexpr int kConnectTimeoutMs = 500;
// What the window answers once it has taken the archives.
constexpr char kTaken = '1';
// A hand-over names at most a few archives; a client that sends more than
// this is not one.
constexpr qsizetype kMaxHandOverBytes = 64 * 1024;
constexpr quint32 kMaxArchives = 16;
// How long a client waits before trying again to reach a server whose
// queue of connections is full.
constexpr unsigned long kBusyRetryMs = 10;
constexpr std::size_t kReadChunk = 4096;

std::optional<sockaddr_un> Address(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& name = path.native();
    if (name.empty() || name.size() >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    return address;
}

Fd NewSocket() { return Fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)); }

// Waits until `fd` is ready for `events`, at most until `deadline`.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(deadline.remainingTime()));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// A connection to the server listening at `path`, or none when nobody
// listens there within the connect timeout.
Fd ConnectTo(const std::filesystem::path& path) {
    const std::optional<sockaddr_un> address = Address(path);
    Fd fd = NewSocket();
    if (!address || !fd.IsOpen())
        return Fd();
    const QDeadlineTimer deadline(kConnectTimeoutMs);
    for (;;) {
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0)
            return fd;
        if (errno == EINTR)
            continue;
        // A Unix socket's queue of connections is full: it may be emptied soon.
        if (errno != EAGAIN || deadline.hasExpired())
            return Fd();
        QThread::msleep(kBusyRetryMs);
    }
}

bool SendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else if (n < 0 && errno == EAGAIN && WaitFor(fd, POLLOUT, deadline))
            continue;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return false;
    }
    return true;
}

enum class Parse { Incomplete, Bad, Whole };

// Reads a hand-over's archives from what a client sent so far.
Parse ParseHandOver(const QByteArray& received, QStringList& archives) {
    QDataStream in(received);
    quint32 magic = 0;
    quint32 count = 0;
    in >> magic;
    if (in.status() == QDataStream::Ok && magic != kHandOverMagic)
        return Parse::Bad;
    in >> count;
    if (in.status() == QDataStream::Ok && count > kMaxArchives)
        return Parse::Bad;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        QString archive;
        in >> archive;
        archives << archive;
    }
    switch (in.status()) {
    case QDataStream::Ok: return Parse::Whole;
    case QDataStream::ReadPastEnd: return Parse::Incomplete;
    default: return Parse::Bad;
    }
}

// The socket is bound in a folder of its own that only the user can enter,
// made accessible to the user alone, and only then linked to its name:
// nobody else can reach it in between.
class PrivateBinding {
public:
    explicit PrivateBinding(const std::filesystem::path& beside) {
        std::string pattern = (beside.parent_path() / "cadrix-XXXXXX").native();
        if (::mkdtemp(pattern.data()))
            m_folder = pattern;
    }
    ~PrivateBinding() {
        if (m_folder.empty())
            return;
        ::unlink(socket().c_str());
        ::rmdir(m_folder.c_str());
    }
    PrivateBinding(const PrivateBinding&) = delete;
    PrivateBinding& operator=(const PrivateBinding&) = delete;

    bool bind(int fd) const {
        const std::optional<sockaddr_un> address = m_folder.empty() ? std::nullopt : Address(socket());
        return address && ::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0 &&
               ::chmod(socket().c_str(), S_IRUSR | S_IWUSR) == 0;
    }
    std::filesystem::path socket() const { return m_folder / "socket"; }

private:
    std::filesystem::path m_folder;
};

}  // namespace

struct InstanceServer::Client {
    Fd fd;
    QSocketNotifier* notifier = nullptr;
    QByteArray received;
};

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer() {
    struct stat now{};
    if (m_inode != 0 && ::stat(m_path.c_str(), &now) == 0 && now.st_ino == m_inode)
        ::unlink(m_path.c_str());
}

QString InstanceServer::SocketPath(const std::filesystem::path& historyFile) {
    const std::filesystem::path absolute = std::filesystem::absolute(historyFile).lexically_normal();
    const QByteArray key = QCryptographicHash::hash(QByteArray::fromStdString(absolute.string()),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(16);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString name = QStringLiteral("cadrix-%1-%2.socket").arg(::getuid()).arg(QString::fromLatin1(key));
    return QDir(runtime.startsWith(u'/') ? runtime : QDir::tempPath()).filePath(name);
}

bool InstanceServer::HandOver(const QString& socket, const QStringList& archives, int timeoutMs) {
    const Fd client = ConnectTo(QFile::encodeName(socket).toStdString());
    if (!client.IsOpen())
        return false;
    QStringList absolute;
    for (const QString& archive : archives)
        absolute << QFileInfo(archive).absoluteFilePath();
    QByteArray message;
    QDataStream(&message, QIODevice::WriteOnly) << kHandOverMagic << absolute;
    const QDeadlineTimer deadline(timeoutMs);
    if (!SendAll(client.Get(), message, deadline))
        return false;
    for (;;) {
        char answer = 0;
        const ssize_t n = ::recv(client.Get(), &answer, 1, 0);
        if (n == 1)
            return answer == kTaken;
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN || !WaitFor(client.Get(), POLLIN, deadline))
            return false;
    }
}

bool InstanceServer::listen(const QString& socket) {
    const std::filesystem::path path = QFile::encodeName(socket).toStdString();
    Fd listener = NewSocket();
    const PrivateBinding binding(path);
    if (!listener.IsOpen() || !Address(path) || !binding.bind(listener.Get()) ||
        ::listen(listener.Get(), SOMAXCONN) != 0)
        return false;
    if (::link(binding.socket().c_str(), path.c_str()) != 0) {
        // Left by a window that ended without removing it: nobody answers there.
        if (errno != EEXIST || ConnectTo(path).IsOpen())
            return false;
        ::unlink(path.c_str());
        if (::link(binding.socket().c_str(), path.c_str()) != 0)
            return false;
    }
    struct stat made{};
    if (::stat(path.c_str(), &made) != 0) {
        ::unlink(path.c_str());
        return false;
    }
    m_path = path;
    m_inode = made.st_ino;
    m_listener = std::move(listener);
    m_notifier = new QSocketNotifier(m_listener.Get(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InstanceServer::takeConnections);
    return true;
}

void InstanceServer::takeConnections() {
    for (;;) {
        Fd fd(::accept4(m_listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd.IsOpen()) {
            if (errno == EINTR)
                continue;
            return;  // none waits any more
        }
        auto client = std::make_unique<Client>();
        client->notifier = new QSocketNotifier(fd.Get(), QSocketNotifier::Read, this);
        client->fd = std::move(fd);
        Client& added = *client;
        connect(added.notifier, &QSocketNotifier::activated, this, [this, &added] { readFrom(added); });
        m_clients.push_back(std::move(client));
    }
}

void InstanceServer::readFrom(Client& client) {
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t n = ::recv(client.fd.Get(), chunk, sizeof chunk, 0);
        if (n > 0 && client.received.size() + n <= kMaxHandOverBytes) {
            client.received.append(chunk, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;
        drop(client);  // gone before it said all, or says too much
        return;
    }
    QStringList archives;
    switch (ParseHandOver(client.received, archives)) {
    case Parse::Incomplete: return;
    case Parse::Bad: drop(client); return;
    case Parse::Whole: break;
    }
    ::send(client.fd.Get(), &kTaken, 1, MSG_NOSIGNAL);
    drop(client);
    emit archivesHandedOver(archives);
}

void InstanceServer::drop(const Client& client) {
    // Called from the client's own notifier: it goes once the event loop
    // is back, and must not fire for the descriptor's next owner meanwhile.
    client.notifier->setEnabled(false);
    client.notifier->deleteLater();
    std::erase_if(m_clients, [&client](const std::unique_ptr<Client>& held) { return held.get() == &client; });
}

}  // namespace cadrix::app
