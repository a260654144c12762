#include "platform/qt/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// Waits until `fd` is ready for `events` or the deadline passes; false on the deadline or an error.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd ready{fd, events, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(deadline.remainingTime()));
        if (n >= 0 || errno != EINTR) return n > 0;
    }
}

// Hands `message` to the instance listening at `address` and hangs up. False when no one answers there
// within a second (nothing at the path, a file left behind, a process too stuck to take connections).
bool SendToRunning(const sockaddr_un& address, const QByteArray& message) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    const auto closeSocket = qScopeGuard([fd] { ::close(fd); });
    const auto* to = reinterpret_cast<const sockaddr*>(&address);
    const QDeadlineTimer connecting(1000);
    while (::connect(fd, to, sizeof address) != 0) {
        if (errno == EINPROGRESS || errno == EINTR) { // the connection goes on without us
            int error = 0;
            socklen_t size = sizeof error;
            if (!WaitFor(fd, POLLOUT, connecting) ||
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
                return false;
            break;
        }
        // ENOENT, ECONNREFUSED and the like: no one there. EAGAIN: its queue of connections is full.
        if (errno != EAGAIN || connecting.hasExpired()) return false;
        ::poll(nullptr, 0, 10);
    }
    // Connected: the running one is there, whether or not the message gets through in time.
    const QDeadlineTimer writing(1000);
    for (qsizetype sent = 0; sent < message.size();) {
        const ssize_t n = ::send(fd, message.constData() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n >= 0)
            sent += n;
        else if (errno != EINTR &&
                 ((errno != EAGAIN && errno != EWOULDBLOCK) || !WaitFor(fd, POLLOUT, writing)))
            break;
    }
    return true;
}

// A fresh listening socket at `address` that only this user can reach, its file's identity in `made`;
// -1 with errno set when there can be none.
int ListenAt(const sockaddr_un& address, struct stat& made) {
    ::unlink(address.sun_path); // left by a process that died
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    // The folder is private already; the socket file is made so as well, as the older programs did.
    if (bound && ::chmod(address.sun_path, 0600) == 0 && ::listen(fd, SOMAXCONN) == 0 &&
        ::lstat(address.sun_path, &made) == 0)
        return fd;
    const int error = errno;
    if (bound) ::unlink(address.sun_path);
    ::close(fd);
    errno = error;
    return -1;
}

enum class Heard { More, Whole, Dropped };

// One later start's connection, collecting what it sends until it hangs up.
class Peer : public QSocketNotifier {
public:
    Peer(int fd, QObject* parent) : QSocketNotifier(fd, QSocketNotifier::Read, parent) {}
    ~Peer() override {
        setEnabled(false);
        ::close(static_cast<int>(socket()));
    }

    Heard Read() {
        char buffer[kMaxMessage + 1];
        for (;;) {
            // One byte beyond the limit tells a message that fills it from one that overflows it.
            const ssize_t n = ::read(static_cast<int>(socket()), buffer, kMaxMessage + 1 - received.size());
            if (n > 0) {
                received.append(buffer, n);
                if (received.size() > kMaxMessage) return Heard::Dropped;
            } else if (n == 0) {
                return Heard::Whole;
            } else if (errno != EINTR) {
                return errno == EAGAIN || errno == EWOULDBLOCK ? Heard::More : Heard::Dropped;
            }
        }
    }

    QByteArray received;
};

} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent) : QObject(parent) {
    QByteArray key = title.toUtf8() + '\n' + QByteArray::number(static_cast<qulonglong>(::getuid())) + '\n' +
                     Desktop().toUtf8();
    QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    const QString dir = SocketDirectory();
    if (!dir.isEmpty()) name_ = dir + QStringLiteral("/zaridi-") + QString::fromLatin1(hash);
}

SingleInstance::~SingleInstance() {
    if (listener_ < 0) return;
    delete accepting_;
    ::close(listener_);
    // Only the file this process made: a later start that found it unanswering may have put its own there.
    const QByteArray path = QFile::encodeName(name_);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && st.st_dev == socketDevice_ && st.st_ino == socketInode_)
        ::unlink(path.constData());
}

bool SingleInstance::Claim() {
    if (name_.isEmpty()) {
        qWarning("tavo_Zaridi2: no private folder for the single-instance socket; starting without it");
        return true;
    }
    const QByteArray path = QFile::encodeName(name_);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<size_t>(path.size()) >= sizeof address.sun_path) { // a shortened path is someone else's
        qWarning("tavo_Zaridi2: single-instance socket path %s is too long; starting without it",
                 path.constData());
        return true;
    }
    std::memcpy(address.sun_path, path.constData(), path.size());

    // The lock closes the race between two processes starting at the same moment. When it cannot be
    // had within two seconds (a folder in its place, a process stuck holding it), only that race goes
    // unguarded: a running instance still answers below, and a second window is better than none,
    // since every save replaces its file whole.
    QLockFile lock(name_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(2000))
        qWarning("tavo_Zaridi2: single-instance lock %s not taken (error %d); starting without it",
                 qPrintable(lock.fileName()), static_cast<int>(lock.error()));

    if (SendToRunning(address, RaiseMessage(qEnvironmentVariable("XDG_ACTIVATION_TOKEN")))) return false;

    struct stat st {};
    listener_ = ListenAt(address, st);
    if (listener_ < 0) {
        qWarning("tavo_Zaridi2: single-instance socket %s not made (%s); starting without it",
                 path.constData(), std::strerror(errno));
        return true;
    }
    socketDevice_ = st.st_dev;
    socketInode_ = st.st_ino;
    accepting_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
    connect(accepting_, &QSocketNotifier::activated, this, &SingleInstance::AcceptLaterStarts);
    return true;
}

void SingleInstance::AcceptLaterStarts() {
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) { // out of descriptors: retry later, do not spin
                accepting_->setEnabled(false);
                QTimer::singleShot(200, accepting_, [notifier = accepting_] { notifier->setEnabled(true); });
            }
            return;
        }
        // The message may come in pieces; it is whole when the later start hangs up. A peer that never
        // does holds only its descriptor.
        auto* peer = new Peer(fd, this);
        connect(peer, &QSocketNotifier::activated, this, [this, peer] {
            const Heard heard = peer->Read();
            if (heard == Heard::More) return;
            const QByteArray message = peer->received;
            peer->setEnabled(false);
            peer->deleteLater();
            if (heard == Heard::Whole && message.contains("raise")) emit raiseRequested(TokenOf(message));
        });
    }
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
