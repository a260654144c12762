// tracking: the slip-number rules from outside: the check of typed or scanned numbers and the numbers
// of a pre-printed stack.
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "tracking/SlipNumber.h"
#include "tracking/StackCounter.h"

#include <charconv>
#include <iostream>

namespace probe {

namespace {

constexpr const char* kUsage = "tracking check < lines | tracking next NUMBER [COUNT]";
// More than any stack of slips; it keeps a mistyped count from writing for hours.
constexpr long kMostNumbers = 100000;

// {"number": N, "kind": K, "valid": V}: the folded number holds only digits and upper-case letters, so
// it needs no escaping.
std::string CheckLine(const std::string& line) {
    const tracking::SlipNumber n = tracking::ReadSlipNumber(line);
    const char* kind = tracking::SlipNumberKindName(n.kind);
    if (!kind) return R"({"number": null, "kind": null, "valid": false})";
    return std::string(R"({"number": ")") + n.number + R"(", "kind": ")" + kind + R"(", "valid": )" +
           (n.valid ? "true" : "false") + "}";
}

int Next(const Args& a) {
    long count = 1;
    if (a.size() == 3) {
        const std::string& text = a[2];
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (ec != std::errc() || end != text.data() + text.size() || count < 0 || count > kMostNumbers)
            throw UsageError{"tracking next NUMBER [COUNT]   (COUNT from 0 to 100000)"};
    }
    // All of them first: a stack that ends before COUNT prints nothing.
    std::string next = tracking::NextSlipNoAfter(cp932::FromUtf8(a[1])); // raises for a wrong NUMBER
    std::string out;
    for (long i = 0; i < count; ++i) {
        if (next.empty())
            throw tracking::ESlipCounter("the stack's numbers end before " + std::to_string(count) + " more");
        out += next + "\n";
        if (i + 1 < count) next = tracking::NextSlipNoAfter(next);
    }
    std::cout << out;
    return 0;
}

} // namespace

int Tracking(const Args& a) {
    if (a.size() == 1 && a[0] == "check") {
        for (const std::string& line : SplitLines(ReadStdin()))
            std::cout << CheckLine(cp932::FromUtf8(line)) << "\n";
        return 0;
    }
    if ((a.size() == 2 || a.size() == 3) && a[0] == "next") return Next(a);
    throw UsageError{kUsage};
}

} // namespace probe
