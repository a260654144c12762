#pragma once
// The command line, in one place with one parser. It is read before the application object exists, so
// --help, --version, bad input and the postcode import need no display and never reach a running window.
#include <QString>
#include <QStringList>

class QWidget;

struct CommandLine {
    enum class Run {
        Window,   // the program as usual
        SelfTest, // show the main window, paint it once, leave
        Finished, // everything is done; exitCode says how it went
    };
    Run run = Run::Window;
    int exitCode = 0;
    QString notice; // for the help bar once the window is up; empty when none
};

// Parses argv, prints help, version and usage errors, makes the chosen folder current and runs the
// postcode import. Bad input ends with exit code 2 before anything is created.
CommandLine HandleCommandLine(int argc, char** argv);

// The application id and the version the desktop shows for the program.
void SetDesktopIdentity();
// The window icon from the icon theme. Looking it up costs more than a tenth of the start, and the
// desktop takes a later icon as well, so it comes after the first paint.
void SetWindowIcon();

// Shows the main window, waits for its first paint and returns 0; 1 when it is not painted in time or
// a library the program loads late cannot be loaded.
// Boxes are answered No and their text goes to stderr, so a missing printer cannot hold the check up.
// The caller keeps the window from writing its settings: the check reads what a start reads and writes
// nothing.
int RunSelfTest(QWidget& window);

// ---------------------------------------------------------------------------------------------------
// The postcode import (--import-postcodes FILE…), in app/qt/start/PostcodeImportCommand.cpp. Called with
// absolute paths after --dir/--user-dir has made the data folder current and before any application
// object exists. An import that would leave less than half of the index in use goes ahead with
// `allowShrink`, else when the user says so on a terminal. Returns the process exit code.
int ImportPostcodesCommand(const QStringList& files, bool allowShrink);
