// The printer object over the private CUPS scheduler: what it lists, what it reads from the queues'
// drivers, and what the scheduler receives from a printed page.
#include "Sandbox.h"

#include "platform/Cp932Codec.h"
#include "printer/HqPrinter.h"
#include "printer/qt/CupsPrinter.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kTitle = "tavo_Zaridi2  ";
const std::string kPrinterDefault = cp932::FromUtf8("プリンタの既定");

class CupsPrinterTest : public ::testing::Test {
protected:
    std::unique_ptr<THqPrinter> printer;
    CupsPrinter* cups = nullptr; // the back end under `printer`

    void SetUp() override {
        REQUIRE_SANDBOX();
        auto backEnd = std::make_unique<CupsPrinter>();
        cups = backEnd.get();
        printer = std::make_unique<THqPrinter>(std::move(backEnd));
    }

    int VisibleIndexOf(const std::string& name) {
        const auto& names = printer->GetPrinterNames();
        auto it = std::find(names.begin(), names.end(), name);
        EXPECT_NE(it, names.end()) << name;
        return static_cast<int>(it - names.begin());
    }

    // Prints one page with `draw` on the current printer and returns the finished job.
    template <typename Draw>
    sandbox::Job PrintPage(const std::string& queue, Draw draw) {
        int before = sandbox::LastJobId(queue);
        printer->BeginDoc(kTitle);
        draw(printer->GetCanvas());
        printer->EndDoc();
        int id = sandbox::LastJobId(queue);
        EXPECT_GT(id, before) << "no job reached " << queue;
        return sandbox::WaitForJob(queue, id);
    }
};

// --- The listing --------------------------------------------------------------------------------

TEST_F(CupsPrinterTest, ListsQueuesThatAcceptJobsAndCountsOnlyThem) {
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("dotmatrix", "slip"));
    EXPECT_EQ(printer->GetIndex(), 1); // the scheduler's default destination
    printer->SetIndex(0);
    EXPECT_EQ(printer->GetIndex(), 0);
    EXPECT_EQ(cups->DeviceName(), "dotmatrix");
    printer->SetIndex(-1);
    EXPECT_EQ(printer->GetIndex(), 1);
    EXPECT_THROW(printer->SetIndex(2), EHQPrinterRangeError);
}

TEST_F(CupsPrinterTest, WithoutADefaultTheFirstQueueThatTakesJobsIsCurrent) {
    sandbox::OtherScheduler other("no-default"); // its first queue, "closed", refuses jobs
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("dotmatrix", "slip"));
    EXPECT_EQ(printer->GetIndex(), 0);
}

TEST_F(CupsPrinterTest, UsersOwnDefaultPrinterComesFirst) {
    setenv("LPDEST", "dotmatrix", 1);
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    int index = printer->GetIndex();
    unsetenv("LPDEST");
    EXPECT_EQ(index, 0);
}

TEST_F(CupsPrinterTest, PortsAreTheDeviceUrisEachOnce) {
    const std::string dir = sandbox::Dir();
    const auto& ports = printer->GetPortNames();
    EXPECT_THAT(ports, Contains("file://" + dir + "/out/slip.prn"));
    EXPECT_THAT(ports, Contains("file://" + dir + "/out/dotmatrix.prn"));
    EXPECT_THAT(ports, Contains("file://" + dir + "/out/rejecting.prn"));
    std::vector<std::string> sorted = ports;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
}

TEST_F(CupsPrinterTest, PortsHideUserNameAndPassword) {
    sandbox::Run("lpadmin -p secret -v 'ipp://joe:pw@127.0.0.1:9/printers/x' -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x secret"};
    const auto& ports = printer->GetPortNames();
    EXPECT_THAT(ports, Contains("ipp://127.0.0.1:9/printers/x"));
    for (const std::string& p : ports)
        EXPECT_THAT(p, Not(HasSubstr("pw")));
}

// --- What the drivers offer ---------------------------------------------------------------------

TEST_F(CupsPrinterTest, SlipQueueOffersItsFormsFeedsAndResolution) {
    printer->SetIndex(VisibleIndexOf("slip"));
    // The scheduler reports the driver's forms by their sizes only, and no default source: the
    // printer's own setting comes first and is the one in force.
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("10 x 4 in", "9 x 5.5 in", "A4"));
    EXPECT_EQ(printer->GetPaperSizeIndex(), 0);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 256);
    EXPECT_THAT(printer->GetBinNames(),
                ElementsAre(kPrinterDefault, "Tractor Feed", "Manual Feed", "Front Tractor"));
    EXPECT_EQ(printer->GetBinNumber(), kPrinterDefaultEntry);
    EXPECT_EQ(printer->GetBinIndex(), 0);
    TPoint dpi;
    printer->GetResolution(dpi);
    EXPECT_EQ(dpi.X, 180);
    EXPECT_EQ(dpi.Y, 180);
    EXPECT_EQ(printer->GetScale(), 100);
    EXPECT_EQ(printer->GetSupportedFields(), (1u << 1) | (1u << 6));
    auto bins = printer->ChoiceFor(VisibleIndexOf("slip")).bins;
    ASSERT_EQ(bins.size(), 4u);
    EXPECT_EQ(bins[2].number, 4);   // manual feed
    EXPECT_GE(bins[3].number, 256); // no platform number for a front tractor
}

TEST_F(CupsPrinterTest, DotMatrixQueueHasWindowsPaperNumbersAndNoSources) {
    printer->SetIndex(VisibleIndexOf("dotmatrix"));
    EXPECT_EQ(printer->GetPaperSizeNames().size(), 4u);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 9); // A4, set as the queue's default
    EXPECT_EQ(printer->GetPaperSizeIndex(), 2);
    std::vector<int> numbers;
    for (const NumberedName& p : printer->ChoiceFor(VisibleIndexOf("dotmatrix")).papers)
        numbers.push_back(p.number);
    EXPECT_THAT(numbers, ElementsAre(1, 5, 9, 39));
    TPoint dpi;
    printer->GetResolution(dpi);
    EXPECT_EQ(dpi.X, 360);
    EXPECT_EQ(dpi.Y, 360);
    EXPECT_THROW(printer->GetBinNames(), EHqPrinterNotSupported);
}

TEST_F(CupsPrinterTest, ScaleComesFromTheQueuesScalingDefault) {
    sandbox::Run("lpadmin -p dotmatrix -o scaling-default=50");
    sandbox::Restore undo{"lpadmin -p dotmatrix -R scaling-default"};
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>()); // its listing has the default
    printer->SetIndex(VisibleIndexOf("dotmatrix"));
    EXPECT_EQ(printer->GetScale(), 50);
    // A change made while the program runs shows after a refresh, and the choices stay.
    printer->Choose(VisibleIndexOf("dotmatrix"), 1, 0);
    sandbox::Run("lpadmin -p dotmatrix -o scaling-default=80");
    EXPECT_EQ(printer->GetScale(), 50);
    printer->Refresh();
    EXPECT_EQ(printer->GetScale(), 80);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 1);
    EXPECT_NE(printer->GetSupportedFields() & (1u << 4), 0u);
}

TEST_F(CupsPrinterTest, SetIndexGoesBackToTheQueuesDefaults) {
    printer->Choose(VisibleIndexOf("slip"), 9, 4);
    EXPECT_EQ(printer->GetPaperSizeIndex(), 2);
    EXPECT_EQ(printer->GetBinIndex(), 2);
    printer->SetIndex(VisibleIndexOf("dotmatrix"));
    printer->SetIndex(VisibleIndexOf("slip"));
    EXPECT_EQ(printer->GetPaperSizeIndex(), 0);
    EXPECT_EQ(printer->GetBinIndex(), 0);
}

// --- Defaults and slip forms ---------------------------------------------------------------------

TEST_F(CupsPrinterTest, SourceTheSchedulerDoesNotNameIsLeftToTheQueue) {
    // The driver's default feed is the manual one; the scheduler does not report it for a driver.
    sandbox::Run("lpadmin -p slip -o InputSlot=Manual");
    sandbox::Restore undo{"lpadmin -p slip -o InputSlot=Tractor"};
    printer->SetIndex(VisibleIndexOf("slip"));
    EXPECT_EQ(printer->GetBinNames().at(printer->GetBinIndex()), kPrinterDefault);
    const sandbox::Job left = PrintPage("slip", [](HqCanvas& c) { c.TextOut(0, 0, "left"); });
    EXPECT_THAT(sandbox::FilterOptions(left.id), Not(HasSubstr("media-source")));
    EXPECT_THAT(sandbox::JobLog(left.id), HasSubstr("MediaPosition = 1")); // fed by hand

    // A source chosen is asked for; choosing the printer's own setting again leaves it to the queue.
    printer->Choose(VisibleIndexOf("slip"), std::nullopt, 8);
    const sandbox::Job chosen = PrintPage("slip", [](HqCanvas& c) { c.TextOut(0, 0, "chosen"); });
    EXPECT_THAT(sandbox::FilterOptions(chosen.id), HasSubstr("InputSlot=Tractor"));
    EXPECT_THAT(sandbox::JobLog(chosen.id), HasSubstr("MediaPosition = 0"));
    printer->Choose(VisibleIndexOf("slip"), std::nullopt, kPrinterDefaultEntry);
    const sandbox::Job again = PrintPage("slip", [](HqCanvas& c) { c.TextOut(0, 0, "again"); });
    EXPECT_THAT(sandbox::FilterOptions(again.id), Not(HasSubstr("media-source")));
    EXPECT_THAT(sandbox::JobLog(again.id), HasSubstr("MediaPosition = 1"));
}

TEST_F(CupsPrinterTest, AdministratorsDefaultSourceIsCurrentAndAskedFor) {
    // Reported with the destination, but applied by no one but the clients that send it.
    sandbox::Run("lpadmin -p slip -o media-source-default=manual");
    sandbox::Restore undo{"lpadmin -p slip -R media-source-default"};
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    printer->SetIndex(VisibleIndexOf("slip"));
    EXPECT_EQ(printer->GetBinNames().at(printer->GetBinIndex()), "Manual Feed");
    EXPECT_EQ(printer->ChoiceFor(VisibleIndexOf("slip")).binIndex, 2);
    const sandbox::Job job = PrintPage("slip", [](HqCanvas& c) { c.TextOut(0, 0, "manual"); });
    EXPECT_THAT(sandbox::JobLog(job.id), HasSubstr("MediaPosition = 1"));
}

TEST_F(CupsPrinterTest, QueueThatTakesFreeSizesOffersTheSlipFormAndPrintsOnIt) {
    const struct {
        SlipForm form;
        const char* name;
        const char* pageSize; // as the scheduler hands it to the driver
        const char* rasterPage;
    } cases[] = {{{720, 288}, "10 x 4 in", "PageSize=Custom.720x288", "PageSize = [ 720 288 ]"},
                 {{648, 396}, "9 x 5.5 in", "PageSize=Custom.648x396", "PageSize = [ 648 396 ]"}};
    const int dotmatrix = VisibleIndexOf("dotmatrix");
    for (const auto& c : cases) {
        printer->SetIndex(VisibleIndexOf("slip"));
        printer->SetSlipForm(c.form);
        // Offered and preselected on a printer that is not the current one, too.
        const PrinterChoice choice = printer->ChoiceFor(dotmatrix);
        ASSERT_EQ(choice.papers.size(), 5u) << c.name;
        EXPECT_EQ(choice.papers.back().name, c.name);
        EXPECT_EQ(choice.paperIndex, 4) << c.name;

        printer->Choose(dotmatrix, 1, std::nullopt); // Letter, then the form changes: the form again
        printer->SetSlipForm({});
        printer->SetSlipForm(c.form);
        EXPECT_EQ(printer->GetPaperSizeNames().at(printer->GetPaperSizeIndex()), c.name);
        const PageGeometry page = printer->GetPageGeometry();
        EXPECT_EQ(page.width, c.form.width);
        EXPECT_EQ(page.length, c.form.length);
        EXPECT_NEAR(page.originX, 18, 0.01); // the driver's margins
        const sandbox::Job job = PrintPage("dotmatrix", [](HqCanvas& h) { h.TextOut(0, 0, "form"); });
        EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
        EXPECT_THAT(sandbox::Run("pdfinfo '" + sandbox::SpoolFile(job.id) + "'"),
                    HasSubstr(std::to_string(int(c.form.width)) + " x " + std::to_string(int(c.form.length)) +
                              " pts"));
        EXPECT_THAT(sandbox::FilterOptions(job.id), HasSubstr(c.pageSize));
        EXPECT_THAT(sandbox::JobLog(job.id), HasSubstr(c.rasterPage));
    }
    // A queue with named sizes only offers what it has and keeps its own default.
    printer->SetIndex(VisibleIndexOf("slip"));
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("10 x 4 in", "9 x 5.5 in", "A4"));
    EXPECT_EQ(printer->GetPaperSizeIndex(), 0);
}

// --- Printing -----------------------------------------------------------------------------------

TEST_F(CupsPrinterTest, PagePutsEachTextWhereItWasDrawn) {
    printer->SetIndex(VisibleIndexOf("dotmatrix")); // 360 dpi, printable area 18 pt in from the corner
    const double dot = 72.0 / 360;
    const double origin = 18;
    struct Item {
        int x, y;
        std::string text;
    };
    const std::vector<Item> items = {{0, 0, "Corner"}, {720, 360, "Middle"}, {1500, 2000, "Far"}};
    sandbox::Job job = PrintPage("dotmatrix", [&](HqCanvas& c) {
        c.SetFontName("Liberation Sans");
        c.SetFontSize(12);
        c.SetFontColor(clBlack);
        c.SetBrushColor(clWhite);
        for (const Item& it : items)
            c.TextOut(it.x, it.y, it.text);
    });
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    EXPECT_EQ(job.title, kTitle);
    auto words = sandbox::PdfWords(sandbox::SpoolFile(job.id));
    ASSERT_EQ(words.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(words[i].text, items[i].text);
        EXPECT_NEAR(words[i].xMin, origin + items[i].x * dot, dot) << items[i].text;
        EXPECT_NEAR(words[i].yMin, origin + items[i].y * dot, dot) << items[i].text;
    }
}

TEST_F(CupsPrinterTest, JapaneseTextInTheSlipFontReachesThePage) {
    printer->SetIndex(VisibleIndexOf("slip")); // 180 dpi, no margins
    const double dot = 72.0 / 180;
    sandbox::Job job = PrintPage("slip", [&](HqCanvas& c) {
        c.SetFontName(cp932::FromUtf8("ＭＳ Ｐ明朝"));
        c.SetFontSize(11);
        EXPECT_EQ(c.FontName(), cp932::FromUtf8("ＭＳ Ｐ明朝"));
        c.TextOut(90, 45, cp932::FromUtf8("送り状"));
    });
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    auto words = sandbox::PdfWords(sandbox::SpoolFile(job.id));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].text, "送り状");
    EXPECT_NEAR(words[0].xMin, 90 * dot, dot);
    EXPECT_NEAR(words[0].yMin, 45 * dot, dot);
    // The page is the slip form itself: 10 x 4 inches.
    std::string info = sandbox::Run("pdfinfo '" + sandbox::SpoolFile(job.id) + "'");
    EXPECT_THAT(info, HasSubstr("720 x 288 pts"));
}

TEST_F(CupsPrinterTest, DesignFontNamesUseInstalledSubstitutes) {
    sandbox::Job job = PrintPage("slip", [](HqCanvas& c) {
        c.SetFontName(cp932::FromUtf8("ＭＳ Ｐ明朝"));
        c.TextOut(0, 0, "Mincho");
        c.SetFontName("Lucida Sans Unicode");
        c.TextOut(0, 100, "Lucida");
        c.SetFontName("Microsoft Sans Serif");
        c.TextOut(0, 200, "Sans");
    });
    std::string fonts = sandbox::Run("pdffonts '" + sandbox::SpoolFile(job.id) + "'");
    EXPECT_THAT(fonts, HasSubstr("IPAPMincho"));
    EXPECT_THAT(fonts, HasSubstr("DejaVuSans"));
    EXPECT_THAT(fonts, HasSubstr("LiberationSans"));
}

TEST_F(CupsPrinterTest, TextCellIsFilledWithTheBrushColour) {
    // Black bars, then white-on-white dashes over the left one: an opaque cell wipes out the bars
    // behind it, a transparent one would leave the bars between the dashes.
    sandbox::Job job = PrintPage("slip", [](HqCanvas& c) {
        c.SetFontName("Liberation Sans");
        c.SetFontSize(20);
        c.SetFontColor(clBlack);
        c.TextOut(0, 0, "IIIIIIII");
        c.TextOut(300, 0, "IIIIIIII");
        c.SetFontColor(clWhite);
        c.SetBrushColor(clWhite);
        c.TextOut(0, 0, "--------------------");
    });
    sandbox::Gray page = sandbox::Render(sandbox::SpoolFile(job.id), 180);
    ASSERT_GT(page.width, 500);
    EXPECT_EQ(page.DarkPixels(0, 0, 200, 60), 0);    // wiped
    EXPECT_GT(page.DarkPixels(300, 0, 480, 60), 50); // untouched
}

TEST_F(CupsPrinterTest, CoarseVerticalResolutionKeepsPositionsInDots) {
    sandbox::Run("lpadmin -p dotmatrix -o Resolution=120x60dpi");
    sandbox::Restore undo{"lpadmin -p dotmatrix -o Resolution=360dpi"};
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    printer->SetIndex(VisibleIndexOf("dotmatrix"));
    TPoint dpi;
    printer->GetResolution(dpi);
    ASSERT_EQ(dpi.X, 120);
    ASSERT_EQ(dpi.Y, 60);
    sandbox::Job job = PrintPage("dotmatrix", [](HqCanvas& c) {
        c.SetFontName("Liberation Sans");
        c.TextOut(240, 120, "Two"); // two inches in, two inches down
    });
    auto words = sandbox::PdfWords(sandbox::SpoolFile(job.id));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_NEAR(words[0].xMin, 18 + 144, 72.0 / 120);
    EXPECT_NEAR(words[0].yMin, 18 + 144, 72.0 / 60);
    EXPECT_THAT(sandbox::FilterOptions(job.id), HasSubstr("Resolution=120x60dpi"));
}

TEST_F(CupsPrinterTest, ChosenSourceAndQueueResolutionReachTheDriver) {
    printer->Choose(VisibleIndexOf("slip"), 257, 4); // hand-fed slip, manual feed
    sandbox::Job job = PrintPage("slip", [](HqCanvas& c) { c.TextOut(10, 10, "slip"); });
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    std::string options = sandbox::FilterOptions(job.id);
    EXPECT_THAT(options, HasSubstr("InputSlot=Manual"));
    EXPECT_THAT(options, HasSubstr("Resolution=180dpi"));
    EXPECT_THAT(options, HasSubstr("PageSize=SlipHand"));
    EXPECT_THAT(options, HasSubstr("print-scaling=none"));
    EXPECT_THAT(sandbox::ReadFile(sandbox::Dir() + "/out/slip.prn"), HasSubstr("\x1b*\x27")); // ESC * 39
}

TEST_F(CupsPrinterTest, DotMatrixPrintsAt360Dpi) {
    printer->SetIndex(VisibleIndexOf("dotmatrix"));
    sandbox::Job job = PrintPage("dotmatrix", [](HqCanvas& c) { c.TextOut(0, 0, "360"); });
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    EXPECT_THAT(sandbox::FilterOptions(job.id), HasSubstr("Resolution=360dpi"));
    EXPECT_THAT(sandbox::ReadFile(sandbox::Dir() + "/out/dotmatrix.prn"), HasSubstr("\x1b*\x48")); // ESC * 72
}

TEST_F(CupsPrinterTest, AbortSendsNothing) {
    int before = sandbox::LastJobId("slip");
    printer->BeginDoc(kTitle);
    printer->GetCanvas().TextOut(5, 5, "never");
    printer->Abort();
    EXPECT_EQ(sandbox::LastJobId("slip"), before);
    EXPECT_THROW(printer->EndDoc(), EHqPrinter); // the document is gone
    EXPECT_THROW(printer->GetCanvas().TextOut(5, 5, "late"), EHqPrinter);
    // The next document prints as usual.
    sandbox::Job job = PrintPage("slip", [](HqCanvas& c) { c.TextOut(5, 5, "again"); });
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
}

TEST_F(CupsPrinterTest, EndDocOnARejectingQueueRaisesTheSchedulersMessage) {
    printer->SetIndex(VisibleIndexOf("slip"));
    int before = sandbox::LastJobId("slip");
    printer->BeginDoc(kTitle);
    printer->GetCanvas().TextOut(5, 5, "refused");
    sandbox::Run("cupsreject slip");
    sandbox::Restore accept{"cupsaccept slip"};
    try {
        printer->EndDoc();
        ADD_FAILURE() << "a rejecting queue took the job";
    } catch (const EHqPrinter& e) {
        EXPECT_THAT(e.Message(), HasSubstr("THqPrinter.EndDoc: "));
        EXPECT_THAT(e.Message(), HasSubstr("not accepting"));
    }
    EXPECT_EQ(sandbox::LastJobId("slip"), before);
}

TEST_F(CupsPrinterTest, EndDocOnAQueueThatRefusesTheDocumentRaisesAndLeavesNoJob) {
    sandbox::Run("lpadmin -p commands -E -v file://" + sandbox::Dir() + "/out/commands.prn -P " +
                 sandbox::Dir() + "/ppd/zaridi-command.ppd");
    sandbox::Restore drop{"lpadmin -x commands"};
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    printer->SetIndex(VisibleIndexOf("commands"));
    printer->BeginDoc(kTitle);
    printer->GetCanvas().TextOut(5, 5, "refused");
    try {
        printer->EndDoc();
        ADD_FAILURE() << "a queue without a PDF filter took the page";
    } catch (const EHqPrinter& e) {
        EXPECT_THAT(e.Message(), HasSubstr("THqPrinter.EndDoc: "));
        EXPECT_THAT(e.Message(), HasSubstr("document-format"));
    }
    const std::vector<sandbox::Job> jobs = sandbox::Jobs("commands");
    ASSERT_FALSE(jobs.empty()) << "the queue did not take the job";
    for (const sandbox::Job& j : jobs)
        EXPECT_EQ(j.state, IPP_JSTATE_CANCELED) << "job " << j.id;
}

TEST_F(CupsPrinterTest, EndDocOnADeletedQueueRaises) {
    sandbox::Run("lpadmin -p doomed -E -v file://" + sandbox::Dir() + "/out/doomed.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x doomed"};
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    printer->SetIndex(VisibleIndexOf("doomed"));
    printer->BeginDoc(kTitle);
    printer->GetCanvas().TextOut(5, 5, "lost");
    sandbox::Run("lpadmin -x doomed");
    try {
        printer->EndDoc();
        ADD_FAILURE() << "a deleted queue took the job";
    } catch (const EHqPrinter& e) {
        EXPECT_THAT(e.Message(), HasSubstr("THqPrinter.EndDoc: "));
    }
}

TEST_F(CupsPrinterTest, WatchSeesANewQueueAndKeepsTheChosenPrinter) {
    printer->Choose(VisibleIndexOf("dotmatrix"), 1, 0); // Letter
    sandbox::Run("lpadmin -p added -E -v file://" + sandbox::Dir() + "/out/added.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x added"};
    printer->SettingsChanged();
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("added", "dotmatrix", "slip"));
    EXPECT_EQ(printer->GetIndex(), 1);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 1);
    TPoint dpi;
    printer->GetResolution(dpi);
    EXPECT_EQ(dpi.X, 360);
}

TEST_F(CupsPrinterTest, WatchFallsBackToTheDefaultWhenTheChosenQueueIsGone) {
    sandbox::Run("lpadmin -p gone -E -v file://" + sandbox::Dir() + "/out/gone.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x gone"};
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    printer->SetIndex(VisibleIndexOf("gone"));
    sandbox::Run("lpadmin -x gone");
    printer->SettingsChanged();
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("dotmatrix", "slip"));
    EXPECT_EQ(printer->GetIndex(), 1);
}

TEST_F(CupsPrinterTest, NoSchedulerMeansNoPrinter) {
    const std::string server = std::getenv("CUPS_SERVER");
    cupsSetServer("127.0.0.1:1");
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    EXPECT_THROW(printer->GetPrinterNames(), EHqPrinterNoPrinter);
    EXPECT_THROW(printer->GetIndex(), EHqPrinterNoPrinter);
    cupsSetServer(server.c_str());
    printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
    EXPECT_EQ(printer->GetPrinterNames().size(), 2u);
}

} // namespace
