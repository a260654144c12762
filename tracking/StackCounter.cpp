#include "tracking/StackCounter.h"

#include "platform/Cp932Codec.h"
#include "tracking/SlipNumber.h"

namespace tracking {

std::string StackNumber(std::string_view number) {
    const SlipNumber n = ReadSlipNumber(number);
    if (n.kind != SlipNumberKind::Domestic)
        throw ESlipCounter(cp932::FromUtf8("送り状の束の番号は12桁の数字です：") + std::string(number));
    if (!n.valid) throw ESlipCounter(WrongCheckDigitMessage());
    return n.number;
}

StoredSlipCounter ReadNextSlipNo(const ProfileFile& file, std::string_view slipType) {
    const std::string stored = file.ReadString(slipType, kNextSlipNoKey, "");
    if (FoldSlipNumber(stored).value_or("x").empty()) return {};
    const SlipNumber n = ReadSlipNumber(stored);
    if (n.kind == SlipNumberKind::Domestic && n.valid) return {StoredSlipCounter::Set, n.number};
    return {StoredSlipCounter::Broken, stored};
}

void WriteNextSlipNo(ProfileFile& file, std::string_view slipType, std::string_view number) {
    const bool blank = FoldSlipNumber(number).value_or("x").empty();
    file.WriteString(slipType, kNextSlipNoKey, blank ? std::string() : StackNumber(number));
}

std::string NextSlipNoAfter(std::string_view used) {
    return NextInStack(StackNumber(used)).value_or("");
}

std::vector<std::string> SkippedSlipNumbers(std::string_view counter, std::string_view inPrinter) {
    const std::string from = StackNumber(counter);
    const std::string to = StackNumber(inPrinter);
    // Same length, so the first eleven digits compare as numbers do.
    if (to.compare(0, 11, from, 0, 11) < 0)
        throw ESlipCounter(cp932::FromUtf8("プリンタの送り状 ") + to + cp932::FromUtf8(" は次の送り状番号 ") +
                           from + cp932::FromUtf8(" より前の番号です"));
    std::vector<std::string> skipped;
    for (std::string n = from; n != to; n = *NextInStack(n)) {
        if (skipped.size() == kMostSkippedSlips)
            throw ESlipCounter(
                cp932::FromUtf8("プリンタの送り状 ") + to + cp932::FromUtf8(" は次の送り状番号 ") + from +
                cp932::FromUtf8(" から") + std::to_string(kMostSkippedSlips) +
                cp932::FromUtf8("枚を超えて先です。別の束なら次の送り状番号を設定し直してください"));
        skipped.push_back(n);
    }
    return skipped;
}

} // namespace tracking
