#include "app/qt/common/MessageBoxes.h"

#include "app/qt/common/AppTitle.h"
#include "platform/qt/TerminationSignals.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace msgbox {
namespace {

Responder& CurrentResponder() {
    static Responder responder;
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
