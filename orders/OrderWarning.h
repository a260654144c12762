#pragma once
// What the import tells the user about an order. A note is a change the user may read but need not
// act on (a postcode written NNN-NNNN, +81 made domestic, a long address split); a problem is
// something that can put the wrong thing on the slip (a lost character, a missing amount, two rows that
// disagree) and is asked about before printing unattended.
#include <string>
#include <utility>

namespace orders {

enum class Severity { Note, Problem };

struct OrderWarning {
    Severity severity = Severity::Note;
    std::string text; // Japanese, UTF-8

    OrderWarning() = default;
    OrderWarning(Severity s, std::string t) : severity(s), text(std::move(t)) {}
    // The order window still reads warnings as plain texts until it shows their severity.
    OrderWarning(const char* t) : severity(Severity::Problem), text(t) {}
    operator const std::string&() const { return text; }

    bool operator==(const OrderWarning&) const = default;
};

} // namespace orders
