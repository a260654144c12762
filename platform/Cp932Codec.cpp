#include "platform/Cp932Codec.h"

#include "platform/Cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace cp932 {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: CP932 is not available");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one unit; false when iconv refuses it.
    bool Convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        out.append(buf, static_cast<std::size_t>(outPtr - buf));
        return true;
    }

    // Converts as much of `in` as possible; returns the number of bytes consumed.
    std::size_t ConvertRun(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buf[4096];
        while (inLeft > 0) {
            char* outPtr = buf;
            std::size_t outLeft = sizeof buf;
            std::size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buf, static_cast<std::size_t>(outPtr - buf));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
        }
        return in.size() - inLeft;
    }

private:
    iconv_t cd_;
};

Converter& Encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}
Converter& Decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

char32_t FoldLookAlike(char32_t cp) {
    switch (cp) {
    case 0x301C:
        return 0xFF5E; // wave dash -> fullwidth tilde
    case 0x2016:
        return 0x2225; // double vertical line -> parallel to
    case 0x2212:
        return 0xFF0D; // minus sign -> fullwidth hyphen-minus
    case 0x00A2:
        return 0xFFE0;
    case 0x00A3:
        return 0xFFE1;
    case 0x00AC:
        return 0xFFE2;
    case 0x2014:
        return 0x2015; // em dash -> horizontal bar
    default:
        return cp;
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Unicode's format characters (category Cf, Unicode 15): zero-width spaces and joiners, direction
// marks, the byte-order mark, soft hyphens, tags. Invisible in the source text, they would each stand
// as a "?" in CP932 and break up the words the transfer looks for.
bool IsFormatCharacter(char32_t cp) {
    static constexpr struct {
        char32_t first, last;
    } kRanges[] = {{0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},
                   {0x70F, 0x70F},     {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},
                   {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
                   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
                   {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
                   {0xE0020, 0xE007F}};
    if (cp < 0xAD) return false;
    for (const auto& r : kRanges)
        if (cp >= r.first && cp <= r.last) return true;
    return false;
}

} // namespace

std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& cp) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char c = b(pos);
    std::size_t len;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        len = 2, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, cp = c & 0x07;
    } else {
        return 0;
    }
    if (pos + len > s.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        if ((b(pos + i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(pos + i) & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    std::size_t runStart = 0; // plain ASCII is copied as a run, everything else one character at a time
    auto flush = [&](std::size_t end) { out.append(utf8.substr(runStart, end - runStart)); };
    while (pos < utf8.size()) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            ++pos;
            continue;
        }
        flush(pos);
        char32_t cp = 0;
        std::size_t len = DecodeUtf8(utf8, pos, cp);
        if (len == 0) {
            out += '?';
            pos += 1;
        } else if (IsFormatCharacter(cp)) {
            pos += len; // dropped: it has no place in CP932 and nothing to show
        } else {
            std::string unit;
            AppendUtf8(unit, FoldLookAlike(cp));
            if (!Encoder().Convert(unit, out)) out += '?';
            pos += len;
        }
        runStart = pos;
    }
    flush(pos);
    return out;
}

std::string ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 3 / 2);
    std::size_t pos = 0;
    while (pos < s.size()) {
        pos += Decoder().ConvertRun(s.substr(pos), out);
        if (pos >= s.size()) break;
        // iconv stopped at bytes that are not CP932: one replacement for a pair, or for a lone byte.
        unsigned char c = static_cast<unsigned char>(s[pos]);
        bool pair =
            IsLeadByte(c) && pos + 1 < s.size() && IsTrailByte(static_cast<unsigned char>(s[pos + 1]));
        out += "\xEF\xBF\xBD";
        pos += pair ? 2 : 1;
    }
    return out;
}

} // namespace cp932
