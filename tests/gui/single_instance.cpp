// A second start of the real program while one runs: no window, the first asked forward, exit code 0.
#include "app/qt/AppTitle.h"
#include "gui/support/RealProgram.h"
#include "platform/qt/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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
