// The real program started in a working folder set up to hold it back: pipes and endless devices in
// place of its files, a lock it cannot take, a termination signal while a start-up box is open. Each
// start must come up, or end on SIGTERM, within seconds. Every start gets a runtime folder of its own,
// so the tests never meet another copy of the program.
#include "app/qt/common/AppTitle.h"
#include "gui/support/RealProgram.h"
#include "platform/qt/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One start of the program in a fresh working folder.
class Start {
public:
    Start() {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        server = SingleInstance(AppTitle()).ServerName();
        process.setWorkingDirectory(work.path());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~Start() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    QString Path(const char* name) const { return work.filePath(QString::fromUtf8(name)); }
    void Write(const char* name, const QByteArray& bytes) const {
        QFile f(Path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Runs the program; true once it answers on its socket, that is, it did not hang before that.
    bool Run() {
        process.start(ProgramPath(), {});
        if (!process.waitForStarted()) return false;
        QElapsedTimer clock;
        clock.start();
        while (!Listening(server) && clock.elapsed() < 10000 && process.state() == QProcess::Running)
            QTest::qWait(50);
        return Listening(server);
    }
    // SIGTERM once the first showing has had time to reach its files and boxes; true when the program
    // then ended by itself, normally and in time.
    bool TerminateInTime() {
        QTest::qWait(700);
        process.terminate();
        return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QTemporaryDir work, runtime;
    QString server;
    QProcess process;
};

} // namespace

class StartUpHazards : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(ProgramPath()), "set ZARIDI_BIN_DIR to the build's bin folder");
    }

    void pipeOrEndlessDeviceInPlaceOfAFileHoldsNothingUp() {
        const struct {
            const char* file;
            const char* what; // "fifo", "link-fifo" or "zero"
        } cases[] = {{"my0.txt", "fifo"},          {"my0.txt", "link-fifo"},     {"my0.txt", "zero"},
                     {"tavo_Zaridi2.ini", "fifo"}, {"tavo_Zaridi2.ini", "zero"}, {"tavo_a500.ini", "fifo"}};
        for (const auto& c : cases) {
            Start s;
            if (QByteArray(c.file) != "my0.txt") s.Write("my0.txt", "100-0001\r\n\r\n\r\n\r\n\r\n");
            const QByteArray path = QFile::encodeName(s.Path(c.file));
            const QByteArray fifo = QFile::encodeName(s.Path("pipe"));
            if (QByteArray(c.what) == "fifo") QCOMPARE(::mkfifo(path.constData(), 0600), 0);
            if (QByteArray(c.what) == "link-fifo") {
                QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
                QVERIFY(QFile::link(QString::fromLocal8Bit(fifo), s.Path(c.file)));
            }
            if (QByteArray(c.what) == "zero")
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), s.Path(c.file)));
            QVERIFY2(s.Run(), c.file);
            QVERIFY2(s.TerminateInTime(), c.file);
            // Nothing was written over it.
            struct stat st {};
            QCOMPARE(::lstat(path.constData(), &st), 0);
            QVERIFY2(QByteArray(c.what) == "fifo" ? S_ISFIFO(st.st_mode) : S_ISLNK(st.st_mode), c.file);
        }
    }

    void terminationWhileAStartUpErrorBoxIsOpenEndsWithoutSaving() {
        // Settings but no my0.txt: "File not found" is reported while the window first shows (a folder
        // with neither is a first start, which shows no box).
        Start s;
        const QByteArray settings = "[Support]\r\nUrl=\r\n";
        s.Write("tavo_Zaridi2.ini", settings);
        QVERIFY(s.Run());
        QVERIFY(s.TerminateInTime());
        QFile kept(s.Path("tavo_Zaridi2.ini"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), settings);
    }

    void lockThatCannotBeTakenDoesNotStopTheStart() {
        Start s;
        s.Write("my0.txt", "100-0001\r\n\r\n\r\n\r\n\r\n");
        QVERIFY(QDir().mkpath(s.server + QStringLiteral(".lock"))); // a folder where the lock file goes
        QElapsedTimer clock;
        clock.start();
        QVERIFY(s.Run());
        QVERIFY(clock.elapsed() < 8000);
        // The running one still answers a second start, which leaves at once.
        QProcess second;
        second.setWorkingDirectory(s.work.path());
        second.start(ProgramPath(), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(s.TerminateInTime());
        QVERIFY(QFile::exists(s.Path("tavo_Zaridi2.ini"))); // it ran as usual and saved on the way out
    }

    void socketAndLockStayOutOfFoldersOthersCanWrite() {
        if (::geteuid() != 0) QSKIP("handing folders to another user needs root");
        // Another user got there first: the runtime folder named in the environment and the one in
        // the temporary folder that stands in when it is unusable are both theirs.
        QTemporaryDir foreign, tmp, cache;
        const QByteArray tmpPath = QFile::encodeName(tmp.path());
        const QByteArray standIn = tmpPath + "/runtime-" + ::getpwuid(::geteuid())->pw_name;
        for (const QByteArray& dir : {QFile::encodeName(foreign.path()), standIn}) {
            QVERIFY(::mkdir(dir.constData(), 0777) == 0 || errno == EEXIST);
            QVERIFY(::chmod(dir.constData(), 0777) == 0 && ::chown(dir.constData(), 65534, 65534) == 0);
        }
        QVERIFY(::chmod(tmpPath.constData(), 01777) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(foreign.path()));
        qputenv("TMPDIR", tmpPath);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        const QString name = SingleInstance(AppTitle()).ServerName();
        qunsetenv("TMPDIR");
        qunsetenv("XDG_CACHE_HOME");
        QVERIFY(!name.isEmpty());
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(QFileInfo(name).path()).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_uid, ::geteuid());
        QCOMPARE(st.st_mode & 077, 0u);
    }
};

QTEST_MAIN(StartUpHazards)
#include "start_up_hazards.moc"
