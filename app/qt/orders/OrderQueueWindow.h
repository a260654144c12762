#pragma once
// The order queue (F8): the orders to print, picked one at a time into the main window and printed
// there. What happens to each order is orders::OrderQueue's; this window shows it and passes on what
// the user and the printer did. After each printed slip the order is marked and the next open one is
// loaded; on hand-fed slips the queue then asks for the next slip, on continuous slips it can print the
// rest. The file is read off the UI thread, with progress. The window is not modal: the main window
// stays usable for corrections while it is open.
//
// The orders live in the history's store (queue/StoreQueueStates.h), shared by every desk that records
// there: an import adds what the queue does not have yet, the list is read again every few seconds on
// a thread of its own, and an order is claimed for this desk before it is loaded. When the store is not
// one this program may use (another program's, a newer one's) the queue is this desk's alone, in memory,
// one file at a time.
#include "orders/OrderQueue.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class OrderQueueModel;
class HistoryPrintedRecord;
class QueueReader;
class SlipDesk;
namespace queue {
class StoreQueueStates;
}

class OrderQueueWindow : public QWidget {
    Q_OBJECT
public:
    using Status = orders::OrderState;

    // `workingDir` holds the settings file and the mapping file (a file-system path).
    OrderQueueWindow(SlipDesk& desk, std::string workingDir);
    ~OrderQueueWindow() override;

    // The file dialog, opened in the folder of the last file; then Import.
    void ChooseFile();
    // Reads the file on another thread while this one shows its progress and stays responsive, asks
    // for the columns it could not recognise, and replaces the queue. A file that cannot be imported is
    // reported and changes nothing, neither the queue nor the slip; so does a cancelled question.
    bool Import(const QString& path);
    bool Importing() const { return importing_; }
    // Replaces the queue with orders already built (the file named `path`).
    void SetOrders(std::vector<orders::Order> list, const QString& path);

    // Fills the main window with the order (after a question when it was printed before). Refused, with
    // word why, when another desk has it or the shared queue cannot be reached.
    bool Pick(int row);
    void ToggleHold(int row);
    // Cancels an order not yet printed (after a question), or takes a cancelled one back.
    void ToggleCancel(int row);
    // Reads the shared queue again now, on this thread (the timer reads on another one).
    void Refresh();
    // Continuous slips: every open order from the current one on, one job each, after a question about
    // the orders with problems among them.
    void PrintRest();
    // Stops a run before its next slip, or an import in progress.
    void StopRun();

    int Count() const { return static_cast<int>(queue_.Count()); }
    int Current() const { return queue_.Current() ? static_cast<int>(*queue_.Current()) : -1; }
    Status StatusOf(int row) const { return queue_.State(static_cast<std::size_t>(row)); }
    const orders::Order& OrderAt(int row) const { return queue_.At(static_cast<std::size_t>(row)); }
    bool Running() const { return queue_.Running(); }
    const orders::OrderQueue& Queue() const { return queue_; }
    // The shared queue's states, or null while the queue is this desk's alone.
    queue::StoreQueueStates* Shared() const { return shared_; }

    QLabel* Label_File = nullptr;
    QTableView* Table = nullptr;
    QLabel* Label_Warnings = nullptr; // every warning of the selected order, problems first
    QPushButton* Button_Open = nullptr;
    QPushButton* Button_Pick = nullptr;
    QPushButton* Button_Hold = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QLabel* Label_Desk = nullptr;    // this desk's name in the shared queue
    QLabel* Label_Trouble = nullptr; // red: the shared queue cannot be reached
    QPushButton* Button_PrintRest = nullptr;
    QProgressBar* Progress = nullptr; // a run's slips, or an import's rows
    QPushButton* Button_Stop = nullptr;
    QLabel* Label_State = nullptr;

    // Tests answer the file dialog: given the folder it would open in, the chosen file or "" for none.
    using FileChooser = std::function<QString(const QString& folder)>;
    static void SetFileChooser(FileChooser chooser);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SlipPrinted();
    // The order into the main window, claimed for this desk first; false when it could not be.
    bool Load(int row, bool activateMain);
    // The main window shows the current order: its fields, and its name in the shared queue.
    void Show(int row, bool activateMain);
    void SlipChanged();
    void ReadInBackground();
    void QueueRead();
    void TellNextHandFed();
    bool AskAboutProblems(const std::vector<std::size_t>& rows);
    void RunStep();
    void EndRun();
    void SelectionChanged();
    void UpdateState();
    QString LastFolder() const;
    bool AskMapping(orders::MappingQuestion& question);

    SlipDesk& desk_;
    std::string workingDir_;
    queue::StoreQueueStates* shared_ = nullptr; // owned by queue_; before it, as queue_ sets it
    orders::OrderQueue queue_;
    QueueReader* reader_ = nullptr;
    QTimer refresh_;
    bool loading_ = false;    // an order is going into the main window
    bool recovering_ = false; // the last read in the background failed
    std::unique_ptr<HistoryPrintedRecord> record_;
    OrderQueueModel* model_ = nullptr;
    QString path_;
    bool importing_ = false;
    bool stopImport_ = false;
};
