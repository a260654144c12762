#include "app/qt/postcode/PostcodeChoice.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kWidth = 490;     // the address fields' width
constexpr int kVisibleRows = 8; // 66 towns share one code: the rest scroll
constexpr int kMinimumRows = 3;

// Full- and half-width forms alike, letters in either case, so typing "ｶｽｶﾞ" or "２" narrows too.
QString Folded(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

} // namespace

PostcodeChoice::PostcodeChoice(QWidget* field, const QString& heading, const QStringList& items)
    : QDialog(field, Qt::Popup) {
    setObjectName(QStringLiteral("PostcodeChoice"));
    setFont(field->font());
    // A popup has no window frame: it draws its own edge over the fields below.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);

    heading_ = new QLabel(heading, this);
    heading_->setObjectName(QStringLiteral("PostcodeChoiceHeading"));
    QFont small = font();
    small.setPixelSize(12);
    heading_->setFont(small);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("PostcodeChoiceFilter"));
    filter_->setPlaceholderText(QString::fromUtf8("入力で絞り込み"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("PostcodeChoiceList"));
    list_->setFocusPolicy(Qt::NoFocus); // the keys stay in the filter, which hands the arrows on
    list_->addItems(items);
    list_->setCurrentRow(0);
    layout->addWidget(heading_);
    layout->addWidget(filter_);
    layout->addWidget(list_);

    const int rows = std::clamp(static_cast<int>(items.size()), kMinimumRows, kVisibleRows);
    list_->setFixedHeight(rows * list_->sizeHintForRow(0) + 2 * list_->frameWidth());
    setFixedWidth(kWidth);
    adjustSize();
    move(field->mapToGlobal(QPoint(0, field->height())));

    filter_->installEventFilter(this);
    connect(filter_, &QLineEdit::textChanged, this, &PostcodeChoice::Narrow);
    connect(filter_, &QLineEdit::returnPressed, this, &PostcodeChoice::Pick);
    connect(list_, &QListWidget::itemActivated, this, &PostcodeChoice::Pick);
    filter_->setFocus(Qt::PopupFocusReason);
}

int PostcodeChoice::Choose(QWidget* field, const QString& heading, const QStringList& items) {
    PostcodeChoice choice(field, heading, items);
    choice.exec();
    // Where the platform let the list take the activation, the window gets it back.
    if (!field->window()->isActiveWindow()) field->window()->activateWindow();
    return choice.Picked();
}

bool PostcodeChoice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(list_, event);
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PostcodeChoice::Narrow(const QString& typed) {
    const QString wanted = Folded(typed.simplified());
    int first = -1;
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        const bool shown = Folded(item->text()).contains(wanted);
        item->setHidden(!shown);
        if (shown && first < 0) first = i;
    }
    if (first < 0)
        list_->setCurrentRow(-1);
    else if (!list_->currentItem() || list_->currentItem()->isHidden())
        list_->setCurrentRow(first);
}

void PostcodeChoice::Pick() {
    QListWidgetItem* item = list_->currentItem();
    if (!item || item->isHidden()) return; // nothing left to pick: the typing goes on
    picked_ = list_->row(item);
    accept();
}
