#include "single_instance.h"

#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace cadrix::app {

namespace {

// The first word of a hand-over, so that a stray client is not taken for one.
constexpr quint32 kHandOverMagic = 0x43445832;  // "CDX2"
constexpr int kConnectTimeoutMs = 500;
// What the window answers once it has taken the archives.
constexpr char kTaken = '1';

}  // namespace

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::takeConnection);
}

InstanceServer::~InstanceServer() = default;

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
    QLocalSocket client;
    client.connectToServer(socket);
    if (!client.waitForConnected(kConnectTimeoutMs))
        return false;
    QStringList absolute;
    for (const QString& archive : archives)
        absolute << QFileInfo(archive).absoluteFilePath();
    QByteArray message;
    QDataStream(&message, QIODevice::WriteOnly) << kHandOverMagic << absolute;
    client.write(message);
    if (!client.waitForBytesWritten(timeoutMs))
        return false;
    while (client.bytesAvailable() == 0) {
        if (!client.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer = 0;
    return client.getChar(&answer) && answer == kTaken;
}

bool InstanceServer::listen(const QString& socket) {
    if (m_server->listen(socket))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Left by a window that ended without closing it: nobody answers there.
    QLocalSocket probe;
    probe.connectToServer(socket);
    if (probe.waitForConnected(kConnectTimeoutMs))
        return false;
    QLocalServer::removeServer(socket);
    return m_server->listen(socket);
}

void InstanceServer::takeConnection() {
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            QDataStream in(client);
            in.startTransaction();
            quint32 magic = 0;
            QStringList archives;
            in >> magic >> archives;
            if (!in.commitTransaction())
                return;  // more is to come
            if (magic != kHandOverMagic) {
                client->abort();
                return;
            }
            client->putChar(kTaken);
            client->flush();
            client->disconnectFromServer();
            emit archivesHandedOver(archives);
        });
    }
}

}  // namespace cadrix::app
