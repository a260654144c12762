#include "app/qt/history/ShippedExportDialog.h"

#include "app/qt/history/DayEdit.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TShippedExportDialog::TShippedExportDialog(QWidget* parent, const QString& folder) : QDialog(parent) {
    setObjectName(QStringLiteral("ShippedExportDialog"));
    setWindowTitle(QFromUtf8("出荷ファイルの書き出し"));
    Date_From = DayEdit(this);
    Date_To = DayEdit(this);
    CheckBox_Generic = new QCheckBox(QFromUtf8("出荷リスト（CSV、すべての注文）"), this);
    CheckBox_Rakuten = new QCheckBox(QFromUtf8("楽天 発送データ（RMS 一括登録 CSV）"), this);
    CheckBox_Amazon = new QCheckBox(QFromUtf8("Amazon 出荷通知（アップロード用テキスト）"), this);
    CheckBox_Generic->setChecked(true);
    Radio_Utf8 = new QRadioButton(QFromUtf8("UTF-8（BOM 付き）"), this);
    Radio_Sjis = new QRadioButton(QFromUtf8("Shift_JIS"), this);
    Radio_Utf8->setChecked(true);
    Edit_Folder = new QLineEdit(QDir::toNativeSeparators(folder), this);
    Edit_Folder->setReadOnly(true);
    Button_Folder = new QPushButton(QFromUtf8("フォルダ..."), this);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Button_Folder, &QPushButton::clicked, this, &TShippedExportDialog::ChooseFolder);
    for (QCheckBox* box : {CheckBox_Generic, CheckBox_Rakuten, CheckBox_Amazon})
        connect(box, &QCheckBox::toggled, this, &TShippedExportDialog::UpdateState);

    auto* days = new QHBoxLayout;
    days->addWidget(Date_From);
    days->addWidget(new QLabel(QFromUtf8("〜"), this));
    days->addWidget(Date_To);
    auto* encodings = new QHBoxLayout;
    encodings->addWidget(Radio_Utf8);
    encodings->addWidget(Radio_Sjis);
    auto* files = new QVBoxLayout;
    files->addWidget(CheckBox_Generic);
    files->addLayout(encodings);
    files->addWidget(CheckBox_Rakuten);
    files->addWidget(CheckBox_Amazon);
    auto* where = new QHBoxLayout;
    where->addWidget(Edit_Folder, 1);
    where->addWidget(Button_Folder);
    auto* form = new QFormLayout(this);
    form->addRow(QFromUtf8("出荷日"), days);
    form->addRow(QFromUtf8("ファイル"), files);
    form->addRow(QFromUtf8("保存先"), where);
    form->addRow(Buttons);
    UpdateState();
}

QStringList TShippedExportDialog::Formats() const {
    QStringList formats;
    if (CheckBox_Generic->isChecked()) formats << QStringLiteral("generic");
    if (CheckBox_Rakuten->isChecked()) formats << QStringLiteral("rakuten");
    if (CheckBox_Amazon->isChecked()) formats << QStringLiteral("amazon");
    return formats;
}

QString TShippedExportDialog::Folder() const {
    return QDir::fromNativeSeparators(Edit_Folder->text());
}

void TShippedExportDialog::ChooseFolder() {
    QFileDialog ask(this, QFromUtf8("出荷ファイルの保存先"), Folder());
    ask.setFileMode(QFileDialog::Directory);
    ask.setOption(QFileDialog::ShowDirsOnly);
    if (ask.exec() == QDialog::Accepted && !ask.selectedFiles().isEmpty())
        Edit_Folder->setText(QDir::toNativeSeparators(ask.selectedFiles().first()));
}

void TShippedExportDialog::UpdateState() {
    Radio_Utf8->setEnabled(CheckBox_Generic->isChecked());
    Radio_Sjis->setEnabled(CheckBox_Generic->isChecked());
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(!Formats().isEmpty());
}
