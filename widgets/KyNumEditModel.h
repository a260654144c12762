#pragma once
// The numeric edit without a screen: value text, display text, all-or-nothing selection, one-step
// undo, the property setters and the keyboard tables on abstract keys. The widget feeds it events
// and paints what it says; the probe, the tests and the fuzzer drive it directly.
#include "widgets/KyNumEditTypes.h"
#include "widgets/KyNumFormat.h"
#include "widgets/KyNumLayout.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Keys the key-down table knows; everything else is Other.
enum class KyKey {
    Other,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Backspace,
    Delete,
    Enter,
    A,
    C,
    V,
    X
};

struct KyModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool operator==(const KyModifiers&) const = default;
};

// Passed: the key goes on to whoever else wants it. Consumed: it stops here. Refused: it stops here
// and, with ErrorBeep, the host has been asked to beep.
enum class KeyResult { Passed, Consumed, Refused };

// Character codes of the key presses the control swallows because key down already acted on them.
inline constexpr unsigned kCharCtrlA = 1, kCharCtrlC = 3, kCharBackspace = 8, kCharEnter = 13,
                          kCharCtrlV = 22, kCharCtrlX = 24;

// Context-menu tags.
inline constexpr int kMenuUndo = 0, kMenuCut = 2, kMenuCopy = 3, kMenuPaste = 4, kMenuDelete = 5,
                     kMenuSelectAll = 7, kMenuItemCount = 8;

// Upper bound for IntegerLength and DecimalLength; larger values are ignored like negative ones,
// since padding to them would take gigabytes.
inline constexpr int kMaxDigitLength = 1024;

class KyNumEditModel {
public:
    // Host hooks; any may be left empty.
    std::function<void()> OnChange;
    std::function<void()> OnBeep;
    std::function<void(bool previous)> OnFocusMove; // a request, carried out after the key
    std::function<void()> OnInvalidate;             // repaint and move the caret
    std::function<std::optional<std::string>()> ClipboardGet;
    std::function<void(const std::string&)> ClipboardSet;

    KyNumEditModel();

    // --- value -----------------------------------------------------------------------------
    const std::string& Text() const { return value_; }
    void SetText(std::string_view text);
    const std::string& DisplayText() const { return display_; }
    int SelLength() const { return selLength_; }
    bool Selected() const { return selLength_ != 0; }
    const std::string& UndoText() const { return undoText_; }
    bool UndoAvailable() const { return undoAvailable_; }

    // --- properties --------------------------------------------------------------------------
    const KyNumEditProps& Props() const { return props_; }
    void SetAlignment(TAlignment v);
    void SetVertAlignment(TVertAlignment v);
    void SetArrowFocusMove(bool v) { props_.ArrowFocusMove = v; }
    void SetAutoSelect(bool v);
    void SetAutoSize(bool v);
    void SetBorderStyle(TBorderStyle v);
    void SetCtl3D(bool v);
    void SetComma(bool v);
    void SetDecimalFixed(bool v);
    void SetIntegerFixed(bool v);
    void SetZeroEnabled(bool v);
    void SetLeftMark(std::string_view v);
    void SetRightMark(std::string_view v);
    void SetDecimalLength(int v);
    void SetIntegerLength(int v);
    void SetMinus(bool v);
    void SetTopMargin(int v);
    void SetBottomMargin(int v);
    void SetLeftMargin(int v);
    void SetRightMargin(int v);
    void SetEnterFocusMove(bool v) { props_.EnterFocusMove = v; }
    void SetErrorBeep(bool v) { props_.ErrorBeep = v; }
    void SetHideSelection(bool v) { props_.HideSelection = v; }
    void SetImageCopy(bool v) { props_.ImageCopy = v; }
    void SetImeMode(TImeMode v) { props_.ImeMode = v; }
    void SetReadOnly(bool v) { props_.ReadOnly = v; }
    void SetOptions(TKyNumEditOptions v) { props_.Options = v; }
    void SetTabStop(bool v) { props_.TabStop = v; }

    // --- value rules, bound to the current properties ---------------------------------------
    std::string NormalizeInput(std::string_view text) const;
    std::string StripLeadingZeros(std::string_view value) const;
    std::string FormatDisplay(std::string_view value) const;
    std::string FormatWithMarks(std::string_view value) const;
    std::string TemplateText() const;
    std::string MaxTemplateText() const;

    // --- measuring -----------------------------------------------------------------------------
    void SetMeasure(KyTextMeasure measure);
    void SetClientSize(int width, int height);
    void SetTextHeight(int height);
    const KyNumMetrics& Metrics() const { return metrics_; }
    KyNumLayout Layout() const { return KyNumLayout(props_, value_, metrics_); }
    int TextWidth(std::string_view text) const { return Layout().TextWidth(text); }
    int DisplayWidth(std::string_view value) const { return Layout().DisplayWidth(value); }
    bool FitsWidth(std::string_view value) const { return Layout().FitsWidth(value); }
    int AvailableWidth() const { return Layout().AvailableWidth(); }
    int CaretTextWidth() const { return Layout().CaretTextWidth(); }
    KyRect LeftMarkRect() const { return Layout().LeftMarkRect(); }
    KyRect TextRect() const { return Layout().TextRect(); }
    KyRect RightMarkRect() const { return Layout().RightMarkRect(); }
    KyPoint CaretPosition() const { return Layout().CaretPosition(); }

    // --- editing operations ---------------------------------------------------------------------
    void SelectAll();
    void Deselect();
    void SaveUndo();
    void SwapUndo();
    void ClearValue();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    KeyResult InsertDigit(char digit);
    KeyResult InsertPoint();
    KeyResult ToggleMinus();
    void DeleteChar();

    // --- events ------------------------------------------------------------------------------------
    KeyResult KeyDown(KyKey key, KyModifiers mods);
    KeyResult KeyPress(unsigned code); // a byte, or lead << 8 | trail for a double-byte character
    KeyResult ImeChar(std::string_view character);
    // The character code an input-method character is handled as: full-width digits, minus and full
    // stop as their half-width forms, any other character as it came.
    static unsigned ImeCharCode(std::string_view character);
    void FocusEnter();
    void FocusExit();
    void DoubleClick();
    void MouseDown(bool leftButton);
    void MouseMove(bool leftHeld, int x);

    // --- context menu ---------------------------------------------------------------------------------
    bool MenuItemEnabled(int tag, bool clipboardHasText) const;
    void MenuClick(int tag);

private:
    KeyResult Refuse();
    void Publish();
    void Invalidate();
    void Reformat();    // display text from the unchanged value
    void Renormalize(); // value (and undo text) through NormalizeInput after a limit changed
    bool FitsOrUnchecked(std::string_view candidate) const;

    KyNumEditProps props_;
    KyNumMetrics metrics_;
    std::string value_;
    std::string display_;
    int selLength_ = 0;
    std::string undoText_;
    bool undoAvailable_ = false;
    bool justDoubleClicked_ = false;
};
