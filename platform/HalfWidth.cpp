#include "platform/HalfWidth.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace cp932 {

namespace {

struct HalfWidthEntry {
    std::uint16_t code; // lead byte << 8 | trail byte
    const char* half;
};

// The locale's full list, sorted by code. Only these characters change; hiragana, kanji, the rare
// katakana (ヮ ヰ ヱ ヵ ヶ ヽ ヾ), ＼ and the symbols without a half-width form are kept, and no
// character is moved to another code of the same character.
constexpr HalfWidthEntry kHalfWidthTable[] = {
    {0x8140, "\x20"},     // 　 -> blank
    {0x8141, "\xA4"},     // 、 -> ､
    {0x8142, "\xA1"},     // 。 -> ｡
    {0x8143, "\x2C"},     // ， -> ,
    {0x8144, "\x2E"},     // ． -> .
    {0x8145, "\xA5"},     // ・ -> ･
    {0x8146, "\x3A"},     // ： -> :
    {0x8147, "\x3B"},     // ； -> ;
    {0x8148, "\x3F"},     // ？ -> ?
    {0x8149, "\x21"},     // ！ -> !
    {0x814A, "\xDE"},     // ゛ -> ﾞ
    {0x814B, "\xDF"},     // ゜ -> ﾟ
    {0x814D, "\x60"},     // ｀ -> `
    {0x814F, "\x5E"},     // ＾ -> ^
    {0x8151, "\x5F"},     // ＿ -> _
    {0x815B, "\xB0"},     // ー -> ｰ
    {0x815E, "\x2F"},     // ／ -> /
    {0x8160, "\x7E"},     // ～ -> ~
    {0x8162, "\x7C"},     // ｜ -> |
    {0x8165, "\x27"},     // ‘ -> '
    {0x8166, "\x27"},     // ’ -> '
    {0x8167, "\x22"},     // “ -> "
    {0x8168, "\x22"},     // ” -> "
    {0x8169, "\x28"},     // （ -> (
    {0x816A, "\x29"},     // ） -> )
    {0x816D, "\x5B"},     // ［ -> [
    {0x816E, "\x5D"},     // ］ -> ]
    {0x816F, "\x7B"},     // ｛ -> {
    {0x8170, "\x7D"},     // ｝ -> }
    {0x8175, "\xA2"},     // 「 -> ｢
    {0x8176, "\xA3"},     // 」 -> ｣
    {0x817B, "\x2B"},     // ＋ -> +
    {0x817C, "\x2D"},     // － -> -
    {0x8181, "\x3D"},     // ＝ -> =
    {0x8183, "\x3C"},     // ＜ -> <
    {0x8184, "\x3E"},     // ＞ -> >
    {0x818F, "\x5C"},     // ￥ -> backslash
    {0x8190, "\x24"},     // ＄ -> $
    {0x8193, "\x25"},     // ％ -> %
    {0x8194, "\x23"},     // ＃ -> #
    {0x8195, "\x26"},     // ＆ -> &
    {0x8196, "\x2A"},     // ＊ -> *
    {0x8197, "\x40"},     // ＠ -> @
    {0x824F, "\x30"},     // ０ -> 0
    {0x8250, "\x31"},     // １ -> 1
    {0x8251, "\x32"},     // ２ -> 2
    {0x8252, "\x33"},     // ３ -> 3
    {0x8253, "\x34"},     // ４ -> 4
    {0x8254, "\x35"},     // ５ -> 5
    {0x8255, "\x36"},     // ６ -> 6
    {0x8256, "\x37"},     // ７ -> 7
    {0x8257, "\x38"},     // ８ -> 8
    {0x8258, "\x39"},     // ９ -> 9
    {0x8260, "\x41"},     // Ａ -> A
    {0x8261, "\x42"},     // Ｂ -> B
    {0x8262, "\x43"},     // Ｃ -> C
    {0x8263, "\x44"},     // Ｄ -> D
    {0x8264, "\x45"},     // Ｅ -> E
    {0x8265, "\x46"},     // Ｆ -> F
    {0x8266, "\x47"},     // Ｇ -> G
    {0x8267, "\x48"},     // Ｈ -> H
    {0x8268, "\x49"},     // Ｉ -> I
    {0x8269, "\x4A"},     // Ｊ -> J
    {0x826A, "\x4B"},     // Ｋ -> K
    {0x826B, "\x4C"},     // Ｌ -> L
    {0x826C, "\x4D"},     // Ｍ -> M
    {0x826D, "\x4E"},     // Ｎ -> N
    {0x826E, "\x4F"},     // Ｏ -> O
    {0x826F, "\x50"},     // Ｐ -> P
    {0x8270, "\x51"},     // Ｑ -> Q
    {0x8271, "\x52"},     // Ｒ -> R
    {0x8272, "\x53"},     // Ｓ -> S
    {0x8273, "\x54"},     // Ｔ -> T
    {0x8274, "\x55"},     // Ｕ -> U
    {0x8275, "\x56"},     // Ｖ -> V
    {0x8276, "\x57"},     // Ｗ -> W
    {0x8277, "\x58"},     // Ｘ -> X
    {0x8278, "\x59"},     // Ｙ -> Y
    {0x8279, "\x5A"},     // Ｚ -> Z
    {0x8281, "\x61"},     // ａ -> a
    {0x8282, "\x62"},     // ｂ -> b
    {0x8283, "\x63"},     // ｃ -> c
    {0x8284, "\x64"},     // ｄ -> d
    {0x8285, "\x65"},     // ｅ -> e
    {0x8286, "\x66"},     // ｆ -> f
    {0x8287, "\x67"},     // ｇ -> g
    {0x8288, "\x68"},     // ｈ -> h
    {0x8289, "\x69"},     // ｉ -> i
    {0x828A, "\x6A"},     // ｊ -> j
    {0x828B, "\x6B"},     // ｋ -> k
    {0x828C, "\x6C"},     // ｌ -> l
    {0x828D, "\x6D"},     // ｍ -> m
    {0x828E, "\x6E"},     // ｎ -> n
    {0x828F, "\x6F"},     // ｏ -> o
    {0x8290, "\x70"},     // ｐ -> p
    {0x8291, "\x71"},     // ｑ -> q
    {0x8292, "\x72"},     // ｒ -> r
    {0x8293, "\x73"},     // ｓ -> s
    {0x8294, "\x74"},     // ｔ -> t
    {0x8295, "\x75"},     // ｕ -> u
    {0x8296, "\x76"},     // ｖ -> v
    {0x8297, "\x77"},     // ｗ -> w
    {0x8298, "\x78"},     // ｘ -> x
    {0x8299, "\x79"},     // ｙ -> y
    {0x829A, "\x7A"},     // ｚ -> z
    {0x8340, "\xA7"},     // ァ -> ｧ
    {0x8341, "\xB1"},     // ア -> ｱ
    {0x8342, "\xA8"},     // ィ -> ｨ
    {0x8343, "\xB2"},     // イ -> ｲ
    {0x8344, "\xA9"},     // ゥ -> ｩ
    {0x8345, "\xB3"},     // ウ -> ｳ
    {0x8346, "\xAA"},     // ェ -> ｪ
    {0x8347, "\xB4"},     // エ -> ｴ
    {0x8348, "\xAB"},     // ォ -> ｫ
    {0x8349, "\xB5"},     // オ -> ｵ
    {0x834A, "\xB6"},     // カ -> ｶ
    {0x834B, "\xB6\xDE"}, // ガ -> ｶﾞ
    {0x834C, "\xB7"},     // キ -> ｷ
    {0x834D, "\xB7\xDE"}, // ギ -> ｷﾞ
    {0x834E, "\xB8"},     // ク -> ｸ
    {0x834F, "\xB8\xDE"}, // グ -> ｸﾞ
    {0x8350, "\xB9"},     // ケ -> ｹ
    {0x8351, "\xB9\xDE"}, // ゲ -> ｹﾞ
    {0x8352, "\xBA"},     // コ -> ｺ
    {0x8353, "\xBA\xDE"}, // ゴ -> ｺﾞ
    {0x8354, "\xBB"},     // サ -> ｻ
    {0x8355, "\xBB\xDE"}, // ザ -> ｻﾞ
    {0x8356, "\xBC"},     // シ -> ｼ
    {0x8357, "\xBC\xDE"}, // ジ -> ｼﾞ
    {0x8358, "\xBD"},     // ス -> ｽ
    {0x8359, "\xBD\xDE"}, // ズ -> ｽﾞ
    {0x835A, "\xBE"},     // セ -> ｾ
    {0x835B, "\xBE\xDE"}, // ゼ -> ｾﾞ
    {0x835C, "\xBF"},     // ソ -> ｿ
    {0x835D, "\xBF\xDE"}, // ゾ -> ｿﾞ
    {0x835E, "\xC0"},     // タ -> ﾀ
    {0x835F, "\xC0\xDE"}, // ダ -> ﾀﾞ
    {0x8360, "\xC1"},     // チ -> ﾁ
    {0x8361, "\xC1\xDE"}, // ヂ -> ﾁﾞ
    {0x8362, "\xAF"},     // ッ -> ｯ
    {0x8363, "\xC2"},     // ツ -> ﾂ
    {0x8364, "\xC2\xDE"}, // ヅ -> ﾂﾞ
    {0x8365, "\xC3"},     // テ -> ﾃ
    {0x8366, "\xC3\xDE"}, // デ -> ﾃﾞ
    {0x8367, "\xC4"},     // ト -> ﾄ
    {0x8368, "\xC4\xDE"}, // ド -> ﾄﾞ
    {0x8369, "\xC5"},     // ナ -> ﾅ
    {0x836A, "\xC6"},     // ニ -> ﾆ
    {0x836B, "\xC7"},     // ヌ -> ﾇ
    {0x836C, "\xC8"},     // ネ -> ﾈ
    {0x836D, "\xC9"},     // ノ -> ﾉ
    {0x836E, "\xCA"},     // ハ -> ﾊ
    {0x836F, "\xCA\xDE"}, // バ -> ﾊﾞ
    {0x8370, "\xCA\xDF"}, // パ -> ﾊﾟ
    {0x8371, "\xCB"},     // ヒ -> ﾋ
    {0x8372, "\xCB\xDE"}, // ビ -> ﾋﾞ
    {0x8373, "\xCB\xDF"}, // ピ -> ﾋﾟ
    {0x8374, "\xCC"},     // フ -> ﾌ
    {0x8375, "\xCC\xDE"}, // ブ -> ﾌﾞ
    {0x8376, "\xCC\xDF"}, // プ -> ﾌﾟ
    {0x8377, "\xCD"},     // ヘ -> ﾍ
    {0x8378, "\xCD\xDE"}, // ベ -> ﾍﾞ
    {0x8379, "\xCD\xDF"}, // ペ -> ﾍﾟ
    {0x837A, "\xCE"},     // ホ -> ﾎ
    {0x837B, "\xCE\xDE"}, // ボ -> ﾎﾞ
    {0x837C, "\xCE\xDF"}, // ポ -> ﾎﾟ
    {0x837D, "\xCF"},     // マ -> ﾏ
    {0x837E, "\xD0"},     // ミ -> ﾐ
    {0x8380, "\xD1"},     // ム -> ﾑ
    {0x8381, "\xD2"},     // メ -> ﾒ
    {0x8382, "\xD3"},     // モ -> ﾓ
    {0x8383, "\xAC"},     // ャ -> ｬ
    {0x8384, "\xD4"},     // ヤ -> ﾔ
    {0x8385, "\xAD"},     // ュ -> ｭ
    {0x8386, "\xD5"},     // ユ -> ﾕ
    {0x8387, "\xAE"},     // ョ -> ｮ
    {0x8388, "\xD6"},     // ヨ -> ﾖ
    {0x8389, "\xD7"},     // ラ -> ﾗ
    {0x838A, "\xD8"},     // リ -> ﾘ
    {0x838B, "\xD9"},     // ル -> ﾙ
    {0x838C, "\xDA"},     // レ -> ﾚ
    {0x838D, "\xDB"},     // ロ -> ﾛ
    {0x838F, "\xDC"},     // ワ -> ﾜ
    {0x8392, "\xA6"},     // ヲ -> ｦ
    {0x8393, "\xDD"},     // ン -> ﾝ
    {0x8394, "\xB3\xDE"}, // ヴ -> ｳﾞ
    {0xEEFA, "\x7C"},     // ￤ -> |
    {0xEEFB, "\x27"},     // ＇ -> '
    {0xEEFC, "\x22"},     // ＂ -> "
    {0xFA55, "\x7C"},     // ￤ -> |
    {0xFA56, "\x27"},     // ＇ -> '
    {0xFA57, "\x22"},     // ＂ -> "
};

static_assert(std::size(kHalfWidthTable) == 192);

} // namespace

std::string_view HalfWidthOf(unsigned char lead, unsigned char trail) {
    const std::uint16_t code = static_cast<std::uint16_t>(lead << 8 | trail);
    const auto* end = std::end(kHalfWidthTable);
    const auto* it = std::lower_bound(std::begin(kHalfWidthTable), end, code,
                                      [](const HalfWidthEntry& e, std::uint16_t c) { return e.code < c; });
    if (it == end || it->code != code) return {};
    return it->half;
}

std::string ToHalfWidth(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = CharLength(s, i);
        std::string_view half;
        if (len == 2)
            half = HalfWidthOf(static_cast<unsigned char>(s[i]), static_cast<unsigned char>(s[i + 1]));
        if (half.empty())
            out.append(s, i, len);
        else
            out += half;
        i += len;
    }
    return out;
}

} // namespace cp932
