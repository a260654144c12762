#pragma once
// The paste memo: a plain-text memo that takes in only what the transfer can use from a paste, so
// that megabytes on the clipboard neither freeze the window nor make every later keystroke slow.
#include "platform/Cp932.h"

#include <QPlainTextEdit>

class PasteMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // Far more lines than the transfer reads (16) and an order mail holds, so the user can still
    // delete lines above the address after pasting a whole mail.
    static constexpr qsizetype kLinesKept = 1000;
    // A UTF-16 unit gives at least one CP932 byte (a dropped format character none): twice the
    // longest text leaves the transfer enough to cut at cp932::kLongestText bytes itself.
    static constexpr qsizetype kLineUnitsKept = 2 * static_cast<qsizetype>(cp932::kLongestText);

    // How much of a paste the transfer uses, as the memo's caption and the help bar both say it:
    // "空行を除いて7行以内" (blank lines are dropped before it takes its lines).
    static QString LinesHint();

signals:
    void pasteCut(); // a paste or drop was longer than the memo keeps

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

// What a paste of `text` puts into the memo: its first kLinesKept lines, each at most kLineUnitsKept
// UTF-16 units (never half of a surrogate pair). `cut` tells whether anything was left out.
QString MemoPaste(const QString& text, bool& cut);

// `line` at most `units` long, never ending in half of a surrogate pair.
QString CutUnits(const QString& line, qsizetype units);
