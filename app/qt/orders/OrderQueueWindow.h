#pragma once
// The order queue (F8): the orders of one order file, picked one at a time into the main window and
// printed there. After each printed slip the order is marked and the next open one is loaded; on
// hand-fed slips the queue then asks for the next slip, on continuous slips it can print the rest.
// The window is not modal: the main window stays usable for corrections while it is open.
#include "orders/Orders.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class OrderQueueModel;
class SlipDesk;

class OrderQueueWindow : public QWidget {
    Q_OBJECT
public:
    enum class Status { Open, Printed, Held };

    // `workingDir` holds the settings file and the mapping file (a file-system path).
    OrderQueueWindow(SlipDesk& desk, std::string workingDir);
    ~OrderQueueWindow() override;

    // The file dialog, opened in the folder of the last file; then Import.
    void ChooseFile();
    // Reads the file, asking for the columns it could not recognise, and replaces the queue. A file
    // that cannot be imported is reported and changes nothing, neither the queue nor the slip.
    bool Import(const QString& path);
    // Replaces the queue with orders already built (the file named `path`).
    void SetOrders(std::vector<orders::Order> list, const QString& path);

    // Fills the main window with the order (after a question when it was printed before).
    bool Pick(int row);
    void ToggleHold(int row);
    // Continuous slips: every open order from the current one on, one job each.
    void PrintRest();
    void StopRun();

    int Count() const;
    int Current() const { return current_; } // the order in the main window, -1 when none
    Status StatusOf(int row) const;
    const orders::Order& OrderAt(int row) const;
    bool Running() const { return run_.has_value(); }
    // Whether printing the order again needs the question: printed in this session (the history's own
    // record of earlier sessions belongs here too).
    bool AlreadyPrinted(int row) const;

    QLabel* Label_File = nullptr;
    QTableView* Table = nullptr;
    QLabel* Label_Warnings = nullptr; // every warning of the selected order
    QPushButton* Button_Open = nullptr;
    QPushButton* Button_Pick = nullptr;
    QPushButton* Button_Hold = nullptr;
    QPushButton* Button_PrintRest = nullptr;
    QProgressBar* Progress = nullptr;
    QPushButton* Button_Stop = nullptr;
    QLabel* Label_State = nullptr;

    // Tests answer the file dialog: given the folder it would open in, the chosen file or "" for none.
    using FileChooser = std::function<QString(const QString& folder)>;
    static void SetFileChooser(FileChooser chooser);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Run {
        int total = 0, done = 0;
        bool stop = false;
    };

    void SlipPrinted();
    void Load(int row, bool activateMain);
    int NextOpen(int after) const; // the first open order after `after`, wrapping round; -1 when none
    int OpenCount() const;
    void AskNextHandFed();
    void RunStep();
    void EndRun(const QString& why);
    void SelectionChanged();
    void UpdateState();
    QString LastFolder() const;

    SlipDesk& desk_;
    std::string workingDir_;
    OrderQueueModel* model_ = nullptr;
    QString path_;
    int current_ = -1;
    std::optional<Run> run_;
};
