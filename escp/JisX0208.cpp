#include "escp/JisX0208.h"

#include "platform/Cp932.h"

namespace escp {
namespace {

struct Cells {
    int row, first, last;
};

// The assigned cells of the non-kanji rows 1-8 and of the last rows of each kanji level.
constexpr Cells kAssigned[] = {
    {1, 1, 94},                                                                   // symbols
    {2, 1, 14},  {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94}, // symbols
    {3, 16, 25}, {3, 33, 58}, {3, 65, 90},                                        // digits, letters
    {4, 1, 83},  {5, 1, 86},                                                      // kana
    {6, 1, 24},  {6, 33, 56}, {7, 1, 33},  {7, 49, 81},                           // Greek, Cyrillic
    {8, 1, 32},                                                                   // box drawing
    {47, 1, 51}, {84, 1, 6},                                                      // level 1, 2 ends
};

bool Assigned(int row, int cell) {
    if ((row >= 16 && row <= 46) || (row >= 48 && row <= 83)) return true;
    for (const Cells& c : kAssigned)
        if (c.row == row && cell >= c.first && cell <= c.last) return true;
    return false;
}

} // namespace

std::optional<std::uint16_t> JisX0208Of(unsigned char lead, unsigned char trail) {
    if (!cp932::IsLeadByte(lead) || !cp932::IsTrailByte(trail)) return std::nullopt;
    // Each lead byte holds two rows: trail bytes 0x40-0x9E the odd one (0x7F skipped), 0x9F-0xFC the even.
    const int pair = lead <= 0x9F ? lead - 0x81 : lead - 0xC1;
    int row = 2 * pair + 1, cell;
    if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x9E;
    } else {
        cell = trail - 0x3F - (trail > 0x7F ? 1 : 0);
    }
    if (row > 94 || !Assigned(row, cell)) return std::nullopt;
    return static_cast<std::uint16_t>((row + 0x20) << 8 | (cell + 0x20));
}

} // namespace escp
