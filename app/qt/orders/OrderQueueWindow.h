#pragma once
// The order queue (F8): the orders of one order file, picked one at a time into the main window and
// printed there. What happens to each order is orders::OrderQueue's; this window shows it and passes
// on what the user and the printer did. After each printed slip the order is marked and the next open
// one is loaded; on hand-fed slips the queue then asks for the next slip, on continuous slips it can
// print the rest. The file is read off the UI thread, with progress. The window is not modal: the main
// window stays usable for corrections while it is open.
#include "orders/OrderQueue.h"

#include <QString>
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
class SlipDesk;

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

    // Fills the main window with the order (after a question when it was printed before).
    bool Pick(int row);
    void ToggleHold(int row);
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

    QLabel* Label_File = nullptr;
    QTableView* Table = nullptr;
    QLabel* Label_Warnings = nullptr; // every warning of the selected order, problems first
    QPushButton* Button_Open = nullptr;
    QPushButton* Button_Pick = nullptr;
    QPushButton* Button_Hold = nullptr;
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
    void Load(int row, bool activateMain);
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
    orders::OrderQueue queue_;
    std::unique_ptr<HistoryPrintedRecord> record_;
    OrderQueueModel* model_ = nullptr;
    QString path_;
    bool importing_ = false;
    bool stopImport_ = false;
};
