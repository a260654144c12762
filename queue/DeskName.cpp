#include "queue/DeskName.h"

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <climits>
#include <unistd.h>

namespace queue {

std::string DeskName(const ProfileFile& settings) {
    std::string name = cp932::PlainTrim(settings.ReadString(kDeskSection, kDeskKey, ""));
    if (!name.empty()) return name;
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0 && host[0]) return host; // ASCII, CP932 as it stands
    return "desk";
}

} // namespace queue
