// tax: the contained tax the cash-on-delivery group shows for an amount, at a rate (percent, default 10).
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "print/CashOnDelivery.h"

#include <iostream>

namespace probe {

int Tax(const Args& a) {
    if (a.empty() || a.size() > 2) throw UsageError{"tax AMOUNT [RATE]"};
    const std::optional<int> rate = a.size() == 2 ? ParseTaxRate(a[1]) : kDefaultTaxRate;
    if (!rate) throw UsageError{"tax AMOUNT [RATE]: RATE is a whole percent from 0 to 100"};
    std::cout << cp932::ToUtf8(ContainedTaxText(cp932::FromUtf8(a[0]), *rate)) << "\n";
    return 0;
}

} // namespace probe
