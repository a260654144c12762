// The history on SQLite: recording one slip as the print job does (one committed, synced write per
// slip), searching a store of 100,000 slips as the history window does, and opening that window.
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/history/HistoryWindow.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "support/BenchFolder.h"
#include "support/WindowBenchmarks.h"

#include <QApplication>
#include <QLabel>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

history::HistoryRecord Slip(int n) {
    static const std::string surnames[] = {cp932::FromUtf8("山田"), cp932::FromUtf8("髙橋"),
                                           cp932::FromUtf8("佐藤"), cp932::FromUtf8("鈴木")};
    history::HistoryRecord r;
    r.time = "2024-05-01T09:30:00+09:00";
    r.time[15] = static_cast<char>('0' + n % 10); // minutes apart, not all at one moment
    r.printer = "dotmatrix";
    r.resolutionX = r.resolutionY = 360;
    slip::Record& v = r.values;
    v.ComboBox_SEL = cp932::FromUtf8("手差し");
    v.Edit_Zip = std::to_string(100 + n % 900) + "-" + std::to_string(1000 + n % 9000);
    v.Edit_Add1 = cp932::FromUtf8("東京都千代田区千代田") + std::to_string(n % 50);
    v.Edit_Add2 = cp932::FromUtf8("第") + std::to_string(n % 7) + cp932::FromUtf8("ビル");
    v.Edit_Custo1 = surnames[n % 4] + " " + std::to_string(n) + cp932::FromUtf8(" 様");
    v.Edit_tel = "03-" + std::to_string(1000 + n % 9000) + "-" + std::to_string(1000 + n / 9 % 9000);
    v.Edit_G1 = cp932::FromUtf8("衣料品");
    v.KyNumEdit_KOSUU = "1";
    v.Edit_My = cp932::FromUtf8("有限会社　タヴォ");
    v.DateTimePicker_1 = "2024/05/01";
    r.order = "A-" + std::to_string(n);
    return r;
}

void BM_RecordOneSlip(benchmark::State& state) {
    BenchFolder folder;
    history::Recorder recorder(history::LocationFromArgument(folder.File("tavo_Zaridi2.db")),
                               history::PendingFilePath(folder.dir));
    recorder.Flush();
    recorder.OpenStore(); // the first record of a run also opens the file; that is measured apart
    int n = 0;
    for (auto _ : state) {
        auto outcome = recorder.Record(Slip(n++));
        if (outcome.status != history::RecordOutcome::Status::Stored) state.SkipWithError("not stored");
    }
}
BENCHMARK(BM_RecordOneSlip)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 100,000 slips in one file, made once for all the searches; named as the program's own store, so that
// a main window whose working folder is the file's folder uses it.
const std::string& LargeStore() {
    static BenchFolder folder;
    static const std::string path = [] {
        std::string p = folder.File(history::kDatabaseFileName);
        auto store = history::OpenStore(history::LocationFromArgument(p));
        std::vector<history::HistoryRecord> batch;
        for (int n = 0; n < 100000; ++n) {
            batch.push_back(Slip(n));
            if (batch.size() == 5000) {
                store->InsertAll(batch);
                batch.clear();
            }
        }
        return p;
    }();
    return path;
}

void Search(benchmark::State& state, history::SearchQuery q, std::size_t expected) {
    auto store = history::OpenStore(history::LocationFromArgument(LargeStore()));
    for (auto _ : state) {
        auto rows = store->Search(q);
        if (rows.size() != expected) state.SkipWithError("unexpected count");
        benchmark::DoNotOptimize(rows);
    }
}

void BM_SearchNameNoMatch(benchmark::State& state) {
    history::SearchQuery q;
    q.name = cp932::FromUtf8("該当なし");
    Search(state, q, 0); // every row read: the slowest search
}
BENCHMARK(BM_SearchNameNoMatch)->Unit(benchmark::kMillisecond);

void BM_SearchNameOneMatch(benchmark::State& state) {
    history::SearchQuery q;
    q.name = cp932::FromUtf8("髙橋 4321 様");
    Search(state, q, 1);
}
BENCHMARK(BM_SearchNameOneMatch)->Unit(benchmark::kMillisecond);

void BM_SearchPhoneDigits(benchmark::State& state) {
    history::SearchQuery q;
    q.phone = "0312345";
    Search(state, q, 1);
}
BENCHMARK(BM_SearchPhoneDigits)->Unit(benchmark::kMillisecond);

void BM_SearchAddressAndDays(benchmark::State& state) {
    history::SearchQuery q;
    q.address = cp932::FromUtf8("千代田49第");
    q.from = q.to = "2024-05-01";
    Search(state, q, 1000); // the window's page of 1,000
}
BENCHMARK(BM_SearchAddressAndDays)->Unit(benchmark::kMillisecond);

// What opening the history window asks of the store: open the file and read the newest 1,000.
void BM_OpenAndFirstPage(benchmark::State& state) {
    const std::string& path = LargeStore();
    for (auto _ : state) {
        auto rows = history::OpenStore(history::LocationFromArgument(path))->Search({});
        if (rows.size() != 1000) state.SkipWithError("unexpected count");
    }
}
BENCHMARK(BM_OpenAndFirstPage)->Unit(benchmark::kMillisecond);

// F6 on a main window that has not used the history yet: the store opened, the newest 1,000 read,
// the window built, shown and painted.
void BM_OpenHistoryWindow(benchmark::State& state) {
    const std::string& path = LargeStore();
    const QString dir = QString::fromStdString(std::filesystem::path(path).parent_path().string());
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TForm_Main>();
        form->Label_CurrentDir->setText(dir); // as its first showing would
        state.ResumeTiming();
        form->SpeedButton_F6Click();
        QApplication::processEvents();
        state.PauseTiming();
        auto* window = form->findChild<THistoryWindow*>();
        if (!window || !window->isVisible() || window->RowCount() != 1000) state.SkipWithError("not opened");
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenHistoryWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, "bench_history", false); // the history window
}
