// One renderer: the F5 preview of a full slip against the page the private scheduler received for the
// same slip, both at the printer's resolution, text by text; and the calibration test page as a job.
#include "Sandbox.h"
#include "SlipWindow.h"

#include "app/qt/form/SlipBinding.h"
#include "app/qt/print/PreviewWindow.h"
#include "gui/support/FormFixture.h"
#include "printer/HqPrinter.h"
#include "printer/qt/PdfCanvas.h"

#include <gmock/gmock.h>

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

namespace {

// Grey below this is ink: a hyphen one vertical dot thick at 60 dpi is still anti-aliased grey.
constexpr int kInk = 160;

// The smallest rectangle holding every inked pixel of `area`; empty when there is none.
template <class Inked>
QRect InkBox(QRect area, Inked inked) {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (inked(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return left > right ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The options of a job as the scheduler handed them to the driver, by name.
std::map<std::string, std::string> Options(int job) {
    std::map<std::string, std::string> options;
    std::string line = sandbox::FilterOptions(job); // ... argv[5]="name=value name=value ..."
    line = line.substr(line.find("=\"") + 2);
    if (!line.empty() && line.back() == '"') line.pop_back(); // the quote that closes argv[5]
    for (std::size_t at = 0; at < line.size();) {
        std::size_t end = line.find(' ', at);
        if (end == std::string::npos) end = line.size();
        const std::string word = line.substr(at, end - at);
        if (std::size_t eq = word.find('='); eq != std::string::npos)
            options[word.substr(0, eq)] = word.substr(eq + 1);
        at = end + 1;
    }
    return options;
}

class PreviewPrintTest : public SlipWindowTest {
protected:
    // F11 and Yes in the postcode field; the job that reached `queue`.
    int PrintSlip(TForm_Main& w, const std::string& queue) {
        const int before = sandbox::LastJobId("");
        fx->boxes.AnswerNext(true);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        EXPECT_TRUE(fx->boxes.Errors().empty());
        const int id = sandbox::LastJobId(queue);
        EXPECT_GT(id, before) << "no job reached " << queue;
        EXPECT_EQ(sandbox::WaitForJob(queue, id).state, IPP_JSTATE_COMPLETED);
        return id;
    }

    // The preview and the printed page of the full slip find every text's ink in the same place.
    void CheckOneRenderer(const std::string& queue, int index, int dpi, int dpiy, double originPt) {
        TForm_Main& w = StartWith(index, "12", "-5");
        FillFullSlip(w);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F5);
        ASSERT_TRUE(Form_Preview);
        ASSERT_TRUE(Form_Preview->Label_Missing->isHidden())
            << Form_Preview->Label_Missing->text().toStdString();
        const QImage shown = Form_Preview->PageImage();
        Form_Preview->close();
        ASSERT_FALSE(shown.isNull());

        const int id = PrintSlip(w, queue);
        sandbox::Gray printed = sandbox::Render(sandbox::SpoolFile(id), dpi, dpiy);
        ASSERT_LE(std::abs(printed.width - shown.width()), 1);
        ASSERT_LE(std::abs(printed.height - shown.height()), 1);

        // Texts placed at the resolution F11 wrote; each one's cell measured in the face it is drawn in.
        const std::vector<SlipDraw> draws = LayoutSlip(w.Slip().Captions(), w.Slip().Read());
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
        device.setDotsPerMeterY(device.dotsPerMeterX());
        const double squeeze = static_cast<double>(dpiy) / dpi;
        const QPoint origin(std::lround(originPt * dpi / 72), std::lround(originPt * dpiy / 72));
        auto inkShown = [&](int x, int y) {
            if (x >= shown.width() || y >= shown.height()) return false;
            const QRgb p = shown.pixel(x, y);
            return std::max({qRed(p), qGreen(p), qBlue(p)}) < kInk; // black text, not the blue outlines
        };
        auto inkPrinted = [&](int x, int y) {
            return x < printed.width && y < printed.height &&
                   static_cast<unsigned char>(printed.pixels[y * printed.width + x]) < kInk;
        };
        int compared = 0;
        for (const SlipDraw& d : draws) {
            const QString text = FromCp932(d.text).replace(QChar(0x5C), QChar(0xA5));
            if (text.trimmed().isEmpty()) continue;
            QFontMetricsF m(QFont(CanvasFont(FromCp932(d.font), d.size, 0), &device), &device);
            const QRect cell(
                origin + QPoint(d.x, d.y),
                QSize(std::ceil(m.horizontalAdvance(text)), std::ceil((m.ascent() + m.descent()) * squeeze)));
            const QRect area = cell.adjusted(-3, -3, 3, 3);
            const QRect a = InkBox(area, inkShown), b = InkBox(area, inkPrinted);
            ASSERT_FALSE(a.isNull()) << "no ink in the preview for " << text.toStdString();
            const bool near = std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1 &&
                              std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
            EXPECT_TRUE(near) << text.toStdString() << ": preview " << a.left() << "," << a.top() << "-"
                              << a.right() << "," << a.bottom() << " printed " << b.left() << "," << b.top()
                              << "-" << b.right() << "," << b.bottom();
            ++compared;
        }
        EXPECT_EQ(compared, 48);
    }
};

TEST_F(PreviewPrintTest, PreviewAndPrintedPageAt360DpiPutEveryTextWithinOneDot) {
    CheckOneRenderer("dotmatrix", 0, 360, 360, 18);
}

TEST_F(PreviewPrintTest, PreviewAndPrintedPageAt180DpiPutEveryTextWithinOneDot) {
    CheckOneRenderer("slip", 1, 180, 180, 0);
}

TEST_F(PreviewPrintTest, PreviewAndPrintedPageAt120x60DpiPutEveryTextWithinOneDot) {
    sandbox::Run("lpadmin -p dotmatrix -o Resolution=120x60dpi");
    sandbox::Restore undo{"lpadmin -p dotmatrix -o Resolution=360dpi"};
    CheckOneRenderer("dotmatrix", 0, 120, 60, 18);
}

TEST_F(PreviewPrintTest, TestPageReachesTheSchedulerWithTheSlipsOptionsAndTheMarginsBeingTried) {
    TForm_Main& w = StartWith(1, "0", "0");
    // A paper and source other than the queue's defaults, so that the options show they were passed on.
    THqPrinter& printer = HqPrinter();
    const std::vector<std::string> papers = printer.GetPaperSizeNames();
    const std::vector<std::string> bins = printer.GetBinNames();
    const auto paper = std::find(papers.begin(), papers.end(), "9 x 5.5 in");
    const auto bin = std::find(bins.begin(), bins.end(), "Manual Feed");
    ASSERT_TRUE(paper != papers.end() && bin != bins.end());
    printer.Choose(1, printer.PaperNumbers()[paper - papers.begin()],
                   printer.BinNumbers()[bin - bins.begin()]);
    const std::map<std::string, std::string> slip = Options(PrintSlip(w, "slip"));

    // Margins typed into the dialog and not registered: the page is printed at them.
    fx->boxes.Clear();
    Form_SLIP97YPrn->show();
    Form_SLIP97YPrn->KyNumEdit_TOP->SetText("5");
    Form_SLIP97YPrn->KyNumEdit_LEFT->SetText("7");
    const int before = sandbox::LastJobId("");
    fx->boxes.AnswerNext(true);
    QTest::mouseClick(Form_SLIP97YPrn->BitBtn_TestPrint, Qt::LeftButton);
    Form_SLIP97YPrn->reject();
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    EXPECT_EQ(fx->boxes.Shown()[0].text, QFromUtf8("試し印字しますか?"));
    const int id = sandbox::LastJobId("slip");
    ASSERT_GT(id, before);
    ASSERT_EQ(id, sandbox::LastJobId("")) << "the test page went to another queue";
    const sandbox::Job job = sandbox::WaitForJob("slip", id);
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    EXPECT_EQ(job.title, "tavo_Zaridi2  試し印字");

    const std::map<std::string, std::string> page = Options(id);
    for (const char* name : {"PageSize", "media", "InputSlot", "Resolution", "print-scaling"}) {
        ASSERT_TRUE(page.count(name)) << name;
        EXPECT_EQ(page.at(name), slip.count(name) ? slip.at(name) : "(none)") << name;
    }
    EXPECT_EQ(page.at("PageSize"), "SlipHand");
    EXPECT_EQ(page.at("InputSlot"), "Manual");
    EXPECT_EQ(page.at("print-scaling"), "none");

    const std::string pdf = sandbox::SpoolFile(id);
    const std::string info = sandbox::Run("pdfinfo '" + pdf + "'");
    EXPECT_THAT(info, ContainsRegex("Pages: +1\n"));
    EXPECT_THAT(info, ContainsRegex("Page size: +648 x 396 pts"));
    std::vector<std::string> words;
    for (const sandbox::Word& word : sandbox::PdfWords(pdf))
        words.push_back(word.text);
    EXPECT_THAT(words, ::testing::IsSupersetOf({"試し印字", "10", "150"}));

    // At 180 dpi (1.125 dots a layout unit): the first postcode box's crosshair crosses at layout
    // (206, 46) = dot (232, 52), moved by the margins; the ruler's 100 mm tick stands 709 dots right
    // of the left margin and reaches 3 mm (21 dots) down.
    const sandbox::Gray g = sandbox::Render(pdf, 180);
    EXPECT_GT(g.DarkPixels(232 + 7 - 1, 52 + 5 - 1, 232 + 7 + 2, 52 + 5 + 2), 4);
    EXPECT_GT(g.DarkPixels(709 + 7, 5 + 10, 709 + 7 + 1, 5 + 20), 8);
    EXPECT_EQ(g.DarkPixels(709 + 7, 5 + 25, 709 + 7 + 1, 5 + 40), 0);
}

} // namespace
