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

SlipInput SlipFromJson(const json& f) {
    SlipInput in;
    in.captions.dpix = Text(f, "Label_dpix");
    in.captions.dpiy = Text(f, "Label_dpiy");
    in.captions.prnTop = Text(f, "Label_Prn_Top");
    in.captions.prnLeft = Text(f, "Label_Prn_Left");
    for (const slip::Field& field : slip::kFields) {
        if (field.flag)
            in.slip.*field.flag = Checked(f, field.name);
        else
            in.slip.*field.text = Text(f, field.name);
    }
    return in;
}

int Layout(const Args& a) {
    if (!a.empty()) throw UsageError{"layout < {\"fields\": {...}}"};
    json input = json::parse(ReadStdin());
    const SlipInput s = SlipFromJson(input.contains("fields") ? input["fields"] : json::object());

    json out;
    try {
        json draws = json::array();
        for (const SlipDraw& d : LayoutSlip(s.captions, s.slip)) {
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
