// The text mode beside the graphics path, for the end-to-end test's full slip, the preview benchmark's
// slip and the full slip with characters the printer lacks. Text mode: bytes, head passes, printed rows,
// pictures and the time to render (goals: bytes at most 1/20 of the graphics path's, one pass per row,
// under 1 ms). Graphics path: the slip's PDF through the private scheduler's "slip" queue (the CUPS
// sample 24-pin driver at 180 dpi), its bytes and bands. Both with a print time from the model of
// docs/escp.md.
#include "support/BenchScheduler.h"

#include "escp/TextModeRenderer.h"
#include "escp/qt/QtGlyphSource.h"
#include "platform/Cp932Codec.h"
#include "print/SlipCanvas.h"
#include "print/SlipLayout.h"
#include "printer/qt/PdfCanvas.h"
#include "slip/SampleSlip.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>

namespace {

constexpr int kDpi = 180;
constexpr escp::PageDots kForm{1800, 720}; // the continuous form, 10 x 4 inches
const LayoutCaptions kCaptions{std::to_string(kDpi), std::to_string(kDpi), "", ""};

// The print-time model (docs/escp.md): letter quality at 60 characters of 1/10 inch a second, the
// head's return at draft speed (180 a second), the paper at 1/6 inch in 100 ms.
constexpr double kPrintInchesPerSecond = 6.0;
constexpr double kReturnInchesPerSecond = 18.0;
constexpr double kFeedInchesPerSecond = 1.0 / 6 / 0.1;

slip::Record Fields(const char* which) {
    auto sj = [](const char* utf8) { return cp932::FromUtf8(utf8); };
    const std::string name = which;
    if (name == "preview") { // bench_preview's slip
        slip::Record f;
        f.Edit_Zip = "530-0001";
        f.Edit_Add1 = sj("大阪府大阪市北区梅田3-1-1");
        f.Edit_Custo1 = sj("山田花子");
        f.Edit_tel = "06-6345-1234";
        f.Edit_G1 = sj("書籍");
        f.KyNumEdit_KOSUU = "2";
        f.KyNumEdit_PriceSub = "10500";
        f.KyNumEdit_TaxSub = "954";
        f.CheckBox_p1 = true;
        f.CheckBox_My = false;
        return f;
    }
    // The full slip of the end-to-end test.
    slip::Record f = slip::SampleSlip();
    if (name == "extensions") f.Edit_Custo1 = sj("髙橋﨑子①");
    return f;
}

const char* const kSlips[] = {"full", "preview", "extensions"};

// Text mode: each pass sweeps what it strikes at letter-quality speed, the printer choosing its
// direction; the paper moves the whole form.
double TextModeSeconds(const escp::TextModeJob& job) {
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> rows;
    for (const escp::TextPlan& t : job.texts) {
        auto [it, fresh] = rows.try_emplace(t.row, t.strikes.front().x, t.strikes.back().x);
        it->second.first = std::min(it->second.first, t.strikes.front().x);
        it->second.second = std::max(it->second.second, t.strikes.back().x + t.strikes.back().width);
    }
    double seconds = static_cast<double>(kForm.length) / kDpi / kFeedInchesPerSecond;
    for (const auto& [row, span] : rows)
        seconds += static_cast<double>(span.second - span.first) / kDpi / kPrintInchesPerSecond;
    return seconds;
}

void BM_TextMode(benchmark::State& state) {
    const std::vector<SlipDraw> draws = LayoutSlip(kCaptions, Fields(kSlips[state.range(0)]));
    QtGlyphSource glyphs;
    escp::TextModeJob job;
    for (auto _ : state) {
        job = escp::RenderTextMode(draws, kForm, glyphs);
        benchmark::DoNotOptimize(job.bytes.data());
    }
    std::set<std::int32_t> rows;
    int pictures = 0, overrun = 0;
    for (const escp::TextPlan& t : job.texts) {
        rows.insert(t.row);
        overrun += !t.fits;
        for (const escp::Strike& s : t.strikes)
            pictures += s.kind == escp::StrikeKind::Bitmap;
    }
    state.SetLabel(kSlips[state.range(0)]);
    state.counters["bytes"] = static_cast<double>(job.bytes.size());
    state.counters["passes"] = job.passes;
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["pictures"] = pictures;
    state.counters["overrun"] = overrun; // texts whose smallest characters overrun their cell
    state.counters["print_s"] = TextModeSeconds(job);
}
BENCHMARK(BM_TextMode)->ArgName("slip")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The driver's passes: every ESC * is one sweep of the head, printed in one direction only (the head
// comes back before the next), as wide as the columns it sends.
struct Bands {
    int count = 0;
    double seconds = 0;
};

Bands BandsOf(const std::string& prn) {
    Bands b;
    auto at = [&](std::size_t k) { return k < prn.size() ? static_cast<unsigned char>(prn[k]) : 0; };
    for (std::size_t i = 0; i < prn.size();) {
        if (at(i) != 0x1B) {
            ++i;
            continue;
        }
        switch (at(i + 1)) {
        case '*': {
            const int mode = at(i + 2), cols = at(i + 3) | at(i + 4) << 8;
            const int dpiAcross = mode == 40 || mode == 72 ? 360 : mode == 39 || mode == 71 ? 180 : 60;
            const int bytesPerColumn = mode >= 71 ? 6 : mode >= 32 ? 3 : 1;
            ++b.count;
            b.seconds += static_cast<double>(cols) / dpiAcross *
                         (1 / kPrintInchesPerSecond + 1 / kReturnInchesPerSecond);
            i += 5 + static_cast<std::size_t>(cols) * bytesPerColumn;
            break;
        }
        case '@':
        case 'P':
        case 'M':
        case 'g':
        case 'O':
        case '2':
            i += 2;
            break;
        case '$':
        case '\\':
            i += 4;
            break;
        default:
            i += 3;
        }
    }
    b.seconds += static_cast<double>(kForm.length) / kDpi / kFeedInchesPerSecond;
    return b;
}

void BM_GraphicsPath(benchmark::State& state) {
    QTemporaryDir temp;
    // The scheduler's filters run as another user, who must reach the scheduler's folder inside.
    std::filesystem::permissions(temp.path().toStdString(), std::filesystem::perms::owner_all |
                                                                std::filesystem::perms::group_read |
                                                                std::filesystem::perms::group_exec |
                                                                std::filesystem::perms::others_read |
                                                                std::filesystem::perms::others_exec);
    bench::Scheduler scheduler(temp.path().toStdString(), 3);
    if (!scheduler.Running()) {
        state.SkipWithError("the private scheduler did not start (scripts/cups-sandbox)");
        return;
    }
    const std::vector<SlipDraw> draws = LayoutSlip(kCaptions, Fields(kSlips[state.range(0)]));
    std::string prn;
    for (auto _ : state) {
        PdfCanvas canvas;
        PdfPageSetup page;
        page.width = 720;
        page.length = 288;
        page.resolutionX = page.resolutionY = kDpi;
        canvas.Begin(page);
        DrawSlip(canvas, draws);
        const QByteArray pdf = canvas.Finish();
        const std::string file = temp.filePath("slip.pdf").toStdString();
        std::ofstream(file, std::ios::binary).write(pdf.constData(), pdf.size());
        const std::string out = (scheduler.Dir() / "out/slip.prn").string();
        std::remove(out.c_str());
        std::string id = bench::Shell("lp -h " + scheduler.Server() + " -d slip -o print-scaling=none '" +
                                      file + "' | grep -o 'slip-[0-9]*'");
        id = id.substr(0, id.find('\n')) + " "; // "slip-1 " is not "slip-10"
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (id.size() > 1 &&
               bench::Shell("lpstat -h " + scheduler.Server() + " -W completed -o slip").find(id) ==
                   std::string::npos &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream in(out, std::ios::binary);
        prn.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (prn.empty()) {
        state.SkipWithError("the driver's output did not arrive");
        return;
    }
    const Bands bands = BandsOf(prn);
    state.SetLabel(kSlips[state.range(0)]);
    state.counters["bytes"] = static_cast<double>(prn.size());
    state.counters["passes"] = bands.count;
    state.counters["print_s"] = bands.seconds;
}
BENCHMARK(BM_GraphicsPath)->ArgName("slip")->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the page's fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
