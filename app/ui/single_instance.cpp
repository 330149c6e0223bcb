#include "app/ui/single_instance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace qorvid {

namespace {
constexpr int kConnectMs = 1000;
constexpr int kReplyMs = 3000;
} // namespace

QString SingleInstance::serverName(const QString& appFolder)
{
    const QByteArray hash = QCryptographicHash::hash(appFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QString("qorvid-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::handOver(const QString& name, const QStringList& arguments)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectMs)) return false;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << arguments;
    socket.write(payload);
    if (!socket.waitForBytesWritten(kReplyMs)) return false;
    // The running copy answers once it has shown its window; the answer itself is not used.
    socket.waitForReadyRead(kReplyMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(const QString& name)
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // A copy that died leaves its socket file behind; a live one would have answered.
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                QDataStream in(socket);
                in.startTransaction();
                QStringList args;
                in >> args;
                if (!in.commitTransaction()) return; // wait for the rest
                emit commandLineReceived(args);
                socket->write("ok");
                socket->flush();
            });
        }
    });
    return true;
}

} // namespace qorvid
