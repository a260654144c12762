#include "printer/qt/HqPrinterDialogs.h"

#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

TPrinterChoiceForm::TPrinterChoiceForm(Kind kind, QWidget* parent, THqPrinter* printer)
    : QDialog(parent), kind_(kind), printer_(printer) {
    setWindowTitle(kind == Kind::Setup ? QString::fromUtf8("プリンタの設定") : QString::fromUtf8("印刷"));
    setModal(true);
}

void TPrinterChoiceForm::Build() {
    // Built at the first showing: the windows that own these dialogs are made at start-up, and the
    // standard buttons' glyphs are the dearest thing to look up then.
    if (Buttons) return;
    const Kind kind = kind_;
    ComboBox_Printer = new QComboBox(this);
    ComboBox_Printer->setObjectName("ComboBox_Printer");
    ComboBox_Paper = new QComboBox(this);
    ComboBox_Paper->setObjectName("ComboBox_Paper");
    ComboBox_Bin = new QComboBox(this);
    ComboBox_Bin->setObjectName("ComboBox_Bin");
    ComboBox_Mode = new QComboBox(this);
    ComboBox_Mode->setObjectName("ComboBox_Mode");
    // In the order of PrintMode.
    ComboBox_Mode->addItem(QString::fromUtf8("グラフィック（ドライバ）"));
    ComboBox_Mode->addItem(QString::fromUtf8("文字（プリンタ内蔵フォント）"));
    ComboBox_Mode->setToolTip(QString::fromUtf8("文字: ドットプリンタが内蔵の漢字と英数字で印字します。"
                                                "速く、複写伝票の下の紙まではっきり写ります"));
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(kind == Kind::Setup ? "OK" : QString::fromUtf8("印刷"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("キャンセル"));

    form_ = new QFormLayout;
    form_->addRow(QString::fromUtf8("プリンタ名(&N):"), ComboBox_Printer);
    form_->addRow(QString::fromUtf8("用紙サイズ(&Z):"), ComboBox_Paper);
    form_->addRow(QString::fromUtf8("給紙方法(&S):"), ComboBox_Bin);
    form_->addRow(QString::fromUtf8("印字方式(&M):"), ComboBox_Mode);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addWidget(Buttons);
    ComboBox_Printer->setMinimumContentsLength(30);

    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ComboBox_Printer, &QComboBox::currentIndexChanged, this, [this](int i) { FillLists(i); });
}

THqPrinter& TPrinterChoiceForm::Printer() {
    return printer_ ? *printer_ : HqPrinter();
}

void TPrinterChoiceForm::Fill() {
    QSignalBlocker block(ComboBox_Printer);
    ComboBox_Printer->clear();
    int current = -1;
    try {
        for (const std::string& name : Printer().GetPrinterNames())
            ComboBox_Printer->addItem(FromCp932(name));
        current = Printer().GetIndex();
    } catch (const EHqPrinterNoPrinter&) {
        // Nothing to choose from: the dialog shows empty lists and OK stays off.
    }
    if (current < 0 && ComboBox_Printer->count() > 0) current = 0;
    ComboBox_Printer->setCurrentIndex(current);
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(ComboBox_Printer->count() > 0);
    FillLists(current);
}

void TPrinterChoiceForm::FillLists(int printer) {
    ComboBox_Paper->clear();
    ComboBox_Bin->clear();
    paperNumbers_.clear();
    binNumbers_.clear();
    if (printer < 0) return;
    const PrinterChoice choice = Printer().ChoiceFor(printer);
    for (const NumberedName& paper : choice.papers) {
        paperNumbers_.push_back(paper.number);
        ComboBox_Paper->addItem(FromCp932(paper.name));
    }
    for (const NumberedName& bin : choice.bins) {
        binNumbers_.push_back(bin.number);
        ComboBox_Bin->addItem(FromCp932(bin.name));
    }
    if (choice.paperIndex >= 0) ComboBox_Paper->setCurrentIndex(choice.paperIndex);
    if (choice.binIndex >= 0) ComboBox_Bin->setCurrentIndex(choice.binIndex);
    ComboBox_Paper->setEnabled(!paperNumbers_.empty());
    ComboBox_Bin->setEnabled(!binNumbers_.empty());
}

bool TPrinterChoiceForm::Execute(PrintMode* mode) {
    Build();
    Fill();
    form_->setRowVisible(ComboBox_Mode, mode != nullptr);
    if (mode) ComboBox_Mode->setCurrentIndex(*mode == PrintMode::Text ? 1 : 0);
    adjustSize();
    if (exec() != QDialog::Accepted || ComboBox_Printer->currentIndex() < 0) return false;
    if (mode) *mode = ComboBox_Mode->currentIndex() == 1 ? PrintMode::Text : PrintMode::Graphics;
    std::optional<std::uint16_t> paper, bin;
    if (int i = ComboBox_Paper->currentIndex(); i >= 0) paper = paperNumbers_[static_cast<std::size_t>(i)];
    if (int i = ComboBox_Bin->currentIndex(); i >= 0) bin = binNumbers_[static_cast<std::size_t>(i)];
    Printer().Choose(ComboBox_Printer->currentIndex(), paper, bin);
    return true;
}
