#pragma once
// The only code that reads the main window into a slip record or writes a record into the window.
// Every field's control is found once, by the design name its row in slip::kFields gives it.
#include "print/SlipLayout.h"
#include "slip/SlipRecord.h"

#include <QObject>

#include <array>
#include <functional>

class TForm_Main;

class SlipBinding {
public:
    // After the window has built its controls; EAssertionFailed when a field has none.
    explicit SlipBinding(TForm_Main& form);

    // Every field as it stands.
    slip::Record Read() const;
    // The captions that place the page: resolution and margins.
    LayoutCaptions Captions() const;

    // Writes the fields `pick` chooses, in the table's order, each through its change handler as
    // typing would; the slip stock last. A date that is not a day leaves the date as it is, a stock text
    // the list does not hold leaves the stock. True when the stock changed (its handler is the caller's).
    using Pick = bool (*)(const slip::Field&);
    bool Write(const slip::Record& values, Pick pick) const;

    // `changed` runs on every change of any field, for as long as `context` lives.
    void Watch(QObject* context, const std::function<void()>& changed) const;

private:
    TForm_Main& form_;
    std::array<QObject*, slip::kFieldCount> controls_{};
};

// Picks for Write: every field; those the settings file keeps; those an order fills; those the
// transfer of the paste memo gives back.
inline bool EveryField(const slip::Field&) {
    return true;
}
inline bool KeptInSettings(const slip::Field& f) {
    return f.settingsKey != nullptr;
}
inline bool FilledByOrders(const slip::Field& f) {
    return (f.filledBy & slip::kOrder) != 0;
}
inline bool FilledByTransfer(const slip::Field& f) {
    return (f.filledBy & slip::kTransfer) != 0;
}
