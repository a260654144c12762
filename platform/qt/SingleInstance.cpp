#include "platform/qt/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {

QString Desktop() {
    for (const char* var : {"WAYLAND_DISPLAY", "DISPLAY", "XDG_SESSION_ID"}) {
        QByteArray v = qgetenv(var);
        if (!v.isEmpty()) return QString::fromLocal8Bit(v);
    }
    return {};
}

QString SocketDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? QDir::tempPath() : dir;
}

} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent) : QObject(parent) {
    QByteArray key = title.toUtf8() + '\n' + QByteArray::number(static_cast<qulonglong>(::getuid())) + '\n' +
                     Desktop().toUtf8();
    QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    name_ = SocketDirectory() + QStringLiteral("/zaridi-") + QString::fromLatin1(hash);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    // The lock closes the race between two processes starting at the same moment.
    QLockFile lock(name_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    lock.lock();

    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(1000)) {
        socket.write("raise");
        socket.flush();
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
        return false;
    }

    QLocalServer::removeServer(name_); // left by a process that died
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) return true; // no socket: run without the single-instance guard
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().contains("raise")) emit raiseRequested();
            });
        }
    });
    return true;
}
