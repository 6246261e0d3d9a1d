#include "platform/InstanceChannel.h"

#include "platform/InstanceLock.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace dovi::platform {

namespace {
// A path longer than this is no path: the connection is dropped.
constexpr qint64 kMaxMessage = 64 * 1024;
const QByteArray kTaken = QByteArrayLiteral("ok\n");
} // namespace

InstanceChannel::InstanceChannel(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::onConnection);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listen() {
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void InstanceChannel::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxMessage)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(kMaxMessage);
            if (!line.endsWith('\n')) {
                socket->abort();
                return;
            }
            const QString path = QString::fromUtf8(line.chopped(1));
            socket->write(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            if (!path.isEmpty())
                emit pathReceived(path);
        });
    }
}

bool InstanceChannel::send(const QString& name, const QString& path, int timeoutMs) {
    if (path.contains(QLatin1Char('\n')))
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == kTaken;
}

QString InstanceChannel::defaultName() {
    QString lock = InstanceLock::defaultLockPath();
    lock.chop(QStringLiteral(".lock").size());
    return lock + QStringLiteral(".socket");
}

} // namespace dovi::platform
