#include "slip/SampleSlip.h"

#include "platform/Cp932Codec.h"

namespace slip {

Record SampleSlip() {
    auto sj = [](const char* utf8) { return cp932::FromUtf8(utf8); };
    Record r;
    r.Edit_Zip = "123-4567";
    r.Edit_Add1 = sj("東京都千代田区千代田１－１");
    r.Edit_Add2 = sj("丸の内ビル３階");
    r.Edit_Add3 = sj("総務部御中");
    r.Edit_Custo1 = sj("山田太郎");
    r.Edit_tel = "090-1234-5678";
    r.Edit_G1 = sj("衣料品");
    r.Edit_G2 = sj("雑貨");
    r.Edit_G3 = sj("書籍");
    r.KyNumEdit_KOSUU = "120";
    r.KyNumEdit_PriceSub = "105000";
    r.KyNumEdit_TaxSub = "5000"; // what the amount contains
    r.CheckBox_p2 = true;
    r.CheckBox_My = true;
    r.Edit_MyZip = "530-0001";
    r.Edit_MyADD1 = sj("大阪府大阪市北区梅田１－１");
    r.Edit_MyADD2 = sj("梅田ビル");
    r.Edit_My = sj("タヴォ商店");
    r.Edit_MyTEL = "06-1234-5678";
    r.CheckBox_Date_1 = true;
    r.DateTimePicker_1 = "2026/12/07";
    return r;
}

} // namespace slip
