#include "widgets/KyNumFormat.h"

#include <algorithm>

KyNumParts SplitValue(std::string_view value) {
    KyNumParts p;
    if (!value.empty() && value[0] == '-') {
        p.Sign = "-";
        value.remove_prefix(1);
    }
    if (std::size_t point = value.find('.'); point != std::string_view::npos) {
        p.Integer = value.substr(0, point);
        p.Point = ".";
        p.Decimals = value.substr(point + 1);
    } else {
        p.Integer = value;
    }
    return p;
}

std::string JoinParts(const KyNumParts& parts) {
    return parts.Sign + parts.Integer + parts.Point + parts.Decimals;
}

namespace {

bool Pads(const KyNumEditProps& props) {
    return props.IntegerFixed || props.DecimalFixed;
}

std::string Zeros(int count) {
    return std::string(static_cast<std::size_t>(std::max(count, 0)), '0');
}

} // namespace

std::string FormatDisplay(std::string_view value, const KyNumEditProps& props) {
    KyNumParts p = SplitValue(value);
    if (props.Comma) p.Integer = InsertCommas(p.Integer);
    if (props.DecimalFixed) {
        std::size_t len = static_cast<std::size_t>(std::max(props.DecimalLength, 0));
        p.Decimals.resize(len, '0');
        if (props.DecimalLength > 0) p.Point = ".";
    }
    if (Pads(props) && p.Integer.empty()) p.Integer = "0";
    return JoinParts(p);
}

std::string FormatWithMarks(std::string_view value, const KyNumEditProps& props) {
    std::string shown = FormatDisplay(value, props);
    if (shown.empty()) return shown;
    return props.LeftMark + shown + props.RightMark;
}

std::string TemplateText(std::string_view value, const KyNumEditProps& props) {
    KyNumParts p = SplitValue(value);
    if (props.IntegerFixed) {
        p.Integer = Zeros(props.IntegerLength);
        if (props.Minus) p.Sign = "-";
    }
    if (Pads(props) && p.Integer.empty()) p.Integer = "0";
    if (props.DecimalFixed) {
        p.Point = ".";
        p.Decimals = Zeros(props.DecimalLength);
    }
    if (props.Comma) p.Integer = InsertCommas(p.Integer);
    return JoinParts(p);
}

std::string MaxTemplateText(const KyNumEditProps& props) {
    std::string integer = Zeros(props.IntegerLength);
    if (props.Comma) integer = InsertCommas(integer);
    return (props.Minus ? "-" : "") + integer + "." + Zeros(props.DecimalLength);
}

std::string CaretText(std::string_view value, const KyNumEditProps& props) {
    KyNumParts p = SplitValue(value);
    if (props.Comma) p.Integer = InsertCommas(p.Integer);
    if (Pads(props) && p.Integer.empty()) p.Integer = "0";
    return JoinParts(p);
}
