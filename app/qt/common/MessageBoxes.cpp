#include "app/qt/common/MessageBoxes.h"

#include "app/qt/common/AppTitle.h"
#include "platform/qt/TerminationSignals.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace msgbox {
namespace {

Responder& CurrentResponder() {
    static Responder responder;
    return responder;
}

TextResponder& CurrentTextResponder() {
    static TextResponder responder;
    return responder;
}

QWidget* Owner() {
    return QApplication::activeWindow();
}

// While the program ends on a signal no box may hold it up; what it would have said goes to the log.
bool Logged(const QString& text) {
    if (!TerminationRequested()) return false;
    std::fprintf(stderr, "tavo_Zaridi2: %s\n", qUtf8Printable(text));
    return true;
}

} // namespace

void SetResponder(Responder responder) {
    CurrentResponder() = std::move(responder);
}

void SetTextResponder(TextResponder responder) {
    CurrentTextResponder() = std::move(responder);
}

bool AskYesNo(const QString& text) {
    if (Logged(text)) return false;
    if (CurrentResponder()) return CurrentResponder()(Kind::Question, text);
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::NoButton, Owner());
    QPushButton* yes = box.addButton(QString::fromUtf8("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes); // Enter answers Yes
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> AskText(const QString& text, const QString& alternative) {
    if (Logged(text)) return std::nullopt;
    if (CurrentTextResponder()) {
        std::optional<QString> answer = CurrentTextResponder()(text);
        if (answer && answer->trimmed().isEmpty())
            answer = alternative.isEmpty() ? std::nullopt : std::optional(QString());
        return answer;
    }
    if (CurrentResponder()) {
        const bool yes = CurrentResponder()(Kind::Entry, text);
        return yes && !alternative.isEmpty() ? std::optional(QString()) : std::nullopt;
    }
    QDialog box(Owner());
    box.setObjectName(QStringLiteral("TextEntryBox"));
    box.setWindowTitle(AppTitle());
    auto* label = new QLabel(text, &box);
    label->setWordWrap(true);
    auto* edit = new QLineEdit(&box);
    edit->setObjectName(QStringLiteral("Edit_Entry"));
    // Digits and letters from the keyboard or a barcode scanner, never through the input method.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers);
    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* other =
        alternative.isEmpty() ? nullptr : buttons->addButton(alternative, QDialogButtonBox::ActionRole);
    QPushButton* cancel = buttons->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true); // Enter, as a scanner ends its digits, answers OK
    ok->setEnabled(false);
    QObject::connect(edit, &QLineEdit::textChanged, ok,
                     [ok](const QString& t) { ok->setEnabled(!t.trimmed().isEmpty()); });
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &box, &QDialog::reject);
    bool tookAlternative = false;
    if (other)
        QObject::connect(other, &QPushButton::clicked, &box, [&box, &tookAlternative] {
            tookAlternative = true;
            box.accept();
        });
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->setFocus(Qt::OtherFocusReason);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    if (tookAlternative) return QString();
    return edit->text();
}

void Notify(const QString& text) {
    if (Logged(text)) return;
    if (CurrentResponder()) {
        CurrentResponder()(Kind::Notice, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::NoButton, Owner());
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.exec();
}

void ShowError(const QString& text) {
    if (Logged(text)) return;
    if (CurrentResponder()) {
        CurrentResponder()(Kind::Error, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, AppTitle(), text, QMessageBox::NoButton, Owner());
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.exec();
}

} // namespace msgbox
