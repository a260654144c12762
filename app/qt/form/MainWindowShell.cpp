// The main window's life: first showing, shutdown, and the commands that belong to the shell.
#include "app/MainSettings.h"
#include "app/SenderFile.h"
#include "app/SupportLinks.h"
#include "app/qt/common/AfterFirstPaint.h"
#include "app/qt/common/DesignGlyphs.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/controls/PasteMemo.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/help/ManualWindow.h"
#include "history/PendingFile.h"
#include "orders/OrderColumns.h"
#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/LogCategories.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TerminationSignals.h"
#include "postcode/Index.h"
#include "print/PrinterRegistration.h"
#include "printer/qt/HqPrinterInstance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

// A caption wider than its key is drawn in the largest smaller size (down to 8) in which all of it shows.
void FitCaption(QPushButton* button) {
    QFont font = button->font();
    const int room = button->width() - 6;
    const int size = font.pixelSize();
    auto width = [&](int pixels) {
        font.setPixelSize(pixels);
        return QFontMetrics(font).horizontalAdvance(button->text());
    };
    int fitting = size;
    if (const int full = width(size); size > 8 && full > room) {
        // Widths grow about in proportion to the size, so the search starts where the caption should
        // just fit: every size tried is a font the toolkit has to load, at start-up.
        fitting = std::clamp(size * room / full, 8, size - 1);
        while (fitting < size - 1 && width(fitting + 1) <= room)
            ++fitting;
        while (fitting > 8 && width(fitting) > room)
            --fitting;
    }
    font.setPixelSize(fitting);
    button->setFont(font);
}

} // namespace

void TForm_Main::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    Guarded([this] { FormShow(); });
    // Ended by a termination signal while a box of the first showing was open: the window never came
    // up, so it has nothing new to save on the way out.
    if (TerminationRequested()) endedAtStartUp_ = true;
    FlushHistoryAfterFirstPaint();
}

void TForm_Main::FormShow() {
    // The window itself holds the focus until the last step puts it into the postcode; when a step
    // fails, it stays there rather than in whichever field Qt would pick.
    setFocus(Qt::OtherFocusReason);
    setWindowTitle(QFromUtf8("tavo　送り状印刷　< 佐川急便　郵便番号付　> ver" ZARIDI_VERSION));
    DateTimePicker_1->setDate(QDate::currentDate());
    Label_CurrentDir->setText(QDir::currentPath());
    RemoveStaleTemporaries();
    Label_Prn_Top->clear();
    Label_Prn_Left->clear();
    Edit_Cls();
    Edit_Cls_My();
    Memo1->clear();
    Memo2.clear();

    const std::string settingsPath = SettingsFilePath(WorkingDir());
    // A folder with settings has been used before: a sender file missing there was lost, not never made.
    const bool usedBefore = QFileInfo::exists(QFile::decodeName(QByteArray::fromStdString(settingsPath)));
    ProfileFile file(settingsPath);
    MainSettings s = ReadMainSettings(file);
    SetTaxRates(s.TaxRate);
    const SupportTargets support = ReadSupportTargets(file);
    supportUrl_ = FromCp932(support.url);
    supportMail_ = FromCp932(support.mail);
    ApplySupportTargets();
    {
        // Selecting by program loads nothing; the sender file is read below.
        QSignalBlocker quiet(PageControl_My);
        if (s.TabMy >= 0 && s.TabMy < PageControl_My->count()) PageControl_My->setCurrentIndex(s.TabMy);
    }
    ComboBox_FontSize->setCurrentIndex(s.AddrFont);
    Slip().Write(s.values, KeptInSettings);    // the postcode folded by its change handler
    ComboBox_SEL->setCurrentIndex(s.ComboSel); // no change handler: it runs below

    StatusBar1->showMessage(QStringLiteral("  "));
    for (int i = 1; i <= 12; ++i) {
        SpeedButton_F[i]->setEnabled(false);
        SpeedButton_F[i]->setText(QStringLiteral("F%1").arg(i));
    }
    SpeedButton_F[1]->setText(QFromUtf8("ヘルプ"));
    SpeedButton_F[1]->setToolTip(QFromUtf8("使い方を表示します"));
    SpeedButton_F[1]->setEnabled(true);
    SpeedButton_F[2]->setText(QFromUtf8("中止"));
    SpeedButton_F[2]->setEnabled(true);
    SpeedButton_F[5]->setText(QFromUtf8("プレビュー"));
    SpeedButton_F[5]->setToolTip(QFromUtf8("印刷イメージを表示します"));
    SpeedButton_F[5]->setEnabled(true);
    SpeedButton_F[11]->setText(QFromUtf8("印刷"));
    SpeedButton_F[11]->setEnabled(true);
    SpeedButton_F[8]->setText(QFromUtf8("注文取込"));
    SpeedButton_F[8]->setToolTip(QFromUtf8("注文ファイルを読み込み、注文を一件ずつ印刷します"));
    SpeedButton_F[8]->setEnabled(true);
    SetUpHistoryKey();
    for (int i = 1; i <= 12; ++i)
        FitCaption(SpeedButton_F[i]);

    // The printer's part waits for the scheduler, which is asked only after the first paint; until then
    // the window is usable, and whatever needs the printer first (F7, F11, the slip type) waits for it.
    // A printer that is missing or badly registered is reported once and the window stays usable for
    // everything but printing.
    auto printerPart = [this] {
        bool printerReady = Guarded([this] {
            ComboBox_SELChange();
            SpeedButton_PRNSETClick();
        });
        if (printerReady) Guarded([this] { ComboBox_SELChange(); });
        if (ComboBox_SEL->currentIndex() < 0) ComboBox_SEL->setCurrentIndex(0);
    };
    if (THqPrinterInstance* printer = THqPrinterInstance::Current())
        printer->WhenReady(this, printerPart);
    else
        printerPart();
    ReadSender(usedBefore);
    Edit_Zip->setFocus(Qt::OtherFocusReason);
}

void TForm_Main::FormDestroy() {
    if (destroyed_ || !shown_ || endedAtStartUp_) return; // never shown: nothing was read to save
    destroyed_ = true;
    MainSettings s;
    s.AddrFont = ComboBox_FontSize->currentIndex();
    s.values = Slip().Read(); // only the fields with a settings key are written
    s.ComboSel = ComboBox_SEL->currentIndex();
    s.TabMy = PageControl_My->currentIndex();
    s.TaxRate = TaxRate();
    // One object, one save: the file is replaced as a whole or not at all.
    ProfileFile file(SettingsFilePath(WorkingDir()));
    WriteMainSettings(file, s);
    file.Save();
}

void TForm_Main::RemoveStaleTemporaries() {
    // Every file written atomically has its temporaries marked now; these names find those that
    // earlier versions of the program left unmarked.
    std::vector<std::string> names = {kSettingsFileName, kRegistrationFileName, history::kPendingFileName,
                                      std::string(orders::kOrderMappingFile), postcode::kIndexFileName};
    for (int slot = 0; slot < kSenderSlots; ++slot)
        names.push_back(SenderFileName(slot));
    // A younger one may be a save in progress (the probe writing the same folder).
    fileio::RemoveStaleTemporaries(WorkingDir(), names, std::chrono::minutes(1));
}

void TForm_Main::SpeedButton_F2Click() {
    if (msgbox::AskYesNo(QFromUtf8("終了しますか?")))
        close();
    else
        Edit_Zip->setFocus(Qt::OtherFocusReason);
}

void TForm_Main::BitBtn_CLSClick() {
    if (msgbox::AskYesNo(QFromUtf8("お届け先をクリアますか?"))) Edit_Cls();
}

void TForm_Main::Edit_Cls() {
    ForgetOrder();
    Label_Warning->clear();
    Edit_Zip->clear();
    Edit_Add1->clear();
    Edit_Add2->clear();
    Edit_Custo1->clear();
    Edit_tel->clear();
}

void TForm_Main::Edit_Cls_My() {
    Edit_MyZip->clear();
    Edit_MyADD1->clear();
    Edit_MyADD2->clear();
    Edit_My->clear();
    Edit_MyTEL->clear();
}

void TForm_Main::CheckBox_MyClick() {
    ApplySenderColours();
}

void TForm_Main::ApplySenderColours() {
    // Only the sender check box counts, whichever box was clicked.
    QColor base = CheckBox_My->isChecked() ? palette().color(QPalette::Base) : QColor(128, 128, 128);
    for (QLineEdit* e : {Edit_MyZip, Edit_MyADD1, Edit_MyADD2, Edit_My, Edit_MyTEL}) {
        QPalette p = e->palette();
        p.setColor(QPalette::Base, base);
        p.setColor(QPalette::Text, QColor(96, 96, 96)); // always dimmed
        e->setPalette(p);
    }
}

void TForm_Main::ApplySupportTargets() {
    // A button that leads nowhere is not shown.
    BitBtn_WebHelp->setVisible(!supportUrl_.isEmpty());
    BitBtn_WebHelp->setToolTip(supportUrl_);
    BitBtn_SendMail->setVisible(!supportMail_.isEmpty());
    BitBtn_SendMail->setToolTip(supportMail_);
}

void TForm_Main::BitBtn_WebHelpClick() {
    if (supportUrl_.isEmpty()) return;
    QDesktopServices::openUrl(QUrl::fromUserInput(supportUrl_));
}

void TForm_Main::BitBtn_SendMailClick() {
    if (supportMail_.isEmpty()) return;
    std::string text = SupportMailText(ToCp932(supportMail_));
    QDesktopServices::openUrl(QUrl(FromCp932(text), QUrl::TolerantMode));
}

void TForm_Main::SpeedButton_F1Click() {
    ManualWindow::Open(this);
}

void TForm_Main::ConnectHandlers() {
    // The printer object reads the scheduler once the window is on the screen; the registered
    // printer of the slip type in the settings is read along with the default one.
    new AfterFirstPaint(this, [this] {
        ApplyGlyphs(this);
        THqPrinterInstance* printer = THqPrinterInstance::Current();
        if (!printer) return;
        std::vector<int> registered;
        try {
            const PrinterRegistration r =
                ReadPrinterRegistration(RegistrationFilePath(WorkingDir()), StockName());
            if (const std::optional<std::int32_t> index = TryStrToInt(r.printerIndex))
                registered.push_back(*index);
        } catch (const Exception& e) {
            // Only a hint: the printer's part of the start-up reads the file again and reports it.
            qCDebug(lcStartUp) << "registered printer not read ahead:" << FromCp932(e.Message());
        }
        printer->StartReading(registered);
    });
    auto on = [this](auto* sender, auto signal, void (TForm_Main::*handler)()) {
        connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    on(SpeedButton_F[1], &QPushButton::clicked, &TForm_Main::SpeedButton_F1Click);
    on(SpeedButton_F[2], &QPushButton::clicked, &TForm_Main::SpeedButton_F2Click);
    on(SpeedButton_F[5], &QPushButton::clicked, &TForm_Main::SpeedButton_F5Click);
    on(SpeedButton_F[6], &QPushButton::clicked, &TForm_Main::SpeedButton_F6Click);
    on(SpeedButton_F[7], &QPushButton::clicked, &TForm_Main::SpeedButton_F7Click);
    on(SpeedButton_F[8], &QPushButton::clicked, &TForm_Main::SpeedButton_F8Click);
    on(SpeedButton_F[11], &QPushButton::clicked, &TForm_Main::SpeedButton_F11Click);
    on(BitBtn_CLS, &QPushButton::clicked, &TForm_Main::BitBtn_CLSClick);
    on(CheckBox_My, &QCheckBox::clicked, &TForm_Main::CheckBox_MyClick);
    on(CheckBox_Date_1, &QCheckBox::clicked, &TForm_Main::CheckBox_MyClick);
    on(Edit_Zip, &QLineEdit::textChanged, &TForm_Main::Edit_ZipChange);
    on(Edit_tel, &QLineEdit::textChanged, &TForm_Main::Edit_telChange);
    for (QLineEdit* zip : {static_cast<QLineEdit*>(Edit_Zip), static_cast<QLineEdit*>(Edit_MyZip)})
        connect(zip, &QLineEdit::editingFinished, this,
                [this, zip] { Guarded([&] { FormatPostcode(zip); }); });
    // A corrected name keeps the order; only a cleared consignee lets go of it.
    connect(Edit_Custo1, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.trimmed().isEmpty()) ForgetOrder();
    });
    on(BitBtn_WebHelp, &QPushButton::clicked, &TForm_Main::BitBtn_WebHelpClick);
    on(BitBtn_SendMail, &QPushButton::clicked, &TForm_Main::BitBtn_SendMailClick);

    on(BitBtn_My, &QPushButton::clicked, &TForm_Main::BitBtn_MyClick);
    on(SpeedButton_readMy, &QPushButton::clicked, &TForm_Main::SpeedButton_readMyClick);
    on(PageControl_My, &QTabBar::currentChanged, &TForm_Main::PageControl_MyChange);

    on(Memo1, &QPlainTextEdit::textChanged, &TForm_Main::Memo1Change);
    connect(qobject_cast<PasteMemo*>(Memo1), &PasteMemo::pasteCut, this,
            [this] { Help().Notice(QFromUtf8("貼り付けたテキストの長すぎる部分を切りました")); });
    on(BitBtn_1, &QPushButton::clicked, &TForm_Main::BitBtn_1Click);
    on(BitBtn_MemoCLS, &QPushButton::clicked, &TForm_Main::BitBtn_MemoCLSClick);

    on(KyNumEdit_PriceSub, &TKyNumEdit::changed, &TForm_Main::KyNumEdit_PriceSubChange);
    on(ComboBox_TaxRate, &QComboBox::currentIndexChanged, &TForm_Main::tavo_Sum_sagawa);
    // The amount a transfer left standing is seen to once the field is entered or changed.
    connect(KyNumEdit_PriceSub, &TKyNumEdit::changed, this, [this] { MarkAmountForCheck(false); });
    connect(KyNumEdit_PriceSub, &TKyNumEdit::entered, this, [this] { MarkAmountForCheck(false); });
    on(CheckBox_p1, &QCheckBox::clicked, &TForm_Main::CheckBox_p1Click);
    on(CheckBox_p2, &QCheckBox::clicked, &TForm_Main::CheckBox_p2Click);
    on(CheckBox_p3, &QCheckBox::clicked, &TForm_Main::CheckBox_p3Click);
    on(BitBtn_PriceSub_Cls, &QPushButton::clicked, &TForm_Main::BitBtn_PriceSub_ClsClick);

    on(ComboBox_SEL, &QComboBox::activated, &TForm_Main::ComboBox_SELChange);
    on(BitBtn_PrnSet, &QPushButton::clicked, &TForm_Main::BitBtn_PrnSetClick);
    on(BitBtn_PrnSet2, &QPushButton::clicked, &TForm_Main::BitBtn_PrnSet2Click);

    on(Edit_Zip, &LimitedLineEdit::entered, &TForm_Main::Edit_ZipEnter);
    on(Edit_Add1, &LimitedLineEdit::entered, &TForm_Main::Edit_Add1Enter);
    on(Edit_Add2, &LimitedLineEdit::entered, &TForm_Main::Edit_Add2Enter);
    on(Edit_Add3, &LimitedLineEdit::entered, &TForm_Main::Edit_Add2Enter);
    on(Edit_Custo1, &LimitedLineEdit::entered, &TForm_Main::Edit_Custo1Enter);
    on(Edit_tel, &LimitedLineEdit::entered, &TForm_Main::Edit_telEnter);
    on(Edit_G1, &LimitedLineEdit::entered, &TForm_Main::Edit_G1Enter);
    on(Edit_G2, &LimitedLineEdit::entered, &TForm_Main::Edit_G1Enter);
    on(Edit_G3, &LimitedLineEdit::entered, &TForm_Main::Edit_G1Enter);
    on(Edit_MyZip, &LimitedLineEdit::entered, &TForm_Main::Edit_MyZipEnter);
    on(Edit_MyADD1, &LimitedLineEdit::entered, &TForm_Main::Edit_MyADD1Enter);
    on(Edit_MyADD2, &LimitedLineEdit::entered, &TForm_Main::Edit_MyADD2Enter);
    on(Edit_My, &LimitedLineEdit::entered, &TForm_Main::Edit_MyEnter);
    on(Edit_MyTEL, &LimitedLineEdit::entered, &TForm_Main::Edit_MyTELEnter);
    on(KyNumEdit_KOSUU, &TKyNumEdit::entered, &TForm_Main::KyNumEdit_KOSUUEnter);
    on(KyNumEdit_PriceSub, &TKyNumEdit::entered, &TForm_Main::KyNumEdit_PriceSubEnter);

    InstallKeyHandlers();
}
