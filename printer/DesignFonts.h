#pragma once
// The Windows font names of the design and the installed faces that stand in for them here. The
// layout and the canvases speak the design's names; only the canvases look at the substitutes.
#include <initializer_list>

namespace design_font {

// UTF-8; the slip layout and the canvases convert them to CP932 where they need bytes.
inline constexpr const char* kPMincho = "ＭＳ Ｐ明朝";        // the slip's texts
inline constexpr const char* kPGothic = "ＭＳ Ｐゴシック";    // the window's captions
inline constexpr const char* kLucida = "Lucida Sans Unicode"; // postcode, date and pieces boxes
inline constexpr const char* kSans = "Microsoft Sans Serif";  // amount and tax

struct Substitute {
    const char* design;
    std::initializer_list<const char*> faces; // best first
};

// Every design name with its stand-ins, for the toolkit's font substitution table.
inline constexpr Substitute kSubstitutes[] = {
    {kPMincho, {"IPAPMincho"}},
    {"ＭＳ 明朝", {"IPAMincho"}},
    {kPGothic, {"IPAPGothic", "Noto Sans CJK JP", "IPAGothic"}},
    {"ＭＳ ゴシック", {"IPAGothic"}},
    {kLucida, {"DejaVu Sans"}},
    {kSans, {"Liberation Sans"}},
};

} // namespace design_font
