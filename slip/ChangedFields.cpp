#include "slip/ChangedFields.h"

namespace slip {

std::vector<std::string> ChangedFields(const Record& filled, const Record& now, unsigned by) {
    std::vector<std::string> changed;
    for (const Field& f : kFields) {
        if (!(f.filledBy & by)) continue;
        if (f.text ? filled.*f.text != now.*f.text : filled.*f.flag != now.*f.flag) changed.push_back(f.name);
    }
    return changed;
}

} // namespace slip
