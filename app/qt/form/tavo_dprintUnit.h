#pragma once
// TForm_Main: the main window. It owns every control, and its fields are the data; the handlers keep
// their design names. The members are defined in app/qt/form/, one file for each thing they handle.
// The windows around it see it only as a SlipDesk.
#include "app/qt/common/SlipDesk.h"
#include "postcode/Index.h"
#include "widgets/qt/KyNumEdit.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabBar;
class LimitedLineEdit;
class SlipBinding;
class OrderQueueWindow;
class THqPrinterSetupDialog;
class THistoryDesk;
enum class KeyHandler;

class TForm_Main : public QWidget, public SlipDesk {
    Q_OBJECT
public:
    explicit TForm_Main(QWidget* parent = nullptr);
    ~TForm_Main() override; // FormDestroy: writes the settings file

    // Bands.
    QFrame* Panel3 = nullptr;       // paste area
    QFrame* Panel1 = nullptr;       // consignee
    QFrame* Panel_Sender = nullptr; // sender (takes the height left over)
    QFrame* Panel4 = nullptr;       // goods and printer
    QLabel* Panel_HelpMess = nullptr;
    QFrame* Panel_Fnc = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    // Paste area.
    QPlainTextEdit* Memo1 = nullptr; // a PasteMemo
    std::vector<std::string> Memo2;  // Design name kept; no behaviour depends on it.
    QPushButton* BitBtn_1 = nullptr;
    QPushButton* BitBtn_MemoCLS = nullptr;

    // Consignee.
    LimitedLineEdit* Edit_Zip = nullptr;
    LimitedLineEdit* Edit_Add1 = nullptr;
    LimitedLineEdit* Edit_Add2 = nullptr;
    LimitedLineEdit* Edit_Add3 = nullptr;
    LimitedLineEdit* Edit_Custo1 = nullptr;
    LimitedLineEdit* Edit_tel = nullptr;
    QPushButton* BitBtn_CLS = nullptr;
    QLabel* Label_Warning = nullptr;

    // Sender.
    QCheckBox* CheckBox_My = nullptr;
    QTabBar* PageControl_My = nullptr;
    LimitedLineEdit* Edit_MyZip = nullptr;
    LimitedLineEdit* Edit_MyADD1 = nullptr;
    LimitedLineEdit* Edit_MyADD2 = nullptr;
    LimitedLineEdit* Edit_My = nullptr;
    LimitedLineEdit* Edit_MyTEL = nullptr;
    QPushButton* BitBtn_My = nullptr;
    QPushButton* SpeedButton_readMy = nullptr; // hidden

    // Goods, pieces, date.
    QCheckBox* CheckBox_Date_1 = nullptr;
    QDateEdit* DateTimePicker_1 = nullptr;
    LimitedLineEdit* Edit_G1 = nullptr;
    LimitedLineEdit* Edit_G2 = nullptr;
    LimitedLineEdit* Edit_G3 = nullptr;
    TKyNumEdit* KyNumEdit_KOSUU = nullptr;

    // Cash on delivery.
    QLabel* Label_PriceSub = nullptr;
    TKyNumEdit* KyNumEdit_PriceSub = nullptr;
    TKyNumEdit* KyNumEdit_TaxSub = nullptr;
    QComboBox* ComboBox_TaxRate = nullptr; // the rate the tax is worked out at: 10 %, or 8 % for food
    QGroupBox* GroupBox_PriceSub = nullptr;
    QCheckBox* CheckBox_p1 = nullptr;
    QCheckBox* CheckBox_p2 = nullptr;
    QCheckBox* CheckBox_p3 = nullptr;
    QPushButton* BitBtn_PriceSub_Cls = nullptr;

    // Printer group.
    QGroupBox* GroupBox1 = nullptr;
    QComboBox* ComboBox1 = nullptr; // printers
    QComboBox* ComboBox2 = nullptr; // paper sizes
    QComboBox* ComboBox3 = nullptr; // paper bins
    QComboBox* ComboBox_SEL = nullptr;
    QLabel* Label_Prn_Top = nullptr;
    QLabel* Label_Prn_Left = nullptr;
    QPushButton* BitBtn_PrnSet = nullptr;
    QPushButton* BitBtn_PrnSet2 = nullptr;
    QComboBox* ComboBox_FontSize = nullptr; // hidden, only carried through the settings file
    QPushButton* BitBtn_WebHelp = nullptr;
    QPushButton* BitBtn_SendMail = nullptr;
    THqPrinterSetupDialog* HqPrinterSetupDialog1 = nullptr; // non-visual: shown by the registration

    // Function keys; index = key number (element 0 unused).
    std::array<QPushButton*, 13> SpeedButton_F{};

    // Window state values (hidden labels).
    QLabel* Label_CurrentDir = nullptr;
    QLabel* Label_PrinterIndex = nullptr;
    QLabel* Label_dpix = nullptr;
    QLabel* Label_dpiy = nullptr;

    // Shell (MainWindowShell.cpp).
    void FormShow();
    void FormDestroy();
    void SkipFormDestroy() { destroyed_ = true; } // a check run (--self-test) writes no settings
    void SpeedButton_F2Click();
    void BitBtn_CLSClick();
    void Edit_Cls();
    void Edit_Cls_My();
    void CheckBox_MyClick();
    void BitBtn_WebHelpClick();
    void BitBtn_SendMailClick();
    void SpeedButton_F1Click(); // the manual, offline

    // Half-width folding of postcode and phone (FieldFolding.cpp).
    void Edit_ZipChange();
    void Edit_telChange();
    void SpeedButton_ZIP2Click();
    void SpeedButton_TEL2Click();

    // Sender registry (SenderRegistry.cpp).
    void BitBtn_MyClick();
    void SpeedButton_readMyClick();
    // Loads the selected tab's sender. A tab without a file empties the fields and says how to save one,
    // unless `missingIsError` (a folder that had settings has lost the file): then the error names it.
    void ReadSender(bool missingIsError);
    void PageControl_MyChange();

    // Keyboard flow and field prompts (KeyboardFlowHandlers.cpp). The key table's entries are the
    // key-down handlers below; each runs its row of the keyboard rules.
    void FormKeyDown(QWidget* sender, int key);
    void Edit_ZipKeyDown(QWidget* sender, int key);
    void Edit_telKeyDown(QWidget* sender, int key);
    void Edit_G2KeyDown(QWidget* sender, int key);
    void Edit_End_KeyDown(QWidget* sender, int key);
    void Edit_Warning();
    void SetHelp(const char* utf8Prompt); // the field's prompt on the help bar
    void Edit_ZipEnter();
    void Edit_Add1Enter();
    void Edit_Add2Enter();
    void Edit_Custo1Enter();
    void Edit_telEnter();
    void Edit_G1Enter();
    void Edit_MyZipEnter();
    void Edit_MyADD1Enter();
    void Edit_MyADD2Enter();
    void Edit_MyEnter();
    void Edit_MyTELEnter();
    void KyNumEdit_KOSUUEnter();
    void KyNumEdit_PriceSubEnter();

    // Paste memo and transfer (MemoHandlers.cpp).
    void Memo1Change();
    void Memo1Enter();
    void BitBtn_1Click();
    void BitBtn_MemoCLSClick();

    // Cash on delivery (CashOnDeliveryHandlers.cpp).
    void KyNumEdit_PriceSubChange();
    void tavo_Sum_sagawa();
    void CheckBox_p1Click();
    void CheckBox_p2Click();
    void CheckBox_p3Click();
    void BitBtn_PriceSub_ClsClick();
    // The rates the rate list offers: the standard and the reduced one, and `current` (selected) when it
    // is neither.
    void SetTaxRates(int current);
    int TaxRate() const; // the rate selected
    // After a transfer brought a new consignee while an amount stood: the amount is marked until it is
    // touched or the slip is printed.
    void MarkAmountForCheck(bool marked);
    // "12,800円" while an amount stands, else "".
    QString AmountText() const;
    bool AmountMarked() const { return amountMarked_; }

    // Printer group: registration per slip type, printer displays, F7 (PrinterGroupHandlers.cpp).
    void ComboBox_SELChange();
    void SpeedButton_PrnIdGetClick();
    void SpeedButton_PRNSETClick();
    void SpeedButton_F7Click();
    void BitBtn_PrnSetClick();
    void BitBtn_PrnSet2Click();

    // Print job (PrintJob.cpp). F11 asks first; PrintSlip is the job alone, for the order queue, which
    // asks its own question. SlipPrinted follows every job the spooler accepted.
    void PrintSlip() override;
    void SpeedButton_F11Click();
    // The number of the next slip in the printer for the slip type (its stack counter in the registration
    // file), asked for when none is set (SlipNumbers.cpp): "" to print without one, nullopt when the user
    // cancelled.
    std::optional<std::string> NextSlipNumber();
    // With no scheduler or no queue to print on: the slip as the PDF the scheduler would have been sent,
    // in the user's documents folder, named by day and consignee. Returns the file's path ("" when the
    // user said No).
    QString SaveSlipAsPdf(const QString& why);
    // Makes the printer the slip is meant for current, by its name; EHqPrinterNotThere when it is gone
    // or refuses jobs, so that nothing is printed on another one.
    void EnsureNamedPrinter();
    // PrnName for the registration file: the printer shown, or the registered one when it is missing.
    std::string RegisteredPrinterName() const override;
    // A printer is registered for the slip type, or chosen with F7 since it was chosen; else no slip prints.
    bool SlipTypeHasPrinter() const override { return slipTypeHasPrinter_; }
    PrintMode SlipPrintMode() const override { return printMode_; }

    // The preview of the slip as F11 would print it (PreviewHandler.cpp).
    void SpeedButton_F5Click();

    // History of printed slips (HistoryHandlers.cpp).
    void SpeedButton_F6Click(); // the history window
    void SetUpHistoryKey();     // F6's caption and hint, at first showing
    // Right after EndDoc, with the slip's number ("" when none); never raises.
    void RecordPrintedSlip(const history::OrderLink& order, const std::string& slipNo);
    void FlushHistoryAfterFirstPaint(); // records kept back go in once the window is up
    THistoryDesk& HistoryDesk();        // recorder and reprint link, made on first use
    // Postcode lookup and address check (PostcodeHandlers.cpp). The index is opened on first use.
    QLabel* Label_ZipWarning = nullptr; // red, beside the postcode: the address does not fit it
    // Enter in Edit_Zip or Edit_MyZip: fills the empty address from the code (a pick list when there
    // are several). Returns what the help bar says once the focus has moved on (CP932), else "".
    std::string PostcodeToAddress(QWidget* zipField);
    // After a transfer: the postcode from the address when it is empty, else the check.
    void PostcodeAfterTransfer();
    // Checks the consignee's postcode against address lines 1 and 2 and shows the mismatch beside the
    // postcode; returns that line ("" when it fits or cannot be checked).
    QString PostcodeCheck();

    // The slip's fields as a record, and the page's captions (SlipBinding.cpp).
    const SlipBinding& Slip() const { return *slip_; }

    // Text of a one-line field as CP932, and the other way.
    static std::string Cp(const QLineEdit* field);
    static void SetCp(QLineEdit* field, const std::string& text);

    // Order queue (OrderHandlers.cpp). A slip filled from an order stays that order's slip until the
    // consignee is cleared (button, transfer) or another order or a recorded slip is loaded, through any
    // edit of its fields.
    void SpeedButton_F8Click();
    void LoadOrder(const slip::Record& order, const history::OrderLink& link,
                   const history::QueueMark& queue = {}) override;
    void ForgetOrder();
    bool FromOrder() const override { return fromOrder_; }
    std::string CurrentOrderRef() const { return currentOrder_.ref; } // CP932; empty when not from an order
    const history::OrderLink& CurrentOrder() const { return currentOrder_; }
    OrderQueueWindow* OrderQueue() const { return orderQueue_; } // null until F8

    // What the windows around it may ask (SlipDesk; AsSlipDesk.cpp, and where marked override above).
    QWidget& DeskWindow() override { return *this; }
    void BringForward() override;
    void FocusSlip() override;
    std::string WorkingDir() const override; // Label_CurrentDir as a file-system path
    HelpBar& Help() override { return *help_; }
    slip::Record SlipValues() const override;
    LayoutCaptions SlipCaptions() const override;
    std::optional<slip::Stock> Stock() const override;
    std::string StockName() const override;
    void LoadRecorded(const slip::Record& values) override; // HistoryHandlers.cpp
    void AskAndPrint() override { SpeedButton_F11Click(); }
    void OnPrinted(QObject* context, std::function<void()> then) override;
    void OnStockChanged(QObject* context, std::function<void()> then) override;
    void OnSlipChanged(QObject* context, std::function<void()> then) override;
    TStoreAsker& HistoryAsker() override; // HistoryHandlers.cpp
    std::string PrinterIndexText() const override;
    void SetMargins(const std::string& top, const std::string& left) override;

signals:
    void SlipPrinted();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The job itself, once EnsureNamedPrinter has passed, numbered `slipNo` ("" for none).
    void PrintCheckedSlip(const std::string& slipNo);
    // The counter moves past `slipNo` before the job goes, so that no two slips are ever given one
    // number, and comes back to it when the job was not accepted (SlipNumbers.cpp).
    void TakeSlipNumber(const std::string& slipNo);
    void GiveBackSlipNumber(const std::string& slipNo);
    // Why nothing can be printed on this machine at all (no scheduler, no queue), as a line for the
    // user; "" when a printer is there.
    QString NoPrinterAtAll();
    void TellNoPrinterOnce(const QString& why);
    void ApplySupportTargets();
    void FormatPostcode(QLineEdit* zipField); // seven digits as NNN-NNNN, as the slip prints them
    void BuildPaste();
    void BuildConsignee();
    void BuildSender();
    void BuildGoodsAndPrinter();
    void BuildBars();
    void ConnectHandlers();
    void InstallKeyHandlers();
    void SetTabOrder();
    void RunKeyDown(KeyHandler handler, QWidget* sender, int key);
    using KeyDownHandler = void (TForm_Main::*)(QWidget*, int);
    static KeyDownHandler KeyDownHandlerOf(KeyHandler handler);
    void ExclusivePayment(QCheckBox* clicked);
    void ApplySenderColours();
    void RemoveStaleTemporaries(); // of the program's own files, left by a process that was killed
    void LoadRegistration();
    // Label_PrinterIndex, the one reading of it: EConvertError for a caption that is not an integer.
    std::int32_t IndexInForce() const;
    void LocateNamedPrinter();
    void BuildPostcode();
    // The postcode data, or null without it; `unavailable` says so (CP932) the first time only.
    struct PostcodeData {
        const postcode::Index* index = nullptr;
        std::string unavailable;
    };
    PostcodeData PostcodeIndex();

    // The printer the next slip is meant for, by name (the slip type's PrnName or the F7 choice);
    // empty when it was registered by index only.
    std::string printerName_;
    bool slipTypeHasPrinter_ = true;
    PrintMode printMode_ = PrintMode::Graphics; // the slip type's, as registered
    bool noPrinterTold_ = false;
    bool amountMarked_ = false;
    QColor amountColour_; // the amount field's own colour, while it is marked
    QString supportUrl_, supportMail_;
    HelpBar* help_ = nullptr;
    bool shown_ = false;
    bool endedAtStartUp_ = false;
    bool destroyed_ = false;
    THistoryDesk* historyDesk_ = nullptr; // a child object; none until the history is first used
    std::vector<std::pair<const QObject*, KeyHandler>> keyHandlers_;
    bool fromOrder_ = false;
    history::OrderLink currentOrder_;
    slip::Record orderFields_; // the slip as the order filled it: what differs when it prints was changed
    // Slip types (CP932) printed without numbers at the user's word: not asked again this run.
    std::set<std::string> slipTypesWithoutNumbers_;
    history::QueueMark currentQueueMark_; // the shared queue's order the slip is, if any
    OrderQueueWindow* orderQueue_ = nullptr;
    std::unique_ptr<SlipBinding> slip_;
    postcode::IndexHolder postcodeIndex_;
    std::string postcodeStamp_; // the file the holder opened: replaced by an import, it is opened anew
};
