#include "slip/SlipRecord.h"

namespace slip {

#define ZARIDI_TEXT(n, kind, key, dflt, place, by)                                                           \
    Field {                                                                                                  \
#n, Kind::kind, &Record::n, nullptr, key, dflt, place, by                                            \
    }
#define ZARIDI_FLAG(n, by)                                                                                   \
    Field {                                                                                                  \
#n, Kind::Flag, nullptr, &Record::n, nullptr, nullptr, 0, by                                         \
    }
const std::array<Field, kFieldCount> kFields = {
    ZARIDI_TEXT(ComboBox_SEL, Stock, nullptr, nullptr, 0, 0),
    ZARIDI_TEXT(Edit_Zip, Text, "E_ZIP", "", 1, kOrder | kTransfer),
    ZARIDI_TEXT(Edit_Add1, Text, "E_AD1", "", 2, kOrder | kTransfer),
    ZARIDI_TEXT(Edit_Add2, Text, "E_AD2", "", 3, kOrder | kTransfer),
    ZARIDI_TEXT(Edit_Add3, Text, nullptr, nullptr, 0, kOrder | kTransfer),
    ZARIDI_TEXT(Edit_Custo1, Text, "E_CUS", "", 4, kOrder | kTransfer),
    ZARIDI_TEXT(Edit_tel, Text, "E_TEL", "", 5, kOrder | kTransfer),
    ZARIDI_TEXT(Edit_G1, Text, "E_G1", "", 6, kOrder),
    ZARIDI_TEXT(Edit_G2, Text, "E_G2", "", 7, kOrder),
    ZARIDI_TEXT(Edit_G3, Text, "E_G3", "", 8, kOrder),
    ZARIDI_TEXT(KyNumEdit_KOSUU, Number, "KOSUU", "1", 9, kOrder),
    ZARIDI_TEXT(KyNumEdit_PriceSub, Number, nullptr, nullptr, 0, kOrder),
    ZARIDI_TEXT(KyNumEdit_TaxSub, Number, nullptr, nullptr, 0, 0), // follows the amount
    ZARIDI_FLAG(CheckBox_p1, kOrder),                              // cash
    ZARIDI_FLAG(CheckBox_p2, 0),
    ZARIDI_FLAG(CheckBox_p3, 0),
    ZARIDI_FLAG(CheckBox_My, 0),
    ZARIDI_TEXT(Edit_MyZip, Text, "OP023MyZip", "", 11, 0),
    ZARIDI_TEXT(Edit_MyADD1, Text, "OP023MyADD1", "", 12, 0),
    ZARIDI_TEXT(Edit_MyADD2, Text, "OP023MyADD2", "", 13, 0),
    ZARIDI_TEXT(Edit_My, Text, "OP023My", "", 10, 0),
    ZARIDI_TEXT(Edit_MyTEL, Text, "OP023MyTEL", "", 14, 0),
    ZARIDI_FLAG(CheckBox_Date_1, 0),
    ZARIDI_TEXT(DateTimePicker_1, Day, nullptr, nullptr, 0, 0),
};
#undef ZARIDI_TEXT
#undef ZARIDI_FLAG

const Field* FindField(std::string_view name) {
    for (const Field& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

} // namespace slip
