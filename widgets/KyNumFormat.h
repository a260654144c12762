#pragma once
// How a value text is shown: sign, grouping, fixed decimals and marks.
#include "platform/Conversions.h"
#include "widgets/KyNumEditTypes.h"

#include <string>
#include <string_view>

struct KyNumParts {
    std::string Sign;    // "-" or empty
    std::string Integer; // digits before the point
    std::string Point;   // "." or empty
    std::string Decimals;
};

KyNumParts SplitValue(std::string_view value);
std::string JoinParts(const KyNumParts& parts);

// The display text without marks.
std::string FormatDisplay(std::string_view value, const KyNumEditProps& props);

// LeftMark + FormatDisplay + RightMark, or empty when FormatDisplay is empty.
std::string FormatWithMarks(std::string_view value, const KyNumEditProps& props);

// The widest text the current value can grow into at its present shape.
std::string TemplateText(std::string_view value, const KyNumEditProps& props);

// The widest text any value can take: sign, every integer digit grouped, point, every decimal.
std::string MaxTemplateText(const KyNumEditProps& props);

// What has been typed, as shown: grouped, "0" for an empty integer part when the field pads, but
// without the zeros that fixed decimals add; the caret stands after it.
std::string CaretText(std::string_view value, const KyNumEditProps& props);
