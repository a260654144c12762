#include "platform/qt/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QWidget>

#include <memory>
#include <unistd.h>

namespace {

const QByteArray kTokenKey = QByteArrayLiteral("XDG_ACTIVATION_TOKEN=");
constexpr qsizetype kMaxMessage = 4096; // a token is a few dozen bytes; more is not from a later start

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
        socket.write(RaiseMessage(qEnvironmentVariable("XDG_ACTIVATION_TOKEN")));
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
            // The message may come in pieces; it is whole when the later start hangs up.
            auto received = std::make_shared<QByteArray>();
            connect(peer, &QLocalSocket::readyRead, this, [peer, received] {
                received->append(peer->read(kMaxMessage - received->size()));
                if (received->size() >= kMaxMessage) peer->abort();
            });
            connect(peer, &QLocalSocket::disconnected, this, [this, peer, received] {
                received->append(peer->read(kMaxMessage - received->size()));
                peer->deleteLater();
                if (received->contains("raise")) emit raiseRequested(TokenOf(*received));
            });
        }
    });
    return true;
}

QByteArray SingleInstance::RaiseMessage(const QString& activationToken) {
    QByteArray message = QByteArrayLiteral("raise");
    const QByteArray token = activationToken.toUtf8();
    const bool oneLine = !token.contains('\n') && !token.contains('\r') && !token.contains('\0');
    if (!token.isEmpty() && oneLine) message += '\n' + kTokenKey + token + '\n';
    return message;
}

QString SingleInstance::TokenOf(const QByteArray& message) {
    for (const QByteArray& line : message.split('\n'))
        if (line.startsWith(kTokenKey)) return QString::fromUtf8(line.mid(kTokenKey.size()));
    return {};
}

void ComeForward(QWidget& window, const QString& activationToken) {
    if (window.isMinimized()) window.showNormal();
    window.raise();
    if (!activationToken.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    window.activateWindow();
    // Wayland's xdg-shell has taken the token; elsewhere it must not reach programs started from here.
    qunsetenv("XDG_ACTIVATION_TOKEN");
}
