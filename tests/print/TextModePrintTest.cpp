// Slips in text mode through the private scheduler: the raw job passes the queue's driver by, and its
// device receives exactly the bytes zaridi-probe escp writes for the same fields; from the printer
// object, from F11 in the main window, and the print-position test page in the slips' own mode.
#include "SlipWindow.h"

#include "app/qt/print/SLIP97YPrnUnit.h"
#include "escp/TextModePaper.h"
#include "escp/TextModeRenderer.h"
#include "escp/qt/QtGlyphSource.h"
#include "platform/Cp932Codec.h"
#include "printer/HqPrinter.h"
#include "printer/qt/CupsPrinter.h"
#include "slip/SampleSlip.h"
#include "slip/SlipRecord.h"
#include "unit/escp/EscpDecoder.h"
#include "widgets/qt/KyNumEdit.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fstream>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kTitle = "tavo_Zaridi2  ";
const std::string kDevice = "/out/slip.prn";

// What zaridi-probe escp writes for the slip, its captions and the paper (points).
std::string ProbeBytes(const slip::Record& slip, const LayoutCaptions& captions, const PageGeometry& paper) {
    nlohmann::json fields = {{"Label_dpix", cp932::ToUtf8(captions.dpix)},
                             {"Label_dpiy", cp932::ToUtf8(captions.dpiy)},
                             {"Label_Prn_Top", cp932::ToUtf8(captions.prnTop)},
                             {"Label_Prn_Left", cp932::ToUtf8(captions.prnLeft)}};
    for (const slip::Field& f : slip::kFields) {
        if (f.flag)
            fields[f.name] = slip.*f.flag;
        else
            fields[f.name] = cp932::ToUtf8(slip.*f.text);
    }
    const std::string input = sandbox::Dir() + "/escp-input.json";
    std::ofstream(input) << nlohmann::json{{"fields", fields}, {"paper", {paper.width, paper.length}}}.dump();
    return sandbox::Run("'" ZARIDI_PROBE "' escp < '" + input + "'");
}

// The finished job that `print` sent to the slip queue, and no other.
template <typename Print>
sandbox::Job JobOf(Print print) {
    std::remove((sandbox::Dir() + kDevice).c_str()); // what the device holds then is this job's
    const int before = sandbox::LastJobId("");
    print();
    const int id = sandbox::LastJobId("slip");
    EXPECT_GT(id, before) << "no job reached slip";
    EXPECT_EQ(sandbox::LastJobId(""), id) << "a job went to another queue";
    const sandbox::Job job = sandbox::WaitForJob("slip", id);
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    EXPECT_THAT(sandbox::JobLog(id), HasSubstr("application/vnd.cups-raw"));
    EXPECT_THAT(sandbox::JobLog(id), Not(HasSubstr("rastertoepson"))); // the driver never ran
    EXPECT_THAT(sandbox::FilterOptions(id), Not(HasSubstr("media")));  // nothing asked of it
    return job;
}

class TextModePrint : public ::testing::Test {
protected:
    std::unique_ptr<THqPrinter> printer;

    void SetUp() override {
        REQUIRE_SANDBOX();
        printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
        const auto& names = printer->GetPrinterNames();
        printer->SetIndex(static_cast<int>(std::find(names.begin(), names.end(), "slip") - names.begin()));
    }
};

TEST_F(TextModePrint, TheDeviceReceivesExactlyTheProbesBytes) {
    slip::Record slip = slip::SampleSlip();
    slip.Edit_Custo1 = cp932::FromUtf8("髙橋﨑子"); // characters the printer lacks, as pictures
    const LayoutCaptions captions{"180", "180", "6", "-4"};
    // The hand-fed form chosen from the queue's papers: the text mode lays the slip out on it.
    const int index = printer->GetIndex();
    for (const NumberedName& p : printer->ChoiceFor(index).papers)
        if (p.name == "9 x 5.5 in") printer->Choose(index, p.number, std::nullopt);
    const PageGeometry paper = escp::TextModePaper(*printer, cp932::FromUtf8("連続(４インチ)"));
    ASSERT_EQ(paper.width, 648);
    ASSERT_EQ(paper.length, 396);
    QtGlyphSource glyphs;
    const escp::TextModeJob job =
        escp::RenderTextMode(LayoutSlip(captions, slip), escp::PageDotsOf(paper), glyphs);

    const sandbox::Job done = JobOf([&] { printer->PrintRaw(kTitle, job.bytes); });
    EXPECT_EQ(done.title, kTitle);
    const std::string probe = ProbeBytes(slip, captions, paper);
    const std::string device = sandbox::ReadFile(sandbox::Dir() + kDevice);
    ASSERT_THAT(probe, HasSubstr("\x1c&")); // a whole slip: kanji, and the pictures of 髙 and 﨑
    ASSERT_THAT(probe, HasSubstr("\x1b*\x27"));
    EXPECT_EQ(device.size(), probe.size());
    EXPECT_TRUE(device == probe) << "the device's bytes differ from the probe's";
}

TEST_F(TextModePrint, ARefusedRawJobRaisesTheSchedulersMessageAndLeavesNoJob) {
    const int before = sandbox::LastJobId("slip");
    sandbox::Run("cupsreject slip");
    sandbox::Restore accept{"cupsaccept slip"};
    try {
        printer->PrintRaw(kTitle, "\x1b@\f");
        ADD_FAILURE() << "a rejecting queue took the job";
    } catch (const EHqPrinter& e) {
        EXPECT_THAT(e.Message(), HasSubstr("THqPrinter.PrintRaw: "));
        EXPECT_THAT(e.Message(), HasSubstr("not accepting"));
    }
    EXPECT_EQ(sandbox::LastJobId("slip"), before);
}

// The hand-fed slip type registered on "slip" in text mode, whose driver prints at 360 dpi meanwhile:
// the text mode's dots stay 1/180 inch.
class TextModeWindow : public SlipWindowTest {
protected:
    sandbox::Restore resolution;

    TForm_Main& Start() {
        sandbox::Run("lpadmin -p slip -o Resolution=360dpi");
        resolution.command = "lpadmin -p slip -o Resolution=180dpi";
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=5\r\n"
                                "tavPrn_Left=-2\r\nPrintMode=text\r\n"));
        TForm_Main& w = fx->Start();
        EXPECT_TRUE(fx->boxes.Errors().empty());
        return w;
    }
};

TEST_F(TextModeWindow, F11PrintsTheWindowsSlipAsTheProbeWritesIt) {
    TForm_Main& w = Start();
    FillFullSlip(w);
    w.Edit_Custo1->setText(QFromUtf8("髙橋﨑子"));
    JobOf([&] {
        fx->boxes.AnswerNext(true);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    });
    EXPECT_EQ(w.Label_dpix->text(), "180");
    EXPECT_EQ(w.Label_dpiy->text(), "180");
    // The queue's own paper, the continuous form.
    const std::string probe = ProbeBytes(w.SlipValues(), w.SlipCaptions(), {720, 288, 0, 0});
    const std::string device = sandbox::ReadFile(sandbox::Dir() + kDevice);
    EXPECT_EQ(device.size(), probe.size());
    EXPECT_TRUE(device == probe) << "the device's bytes differ from the probe's";
}

TEST_F(TextModeWindow, TestPageIsPrintedInTextModeAtItsDots) {
    Start();
    Form_SLIP97YPrn->show();
    EXPECT_THAT(Form_SLIP97YPrn->Label_Resolution->text().toStdString(), HasSubstr("180×180 dpi"));
    Form_SLIP97YPrn->KyNumEdit_TOP->SetText("8");
    Form_SLIP97YPrn->KyNumEdit_LEFT->SetText("3");
    const sandbox::Job job = JobOf([&] {
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(Form_SLIP97YPrn->BitBtn_TestPrint, Qt::LeftButton);
        Form_SLIP97YPrn->reject();
        ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    });
    EXPECT_EQ(job.title, "tavo_Zaridi2  試し印字");

    const std::string device = sandbox::ReadFile(sandbox::Dir() + kDevice);
    const decoded::Page page = decoded::Decode(device);
    EXPECT_EQ(page.errors, std::vector<std::string>{});
    EXPECT_EQ(page.pageLength, 720); // the queue's 4-inch form
    // The lines as pictures from the typed margins: the rulers' corner at dot (3, 8).
    EXPECT_TRUE(std::any_of(page.marks.begin(), page.marks.end(), [](const decoded::Mark& m) {
        return m.kind == decoded::Kind::Bitmap && m.x == 3 && m.y == 8 && (m.columns[0] & 0x80);
    }));
    QtGlyphSource glyphs;
    const std::string expected =
        escp::RenderTestPage(LayoutTestPage({"180", "180", "8", "3"}), {1800, 720}, glyphs).bytes;
    EXPECT_TRUE(device == expected) << "not the test page at 180 dpi and the typed margins";
}

} // namespace
