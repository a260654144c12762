#include "app/qt/orders/OrderQueueWindow.h"

#include "app/MainSettings.h"
#include "app/qt/common/AppTitle.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/FileFolders.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/common/SlipDesk.h"
#include "app/qt/orders/OrderMappingDialog.h"
#include "app/qt/orders/OrderQueueModel.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/ProfileFile.h"
#include "platform/qt/LogCategories.h"
#include "platform/qt/QtText.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

OrderQueueWindow::FileChooser& Chooser() {
    static OrderQueueWindow::FileChooser chooser;
    return chooser;
}

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The order's fields as the slip takes them (CP932, "?" for what CP932 cannot hold).
slip::Record SlipOf(const orders::Order& o) {
    return orders::FieldsForSlip(o.fields);
}

} // namespace

OrderQueueWindow::OrderQueueWindow(SlipDesk& desk, std::string workingDir)
    : QWidget(&desk.DeskWindow(), Qt::Window), desk_(desk), workingDir_(std::move(workingDir)) {
    setWindowTitle(U("注文取込") + QStringLiteral(" - ") + AppTitle());
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    Button_Open = new QPushButton(U("ファイルを開く…"), this);
    Label_File = new QLabel(U("注文ファイルを開いて下さい"), this);
    top->addWidget(Button_Open);
    top->addWidget(Label_File, 1);
    layout->addLayout(top);

    model_ = new OrderQueueModel(this);
    Table = new QTableView(this);
    Table->setModel(model_);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->verticalHeader()->hide();
    // Fixed widths: measuring thousands of rows would cost more than the whole window.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[] = {60, 140, 120, 280, 190, 80};
    for (int c = 0; c < static_cast<int>(std::size(widths)); ++c)
        Table->setColumnWidth(c, widths[c]);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->installEventFilter(this);
    layout->addWidget(Table, 1);

    Label_Warnings = new QLabel(this);
    Label_Warnings->setWordWrap(true);
    Label_Warnings->setStyleSheet(QStringLiteral("color: #b00000"));
    Label_Warnings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Label_Warnings);

    auto* bottom = new QHBoxLayout;
    Button_Pick = new QPushButton(U("読み込む（Enter）"), this);
    Button_Hold = new QPushButton(U("保留／解除"), this);
    Label_State = new QLabel(this);
    Progress = new QProgressBar(this);
    Button_Stop = new QPushButton(U("中止"), this);
    Button_PrintRest = new QPushButton(U("残りをすべて印刷"), this);
    auto* close = new QPushButton(U("閉じる"), this);
    bottom->addWidget(Button_Pick);
    bottom->addWidget(Button_Hold);
    bottom->addWidget(Label_State, 1);
    bottom->addWidget(Progress);
    bottom->addWidget(Button_Stop);
    bottom->addWidget(Button_PrintRest);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    Progress->hide();
    Button_Stop->hide();

    // Every command through Guarded, as the main window's handlers: nothing reaches the event loop.
    auto command = [this](auto f) { return [f] { Guarded(f); }; };
    connect(Button_Open, &QPushButton::clicked, this, command([this] { ChooseFile(); }));
    connect(Button_Pick, &QPushButton::clicked, this, command([this] { Pick(Table->currentIndex().row()); }));
    connect(Table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { Guarded([this, row = i.row()] { Pick(row); }); });
    connect(Button_Hold, &QPushButton::clicked, this,
            command([this] { ToggleHold(Table->currentIndex().row()); }));
    connect(Button_PrintRest, &QPushButton::clicked, this, command([this] { PrintRest(); }));
    connect(Button_Stop, &QPushButton::clicked, this, [this] { StopRun(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this,
            command([this] { ChooseFile(); }));
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    connect(Table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { SelectionChanged(); });
    desk_.OnPrinted(this, [this] { Guarded([this] { SlipPrinted(); }); });
    desk_.OnStockChanged(this, [this] { UpdateState(); });
    desk_.DeskWindow().installEventFilter(this); // the queue closes with the main window

    resize(1080, 520);
    SelectionChanged();
}

OrderQueueWindow::~OrderQueueWindow() = default;

void OrderQueueWindow::SetFileChooser(FileChooser chooser) {
    Chooser() = std::move(chooser);
}

void OrderQueueWindow::closeEvent(QCloseEvent* event) {
    StopRun(); // a run goes on only while it can be watched and stopped
    QWidget::closeEvent(event);
}

bool OrderQueueWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &desk_.DeskWindow() && event->type() == QEvent::Close) {
        StopRun();
        hide();
    } else if (watched == Table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded([this] { Pick(Table->currentIndex().row()); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString OrderQueueWindow::LastFolder() const {
    return DialogStartFolder(workingDir_, FileDialogKind::OrderFile);
}

void OrderQueueWindow::ChooseFile() {
    if (run_) return;
    const QString folder = LastFolder();
    const QString path =
        Chooser() ? Chooser()(folder)
                  : QFileDialog::getOpenFileName(this, U("注文ファイルを開く"), folder,
                                                 U("注文ファイル (*.csv *.tsv *.txt);;すべてのファイル (*)"));
    if (path.isEmpty()) return;
    RememberDialogFolder(workingDir_, FileDialogKind::OrderFile, QFileInfo(path).absolutePath());
    Import(path);
}

bool OrderQueueWindow::Import(const QString& path) {
    if (run_) return false;
    bool imported = false;
    Guarded([&] {
        orders::OrderTable table = orders::ReadOrderTable(NativePath(path));
        orders::ColumnMapping mapping = orders::RecogniseColumns(table.header);
        const std::string mappingIni = fileio::JoinPath(workingDir_, std::string(orders::kOrderMappingFile));
        orders::LoadMapping(mappingIni, table.header, mapping);
        if (!orders::MissingColumns(mapping).empty()) {
            OrderMappingDialog dialog(table, mapping, this);
            if (dialog.exec() != QDialog::Accepted) return;
            mapping = dialog.Mapping();
            // The orders are still read when the choice cannot be kept; the next import asks again.
            Guarded([&] { orders::SaveMapping(mappingIni, table.header, mapping); });
        }
        SetOrders(orders::BuildOrders(table, mapping), path);
        imported = true;
    });
    return imported;
}

void OrderQueueWindow::SetOrders(std::vector<orders::Order> list, const QString& path) {
    model_->Reset(std::move(list));
    path_ = path;
    current_ = -1;
    // Orders the history has were printed before: held and flagged, so that neither a run nor the
    // hand-fed chain prints them again unasked. One failure ends the look-ups (a server that is down
    // would otherwise be waited for once an order).
    try {
        history::Store& store = desk_.HistoryRecorder().OpenStore();
        for (std::size_t i = 0; i < model_->orders.size(); ++i) {
            orders::Order& o = model_->orders[i];
            if (o.ref.empty() || !store.HasOrder(cp932::FromUtf8(o.ref))) continue;
            model_->entries[i].held = true;
            o.warnings.push_back("印刷済み（履歴に記録があります）");
        }
    } catch (const history::EHistoryStore& e) {
        // Without the history only this session's prints are known.
        qCDebug(lcHistory) << "orders not looked up in the history:" << FromCp932(e.Message());
    }
    int warned = 0;
    for (const orders::Order& o : model_->orders)
        warned += !o.warnings.empty();
    qCDebug(lcOrders) << "imported" << path << ":" << model_->orders.size() << "orders," << warned
                      << "with warnings";
    QString text = U("%1　%2件").arg(QFileInfo(path).fileName()).arg(model_->orders.size());
    if (warned > 0) text += U("（確認が必要な注文 %1件）").arg(warned);
    Label_File->setText(text);
    Label_File->setToolTip(QDir::toNativeSeparators(path));
    if (!model_->orders.empty()) Table->setCurrentIndex(model_->index(0, 0));
    Table->setFocus(Qt::OtherFocusReason);
    SelectionChanged();
}

int OrderQueueWindow::Count() const {
    return static_cast<int>(model_->orders.size());
}

OrderQueueWindow::Status OrderQueueWindow::StatusOf(int row) const {
    return model_->StatusOf(row);
}

const orders::Order& OrderQueueWindow::OrderAt(int row) const {
    return model_->orders.at(static_cast<std::size_t>(row));
}

bool OrderQueueWindow::AlreadyPrinted(int row) const {
    if (StatusOf(row) == Status::Printed) return true;
    const std::string& ref = OrderAt(row).ref;
    if (ref.empty()) return false;
    try {
        return desk_.HistoryRecorder().OpenStore().HasOrder(cp932::FromUtf8(ref));
    } catch (const history::EHistoryStore& e) {
        qCDebug(lcHistory) << "order" << Q(ref) << "not looked up in the history:" << FromCp932(e.Message());
        return false; // without the history only this session's prints are known
    }
}

bool OrderQueueWindow::Pick(int row) {
    if (run_ || row < 0 || row >= Count()) return false;
    if (AlreadyPrinted(row) &&
        !msgbox::AskYesNo(
            U("注文「%1」は印刷済みです。\nもう一度印刷するために読み込みますか?")
                .arg(Q(OrderAt(row).ref.empty() ? OrderAt(row).fields.Edit_Custo1 : OrderAt(row).ref))))
        return false;
    Load(row, true);
    return true;
}

void OrderQueueWindow::Load(int row, bool activateMain) {
    const int before = current_;
    current_ = row;
    model_->current = row;
    model_->RowChanged(before);
    model_->RowChanged(row);
    const orders::Order& o = OrderAt(row);
    desk_.LoadOrder(SlipOf(o), cp932::FromUtf8(o.ref));
    Table->setCurrentIndex(model_->index(row, 0));
    Table->scrollTo(model_->index(row, 0));
    if (activateMain) {
        desk_.BringForward();
    }
    UpdateState();
}

void OrderQueueWindow::ToggleHold(int row) {
    if (row < 0 || row >= Count()) return;
    OrderQueueModel::Entry& e = model_->entries[static_cast<std::size_t>(row)];
    e.held = !e.held;
    model_->RowChanged(row);
    UpdateState();
}

int OrderQueueWindow::NextOpen(int after) const {
    const int n = Count();
    for (int step = 1; step <= n; ++step) {
        const int row = ((after < 0 ? -1 : after) + step) % n;
        if (StatusOf(row) == Status::Open) return row;
    }
    return -1;
}

int OrderQueueWindow::OpenCount() const {
    int open = 0;
    for (int row = 0; row < Count(); ++row)
        open += StatusOf(row) == Status::Open;
    return open;
}

// The job of the order in the main window was accepted: mark it and load the next open one.
void OrderQueueWindow::SlipPrinted() {
    if (current_ < 0 || !desk_.FromOrder()) return; // a slip typed by hand, or an order of another file
    model_->entries[static_cast<std::size_t>(current_)].printed = true;
    model_->RowChanged(current_);
    const int next = NextOpen(current_);
    if (next < 0) {
        UpdateState();
        return;
    }
    Load(next, !run_); // during a run the stop button keeps the focus
    // Asked once the job's own handler has returned, so one slip after another never nests.
    if (!run_ && desk_.Stock() == slip::Stock::HandFed)
        QTimer::singleShot(0, this, [this] { AskNextHandFed(); });
}

void OrderQueueWindow::AskNextHandFed() {
    if (run_ || current_ < 0 || !desk_.FromOrder() || StatusOf(current_) != Status::Open) return;
    if (!msgbox::AskYesNo(U("次の送り状をセットしてください"))) {
        desk_.FocusSlip();
        return;
    }
    Guarded([this] { desk_.PrintSlip(); });
}

void OrderQueueWindow::PrintRest() {
    if (run_) return;
    if (desk_.Stock() != slip::Stock::Continuous) {
        msgbox::Notify(U("「残りをすべて印刷」は連続用紙（連続(４インチ)）のときに使えます"));
        return;
    }
    const int open = OpenCount();
    if (open == 0) {
        msgbox::Notify(U("印刷する注文がありません"));
        return;
    }
    if (!msgbox::AskYesNo(U("残りの注文 %1件をすべて印刷しますか?").arg(open))) return;
    // The order in the main window goes first, as the user may have corrected it; else the next one.
    const bool currentOpen = current_ >= 0 && StatusOf(current_) == Status::Open;
    if (!currentOpen || !desk_.FromOrder()) Load(currentOpen ? current_ : NextOpen(current_), false);
    run_ = Run{open, 0, false};
    Progress->setRange(0, open);
    Progress->setValue(0);
    UpdateState();
    QTimer::singleShot(0, this, [this] { RunStep(); });
}

void OrderQueueWindow::RunStep() {
    if (!run_) return;
    if (run_->stop) return EndRun(U("中止しました（%1件印刷）").arg(run_->done));
    if (current_ < 0 || !desk_.FromOrder() || StatusOf(current_) != Status::Open)
        return EndRun(U("%1件印刷しました").arg(run_->done));
    const int printing = current_;
    if (!Guarded([this] { desk_.PrintSlip(); }))
        return EndRun(U("エラーのため止めました（%1件印刷）").arg(run_->done));
    if (StatusOf(printing) != Status::Printed)
        return EndRun(U("%1件印刷しました").arg(run_->done)); // the link was lost
    ++run_->done;
    Progress->setValue(run_->done);
    Label_State->setText(U("印刷中 %1／%2").arg(run_->done).arg(run_->total));
    QTimer::singleShot(0, this, [this] { RunStep(); });
}

void OrderQueueWindow::StopRun() {
    if (run_) run_->stop = true;
}

void OrderQueueWindow::EndRun(const QString& why) {
    run_.reset();
    UpdateState();
    Label_State->setText(why);
}

void OrderQueueWindow::SelectionChanged() {
    const int row = Table->currentIndex().row();
    QStringList lines;
    if (row >= 0 && row < Count())
        for (const std::string& w : OrderAt(row).warnings)
            lines << U("・") + Q(w);
    Label_Warnings->setText(lines.join(QLatin1Char('\n')));
    Label_Warnings->setVisible(!lines.isEmpty());
    UpdateState();
}

void OrderQueueWindow::UpdateState() {
    const bool running = run_.has_value();
    const bool any = Count() > 0;
    const int row = Table->currentIndex().row();
    Button_Open->setEnabled(!running);
    Button_Pick->setEnabled(!running && row >= 0);
    Button_Hold->setEnabled(!running && row >= 0 && StatusOf(row) != Status::Printed);
    Button_PrintRest->setEnabled(!running && any && desk_.Stock() == slip::Stock::Continuous);
    Button_PrintRest->setToolTip(desk_.Stock() == slip::Stock::Continuous
                                     ? QString()
                                     : U("連続用紙（連続(４インチ)）のときに使えます"));
    Progress->setVisible(running);
    Button_Stop->setVisible(running);
    if (running) return;
    if (!any) {
        Label_State->clear();
        return;
    }
    const int open = OpenCount();
    Label_State->setText(open == 0 ? U("すべての注文を印刷しました") : U("未印刷 %1件").arg(open));
}
