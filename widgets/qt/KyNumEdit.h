#pragma once
// TKyNumEdit: the self-drawn numeric field. It paints its own text and caret and keeps its own
// context menu; every rule about the value lives in KyNumEditModel.
#include "widgets/KyNumEditModel.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QMenu;
class QAction;
class QTimer;

class TKyNumEdit : public QWidget {
    Q_OBJECT
public:
    explicit TKyNumEdit(QWidget* parent = nullptr);
    ~TKyNumEdit() override;

    // The value text, CP932 and as Qt text. Writing fires changed() when the text differs.
    const std::string& Text() const { return model_.Text(); }
    void SetText(const std::string& cp932);
    QString text() const;
    void setText(const QString& text);
    const std::string& DisplayText() const { return model_.DisplayText(); }

    // Published properties.
    TAlignment Alignment() const { return model_.Props().Alignment; }
    void SetAlignment(TAlignment v) { model_.SetAlignment(v); }
    TVertAlignment VertAlignment() const { return model_.Props().VertAlignment; }
    void SetVertAlignment(TVertAlignment v) { model_.SetVertAlignment(v); }
    bool ArrowFocusMove() const { return model_.Props().ArrowFocusMove; }
    void SetArrowFocusMove(bool v) { model_.SetArrowFocusMove(v); }
    bool AutoSelect() const { return model_.Props().AutoSelect; }
    void SetAutoSelect(bool v) { model_.SetAutoSelect(v); }
    bool AutoSize() const { return model_.Props().AutoSize; }
    void SetAutoSize(bool v);
    TBorderStyle BorderStyle() const { return model_.Props().BorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool Ctl3D() const { return model_.Props().Ctl3D; }
    void SetCtl3D(bool v);
    int TopMargin() const { return model_.Props().TopMargin; }
    void SetTopMargin(int v);
    int BottomMargin() const { return model_.Props().BottomMargin; }
    void SetBottomMargin(int v);
    int LeftMargin() const { return model_.Props().LeftMargin; }
    void SetLeftMargin(int v) { model_.SetLeftMargin(v); }
    int RightMargin() const { return model_.Props().RightMargin; }
    void SetRightMargin(int v) { model_.SetRightMargin(v); }
    bool Comma() const { return model_.Props().Comma; }
    void SetComma(bool v) { model_.SetComma(v); }
    bool DecimalFixed() const { return model_.Props().DecimalFixed; }
    void SetDecimalFixed(bool v) { model_.SetDecimalFixed(v); }
    int DecimalLength() const { return model_.Props().DecimalLength; }
    void SetDecimalLength(int v) { model_.SetDecimalLength(v); }
    bool IntegerFixed() const { return model_.Props().IntegerFixed; }
    void SetIntegerFixed(bool v) { model_.SetIntegerFixed(v); }
    int IntegerLength() const { return model_.Props().IntegerLength; }
    void SetIntegerLength(int v) { model_.SetIntegerLength(v); }
    bool Minus() const { return model_.Props().Minus; }
    void SetMinus(bool v) { model_.SetMinus(v); }
    bool ZeroEnabled() const { return model_.Props().ZeroEnabled; }
    void SetZeroEnabled(bool v) { model_.SetZeroEnabled(v); }
    const std::string& LeftMark() const { return model_.Props().LeftMark; }
    void SetLeftMark(const std::string& cp932) { model_.SetLeftMark(cp932); }
    const std::string& RightMark() const { return model_.Props().RightMark; }
    void SetRightMark(const std::string& cp932) { model_.SetRightMark(cp932); }
    bool EnterFocusMove() const { return model_.Props().EnterFocusMove; }
    void SetEnterFocusMove(bool v) { model_.SetEnterFocusMove(v); }
    bool ErrorBeep() const { return model_.Props().ErrorBeep; }
    void SetErrorBeep(bool v) { model_.SetErrorBeep(v); }
    bool HideSelection() const { return model_.Props().HideSelection; }
    void SetHideSelection(bool v) { model_.SetHideSelection(v); }
    bool ImageCopy() const { return model_.Props().ImageCopy; }
    void SetImageCopy(bool v) { model_.SetImageCopy(v); }
    TImeMode ImeMode() const { return model_.Props().ImeMode; }
    void SetImeMode(TImeMode v);
    bool ReadOnly() const { return model_.Props().ReadOnly; }
    void SetReadOnly(bool v) { model_.SetReadOnly(v); }
    TKyNumEditOptions Options() const { return model_.Props().Options; }
    void SetOptions(TKyNumEditOptions v) { model_.SetOptions(v); }
    bool TabStop() const { return model_.Props().TabStop; }
    void SetTabStop(bool v);
    QColor Color() const { return color_; }
    void SetColor(const QColor& c);
    QColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(const QColor& c);
    // The context menu; the control's own eight-item menu unless another one is assigned.
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* menu);

    // Editing operations, as the user would trigger them.
    bool Selected() const { return model_.Selected(); }
    void SelectAll() { model_.SelectAll(); }
    void Deselect() { model_.Deselect(); }
    void ClearValue() { model_.ClearValue(); }
    void CopyToClipboard() { model_.CopyToClipboard(); }
    void CutToClipboard() { model_.CutToClipboard(); }
    void PasteFromClipboard() { model_.PasteFromClipboard(); }
    void Undo() { model_.Undo(); }

    // Form-side key handlers, run before the control's own rules: OnKeyDown may set the Qt key to
    // 0 to keep the control from acting on it; OnKeyPress may change or clear (0) the character.
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
    std::function<void(unsigned& character)> OnKeyPress;

    // Where the caret stands, in widget coordinates, and whether the control has one now.
    QRect CaretRect() const;
    bool HasCaret() const { return caretActive_; }
    // Where the display text was last drawn, in widget coordinates.
    QRect LastTextRect() const;
    int TextHeight() const { return model_.Metrics().TextHeight; }
    // The control's own menu and its item with the given tag; MenuPopup sets the enabling.
    QMenu* OwnMenu() const { return menu_; }
    QAction* MenuItem(int tag) const;
    void MenuPopup();

    QSize sizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void changed();       // OnChange
    void entered();       // OnEnter
    void exited();        // OnExit
    void clicked();       // OnClick
    void doubleClicked(); // OnDblClick
    void beeped();        // a refused key beeped

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    int BorderWidth() const;
    QRect ClientRect() const;
    void SyncClientSize() const;
    void FontChanged();
    void AdjustHeight();
    void UpdateCaret();
    void CreateEditCaret();
    void DestroyEditCaret();
    void PostFocusMove(bool previous);
    void Beep();
    bool DefaultButtonTakesEnter() const;
    void BuildMenu();

    KyNumEditModel model_;
    QColor color_;
    QColor disabledColor_;
    QMenu* menu_ = nullptr;
    QPointer<QMenu> popupMenu_;
    bool menuReplaced_ = false;
    QAction* items_[kMenuItemCount] = {};
    QTimer* blink_ = nullptr;
    bool caretActive_ = false;
    bool caretOn_ = false;
    int caretWidth_ = 1;
    bool pressed_ = false;
    bool entered_ = false; // between entering the field and leaving it for another control
};
