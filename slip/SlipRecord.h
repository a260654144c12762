#pragma once
// One filled slip: every value the main window holds for it, under the window's design names, and the
// one table of its fields. The layout, the history, the settings file, the transfer, the orders and the
// probe all read and write a slip through this record; app/qt/form/SlipBinding is the only code that
// moves it between the record and the window. Texts are CP932.
//
// Adding a field: a member here, its row in kFields (SlipRecord.cpp), its control in the main window
// (named as the row), and its place in the layout.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace slip {

struct Record {
    std::string ComboBox_SEL; // slip stock text: "手差し" or "連続(４インチ)"
    std::string Edit_Zip, Edit_Add1, Edit_Add2, Edit_Add3, Edit_Custo1, Edit_tel;
    std::string Edit_G1, Edit_G2, Edit_G3;
    std::string KyNumEdit_KOSUU, KyNumEdit_PriceSub, KyNumEdit_TaxSub; // value texts
    bool CheckBox_p1 = false, CheckBox_p2 = false, CheckBox_p3 = false;
    bool CheckBox_My = true;
    std::string Edit_MyZip, Edit_MyADD1, Edit_MyADD2, Edit_My, Edit_MyTEL;
    bool CheckBox_Date_1 = true;
    std::string DateTimePicker_1; // "yyyy/MM/dd"

    bool operator==(const Record&) const = default;
};

// What kind of control holds a field, and so how its value reads and writes.
enum class Kind {
    Text,   // a one-line edit
    Number, // a numeric edit's value text
    Flag,   // a check box
    Day,    // a date field, as "yyyy/MM/dd"
    Stock,  // the slip-stock list, by its item's text
};

// Who fills a field besides the user's typing.
enum Source : unsigned {
    kOrder = 1u << 0,    // an order of the order queue
    kTransfer = 1u << 1, // the transfer of the paste memo
};

struct Field {
    // The design name: the control's name, the history's column, the key of the pending file and of
    // the probe's JSON.
    const char* name;
    Kind kind;
    std::string Record::*text; // set for every kind but Flag
    bool Record::*flag;        // set for Flag only
    // The key the settings file keeps the field under (null: not kept), what a missing key reads as,
    // and where a new settings file lists it (1 first; the file has always been written in that order).
    const char* settingsKey;
    const char* settingsDefault;
    int settingsPlace;
    unsigned filledBy; // Source bits
    // What the main window calls it (UTF-8): its caption, or the band's and the caption's where the
    // caption alone would be another field's.
    const char* caption;
};

inline constexpr std::size_t kFieldCount = 24;

// In the order the history lists them: its columns, the pending file's lines, the probe's keys.
extern const std::array<Field, kFieldCount> kFields;

// The row called `name`; null when there is none.
const Field* FindField(std::string_view name);

} // namespace slip
