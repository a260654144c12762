#include "app/qt/form/tavo_dprintUnit.h"

#include "app/qt/common/DesignGlyphs.h"
#include "app/qt/common/HelpBar.h"

#include "app/qt/common/ErrorBox.h"
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/controls/PasteMemo.h"
#include "platform/qt/QtText.h"
#include "print/CashOnDelivery.h"
#include "printer/DesignFonts.h"
#include "printer/qt/HqPrinterDialogs.h"
#include "printer/qt/PdfCanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>

namespace {

// The design's caption font, through the substitutes the canvas installs. Unhinted, like the preview:
// the desktop's light hinting runs the auto-hinter over every Japanese glyph the window shows, a tenth
// of the start-up, for strokes that differ by a shade at these sizes.
QFont DesignFont(int pixelSize, bool bold = false) {
    InstallFontSubstitutes();
    QFont f(QFromUtf8(design_font::kPGothic));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

template <class W>
W* Make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    W* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QFrame* Band(QWidget* parent, const char* name, int y, int h) {
    QFrame* f = Make<QFrame>(parent, name, 0, y, 682, h);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    return f;
}

QLabel* Caption(QWidget* parent, const char* text, int x, int y, int w, int h = 22,
                Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter) {
    auto* l = new QLabel(QFromUtf8(text), parent);
    l->setGeometry(x, y, w, h);
    l->setAlignment(align);
    return l;
}

QLabel* SmallNote(QWidget* parent, const char* text, int x, int y, int w, int h = 16) {
    QLabel* l = Caption(parent, text, x, y, w, h, Qt::AlignCenter);
    l->setFont(DesignFont(12));
    return l;
}

LimitedLineEdit* Edit(QWidget* parent, const char* name, int x, int y, int w, int limit, bool imeOff) {
    auto* e = Make<LimitedLineEdit>(parent, name, x, y, w, 22);
    e->SetByteLimit(limit);
    if (imeOff) e->SetInputMethodOff();
    return e;
}

QPushButton* Glyph(QWidget* parent, const char* name, QStyle::StandardPixmap icon, int x, int y, int w,
                   int h) {
    auto* b = Make<QPushButton>(parent, name, x, y, w, h);
    SetGlyphLater(b, icon);
    b->setFocusPolicy(Qt::ClickFocus); // no tab stop
    return b;
}

TKyNumEdit* NumEdit(QWidget* parent, const char* name, int integerDigits, int x, int y, int w) {
    TKyNumEdit* e = Make<TKyNumEdit>(parent, name, x, y, w, 24);
    e->SetIntegerLength(integerDigits);
    return e;
}

} // namespace

TForm_Main::TForm_Main(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form_Main"));
    setFont(DesignFont(16));
    setFixedSize(682, 663); // logical pixels: Qt scales them on high-density screens
    setFocusPolicy(Qt::ClickFocus);

    BuildPaste();
    BuildConsignee();
    BuildSender();
    BuildGoodsAndPrinter();
    BuildBars();

    for (const char* name : {"Label_CurrentDir", "Label_PrinterIndex", "Label_dpix", "Label_dpiy"}) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->hide();
        if (std::string_view(name) == "Label_CurrentDir") Label_CurrentDir = l;
        if (std::string_view(name) == "Label_PrinterIndex") Label_PrinterIndex = l;
        if (std::string_view(name) == "Label_dpix") Label_dpix = l;
        if (std::string_view(name) == "Label_dpiy") Label_dpiy = l;
    }

    slip_ = std::make_unique<SlipBinding>(*this);
    ConnectHandlers();
    BuildPostcode();
    SetTabOrder();
}

TForm_Main::~TForm_Main() {
    Guarded([this] { FormDestroy(); });
}

void TForm_Main::BuildPaste() {
    Panel3 = Band(this, "Panel3", 0, 92);
    Memo1 = Make<PasteMemo>(Panel3, "Memo1", 6, 4, 522, 64);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFocusPolicy(Qt::ClickFocus);
    // The caption says what the transfer reads, in the same words as the help bar.
    Memo1->setToolTip(
        QFromUtf8("ここにお届け先の住所、お名前等のテキストを貼り付けると、お届け先欄に転送が可能です　"
                  "(%1に収まるようにして下さい)")
            .arg(PasteMemo::LinesHint()));
    Memo1->setAutoFillBackground(true);
    QLabel* memoNote = SmallNote(Panel3, "", 6, 70, 522);
    memoNote->setObjectName(QStringLiteral("Label_MemoNote"));
    memoNote->setText(QFromUtf8("↑↑ここクリップボードから貼り付けが、可能です　(　%1に収めてください　)↑↑")
                          .arg(PasteMemo::LinesHint()));

    BitBtn_1 = Glyph(Panel3, "BitBtn_1", QStyle::SP_ArrowDown, 538, 6, 34, 34);
    BitBtn_1->setToolTip(QFromUtf8("お届け先にテキストデータを転送します"));
    Caption(Panel3, "テキスト転送", 576, 12, 102, 22, Qt::AlignLeft | Qt::AlignVCenter);
    BitBtn_MemoCLS = Glyph(Panel3, "BitBtn_MemoCLS", QStyle::SP_DialogResetButton, 538, 46, 34, 34);
    BitBtn_MemoCLS->setToolTip(QFromUtf8("メモをクリアします"));
    Caption(Panel3, "Memoｸﾘｱ", 576, 52, 102, 22, Qt::AlignLeft | Qt::AlignVCenter);
}

void TForm_Main::BuildConsignee() {
    Panel1 = Band(this, "Panel1", 92, 176);
    QLabel* heading = Caption(Panel1, "お届け先", 8, 2, 120, 22, Qt::AlignLeft | Qt::AlignVCenter);
    heading->setFont(DesignFont(16, true));

    const int lx = 4, lw = 92, fx = 100;
    Caption(Panel1, "郵便番号", lx, 26, lw);
    Edit_Zip = Edit(Panel1, "Edit_Zip", fx, 26, 110, 16, true);
    Label_Warning = Make<QLabel>(Panel1, "Label_Warning", 218, 22, 380, 30);
    Label_Warning->setFont(DesignFont(12));
    Label_Warning->setWordWrap(true);
    QPalette red = Label_Warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label_Warning->setPalette(red);

    Caption(Panel1, "おところ①", lx, 51, lw);
    Edit_Add1 = Edit(Panel1, "Edit_Add1", fx, 51, 490, 0, false);
    Caption(Panel1, "おところ②", lx, 76, lw);
    Edit_Add2 = Edit(Panel1, "Edit_Add2", fx, 76, 490, 0, false);
    Caption(Panel1, "おところ③", lx, 101, lw);
    Edit_Add3 = Edit(Panel1, "Edit_Add3", fx, 101, 490, 0, false);
    Caption(Panel1, "おなまえ", lx, 126, lw);
    Edit_Custo1 = Edit(Panel1, "Edit_Custo1", fx, 126, 340, 80, false);
    Caption(Panel1, "でんわ", lx, 151, lw);
    Edit_tel = Edit(Panel1, "Edit_tel", fx, 151, 200, 0, true);

    BitBtn_CLS = Glyph(Panel1, "BitBtn_CLS", QStyle::SP_DialogDiscardButton, 614, 112, 40, 34);
    SmallNote(Panel1, "お届け先ｸﾘｱ", 592, 148, 86);
}

void TForm_Main::BuildSender() {
    Panel_Sender = Band(this, "Panel_Sender", 268, 124);
    CheckBox_My = Make<QCheckBox>(Panel_Sender, "CheckBox_My", 8, 2, 96, 24);
    CheckBox_My->setText(QFromUtf8("ご依頼主"));
    CheckBox_My->setFont(DesignFont(16, true));
    CheckBox_My->setChecked(true);
    CheckBox_My->setToolTip(QFromUtf8("チェックをはずすとご依頼主を印字しません"));

    PageControl_My = Make<QTabBar>(Panel_Sender, "PageControl_My", 104, 2, 574, 24);
    PageControl_My->setFont(DesignFont(12));
    PageControl_My->setExpanding(false);
    PageControl_My->setDrawBase(false);
    PageControl_My->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 2px 4px; border: 1px solid palette(mid); background: palette(button); }"
        "QTabBar::tab:selected { background: palette(base); border-bottom-color: palette(base); }"));
    for (int i = 1; i <= 10; ++i)
        PageControl_My->addTab(QFromUtf8("依頼主") + QString::number(i));
    PageControl_My->setToolTip(
        QFromUtf8("依頼主番号ごとに登録してください。　登録後切り替えが可能になります。"));

    const int lx = 4, lw = 92, fx = 100;
    Caption(Panel_Sender, "郵便番号", lx, 30, lw);
    Edit_MyZip = Edit(Panel_Sender, "Edit_MyZip", fx, 30, 90, 8, true);
    Caption(Panel_Sender, "でんわ", 300, 30, 60);
    Edit_MyTEL = Edit(Panel_Sender, "Edit_MyTEL", 364, 30, 180, 0, true);
    Caption(Panel_Sender, "おところ", lx, 53, lw);
    Edit_MyADD1 = Edit(Panel_Sender, "Edit_MyADD1", fx, 53, 444, 0, false);
    Edit_MyADD2 = Edit(Panel_Sender, "Edit_MyADD2", fx, 76, 444, 0, false);
    Caption(Panel_Sender, "おなまえ", lx, 99, lw);
    Edit_My = Edit(Panel_Sender, "Edit_My", fx, 99, 340, 80, false);

    BitBtn_My = Glyph(Panel_Sender, "BitBtn_My", QStyle::SP_DialogSaveButton, 614, 44, 40, 34);
    BitBtn_My->setFocusPolicy(Qt::StrongFocus); // the sender band's Enter path ends here
    BitBtn_My->setAutoDefault(true);            // and Enter there presses it
    BitBtn_My->setToolTip(QFromUtf8("ご依頼主を保存します"));
    SmallNote(Panel_Sender, "ご依頼主登録", 586, 80, 94);

    SpeedButton_readMy = Make<QPushButton>(Panel_Sender, "SpeedButton_readMy", 0, 0, 10, 10);
    SpeedButton_readMy->hide();
    ApplySenderColours();
}

void TForm_Main::BuildGoodsAndPrinter() {
    Panel4 = Band(this, "Panel4", 392, 187);

    CheckBox_Date_1 = Make<QCheckBox>(Panel4, "CheckBox_Date_1", 8, 4, 64, 24);
    CheckBox_Date_1->setText(QFromUtf8("日付"));
    CheckBox_Date_1->setChecked(true);
    CheckBox_Date_1->setToolTip(QFromUtf8("チェックをはずすと日付を印字しません"));
    DateTimePicker_1 = Make<QDateEdit>(Panel4, "DateTimePicker_1", 76, 4, 176, 24);
    DateTimePicker_1->setCalendarPopup(true);
    // The program is Japanese throughout: the date reads 2026/12/08 (火) whatever the system's locale.
    DateTimePicker_1->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    DateTimePicker_1->setDisplayFormat(QStringLiteral("yyyy/MM/dd (ddd)"));
    DateTimePicker_1->setAttribute(Qt::WA_InputMethodEnabled, false);

    QLabel* goods = Caption(Panel4, "品名", 30, 30, 100, 20, Qt::AlignLeft | Qt::AlignVCenter);
    goods->setFont(DesignFont(16, true));
    Edit_G1 = Edit(Panel4, "Edit_G1", 30, 52, 270, 30, false);
    Edit_G1->setToolTip(QFromUtf8("30文字入力可"));
    Edit_G2 = Edit(Panel4, "Edit_G2", 30, 76, 270, 30, false);
    Edit_G3 = Edit(Panel4, "Edit_G3", 30, 100, 270, 30, false);
    Caption(Panel4, "個数", 8, 128, 50, 24);
    KyNumEdit_KOSUU = NumEdit(Panel4, "KyNumEdit_KOSUU", 3, 62, 128, 70);
    KyNumEdit_KOSUU->SetDecimalLength(0);
    KyNumEdit_KOSUU->SetImeMode(TImeMode::imDisable);

    BitBtn_WebHelp = Glyph(Panel4, "BitBtn_WebHelp", QStyle::SP_DialogHelpButton, 8, 156, 100, 26);
    BitBtn_WebHelp->setText(QStringLiteral("Web"));
    BitBtn_SendMail = Glyph(Panel4, "BitBtn_SendMail", QStyle::SP_MessageBoxInformation, 114, 156, 100, 26);
    BitBtn_SendMail->setText(QStringLiteral("Mail"));
    BitBtn_SendMail->setFocusPolicy(Qt::StrongFocus);
    BitBtn_SendMail->setAutoDefault(true);
    // Both stay hidden until the settings name where they lead (FormShow).
    BitBtn_WebHelp->hide();
    BitBtn_SendMail->hide();

    // Cash on delivery.
    Label_PriceSub = Make<QLabel>(Panel4, "Label_PriceSub", 312, 4, 100, 20);
    Label_PriceSub->setText(QFromUtf8("代引金額"));
    KyNumEdit_PriceSub = NumEdit(Panel4, "KyNumEdit_PriceSub", 7, 312, 26, 136);
    KyNumEdit_PriceSub->SetErrorBeep(false);
    KyNumEdit_PriceSub->SetText("0");
    KyNumEdit_TaxSub = NumEdit(Panel4, "KyNumEdit_TaxSub", 9, 312, 54, 100);
    KyNumEdit_TaxSub->SetReadOnly(true);
    KyNumEdit_TaxSub->SetColor(palette().color(QPalette::Button)); // shaded: never typed into
    KyNumEdit_TaxSub->SetText("0");
    ComboBox_TaxRate = Make<QComboBox>(Panel4, "ComboBox_TaxRate", 416, 54, 62, 24);
    ComboBox_TaxRate->setFont(DesignFont(13));
    ComboBox_TaxRate->setToolTip(QFromUtf8("消費税率（食品などの軽減税率は 8%）"));
    SetTaxRates(kDefaultTaxRate);
    BitBtn_PriceSub_Cls = Glyph(Panel4, "BitBtn_PriceSub_Cls", QStyle::SP_DialogResetButton, 452, 26, 26, 24);
    BitBtn_PriceSub_Cls->setToolTip(QFromUtf8("代引金額/代引種別をクリアします"));
    GroupBox_PriceSub = Make<QGroupBox>(Panel4, "GroupBox_PriceSub", 312, 82, 166, 98);
    GroupBox_PriceSub->setTitle(QFromUtf8("代引決済種別"));
    CheckBox_p1 = Make<QCheckBox>(GroupBox_PriceSub, "CheckBox_p1", 10, 22, 150, 22);
    CheckBox_p1->setText(QFromUtf8("現金"));
    CheckBox_p2 = Make<QCheckBox>(GroupBox_PriceSub, "CheckBox_p2", 10, 46, 150, 22);
    CheckBox_p2->setText(QFromUtf8("ﾃﾞﾋﾞｯﾄｶｰﾄﾞ"));
    CheckBox_p3 = Make<QCheckBox>(GroupBox_PriceSub, "CheckBox_p3", 10, 70, 150, 22);
    CheckBox_p3->setText(QFromUtf8("ｸﾚｼﾞｯﾄｶｰﾄﾞ"));

    // Printer group.
    GroupBox1 = Make<QGroupBox>(Panel4, "GroupBox1", 486, 0, 192, 182);
    GroupBox1->setTitle(QFromUtf8("プリンタセット"));
    auto list = [this](const char* name, int y) {
        auto* c = Make<QComboBox>(GroupBox1, name, 6, y, 180, 22);
        c->setFont(DesignFont(11));
        c->setFocusPolicy(Qt::NoFocus); // read-only list, no tab stop
        return c;
    };
    ComboBox1 = list("ComboBox1", 20);
    ComboBox2 = list("ComboBox2", 44);
    ComboBox3 = list("ComboBox3", 68);
    Caption(GroupBox1, "用紙選択", 2, 94, 50, 24)->setFont(DesignFont(12));
    ComboBox_SEL = Make<QComboBox>(GroupBox1, "ComboBox_SEL", 54, 94, 132, 24);
    ComboBox_SEL->setFont(DesignFont(13));  // 連続(４インチ) whole, bracket included
    for (slip::Stock stock : slip::kStocks) // in the enum's order: an item's index is its stock
        ComboBox_SEL->addItem(FromCp932(slip::StockName(stock)));
    BitBtn_PrnSet = Glyph(GroupBox1, "BitBtn_PrnSet", QStyle::SP_ComputerIcon, 6, 122, 180, 26);
    BitBtn_PrnSet->setText(QFromUtf8("セットするプリンタを登録"));
    BitBtn_PrnSet->setFont(DesignFont(12));
    BitBtn_PrnSet->setToolTip(QFromUtf8("送り状ごとに使用にするプリンタをセットします"));
    BitBtn_PrnSet2 = Glyph(GroupBox1, "BitBtn_PrnSet2", QStyle::SP_FileDialogDetailedView, 6, 152, 100, 26);
    BitBtn_PrnSet2->setText(QFromUtf8("余白調整"));
    BitBtn_PrnSet2->setFont(DesignFont(12));
    BitBtn_PrnSet2->setToolTip(QFromUtf8("印刷する用紙の上余白、左余白を調整します"));
    Label_Prn_Top = Make<QLabel>(GroupBox1, "Label_Prn_Top", 112, 156, 36, 18);
    Label_Prn_Left = Make<QLabel>(GroupBox1, "Label_Prn_Left", 150, 156, 36, 18);
    for (QLabel* l : {Label_Prn_Top, Label_Prn_Left}) {
        l->setFont(DesignFont(10));
        l->setFrameShape(QFrame::StyledPanel);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    ComboBox_FontSize = Make<QComboBox>(this, "ComboBox_FontSize", 0, 0, 10, 10);
    ComboBox_FontSize->addItems({QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")});
    ComboBox_FontSize->hide();
    HqPrinterSetupDialog1 = new THqPrinterSetupDialog(this);
    HqPrinterSetupDialog1->setObjectName(QStringLiteral("HqPrinterSetupDialog1"));
}

void TForm_Main::BuildBars() {
    Panel_HelpMess = Make<QLabel>(this, "Panel_HelpMess", 0, 579, 682, 30);
    Panel_HelpMess->setFrameShape(QFrame::Box);
    Panel_HelpMess->setLineWidth(1);
    Panel_HelpMess->setAutoFillBackground(true);
    Panel_HelpMess->setBackgroundRole(QPalette::ToolTipBase);
    Panel_HelpMess->setForegroundRole(QPalette::ToolTipText);
    Panel_HelpMess->setIndent(6);
    help_ = new HelpBar(Panel_HelpMess);

    Panel_Fnc = Band(this, "Panel_Fnc", 609, 34);
    for (int i = 1; i <= 12; ++i) {
        int group = (i - 1) / 4;
        auto* b = Make<QPushButton>(Panel_Fnc, QString("SpeedButton_F%1").arg(i).toLatin1().constData(),
                                    1 + (i - 1) * 55 + group * 10, 4, 55, 26);
        b->setFocusPolicy(Qt::NoFocus);
        SpeedButton_F[static_cast<std::size_t>(i)] = b;
    }

    StatusBar1 = Make<QStatusBar>(this, "StatusBar1", 0, 643, 682, 20);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFont(DesignFont(12)); // one line of what the machine lacks (no printer) shows whole
}

std::string TForm_Main::Cp(const QLineEdit* field) {
    return ToCp932(field->text());
}

void TForm_Main::SetCp(QLineEdit* field, const std::string& text) {
    field->setText(FromCp932(text));
}
