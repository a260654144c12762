// One slip end to end: the real main window filled in, F11 and Yes, and the one-page document the
// private scheduler received, read back text by text.
#include "Sandbox.h"
#include "SlipWindow.h"
#include <algorithm>

#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"
#include "gui/support/SampleSlip.h"
#include "printer/HqPrinter.h"

#include <gmock/gmock.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <chrono>
#include <cmath>
#include <csignal>
#include <thread>

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

namespace {

const std::string kTitle = "tavo_Zaridi2  ";

// A text of the slip where the form expects it, in layout units (1/160 inch).
struct Expected {
    const char* text;
    int x, y;
};

// Every text of the full slip below, written out from the form's layout rather than computed by
// the program's own routine.
const std::vector<Expected> kFullSlip = {
    {"1", 186, 30},
    {"2", 233, 30},
    {"3", 280, 30},
    {"4", 348, 30},
    {"5", 396, 30},
    {"6", 442, 30},
    {"7", 489, 30},
    {"2026", 550, 486},
    {"12", 624, 486},
    {"07", 674, 486},
    {"1", 576, 65},
    {"2", 602, 65},
    {"0", 628, 65},
    {"¥", 625, 330},
    {"1", 657, 330},
    {"0", 689, 330},
    {"5", 721, 330},
    {"0", 753, 330},
    {"0", 785, 330},
    {"0", 817, 330},
    {"9,545", 860, 336}, // right-aligned in twelve: see TaxOffset
    {"○", 820, 240},
    {"東京都千代田区千代田１－１", 120, 100},
    {"丸の内ビル３階", 120, 150},
    {"総務部御中", 120, 200},
    {"衣料品", 556, 150},
    {"雑貨", 556, 180},
    {"書籍", 556, 210},
    {"山田太郎", 140, 250},
    {"0", 163, 288},
    {"9", 191, 288},
    {"0", 221, 288},
    {"-", 250, 288},
    {"1", 279, 288},
    {"2", 308, 288},
    {"3", 338, 288},
    {"4", 368, 288},
    {"-", 397, 288},
    {"5", 426, 288},
    {"6", 456, 288},
    {"7", 484, 288},
    {"8", 514, 288},
    {"530", 210, 340},
    {"0001", 292, 340},
    {"大阪府大阪市北区梅田１－１", 130, 382},
    {"梅田ビル", 130, 426},
    {"タヴォ商店", 140, 484},
    {"06-1234-5678", 195, 526},
};

std::vector<std::string> Characters(const std::string& utf8) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80)
            ++n;
        out.push_back(utf8.substr(i, n));
        i += n;
    }
    return out;
}

// Dots for a layout position: the scale rounded half up, then the margin.
int Dots(int units, int dpi, int margin) {
    return (units * dpi * 2 + 160) / 320 + margin;
}

class SlipPrintTest : public SlipWindowTest {
protected:
    // F11 in the postcode field, answered with `yes`.
    void PressF11(TForm_Main& w, bool yes) {
        fx->boxes.AnswerNext(yes);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        ASSERT_FALSE(fx->boxes.Shown().empty());
        EXPECT_TRUE(fx->boxes.Shown()[0].text.endsWith(QFromUtf8("印刷しますか?")))
            << fx->boxes.Shown()[0].text.toStdString();
    }

    // Prints the full slip and checks every text on the page the scheduler received; `dpiy` is the
    // vertical resolution when it differs from `dpi`.
    void CheckFullSlip(const std::string& queue, int index, int dpi, double origin, int top, int left,
                       int dpiy = 0) {
        if (dpiy == 0) dpiy = dpi;
        TForm_Main& w = StartWith(index, std::to_string(top).c_str(), std::to_string(left).c_str());
        FillFullSlip(w);
        ASSERT_EQ(w.KyNumEdit_TaxSub->Text(), "9545");
        int before = sandbox::LastJobId("");
        PressF11(w, true);
        ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
        EXPECT_EQ(w.Label_dpix->text(), QString::number(dpi));
        EXPECT_EQ(w.Label_dpiy->text(), QString::number(dpiy));

        int id = sandbox::LastJobId(queue);
        ASSERT_EQ(id, sandbox::LastJobId("")) << "the job went to another queue";
        ASSERT_GT(id, before) << "no job reached " << queue;
        sandbox::Job job = sandbox::WaitForJob(queue, id);
        EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
        EXPECT_EQ(job.title, kTitle);
        const std::string pdf = sandbox::SpoolFile(id);
        EXPECT_THAT(sandbox::Run("pdfinfo '" + pdf + "'"), ContainsRegex("Pages: +1\n"));

        // Each text is found by its characters: the first at the text's position within one dot, the
        // others following it.
        std::vector<sandbox::Glyph> glyphs = sandbox::PdfGlyphs(pdf);
        const double dot = 72.0 / dpi;
        const double dotY = 72.0 / dpiy;
        std::vector<bool> used(glyphs.size(), false);
        int found = 0;
        for (const Expected& e : kFullSlip) {
            const std::vector<std::string> chars = Characters(e.text);
            double x = origin + Dots(e.x, dpi, left) * dot;
            double y = origin + Dots(e.y, dpiy, top) * dotY;
            if (std::string(e.text) == "9,545") x += TaxOffset();
            bool at = false;
            for (std::size_t i = 0; i + chars.size() <= glyphs.size() && !at; ++i) {
                if (std::abs(glyphs[i].x - x) > dot || std::abs(glyphs[i].y - y) > dotY) continue;
                at = true;
                for (std::size_t k = 0; k < chars.size(); ++k)
                    at = at && !used[i + k] && glyphs[i + k].text == chars[k];
                if (at) std::fill(used.begin() + i, used.begin() + i + chars.size(), true);
            }
            found += at;
            EXPECT_TRUE(at) << "\"" << e.text << "\" not at (" << e.x << ", " << e.y << ") = (" << x << ", "
                            << y << ") pt";
        }
        EXPECT_EQ(found, 48);
        for (std::size_t i = 0; i < glyphs.size(); ++i)
            EXPECT_TRUE(used[i]) << "unexpected \"" << glyphs[i].text << "\" at (" << glyphs[i].x << ", "
                                 << glyphs[i].y << ")";
    }

    // The tax's seven leading blanks in the form's 9-point sans serif (Liberation Sans here: 569/2048 em
    // each) come before its first digit.
    static double TaxOffset() { return 7 * 9.0 * 569 / 2048; }

    void ExpectNoJobSince(int before) {
        EXPECT_EQ(sandbox::LastJobId(""), before) << "a job reached the spooler";
    }
};

TEST_F(SlipPrintTest, FullSlipAt360DpiLandsWithinOneDotWithMargins) {
    CheckFullSlip("dotmatrix", 0, 360, 18, 12, -5);
}

TEST_F(SlipPrintTest, FullSlipAt180DpiLandsWithinOneDotWithMargins) {
    CheckFullSlip("slip", 1, 180, 0, 5, 7);
}

TEST_F(SlipPrintTest, FullSlipAt120x60DpiLandsWithinOneDotEachWay) {
    sandbox::Run("lpadmin -p dotmatrix -o Resolution=120x60dpi");
    sandbox::Restore undo{"lpadmin -p dotmatrix -o Resolution=360dpi"};
    CheckFullSlip("dotmatrix", 0, 120, 18, 4, -3, 60);
}

TEST_F(SlipPrintTest, AnsweringNoLeavesNoJobAndPutsTheFocusOnTheFirstGoodsLine) {
    TForm_Main& w = StartWith(1, "0", "0");
    int before = sandbox::LastJobId("");
    PressF11(w, false);
    EXPECT_TRUE(w.Edit_G1->hasFocus());
    EXPECT_TRUE(w.Label_dpix->text().isEmpty()); // the printer was not asked
    ExpectNoJobSince(before);
}

TEST_F(SlipPrintTest, MarginWithDecimalsIsReportedAndLeavesNoJob) {
    TForm_Main& w = StartWith(1, "1.5", "0");
    int before = sandbox::LastJobId("");
    PressF11(w, true);
    EXPECT_EQ(fx->boxes.Errors(), std::vector<QString>{QStringLiteral("'1.5' is not a valid integer value")});
    ExpectNoJobSince(before);
    // The document was abandoned: the next slip prints.
    w.Label_Prn_Top->setText("0");
    fx->boxes.Clear();
    PressF11(w, true);
    EXPECT_TRUE(fx->boxes.Errors().empty());
    EXPECT_GT(sandbox::LastJobId("slip"), before);
}

TEST_F(SlipPrintTest, RejectingQueueGivesTheSchedulersMessageAndNoJob) {
    TForm_Main& w = StartWith(1, "0", "0");
    sandbox::Run("cupsreject slip");
    sandbox::Restore accept{"cupsaccept slip"};
    int before = sandbox::LastJobId("");
    PressF11(w, true);
    ASSERT_EQ(fx->boxes.Errors().size(), 1u);
    EXPECT_THAT(fx->boxes.Errors()[0].toStdString(), HasSubstr("THqPrinter.EndDoc: "));
    EXPECT_THAT(fx->boxes.Errors()[0].toStdString(), HasSubstr("not accepting"));
    ExpectNoJobSince(before);
}

TEST_F(SlipPrintTest, PrinterRemovedAfterRegistrationGivesAnErrorAndNoJob) {
    sandbox::Run("lpadmin -p doomed -E -v file://" + sandbox::Dir() + "/out/doomed.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x doomed"};
    TForm_Main& w = StartWith(0, "0", "0"); // "doomed" comes first
    ASSERT_EQ(w.ComboBox1->currentText(), QString("doomed"));
    sandbox::Run("lpadmin -x doomed");
    int before = sandbox::LastJobId("");
    PressF11(w, true);
    ASSERT_EQ(fx->boxes.Errors().size(), 1u);
    EXPECT_THAT(fx->boxes.Errors()[0].toStdString(), HasSubstr("THqPrinter."));
    ExpectNoJobSince(before);
}

TEST_F(SlipPrintTest, SchedulerGoneAfterRegistrationGivesAnErrorAndNoJob) {
    TForm_Main& w = StartWith(1, "0", "0");
    const std::string server = std::getenv("CUPS_SERVER"); // host and port
    int before = sandbox::LastJobId("");
    cupsSetServer("127.0.0.1:1"); // nothing listens there
    PressF11(w, true);
    cupsSetServer(server.c_str());
    ASSERT_EQ(fx->boxes.Errors().size(), 1u);
    EXPECT_THAT(fx->boxes.Errors()[0].toStdString(), HasSubstr("THqPrinter."));
    ExpectNoJobSince(before);
}

TEST_F(SlipPrintTest, NoPrinterAtAllIsToldOnTheStatusLineWithoutABoxAndNothingIsPrinted) {
    const std::string server = std::getenv("CUPS_SERVER");
    int before = sandbox::LastJobId("");
    cupsSetServer("127.0.0.1:1"); // a scheduler with no printers would look the same
    fx->Write("tavo_a500.ini",
              Cp932FromUtf8("[手差し]\r\nPrnNoIndex=0\r\n")); // registered when there was one
    TForm_Main& w = fx->Start();
    cupsSetServer(server.c_str());
    EXPECT_TRUE(fx->boxes.Shown().empty());
    EXPECT_TRUE(w.StatusBar1->currentMessage().startsWith(
        QFromUtf8("印刷できるプリンタがありません（CUPS が動いていません）")))
        << w.StatusBar1->currentMessage().toStdString();
    // The rest of the start-up still ran: the function keys are set up.
    EXPECT_TRUE(w.SpeedButton_F[2]->isEnabled());
    EXPECT_EQ(w.SpeedButton_F[11]->text(), QString::fromUtf8("印刷"));
    ExpectNoJobSince(before);
}

TEST_F(SlipPrintTest, DriverScaleOfFiftyDoublesTheEffectiveResolution) {
    sandbox::Run("lpadmin -p dotmatrix -o scaling-default=50");
    sandbox::Restore undo{"lpadmin -p dotmatrix -R scaling-default"};
    TForm_Main& w = StartWith(0, "0", "0");
    int before = sandbox::LastJobId("dotmatrix");
    PressF11(w, true);
    EXPECT_TRUE(fx->boxes.Errors().empty());
    EXPECT_EQ(w.Label_dpix->text(), QString("720"));
    EXPECT_EQ(w.Label_dpiy->text(), QString("720"));
    EXPECT_GT(sandbox::LastJobId("dotmatrix"), before);
}

} // namespace

// --- A scheduler in trouble: bounded waits, and messages that say what happened -------------------------

namespace {

// Stops the private scheduler (SIGSTOP) for as long as it lives; it answers again afterwards.
class StoppedScheduler {
public:
    StoppedScheduler() : pid_(std::atoi(sandbox::ReadFile(sandbox::Dir() + "/cupsd.pid").c_str())) {
        if (pid_ > 0) kill(pid_, SIGSTOP);
    }
    ~StoppedScheduler() { Continue(); }
    void Continue() {
        if (pid_ > 0) kill(pid_, SIGCONT);
        pid_ = 0;
    }
    bool Stopped() const { return pid_ > 0; }

private:
    pid_t pid_;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The jobs made after `before` on any queue that are not cancelled or aborted.
std::vector<sandbox::Job> LiveJobsSince(int before) {
    std::vector<sandbox::Job> live;
    for (const sandbox::Job& j : sandbox::Jobs(""))
        if (j.id > before && j.state != IPP_JSTATE_CANCELED && j.state != IPP_JSTATE_ABORTED)
            live.push_back(j);
    return live;
}

} // namespace

TEST_F(SlipPrintTest, StoppedSchedulerAtF11IsReportedInBoundedTimeAndNothingPrints) {
    TForm_Main& w = StartWith(1, "0", "0");
    FillFullSlip(w);
    const int before = sandbox::LastJobId("");
    StoppedScheduler stopped;
    ASSERT_TRUE(stopped.Stopped());
    const auto start = std::chrono::steady_clock::now();
    PressF11(w, true);
    const double waited = SecondsSince(start);
    stopped.Continue();
    const auto resumed = std::chrono::steady_clock::now();
    EXPECT_LT(waited, 10.0) << "the window waited on the scheduler";
    ASSERT_EQ(fx->boxes.Errors().size(), 1u);
    EXPECT_EQ(fx->boxes.Errors()[0],
              QString::fromUtf8("THqPrinter.EndDoc: プリンタの応答がありません\n"
                                "プリンタ「slip」: CUPS が止まっているか、混み合っています"));
    // Once the scheduler answers again, what it made of the unanswered request is cancelled unprinted
    // (the scheduler may take a moment to get to that request).
    std::vector<sandbox::Job> live;
    for (int i = 0; i < 100; ++i) {
        live = LiveJobsSince(before);
        if (live.empty() && SecondsSince(resumed) > 5) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    for (const sandbox::Job& j : live)
        ADD_FAILURE() << "job " << j.id << " is still in state " << j.state;
    // And the next slip prints.
    fx->boxes.Clear();
    PressF11(w, true);
    EXPECT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    ASSERT_EQ(LiveJobsSince(before).size(), 1u);
    EXPECT_EQ(sandbox::WaitForJob("slip", sandbox::LastJobId("slip")).state, IPP_JSTATE_COMPLETED);
}

TEST_F(SlipPrintTest, SchedulerStoppedAtStartIsReportedAfterTheWindowInBoundedTime) {
    StoppedScheduler stopped;
    ASSERT_TRUE(stopped.Stopped());
    const auto start = std::chrono::steady_clock::now();
    TForm_Main& w = fx->Start(); // waits for the printer part of the start-up
    const double waited = SecondsSince(start);
    stopped.Continue();
    EXPECT_TRUE(w.isVisible());
    EXPECT_LT(waited, 10.0);
    EXPECT_TRUE(fx->boxes.Shown().empty()); // said on the status line, not in a box in the way
    EXPECT_TRUE(w.StatusBar1->currentMessage().contains(QFromUtf8("プリンタの応答がありません")))
        << w.StatusBar1->currentMessage().toStdString();
}

TEST_F(SlipPrintTest, DeletedQueueAtF11IsNamedWithTheCause) {
    sandbox::Run("lpadmin -p doomed -E -v file://" + sandbox::Dir() + "/out/doomed.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x doomed"};
    TForm_Main& w = StartWith(0, "0", "0");
    ASSERT_EQ(w.ComboBox1->currentText(), QString("doomed"));
    sandbox::Run("lpadmin -x doomed");
    PressF11(w, true);
    ASSERT_EQ(fx->boxes.Errors().size(), 1u);
    const QStringList lines = fx->boxes.Errors()[0].split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("THqPrinter.EndDoc: ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString::fromUtf8("プリンタ「doomed」が削除されました"));
}

TEST_F(SlipPrintTest, SchedulerNotRunningAtF11SaysSo) {
    TForm_Main& w = StartWith(1, "0", "0");
    const std::string server = std::getenv("CUPS_SERVER");
    cupsSetServer("127.0.0.1:1"); // nothing listens there
    PressF11(w, true);
    cupsSetServer(server.c_str());
    ASSERT_EQ(fx->boxes.Errors().size(), 1u);
    const QStringList lines = fx->boxes.Errors()[0].split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("THqPrinter.EndDoc: ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString::fromUtf8("CUPS が動いていません"));
}
