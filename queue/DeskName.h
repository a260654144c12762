#pragma once
// The name this desk goes by in the shared order queue: what other desks see beside the orders it
// holds, and what a claim and a printed order record. The settings file's [OrderQueue] Desk, else the
// machine's host name.
#include <string>

class ProfileFile;

namespace queue {

inline constexpr const char* kDeskSection = "OrderQueue";
inline constexpr const char* kDeskKey = "Desk";

// CP932; "desk" when neither the settings nor the system name one.
std::string DeskName(const ProfileFile& settings);

} // namespace queue
