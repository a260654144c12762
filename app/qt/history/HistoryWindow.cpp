// The history window: list, search, loading for a reprint, tracking numbers and the shipped files.
#include "app/qt/history/HistoryWindow.h"

#include "app/MainSettings.h"
#include "app/SlipCounterFile.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/FileFolders.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/common/SlipDesk.h"
#include "app/qt/common/SlipNumberEntry.h"
#include "app/qt/common/StoreAsker.h"
#include "app/qt/history/DayEdit.h"
#include "app/qt/history/HistoryModel.h"
#include "app/qt/history/HistoryRecording.h"
#include "app/qt/history/ShippedExportDialog.h"
#include "history/HistoryStore.h"
#include "history/ShippedSlips.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "shipped/ShippedFile.h"
#include "tracking/SlipNumber.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <map>

namespace {

QString Day(QDate d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QPushButton* Button(const char* text, QWidget* parent) {
    auto* b = new QPushButton(QFromUtf8(text), parent);
    b->setAutoDefault(false); // Enter belongs to the search fields, the list and the scan field
    return b;
}

} // namespace

THistoryWindow::THistoryWindow(SlipDesk& slipDesk, THistoryDesk& desk)
    : QDialog(&slipDesk.DeskWindow()), slipDesk_(slipDesk), desk_(desk), model_(new THistoryModel(this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QFromUtf8("印刷履歴"));
    resize(960, 600);

    auto* criteria = new QGridLayout;
    auto field = [&](const char* caption, const char* name, int row, int column) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        criteria->addWidget(new QLabel(QFromUtf8(caption), this), row, column * 2);
        criteria->addWidget(e, row, column * 2 + 1);
        connect(e, &QLineEdit::returnPressed, this, [this] { Guarded([this] { Search(); }); });
        return e;
    };
    Edit_Name = field("おなまえ", "Edit_Name", 0, 0);
    Edit_Phone = field("でんわ", "Edit_Phone", 0, 1);
    Edit_Zip = field("郵便番号", "Edit_Zip", 0, 2);
    Edit_Address = field("おところ", "Edit_Address", 1, 0);
    Edit_Tracking = field("送り状番号", "Edit_Tracking", 1, 1);
    Edit_Order = field("注文番号", "Edit_Order", 1, 2);
    CheckBox_Days = new QCheckBox(QFromUtf8("印刷日"), this);
    Date_From = DayEdit(this);
    Date_To = DayEdit(this);
    Date_From->setEnabled(false);
    Date_To->setEnabled(false);
    connect(CheckBox_Days, &QCheckBox::toggled, Date_From, &QWidget::setEnabled);
    connect(CheckBox_Days, &QCheckBox::toggled, Date_To, &QWidget::setEnabled);
    Button_Search = Button("検索", this);
    connect(Button_Search, &QPushButton::clicked, this, [this] { Guarded([this] { Search(); }); });
    auto* days = new QHBoxLayout;
    days->addWidget(Date_From);
    days->addWidget(new QLabel(QFromUtf8("〜"), this));
    days->addWidget(Date_To);
    days->addStretch();
    days->addWidget(Button_Search);
    criteria->addWidget(CheckBox_Days, 2, 0);
    criteria->addLayout(days, 2, 1, 1, 5);

    Grid = new QTableView(this);
    Grid->setModel(model_);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setAlternatingRowColors(true);
    Grid->setTabKeyNavigation(false);
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setStretchLastSection(true);
    for (auto [column, width] : {std::pair{THistoryModel::Id, 52},
                                 {THistoryModel::Time, 120},
                                 {THistoryModel::Name, 120},
                                 {THistoryModel::Zip, 76},
                                 {THistoryModel::Address, 220},
                                 {THistoryModel::Tel, 100},
                                 {THistoryModel::Goods, 84},
                                 {THistoryModel::SlipType, 80},
                                 {THistoryModel::Tracking, 110},
                                 {THistoryModel::Order, 90},
                                 {THistoryModel::Delivery, 90},
                                 {THistoryModel::Changed, 110},
                                 {THistoryModel::ReprintOf, 60}})
        Grid->setColumnWidth(column, width);
    // The tracking number and the order (with what it asked for and what was changed of it) are what the
    // window is opened for: they stand right after the time, and the address, the longest, comes last and
    // takes what is left, so that at the window's first size every column but the address's end is on
    // the screen.
    QHeaderView* header = Grid->horizontalHeader();
    for (THistoryModel::Column c :
         {THistoryModel::Tracking, THistoryModel::Order, THistoryModel::Delivery, THistoryModel::Changed})
        header->moveSection(header->visualIndex(c), header->visualIndex(THistoryModel::Name));
    header->moveSection(header->visualIndex(THistoryModel::Address), THistoryModel::Columns - 1);
    Grid->installEventFilter(this);
    connect(Grid, &QTableView::doubleClicked, this, [this] { Guarded([this] { LoadSelected(); }); });

    Edit_Scan = new QLineEdit(this);
    Edit_Scan->setPlaceholderText(QFromUtf8("行を選んで送り状番号を入力またはスキャン"));
    Edit_Scan->installEventFilter(this);
    connect(Edit_Scan, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { StoreTracking(Edit_Scan->text()); }); });
    Button_Void = Button("書き損じ", this);
    Button_Void->setToolTip(
        QFromUtf8("選んだ行の送り状を書き損じにします。番号は残り、出荷リストには出ません"));
    connect(Button_Void, &QPushButton::clicked, this, [this] { Guarded([this] { VoidSelected(); }); });
    Button_Resync = Button("番号を合わせる", this);
    Button_Resync->setToolTip(QFromUtf8(
        "次の送り状番号をプリンタにある送り状に合わせます。飛ばした送り状は書き損じとして残ります"));
    connect(Button_Resync, &QPushButton::clicked, this, [this] { Guarded([this] { ResyncClick(); }); });
    Button_Export = Button("出荷ファイル...", this);
    connect(Button_Export, &QPushButton::clicked, this, [this] { Guarded([this] { ExportClick(); }); });
    QPushButton* close = Button("閉じる", this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QFromUtf8("送り状番号"), this));
    bottom->addWidget(Edit_Scan, 1);
    bottom->addWidget(Button_Void);
    bottom->addWidget(Button_Resync);
    bottom->addSpacing(24);
    bottom->addWidget(Button_Export);
    bottom->addWidget(close);

    Label_Status = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(Grid, 1);
    layout->addLayout(bottom);
    layout->addWidget(Label_Status);
    layout->addWidget(new QLabel(
        QFromUtf8("Enter・ダブルクリック: 送り状に読み込み（F11 で再印刷）　数字: 送り状番号"), this));
}

template <class F>
void THistoryWindow::WithStore(F&& use) {
    try {
        desk_.Asker().Ask(use);
    } catch (const history::EHistoryStore& e) {
        throw history::EHistoryStore(
            e.GetKind(), cp932::FromUtf8("履歴を使えません。印刷はこのまま続けられます。\n") + e.Message());
    }
}

void THistoryWindow::Refresh() {
    if (!isVisible()) return;
    // Records can go in while a question waits in a local event loop: search once it is answered.
    if (desk_.Asker().Asking()) {
        QTimer::singleShot(50, this, [this] { Refresh(); });
        return;
    }
    try {
        Search();
    } catch (const Exception& e) {
        ShowStatus(FromCp932(e.Message()), true);
    }
}

bool THistoryWindow::Open() {
    // What waits goes in on the recording thread; the list shows it once it is in.
    desk_.Flush([this] { Refresh(); });
    for (QLineEdit* e : {Edit_Name, Edit_Phone, Edit_Zip, Edit_Address, Edit_Tracking, Edit_Order, Edit_Scan})
        e->clear();
    CheckBox_Days->setChecked(false);
    Search();
    for (int row = 0; row < RowCount(); ++row) {
        if (Row(row).id == desk_.LastRecordedId()) Select(row);
    }
    show();
    raise();
    activateWindow();
    Grid->setFocus(Qt::OtherFocusReason);
    // Some platforms activate a window only once it is on the screen.
    QTimer::singleShot(0, this, [this] { activateWindow(); });
    return true;
}

void THistoryWindow::Search() {
    history::SearchQuery q;
    q.name = ToCp932(Edit_Name->text());
    q.phone = ToCp932(Edit_Phone->text());
    q.postcode = ToCp932(Edit_Zip->text());
    q.address = ToCp932(Edit_Address->text());
    q.tracking = ToCp932(Edit_Tracking->text());
    q.order = ToCp932(Edit_Order->text());
    if (CheckBox_Days->isChecked()) {
        const QDate from = std::min(Date_From->date(), Date_To->date());
        const QDate to = std::max(Date_From->date(), Date_To->date());
        q.from = Day(from).toStdString();
        q.to = Day(to).toStdString();
    }
    std::vector<history::HistoryRecord> rows;
    WithStore([&](history::Store& store) { rows = store.Search(q); });
    const bool more = rows.size() == q.limit;
    model_->Reset(std::move(rows));
    ShowStatus(more ? QFromUtf8("新しい順に %1 件を表示しています。それより前は条件で絞り込んでください")
                          .arg(RowCount())
                    : QFromUtf8("%1 件").arg(RowCount()));
    if (RowCount() > 0) Select(0);
}

void THistoryWindow::LoadSelected() {
    const int row = CurrentRow();
    if (row < 0) return;
    desk_.Load(Row(row));
    hide();
    slipDesk_.BringForward();
}

void THistoryWindow::StoreTracking(const QString& number) {
    const int row = CurrentRow();
    if (number.trimmed().isEmpty()) return; // an empty scan never clears a stored number
    if (row < 0) {
        ShowStatus(QFromUtf8("送り状番号を付ける行を選んでください"), true);
        return;
    }
    const std::int64_t id = Row(row).id;
    const CheckedSlipEntry entry = CheckTypedSlipNumber(number);
    if (entry.verdict != CheckedSlipEntry::Take) {
        // Selected whole, so that the next scan replaces it.
        Edit_Scan->selectAll();
        if (entry.verdict == CheckedSlipEntry::Refused) {
            QApplication::beep();
            ShowStatus(FromCp932(tracking::WrongCheckDigitMessage()) +
                           QFromUtf8(": %1（保存していません）").arg(number),
                       true);
        }
        return;
    }
    history::TrackingResult result{};
    WithStore([&](history::Store& store) { result = store.SetTracking(id, entry.number); });
    model_->SetTracking(row, result.stored);
    Edit_Scan->clear();
    const QString stored = FromCp932(result.stored);
    for (int next = row + 1; next < RowCount(); ++next) {
        if (Row(next).tracking.empty()) {
            Select(next);
            ShowStatus(QFromUtf8("No.%1 に送り状番号 %2 を保存しました").arg(id).arg(stored));
            return;
        }
    }
    ShowStatus(
        QFromUtf8("No.%1 に送り状番号 %2 を保存しました。下に番号のない行はありません").arg(id).arg(stored));
}

void THistoryWindow::VoidSelected() {
    const int row = CurrentRow();
    if (row < 0) {
        ShowStatus(QFromUtf8("書き損じにする行を選んでください"), true);
        return;
    }
    const history::HistoryRecord& r = Row(row);
    const std::int64_t id = r.id;
    if (r.isVoid) {
        ShowStatus(QFromUtf8("No.%1 はもう書き損じです").arg(id));
        return;
    }
    const QString number =
        r.tracking.empty() ? QFromUtf8("番号なし") : QFromUtf8("送り状番号 %1").arg(FromCp932(r.tracking));
    if (!msgbox::AskYesNo(
            QFromUtf8(
                "No.%1（%2、%3）の送り状を書き損じにしますか?\n番号は履歴に残り、出荷リストには出ません")
                .arg(id)
                .arg(FromCp932(r.values.Edit_Custo1), number)))
        return;
    WithStore([&](history::Store& store) { store.MarkVoid(id); });
    model_->SetVoid(row);
    ShowStatus(
        QFromUtf8(
            "No.%1 を書き損じにしました。Enter で読み込んで F11 で印刷し直すと、次の送り状番号が付きます")
            .arg(id));
}

void THistoryWindow::ResyncClick() {
    const std::string slipType = slipDesk_.StockName();
    const std::string dir = slipDesk_.WorkingDir();
    const tracking::StoredSlipCounter counter = ReadSlipCounter(dir, slipType);
    const bool set = counter.state == tracking::StoredSlipCounter::Set;
    const std::optional<std::string> inPrinter = AskStackSlipNumber(
        QFromUtf8("「%1」のプリンタにある送り状の番号を入力するか、バーコードをスキャンしてください。\n%2")
            .arg(FromCp932(slipType),
                 set ? QFromUtf8("いまの次の送り状番号は %1 です。").arg(FromCp932(counter.number))
                     : QFromUtf8("次の送り状番号はまだありません。")));
    if (!inPrinter) return;
    const QString to = FromCp932(*inPrinter);
    // Raises, with the reason, for a slip before the counter or too far after it.
    const std::vector<std::string> skipped =
        set ? tracking::SkippedSlipNumbers(counter.number, *inPrinter) : std::vector<std::string>();
    if (set && skipped.empty()) {
        ShowStatus(QFromUtf8("次の送り状番号 %1 はプリンタの送り状と合っています").arg(to));
        return;
    }
    if (!skipped.empty() &&
        !msgbox::AskYesNo(
            QFromUtf8(
                "送り状 %1 から %2 までの %3 枚を書き損じとして履歴に残し、次の送り状番号を %4 にしますか?")
                .arg(FromCp932(skipped.front()), FromCp932(skipped.back()))
                .arg(skipped.size())
                .arg(to)))
        return;
    // The counter first: the skipped slips then go in through the recording thread and its pending
    // file, so that none is lost on the way, and a second re-synchronisation finds nothing to skip.
    SaveSlipCounter(dir, slipType, *inPrinter);
    if (skipped.empty()) {
        ShowStatus(QFromUtf8("次の送り状番号を %1 にしました").arg(to));
        return;
    }
    desk_.RecordSkipped(slipType, skipped, [this] { Refresh(); });
    ShowStatus(QFromUtf8("送り状 %1 枚を書き損じとして残し、次の送り状番号を %2 にしました")
                   .arg(skipped.size())
                   .arg(to));
}

void THistoryWindow::ExportClick() {
    const std::string workingDir = slipDesk_.WorkingDir();
    TShippedExportDialog ask(this, DialogStartFolder(workingDir, FileDialogKind::ShippedList));
    if (ask.exec() != QDialog::Accepted || ask.Formats().isEmpty()) return;
    const QDate from = std::min(ask.Date_From->date(), ask.Date_To->date());
    const QDate to = std::max(ask.Date_From->date(), ask.Date_To->date());
    RememberDialogFolder(workingDir, FileDialogKind::ShippedList, ask.Folder());
    ExportTo(from, to, ask.Formats(),
             ask.Radio_Sjis->isChecked() ? shipped::TextEncoding::Cp932 : shipped::TextEncoding::Utf8Bom,
             ask.Folder());
}

void THistoryWindow::ExportTo(QDate from, QDate to, const QStringList& formats,
                              shipped::TextEncoding encoding, const QString& folder) {
    const std::string first = Day(from).toStdString(), last = Day(to).toStdString();
    const shipped::Carrier carrier =
        shipped::CarrierFromSettings(ProfileFile(SettingsFilePath(slipDesk_.WorkingDir())));
    std::vector<shipped::ShippedSlip> slips;
    WithStore([&](history::Store& store) { slips = history::ShippedSlips(store, first, last); });

    // Every file is made before any is written: an ID that cannot be written exactly stops them all.
    std::vector<std::pair<shipped::ShippedFormat, shipped::ShippedFile>> files;
    for (const QString& name : formats) {
        shipped::ShippedFormat format = *shipped::FindShippedFormat(name.toStdString());
        if (format.platform.empty()) format.encoding = encoding;
        files.emplace_back(format, shipped::BuildShippedFile(format, slips, carrier));
    }
    QStringList written;
    std::map<std::int64_t, QString> apart; // by record: a slip left out of several files is listed once
    QStringList extra, notices;
    for (const auto& [format, file] : files) {
        const std::string path = shipped::WriteShippedFile(NativePath(folder), format, first, last, file);
        written << QFromUtf8("%1（%2 件）")
                       .arg(QFileInfo(QFile::decodeName(path.c_str())).fileName())
                       .arg(file.rows);
        for (const shipped::ApartSlip& a : file.apart) {
            const shipped::ShippedSlip& s = slips[a.slip];
            apart.emplace(s.record, QFromUtf8("No.%1 %2 %3 注文 %4 番号 %5: %6")
                                        .arg(s.record)
                                        .arg(QString::fromStdString(s.shipDay), FromCp932(s.consignee),
                                             s.order.empty() ? QFromUtf8("なし") : FromCp932(s.order),
                                             s.tracking.empty() ? QFromUtf8("なし") : FromCp932(s.tracking),
                                             FromCp932(shipped::ApartReasonText(a.reason))));
        }
        for (const shipped::ExtraNumbers& e : file.extra)
            for (const std::string& number : e.numbers)
                extra << QFromUtf8("注文 %1: %2").arg(FromCp932(e.order), FromCp932(number));
        for (const std::string& n : file.notices)
            notices << FromCp932(n);
    }
    ShowStatus(QFromUtf8("書き出しました: %1").arg(written.join(QFromUtf8("、"))), !apart.empty());
    QStringList report;
    if (!apart.empty()) {
        report << QFromUtf8("ファイルに入れなかった送り状（%1 件）:").arg(apart.size());
        for (const auto& [record, line] : apart)
            report << QStringLiteral("　") + line;
    }
    if (!extra.empty())
        report << QFromUtf8(
                      "Amazon の出荷通知は 1 注文 1 行です。次の番号は Seller Central で追加してください:")
               << extra;
    report << notices;
    if (!report.isEmpty()) msgbox::Notify(report.join(QLatin1Char('\n')));
}

int THistoryWindow::RowCount() const {
    return static_cast<int>(model_->rows.size());
}

const history::HistoryRecord& THistoryWindow::Row(int row) const {
    return model_->rows.at(static_cast<std::size_t>(row));
}

int THistoryWindow::CurrentRow() const {
    const QModelIndex current = Grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void THistoryWindow::Select(int row) {
    Grid->selectRow(row);
    Grid->setCurrentIndex(model_->index(row, 0));
    Grid->scrollTo(model_->index(row, 0));
}

void THistoryWindow::ShowStatus(const QString& text, bool warning) {
    Label_Status->setStyleSheet(warning ? QStringLiteral("color: #c00000;") : QString());
    Label_Status->setText(text);
}

bool THistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == Grid) {
        if (enter) {
            Guarded([this] { LoadSelected(); });
            return true;
        }
        // A scanner types the digits and Enter: they go to the scan field, for the selected row.
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            Edit_Scan->setFocus(Qt::OtherFocusReason);
            Edit_Scan->insert(text);
            return true;
        }
    } else if (watched == Edit_Scan && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        // The rows can be walked without leaving the scan field.
        const int row = CurrentRow() + (key->key() == Qt::Key_Up ? -1 : 1);
        if (row >= 0 && row < RowCount()) Select(row);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
