#pragma once
// The stack counter: the number of the next pre-printed slip in the printer, kept per slip type as
// `NextSlipNo=` in the slip type's section of the printer registration file (tavo_a500.ini). The
// functions change a ProfileFile in memory, so the caller saves it once, with whatever else changes.
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tracking {

inline constexpr const char* kNextSlipNoKey = "NextSlipNo";

// A re-synchronisation that would void more slips than this is refused: the slip in the printer is
// then from another stack, or mistyped, and the next number is set afresh instead.
inline constexpr std::size_t kMostSkippedSlips = 100;

// A counter or a number that cannot be used; the message (CP932) says why.
class ESlipCounter : public Exception {
public:
    using Exception::Exception;
};

struct StoredSlipCounter {
    enum State {
        NotSet, // no key, or an empty value: the next slip's number is asked for
        Set,    // a valid domestic number
        Broken  // anything else, kept as it stands for the message
    } state = NotSet;
    std::string number; // Set: the number folded (12 digits); Broken: the value as stored
};

// `number` (typed or scanned) folded, as a stack can run on it: ESlipCounter with the check-digit message
// for a wrong check digit, or saying that a stack runs on 12 digits for any other shape.
std::string StackNumber(std::string_view number);

StoredSlipCounter ReadNextSlipNo(const ProfileFile& file, std::string_view slipType);

// Stores `number`, folded, which must be a valid domestic number (ESlipCounter with the check-digit
// message otherwise); an empty or blank `number` clears the counter.
void WriteNextSlipNo(ProfileFile& file, std::string_view slipType, std::string_view number);

// The counter's value after the slip numbered `used` was accepted for printing: the next number of the
// stack, or "" (no counter) after the last number of the range. ESlipCounter when `used` is not a
// valid domestic number.
std::string NextSlipNoAfter(std::string_view used);

// The numbers between the counter and the slip now in the printer, the counter included and the slip
// not: the slips spoiled or lost since, which are recorded as void. Empty when they are the same slip.
// ESlipCounter when either is not a valid domestic number, when the slip in the printer comes before
// the counter, or when more than kMostSkippedSlips would be voided.
std::vector<std::string> SkippedSlipNumbers(std::string_view counter, std::string_view inPrinter);

} // namespace tracking
