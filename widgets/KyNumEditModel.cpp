#include "widgets/KyNumEditModel.h"

KyNumEditModel::KyNumEditModel() {
    display_ = FormatWithMarks(value_);
}

// --- value --------------------------------------------------------------------------------------

void KyNumEditModel::SetText(std::string_view text) {
    // Compared before normalising: writing "05" over "5" still counts as a change.
    if (text == value_) return;
    value_ = StripLeadingZeros(NormalizeInput(text));
    Publish();
}

// --- properties -----------------------------------------------------------------------------------

void KyNumEditModel::SetAlignment(TAlignment v) {
    if (v == props_.Alignment) return;
    props_.Alignment = v;
    Invalidate();
}

void KyNumEditModel::SetVertAlignment(TVertAlignment v) {
    if (v == props_.VertAlignment) return;
    props_.VertAlignment = v;
    Invalidate();
}

void KyNumEditModel::SetAutoSelect(bool v) {
    if (v == props_.AutoSelect) return;
    props_.AutoSelect = v;
    Invalidate();
}

void KyNumEditModel::SetAutoSize(bool v) {
    if (v == props_.AutoSize) return;
    props_.AutoSize = v;
    Invalidate();
}

void KyNumEditModel::SetBorderStyle(TBorderStyle v) {
    if (v == props_.BorderStyle) return;
    props_.BorderStyle = v;
    Invalidate();
}

void KyNumEditModel::SetCtl3D(bool v) {
    if (v == props_.Ctl3D) return;
    props_.Ctl3D = v;
    Invalidate();
}

void KyNumEditModel::SetComma(bool v) {
    if (v == props_.Comma) return;
    props_.Comma = v;
    Reformat();
}

void KyNumEditModel::SetDecimalFixed(bool v) {
    if (v == props_.DecimalFixed) return;
    props_.DecimalFixed = v;
    Reformat();
}

void KyNumEditModel::SetIntegerFixed(bool v) {
    if (v == props_.IntegerFixed) return;
    props_.IntegerFixed = v;
    Reformat();
}

void KyNumEditModel::SetZeroEnabled(bool v) {
    if (v == props_.ZeroEnabled) return;
    props_.ZeroEnabled = v;
    Reformat();
}

void KyNumEditModel::SetLeftMark(std::string_view v) {
    if (v == props_.LeftMark) return;
    props_.LeftMark = v;
    Reformat();
}

void KyNumEditModel::SetRightMark(std::string_view v) {
    if (v == props_.RightMark) return;
    props_.RightMark = v;
    Reformat();
}

void KyNumEditModel::SetDecimalLength(int v) {
    if (v < 0 || v > kMaxDigitLength || v == props_.DecimalLength) return;
    props_.DecimalLength = v;
    Renormalize();
}

void KyNumEditModel::SetIntegerLength(int v) {
    if (v < 0 || v > kMaxDigitLength || v == props_.IntegerLength) return;
    props_.IntegerLength = v;
    Renormalize();
}

void KyNumEditModel::SetMinus(bool v) {
    if (v == props_.Minus) return;
    props_.Minus = v;
    Renormalize();
}

void KyNumEditModel::SetTopMargin(int v) {
    if (v < 0 || v == props_.TopMargin) return;
    props_.TopMargin = v;
    Invalidate();
}

void KyNumEditModel::SetBottomMargin(int v) {
    if (v < 0 || v == props_.BottomMargin) return;
    props_.BottomMargin = v;
    Invalidate();
}

void KyNumEditModel::SetLeftMargin(int v) {
    if (v < 0 || v == props_.LeftMargin) return;
    props_.LeftMargin = v;
    Invalidate();
}

void KyNumEditModel::SetRightMargin(int v) {
    if (v < 0 || v == props_.RightMargin) return;
    props_.RightMargin = v;
    Invalidate();
}

// --- value rules ----------------------------------------------------------------------------------

std::string KyNumEditModel::NormalizeInput(std::string_view text) const {
    return ::NormalizeInput(text, props_.TextRules());
}

std::string KyNumEditModel::StripLeadingZeros(std::string_view value) const {
    return ::StripLeadingZeros(value, props_.TextRules());
}

std::string KyNumEditModel::FormatDisplay(std::string_view value) const {
    return ::FormatDisplay(value, props_);
}

std::string KyNumEditModel::FormatWithMarks(std::string_view value) const {
    return ::FormatWithMarks(value, props_);
}

std::string KyNumEditModel::TemplateText() const {
    return ::TemplateText(value_, props_);
}

std::string KyNumEditModel::MaxTemplateText() const {
    return ::MaxTemplateText(props_);
}

// --- measuring --------------------------------------------------------------------------------------

void KyNumEditModel::SetMeasure(KyTextMeasure measure) {
    metrics_.Measure = std::move(measure);
}

void KyNumEditModel::SetClientSize(int width, int height) {
    metrics_.ClientWidth = width;
    metrics_.ClientHeight = height;
}

void KyNumEditModel::SetTextHeight(int height) {
    metrics_.TextHeight = height;
}

// --- editing operations -------------------------------------------------------------------------------

void KyNumEditModel::SelectAll() {
    selLength_ = static_cast<int>(display_.size());
    Invalidate();
}

void KyNumEditModel::Deselect() {
    selLength_ = 0;
    Invalidate();
}

void KyNumEditModel::SaveUndo() {
    undoText_ = value_;
    undoAvailable_ = true;
}

void KyNumEditModel::SwapUndo() {
    std::swap(value_, undoText_);
    undoAvailable_ = true;
}

void KyNumEditModel::ClearValue() {
    SaveUndo();
    value_.clear();
    Deselect();
    Publish();
}

void KyNumEditModel::CopyToClipboard() {
    if (!Selected() || !ClipboardSet) return;
    ClipboardSet(props_.ImageCopy ? display_ : value_);
}

void KyNumEditModel::CutToClipboard() {
    if (!Selected()) return;
    CopyToClipboard();
    ClearValue();
}

void KyNumEditModel::PasteFromClipboard() {
    if (!ClipboardGet) return;
    std::optional<std::string> text = ClipboardGet();
    if (!text) return;
    SaveUndo();
    value_ = NormalizeInput(Selected() ? *text : value_ + *text);
    value_ = StripLeadingZeros(value_);
    Deselect();
    Publish();
}

void KyNumEditModel::Undo() {
    if (!undoAvailable_) return;
    SwapUndo();
    display_ = FormatWithMarks(value_);
    SelectAll();
    Publish();
}

// Typing over a selection first clears the value (firing OnChange for that), and the cleared value
// stays the undo text: Undo then brings back what was replaced, not the empty value in between.
KeyResult KyNumEditModel::InsertDigit(char digit) {
    if (props_.ReadOnly) return KeyResult::Consumed;
    const bool cleared = Selected();
    if (cleared) ClearValue();
    const std::size_t point = value_.find('.');
    const bool hasPoint = point != std::string::npos;
    const bool hasMinus = value_.find('-') != std::string::npos;
    const long integerDigits = static_cast<long>(hasPoint ? point : value_.size()) - (hasMinus ? 1 : 0);
    const long decimals = hasPoint ? static_cast<long>(value_.size() - point - 1) : 0;
    bool allowed;
    if (props_.DecimalLength == 0 || !hasPoint)
        allowed = integerDigits < props_.IntegerLength;
    else
        allowed = decimals < props_.DecimalLength;
    if (!allowed) return Refuse();
    std::string candidate = StripLeadingZeros(value_ + digit);
    if (!FitsOrUnchecked(candidate)) return Refuse();
    if (!cleared) SaveUndo();
    value_ = std::move(candidate);
    Publish();
    return KeyResult::Consumed;
}

KeyResult KyNumEditModel::InsertPoint() {
    if (props_.ReadOnly) return KeyResult::Consumed;
    if (props_.DecimalLength == 0) return Refuse();
    const bool cleared = Selected();
    if (cleared) ClearValue();
    if (value_.find('.') != std::string::npos) return Refuse();
    std::string candidate = value_ + ".";
    if (!FitsOrUnchecked(candidate)) return Refuse();
    candidate = StripLeadingZeros(candidate);
    if (!cleared) SaveUndo();
    value_ = std::move(candidate);
    Publish();
    return KeyResult::Consumed;
}

KeyResult KyNumEditModel::ToggleMinus() {
    if (props_.ReadOnly) return KeyResult::Consumed;
    if (!props_.Minus) return Refuse();
    const bool cleared = Selected();
    if (cleared) ClearValue();
    if (std::size_t minus = value_.find('-'); minus != std::string::npos) {
        if (!cleared) SaveUndo();
        value_.erase(minus, 1);
        Publish();
        return KeyResult::Consumed;
    }
    std::string candidate = "-" + value_;
    if (!FitsOrUnchecked(candidate)) return Refuse();
    if (!cleared) SaveUndo();
    value_ = std::move(candidate);
    Publish();
    return KeyResult::Consumed;
}

void KyNumEditModel::DeleteChar() {
    if (props_.ReadOnly || value_.empty()) return;
    if (Selected()) {
        ClearValue();
        return;
    }
    std::string shorter = value_.substr(0, value_.size() - 1);
    if (!shorter.empty() && shorter.back() == '.') shorter.pop_back();
    SaveUndo();
    value_ = std::move(shorter);
    Publish();
}

// --- events ---------------------------------------------------------------------------------------------

KeyResult KyNumEditModel::KeyDown(KyKey key, KyModifiers mods) {
    const bool shiftOnly = mods == KyModifiers{true, false, false};
    const bool ctrlOnly = mods == KyModifiers{false, true, false};
    const bool none = mods == KyModifiers{};
    if (shiftOnly && (key == KyKey::Left || key == KyKey::Right)) {
        SelectAll();
        return KeyResult::Consumed;
    }
    if (ctrlOnly && key == KyKey::A) {
        SelectAll();
        return KeyResult::Consumed;
    }
    if (ctrlOnly && key == KyKey::C) {
        CopyToClipboard();
        return KeyResult::Consumed;
    }
    if (none) {
        switch (key) {
        case KyKey::PageUp:
        case KyKey::PageDown:
        case KyKey::End:
        case KyKey::Home:
        case KyKey::Left:
        case KyKey::Right:
            Deselect();
            return KeyResult::Consumed;
        case KyKey::Up:
            Deselect();
            if (props_.ArrowFocusMove && props_.Options.Has(TKyNumEditOption::eoArrowUp) && OnFocusMove)
                OnFocusMove(true);
            return KeyResult::Consumed;
        case KyKey::Down:
            Deselect();
            if (props_.ArrowFocusMove && props_.Options.Has(TKyNumEditOption::eoArrowDown) && OnFocusMove)
                OnFocusMove(false);
            return KeyResult::Consumed;
        default:
            break;
        }
    }
    if (props_.ReadOnly) return KeyResult::Passed;
    if (ctrlOnly && key == KyKey::V) {
        PasteFromClipboard();
        return KeyResult::Consumed;
    }
    if (ctrlOnly && key == KyKey::X) {
        CutToClipboard();
        return KeyResult::Consumed;
    }
    if (none && (key == KyKey::Backspace || key == KyKey::Delete)) {
        DeleteChar();
        return KeyResult::Consumed;
    }
    return KeyResult::Passed;
}

KeyResult KyNumEditModel::KeyPress(unsigned code) {
    if (props_.ReadOnly) return KeyResult::Consumed;
    switch (code) {
    case kCharCtrlA:
    case kCharCtrlC:
    case kCharBackspace:
    case kCharCtrlV:
    case kCharCtrlX:
        return KeyResult::Consumed;
    case kCharEnter:
        if (!props_.EnterFocusMove) return Refuse();
        if (OnFocusMove) OnFocusMove(false);
        return KeyResult::Consumed;
    case '-':
        return ToggleMinus();
    case '.':
        return InsertPoint();
    default:
        break;
    }
    if (code >= '0' && code <= '9') return InsertDigit(static_cast<char>(code));
    return Refuse();
}

KeyResult KyNumEditModel::ImeChar(std::string_view character) {
    if (character.size() != 1 && character.size() != 2) return Refuse();
    return KeyPress(ImeCharCode(character));
}

unsigned KyNumEditModel::ImeCharCode(std::string_view character) {
    if (character.size() != 2) return character.empty() ? 0 : static_cast<unsigned char>(character[0]);
    return HalfWidthNumberCode((static_cast<unsigned char>(character[0]) << 8) |
                               static_cast<unsigned char>(character[1]));
}

void KyNumEditModel::FocusEnter() {
    if (props_.AutoSelect) SelectAll();
}

void KyNumEditModel::FocusExit() {
    if (value_ == "-" && !props_.Options.Has(TKyNumEditOption::eoMinusOnly)) {
        value_.clear();
        Reformat();
    }
    if (props_.HideSelection) Deselect();
}

void KyNumEditModel::DoubleClick() {
    SelectAll();
    justDoubleClicked_ = true;
}

// The second press of a double click keeps the selection the double click made.
void KyNumEditModel::MouseDown(bool leftButton) {
    if (leftButton && !justDoubleClicked_) Deselect();
    justDoubleClicked_ = false;
}

void KyNumEditModel::MouseMove(bool leftHeld, int x) {
    if (!leftHeld) return;
    KyRect text = TextRect();
    if (x >= text.Left && x <= text.Right) SelectAll();
}

// --- context menu
// -------------------------------------------------------------------------------------------

bool KyNumEditModel::MenuItemEnabled(int tag, bool clipboardHasText) const {
    switch (tag) {
    case kMenuUndo:
        return undoAvailable_ && !props_.ReadOnly;
    case kMenuCut:
    case kMenuDelete:
        return Selected() && !props_.ReadOnly;
    case kMenuCopy:
        return Selected();
    case kMenuPaste:
        return clipboardHasText && !props_.ReadOnly;
    case kMenuSelectAll:
        return !Selected() && !value_.empty();
    default:
        return false;
    }
}

void KyNumEditModel::MenuClick(int tag) {
    switch (tag) {
    case kMenuUndo:
        Undo();
        break;
    case kMenuCut:
        CutToClipboard();
        break;
    case kMenuCopy:
        CopyToClipboard();
        break;
    case kMenuPaste:
        PasteFromClipboard();
        break;
    case kMenuDelete:
        // Same as Delete on a selection: the value goes, and Undo brings it back.
        if (Selected() && !props_.ReadOnly) ClearValue();
        break;
    case kMenuSelectAll:
        SelectAll();
        break;
    default:
        break;
    }
}

// --- helpers
// ------------------------------------------------------------------------------------------------

KeyResult KyNumEditModel::Refuse() {
    if (props_.ErrorBeep && OnBeep) OnBeep();
    return KeyResult::Refused;
}

void KyNumEditModel::Publish() {
    display_ = FormatWithMarks(value_);
    Invalidate();
    if (OnChange) OnChange();
}

void KyNumEditModel::Invalidate() {
    if (OnInvalidate) OnInvalidate();
}

void KyNumEditModel::Reformat() {
    display_ = FormatWithMarks(value_);
    Invalidate();
}

// A shorter limit re-cuts the value without OnChange. The undo text goes through the same rule so
// that Undo can never bring back a value the new limits do not allow.
void KyNumEditModel::Renormalize() {
    value_ = NormalizeInput(value_);
    undoText_ = NormalizeInput(undoText_);
    Reformat();
}

bool KyNumEditModel::FitsOrUnchecked(std::string_view candidate) const {
    return !props_.Options.Has(TKyNumEditOption::eoORInputStop) || FitsWidth(candidate);
}
