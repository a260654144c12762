#pragma once
// A page's PDF as the toolkit writes it carries more than it draws: each embedded font keeps its naming
// table (for some faces a licence text ten times the size of the glyphs the page uses), and the
// character maps go uncompressed. CompactPdf drops the naming tables of embedded TrueType fonts (the
// PDF does not need them: the font dictionary names the face) and compresses every stream that is not.
// Glyphs, metrics and drawing stay byte for byte what they were.
#include <string>
#include <string_view>

// The compacted document; `pdf` unchanged when it is not laid out as expected (one classic cross-
// reference table, generation 0 everywhere).
std::string CompactPdf(std::string_view pdf);

// A TrueType font program without its 'name' table, the whole-font checksum made right again; `font`
// unchanged when it is not a TrueType font or has no such table.
std::string WithoutNameTable(std::string_view font);
