// A second start of the real program while one runs: no window, the first asked forward, exit code 0.
#include "app/qt/common/AppTitle.h"
#include "gui/support/RealProgram.h"
#include "platform/qt/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString TestTitle(const char* what) {
    return QStringLiteral("zaridi-test-%1-%2")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid());
}

// Starts the program in `folder` as the running instance and waits until it answers later starts.
bool StartFirst(QProcess& program, const QString& folder, const QString& name) {
    program.setWorkingDirectory(folder);
    program.start(ProgramPath(), {});
    if (!program.waitForStarted()) return false;
    QDeadlineTimer deadline(10000);
    while (!Listening(name) && !deadline.hasExpired())
        QTest::qWait(50);
    return Listening(name);
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartLeavesAtOnceWithZero() {
        QVERIFY2(QFile::exists(ProgramPath()), "set ZARIDI_BIN_DIR to the build's bin folder");
        QTemporaryDir work;
        QString name = SingleInstance(AppTitle()).ServerName();
        QVERIFY2(!Listening(name), "another instance of the program is running for this user");

        QProcess first;
        QVERIFY(StartFirst(first, work.path(), name));

        QProcess second;
        second.setWorkingDirectory(work.path());
        QElapsedTimer clock;
        clock.start();
        second.start(ProgramPath(), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(first.state() == QProcess::Running);

        first.kill();
        first.waitForFinished();
        // A socket left by the killed process does not stop the next start from taking over.
        SingleInstance next(AppTitle());
        QVERIFY(next.Claim());
    }

    void terminationSignalStillSavesTheSettings() {
        QTemporaryDir work;
        QString name = SingleInstance(AppTitle()).ServerName();
        QVERIFY2(!Listening(name), "another instance of the program is running for this user");
        QFile sender(work.filePath(QStringLiteral("my0.txt")));
        QVERIFY(sender.open(QIODevice::WriteOnly));
        sender.write("100-0001\r\n\r\n\r\n\r\n\r\n");
        sender.close();

        QProcess program;
        QVERIFY(StartFirst(program, work.path(), name));
        program.terminate(); // SIGTERM, as at the end of a session
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QFile settings(work.filePath(QStringLiteral("tavo_Zaridi2.ini")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("OP023MyZip=100-0001\r\n"));
    }

    void selfTestRunsBesideTheRunningOne() {
        QTemporaryDir work;
        QString name = SingleInstance(AppTitle()).ServerName();
        QVERIFY2(!Listening(name), "another instance of the program is running for this user");
        QProcess first;
        QVERIFY(StartFirst(first, work.path(), name));

        // A later start would leave silently; the self-test paints its own window and says so.
        QProcess check;
        check.setWorkingDirectory(work.path());
        check.start(ProgramPath(), {QStringLiteral("--self-test")});
        QVERIFY(check.waitForFinished(30000));
        QCOMPARE(check.exitCode(), 0);
        QVERIFY(check.readAllStandardOutput().contains("self-test passed"));
        QVERIFY(first.state() == QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    void raiseMessages_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("raised");
        QTest::addColumn<QString>("token");
        QTest::newRow("older program") << QByteArray("raise") << true << QString();
        QTest::newRow("with token") << SingleInstance::RaiseMessage(QStringLiteral("kwin-42_abc")) << true
                                    << QStringLiteral("kwin-42_abc");
        QTest::newRow("token on two lines is dropped")
            << SingleInstance::RaiseMessage(QStringLiteral("a\nraise")) << true << QString();
        QTest::newRow("not a raise") << QByteArray("hello") << false << QString();
        QTest::newRow("filling the limit")
            << QByteArray("raise").leftJustified(4096, ' ') << true << QString();
    }

    void raiseMessages() {
        QFETCH(QByteArray, message);
        QFETCH(bool, raised);
        QFETCH(QString, token);
        QString title = QStringLiteral("zaridi-test-msg-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(title);
        QVERIFY(first.Claim());
        QSignalSpy spy(&first, &SingleInstance::raiseRequested);
        QLocalSocket later;
        later.connectToServer(first.ServerName());
        QVERIFY(later.waitForConnected(1000));
        // In two pieces, as a socket may deliver it.
        later.write(message.left(3));
        later.flush();
        QTest::qWait(20);
        later.write(message.mid(3));
        later.disconnectFromServer();
        if (raised) {
            QTRY_COMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toString(), token);
        } else {
            QTest::qWait(200);
            QCOMPARE(spy.count(), 0);
        }
    }

    void laterStartHandsOverItsActivationToken() {
        QString title = QStringLiteral("zaridi-test-token-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(title);
        QVERIFY(first.Claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        qputenv("XDG_ACTIVATION_TOKEN", "launcher-token-7");
        SingleInstance second(title);
        const bool claimed = second.Claim();
        qunsetenv("XDG_ACTIVATION_TOKEN");
        QVERIFY(!claimed);
        QTRY_COMPARE(raised.count(), 1);
        QCOMPARE(raised.at(0).at(0).toString(), QStringLiteral("launcher-token-7"));
    }

    void olderRunningInstanceIsAskedForward() {
        const QString title = TestTitle("older");
        QLocalServer older; // what an older program listens with
        older.setSocketOptions(QLocalServer::UserAccessOption);
        QVERIFY(older.listen(SingleInstance(title).ServerName()));
        qputenv("XDG_ACTIVATION_TOKEN", "launcher-token-9");
        SingleInstance later(title);
        const bool claimed = later.Claim();
        qunsetenv("XDG_ACTIVATION_TOKEN");
        QVERIFY(!claimed);
        QVERIFY(older.waitForNewConnection(5000));
        QLocalSocket* peer = older.nextPendingConnection();
        QByteArray received = peer->readAll();
        while (peer->waitForReadyRead(5000))
            received += peer->readAll();
        QCOMPARE(received, SingleInstance::RaiseMessage(QStringLiteral("launcher-token-9")));
    }

    void messagePastTheLimitIsCutOff() {
        SingleInstance first(TestTitle("long"));
        QVERIFY(first.Claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        QLocalSocket peer;
        peer.connectToServer(first.ServerName());
        QVERIFY(peer.waitForConnected(1000));
        peer.write(QByteArray("raise").leftJustified(4097, ' '));
        // The peer never hangs up: only the server can have ended the connection.
        QTRY_COMPARE(peer.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(raised.count(), 0);
    }

    void quietPeerDoesNotHoldUpALaterStart_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("part of a message") << QByteArray("rai");
    }

    void quietPeerDoesNotHoldUpALaterStart() {
        QFETCH(QByteArray, sent);
        const QString title = TestTitle("quiet");
        SingleInstance first(title);
        QVERIFY(first.Claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        QLocalSocket quiet; // never hangs up
        quiet.connectToServer(first.ServerName());
        QVERIFY(quiet.waitForConnected(1000));
        quiet.write(sent);
        QVERIFY(quiet.flush() || sent.isEmpty());
        QCoreApplication::processEvents();
        SingleInstance later(title);
        QVERIFY(!later.Claim());
        QTRY_COMPARE(raised.count(), 1);
        QCOMPARE(quiet.state(), QLocalSocket::ConnectedState);
    }

    void whatLiesAtTheSocketPath_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("guarded");
        QTest::newRow("file left behind") << QStringLiteral("file") << true;
        QTest::newRow("pipe") << QStringLiteral("pipe") << true;
        QTest::newRow("folder: no guard, no hang") << QStringLiteral("folder") << false;
    }

    void whatLiesAtTheSocketPath() {
        QFETCH(QString, what);
        QFETCH(bool, guarded);
        const QString title = TestTitle("stale");
        const QByteArray path = QFile::encodeName(SingleInstance(title).ServerName());
        if (what == QLatin1String("file"))
            QVERIFY(QFile(QString::fromLocal8Bit(path)).open(QIODevice::WriteOnly));
        if (what == QLatin1String("pipe")) QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        if (what == QLatin1String("folder")) QCOMPARE(::mkdir(path.constData(), 0700), 0);
        const auto removeFolder = qScopeGuard([&path] { ::rmdir(path.constData()); });
        struct stat st {};
        {
            SingleInstance first(title);
            QVERIFY(first.Claim());
            QSignalSpy raised(&first, &SingleInstance::raiseRequested);
            SingleInstance later(title);
            QCOMPARE(later.Claim(), !guarded);
            QCOMPARE(::lstat(path.constData(), &st), 0);
            if (guarded) {
                QVERIFY(S_ISSOCK(st.st_mode));
                QCOMPARE(st.st_mode & 0777, 0600u); // this user's only
                QTRY_COMPARE(raised.count(), 1);
            }
        }
        // The socket file goes with the instance that made it; a folder stays.
        QCOMPARE(::lstat(path.constData(), &st) == 0, !guarded);
    }

    void pathTooLongForASocketMeansNoGuard() {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&saved] {
            if (saved.isNull())
                qunsetenv("XDG_RUNTIME_DIR");
            else
                qputenv("XDG_RUNTIME_DIR", saved);
        });
        QTemporaryDir top;
        // Short enough for a shortened socket path to land inside it, too long for the whole one.
        const QString runtime = top.filePath(QString(96 - top.path().size(), QLatin1Char('r')));
        QVERIFY(QDir().mkdir(runtime) &&
                QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        SingleInstance first(TestTitle("long-path")), later(TestTitle("long-path"));
        QVERIFY(first.ServerName().startsWith(runtime));
        QVERIFY(first.Claim());
        QVERIFY(later.Claim());
        QVERIFY(QDir(runtime).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    }

    void raiseIsDeliveredToTheFirst() {
        QString title = QStringLiteral("zaridi-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(title);
        QVERIFY(first.Claim());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        SingleInstance second(title);
        QVERIFY(!second.Claim());
        QTRY_COMPARE(raised.count(), 1);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance.moc"
