#pragma once
// Tests write their texts in UTF-8 and compare in UTF-8, so failures read as Japanese text.
#include "platform/Cp932Codec.h"

#include <string>
#include <string_view>
#include <vector>

inline std::string Cp932FromUtf8(std::string_view utf8) {
    return cp932::FromUtf8(utf8);
}
inline std::string Utf8FromCp932(std::string_view cp932Text) {
    return cp932::ToUtf8(cp932Text);
}
inline std::vector<std::string> Cp932Lines(std::initializer_list<std::string_view> utf8) {
    std::vector<std::string> out;
    for (std::string_view s : utf8)
        out.push_back(Cp932FromUtf8(s));
    return out;
}
inline std::vector<std::string> ULines(const std::vector<std::string>& cp932Lines) {
    std::vector<std::string> out;
    for (const std::string& s : cp932Lines)
        out.push_back(Utf8FromCp932(s));
    return out;
}
