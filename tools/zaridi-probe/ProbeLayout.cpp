// layout: the slip's draws for fields given as JSON.
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "print/SlipLayout.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace probe {
namespace {

using nlohmann::json;

std::string Text(const json& fields, const char* name) {
    auto it = fields.find(name);
    if (it == fields.end() || it->is_null()) return "";
    if (!it->is_string()) throw std::runtime_error(std::string("layout: ") + name + " must be a string");
    return cp932::FromUtf8(it->get<std::string>());
}

bool Checked(const json& fields, const char* name) {
    auto it = fields.find(name);
    if (it == fields.end() || it->is_null()) return false;
    if (!it->is_boolean())
        throw std::runtime_error(std::string("layout: ") + name + " must be true or false");
    return it->get<bool>();
}

} // namespace

static json TextOrNull(const std::string& cp932Text) {
    std::string utf8 = cp932::ToUtf8(cp932Text);
    if (utf8.find("\xEF\xBF\xBD") != std::string::npos) return nullptr; // not whole characters
    return utf8;
}

SlipFields SlipFieldsFromJson(const json& f) {
    SlipFields s;
    s.dpix = Text(f, "Label_dpix");
    s.dpiy = Text(f, "Label_dpiy");
    s.prnTop = Text(f, "Label_Prn_Top");
    s.prnLeft = Text(f, "Label_Prn_Left");
    s.zip = Text(f, "Edit_Zip");
    s.add1 = Text(f, "Edit_Add1");
    s.add2 = Text(f, "Edit_Add2");
    s.add3 = Text(f, "Edit_Add3");
    s.custo1 = Text(f, "Edit_Custo1");
    s.tel = Text(f, "Edit_tel");
    s.g1 = Text(f, "Edit_G1");
    s.g2 = Text(f, "Edit_G2");
    s.g3 = Text(f, "Edit_G3");
    s.date = Text(f, "DateTimePicker_1");
    s.dateChecked = Checked(f, "CheckBox_Date_1");
    s.kosuu = Text(f, "KyNumEdit_KOSUU");
    s.priceSub = Text(f, "KyNumEdit_PriceSub");
    s.taxSub = Text(f, "KyNumEdit_TaxSub");
    s.p1 = Checked(f, "CheckBox_p1");
    s.p2 = Checked(f, "CheckBox_p2");
    s.p3 = Checked(f, "CheckBox_p3");
    s.myChecked = Checked(f, "CheckBox_My");
    s.myZip = Text(f, "Edit_MyZip");
    s.myAdd1 = Text(f, "Edit_MyADD1");
    s.myAdd2 = Text(f, "Edit_MyADD2");
    s.my = Text(f, "Edit_My");
    s.myTel = Text(f, "Edit_MyTEL");
    return s;
}

int Layout(const Args& a) {
    if (!a.empty()) throw UsageError{"layout < {\"fields\": {...}}"};
    json input = json::parse(ReadStdin());
    const SlipFields s = SlipFieldsFromJson(input.contains("fields") ? input["fields"] : json::object());

    json out;
    try {
        json draws = json::array();
        for (const SlipDraw& d : LayoutSlip(s)) {
            draws.push_back({{"text", TextOrNull(d.text)},
                             {"hex", HexBytes(d.text, "")},
                             {"font", cp932::ToUtf8(d.font)},
                             {"size", d.size},
                             {"x", d.x},
                             {"y", d.y}});
        }
        out["draws"] = draws;
    } catch (const Exception& e) {
        out = {{"error", cp932::ToUtf8(e.Message())}};
    }
    std::cout << out.dump() << "\n";
    return 0;
}

} // namespace probe
