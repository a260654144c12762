// F11 and Yes on the full sample slip until the private scheduler has accepted the job (goal: median
// 30 ms), and the size of the slip's PDF (goal: 16 KB). The queue is stopped while the benchmark runs,
// so jobs wait at the scheduler and the filter chain of earlier slips does not compete for the CPU.
#include "support/BenchScheduler.h"

#include "gui/support/SampleSlip.h"

#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "app/qt/print/SLIP97YPrnUnit.h"
#include "printer/qt/HqPrinterInstance.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cups/cups.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

int LastJob() {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "slip", 0, CUPS_WHICHJOBS_ALL);
    int last = 0;
    for (int i = 0; i < n; ++i)
        last = std::max(last, jobs[i].id);
    cupsFreeJobs(n, jobs);
    return last;
}

struct Setup {
    QTemporaryDir temp;
    std::unique_ptr<bench::Scheduler> scheduler;
    QString oldDir = QDir::currentPath();
    int errors = 0;

    Setup() {
        scheduler = std::make_unique<bench::Scheduler>(fs::path(temp.path().toStdString()), 3);
        setenv("CUPS_SERVER", scheduler->Server().c_str(), 1);
        cupsSetServer(scheduler->Server().c_str());
        bench::Shell("cupsdisable -h " + scheduler->Server() + " slip");
        const QString work = temp.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        QDir::setCurrent(work);
        std::ofstream("my0.txt", std::ios::binary) << "\r\n\r\n\r\n\r\n\r\n";
        // 手差し on the second visible printer, "slip" (180 dpi).
        std::ofstream("tavo_a500.ini", std::ios::binary)
            << "[\x8e\xe8\x8d\xb7\x82\xb5]\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n";
        msgbox::SetResponder([this](msgbox::Kind kind, const QString&) {
            errors += kind == msgbox::Kind::Error;
            return true; // Yes to 印刷しますか?
        });
    }
    ~Setup() {
        msgbox::SetResponder({});
        bench::Shell("cancel -h " + scheduler->Server() + " -a slip");
        QDir::setCurrent(oldDir);
    }
};

void BM_F11YesToJobAccepted(benchmark::State& state) {
    Setup setup;
    if (!setup.scheduler->Running()) {
        state.SkipWithError("the private scheduler did not start (scripts/cups-sandbox)");
        return;
    }
    auto printer = std::make_unique<THqPrinterInstance>();
    auto form = std::make_unique<TForm_Main>();
    TForm_SLIP97YPrn slip97YPrn(*form);
    THq_d97_Dot d97Dot(*form);
    form->show();
    QApplication::processEvents();
    FillFullSlip(*form);
    form->SpeedButton_F11Click(); // the first slip loads the fonts
    for (auto _ : state)
        form->SpeedButton_F11Click();
    const int last = LastJob();
    char spool[64];
    std::snprintf(spool, sizeof spool, "/spool/d%05d-001", last);
    std::error_code ec;
    const auto bytes = fs::file_size(setup.scheduler->Dir().string() + spool, ec);
    if (!ec) state.counters["pdf_bytes"] = static_cast<double>(bytes);
    if (setup.errors) state.SkipWithError("an error box was shown");
    form.reset();
    printer.reset();
}
BENCHMARK(BM_F11YesToJobAccepted)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
