#pragma once
// Test literals are written in UTF-8 and compared as the CP932 bytes the rules work on.
#include "platform/Cp932Codec.h"

#include <string>

inline std::string Cp932FromUtf8(const char* utf8) {
    return cp932::FromUtf8(utf8);
}
