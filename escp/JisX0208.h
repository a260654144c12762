#pragma once
// Which double-byte CP932 characters a kanji printer holds: those of JIS X 0208 (the non-kanji rows
// 1-8 as far as they are assigned, the level 1 and level 2 kanji of rows 16-84), sent as their
// two-byte JIS codes. Code page 932 holds more (the NEC and IBM extensions such as 髙, 﨑 and ①,
// user-defined characters); a printer of this language has none of them.
#include <cstdint>
#include <optional>

namespace escp {

// The JIS X 0208 code of the character `lead` `trail` (row + 0x20 in the high byte, cell + 0x20 in
// the low byte), or nullopt when JIS X 0208 has no such character.
std::optional<std::uint16_t> JisX0208Of(unsigned char lead, unsigned char trail);

} // namespace escp
