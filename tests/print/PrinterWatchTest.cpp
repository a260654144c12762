// The program's one printer object takes a fresh look at the scheduler when the application becomes
// active again.
#include "Sandbox.h"

#include "printer/qt/HqPrinterInstance.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

// The offscreen platform never deactivates the application, so the test announces the state changes
// the way the platform would.
void Announce(Qt::ApplicationState state) {
    emit qGuiApp->applicationStateChanged(state);
}

TEST(PrinterWatch, ActivationPicksUpAddedQueues) {
    REQUIRE_SANDBOX();
    THqPrinterInstance instance;
    EXPECT_THAT(HqPrinter().GetPrinterNames(), ElementsAre("dotmatrix", "slip"));
    sandbox::Run("lpadmin -p added -E -v file://" + sandbox::Dir() + "/out/added.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x added"};
    // Still the old snapshot while the application stays active.
    EXPECT_THAT(HqPrinter().GetPrinterNames(), ElementsAre("dotmatrix", "slip"));

    Announce(Qt::ApplicationInactive);
    EXPECT_THAT(HqPrinter().GetPrinterNames(), ElementsAre("dotmatrix", "slip"));
    Announce(Qt::ApplicationActive);
    EXPECT_THAT(HqPrinter().GetPrinterNames(), ElementsAre("added", "dotmatrix", "slip"));
}

TEST(PrinterWatch, InstanceLivesAsLongAsItsOwner) {
    REQUIRE_SANDBOX();
    {
        THqPrinterInstance instance;
        EXPECT_NO_THROW(HqPrinter().CheckNoPrinter());
    }
    EXPECT_THROW(HqPrinter(), EAssertionFailed);
}

} // namespace
