#include "SingleInstance.h"

#include <QLocalSocket>

#include <pwd.h>
#include <unistd.h>

namespace vestrel {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr qint64 kLongestKey = 4096;  // a wake-up line longer than this is not ours

}  // namespace

QString SingleInstanceServerName()
{
    const uid_t uid = ::getuid();
    QString user;
    if (const passwd* pw = ::getpwuid(uid); pw && pw->pw_name) user = QString::fromLocal8Bit(pw->pw_name);
    if (user.isEmpty()) user = QString::number(uid);
    // Tests run their own instances beside the user's: they add a suffix of their own.
    const QString suffix = qEnvironmentVariable("VESTREL_INSTANCE_SUFFIX");
    return QStringLiteral("velk-") + user + (suffix.isEmpty() ? QString() : QStringLiteral("-") + suffix);
}

SingleInstance::SingleInstance(QString key, QString serverName, QObject* parent)
    : QObject(parent), key_(std::move(key)), serverName_(std::move(serverName))
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

bool SingleInstance::wakeRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(key_.toUtf8() + '\n');
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
    return true;
}

bool SingleInstance::claim()
{
    if (wakeRunningInstance()) return false;
    // Nobody answered: a socket file left there belongs to an instance that died.
    QLocalServer::removeServer(serverName_);
    if (server_.listen(serverName_)) return true;
    // Another start won the race between our two checks: it is the first one.
    if (wakeRunningInstance()) return false;
    // No local socket at all: run without the single-instance guard rather than not at all.
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readKey = [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLongestKey) socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(kLongestKey).trimmed();
            if (QString::fromUtf8(line) == key_) emit wakeRequested();
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, readKey);
        if (socket->bytesAvailable() > 0) readKey();
    }
}

}  // namespace vestrel
