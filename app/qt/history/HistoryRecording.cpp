// Recording each printed slip, loading a recorded one back for a reprint, and the records kept back.
#include "app/qt/history/HistoryRecording.h"

#include "app/MainSettings.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/history/HistoryWindow.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "platform/Conversions.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "printer/HqPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTimer>
#include <functional>

namespace {

// The slip as it went onto the paper: the fields the layout read, on the queue that took the job.
history::HistoryRecord PrintedRecord(const TForm_Main& form) {
    const SlipFields f = GatherSlipFields(form);
    history::HistoryRecord r;
    THqPrinter& printer = HqPrinter();
    const std::vector<std::string>& queues = printer.GetPrinterNames();
    const int index = printer.GetIndex();
    if (index >= 0 && index < static_cast<int>(queues.size()))
        r.printer = queues[static_cast<std::size_t>(index)];
    // The layout has read these captions as integers already, or nothing would have been printed.
    r.resolutionX = StrToIntOrZero(f.dpix);
    r.resolutionY = StrToIntOrZero(f.dpiy);
    r.marginTop = StrToIntOrZero(f.prnTop);
    r.marginLeft = StrToIntOrZero(f.prnLeft);
    history::SlipValues& v = r.values;
    v.ComboBox_SEL = ToCp932(form.ComboBox_SEL->currentText());
    v.Edit_Zip = f.zip;
    v.Edit_Add1 = f.add1;
    v.Edit_Add2 = f.add2;
    v.Edit_Add3 = f.add3;
    v.Edit_Custo1 = f.custo1;
    v.Edit_tel = f.tel;
    v.Edit_G1 = f.g1;
    v.Edit_G2 = f.g2;
    v.Edit_G3 = f.g3;
    v.KyNumEdit_KOSUU = f.kosuu;
    v.KyNumEdit_PriceSub = f.priceSub;
    v.KyNumEdit_TaxSub = f.taxSub;
    v.CheckBox_p1 = f.p1;
    v.CheckBox_p2 = f.p2;
    v.CheckBox_p3 = f.p3;
    v.CheckBox_My = f.myChecked;
    v.Edit_MyZip = f.myZip;
    v.Edit_MyADD1 = f.myAdd1;
    v.Edit_MyADD2 = f.myAdd2;
    v.Edit_My = f.my;
    v.Edit_MyTEL = f.myTel;
    v.CheckBox_Date_1 = f.dateChecked;
    v.DateTimePicker_1 = f.date;
    return r;
}

} // namespace

THistoryDesk::THistoryDesk(TForm_Main& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("HistoryDesk"));
    WatchFields();
}

THistoryDesk::~THistoryDesk() = default;

history::Recorder& THistoryDesk::Recorder() {
    if (!recorder_) {
        const std::string dir = NativePath(form_.Label_CurrentDir->text());
        recorder_ = std::make_unique<history::Recorder>(
            history::LocationFromSettings(ProfileFile(SettingsFilePath(dir)), dir),
            history::PendingFilePath(dir));
    }
    return *recorder_;
}

THistoryWindow& THistoryDesk::Window() {
    if (!window_) window_ = new THistoryWindow(form_, *this);
    return *window_;
}

void THistoryDesk::RecordPrinted(const std::string& order) {
    QString help;
    try {
        history::HistoryRecord r = PrintedRecord(form_);
        r.order = order;
        if (loadedId_ != 0) r.reprintOf = loadedId_;
        const history::RecordOutcome o = Recorder().Record(std::move(r));
        if (o.status == history::RecordOutcome::Status::Stored) {
            lastRecordedId_ = o.id;
            help =
                U("印刷しました（履歴 No.%1）。送り状番号は F6 の履歴で、この行を選んでスキャンしてください")
                    .arg(o.id);
            if (!o.message.empty()) help += QStringLiteral("　") + FromCp932(o.message);
        } else {
            help = FromCp932(o.message);
        }
    } catch (const Exception& e) {
        help = U("印刷の記録を作れませんでした: ") + FromCp932(e.Message());
    } catch (const std::exception& e) {
        help = U("印刷の記録を作れませんでした: ") + QString::fromLocal8Bit(e.what());
    }
    form_.Panel_HelpMess->setText(help);
}

void THistoryDesk::Flush() {
    const history::RecordOutcome o = Recorder().Flush();
    if (!o.message.empty()) form_.Panel_HelpMess->setText(FromCp932(o.message));
}

void THistoryDesk::Load(const history::HistoryRecord& record) {
    const history::SlipValues& v = record.values;
    TForm_Main& m = form_;
    m.ForgetOrder(); // the slip is the recorded one now, not an order of the queue
    {
        QScopedValueRollback<bool> quiet(loading_, true);
        for (auto [field, text] : {std::pair{m.Edit_Zip, &v.Edit_Zip},
                                   {m.Edit_Add1, &v.Edit_Add1},
                                   {m.Edit_Add2, &v.Edit_Add2},
                                   {m.Edit_Add3, &v.Edit_Add3},
                                   {m.Edit_Custo1, &v.Edit_Custo1},
                                   {m.Edit_tel, &v.Edit_tel},
                                   {m.Edit_G1, &v.Edit_G1},
                                   {m.Edit_G2, &v.Edit_G2},
                                   {m.Edit_G3, &v.Edit_G3},
                                   {m.Edit_MyZip, &v.Edit_MyZip},
                                   {m.Edit_MyADD1, &v.Edit_MyADD1},
                                   {m.Edit_MyADD2, &v.Edit_MyADD2},
                                   {m.Edit_My, &v.Edit_My},
                                   {m.Edit_MyTEL, &v.Edit_MyTEL}})
            TForm_Main::SetCp(field, *text);
        m.KyNumEdit_KOSUU->SetText(v.KyNumEdit_KOSUU);
        m.KyNumEdit_PriceSub->SetText(v.KyNumEdit_PriceSub); // the tax follows the amount ...
        m.KyNumEdit_TaxSub->SetText(v.KyNumEdit_TaxSub);     // ... and is then put back as printed
        m.CheckBox_p1->setChecked(v.CheckBox_p1);
        m.CheckBox_p2->setChecked(v.CheckBox_p2);
        m.CheckBox_p3->setChecked(v.CheckBox_p3);
        m.CheckBox_My->setChecked(v.CheckBox_My);
        m.CheckBox_MyClick();
        m.CheckBox_Date_1->setChecked(v.CheckBox_Date_1);
        const QDate day = QDate::fromString(FromCp932(v.DateTimePicker_1), QStringLiteral("yyyy/MM/dd"));
        if (day.isValid()) m.DateTimePicker_1->setDate(day);
        // The slip type chooses the stock, its printer and its margins: a reprint goes where the first
        // printing went, as if the user had picked the type from the list.
        const int type = m.ComboBox_SEL->findText(FromCp932(v.ComboBox_SEL));
        if (type >= 0 && type != m.ComboBox_SEL->currentIndex()) {
            m.ComboBox_SEL->setCurrentIndex(type);
            Guarded([&m] { m.ComboBox_SELChange(); });
        }
        m.Edit_Warning();
    }
    loadedId_ = record.reprintOf.value_or(record.id);
    const QString help =
        U("履歴 No.%1 の送り状を読み込みました。確かめて F11 で再印刷してください").arg(record.id);
    m.Panel_HelpMess->setText(help);
    // The window coming forward puts its prompt into the bar; the note goes back over it.
    QTimer::singleShot(0, this, [this, help] { form_.Panel_HelpMess->setText(help); });
}

void THistoryDesk::WatchFields() {
    TForm_Main& m = form_;
    auto changed = [this] {
        if (!loading_) loadedId_ = 0;
    };
    for (QLineEdit* e :
         {m.Edit_Zip, m.Edit_Add1, m.Edit_Add2, m.Edit_Add3, m.Edit_Custo1, m.Edit_tel, m.Edit_G1, m.Edit_G2,
          m.Edit_G3, m.Edit_MyZip, m.Edit_MyADD1, m.Edit_MyADD2, m.Edit_My, m.Edit_MyTEL})
        connect(e, &QLineEdit::textChanged, this, changed);
    for (TKyNumEdit* e : {m.KyNumEdit_KOSUU, m.KyNumEdit_PriceSub}) // the tax follows the amount
        connect(e, &TKyNumEdit::changed, this, changed);
    for (QCheckBox* c : {m.CheckBox_p1, m.CheckBox_p2, m.CheckBox_p3, m.CheckBox_My, m.CheckBox_Date_1})
        connect(c, &QCheckBox::toggled, this, changed);
    connect(m.DateTimePicker_1, &QDateEdit::dateChanged, this, changed);
    connect(m.ComboBox_SEL, &QComboBox::currentIndexChanged, this, changed);
}
