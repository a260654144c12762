#include "app/KyNumEditStandIn.h"

#include "platform/QtText.h"
#include "widgets/KyNumText.h"

#include <QRegularExpressionValidator>

KyNumEditStandIn::KyNumEditStandIn(int integerDigits, QWidget* parent)
    : QLineEdit(parent), digits_(integerDigits) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,%1}").arg(integerDigits)), this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, &KyNumEditStandIn::changed);
}

std::string KyNumEditStandIn::Text() const {
    return ToCp932(text());
}

void KyNumEditStandIn::SetText(const std::string& s) {
    KyNumTextRules rules;
    rules.IntegerLength = digits_;
    rules.DecimalLength = 0;
    setText(FromCp932(StripLeadingZeros(NormalizeInput(s, rules), rules)));
}
