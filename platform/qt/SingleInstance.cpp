#include "platform/qt/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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
