// A slip in text mode through the private scheduler: the raw job passes the queue's driver by, and its
// device receives exactly the bytes zaridi-probe escp writes for the same fields.
#include "Sandbox.h"

#include "escp/TextModeRenderer.h"
#include "escp/qt/QtGlyphSource.h"
#include "platform/Cp932Codec.h"
#include "print/PrintTarget.h"
#include "printer/HqPrinter.h"
#include "printer/qt/CupsPrinter.h"
#include "slip/SampleSlip.h"
#include "slip/SlipRecord.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kTitle = "tavo_Zaridi2  ";

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
    // The hand-fed form: the queue takes it as its own size, and the text mode lays the slip out on it.
    const PageGeometry form = NominalPaper(cp932::FromUtf8("手差し"));
    printer->SetSlipForm({form.width, form.length});
    const PageGeometry paper = printer->GetPageGeometry();
    ASSERT_EQ(paper.width, 648);
    ASSERT_EQ(paper.length, 396);
    QtGlyphSource glyphs;
    const escp::TextModeJob job =
        escp::RenderTextMode(LayoutSlip(captions, slip), escp::PageDotsOf(paper), glyphs);

    const int before = sandbox::LastJobId("slip");
    printer->PrintRaw(kTitle, job.bytes);
    const int id = sandbox::LastJobId("slip");
    ASSERT_GT(id, before);
    const sandbox::Job done = sandbox::WaitForJob("slip", id);
    EXPECT_EQ(done.state, IPP_JSTATE_COMPLETED);
    EXPECT_EQ(done.title, kTitle);
    EXPECT_THAT(sandbox::JobLog(id), HasSubstr("application/vnd.cups-raw"));
    EXPECT_THAT(sandbox::FilterOptions(id), Not(HasSubstr("media"))); // nothing asked of a driver
    EXPECT_THAT(sandbox::JobLog(id), Not(HasSubstr("rastertoepson")));

    nlohmann::json fields = {{"Label_dpix", captions.dpix},
                             {"Label_dpiy", captions.dpiy},
                             {"Label_Prn_Top", captions.prnTop},
                             {"Label_Prn_Left", captions.prnLeft}};
    for (const slip::Field& f : slip::kFields) {
        if (f.flag)
            fields[f.name] = slip.*f.flag;
        else
            fields[f.name] = cp932::ToUtf8(slip.*f.text);
    }
    const std::string input = sandbox::Dir() + "/escp-input.json";
    std::ofstream(input) << nlohmann::json{{"fields", fields}, {"paper", {paper.width, paper.length}}}.dump();
    const std::string probe = sandbox::Run("'" ZARIDI_PROBE "' escp < '" + input + "'");
    const std::string device = sandbox::ReadFile(sandbox::Dir() + "/out/slip.prn");
    ASSERT_GT(probe.size(), 1000u); // a whole slip, its pictures included
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

} // namespace
