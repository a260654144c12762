#pragma once
// Compaction: blank lines and lines with a mail or web address leave the memo, so the useful lines
// move up before the transfer looks at them.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Lines of the memo the transfer reads; what stands below is ignored.
inline constexpr std::size_t kMemoLinesRead = 16;

// Exact, case-sensitive, single-byte: "＠" and ".COM" are no markers.
inline constexpr std::array<std::string_view, 7> kMailMarkers = {"@",    ".com", ".jp", ".co",
                                                                 ".org", ".ne",  ".net"};

std::size_t MailMarkerCount(std::string_view text);

// The memo's first 16 lines, each trimmed, without the empty ones and those with a mail marker, in
// their order. Lines beyond the 16th are never read.
std::vector<std::string> Compact(std::span<const std::string> memo);
