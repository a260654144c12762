// The text transfer on a typical order text and on a huge paste, whose cost must stay that of its
// first 16 lines.
#include "platform/Cp932Codec.h"
#include "transfer/Compact.h"
#include "transfer/Transfer.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<std::string> OrderText() {
    std::vector<std::string> lines;
    for (const char* utf8 :
         {"このたびはご注文ありがとうございました。", "ご注文者：山田太郎 様", "メール：taro@example.co.jp",
          "お届け先：〒１２３－４５６７", "ご住所：東京都新宿区西新宿２－８－１", "新宿マンション５０１号室",
          "お名前：山田花子 様", "TEL：０３－１２３４－５６７８"})
        lines.push_back(cp932::FromUtf8(utf8));
    return lines;
}

std::vector<std::string> HugePaste() {
    std::vector<std::string> lines;
    const std::vector<std::string> order = OrderText();
    lines.reserve(100000);
    while (lines.size() < 100000)
        lines.push_back(order[lines.size() % order.size()]);
    return lines;
}

void BM_TransferOrderText(benchmark::State& state) {
    const std::vector<std::string> memo = OrderText();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunTransfer(memo, {}));
}
BENCHMARK(BM_TransferOrderText);

void BM_TransferHugePaste(benchmark::State& state) {
    const std::vector<std::string> memo = HugePaste();
    for (auto _ : state)
        benchmark::DoNotOptimize(RunTransfer(memo, {}));
}
BENCHMARK(BM_TransferHugePaste);

// The same paste as one CR LF text, as the memo holds it: only its first 16 lines are cut out.
void BM_TransferHugePasteText(benchmark::State& state) {
    std::string text;
    for (const std::string& line : HugePaste())
        text += line + "\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(RunTransfer(FirstMemoLines(text, kMemoLinesRead), {}));
}
BENCHMARK(BM_TransferHugePasteText);

} // namespace

BENCHMARK_MAIN();
