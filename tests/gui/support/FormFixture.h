#pragma once
// The real main window in a fresh working directory, with its message boxes answered by the test.
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "app/qt/print/SLIP97YPrnUnit.h"
#include "platform/qt/QtText.h"
#include "printer/qt/HqPrinterInstance.h"

#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct ShownBox {
    msgbox::Kind kind;
    QString text;
};

// Answers questions from a queue (No when it is empty) and records every box. A line asked for
// (msgbox::AskText) is answered from a queue of its own, "" (the third button, else キャンセル) when it
// is empty, and its question recorded apart.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    void AnswerNext(bool yes) { answers_.push_back(yes); }
    void TypeNext(std::optional<QString> text) { texts_.push_back(std::move(text)); }
    const std::vector<ShownBox>& Shown() const { return shown_; }
    const std::vector<QString>& Asked() const { return asked_; }
    std::vector<QString> Errors() const;
    void Clear() {
        shown_.clear();
        asked_.clear();
    }

private:
    std::deque<bool> answers_;
    std::deque<std::optional<QString>> texts_;
    std::vector<ShownBox> shown_;
    std::vector<QString> asked_;
};

// The user's home for as long as it lives: a new empty folder, so that what the program puts into the
// documents folder lands there (HOME and XDG_CONFIG_HOME point into it; the old values come back).
class UserHome {
public:
    UserHome();
    ~UserHome();
    QString Documents() const; // where the documents folder is to be (made on first use)

private:
    QTemporaryDir home_;
    QByteArray oldHome_, oldConfig_;
};

class FormFixture {
public:
    FormFixture();  // a new empty working directory, made current, and a home of its own
    ~FormFixture(); // the window destroyed (settings written), the old directory current again

    std::string File(const char* name) const; // path in the working directory
    void Write(const char* name, const std::string& bytes) const;
    std::string Read(const char* name) const;
    bool Exists(const char* name) const;

    // Creates the printer object (over the scheduler CUPS_SERVER names), the three windows in their
    // order, shows and activates the main window (its first showing runs), and waits for the printer
    // part of the start-up that follows the first paint.
    TForm_Main& Start();
    void Stop(); // destroys the windows (the settings file is written) and the printer object
    TForm_Main& Form() { return *form_; }

    BoxRecorder boxes;
    UserHome home;

private:
    QTemporaryDir dir_;
    QString oldDir_;
    std::unique_ptr<THqPrinterInstance> printer_;
    std::unique_ptr<TForm_Main> form_;
    std::unique_ptr<TForm_SLIP97YPrn> slip97YPrn_;
    std::unique_ptr<THq_d97_Dot> d97Dot_;
};

// Types `text` one character at a time as key presses (full-width characters included).
void TypeText(QWidget* widget, const QString& text);

// `fx` made afresh (the one before gone first: each owns the working folder and the boxes) with an empty
// sender file and, when given, `registration` as the printer registration file; its window started.
TForm_Main& StartAfresh(std::unique_ptr<FormFixture>& fx, const std::string& registration = {});

// UTF-8 literal to the CP932 bytes the program stores.
std::string Cp932FromUtf8(const char* utf8);

// Plays the user inside the next modal dialog; reports whether one opened.
class InDialog {
public:
    explicit InDialog(std::function<void(QWidget*)> act);
    bool opened = false;
};

// The user picks a slip type from the list with the keyboard.
void SelectSlipType(TForm_Main& w, int index);
