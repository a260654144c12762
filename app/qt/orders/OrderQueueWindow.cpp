#include "app/qt/orders/OrderQueueWindow.h"

#include "app/MainSettings.h"
#include "app/OrderLink.h"
#include "app/qt/common/AppTitle.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/FileFolders.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/common/SlipDesk.h"
#include "app/qt/orders/HistoryPrintedRecord.h"
#include "app/qt/orders/OrderMappingDialog.h"
#include "app/qt/orders/OrderQueueModel.h"
#include "app/qt/orders/QueueReader.h"
#include "history/HistoryStore.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/LogCategories.h"
#include "platform/qt/QtText.h"
#include "queue/DeskName.h"
#include "queue/StoreQueueStates.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <thread>
#include <utility>

namespace {

OrderQueueWindow::FileChooser& Chooser() {
    static OrderQueueWindow::FileChooser chooser;
    return chooser;
}

// How an order is named in a question: its reference, else its consignee.
QString NameOf(const orders::Order& o) {
    return QFromUtf8(o.ref.empty() ? o.fields.Edit_Custo1 : o.ref);
}

// How often the shared queue is read again.
constexpr int kRefreshMs = 2000;

history::StoreLocation StoreOf(const std::string& dir) {
    return history::LocationFromSettings(ProfileFile(SettingsFilePath(dir)), dir);
}

// The queue the desks share in the history's store; this desk's own in memory where the store is not
// one this program may use (another program's, a newer program's, a file it cannot write). A server
// that does not answer now is still the shared queue: the window says so and tries again.
std::unique_ptr<orders::QueueStates> ChooseStates(const std::string& dir, queue::StoreQueueStates*& shared) {
    const history::StoreLocation where = StoreOf(dir);
    auto states =
        std::make_unique<queue::StoreQueueStates>(where, queue::DeskName(ProfileFile(SettingsFilePath(dir))));
    try {
        // What the desks left in the queue, read at once. A file must open and take claims as well.
        const bool read = states->Refresh();
        if (!where.IsPostgres() && !(read && states->ClaimsWork()))
            throw history::EHistoryStore(history::EHistoryStore::Kind::Unavailable, states->Trouble());
    } catch (const history::EHistoryStore& e) {
        qCDebug(lcOrders) << "the order queue is this desk's alone:" << FromCp932(e.Message());
        return std::make_unique<orders::MemoryQueueStates>();
    }
    shared = states.get();
    return states;
}

} // namespace

OrderQueueWindow::OrderQueueWindow(SlipDesk& desk, std::string workingDir)
    : QWidget(&desk.DeskWindow(), Qt::Window), desk_(desk), workingDir_(std::move(workingDir)),
      queue_(ChooseStates(workingDir_, shared_)), record_(std::make_unique<HistoryPrintedRecord>(desk)) {
    setWindowTitle(QFromUtf8("注文取込") + QStringLiteral(" - ") + AppTitle());
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    Button_Open = new QPushButton(QFromUtf8("ファイルを開く…"), this);
    Label_File = new QLabel(QFromUtf8("注文ファイルを開いて下さい"), this);
    Label_Desk = new QLabel(this);
    top->addWidget(Button_Open);
    top->addWidget(Label_File, 1);
    top->addWidget(Label_Desk);
    layout->addLayout(top);
    Label_Trouble = new QLabel(this);
    Label_Trouble->setWordWrap(true);
    Label_Trouble->setStyleSheet(QStringLiteral("color: #b00000"));
    Label_Trouble->hide();
    layout->addWidget(Label_Trouble);

    model_ = new OrderQueueModel(queue_, this);
    Table = new QTableView(this);
    Table->setModel(model_);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setWordWrap(false);
    Table->verticalHeader()->hide();
    // Fixed widths: measuring thousands of rows would cost more than the whole window.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[] = {60, 140, 120, 280, 190, 80, 110};
    for (int c = 0; c < static_cast<int>(std::size(widths)); ++c)
        Table->setColumnWidth(c, widths[c]);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->installEventFilter(this);
    layout->addWidget(Table, 1);

    Label_Warnings = new QLabel(this);
    Label_Warnings->setWordWrap(true);
    Label_Warnings->setTextFormat(Qt::RichText);
    Label_Warnings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Label_Warnings);

    auto* bottom = new QHBoxLayout;
    Button_Pick = new QPushButton(QFromUtf8("読み込む（Enter）"), this);
    Button_Hold = new QPushButton(QFromUtf8("保留／解除"), this);
    Button_Cancel = new QPushButton(QFromUtf8("取消／戻す"), this);
    Label_State = new QLabel(this);
    Progress = new QProgressBar(this);
    Button_Stop = new QPushButton(QFromUtf8("中止"), this);
    Button_PrintRest = new QPushButton(QFromUtf8("残りをすべて印刷"), this);
    auto* close = new QPushButton(QFromUtf8("閉じる"), this);
    bottom->addWidget(Button_Pick);
    bottom->addWidget(Button_Hold);
    bottom->addWidget(Button_Cancel);
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
    connect(Button_Cancel, &QPushButton::clicked, this,
            command([this] { ToggleCancel(Table->currentIndex().row()); }));
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
    desk_.OnSlipChanged(this, [this] { SlipChanged(); });
    desk_.DeskWindow().installEventFilter(this); // the queue closes with the main window

    resize(1080, 520);
    if (shared_) {
        // Desks share a server; a file beside the settings is one desk's.
        Label_Desk->setText(QFromUtf8("作業台: %1").arg(FromCp932(shared_->Desk())));
        Label_Desk->setToolTip(QFromUtf8("設定ファイルの [OrderQueue] Desk= で変えられます"));
        Label_Desk->setVisible(StoreOf(workingDir_).IsPostgres());
        reader_ = new QueueReader(StoreOf(workingDir_), this);
        connect(&refresh_, &QTimer::timeout, this, [this] { ReadInBackground(); });
        refresh_.start(kRefreshMs);
        QueueRead();
        if (queue_.Count() > 0) Label_File->setText(QFromUtf8("共有の注文一覧"));
    }
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
    if (Running() || importing_) return;
    const QString folder = LastFolder();
    const QString path = Chooser() ? Chooser()(folder)
                                   : QFileDialog::getOpenFileName(
                                         this, QFromUtf8("注文ファイルを開く"), folder,
                                         QFromUtf8("注文ファイル (*.csv *.tsv *.txt);;すべてのファイル (*)"));
    if (path.isEmpty()) return;
    RememberDialogFolder(workingDir_, FileDialogKind::OrderFile, QFileInfo(path).absolutePath());
    Import(path);
}

bool OrderQueueWindow::AskMapping(orders::MappingQuestion& question) {
    OrderMappingDialog dialog(question, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    question.mapping = dialog.Mapping();
    return true;
}

bool OrderQueueWindow::Import(const QString& path) {
    if (Running() || importing_) return false;
    importing_ = true;
    stopImport_ = false;
    UpdateState();
    Label_State->setText(QFromUtf8("読み込み中…"));

    // The import runs on a thread of its own; this thread waits in an event loop of its own, so the
    // windows repaint, the progress moves and 中止 works. The column question is the one step that
    // comes back here: a dialog belongs to this thread.
    std::atomic<std::size_t> done{0}, total{0};
    std::atomic<bool> stop{false};
    orders::ImportOptions options;
    options.mappingIni = fileio::JoinPath(workingDir_, std::string(orders::kOrderMappingFile));
    options.progress = [&](std::size_t d, std::size_t t) {
        done = d, total = t;
        return !stop;
    };
    options.ask = [this](orders::MappingQuestion& q) {
        bool answered = false;
        QMetaObject::invokeMethod(
            this, [&] { answered = AskMapping(q); }, Qt::BlockingQueuedConnection);
        return answered;
    };
    orders::ImportResult result;
    std::exception_ptr error;
    QEventLoop loop;
    const std::string file = NativePath(path);
    std::thread worker([&] {
        try {
            result = orders::ImportOrders(file, options);
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&] {
        if (stopImport_) stop = true;
        if (total > 0) {
            Progress->setRange(0, static_cast<int>(total));
            Progress->setValue(static_cast<int>(done));
            Label_State->setText(QFromUtf8("読み込み中 %1／%2行").arg(done.load()).arg(total.load()));
        }
    });
    tick.start(50);
    loop.exec();
    worker.join();
    tick.stop();
    importing_ = false;

    bool imported = false;
    Guarded([&] {
        if (error) std::rethrow_exception(error);
        // The orders are still read when the choice cannot be kept; the next import asks again.
        if (!result.mappingNotSaved.empty()) Guarded([&] { throw EInOutError(0, result.mappingNotSaved); });
        if (result.cancelled) return;
        SetOrders(std::move(result.orders), path);
        imported = true;
    });
    UpdateState();
    return imported;
}

void OrderQueueWindow::SetOrders(std::vector<orders::Order> list, const QString& path) {
    // Orders the history has were printed before: held and flagged, so that neither a run nor the
    // hand-fed chain prints them again unasked. The history is asked once for the whole file. The
    // shared queue adds only the orders it does not have (raises when it cannot be reached).
    queue_.Reset(std::move(list), record_.get());
    if (shared_) queue_.Refresh();
    model_->Reset();
    path_ = path;
    const orders::QueueCounts counts = queue_.Counts();
    const orders::ImportCount& imported = queue_.LastImport();
    qCDebug(lcOrders) << "imported" << path << ":" << imported.added << "orders added," << imported.already
                      << "there already," << counts.problems << "with problems";
    QString text =
        QFromUtf8("%1　%2件").arg(QFileInfo(path).fileName()).arg(imported.added + imported.already);
    if (imported.already > 0) text += QFromUtf8("（うち取り込み済み %1件）").arg(imported.already);
    if (counts.problems > 0) text += QFromUtf8("（確認が必要な注文 %1件）").arg(counts.problems);
    Label_File->setText(text);
    Label_File->setToolTip(QDir::toNativeSeparators(path));
    if (queue_.Count() > 0)
        Table->setCurrentIndex(model_->index(static_cast<int>(queue_.Current().value_or(0)), 0));
    Table->setFocus(Qt::OtherFocusReason);
    SelectionChanged();
}

void OrderQueueWindow::Refresh() {
    if (!shared_) return;
    queue_.Refresh();
    QueueRead();
}

void OrderQueueWindow::ReadInBackground() {
    if (!shared_ || reader_->Busy() || importing_) return;
    reader_->Read(shared_->NextRequest(),
                  [this](const queue::QueueSnapshot& snapshot, const std::string& error) {
                      if (!error.empty()) {
                          shared_->ReadFailed(error);
                          recovering_ = true;
                          return QueueRead();
                      }
                      shared_->Apply(snapshot);
                      // The server is back: this desk's own connection is tried now, so that the claims it
                      // lost are taken back while the grace after a restart lasts.
                      if (std::exchange(recovering_, false)) return Refresh();
                      QueueRead();
                  });
}

// What was read of the shared queue is on screen: orders that joined it, every state, the trouble.
void OrderQueueWindow::QueueRead() {
    model_->Sync();
    const std::string& trouble = queue_.Trouble();
    Label_Trouble->setText(
        trouble.empty() ? QString()
                        : QFromUtf8("共有の注文一覧につながりません。この作業台が受け持っている注文だけ"
                                    "印刷できます（%1）")
                              .arg(FromCp932(trouble)));
    Label_Trouble->setVisible(!trouble.empty());
    UpdateState();
}

// The main window's slip is no longer the current order's (cleared, typed over, a recorded slip
// loaded): its claim goes back to the queue for any desk.
void OrderQueueWindow::SlipChanged() {
    if (loading_ || desk_.FromOrder() || !queue_.Current()) return;
    queue_.Unload();
    model_->Sync();
    UpdateState();
}

bool OrderQueueWindow::Pick(int row) {
    if (Running() || importing_ || row < 0 || row >= Count()) return false;
    if (queue_.PrintedBefore(static_cast<std::size_t>(row), record_.get()) &&
        !msgbox::AskYesNo(QFromUtf8("注文「%1」は印刷済みです。\nもう一度印刷するために読み込みますか?")
                              .arg(NameOf(OrderAt(row)))))
        return false;
    return Load(row, true);
}

bool OrderQueueWindow::Load(int row, bool activateMain) {
    if (!queue_.Load(static_cast<std::size_t>(row))) {
        QueueRead();
        const orders::QueueRow& now = queue_.Row(static_cast<std::size_t>(row));
        if (now.state == Status::Claimed)
            msgbox::Notify(QFromUtf8("注文「%1」は作業台「%2」が作業中です")
                               .arg(NameOf(OrderAt(row)), FromCp932(now.desk)));
        else if (!queue_.Trouble().empty())
            msgbox::Notify(QFromUtf8("共有の注文一覧につながらないため、注文「%1」を読み込めません。\n%2")
                               .arg(NameOf(OrderAt(row)), FromCp932(queue_.Trouble())));
        else
            msgbox::Notify(QFromUtf8("注文「%1」はもう未印刷ではありません").arg(NameOf(OrderAt(row))));
        return false;
    }
    Show(row, activateMain);
    return true;
}

void OrderQueueWindow::Show(int row, bool activateMain) {
    const orders::Order& o = OrderAt(row);
    history::QueueMark mark;
    if (shared_) mark = {shared_->IdAt(static_cast<std::size_t>(row)), shared_->Desk()};
    {
        QScopedValueRollback<bool> quiet(loading_, true); // the fields change: the link is being made
        desk_.LoadOrder(orders::FieldsForSlip(o.fields), LinkOf(o), mark);
    }
    model_->Sync();
    Table->setCurrentIndex(model_->index(row, 0));
    Table->scrollTo(model_->index(row, 0));
    if (activateMain) desk_.BringForward();
    UpdateState();
}

void OrderQueueWindow::ToggleHold(int row) {
    if (row < 0 || row >= Count()) return;
    queue_.ToggleHold(static_cast<std::size_t>(row));
    QueueRead();
}

void OrderQueueWindow::ToggleCancel(int row) {
    if (row < 0 || row >= Count()) return;
    const Status state = StatusOf(row);
    if (state == Status::Printed || state == Status::Claimed) return;
    if (state != Status::Cancelled &&
        !msgbox::AskYesNo(QFromUtf8("注文「%1」を取り消しますか?\n取り消した注文は印刷されません")
                              .arg(NameOf(OrderAt(row)))))
        return;
    queue_.ToggleCancel(static_cast<std::size_t>(row));
    QueueRead();
}

// The job of the order in the main window was accepted: mark it and load the next open one.
void OrderQueueWindow::SlipPrinted() {
    const int printed = Current();
    if (printed < 0 || !desk_.FromOrder()) return; // a slip typed by hand, or an order of another file
    queue_.CurrentPrinted();
    model_->RowChanged(printed);
    if (Running()) return; // the run loads its own next order
    const std::optional<std::size_t> next = queue_.LoadNextOpen(static_cast<std::size_t>(printed));
    if (!next) {
        QueueRead();
        return;
    }
    Show(static_cast<int>(*next), true);
    // Told once the job's own handler has returned, so one slip after another never nests.
    if (desk_.Stock() == slip::Stock::HandFed) QTimer::singleShot(0, this, [this] { TellNextHandFed(); });
}

// The next order is loaded, not printed: the clerk sets the slip, looks at it and prints with F11.
void OrderQueueWindow::TellNextHandFed() {
    if (Running() || Current() < 0 || !desk_.FromOrder() || StatusOf(Current()) != Status::Open) return;
    const orders::Order& o = OrderAt(Current());
    msgbox::Notify(QFromUtf8("次の送り状をセットしてください\n読み込んだ注文: %1（%2）\nF11で印刷します")
                       .arg(NameOf(o), QFromUtf8(o.fields.Edit_Custo1)));
    desk_.FocusSlip();
}

// The orders with problems among those a run would print: listed, and asked about before any is.
bool OrderQueueWindow::AskAboutProblems(const std::vector<std::size_t>& rows) {
    constexpr std::size_t kListed = 8;
    QString text = QFromUtf8("確認が必要な注文が %1件あります。\n").arg(rows.size());
    for (std::size_t i = 0; i < rows.size() && i < kListed; ++i) {
        const orders::Order& o = queue_.At(rows[i]);
        auto problem = std::find_if(o.warnings.begin(), o.warnings.end(), [](const orders::OrderWarning& w) {
            return w.severity == orders::Severity::Problem;
        });
        text += QFromUtf8("・%1（%2）: %3\n")
                    .arg(NameOf(o), QFromUtf8(o.fields.Edit_Custo1), QFromUtf8(problem->text));
    }
    if (rows.size() > kListed) text += QFromUtf8("（ほか%1件）\n").arg(rows.size() - kListed);
    return msgbox::AskYesNo(text + QFromUtf8("このまま印刷しますか?"));
}

void OrderQueueWindow::PrintRest() {
    if (Running() || importing_) return;
    if (desk_.Stock() != slip::Stock::Continuous) {
        msgbox::Notify(QFromUtf8("「残りをすべて印刷」は連続用紙（連続(４インチ)）のときに使えます"));
        return;
    }
    if (!desk_.FromOrder()) queue_.Unload(); // the slip shows none of ours: start from the next open one
    orders::OrderQueue::RunPlan plan = queue_.PlanRun();
    if (plan.orders.empty()) {
        msgbox::Notify(QFromUtf8("印刷する注文がありません"));
        return;
    }
    if (!plan.problems.empty() && !AskAboutProblems(plan.problems)) return;
    if (!msgbox::AskYesNo(QFromUtf8("残りの注文 %1件をすべて印刷しますか?").arg(plan.orders.size()))) return;
    Progress->setRange(0, static_cast<int>(plan.orders.size()));
    Progress->setValue(0);
    queue_.StartRun(std::move(plan));
    UpdateState();
    QTimer::singleShot(0, this, [this] { RunStep(); });
}

void OrderQueueWindow::RunStep() {
    if (!Running()) return;
    const std::optional<std::size_t> before = queue_.Current();
    const bool linked = desk_.FromOrder();
    const std::optional<std::size_t> next = queue_.RunNext(); // claimed for this desk
    if (!next) return EndRun();
    // The order in the main window goes as it stands: the user may have corrected it.
    if (next != before || !linked) Show(static_cast<int>(*next), false);
    if (!Guarded([this] { desk_.PrintSlip(); })) {
        queue_.EndRun(orders::RunEnd::Failed);
        return EndRun();
    }
    if (queue_.State(*next) != Status::Printed) { // the link was lost
        queue_.EndRun(orders::RunEnd::Finished);
        return EndRun();
    }
    Progress->setValue(static_cast<int>(queue_.RunDone()));
    Label_State->setText(QFromUtf8("印刷中 %1／%2").arg(queue_.RunDone()).arg(queue_.RunTotal()));
    QTimer::singleShot(0, this, [this] { RunStep(); });
}

void OrderQueueWindow::StopRun() {
    queue_.StopRun();
    if (importing_) stopImport_ = true;
}

void OrderQueueWindow::EndRun() {
    // What the run left printed in the main window gives way to the next open order.
    if (auto c = queue_.Current(); c && queue_.State(*c) == Status::Printed)
        if (auto n = queue_.LoadNextOpen(c)) Show(static_cast<int>(*n), false);
    UpdateState();
    const std::size_t done = queue_.RunDone();
    switch (queue_.LastRunEnd().value_or(orders::RunEnd::Finished)) {
    case orders::RunEnd::Stopped:
        Label_State->setText(QFromUtf8("中止しました（%1件印刷）").arg(done));
        break;
    case orders::RunEnd::Failed:
        Label_State->setText(QFromUtf8("エラーのため止めました（%1件印刷）").arg(done));
        break;
    case orders::RunEnd::Finished:
        Label_State->setText(QFromUtf8("%1件印刷しました").arg(done));
        break;
    }
}

void OrderQueueWindow::SelectionChanged() {
    const int row = Table->currentIndex().row();
    QStringList lines;
    if (row >= 0 && row < Count())
        for (orders::Severity s : {orders::Severity::Problem, orders::Severity::Note})
            for (const orders::OrderWarning& w : OrderAt(row).warnings)
                if (w.severity == s)
                    lines << (s == orders::Severity::Problem
                                  ? QFromUtf8("<span style=\"color:#b00000\">・要確認: %1</span>")
                                  : QFromUtf8("<span style=\"color:#707070\">・%1</span>"))
                                 .arg(QFromUtf8(w.text).toHtmlEscaped());
    Label_Warnings->setText(lines.join(QStringLiteral("<br>")));
    Label_Warnings->setVisible(!lines.isEmpty());
    UpdateState();
}

void OrderQueueWindow::UpdateState() {
    const bool busy = Running() || importing_;
    const bool any = Count() > 0;
    const int row = Table->currentIndex().row();
    const bool continuous = desk_.Stock() == slip::Stock::Continuous;
    Button_Open->setEnabled(!busy);
    Button_Pick->setEnabled(!busy && row >= 0);
    const bool mayChange =
        row >= 0 && row < Count() && StatusOf(row) != Status::Printed && StatusOf(row) != Status::Claimed;
    Button_Hold->setEnabled(!busy && mayChange && StatusOf(row) != Status::Cancelled);
    Button_Cancel->setEnabled(!busy && mayChange);
    Button_PrintRest->setEnabled(!busy && any && continuous);
    Button_PrintRest->setToolTip(continuous ? QString()
                                            : QFromUtf8("連続用紙（連続(４インチ)）のときに使えます"));
    Progress->setVisible(busy);
    Button_Stop->setVisible(busy);
    if (busy) return;
    if (!any) {
        Label_State->clear();
        return;
    }
    const orders::QueueCounts counts = queue_.Counts();
    QString text = counts.open == 0 && counts.claimed == 0 ? QFromUtf8("すべての注文を印刷しました")
                                                           : QFromUtf8("未印刷 %1件").arg(counts.open);
    if (counts.claimed > 0) text += QFromUtf8("（ほかの作業台で作業中 %1件）").arg(counts.claimed);
    Label_State->setText(text);
}
