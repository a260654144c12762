// The history window: list, search, loading for a reprint, tracking numbers and the shipped list.
#include "app/qt/history/HistoryWindow.h"

#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/FileFolders.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/common/SlipDesk.h"
#include "app/qt/history/DayEdit.h"
#include "app/qt/history/HistoryModel.h"
#include "app/qt/history/HistoryRecording.h"
#include "app/qt/history/ShippedExportDialog.h"
#include "history/HistoryRecorder.h"
#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"

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

namespace {

QString Day(QDate d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QPushButton* Button(const char* text, QWidget* parent) {
    auto* b = new QPushButton(U(text), parent);
    b->setAutoDefault(false); // Enter belongs to the search fields, the list and the scan field
    return b;
}

} // namespace

THistoryWindow::THistoryWindow(SlipDesk& slipDesk, THistoryDesk& desk)
    : QDialog(&slipDesk.DeskWindow()), slipDesk_(slipDesk), desk_(desk), model_(new THistoryModel(this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(U("印刷履歴"));
    resize(960, 600);

    auto* criteria = new QGridLayout;
    auto field = [&](const char* caption, const char* name, int row, int column) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        criteria->addWidget(new QLabel(U(caption), this), row, column * 2);
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
    CheckBox_Days = new QCheckBox(U("印刷日"), this);
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
    days->addWidget(new QLabel(U("〜"), this));
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
                                 {THistoryModel::ReprintOf, 60}})
        Grid->setColumnWidth(column, width);
    // The tracking number and the order are what the window is opened for: they stand right after the
    // time, and the address, the longest, comes last and takes what is left, so that at the window's
    // first size every column but the address's end is on the screen.
    QHeaderView* header = Grid->horizontalHeader();
    header->moveSection(header->visualIndex(THistoryModel::Tracking),
                        header->visualIndex(THistoryModel::Name));
    header->moveSection(header->visualIndex(THistoryModel::Order), header->visualIndex(THistoryModel::Name));
    header->moveSection(header->visualIndex(THistoryModel::Address), THistoryModel::Columns - 1);
    Grid->installEventFilter(this);
    connect(Grid, &QTableView::doubleClicked, this, [this] { Guarded([this] { LoadSelected(); }); });

    Edit_Scan = new QLineEdit(this);
    Edit_Scan->setPlaceholderText(U("行を選んで送り状番号を入力またはスキャン"));
    Edit_Scan->installEventFilter(this);
    connect(Edit_Scan, &QLineEdit::returnPressed, this,
            [this] { Guarded([this] { StoreTracking(Edit_Scan->text()); }); });
    Button_Export = Button("出荷リスト...", this);
    connect(Button_Export, &QPushButton::clicked, this, [this] { Guarded([this] { ExportClick(); }); });
    QPushButton* close = Button("閉じる", this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(U("送り状番号"), this));
    bottom->addWidget(Edit_Scan, 1);
    bottom->addSpacing(24);
    bottom->addWidget(Button_Export);
    bottom->addWidget(close);

    Label_Status = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(Grid, 1);
    layout->addLayout(bottom);
    layout->addWidget(Label_Status);
    layout->addWidget(
        new QLabel(U("Enter・ダブルクリック: 送り状に読み込み（F11 で再印刷）　数字: 送り状番号"), this));
}

template <class F>
void THistoryWindow::WithStore(F&& use) {
    history::Recorder& recorder = desk_.Recorder();
    try {
        use(recorder.OpenStore());
    } catch (const history::EHistoryStore& e) {
        if (e.GetKind() == history::EHistoryStore::Kind::Unavailable) recorder.CloseStore(); // connect afresh
        throw history::EHistoryStore(
            e.GetKind(), cp932::FromUtf8("履歴を使えません。印刷はこのまま続けられます。\n") + e.Message());
    }
}

bool THistoryWindow::Open() {
    // What waits goes in on the recording thread; the list shows it once it is in.
    desk_.Flush([this] {
        if (isVisible()) Search();
    });
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
    ShowStatus(
        more ? U("新しい順に %1 件を表示しています。それより前は条件で絞り込んでください").arg(RowCount())
             : U("%1 件").arg(RowCount()));
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
        ShowStatus(U("送り状番号を付ける行を選んでください"), true);
        return;
    }
    const std::int64_t id = Row(row).id;
    history::TrackingResult result{};
    WithStore([&](history::Store& store) { result = store.SetTracking(id, ToCp932(number)); });
    model_->SetTracking(row, result.stored);
    Edit_Scan->clear();
    const QString stored = FromCp932(result.stored);
    if (result.warning) {
        QApplication::beep();
        ShowStatus(U("No.%1 の送り状番号 %2 は 12 桁ではありません。このまま保存しました。"
                     "読み違いならもう一度スキャンしてください")
                       .arg(id)
                       .arg(stored),
                   true);
        return;
    }
    for (int next = row + 1; next < RowCount(); ++next) {
        if (Row(next).tracking.empty()) {
            Select(next);
            ShowStatus(U("No.%1 に送り状番号 %2 を保存しました").arg(id).arg(stored));
            return;
        }
    }
    ShowStatus(U("No.%1 に送り状番号 %2 を保存しました。下に番号のない行はありません").arg(id).arg(stored));
}

void THistoryWindow::ExportClick() {
    TShippedExportDialog ask(this);
    if (ask.exec() != QDialog::Accepted) return;
    const QDate from = std::min(ask.Date_From->date(), ask.Date_To->date());
    const QDate to = std::max(ask.Date_From->date(), ask.Date_To->date());
    const history::CsvEncoding encoding =
        ask.Radio_Sjis->isChecked() ? history::CsvEncoding::ShiftJis : history::CsvEncoding::Utf8Bom;
    const QString name =
        QStringLiteral("shipped_%1-%2.csv")
            .arg(from.toString(QStringLiteral("yyyyMMdd")), to.toString(QStringLiteral("yyyyMMdd")));
    const std::string workingDir = slipDesk_.WorkingDir();
    QFileDialog files(this, U("出荷リストの保存先"),
                      QDir(DialogStartFolder(workingDir, FileDialogKind::ShippedList)).filePath(name),
                      U("CSV ファイル (*.csv)"));
    files.setAcceptMode(QFileDialog::AcceptSave);
    files.setDefaultSuffix(QStringLiteral("csv"));
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty()) return;
    const QString path = files.selectedFiles().first();
    RememberDialogFolder(workingDir, FileDialogKind::ShippedList, QFileInfo(path).absolutePath());
    ExportTo(from, to, encoding, path);
}

void THistoryWindow::ExportTo(QDate from, QDate to, history::CsvEncoding encoding, const QString& path) {
    std::size_t lines = 0;
    // A file that cannot be written raises; an old one is as it was.
    WithStore([&](history::Store& store) {
        lines = history::ExportShipped(store, Day(from).toStdString(), Day(to).toStdString(), encoding,
                                       NativePath(path));
    });
    ShowStatus(U("出荷リストを書き出しました（%1 件）: %2").arg(lines).arg(path));
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
