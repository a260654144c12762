#include "print/SlipLayout.h"

#include "platform/Conversions.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "printer/DesignFonts.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

const std::string kMincho = cp932::FromUtf8(design_font::kPMincho);
const std::string kLucida = design_font::kLucida;
const std::string kSans = design_font::kSans;
const std::string kCircle = cp932::FromUtf8("○");

// Byte `n` (1-based) of `s`, or an empty text past its end.
std::string ByteAt(std::string_view s, std::size_t n) {
    return n <= s.size() ? std::string(1, s[n - 1]) : "";
}

// Bytes `from` to `to` (1-based, inclusive), cut at the end of `s`.
std::string Bytes(std::string_view s, std::size_t from, std::size_t to) {
    if (from > s.size()) return "";
    return std::string(s.substr(from - 1, std::min(to, s.size()) - from + 1));
}

int AddressSize(const std::string& line) {
    return line.size() <= 31 ? 12 : 10;
}

std::int32_t MarginOf(const std::string& caption) {
    return caption.empty() ? 0 : StrToInt(caption);
}

class Placer {
public:
    explicit Placer(const SlipPlacement& at) : at_(at) {}

    void Draw(std::string text, const std::string& font, int size, int x, int y) {
        draws.push_back({std::move(text), font, size, at_.X(x), at_.Y(y)});
    }

    std::vector<SlipDraw> draws;

private:
    SlipPlacement at_;
};

} // namespace

std::int64_t ScaleFromDpi(std::int32_t dpi) {
    std::int64_t n = std::int64_t{dpi} * 10000;
    std::int64_t q = n / 160, r = n % 160;
    // Truncating division: step away from zero when past the half, or at the half onto the even neighbour.
    std::int64_t twice = 2 * (r < 0 ? -r : r);
    if (twice > 160 || (twice == 160 && q % 2 != 0)) q += n < 0 ? -1 : 1;
    return q;
}

std::int32_t PlaceLayoutUnit(std::int64_t scale, std::int32_t position, std::int32_t margin) {
    std::int64_t v = scale * position;
    std::int64_t rounded = v >= 0 ? (v + 5000) / 10000 : -((-v + 5000) / 10000);
    std::int64_t device = rounded + margin;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        device, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string RightAlign3(std::string_view text) {
    std::string w = "   " + cp932::PlainTrim(text);
    return w.substr(w.size() - 3);
}

std::string FormatTaxField(std::int64_t amount10000) {
    bool negative = amount10000 < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(amount10000) : amount10000;
    std::uint64_t yen = (magnitude + 5000) / 10000;
    std::string grouped = InsertCommas(std::to_string(yen));
    if (negative && yen != 0) grouped = "-" + grouped;
    return grouped.size() >= 12 ? grouped : std::string(12 - grouped.size(), ' ') + grouped;
}

SlipPlacement PlacementOf(const LayoutCaptions& f) {
    SlipPlacement at;
    at.sx = ScaleFromDpi(StrToInt(f.dpix));
    at.sy = ScaleFromDpi(StrToInt(f.dpiy));
    at.top = MarginOf(f.prnTop);
    at.left = MarginOf(f.prnLeft);
    return at;
}

std::vector<SlipDraw> LayoutSlip(const LayoutCaptions& captions, const slip::Record& f) {
    Placer p(PlacementOf(captions));

    constexpr std::array<int, 7> zipX = {186, 233, 280, 348, 396, 442, 489};
    constexpr std::array<int, 7> zipBytes = {1, 2, 3, 5, 6, 7, 8};
    for (std::size_t i = 0; i < zipX.size(); ++i)
        p.Draw(ByteAt(f.Edit_Zip, zipBytes[i]), kLucida, 12, zipX[i], 30);

    if (f.CheckBox_Date_1) {
        p.Draw(Bytes(f.DateTimePicker_1, 1, 4), kLucida, 9, 550, 486);
        p.Draw(Bytes(f.DateTimePicker_1, 6, 7), kLucida, 9, 624, 486);
        p.Draw(Bytes(f.DateTimePicker_1, 9, 10), kLucida, 9, 674, 486);
    }

    std::string pieces = RightAlign3(f.KyNumEdit_KOSUU);
    constexpr std::array<int, 3> piecesX = {576, 602, 628};
    for (std::size_t i = 0; i < piecesX.size(); ++i)
        p.Draw(pieces.substr(i, 1), kLucida, 11, piecesX[i], 65);

    if (StrToCurrOrZero(f.KyNumEdit_PriceSub) != 0) {
        std::string amount = cp932::PlainTrim(f.KyNumEdit_PriceSub);
        std::string boxes = "      \x5C" + amount;
        boxes = boxes.substr(boxes.size() - 7);
        constexpr std::array<int, 7> amountX = {625, 657, 689, 721, 753, 785, 817};
        for (std::size_t i = 0; i < amountX.size(); ++i)
            p.Draw(boxes.substr(i, 1), kSans, 13, amountX[i], 330);
        p.Draw(FormatTaxField(StrToCurrOrZero(f.KyNumEdit_TaxSub)), kSans, 9, 860, 336);
        if (f.CheckBox_p1)
            p.Draw(kCircle, kSans, 16, 700, 240);
        else if (f.CheckBox_p2)
            p.Draw(kCircle, kSans, 16, 820, 240);
        else if (f.CheckBox_p3)
            p.Draw(kCircle, kSans, 16, 940, 240);
    }

    p.Draw(f.Edit_Add1, kMincho, AddressSize(f.Edit_Add1), 120, 100);
    p.Draw(f.Edit_Add2, kMincho, AddressSize(f.Edit_Add2), 120, 150);
    p.Draw(f.Edit_Add3, kMincho, AddressSize(f.Edit_Add3), 120, 200);
    p.Draw(f.Edit_G1, kMincho, 10, 556, 150);
    p.Draw(f.Edit_G2, kMincho, 10, 556, 180);
    p.Draw(f.Edit_G3, kMincho, 10, 556, 210);
    p.Draw(f.Edit_Custo1, kMincho, AddressSize(f.Edit_Custo1), 140, 250);

    constexpr std::array<int, 13> telX = {163, 191, 221, 250, 279, 308, 338, 368, 397, 426, 456, 484, 514};
    for (std::size_t i = 0; i < telX.size(); ++i)
        p.Draw(ByteAt(f.Edit_tel, i + 1), kLucida, 13, telX[i], 288);

    if (f.CheckBox_My) {
        p.Draw(Bytes(f.Edit_MyZip, 1, 3), kLucida, 10, 210, 340);
        p.Draw(Bytes(f.Edit_MyZip, 5, 8), kLucida, 10, 292, 340);
        p.Draw(f.Edit_MyADD1, kMincho, 10, 130, 382);
        p.Draw(f.Edit_MyADD2, kMincho, 10, 130, 426);
        p.Draw(f.Edit_My, kMincho, 10, 140, 484);
        p.Draw(f.Edit_MyTEL, kLucida, 12, 195, 526);
    }
    return std::move(p.draws);
}
