#pragma once
// F1: the manual, offline. The Japanese section of the README (「使い方」), built into the program, shown
// in a window of its own beside the main window.
#include <QDialog>

class QTextBrowser;

class ManualWindow : public QDialog {
    Q_OBJECT
public:
    // Shows the window (made on first use, one for the program) and brings it forward.
    static ManualWindow* Open(QWidget* parent);

    // The section as Markdown: from its heading up to the next heading of the same level.
    static QString ManualText();

    QTextBrowser* Browser = nullptr;

private:
    explicit ManualWindow(QWidget* parent);
};
