#include "platform/qt/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QWidget>

#include <memory>
#include <sys/stat.h>
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

// A folder of this user's that no one else can write to: no other user can then hold the lock or
// answer in this program's place.
bool IsPrivateFolder(const QString& dir) {
    struct stat st {};
    return ::lstat(QFile::encodeName(dir).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

// The runtime folder (Qt makes sure it is the user's own); without one, a private folder in the
// user's cache, never the shared temporary folder. Empty when neither can be had.
QString SocketDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!dir.isEmpty() && IsPrivateFolder(dir)) return dir;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(cache);
    dir = cache + QStringLiteral("/zaridi");
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
    return IsPrivateFolder(dir) ? dir : QString();
}

} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent) : QObject(parent) {
    QByteArray key = title.toUtf8() + '\n' + QByteArray::number(static_cast<qulonglong>(::getuid())) + '\n' +
                     Desktop().toUtf8();
    QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    const QString dir = SocketDirectory();
    if (!dir.isEmpty()) name_ = dir + QStringLiteral("/zaridi-") + QString::fromLatin1(hash);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim() {
    if (name_.isEmpty()) {
        qWarning("tavo_Zaridi2: no private folder for the single-instance socket; starting without it");
        return true;
    }
    // The lock closes the race between two processes starting at the same moment. When it cannot be
    // had within two seconds (a folder in its place, a process stuck holding it), only that race goes
    // unguarded: a running instance still answers below, and a second window is better than none,
    // since every save replaces its file whole.
    QLockFile lock(name_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(2000))
        qWarning("tavo_Zaridi2: single-instance lock %s not taken (error %d); starting without it",
                 qPrintable(lock.fileName()), static_cast<int>(lock.error()));

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
