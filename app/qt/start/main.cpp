// Program entry: the command line, one instance per user and desktop, then the main window until it is
// closed.
#include "app/qt/common/AfterFirstPaint.h"
#include "app/qt/common/AppTitle.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "app/qt/print/SLIP97YPrnUnit.h"
#include "app/qt/start/CommandLine.h"
#include "app/qt/start/ZaridiApplication.h"
#include "platform/qt/EarlyFontSetup.h"
#include "platform/qt/FirstPaint.h"
#include "platform/qt/SingleInstance.h"
#include "platform/qt/TerminationSignals.h"
#include "printer/qt/HqPrinterInstance.h"

#include <QScreen>

int main(int argc, char** argv) {
    const CommandLine command = HandleCommandLine(argc, argv);
    if (command.run == CommandLine::Run::Finished) return command.exitCode;
    EarlyFontSetup fonts; // meanwhile, the application connects to the display
    ZaridiApplication app(argc, argv);
    // Before the guard is claimed: from then on a later start or the session may signal this process.
    QuitOnTerminationSignals(app);

    SingleInstance instance(AppTitle());
    // A self-test neither calls a running window forward nor holds the guard against a real start.
    if (command.run == CommandLine::Run::Window && !instance.Claim())
        return 0; // the running one was asked to come forward

    // Set only now, so the search above never finds this process itself.
    QApplication::setApplicationName(AppTitle());
    SetDesktopIdentity();
    InstallJapaneseTranslations(app);

    THqPrinterInstance printer; // the one printer object, before any window and until the end
    // The three windows in their order; the first is the main window.
    TForm_Main form;
    TForm_SLIP97YPrn slip97YPrn(form);
    THq_d97_Dot d97Dot(form);
    QObject::connect(&instance, &SingleInstance::raiseRequested, &form,
                     [&form](const QString& activationToken) { ComeForward(form, activationToken); });
    if (QScreen* screen = form.screen()) // centred on the desktop
        form.move(screen->availableGeometry().center() - form.rect().center());
    new AfterFirstPaint(&form, SetWindowIcon);
    if (!command.notice.isEmpty())
        new AfterFirstPaint(&form, [&form, notice = command.notice] { form.Help().Notice(notice); });
    first_paint::ExitAfterFirstPaintIfAsked(form);
    if (command.run == CommandLine::Run::SelfTest) {
        form.SkipFormDestroy(); // a check writes no settings
        return RunSelfTest(form);
    }
    form.show();
    if (TerminationRequested()) return 0; // during a box of the first showing: the window never came up
    return app.exec();
}
