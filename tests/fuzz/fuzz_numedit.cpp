// Drives the numeric field's model with random settings, texts and keys, and checks after every
// step that the value is one the settings allow and the display text is its formatted form.
#include "widgets/KyNumEditModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    bool Empty() const { return size == 0; }
    // A text of up to 255 bytes, anything at all: NULs, lone lead bytes, full-width digits.
    std::string Text() {
        std::size_t n = Byte();
        std::string s;
        while (n-- > 0 && !Empty())
            s += static_cast<char>(Byte());
        return s;
    }
};

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Sign only when allowed, digits, at most one point and only with decimals allowed, no more
// decimals or integer digits than allowed. The zero that leading-zero stripping writes before a
// point ("." -> "0.") is the one integer digit a field without integer digits may hold.
bool ValidValue(const std::string& v, const KyNumEditProps& p) {
    std::size_t i = 0;
    if (i < v.size() && v[i] == '-') {
        if (!p.Minus) return false;
        ++i;
    }
    std::size_t integer = 0, decimals = 0;
    bool point = false;
    std::string intPart;
    for (; i < v.size(); ++i) {
        char c = v[i];
        if (c == '.') {
            if (point || p.DecimalLength == 0) return false;
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                ++decimals;
            } else {
                ++integer;
                intPart += c;
            }
        } else {
            return false;
        }
    }
    if (decimals > static_cast<std::size_t>(p.DecimalLength)) return false;
    if (integer > static_cast<std::size_t>(p.IntegerLength) && !(p.IntegerLength == 0 && intPart == "0"))
        return false;
    return true;
}

void CheckState(const KyNumEditModel& m) {
    Check(ValidValue(m.Text(), m.Props()), "value valid for the settings");
    Check(ValidValue(m.UndoText(), m.Props()) || !m.UndoAvailable(), "undo text valid for the settings");
    Check(m.DisplayText() == m.FormatWithMarks(m.Text()), "display is the formatted value");
    Check(m.SelLength() >= 0, "selection length");
    // Layout and widths must be computable whatever the state.
    KyRect r = m.TextRect();
    Check(r.Width() >= 0, "text rectangle width");
    (void)m.CaretPosition();
    (void)m.LeftMarkRect();
    (void)m.RightMarkRect();
}

void Step(KyNumEditModel& m, Input& in, std::string& clipboard, bool& hasClip) {
    const std::uint8_t op = in.Byte();
    switch (op % 24) {
    case 0:
        m.SetText(in.Text());
        break;
    case 1:
        m.SetIntegerLength(static_cast<int>(in.Byte() % 14) - 1);
        break;
    case 2:
        m.SetDecimalLength(static_cast<int>(in.Byte() % 8) - 1);
        break;
    case 3:
        m.SetMinus(in.Byte() & 1);
        break;
    case 4: {
        std::uint8_t b = in.Byte();
        m.SetComma(b & 1);
        m.SetDecimalFixed(b & 2);
        m.SetIntegerFixed(b & 4);
        m.SetZeroEnabled(b & 8);
        m.SetReadOnly(b & 16);
        m.SetImageCopy(b & 32);
        m.SetHideSelection(b & 64);
        m.SetAutoSelect(b & 128);
        break;
    }
    case 5:
        m.SetLeftMark(in.Text().substr(0, 4));
        break;
    case 6:
        m.SetRightMark(in.Text().substr(0, 4));
        break;
    case 7: {
        TKyNumEditOptions o;
        std::uint8_t b = in.Byte();
        for (int i = 0; i < 5; ++i)
            if (b & (1 << i)) o.Include(static_cast<TKyNumEditOption>(i));
        m.SetOptions(o);
        break;
    }
    case 8:
        m.SetClientSize(static_cast<int>(in.Byte()) - 20, static_cast<int>(in.Byte()) - 20);
        m.SetLeftMargin(static_cast<int>(in.Byte() % 12) - 2);
        m.SetRightMargin(static_cast<int>(in.Byte() % 12) - 2);
        m.SetAlignment(static_cast<TAlignment>(in.Byte() % 3));
        m.SetVertAlignment(static_cast<TVertAlignment>(in.Byte() % 3));
        break;
    case 9:
    case 10:
    case 11:
    case 12:
        m.KeyPress(in.Byte());
        break;
    case 13:
        m.KeyPress('0' + in.Byte() % 10);
        break;
    case 14: {
        std::uint8_t b = in.Byte();
        m.KeyDown(static_cast<KyKey>(b % 16), KyModifiers{(b & 16) != 0, (b & 32) != 0, (b & 64) != 0});
        break;
    }
    case 15: {
        std::string ime;
        ime += static_cast<char>(in.Byte());
        if (in.Byte() & 1) ime += static_cast<char>(in.Byte());
        m.ImeChar(ime);
        break;
    }
    case 16:
        clipboard = in.Text();
        hasClip = true;
        break;
    case 17:
        m.MenuClick(in.Byte() % 9);
        break;
    case 18:
        m.Undo();
        break;
    case 19:
        (in.Byte() & 1) ? m.FocusEnter() : m.FocusExit();
        break;
    case 20:
        m.SelectAll();
        break;
    case 21:
        m.DeleteChar();
        break;
    case 22: {
        std::uint8_t b = in.Byte();
        if (b & 1)
            m.DoubleClick();
        else
            m.MouseDown(b & 2);
        m.MouseMove(b & 4, static_cast<int>(in.Byte()) - 10);
        break;
    }
    case 23:
        m.SetErrorBeep(in.Byte() & 1);
        m.SetEnterFocusMove(in.Byte() & 1);
        m.SetArrowFocusMove(in.Byte() & 1);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    KyNumEditModel m;
    std::string clipboard;
    bool hasClip = false;
    int changes = 0;
    m.OnChange = [&] { ++changes; };
    m.OnBeep = [] {};
    m.OnFocusMove = [](bool) {};
    m.ClipboardGet = [&]() -> std::optional<std::string> {
        if (!hasClip) return std::nullopt;
        return clipboard;
    };
    m.ClipboardSet = [&](const std::string& t) {
        clipboard = t;
        hasClip = true;
    };
    const int perByte = in.Byte() % 9;
    if (perByte > 0)
        m.SetMeasure([perByte](std::string_view s) { return static_cast<int>(s.size()) * perByte; });
    CheckState(m);
    while (!in.Empty()) {
        Step(m, in, clipboard, hasClip);
        CheckState(m);
    }
    return 0;
}
