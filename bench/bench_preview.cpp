// Opening the F5 preview of a full slip: the layout, the page drawn at the printer's resolution, the
// window shown at "fit". Goal: under 100 ms. It reads the registered printer: run it against a
// scheduler with printers (eval "$(scripts/cups-sandbox start DIR)": 0 "dotmatrix", A4 at 360 dpi;
// 1 "slip", the 10 x 4 inch form at 180 dpi).
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/PreviewWindow.h"
#include "platform/Cp932Codec.h"
#include "printer/qt/HqPrinterInstance.h"
#include "support/WindowBenchmarks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

void BM_OpenPreview(benchmark::State& state) {
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile registration(QStringLiteral("tavo_a500.ini"));
    registration.open(QIODevice::WriteOnly);
    registration.write(
        QByteArray::fromStdString(cp932::FromUtf8("[手差し]\r\nPrnNoIndex=" + std::to_string(state.range(0)) +
                                                  "\r\ntavPrn_Top=12\r\ntavPrn_Left=-5\r\n")));
    registration.close();
    QFile sender(QStringLiteral("my0.txt")); // an empty sender, so the first showing reads one
    sender.open(QIODevice::WriteOnly);
    sender.write("\r\n\r\n\r\n\r\n\r\n");
    sender.close();
    {
        TForm_Main form;
        form.show();
        QApplication::processEvents();
        form.Edit_Zip->setText(QStringLiteral("530-0001"));
        form.Edit_Add1->setText(QString::fromUtf8("大阪府大阪市北区梅田3-1-1"));
        form.Edit_Custo1->setText(QString::fromUtf8("山田花子"));
        form.Edit_tel->setText(QStringLiteral("06-6345-1234"));
        form.Edit_G1->setText(QString::fromUtf8("書籍"));
        form.KyNumEdit_KOSUU->SetText("2");
        form.KyNumEdit_PriceSub->SetText("10500");
        for (auto _ : state) {
            form.SpeedButton_F5Click();
            QApplication::processEvents();
            state.PauseTiming();
            // The page measured: its size in dots, and whether the registered printer was there.
            state.counters["width"] = Form_Preview->PageImage().width();
            state.counters["height"] = Form_Preview->PageImage().height();
            state.counters["missing"] = !Form_Preview->Target().missing.empty();
            delete Form_Preview;
            state.ResumeTiming();
        }
    }
    QDir::setCurrent(old);
}
BENCHMARK(BM_OpenPreview)->ArgName("printer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // A preview without its printer measures the nominal paper instead.
    return RunWindowBenchmarks(argc, argv, "bench_preview", true);
}
