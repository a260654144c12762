#include "app/qt/start/CommandLine.h"

#include "app/qt/common/AfterFirstPaint.h"
#include "app/qt/common/MessageBoxes.h"
#include "platform/FileIO.h"
#include "platform/LateLibrary.h"
#include "printer/qt/HqPrinterInstance.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kUsageError = 2;
constexpr int kSelfTestTimeoutMs = 60000;
const QString kProgram = QStringLiteral("tavo_Zaridi2");

void Print(std::FILE* out, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), out);
}

CommandLine Finished(int exitCode) {
    return {CommandLine::Run::Finished, exitCode, {}};
}

// Qt's own options (QGuiApplication, QApplication, the X11 platform). The application object takes them
// out of argv itself; the parser only lets them through.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true},
    {"session", true},       {"display", true},
    {"geometry", true},      {"title", true},
    {"icon", true},          {"name", true},
    {"visual", true},        {"style", true},
    {"stylesheet", true},    {"reverse", false},
    {"widgetcount", false},  {"nograb", false},
    {"dograb", false},       {"sync", false},
};

QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), kProgram); // no application object yet to name it
    return text;
}

CommandLine UsageError(const QCommandLineParser& parser, const QString& message) {
    Print(stderr, kProgram + QStringLiteral(": ") + message + QStringLiteral("\n\n") + HelpText(parser));
    return Finished(kUsageError);
}

CommandLine FolderError(const QString& option, const QString& message) {
    Print(stderr, QStringLiteral("%1: %2: %3\n").arg(kProgram, option, message));
    return Finished(kUsageError);
}

// Empty when `path` is now the current folder, else what is wrong with it.
QString EnterFolder(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("no folder given");
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return errno == ENOENT ? QStringLiteral("folder not found: %1").arg(path)
                               : QStringLiteral("cannot use %1: %2")
                                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode)) return QStringLiteral("not a folder: %1").arg(path);
    // The program lists nothing, but a folder it may not read is not one to keep settings in.
    if (::access(native.constData(), R_OK | X_OK) != 0 || ::chdir(native.constData()) != 0)
        return QStringLiteral("folder cannot be read: %1 (%2)")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

// The user's data folder ($XDG_DATA_HOME/tavo_Zaridi2), made on first start; empty when it cannot be.
QString UserFolder(QString& error) {
    // Without either variable Qt would fall back to /.local/share: never a place to create.
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME") && qEnvironmentVariableIsEmpty("HOME")) {
        error = QStringLiteral("no data folder: neither XDG_DATA_HOME nor HOME is set");
        return {};
    }
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString path = base + QStringLiteral("/tavo_Zaridi2");
    if (!QFileInfo(base).isDir() && !QDir().mkpath(base)) {
        error = QStringLiteral("cannot create the folder %1").arg(base);
        return {};
    }
    // Customer addresses live here: the folder is the user's alone, as the base-directory rules ask.
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST) {
        error =
            QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    return path;
}

} // namespace

CommandLine HandleCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform offscreen); -C stays a short option.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Fills in one shipping slip at a time and prints it through CUPS.\n"
                       "Settings and sender files are kept in the current folder."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version and exit."));
    const QCommandLineOption dir({QStringLiteral("C"), QStringLiteral("dir")},
                                 QStringLiteral("Keep the settings and sender files in DIR (made the current "
                                                "folder first)."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption userDir(QStringLiteral("user-dir"),
                                     QStringLiteral("Keep the files in $XDG_DATA_HOME/tavo_Zaridi2 "
                                                    "(~/.local/share/tavo_Zaridi2), made if missing."));
    const QCommandLineOption selfTest(QStringLiteral("self-test"),
                                      QStringLiteral("Start, show the main window, paint it once and exit 0; "
                                                     "writes no file."));
    const QCommandLineOption importPostcodes(QStringLiteral("import-postcodes"),
                                             QStringLiteral("Import Japan Post's postcode files FILE... into "
                                                            "the postcode index of the current folder and "
                                                            "exit."));
    const QCommandLineOption allowShrink(
        QStringLiteral("allow-shrink"), QStringLiteral("With --import-postcodes: replace the index even when "
                                                       "the new one has less than half its rows."));
    parser.addOptions({help, version, dir, userDir, selfTest, importPostcodes, allowShrink});
    for (const QtOption& q : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(q.name), QString(),
                                  q.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Postcode files for --import-postcodes."),
                                 QStringLiteral("[FILE...]"));

    if (!parser.parse(arguments)) return UsageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        Print(stdout, HelpText(parser));
        return Finished(0);
    }
    if (parser.isSet(version)) {
        Print(stdout, kProgram + QStringLiteral(" ") + QStringLiteral(ZARIDI_VERSION) + QStringLiteral("\n"));
        return Finished(0);
    }
    if (parser.isSet(dir) && parser.isSet(userDir))
        return UsageError(parser, QStringLiteral("--dir and --user-dir cannot be used together"));
    if (parser.values(dir).size() > 1)
        return UsageError(parser, QStringLiteral("--dir given more than once"));
    QStringList files = parser.positionalArguments();
    if (parser.isSet(importPostcodes)) {
        if (files.isEmpty())
            return UsageError(parser, QStringLiteral("--import-postcodes needs at least one FILE"));
        if (parser.isSet(selfTest))
            return UsageError(parser,
                              QStringLiteral("--import-postcodes and --self-test cannot be used together"));
    } else if (!files.isEmpty()) {
        return UsageError(parser, QStringLiteral("unexpected argument '%1'").arg(files.first()));
    } else if (parser.isSet(allowShrink)) {
        return UsageError(parser, QStringLiteral("--allow-shrink goes with --import-postcodes"));
    }
    // Named from where the user stands, before --dir moves elsewhere.
    for (QString& file : files)
        file = QFileInfo(file).absoluteFilePath();

    QString notice;
    if (parser.isSet(dir)) {
        const QString error = EnterFolder(parser.value(dir));
        if (!error.isEmpty()) return FolderError(QStringLiteral("--dir"), error);
    } else if (parser.isSet(userDir)) {
        QString error;
        const QString path = UserFolder(error);
        if (path.isEmpty()) return FolderError(QStringLiteral("--user-dir"), error);
        error = EnterFolder(path);
        if (!error.isEmpty()) return FolderError(QStringLiteral("--user-dir"), error);
        // An older program or the user made it: left as it is, but not unsaid.
        if (fileio::OpenToOthers(QFile::encodeName(path).toStdString())) {
            Print(stderr,
                  QStringLiteral("%1: --user-dir: other users can read %2, which holds customers' names "
                                 "and addresses (chmod 700 closes it)\n")
                      .arg(kProgram, path));
            notice =
                QString::fromUtf8("データフォルダ %1 はほかのユーザーも読めます。お客様の住所が入るので、"
                                  "chmod 700 で閉じてください")
                    .arg(path);
        }
    }

    if (parser.isSet(importPostcodes))
        return Finished(ImportPostcodesCommand(files, parser.isSet(allowShrink)));
    return {parser.isSet(selfTest) ? CommandLine::Run::SelfTest : CommandLine::Run::Window, 0, notice};
}

void SetDesktopIdentity() {
    // On Wayland the desktop file name is the window's app id: it ties the window to the launcher entry.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZARIDI_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZARIDI_VERSION));
}

void SetWindowIcon() {
    const QIcon icon = QIcon::fromTheme(QStringLiteral(ZARIDI_APP_ID)); // installed with the package
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
}

int RunSelfTest(QWidget& window) {
    msgbox::SetResponder([](msgbox::Kind, const QString& text) {
        Print(stderr, kProgram + QStringLiteral(" --self-test: a box said: ") + text + QStringLiteral("\n"));
        return false;
    });
    // Leaves after the first paint and after the printer's part of the start that follows it, so the
    // check also covers what start-up reports about the printer.
    new AfterFirstPaint(&window, [&window] {
        // An installation without one of the libraries loaded late would start, but not print, keep
        // a history on a server or import postcodes.
        if (const std::string errors = late_library::LoadErrors(); !errors.empty()) {
            Print(stderr,
                  kProgram + QStringLiteral(" --self-test: cannot load\n") + QString::fromStdString(errors));
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
            return;
        }
        // What the start-up said without a box (no printer, for one) is reported too.
        auto leave = [&window] {
            if (const QStatusBar* status = window.findChild<QStatusBar*>();
                status && !status->currentMessage().trimmed().isEmpty())
                Print(stderr, kProgram + QStringLiteral(" --self-test: the status line said: ") +
                                  status->currentMessage() + QStringLiteral("\n"));
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        };
        if (THqPrinterInstance* printer = THqPrinterInstance::Current())
            printer->WhenReady(qApp, leave);
        else
            leave();
    });
    QTimer::singleShot(kSelfTestTimeoutMs, qApp, [] {
        Print(stderr, kProgram + QStringLiteral(" --self-test: the main window was not painted in time\n"));
        QCoreApplication::exit(1);
    });
    window.show();
    const int code = QCoreApplication::exec();
    msgbox::SetResponder({});
    if (code == 0)
        Print(stdout, kProgram + QStringLiteral(" ") + QStringLiteral(ZARIDI_VERSION) +
                          QStringLiteral(": self-test passed\n"));
    return code;
}
