#include "tracking/SlipNumber.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/HalfWidth.h"

#include <algorithm>

namespace tracking {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool AllDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), IsDigit);
}

SlipNumberKind ShapeOf(std::string_view s) {
    if (s.size() == 12 && AllDigits(s)) return SlipNumberKind::Domestic;
    if (s.size() == 11 && AllDigits(s)) return SlipNumberKind::Registered;
    if (s.size() == 13 && IsUpper(s[0]) && IsUpper(s[1]) && AllDigits(s.substr(2, 9)) && IsUpper(s[11]) &&
        IsUpper(s[12]))
        return SlipNumberKind::International;
    return SlipNumberKind::Unknown;
}

bool CheckDigitRight(std::string_view s, SlipNumberKind kind) {
    switch (kind) {
    case SlipNumberKind::Domestic:
        return Mod7CheckDigit(s.substr(0, 11)) == s[11];
    case SlipNumberKind::Registered:
        return Mod7CheckDigit(s.substr(0, 10)) == s[10];
    case SlipNumberKind::International:
        return S10CheckDigit(s.substr(2, 8)) == s[10];
    case SlipNumberKind::Unknown:
        break;
    }
    return false;
}

// Blanks at either end, the ideographic space among them.
std::string_view TrimBlanks(std::string_view s) {
    for (;;) {
        if (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) {
            s.remove_prefix(1);
        } else if (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) {
            s.remove_suffix(1);
        } else if (s.starts_with("\x81\x40")) {
            s.remove_prefix(2);
        } else if (s.size() >= 2 && s.ends_with("\x81\x40") && cp932::IsCharBoundary(s, s.size() - 2)) {
            s.remove_suffix(2);
        } else {
            return s;
        }
    }
}

} // namespace

std::optional<std::string> FoldSlipNumber(std::string_view text) {
    // The locale's half-width fold turns exactly the full-width digits, letters, hyphen and space into
    // ASCII; whatever else it leaves above 0x7F is a character no number holds.
    std::string out;
    for (char c : cp932::ToHalfWidth(text)) {
        if (c == ' ' || c == '-') continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!IsDigit(c) && !IsUpper(c)) return std::nullopt;
        out += c;
    }
    return out;
}

SlipNumber ReadSlipNumber(std::string_view text) {
    const std::optional<std::string> folded = FoldSlipNumber(text);
    if (!folded) return {};
    const SlipNumberKind kind = ShapeOf(*folded);
    if (kind == SlipNumberKind::Unknown) return {};
    return {*folded, kind, CheckDigitRight(*folded, kind)};
}

const char* SlipNumberKindName(SlipNumberKind kind) {
    switch (kind) {
    case SlipNumberKind::Domestic:
        return "domestic";
    case SlipNumberKind::Registered:
        return "registered";
    case SlipNumberKind::International:
        return "international";
    case SlipNumberKind::Unknown:
        break;
    }
    return nullptr;
}

char Mod7CheckDigit(std::string_view digits) {
    int remainder = 0;
    for (char d : digits)
        remainder = (remainder * 10 + (d - '0')) % 7;
    return static_cast<char>('0' + remainder);
}

char S10CheckDigit(std::string_view serial) {
    static constexpr int kWeights[8] = {8, 6, 4, 2, 3, 5, 9, 7};
    int sum = 0;
    for (std::size_t i = 0; i < 8 && i < serial.size(); ++i)
        sum += (serial[i] - '0') * kWeights[i];
    const int check = 11 - sum % 11;
    return static_cast<char>('0' + (check == 10 ? 0 : check == 11 ? 5 : check));
}

std::optional<std::string> NextInStack(std::string_view number) {
    const SlipNumber n = ReadSlipNumber(number);
    if (n.kind != SlipNumberKind::Domestic || !n.valid) return std::nullopt;
    std::string body = n.number.substr(0, 11);
    auto digit = body.rbegin();
    for (; digit != body.rend() && *digit == '9'; ++digit)
        *digit = '0';
    if (digit == body.rend()) return std::nullopt; // 99999999999 has no successor of 11 digits
    ++*digit;
    return body + Mod7CheckDigit(body);
}

SlipEntry CheckSlipEntry(std::string_view text) {
    const std::optional<std::string> folded = FoldSlipNumber(text);
    if (folded && folded->empty()) return {SlipEntry::Empty, ""};
    const SlipNumber n = ReadSlipNumber(text);
    if (n.kind == SlipNumberKind::Unknown) return {SlipEntry::Confirm, std::string(TrimBlanks(text))};
    return {n.valid ? SlipEntry::Take : SlipEntry::Refuse, n.number};
}

std::string WrongCheckDigitMessage() {
    return cp932::FromUtf8("送り状番号が正しくありません（確認数字）");
}

} // namespace tracking
