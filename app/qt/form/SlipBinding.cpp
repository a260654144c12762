#include "app/qt/form/SlipBinding.h"

#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "slip/Postcode.h"
#include "widgets/qt/KyNumEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kDayFormat = QStringLiteral("yyyy/MM/dd");

template <class W>
W* As(QObject* control) {
    return static_cast<W*>(control);
}

} // namespace

SlipBinding::SlipBinding(TForm_Main& form) : form_(form) {
    for (std::size_t i = 0; i < slip::kFields.size(); ++i) {
        const slip::Field& f = slip::kFields[i];
        QObject* control = nullptr;
        // Only the window's own controls: dialogs it owns may reuse a name.
        for (QObject* candidate : form.findChildren<QObject*>(QString::fromLatin1(f.name)))
            if (auto* w = qobject_cast<QWidget*>(candidate); w && w->window() == form.window()) control = w;
        const bool fits = control && [&] {
            switch (f.kind) {
            case slip::Kind::Text:
                return qobject_cast<QLineEdit*>(control) != nullptr;
            case slip::Kind::Number:
                return qobject_cast<TKyNumEdit*>(control) != nullptr;
            case slip::Kind::Flag:
                return qobject_cast<QCheckBox*>(control) != nullptr;
            case slip::Kind::Day:
                return qobject_cast<QDateEdit*>(control) != nullptr;
            case slip::Kind::Stock:
                return qobject_cast<QComboBox*>(control) != nullptr;
            }
            return false;
        }();
        if (!fits) throw EAssertionFailed(std::string("no control for the slip field ") + f.name);
        controls_[i] = control;
    }
}

slip::Record SlipBinding::Read() const {
    slip::Record r;
    for (std::size_t i = 0; i < slip::kFields.size(); ++i) {
        const slip::Field& f = slip::kFields[i];
        QObject* c = controls_[i];
        switch (f.kind) {
        case slip::Kind::Text:
            r.*f.text = ToCp932(As<QLineEdit>(c)->text());
            break;
        case slip::Kind::Number:
            r.*f.text = As<TKyNumEdit>(c)->Text();
            break;
        case slip::Kind::Flag:
            r.*f.flag = As<QCheckBox>(c)->isChecked();
            break;
        case slip::Kind::Day:
            // The Japanese short date: four-digit year, month and day zero-padded, whatever the locale.
            r.*f.text = ToCp932(As<QDateEdit>(c)->date().toString(kDayFormat));
            break;
        case slip::Kind::Stock:
            r.*f.text = ToCp932(As<QComboBox>(c)->currentText());
            break;
        }
    }
    return r;
}

LayoutCaptions SlipBinding::Captions() const {
    auto caption = [](const QLabel* l) { return ToCp932(l->text()); };
    LayoutCaptions c;
    c.dpix = caption(form_.Label_dpix);
    c.dpiy = caption(form_.Label_dpiy);
    c.prnTop = caption(form_.Label_Prn_Top);
    c.prnLeft = caption(form_.Label_Prn_Left);
    return c;
}

bool SlipBinding::Write(const slip::Record& values, Pick pick) const {
    int stock = -1;
    for (std::size_t i = 0; i < slip::kFields.size(); ++i) {
        const slip::Field& f = slip::kFields[i];
        if (!pick(f)) continue;
        QObject* c = controls_[i];
        switch (f.kind) {
        case slip::Kind::Text:
            // A postcode goes in as the slip prints it: seven digits as NNN-NNNN.
            As<QLineEdit>(c)->setText(FromCp932(c == form_.Edit_Zip || c == form_.Edit_MyZip
                                                    ? slip::SlipPostcode(values.*f.text)
                                                    : values.*f.text));
            break;
        case slip::Kind::Number:
            As<TKyNumEdit>(c)->SetText(values.*f.text);
            break;
        case slip::Kind::Flag:
            As<QCheckBox>(c)->setChecked(values.*f.flag);
            break;
        case slip::Kind::Day:
            if (const QDate day = QDate::fromString(FromCp932(values.*f.text), kDayFormat); day.isValid())
                As<QDateEdit>(c)->setDate(day);
            break;
        case slip::Kind::Stock:
            stock = static_cast<int>(i);
            break;
        }
    }
    if (stock < 0) return false;
    auto* list = As<QComboBox>(controls_[static_cast<std::size_t>(stock)]);
    const int index = list->findText(FromCp932(values.*slip::kFields[static_cast<std::size_t>(stock)].text));
    if (index < 0 || index == list->currentIndex()) return false;
    list->setCurrentIndex(index);
    return true;
}

void SlipBinding::Watch(QObject* context, const std::function<void()>& changed) const {
    for (std::size_t i = 0; i < slip::kFields.size(); ++i) {
        QObject* c = controls_[i];
        switch (slip::kFields[i].kind) {
        case slip::Kind::Text:
            QObject::connect(As<QLineEdit>(c), &QLineEdit::textChanged, context, changed);
            break;
        case slip::Kind::Number:
            QObject::connect(As<TKyNumEdit>(c), &TKyNumEdit::changed, context, changed);
            break;
        case slip::Kind::Flag:
            QObject::connect(As<QCheckBox>(c), &QCheckBox::toggled, context, changed);
            break;
        case slip::Kind::Day:
            QObject::connect(As<QDateEdit>(c), &QDateEdit::dateChanged, context, changed);
            break;
        case slip::Kind::Stock:
            QObject::connect(As<QComboBox>(c), &QComboBox::currentIndexChanged, context, changed);
            break;
        }
    }
}
