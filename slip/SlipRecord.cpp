#include "slip/SlipRecord.h"

namespace slip {

#define ZARIDI_TEXT(n, kind, key, dflt, place, by, caption)                                                  \
    Field {                                                                                                  \
#n, Kind::kind, &Record::n, nullptr, key, dflt, place, by, caption                                   \
    }
#define ZARIDI_FLAG(n, by, caption)                                                                          \
    Field {                                                                                                  \
#n, Kind::Flag, nullptr, &Record::n, nullptr, nullptr, 0, by, caption                                \
    }
const std::array<Field, kFieldCount> kFields = {
    ZARIDI_TEXT(ComboBox_SEL, Stock, nullptr, nullptr, 0, 0, "用紙選択"),
    ZARIDI_TEXT(Edit_Zip, Text, "E_ZIP", "", 1, kOrder | kTransfer, "郵便番号"),
    ZARIDI_TEXT(Edit_Add1, Text, "E_AD1", "", 2, kOrder | kTransfer, "おところ①"),
    ZARIDI_TEXT(Edit_Add2, Text, "E_AD2", "", 3, kOrder | kTransfer, "おところ②"),
    ZARIDI_TEXT(Edit_Add3, Text, nullptr, nullptr, 0, kOrder | kTransfer, "おところ③"),
    ZARIDI_TEXT(Edit_Custo1, Text, "E_CUS", "", 4, kOrder | kTransfer, "おなまえ"),
    ZARIDI_TEXT(Edit_tel, Text, "E_TEL", "", 5, kOrder | kTransfer, "でんわ"),
    ZARIDI_TEXT(Edit_G1, Text, "E_G1", "", 6, kOrder, "品名1"),
    ZARIDI_TEXT(Edit_G2, Text, "E_G2", "", 7, kOrder, "品名2"),
    ZARIDI_TEXT(Edit_G3, Text, "E_G3", "", 8, kOrder, "品名3"),
    ZARIDI_TEXT(KyNumEdit_KOSUU, Number, "KOSUU", "1", 9, kOrder, "個数"),
    ZARIDI_TEXT(KyNumEdit_PriceSub, Number, nullptr, nullptr, 0, kOrder, "代引金額"),
    ZARIDI_TEXT(KyNumEdit_TaxSub, Number, nullptr, nullptr, 0, 0, "内消費税"), // follows the amount
    ZARIDI_FLAG(CheckBox_p1, kOrder, "現金"),                                  // cash
    ZARIDI_FLAG(CheckBox_p2, 0, "ﾃﾞﾋﾞｯﾄｶｰﾄﾞ"),
    ZARIDI_FLAG(CheckBox_p3, 0, "ｸﾚｼﾞｯﾄｶｰﾄﾞ"),
    ZARIDI_FLAG(CheckBox_My, 0, "ご依頼主"),
    ZARIDI_TEXT(Edit_MyZip, Text, "OP023MyZip", "", 11, 0, "ご依頼主の郵便番号"),
    ZARIDI_TEXT(Edit_MyADD1, Text, "OP023MyADD1", "", 12, 0, "ご依頼主のおところ"),
    ZARIDI_TEXT(Edit_MyADD2, Text, "OP023MyADD2", "", 13, 0, "ご依頼主のおところ（2行目）"),
    ZARIDI_TEXT(Edit_My, Text, "OP023My", "", 10, 0, "ご依頼主のおなまえ"),
    ZARIDI_TEXT(Edit_MyTEL, Text, "OP023MyTEL", "", 14, 0, "ご依頼主のでんわ"),
    ZARIDI_FLAG(CheckBox_Date_1, 0, "日付を印字"),
    ZARIDI_TEXT(DateTimePicker_1, Day, nullptr, nullptr, 0, 0, "日付"),
};
#undef ZARIDI_TEXT
#undef ZARIDI_FLAG

const Field* FindField(std::string_view name) {
    for (const Field& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

} // namespace slip
