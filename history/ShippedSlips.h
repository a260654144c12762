#pragma once
// The history's printed slips as the shipped files take them (shipped/ShippedFile.h). The history
// window's export and the probe both build their files from these, through shipped::BuildShippedFile:
//
//   auto slips = history::ShippedSlips(store, "2024-05-01", "2024-05-31");
//   auto file = shipped::BuildShippedFile(*shipped::FindShippedFormat("rakuten"), slips, carrier);
#include "history/HistoryStore.h"
#include "shipped/ShippedSlip.h"

#include <string>
#include <vector>

namespace history {

// The slips whose ship day lies in [from, to] ("yyyy-MM-dd" or "yyyy/MM/dd"; empty: open), one per
// parcel. A first printing and its reprints are one parcel: of those not void, the newest that carries a
// number stands for it (else the newest). Void slips come along, each on its own, for the files to list
// apart. EHistoryStore when the store cannot be read or a day is malformed.
std::vector<shipped::ShippedSlip> ShippedSlips(Store& store, const std::string& from, const std::string& to);

} // namespace history
