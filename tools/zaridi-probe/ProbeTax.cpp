// tax: the contained tax the cash-on-delivery group shows for an amount.
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "print/CashOnDelivery.h"

#include <iostream>

namespace probe {

int Tax(const Args& a) {
    if (a.size() != 1) throw UsageError{"tax AMOUNT"};
    std::cout << cp932::ToUtf8(ContainedTaxText(cp932::FromUtf8(a[0]))) << "\n";
    return 0;
}

} // namespace probe
