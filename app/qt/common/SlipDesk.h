#pragma once
// What the windows around the main window (the order queue, the history, the preview, the
// print-position dialog, the slip routine) may ask of it, instead of reading its controls: the slip as
// a record, loading one, printing it, the slip stock, and word of what happened. The main window is
// the one implementation.
#include "history/HistoryRecord.h"
#include "print/SlipLayout.h"
#include "printer/PrintMode.h"
#include "slip/SlipRecord.h"
#include "slip/SlipStock.h"

#include <functional>
#include <optional>
#include <string>

class HelpBar;
class QObject;
class QWidget;
class TStoreAsker;
namespace history {}

class SlipDesk {
public:
    // The main window itself: the parent of the windows around it.
    virtual QWidget& DeskWindow() = 0;
    // The main window comes forward and active.
    virtual void BringForward() = 0;
    // The focus goes to the first field of the slip.
    virtual void FocusSlip() = 0;
    // The folder of the settings, registration, mapping and history files (a file-system path).
    virtual std::string WorkingDir() const = 0;
    virtual HelpBar& Help() = 0;

    // The slip as it stands, and the captions that place it on the page.
    virtual slip::Record SlipValues() const = 0;
    virtual LayoutCaptions SlipCaptions() const = 0;
    // The stock chosen in the list; nullopt while none is.
    virtual std::optional<slip::Stock> Stock() const = 0;
    // The list's text for it (CP932): the registration's section.
    virtual std::string StockName() const = 0;

    // An order into the slip: the fields an order fills (slip::kOrder), the rest as it is. The slip stays
    // that order's (its reference, platform and IDs go into the history with it) through any edit of its
    // fields, until the consignee is cleared or another order or a recorded slip is loaded; its record
    // notes which of the fields were changed from the order. The F11 question repeats the day and slot
    // the customer asked for (the link's delivery), so the clerk marks the slip's boxes. An order of the
    // shared queue names itself in `queue`: the record of its slip marks it printed.
    virtual void LoadOrder(const slip::Record& order, const history::OrderLink& link,
                           const history::QueueMark& queue = {}) = 0;
    virtual bool FromOrder() const = 0;
    // A recorded slip into the window: every value, the stock with its printer and margins.
    virtual void LoadRecorded(const slip::Record& values) = 0;

    // F11: the question, then the job.
    virtual void AskAndPrint() = 0;
    // The job alone, for those who ask their own question.
    virtual void PrintSlip() = 0;

    // `then` runs, for as long as `context` lives, after every job the spooler accepted; after every
    // change of the stock; after every change of any field of the slip.
    virtual void OnPrinted(QObject* context, std::function<void()> then) = 0;
    virtual void OnStockChanged(QObject* context, std::function<void()> then) = 0;
    virtual void OnSlipChanged(QObject* context, std::function<void()> then) = 0;

    // The history's questions, asked off this thread (made on first use).
    virtual TStoreAsker& HistoryAsker() = 0;

    // The printer registration in force: the printer's index among the visible ones (CP932 caption),
    // the name to register, and new margins for the slip (captions in dots).
    virtual std::string PrinterIndexText() const = 0;
    virtual std::string RegisteredPrinterName() const = 0;
    // A printer is registered for the slip type (or chosen with F7): margins stored alone register none.
    virtual bool SlipTypeHasPrinter() const = 0;
    virtual void SetMargins(const std::string& top, const std::string& left) = 0;
    // How the stock's slips reach the printer, as registered; its margins count dots of that mode.
    virtual PrintMode SlipPrintMode() const = 0;

protected:
    ~SlipDesk() = default;
};
