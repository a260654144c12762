#pragma once
#include "app/qt/form/controls/LimitedLineEdit.h"

#include <QValidator>

// Validators see the text after the edit; this one remembers the text before it.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(LimitedLineEdit* edit, int limit)
        : QValidator(edit), edit_(edit), limit_(limit), last_(edit->text()) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { last_ = t; });
    }
    void SetLimit(int limit) { limit_ = limit; }

    State validate(QString& input, int& pos) const override {
        // Qt validates setText() too; the program's own text is never cut.
        if (edit_->InUserInput()) input = LimitEdit(last_, input, limit_, pos);
        return Acceptable;
    }

private:
    LimitedLineEdit* edit_;
    int limit_;
    QString last_;
};
