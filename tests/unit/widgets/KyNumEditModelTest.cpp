// The numeric field's editing: Text writes, property setters, typing, deleting, clipboard, undo,
// selection, focus and the key tables, with OnChange, beeps and focus requests counted.
#include "widgets/KyNumEditModel.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct Field {
    KyNumEditModel m;
    int changes = 0;
    int beeps = 0;
    std::vector<std::string> moves;
    std::optional<std::string> clipboard;

    Field() {
        m.OnChange = [this] { ++changes; };
        m.OnBeep = [this] { ++beeps; };
        m.OnFocusMove = [this](bool previous) { moves.push_back(previous ? "prev" : "next"); };
        m.ClipboardGet = [this] { return clipboard; };
        m.ClipboardSet = [this](const std::string& t) { clipboard = t; };
    }
    // Types each byte as a key press, the way a keyboard without input method does.
    void Type(std::string_view keys) {
        for (char c : keys)
            m.KeyPress(static_cast<unsigned char>(c));
    }
    KeyResult Key(KyKey k, KyModifiers mods = {}) { return m.KeyDown(k, mods); }
};

constexpr KyModifiers kShift{true, false, false};
constexpr KyModifiers kCtrl{false, true, false};

// --- Text writes ------------------------------------------------------------------------------------

TEST(TextWrite, NormalisesAndFormats) {
    Field f;
    f.m.SetText("1,234,567");
    EXPECT_EQ(f.m.Text(), "1234567");
    EXPECT_EQ(f.m.DisplayText(), "1,234,567");
    EXPECT_EQ(f.changes, 1);
}

TEST(TextWrite, SameTextDoesNothingButRenormalisedTextFires) {
    Field f;
    f.m.SetText("5");
    f.m.SetText("5");
    EXPECT_EQ(f.changes, 1);
    f.m.SetText("05"); // differs before normalising
    EXPECT_EQ(f.m.Text(), "5");
    EXPECT_EQ(f.changes, 2);
}

TEST(TextWrite, ZeroStrippingFollowsZeroEnabled) {
    Field f;
    f.m.SetText("0012");
    EXPECT_EQ(f.m.Text(), "12");
    Field g;
    g.m.SetZeroEnabled(true);
    g.m.SetText("0012");
    EXPECT_EQ(g.m.Text(), "0012");
}

TEST(TextWrite, TooLongIntegerEmptiesButFixedIntegerShowsZero) {
    Field f;
    f.m.SetIntegerLength(3);
    f.m.SetText("9999");
    EXPECT_EQ(f.m.Text(), "");
    EXPECT_EQ(f.m.DisplayText(), "");
    f.m.SetIntegerFixed(true);
    EXPECT_EQ(f.m.DisplayText(), "0");
}

TEST(TextWrite, MinusRefusedEmptiesWhenMinusOff) {
    Field f;
    f.m.SetMinus(false);
    f.m.SetText("-12");
    EXPECT_EQ(f.m.Text(), "");
}

TEST(TextWrite, LeavesSelectionAndUndoAlone) {
    Field f;
    f.m.SetText("12");
    f.m.SelectAll();
    f.Type("3"); // replaces: undo text 12
    f.m.SelectAll();
    f.m.SetText("77");
    EXPECT_TRUE(f.m.Selected());
    EXPECT_EQ(f.m.UndoText(), "12");
}

// --- property setters ----------------------------------------------------------------------------------

TEST(PropertySetters, ShorterLimitsCutWithoutOnChange) {
    Field f;
    f.m.SetDecimalLength(2);
    f.m.SetText("12.3456");
    EXPECT_EQ(f.m.Text(), "12.34");
    const int before = f.changes;
    f.m.SetDecimalLength(0);
    EXPECT_EQ(f.m.Text(), "12");
    f.m.SetIntegerLength(1);
    EXPECT_EQ(f.m.Text(), "");
    EXPECT_EQ(f.changes, before);
}

TEST(PropertySetters, NegativeAndAbsurdLengthsAreIgnored) {
    Field f;
    f.m.SetIntegerLength(-1);
    f.m.SetDecimalLength(-5);
    f.m.SetDecimalLength(2'000'000'000);
    EXPECT_EQ(f.m.Props().IntegerLength, 9);
    EXPECT_EQ(f.m.Props().DecimalLength, 3);
    f.m.SetLeftMargin(-3);
    EXPECT_EQ(f.m.Props().LeftMargin, 2);
}

TEST(PropertySetters, MinusOffDropsANegativeValueWithoutOnChange) {
    Field f;
    f.m.SetText("-5");
    f.m.SetMinus(false);
    EXPECT_EQ(f.m.Text(), "");
    EXPECT_EQ(f.changes, 1);
}

TEST(PropertySetters, FormattingPropertiesRedrawTheSameValue) {
    Field f;
    f.m.SetText("-1234.5");
    EXPECT_EQ(f.m.DisplayText(), "-1,234.5");
    f.m.SetComma(false);
    EXPECT_EQ(f.m.DisplayText(), "-1234.5");
    f.m.SetDecimalFixed(true);
    EXPECT_EQ(f.m.DisplayText(), "-1234.500");
    f.m.SetLeftMark("\\");
    f.m.SetRightMark("\x89\x7E");
    EXPECT_EQ(f.m.DisplayText(), "\\-1234.500\x89\x7E");
    EXPECT_EQ(f.m.Text(), "-1234.5");
    EXPECT_EQ(f.changes, 1);
}

TEST(PropertySetters, UndoNeverBringsBackWhatNewLimitsForbid) {
    Field f;
    f.Type("12.5");
    f.Type("6"); // undo text 12.5
    f.m.SetDecimalLength(0);
    f.m.Undo();
    EXPECT_EQ(f.m.Text(), "12");
}

// --- typing --------------------------------------------------------------------------------------------

TEST(Typing, DigitsAppendAndLeadingZeroGoes) {
    Field f;
    f.Type("0");
    EXPECT_EQ(f.m.Text(), "0");
    f.Type("0");
    EXPECT_EQ(f.m.Text(), "0");
    f.Type("5");
    EXPECT_EQ(f.m.Text(), "5");
    f.Type("1234");
    EXPECT_EQ(f.m.DisplayText(), "51,234");
    EXPECT_EQ(f.beeps, 0);
}

TEST(Typing, IntegerLimitRefusesButPointStillOpensDecimals) {
    Field f;
    f.m.SetIntegerLength(3);
    f.Type("999");
    f.Type("1");
    EXPECT_EQ(f.m.Text(), "999");
    EXPECT_EQ(f.beeps, 1);
    f.Type(".5");
    EXPECT_EQ(f.m.Text(), "999.5");
}

TEST(Typing, MinusDoesNotCountAsAnIntegerDigit) {
    Field f;
    f.m.SetIntegerLength(3);
    f.Type("-12");
    f.Type("3");
    EXPECT_EQ(f.m.Text(), "-123");
    EXPECT_EQ(f.beeps, 0);
}

TEST(Typing, DecimalLimitAndNoPointWhenNoDecimals) {
    Field f;
    f.m.SetDecimalLength(2);
    f.Type("1.25");
    EXPECT_EQ(f.m.KeyPress('9'), KeyResult::Refused);
    EXPECT_EQ(f.m.KeyPress('.'), KeyResult::Refused);
    EXPECT_EQ(f.m.Text(), "1.25");
    Field g;
    g.m.SetDecimalLength(0);
    EXPECT_EQ(g.m.KeyPress('.'), KeyResult::Refused);
}

TEST(Typing, PointOnEmptyOrMinusGetsAZero) {
    Field f;
    f.Type(".");
    EXPECT_EQ(f.m.Text(), "0.");
    Field g;
    g.Type("-.");
    EXPECT_EQ(g.m.Text(), "-0.");
}

TEST(Typing, MinusTogglesAnywhere) {
    Field f;
    f.Type("5-");
    EXPECT_EQ(f.m.Text(), "-5");
    f.Type("3-");
    EXPECT_EQ(f.m.Text(), "53");
    f.m.SetMinus(false);
    EXPECT_EQ(f.m.KeyPress('-'), KeyResult::Refused);
}

TEST(Typing, UndoAfterMinusTwiceBringsBackTheMinus) {
    Field f;
    f.Type("7--");
    EXPECT_EQ(f.m.Text(), "7");
    f.m.Undo();
    EXPECT_EQ(f.m.Text(), "-7");
}

TEST(Typing, OtherCharactersAreRefusedWithBeepOnlyWhenAsked) {
    Field f;
    EXPECT_EQ(f.m.KeyPress('a'), KeyResult::Refused);
    EXPECT_EQ(f.m.KeyPress(0), KeyResult::Refused);
    EXPECT_EQ(f.beeps, 2);
    f.m.SetErrorBeep(false);
    EXPECT_EQ(f.m.KeyPress(' '), KeyResult::Refused);
    EXPECT_EQ(f.beeps, 2);
}

TEST(Typing, OverASelectionReplacesAndUndoRestoresTheOldValueSelected) {
    Field f;
    f.m.SetText("1234");
    f.m.SelectAll();
    const int before = f.changes;
    f.Type("7");
    EXPECT_EQ(f.m.Text(), "7");
    EXPECT_FALSE(f.m.Selected());
    EXPECT_EQ(f.changes, before + 2); // the clearing and the digit
    f.m.Undo();
    EXPECT_EQ(f.m.Text(), "1234");
    EXPECT_TRUE(f.m.Selected());
    f.m.Undo();
    EXPECT_EQ(f.m.Text(), "7");
}

TEST(Typing, MinusOrPointOverASelectionStartAfresh) {
    Field f;
    f.m.SetText("88");
    f.m.SelectAll();
    f.Type("-");
    EXPECT_EQ(f.m.Text(), "-");
    EXPECT_EQ(f.m.UndoText(), "88");
    f.m.SetText("12.5");
    f.m.SelectAll();
    f.Type(".");
    EXPECT_EQ(f.m.Text(), "0.");
    EXPECT_EQ(f.m.UndoText(), "12.5");
}

TEST(Typing, WidthStopRefusesWhatWouldNotFit) {
    Field f;
    f.m.SetMeasure([](std::string_view s) { return static_cast<int>(s.size()) * 6; });
    f.m.SetClientSize(4 + 4 + 6 * 3 + 1, 16); // room for three bytes
    f.Type("1234");
    EXPECT_EQ(f.m.Text(), "1234"); // no stop without the option
    Field g;
    g.m.SetMeasure([](std::string_view s) { return static_cast<int>(s.size()) * 6; });
    g.m.SetClientSize(4 + 4 + 6 * 3 + 1, 16);
    g.m.SetOptions({TKyNumEditOption::eoORInputStop});
    g.Type("123");
    EXPECT_EQ(g.m.KeyPress('4'), KeyResult::Refused); // would show 1,234
    EXPECT_EQ(g.m.KeyPress('-'), KeyResult::Refused);
    EXPECT_EQ(g.m.Text(), "123");
    g.m.SetRightMark("%");
    g.m.SetText("12");
    EXPECT_EQ(g.m.KeyPress('3'), KeyResult::Refused); // the mark counts
}

TEST(Typing, InputMethodFullWidthFoldsAndOthersAreRefused) {
    Field f;
    f.m.ImeChar("\x82\x54"); // ５
    f.m.ImeChar("\x81\x44"); // ．
    f.m.ImeChar("\x82\x50"); // １
    f.m.ImeChar("\x81\x7C"); // －
    EXPECT_EQ(f.m.Text(), "-5.1");
    EXPECT_EQ(f.m.ImeChar("\x82\xA0"), KeyResult::Refused); // あ
    EXPECT_EQ(f.m.ImeChar("\xB1"), KeyResult::Refused);     // half-width ｱ
    EXPECT_EQ(f.m.Text(), "-5.1");
}

// --- deleting -------------------------------------------------------------------------------------------

TEST(DeleteChar, RemovesLastCharacterAndAnOrphanedPoint) {
    Field f;
    f.m.SetText("12.5");
    f.Key(KyKey::Backspace);
    EXPECT_EQ(f.m.Text(), "12");
    EXPECT_EQ(f.m.UndoText(), "12.5");
    f.m.SetText("12.");
    f.Key(KyKey::Delete);
    EXPECT_EQ(f.m.Text(), "12");
}

TEST(DeleteChar, EmptyValueDoesNothingAndSelectionClears) {
    Field f;
    f.Key(KyKey::Backspace);
    EXPECT_EQ(f.changes, 0);
    EXPECT_FALSE(f.m.UndoAvailable());
    f.m.SetText("345");
    f.m.SelectAll();
    f.Key(KyKey::Delete);
    EXPECT_EQ(f.m.Text(), "");
    EXPECT_EQ(f.m.UndoText(), "345");
}

TEST(DeleteChar, BackspaceKeyPressIsSwallowedAfterKeyDown) {
    Field f;
    f.m.SetText("42");
    f.Key(KyKey::Backspace);
    EXPECT_EQ(f.m.KeyPress(kCharBackspace), KeyResult::Consumed);
    EXPECT_EQ(f.m.Text(), "4");
    EXPECT_EQ(f.beeps, 0);
}

// --- clipboard
// ----------------------------------------------------------------------------------------------

TEST(Clipboard, PasteAppendsOrReplaces) {
    Field f;
    f.m.SetText("5");
    f.clipboard = "1,000";
    f.Key(KyKey::V, kCtrl);
    EXPECT_EQ(f.m.Text(), "51000");
    EXPECT_EQ(f.m.UndoText(), "5");
    f.m.SelectAll();
    f.Key(KyKey::V, kCtrl);
    EXPECT_EQ(f.m.Text(), "1000");
    EXPECT_FALSE(f.m.Selected());
}

TEST(Clipboard, PasteOfTextThatDoesNotFitStopsOrEmpties) {
    Field f;
    f.m.SetText("5");
    f.clipboard = "abc";
    f.m.PasteFromClipboard();
    EXPECT_EQ(f.m.Text(), "5");
    f.clipboard = "1234567890";
    f.m.PasteFromClipboard();
    EXPECT_EQ(f.m.Text(), "");
    f.clipboard.reset();
    const int before = f.changes;
    f.m.SetText("7");
    f.m.PasteFromClipboard();
    EXPECT_EQ(f.changes, before + 1); // nothing to paste, nothing done
}

TEST(Clipboard, CopyAndCutNeedASelection) {
    Field f;
    f.m.SetText("1234");
    f.Key(KyKey::C, kCtrl);
    EXPECT_FALSE(f.clipboard);
    f.m.SelectAll();
    f.Key(KyKey::C, kCtrl);
    EXPECT_EQ(f.clipboard, "1234");
    f.m.SetImageCopy(true);
    f.m.SetRightMark("%");
    f.m.CopyToClipboard();
    EXPECT_EQ(f.clipboard, "1,234%");
    f.Key(KyKey::X, kCtrl);
    EXPECT_EQ(f.m.Text(), "");
    f.m.Undo();
    EXPECT_EQ(f.m.Text(), "1234");
}

// --- read-only --------------------------------------------------------------------------------------------

TEST(ReadOnly, SwallowsEditsSilentlyButCopiesAndMovesFocus) {
    Field f;
    f.m.SetText("55");
    f.m.SetReadOnly(true);
    f.m.SetArrowFocusMove(true);
    EXPECT_EQ(f.m.KeyPress('1'), KeyResult::Consumed);
    EXPECT_EQ(f.m.KeyPress('a'), KeyResult::Consumed);
    f.clipboard = "9";
    EXPECT_EQ(f.Key(KyKey::V, kCtrl), KeyResult::Passed);
    EXPECT_EQ(f.Key(KyKey::Backspace), KeyResult::Passed);
    f.m.SelectAll();
    f.Key(KyKey::X, kCtrl);
    EXPECT_EQ(f.m.Text(), "55");
    f.Key(KyKey::C, kCtrl);
    EXPECT_EQ(f.clipboard, "55");
    f.Key(KyKey::Down);
    EXPECT_EQ(f.moves, std::vector<std::string>{"next"});
    EXPECT_EQ(f.beeps, 0);
}

// --- navigation keys and focus moves -----------------------------------------------------------------------

TEST(KeyDown, ShiftArrowsAndCtrlASelectPlainNavigationDeselects) {
    Field f;
    f.m.SetText("12");
    f.Key(KyKey::Left, kShift);
    EXPECT_TRUE(f.m.Selected());
    f.Key(KyKey::Home);
    EXPECT_FALSE(f.m.Selected());
    f.Key(KyKey::A, kCtrl);
    EXPECT_TRUE(f.m.Selected());
    EXPECT_EQ(f.Key(KyKey::Left, KyModifiers{true, true, false}), KeyResult::Passed); // modifiers must match
    EXPECT_TRUE(f.m.Selected());
    EXPECT_EQ(f.Key(KyKey::Other), KeyResult::Passed);
}

TEST(KeyDown, ArrowsMoveFocusOnlyWhenConfigured) {
    Field f;
    f.Key(KyKey::Up);
    f.Key(KyKey::Down);
    EXPECT_TRUE(f.moves.empty());
    f.m.SetArrowFocusMove(true);
    f.Key(KyKey::Up);
    f.Key(KyKey::Down);
    EXPECT_EQ(f.moves, (std::vector<std::string>{"prev", "next"}));
    f.m.SetOptions({TKyNumEditOption::eoArrowDown});
    f.Key(KyKey::Up);
    EXPECT_EQ(f.moves.size(), 2u);
}

TEST(KeyPress, EnterMovesFocusOrIsRefused) {
    Field f;
    EXPECT_EQ(f.m.KeyPress(kCharEnter), KeyResult::Refused);
    EXPECT_EQ(f.beeps, 1);
    f.m.SetEnterFocusMove(true);
    EXPECT_EQ(f.m.KeyPress(kCharEnter), KeyResult::Consumed);
    EXPECT_EQ(f.moves, std::vector<std::string>{"next"});
    EXPECT_EQ(f.beeps, 1);
}

// --- focus and mouse
// ----------------------------------------------------------------------------------------

TEST(Focus, EnterSelectsLeavingDropsLoneMinus) {
    Field f;
    f.m.SetText("3");
    f.m.FocusEnter();
    EXPECT_TRUE(f.m.Selected());
    f.m.FocusExit();
    EXPECT_FALSE(f.m.Selected());
    f.Type("-");
    f.Type("-"); // back to "3"
    f.m.SetText("-");
    const int before = f.changes;
    f.m.FocusExit();
    EXPECT_EQ(f.m.Text(), "");
    EXPECT_EQ(f.changes, before);
}

TEST(Focus, MinusOnlyOptionAndKeptSelection) {
    Field f;
    f.m.SetOptions({TKyNumEditOption::eoMinusOnly});
    f.m.SetHideSelection(false);
    f.Type("-");
    f.m.SelectAll();
    f.m.FocusExit();
    EXPECT_EQ(f.m.Text(), "-");
    EXPECT_TRUE(f.m.Selected());
    Field g;
    g.m.SetAutoSelect(false);
    g.m.SetText("1");
    g.m.FocusEnter();
    EXPECT_FALSE(g.m.Selected());
}

TEST(Mouse, ClickDeselectsButSecondPressOfDoubleClickKeeps) {
    Field f;
    f.m.SetText("12");
    f.m.SelectAll();
    f.m.MouseDown(true);
    EXPECT_FALSE(f.m.Selected());
    f.m.DoubleClick();
    f.m.MouseDown(true);
    EXPECT_TRUE(f.m.Selected());
    f.m.MouseDown(true);
    EXPECT_FALSE(f.m.Selected());
}

TEST(Mouse, DraggingOverTheTextSelects) {
    Field f;
    f.m.SetMeasure([](std::string_view s) { return static_cast<int>(s.size()) * 6; });
    f.m.SetClientSize(100, 20);
    f.m.SetText("12");
    KyRect r = f.m.TextRect();
    f.m.MouseMove(true, r.Left - 1);
    EXPECT_FALSE(f.m.Selected());
    f.m.MouseMove(false, r.Left);
    EXPECT_FALSE(f.m.Selected());
    f.m.MouseMove(true, r.Right);
    EXPECT_TRUE(f.m.Selected());
}

// --- context menu ------------------------------------------------------------------------------------------

TEST(ContextMenu, EnablingFollowsStateAndReadOnly) {
    Field f;
    EXPECT_FALSE(f.m.MenuItemEnabled(kMenuUndo, false));
    EXPECT_FALSE(f.m.MenuItemEnabled(kMenuSelectAll, false)); // empty value
    EXPECT_TRUE(f.m.MenuItemEnabled(kMenuPaste, true));
    EXPECT_FALSE(f.m.MenuItemEnabled(kMenuPaste, false));
    f.Type("12");
    EXPECT_TRUE(f.m.MenuItemEnabled(kMenuUndo, false));
    EXPECT_TRUE(f.m.MenuItemEnabled(kMenuSelectAll, false));
    EXPECT_FALSE(f.m.MenuItemEnabled(kMenuCopy, false));
    f.m.SelectAll();
    for (int tag : {kMenuCut, kMenuCopy, kMenuDelete})
        EXPECT_TRUE(f.m.MenuItemEnabled(tag, false)) << tag;
    EXPECT_FALSE(f.m.MenuItemEnabled(kMenuSelectAll, false));
    EXPECT_FALSE(f.m.MenuItemEnabled(1, true));
    EXPECT_FALSE(f.m.MenuItemEnabled(6, true));
    f.m.SetReadOnly(true);
    for (int tag : {kMenuUndo, kMenuCut, kMenuPaste, kMenuDelete})
        EXPECT_FALSE(f.m.MenuItemEnabled(tag, true)) << tag;
    EXPECT_TRUE(f.m.MenuItemEnabled(kMenuCopy, true));
}

TEST(ContextMenu, DeleteClearsTheValueUndoably) {
    Field f;
    f.m.SetText("250");
    f.m.SelectAll();
    f.m.MenuClick(kMenuDelete);
    EXPECT_EQ(f.m.Text(), "");
    EXPECT_FALSE(f.clipboard);
    f.m.MenuClick(kMenuUndo);
    EXPECT_EQ(f.m.Text(), "250");
    EXPECT_TRUE(f.m.Selected());
}

// --- OnChange counting -----------------------------------------------------------------------------------

TEST(OnChange, FiresForEachUserEditOnly) {
    Field f;
    f.Type("12");            // 2
    f.m.SelectAll();         // 0
    f.m.Deselect();          // 0
    f.m.KeyPress('x');       // refused: 0
    f.Key(KyKey::Backspace); // 1
    f.m.Undo();              // 1
    f.m.SetComma(false);     // 0
    f.m.SetIntegerLength(1); // renormalising: 0
    EXPECT_EQ(f.changes, 4);
}

} // namespace
