#include "app/qt/history/ShippedExportDialog.h"

#include "app/qt/history/DayEdit.h"
#include "platform/qt/QtText.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

TShippedExportDialog::TShippedExportDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ShippedExportDialog"));
    setWindowTitle(U("出荷リストの書き出し"));
    Date_From = DayEdit(this);
    Date_To = DayEdit(this);
    Radio_Utf8 = new QRadioButton(U("UTF-8（BOM 付き）"), this);
    Radio_Sjis = new QRadioButton(U("Shift_JIS"), this);
    Radio_Utf8->setChecked(true);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* days = new QHBoxLayout;
    days->addWidget(Date_From);
    days->addWidget(new QLabel(U("〜"), this));
    days->addWidget(Date_To);
    auto* encodings = new QHBoxLayout;
    encodings->addWidget(Radio_Utf8);
    encodings->addWidget(Radio_Sjis);
    auto* form = new QFormLayout(this);
    form->addRow(U("出荷日"), days);
    form->addRow(U("文字コード"), encodings);
    form->addRow(Buttons);
}
