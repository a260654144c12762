#pragma once
// The scheduler's message catalogue of a queue ("printer-strings-uri"): lines of "key" = "value"; with
// C comments between them. Keys such as "media-source.manual" name an attribute value; the values are
// the driver's own words for it (UTF-8).
#include <map>
#include <string>
#include <string_view>

// Every pair in `text`; escapes \" \\ \n \t are resolved. Reading stops at the first line it cannot
// understand, keeping what came before.
std::map<std::string, std::string> ParseStringsFile(std::string_view text);
