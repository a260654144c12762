// The order queue window over a 10,000-row export: opening it with the orders loaded (goal < 100 ms)
// and the step after a printed slip, marking the order and loading the next into the main window
// (goal < 20 ms). Run it against a scheduler with printers (eval "$(scripts/cups-sandbox start DIR)").
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "bench/MallExport.h"
#include "orders/Orders.h"
#include "printer/qt/HqPrinterInstance.h"
#include "support/WindowBenchmarks.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

const std::vector<orders::Order>& TenThousandRows() {
    static const std::vector<orders::Order> list = [] {
        orders::OrderTable t = orders::ParseOrderTable(MallExport(10000), "mall.csv");
        return orders::BuildOrders(t, orders::RecogniseColumns(t.header));
    }();
    return list;
}

struct Window {
    QTemporaryDir dir;
    QString old = QDir::currentPath();
    std::unique_ptr<TForm_Main> form;
    Window() {
        QDir::setCurrent(dir.path());
        QFile sender(QStringLiteral("my0.txt"));
        sender.open(QIODevice::WriteOnly);
        sender.write("160-0023\r\nTokyo Shinjuku 1-2-3\r\nBldg 5F\r\nTavo Co.\r\n03-1234-0000\r\n");
        sender.close();
        form = std::make_unique<TForm_Main>();
        form->show();
        form->ComboBox_SEL->setCurrentIndex(1); // continuous: no question between slips
        QApplication::processEvents();
    }
    std::string Dir() const { return QFile::encodeName(dir.path()).toStdString(); }
    ~Window() {
        form->SkipFormDestroy();
        form.reset();
        QDir::setCurrent(old);
    }
};

void BM_QueueWindowOpensWithTenThousandRows(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<orders::Order> list = TenThousandRows();
        state.ResumeTiming();
        auto* queue = new OrderQueueWindow(*w.form, w.Dir());
        queue->SetOrders(std::move(list), QStringLiteral("mall.csv"));
        queue->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete queue;
        state.ResumeTiming();
    }
    state.counters["orders"] = static_cast<double>(TenThousandRows().size());
}
BENCHMARK(BM_QueueWindowOpensWithTenThousandRows)->Unit(benchmark::kMillisecond);

void BM_NextOrderAfterAPrintedSlip(benchmark::State& state) {
    Window w;
    OrderQueueWindow queue(*w.form, w.Dir());
    queue.show();
    for (auto _ : state) {
        if (queue.Current() < 0 || queue.Current() + 1 >= queue.Count()) {
            state.PauseTiming();
            queue.SetOrders(TenThousandRows(), QStringLiteral("mall.csv"));
            queue.Pick(0);
            QApplication::processEvents();
            state.ResumeTiming();
        }
        emit w.form->SlipPrinted(); // what the print job sends once the spooler has the slip
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NextOrderAfterAPrintedSlip)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The file is built once, outside every measurement.
    return RunWindowBenchmarks(argc, argv, "bench_orderqueue", true, [] { (void)TenThousandRows(); });
}
