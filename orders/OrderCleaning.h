#pragma once
// The cleaning of an order's values on their way into the slip's fields. Texts are UTF-8. Every change
// beyond putting the file's pieces side by side comes with a warning for the user (Japanese, UTF-8),
// so nothing is altered silently: a note for a rewrite that keeps the meaning, a problem for what the
// user must look at.
#include "orders/OrderWarning.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orders {

// Bytes of address line ① that fit on the slip (the address-length warning's limit) and of a goods line.
inline constexpr std::size_t kAddressLineBytes = 40;
inline constexpr std::size_t kGoodsLineBytes = 30;

struct Cleaned {
    std::string text;
    std::string warning; // empty when nothing needs telling
    Severity severity = Severity::Note;
};

// Postcodes become NNN-NNNN. Five or six digits (a spreadsheet dropped leading zeros) get their zeros
// back; "〒", blanks, full-width digits and a leading apostrophe go (notes). Anything else stays as it
// was, with the problem that it cannot be read; an empty postcode is a missing one.
Cleaned CleanPostcode(std::string_view text);

// "+81 90-1234-5678" becomes "090-1234-5678"; a number of digits and hyphens whose leading zero a
// spreadsheet dropped (nine or ten digits) gets it back. Other numbers stay as they are.
Cleaned CleanPhone(std::string_view text);

// Whether a payment method's text means cash on delivery (代引, 代金引換, COD ...).
bool IsCashOnDelivery(std::string_view payment);

// The amount field's seven digits.
inline constexpr std::size_t kAmountDigits = 7;

// The cash-on-delivery amount for the numeric field: plain digits, with grouping commas, yen signs, "円",
// blanks and a zero decimal part removed (a note); "0" with a problem when the total is missing, no such
// whole number, or longer than the field's seven digits.
Cleaned CashOnDeliveryAmount(std::string_view total);

// The prefecture in full: a code such as "JP-13" or "13" becomes its name; any other text stays.
std::string PrefectureName(std::string_view text);

struct AddressLines {
    std::string add1, add2, add3;
    std::vector<OrderWarning> warnings;
};

// Joins the prefecture (unless the first part already starts with it) and the address parts into
// address line ①. A line longer than 40 bytes is split at the best boundary within them: after the
// town and house number, else at a blank or where two parts meet; never through a character. The rest
// and the building go to ②; the company goes to ③, else a ② longer than 40 bytes is split into ② and ③
// the same way (notes). A line with no boundary in reach stays whole, a problem.
AddressLines LayoutAddress(std::string_view prefecture, const std::vector<std::string>& parts,
                           std::string_view building, std::string_view company);

// Where a too-long CP932 line is best cut: a character boundary at most `maxBytes` in, or 0 when
// there is none. `partEnds` are the positions where joined parts meet.
std::size_t AddressCut(std::string_view cp932Line, const std::vector<std::size_t>& partEnds,
                       std::size_t maxBytes);

struct GoodsLines {
    std::string g1, g2, g3;
    std::vector<OrderWarning> warnings;
};

// The first three item names, each without the shop's promotion text and cut to 30 bytes; more items,
// every promotion dropped and every cut are notes.
GoodsLines LayoutGoods(const std::vector<std::string>& itemNames);

} // namespace orders
