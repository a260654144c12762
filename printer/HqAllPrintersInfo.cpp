#include "printer/HqAllPrintersInfo.h"

bool THqAllPrintersInfo::IsSame(const THqAllPrintersInfo& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i) {
        if (GetName(i) != other.GetName(i) || GetAttributes(i) != other.GetAttributes(i)) return false;
    }
    return true;
}
