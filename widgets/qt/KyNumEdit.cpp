#include "widgets/qt/KyNumEdit.h"

#include "platform/Cp932.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <qdrawutil.h>

#include <vector>

namespace {

KyKey ToKyKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        return KyKey::Left;
    case Qt::Key_Right:
        return KyKey::Right;
    case Qt::Key_Up:
        return KyKey::Up;
    case Qt::Key_Down:
        return KyKey::Down;
    case Qt::Key_Home:
        return KyKey::Home;
    case Qt::Key_End:
        return KyKey::End;
    case Qt::Key_PageUp:
        return KyKey::PageUp;
    case Qt::Key_PageDown:
        return KyKey::PageDown;
    case Qt::Key_Backspace:
        return KyKey::Backspace;
    case Qt::Key_Delete:
        return KyKey::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KyKey::Enter;
    case Qt::Key_A:
        return KyKey::A;
    case Qt::Key_C:
        return KyKey::C;
    case Qt::Key_V:
        return KyKey::V;
    case Qt::Key_X:
        return KyKey::X;
    default:
        return KyKey::Other;
    }
}

KyModifiers ToKyModifiers(Qt::KeyboardModifiers m) {
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
            m.testFlag(Qt::AltModifier) || m.testFlag(Qt::MetaModifier)};
}

// The CP932 characters of a Qt text, each as a byte or as lead << 8 | trail.
std::vector<unsigned> Cp932Codes(const QString& text) {
    std::string bytes = ToCp932(text);
    std::vector<unsigned> codes;
    for (std::size_t i = 0; i < bytes.size(); i = cp932::NextChar(bytes, i)) {
        unsigned code = static_cast<unsigned char>(bytes[i]);
        if (cp932::CharLength(bytes, i) == 2) code = code << 8 | static_cast<unsigned char>(bytes[i + 1]);
        codes.push_back(code);
    }
    return codes;
}

// The characters a key produces, as the platform's character messages would carry them: control
// letters with Ctrl, Backspace, Enter and Escape as their control codes, nothing with Alt.
std::vector<unsigned> CharactersOf(const QKeyEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers();
    const int key = e->key();
    if (m.testFlag(Qt::AltModifier) || m.testFlag(Qt::MetaModifier)) return {};
    if (m.testFlag(Qt::ControlModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return {static_cast<unsigned>(key - Qt::Key_A + 1)};
        return {};
    }
    switch (key) {
    case Qt::Key_Backspace:
        return {kCharBackspace};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {kCharEnter};
    case Qt::Key_Escape:
        return {27};
    default:
        break;
    }
    QString text = e->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) return {};
    return Cp932Codes(text);
}

bool ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

const char* const kMenuCaptions[kMenuItemCount] = {
    "元に戻す(&U)", "-", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除(&D)", "-", "すべて選択(&A)",
};

} // namespace

TKyNumEdit::TKyNumEdit(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    color_ = palette().color(QPalette::Base);
    disabledColor_ = palette().color(QPalette::Disabled, QPalette::Text);

    model_.OnChange = [this] { emit changed(); };
    model_.OnBeep = [this] { Beep(); };
    model_.OnFocusMove = [this](bool previous) { PostFocusMove(previous); };
    model_.OnInvalidate = [this] {
        update();
        UpdateCaret();
    };
    model_.ClipboardGet = []() -> std::optional<std::string> {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText()) return std::nullopt;
        return ToCp932(data->text());
    };
    model_.ClipboardSet = [](const std::string& text) {
        QGuiApplication::clipboard()->setText(FromCp932(text));
    };
    model_.SetMeasure([this](std::string_view s) {
        return QFontMetrics(font()).horizontalAdvance(FromCp932(std::string(s)));
    });

    blink_ = new QTimer(this);
    connect(blink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        update(CaretRect());
    });

    BuildMenu();
    resize(121, 20);
    FontChanged();
}

TKyNumEdit::~TKyNumEdit() {
    // The model's hooks point back here; nothing may call them while the widget goes.
    model_.OnChange = nullptr;
    model_.OnInvalidate = nullptr;
    model_.OnFocusMove = nullptr;
    model_.OnBeep = nullptr;
}

// --- value ------------------------------------------------------------------------------------------

void TKyNumEdit::SetText(const std::string& cp932) {
    model_.SetText(cp932);
}

QString TKyNumEdit::text() const {
    return FromCp932(model_.Text());
}

void TKyNumEdit::setText(const QString& text) {
    model_.SetText(ToCp932(text));
}

// --- properties that touch the window ---------------------------------------------------------------------

void TKyNumEdit::SetAutoSize(bool v) {
    model_.SetAutoSize(v);
    AdjustHeight();
}

void TKyNumEdit::SetBorderStyle(TBorderStyle v) {
    model_.SetBorderStyle(v);
    SyncClientSize();
    AdjustHeight();
    update();
}

void TKyNumEdit::SetCtl3D(bool v) {
    model_.SetCtl3D(v);
    SyncClientSize();
    AdjustHeight();
    update();
}

void TKyNumEdit::SetTopMargin(int v) {
    model_.SetTopMargin(v);
    AdjustHeight();
}

void TKyNumEdit::SetBottomMargin(int v) {
    model_.SetBottomMargin(v);
    AdjustHeight();
}

void TKyNumEdit::SetImeMode(TImeMode v) {
    model_.SetImeMode(v);
    const bool enabled = v != TImeMode::imDisable;
    setAttribute(Qt::WA_InputMethodEnabled, enabled);
    setInputMethodHints(enabled ? Qt::ImhNone
                                : Qt::ImhPreferLatin | Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText);
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

void TKyNumEdit::SetTabStop(bool v) {
    model_.SetTabStop(v);
    setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

void TKyNumEdit::SetColor(const QColor& c) {
    if (c == color_) return;
    color_ = c;
    update();
}

void TKyNumEdit::SetDisabledColor(const QColor& c) {
    if (c == disabledColor_) return;
    disabledColor_ = c;
    update();
}

// Any assignment replaces the own menu, none included; an assigned menu that is deleted leaves none.
QMenu* TKyNumEdit::PopupMenu() const {
    return menuReplaced_ ? popupMenu_.data() : menu_;
}

void TKyNumEdit::SetPopupMenu(QMenu* menu) {
    menuReplaced_ = menu != menu_;
    popupMenu_ = menuReplaced_ ? menu : nullptr;
}

// --- geometry ---------------------------------------------------------------------------------------------

int TKyNumEdit::BorderWidth() const {
    if (model_.Props().BorderStyle == TBorderStyle::bsNone) return 0;
    return model_.Props().Ctl3D ? 2 : 1;
}

QRect TKyNumEdit::ClientRect() const {
    const int b = BorderWidth();
    return rect().adjusted(b, b, -b, -b);
}

// The model keeps the client size for its width checks; a hidden widget gets no resize events, so
// the size is brought up to date before anything is placed.
void TKyNumEdit::SyncClientSize() const {
    const QRect client = ClientRect();
    const KyNumMetrics& m = model_.Metrics();
    if (m.ClientWidth != client.width() || m.ClientHeight != client.height())
        const_cast<KyNumEditModel&>(model_).SetClientSize(client.width(), client.height());
}

QRect TKyNumEdit::CaretRect() const {
    SyncClientSize();
    const KyPoint p = model_.CaretPosition();
    const QPoint origin = ClientRect().topLeft();
    return QRect(origin.x() + p.X, origin.y() + p.Y, caretWidth_, model_.Metrics().TextHeight);
}

QRect TKyNumEdit::LastTextRect() const {
    SyncClientSize();
    const KyRect r = model_.TextRect();
    return QRect(ClientRect().topLeft() + QPoint(r.Left, r.Top), QSize(r.Width(), r.Height()));
}

QSize TKyNumEdit::sizeHint() const {
    return size();
}

void TKyNumEdit::AdjustHeight() {
    if (!model_.Props().AutoSize) return;
    const KyNumEditProps& p = model_.Props();
    resize(width(), model_.Metrics().TextHeight + p.TopMargin + p.BottomMargin + 2 * BorderWidth());
}

void TKyNumEdit::FontChanged() {
    const bool focused = caretActive_;
    if (focused) DestroyEditCaret();
    model_.SetTextHeight(QFontMetrics(font()).height());
    AdjustHeight();
    caretWidth_ = font().bold() ? 2 : 1;
    if (focused) CreateEditCaret();
    update();
}

// --- caret ------------------------------------------------------------------------------------------------

void TKyNumEdit::CreateEditCaret() {
    caretActive_ = true;
    UpdateCaret();
}

void TKyNumEdit::UpdateCaret() {
    if (!caretActive_) return;
    caretOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
        blink_->start(flash / 2);
    else
        blink_->stop();
    update();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}

void TKyNumEdit::DestroyEditCaret() {
    caretActive_ = false;
    caretOn_ = false;
    blink_->stop();
    update();
}

// --- painting
// ------------------------------------------------------------------------------------------------

void TKyNumEdit::paintEvent(QPaintEvent*) {
    SyncClientSize();
    QPainter p(this);
    p.fillRect(rect(), color_);
    if (model_.Props().BorderStyle == TBorderStyle::bsSingle) {
        if (model_.Props().Ctl3D) {
            qDrawWinPanel(&p, rect(), palette(), true);
        } else {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    const QRect client = ClientRect();
    p.setClipRect(client);
    p.translate(client.topLeft());

    QColor background = color_;
    QColor foreground = palette().color(QPalette::Text);
    if (!isEnabled()) {
        foreground = disabledColor_;
    } else if (model_.Selected()) {
        background = palette().color(QPalette::Highlight);
        foreground = palette().color(QPalette::HighlightedText);
    }

    const KyNumLayout layout = model_.Layout();
    const KyRect left = layout.LeftMarkRect(), text = layout.TextRect(), right = layout.RightMarkRect();
    const KyNumEditProps& props = model_.Props();
    KyRect fill = text;
    if (!props.LeftMark.empty()) fill.Left = left.Left;
    if (!props.RightMark.empty()) fill.Right = right.Right;
    p.fillRect(QRect(fill.Left, fill.Top, fill.Width(), fill.Height()), background);

    p.setFont(font());
    p.setPen(foreground);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    auto draw = [&](const KyRect& r, const std::string& s) {
        p.drawText(QRect(r.Left, r.Top, r.Width(), r.Height()), flags, FromCp932(s));
    };
    const bool shown = !model_.DisplayText().empty();
    if (shown && !props.LeftMark.empty()) draw(left, props.LeftMark);
    draw(text, model_.FormatDisplay(model_.Text()));
    if (shown && !props.RightMark.empty()) draw(right, props.RightMark);

    if (caretActive_ && caretOn_) {
        const KyPoint c = layout.CaretPosition();
        p.fillRect(QRect(c.X, c.Y, caretWidth_, model_.Metrics().TextHeight),
                   palette().color(QPalette::Text));
    }
}

// --- keyboard
// ------------------------------------------------------------------------------------------------

// Enter without EnterFocusMove belongs to a dialog's default button, as the dialog manager would
// give it; only without one does the field see it (and refuse it).
bool TKyNumEdit::DefaultButtonTakesEnter() const {
    if (!qobject_cast<QDialog*>(window())) return false;
    const auto buttons = window()->findChildren<QPushButton*>();
    for (QPushButton* b : buttons)
        if (b->isDefault() && b->isVisible() && b->isEnabled()) return true;
    return false;
}

void TKyNumEdit::keyPressEvent(QKeyEvent* e) {
    SyncClientSize();
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && !model_.Props().EnterFocusMove && DefaultButtonTakesEnter()) {
        e->ignore();
        return;
    }
    // Escape closes a dialog, as its cancel button would, before the field could refuse it.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && qobject_cast<QDialog*>(window())) {
        e->ignore();
        return;
    }
    bool handled = false;
    int key = e->key();
    if (OnKeyDown) OnKeyDown(key, e->modifiers());
    if (key != 0) handled = model_.KeyDown(ToKyKey(key), ToKyModifiers(e->modifiers())) != KeyResult::Passed;
    for (unsigned c : CharactersOf(e)) {
        if (OnKeyPress) OnKeyPress(c);
        model_.KeyPress(c);
        handled = true;
    }
    if (handled)
        e->accept();
    else
        e->ignore();
}

void TKyNumEdit::inputMethodEvent(QInputMethodEvent* e) {
    SyncClientSize();
    const std::string bytes = ToCp932(e->commitString());
    for (std::size_t i = 0; i < bytes.size(); i = cp932::NextChar(bytes, i)) {
        // Folded first, so the form's handler sees a full-width digit as the digit it stands for.
        unsigned c =
            KyNumEditModel::ImeCharCode(std::string_view(bytes).substr(i, cp932::CharLength(bytes, i)));
        if (OnKeyPress) OnKeyPress(c);
        model_.KeyPress(c);
    }
    e->accept();
}

QVariant TKyNumEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return model_.Props().ImeMode != TImeMode::imDisable;
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle:
        return CaretRect();
    case Qt::ImFont:
        return font();
    case Qt::ImHints:
        return static_cast<int>(inputMethodHints());
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return static_cast<int>(text().size());
    case Qt::ImSurroundingText:
        return text();
    default:
        return QWidget::inputMethodQuery(query);
    }
}

bool TKyNumEdit::event(QEvent* e) {
    // Keys the field acts on come here before any window shortcut.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        const KyModifiers mods = ToKyModifiers(k->modifiers());
        const KyKey key = ToKyKey(k->key());
        const bool ctrlLetter = mods == KyModifiers{false, true, false} &&
                                (key == KyKey::A || key == KyKey::C || key == KyKey::V || key == KyKey::X);
        const bool plainEdit =
            (mods == KyModifiers{} || mods == KyModifiers{true, false, false}) &&
            (key != KyKey::Other || (!k->text().isEmpty() && k->text().at(0) >= QChar(0x20))) &&
            key != KyKey::Enter;
        if (ctrlLetter || plainEdit) {
            e->accept();
            return true;
        }
    }
    return QWidget::event(e);
}

void TKyNumEdit::PostFocusMove(bool previous) {
    if (!parentWidget()) return;
    // After the current key: the focus change must not run inside this key's handling.
    QMetaObject::invokeMethod(
        this, [this, previous] { focusNextPrevChild(!previous); }, Qt::QueuedConnection);
}

void TKyNumEdit::Beep() {
    QApplication::beep();
    emit beeped();
}

// --- focus
// ------------------------------------------------------------------------------------------------------

void TKyNumEdit::focusInEvent(QFocusEvent*) {
    CreateEditCaret();
    if (entered_) return; // back from a menu or from another window: no new entry
    entered_ = true;
    emit entered();
    model_.FocusEnter();
}

void TKyNumEdit::focusOutEvent(QFocusEvent* e) {
    DestroyEditCaret();
    // A menu opening or another window coming forward does not leave the field.
    if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason) return;
    entered_ = false;
    emit exited();
    model_.FocusExit();
}

// --- mouse
// ---------------------------------------------------------------------------------------------------------

void TKyNumEdit::mousePressEvent(QMouseEvent* e) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    model_.MouseDown(e->button() == Qt::LeftButton);
    pressed_ = e->button() == Qt::LeftButton;
    e->accept();
}

void TKyNumEdit::mouseReleaseEvent(QMouseEvent* e) {
    if (pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    pressed_ = false;
    e->accept();
}

void TKyNumEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        mousePressEvent(e);
        return;
    }
    // The double click selects, and the press it stands for must not drop that selection again.
    model_.DoubleClick();
    emit doubleClicked();
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    model_.MouseDown(true);
    pressed_ = true;
    e->accept();
}

void TKyNumEdit::mouseMoveEvent(QMouseEvent* e) {
    SyncClientSize();
    const int x = e->position().toPoint().x() - ClientRect().left();
    model_.MouseMove(e->buttons().testFlag(Qt::LeftButton), x);
    e->accept();
}

// --- context menu
// ---------------------------------------------------------------------------------------------------

void TKyNumEdit::BuildMenu() {
    menu_ = new QMenu(this);
    for (int tag = 0; tag < kMenuItemCount; ++tag) {
        const QString caption = QString::fromUtf8(kMenuCaptions[tag]);
        QAction* a = caption == "-" ? menu_->addSeparator() : menu_->addAction(caption);
        a->setData(tag);
        if (!a->isSeparator()) connect(a, &QAction::triggered, this, [this, tag] { model_.MenuClick(tag); });
        items_[tag] = a;
    }
    connect(menu_, &QMenu::aboutToShow, this, &TKyNumEdit::MenuPopup);
}

QAction* TKyNumEdit::MenuItem(int tag) const {
    return tag >= 0 && tag < kMenuItemCount ? items_[tag] : nullptr;
}

void TKyNumEdit::MenuPopup() {
    if (!hasFocus()) setFocus(Qt::OtherFocusReason);
    const bool clip = ClipboardHasText();
    for (int tag = 0; tag < kMenuItemCount; ++tag)
        if (!items_[tag]->isSeparator()) items_[tag]->setEnabled(model_.MenuItemEnabled(tag, clip));
}

void TKyNumEdit::contextMenuEvent(QContextMenuEvent* e) {
    if (QMenu* menu = PopupMenu()) menu->exec(e->globalPos());
    e->accept();
}

// --- window changes
// ----------------------------------------------------------------------------------------------------

void TKyNumEdit::resizeEvent(QResizeEvent*) {
    SyncClientSize();
    update();
    UpdateCaret();
}

void TKyNumEdit::changeEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::FontChange:
    case QEvent::ParentChange:
        FontChanged();
        break;
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(e);
}
