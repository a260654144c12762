#include "app/qt/print/SLIP97YPrnUnit.h"

#include "app/SlipCounterFile.h"
#include "app/qt/common/DesignGlyphs.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/common/SlipDesk.h"
#include "escp/TextModePaper.h"
#include "escp/TextModeRenderer.h"
#include "escp/qt/QtGlyphSource.h"
#include "platform/Conversions.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "print/MillimetreOffset.h"
#include "print/PrinterRegistration.h"
#include "print/TestPage.h"
#include "printer/HqPrinter.h"
#include "widgets/qt/KyNumEdit.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TForm_SLIP97YPrn* Form_SLIP97YPrn = nullptr;

TForm_SLIP97YPrn::TForm_SLIP97YPrn(SlipDesk& desk) : desk_(desk) {
    setObjectName(QStringLiteral("Form_SLIP97YPrn"));
    setWindowTitle(QFromUtf8("印字位置調整"));
    setModal(true);
    setFont(desk.DeskWindow().font());

    GroupBox1 = new QGroupBox(QFromUtf8("印字位置調整セット"), this);
    GroupBox1->setGeometry(8, 6, 174, 90);
    Label1 = new QLabel(QFromUtf8("TOPﾏｰｼﾞﾝ"), GroupBox1);
    Label1->setGeometry(6, 24, 76, 24);
    Label2 = new QLabel(QFromUtf8("LEFTﾏｰｼﾞﾝ"), GroupBox1);
    Label2->setGeometry(6, 56, 76, 24);
    for (QLabel* l : {Label1, Label2})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    KyNumEdit_TOP = new TKyNumEdit(GroupBox1);
    KyNumEdit_TOP->setObjectName(QStringLiteral("KyNumEdit_TOP"));
    KyNumEdit_TOP->setGeometry(88, 24, 76, 24);
    KyNumEdit_LEFT = new TKyNumEdit(GroupBox1);
    KyNumEdit_LEFT->setObjectName(QStringLiteral("KyNumEdit_LEFT"));
    KyNumEdit_LEFT->setGeometry(88, 56, 76, 24);
    for (TKyNumEdit* e : {KyNumEdit_TOP, KyNumEdit_LEFT})
        e->SetErrorBeep(false);

    BitBtn_MRGN = new QPushButton(QFromUtf8("印字位置登録"), this);
    SetGlyphLater(BitBtn_MRGN, QStyle::SP_DialogSaveButton);
    BitBtn_MRGN->setObjectName(QStringLiteral("BitBtn_MRGN"));
    BitBtn_MRGN->setGeometry(30, 102, 130, 28);
    BitBtn_MRGN->setAutoDefault(false);

    GroupBox_Calibrate = new QGroupBox(QFromUtf8("試し印字で調整"), this);
    GroupBox_Calibrate->setGeometry(8, 138, 174, 180);
    BitBtn_TestPrint = new QPushButton(QFromUtf8("試し印字"), GroupBox_Calibrate);
    SetGlyphLater(BitBtn_TestPrint, QStyle::SP_FileIcon);
    BitBtn_TestPrint->setObjectName(QStringLiteral("BitBtn_TestPrint"));
    BitBtn_TestPrint->setGeometry(22, 22, 130, 26);
    BitBtn_TestPrint->setToolTip(QFromUtf8("枠と十字と目盛りを今の余白で印字します"));
    Label_Right = new QLabel(QFromUtf8("右へ"), GroupBox_Calibrate);
    Label_Right->setGeometry(6, 56, 50, 24);
    Label_Down = new QLabel(QFromUtf8("下へ"), GroupBox_Calibrate);
    Label_Down->setGeometry(6, 86, 50, 24);
    KyNumEdit_RIGHT = new TKyNumEdit(GroupBox_Calibrate);
    KyNumEdit_RIGHT->setObjectName(QStringLiteral("KyNumEdit_RIGHT"));
    KyNumEdit_RIGHT->setGeometry(60, 56, 76, 24);
    KyNumEdit_DOWN = new TKyNumEdit(GroupBox_Calibrate);
    KyNumEdit_DOWN->setObjectName(QStringLiteral("KyNumEdit_DOWN"));
    KyNumEdit_DOWN->setGeometry(60, 86, 76, 24);
    for (QLabel* l : {Label_Right, Label_Down})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int y : {56, 86}) {
        auto* unit = new QLabel(QStringLiteral("mm"), GroupBox_Calibrate);
        unit->setGeometry(140, y, 28, 24);
    }
    for (TKyNumEdit* e : {KyNumEdit_RIGHT, KyNumEdit_DOWN}) {
        e->SetErrorBeep(false);
        e->SetIntegerLength(3);
        e->SetDecimalLength(2);
        e->SetComma(false);
        e->SetEnterFocusMove(true);
    }
    BitBtn_MmAdd = new QPushButton(QFromUtf8("余白に加える"), GroupBox_Calibrate);
    BitBtn_MmAdd->setObjectName(QStringLiteral("BitBtn_MmAdd"));
    BitBtn_MmAdd->setGeometry(22, 116, 130, 26);
    BitBtn_MmAdd->setToolTip(QFromUtf8("測ったずれをドットに直して余白に加えます"));
    Label_Resolution = new QLabel(GroupBox_Calibrate);
    Label_Resolution->setObjectName(QStringLiteral("Label_Resolution"));
    Label_Resolution->setGeometry(6, 144, 162, 32);
    // Two lines that must each show whole: a wrapped "1ドット =" ran past the label's foot.
    QFont small = Label_Resolution->font();
    small.setPixelSize(12);
    Label_Resolution->setFont(small);
    GroupBox_SlipNo = new QGroupBox(QFromUtf8("次の送り状番号"), this);
    GroupBox_SlipNo->setGeometry(8, 324, 174, 86);
    Edit_NextSlipNo = new QLineEdit(GroupBox_SlipNo);
    Edit_NextSlipNo->setObjectName(QStringLiteral("Edit_NextSlipNo"));
    Edit_NextSlipNo->setGeometry(6, 22, 162, 24);
    // Digits from the keyboard or the slip's barcode, never through the input method.
    Edit_NextSlipNo->setAttribute(Qt::WA_InputMethodEnabled, false);
    Edit_NextSlipNo->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
    Edit_NextSlipNo->setToolTip(
        QFromUtf8("プリンタにセットした送り状の番号（12桁）。印刷するたびに次の番号に進みます"));
    BitBtn_NextSlipNo = new QPushButton(QFromUtf8("番号を登録"), GroupBox_SlipNo);
    BitBtn_NextSlipNo->setObjectName(QStringLiteral("BitBtn_NextSlipNo"));
    BitBtn_NextSlipNo->setGeometry(22, 52, 130, 26);
    for (QPushButton* b : {BitBtn_TestPrint, BitBtn_MmAdd, BitBtn_NextSlipNo})
        b->setAutoDefault(false);

    setTabOrder(KyNumEdit_TOP, KyNumEdit_LEFT);
    setTabOrder(KyNumEdit_LEFT, BitBtn_MRGN);
    setTabOrder(BitBtn_MRGN, BitBtn_TestPrint);
    setTabOrder(BitBtn_TestPrint, KyNumEdit_RIGHT);
    setTabOrder(KyNumEdit_RIGHT, KyNumEdit_DOWN);
    setTabOrder(KyNumEdit_DOWN, BitBtn_MmAdd);
    setTabOrder(BitBtn_MmAdd, Edit_NextSlipNo);
    setTabOrder(Edit_NextSlipNo, BitBtn_NextSlipNo);

    KyNumEdit_TOP->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) {
        Guarded([&] { KyNumEdit_TOPKeyDown(key); });
    };
    KyNumEdit_LEFT->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) {
        Guarded([&] { KyNumEdit_LEFTKeyDown(key); });
    };
    connect(BitBtn_MRGN, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_MRGNClick(); }); });
    connect(BitBtn_TestPrint, &QPushButton::clicked, this,
            [this] { Guarded([this] { BitBtn_TestPrintClick(); }); });
    connect(BitBtn_MmAdd, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_MmAddClick(); }); });
    connect(BitBtn_NextSlipNo, &QPushButton::clicked, this,
            [this] { Guarded([this] { BitBtn_NextSlipNoClick(); }); });
    // A scanner ends the number with Enter.
    connect(Edit_NextSlipNo, &QLineEdit::returnPressed, BitBtn_NextSlipNo, &QPushButton::click);

    Form_SLIP97YPrn = this;
}

TForm_SLIP97YPrn::~TForm_SLIP97YPrn() {
    if (Form_SLIP97YPrn == this) Form_SLIP97YPrn = nullptr;
}

void TForm_SLIP97YPrn::showEvent(QShowEvent* event) {
    ApplyGlyphs(this);
    // The outer size is set on every showing, centred on the main window.
    setFixedSize(190, 418);
    QRect owner = desk_.DeskWindow().frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TForm_SLIP97YPrn::keyPressEvent(QKeyEvent* event) {
    // Enter walks the fields to a button; Enter on a button presses it. No button is a default
    // button, which would take Enter away from the fields.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TForm_SLIP97YPrn::FormShow() {
    const LayoutCaptions margins = desk_.SlipCaptions();
    KyNumEdit_TOP->SetText(margins.prnTop);
    KyNumEdit_LEFT->SetText(margins.prnLeft);
    KyNumEdit_RIGHT->SetText("");
    KyNumEdit_DOWN->SetText("");
    KyNumEdit_TOP->setFocus(Qt::OtherFocusReason);
    // Set or broken, the value as the file holds it; a broken one shows red until it is set again.
    const tracking::StoredSlipCounter counter = ReadSlipCounter(desk_.WorkingDir(), desk_.StockName());
    Edit_NextSlipNo->setText(FromCp932(counter.number));
    Edit_NextSlipNo->setPlaceholderText(QFromUtf8("未設定（F11 で聞きます）"));
    Edit_NextSlipNo->setStyleSheet(
        counter.state == tracking::StoredSlipCounter::Broken ? QStringLiteral("color: #c00000;") : QString());
    try {
        const TPoint dpi = escp::ModeResolution(desk_.SlipPrintMode(), HqPrinter());
        Label_Resolution->setText(QFromUtf8("解像度 %1×%2 dpi\n1ドット = %3×%4 mm")
                                      .arg(dpi.X)
                                      .arg(dpi.Y)
                                      .arg(FromCp932(DotPitchText(dpi.X)), FromCp932(DotPitchText(dpi.Y))));
        Label_Resolution->setWordWrap(false);
    } catch (const EHqPrinterNoPrinter&) {
        Label_Resolution->setWordWrap(true);
        Label_Resolution->setText(QFromUtf8("プリンタがないため、ドットの長さがわかりません"));
    } catch (const Exception& e) {
        // The margins can still be typed and registered; the millimetres wait for a printer.
        Label_Resolution->setWordWrap(true);
        Label_Resolution->setText(QFromUtf8("解像度がわかりません: ") + FromCp932(e.Message()));
    }
}

void TForm_SLIP97YPrn::KyNumEdit_TOPKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) focusNextPrevChild(true);
}

void TForm_SLIP97YPrn::KyNumEdit_LEFTKeyDown(int key) {
    if (key == Qt::Key_Up)
        focusNextPrevChild(false);
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusNextPrevChild(true);
}

void TForm_SLIP97YPrn::BitBtn_MRGNClick() {
    const std::string slipType = desk_.StockName();
    if (!msgbox::AskYesNo(QFromUtf8("印字位置調整の余白を登録しますか?"))) return;
    PrinterRegistration r;
    r.printerName = desk_.RegisteredPrinterName();
    r.printerIndex = desk_.PrinterIndexText();
    r.top = KyNumEdit_TOP->Text();
    r.left = KyNumEdit_LEFT->Text();
    r.registered = desk_.SlipTypeHasPrinter(); // margins alone register no printer
    r.mode = desk_.SlipPrintMode();
    // This dialog finds the file in the working directory of the moment.
    const std::string path = RegistrationFilePath(NativePath(QDir::currentPath()));
    WritePrinterRegistration(path, slipType, r);
    desk_.SetMargins(r.top, r.left);
    accept();
}

void TForm_SLIP97YPrn::BitBtn_TestPrintClick() {
    if (!msgbox::AskYesNo(QFromUtf8("試し印字しますか?"))) return;
    THqPrinter& printer = HqPrinter();
    const PrintMode mode = desk_.SlipPrintMode();
    const TPoint dpi = escp::ModeResolution(mode, printer);
    LayoutCaptions captions;
    captions.dpix = IntToStr(dpi.X);
    captions.dpiy = IntToStr(dpi.Y);
    captions.prnTop = KyNumEdit_TOP->Text(); // the margins being tried, not yet registered
    captions.prnLeft = KyNumEdit_LEFT->Text();
    // Laid out before the document begins: a bad margin leaves nothing at the spooler.
    const TestPage page = LayoutTestPage(captions);
    const std::string title = cp932::FromUtf8("tavo_Zaridi2  試し印字");
    if (mode == PrintMode::Text) { // in the slips' own mode, so the offset measured is theirs
        QtGlyphSource glyphs;
        const PageGeometry paper = escp::TextModePaper(printer, desk_.StockName());
        printer.PrintRaw(title, escp::RenderTestPage(page, escp::PageDotsOf(paper), glyphs).bytes);
        return;
    }
    printer.BeginDoc(title);
    try {
        DrawTestPage(printer.GetCanvas(), page);
    } catch (...) {
        printer.Abort();
        throw;
    }
    printer.EndDoc();
}

void TForm_SLIP97YPrn::BitBtn_MmAddClick() {
    const TPoint dpi = escp::ModeResolution(desk_.SlipPrintMode(), HqPrinter());
    // Both worked out before either field changes, so a bad entry changes nothing.
    const std::string top = ShiftMargin(KyNumEdit_TOP->Text(), KyNumEdit_DOWN->Text(), dpi.Y);
    const std::string left = ShiftMargin(KyNumEdit_LEFT->Text(), KyNumEdit_RIGHT->Text(), dpi.X);
    KyNumEdit_TOP->SetText(top);
    KyNumEdit_LEFT->SetText(left);
    KyNumEdit_RIGHT->SetText(""); // now part of the margins
    KyNumEdit_DOWN->SetText("");
}

void TForm_SLIP97YPrn::BitBtn_NextSlipNoClick() {
    const std::string slipType = desk_.StockName();
    const QString typed = Edit_NextSlipNo->text();
    if (typed.trimmed().isEmpty()) {
        if (!msgbox::AskYesNo(QFromUtf8("「%1」の次の送り状番号を消しますか?").arg(FromCp932(slipType))))
            return;
        SaveSlipCounter(desk_.WorkingDir(), slipType, "");
        Edit_NextSlipNo->setStyleSheet({});
        return;
    }
    // Refused here, with its reason, before the question: a wrong number is never asked about.
    const std::string number = tracking::StackNumber(ToCp932(typed));
    if (!msgbox::AskYesNo(
            QFromUtf8("「%1」の次の送り状番号を %2 にしますか?").arg(FromCp932(slipType), FromCp932(number))))
        return;
    SaveSlipCounter(desk_.WorkingDir(), slipType, number);
    Edit_NextSlipNo->setText(FromCp932(number));
    Edit_NextSlipNo->setStyleSheet({});
}
