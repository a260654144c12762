// numedit: drive the numeric field's model with settings, a starting text and a key script, and
// report what the field holds afterwards. JSON in on stdin, JSON out on stdout.
#include "Probe.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "widgets/KyNumEditModel.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>

namespace probe {

namespace {

// Ordered: settings are applied in the order the request lists them, and the answer keeps its
// documented field order.
using json = nlohmann::ordered_json;

struct Run {
    KyNumEditModel m;
    int changes = 0;
    int refused = 0;
    int beeps = 0;
    std::vector<std::string> moves;
    std::optional<std::string> clipboard; // CP932
    int clientWidth = 117;
    int clientHeight = 16;

    Run() {
        m.OnChange = [this] { ++changes; };
        m.OnBeep = [this] { ++beeps; };
        m.OnFocusMove = [this](bool previous) { moves.push_back(previous ? "prev" : "next"); };
        m.ClipboardGet = [this] { return clipboard; };
        m.ClipboardSet = [this](const std::string& t) { clipboard = t; };
    }
    void Count(KeyResult r) {
        if (r == KeyResult::Refused) ++refused;
    }
};

[[noreturn]] void Bad(const std::string& what) {
    throw std::runtime_error("numedit: " + what);
}

bool AsBool(const std::string& name, const json& v) {
    if (v.is_boolean()) return v.get<bool>();
    Bad(name + " wants true or false");
}

int AsInt(const std::string& name, const json& v) {
    if (v.is_number_integer()) {
        long long n = v.get<long long>();
        if (n >= INT32_MIN && n <= INT32_MAX) return static_cast<int>(n);
    }
    Bad(name + " wants a 32-bit integer");
}

std::string AsText(const std::string& name, const json& v) {
    if (v.is_string()) return cp932::FromUtf8(v.get<std::string>());
    Bad(name + " wants a string");
}

template <typename E>
E AsEnum(const std::string& name, const json& v, const std::map<std::string, E>& names) {
    if (v.is_string())
        if (auto it = names.find(v.get<std::string>()); it != names.end()) return it->second;
    std::string all;
    for (const auto& [n, e] : names)
        all += (all.empty() ? "" : ", ") + n;
    Bad(name + " wants one of " + all);
}

TKyNumEditOptions AsOptions(const json& v) {
    static const std::map<std::string, TKyNumEditOption> names = {
        {"eoMinusOnly", TKyNumEditOption::eoMinusOnly},
        {"eoArrowUp", TKyNumEditOption::eoArrowUp},
        {"eoArrowDown", TKyNumEditOption::eoArrowDown},
        {"eoAutoWidthSize", TKyNumEditOption::eoAutoWidthSize},
        {"eoORInputStop", TKyNumEditOption::eoORInputStop},
    };
    if (!v.is_array()) Bad("Options wants a list of option names");
    TKyNumEditOptions set;
    for (const json& item : v)
        set.Include(AsEnum("Options", item, names));
    return set;
}

void Apply(Run& run, const std::string& name, const json& v) {
    KyNumEditModel& m = run.m;
    static const std::map<std::string, void (KyNumEditModel::*)(bool)> bools = {
        {"ArrowFocusMove", &KyNumEditModel::SetArrowFocusMove},
        {"AutoSelect", &KyNumEditModel::SetAutoSelect},
        {"AutoSize", &KyNumEditModel::SetAutoSize},
        {"Comma", &KyNumEditModel::SetComma},
        {"Ctl3D", &KyNumEditModel::SetCtl3D},
        {"DecimalFixed", &KyNumEditModel::SetDecimalFixed},
        {"EnterFocusMove", &KyNumEditModel::SetEnterFocusMove},
        {"ErrorBeep", &KyNumEditModel::SetErrorBeep},
        {"HideSelection", &KyNumEditModel::SetHideSelection},
        {"ImageCopy", &KyNumEditModel::SetImageCopy},
        {"IntegerFixed", &KyNumEditModel::SetIntegerFixed},
        {"Minus", &KyNumEditModel::SetMinus},
        {"ReadOnly", &KyNumEditModel::SetReadOnly},
        {"ZeroEnabled", &KyNumEditModel::SetZeroEnabled},
        {"TabStop", &KyNumEditModel::SetTabStop},
    };
    static const std::map<std::string, void (KyNumEditModel::*)(int)> ints = {
        {"BottomMargin", &KyNumEditModel::SetBottomMargin},
        {"DecimalLength", &KyNumEditModel::SetDecimalLength},
        {"IntegerLength", &KyNumEditModel::SetIntegerLength},
        {"LeftMargin", &KyNumEditModel::SetLeftMargin},
        {"RightMargin", &KyNumEditModel::SetRightMargin},
        {"TopMargin", &KyNumEditModel::SetTopMargin},
    };
    if (auto it = bools.find(name); it != bools.end()) {
        (m.*it->second)(AsBool(name, v));
    } else if (auto jt = ints.find(name); jt != ints.end()) {
        (m.*jt->second)(AsInt(name, v));
    } else if (name == "LeftMark") {
        m.SetLeftMark(AsText(name, v));
    } else if (name == "RightMark") {
        m.SetRightMark(AsText(name, v));
    } else if (name == "Text") {
        m.SetText(AsText(name, v));
    } else if (name == "Options") {
        m.SetOptions(AsOptions(v));
    } else if (name == "Alignment") {
        m.SetAlignment(AsEnum<TAlignment>(name, v,
                                          {{"taLeftJustify", TAlignment::taLeftJustify},
                                           {"taRightJustify", TAlignment::taRightJustify},
                                           {"taCenter", TAlignment::taCenter}}));
    } else if (name == "VertAlignment") {
        m.SetVertAlignment(AsEnum<TVertAlignment>(name, v,
                                                  {{"taTopJustify", TVertAlignment::taTopJustify},
                                                   {"taBottomJustify", TVertAlignment::taBottomJustify},
                                                   {"taVCenter", TVertAlignment::taVCenter}}));
    } else if (name == "BorderStyle") {
        m.SetBorderStyle(AsEnum<TBorderStyle>(
            name, v, {{"bsNone", TBorderStyle::bsNone}, {"bsSingle", TBorderStyle::bsSingle}}));
    } else if (name == "ImeMode") {
        m.SetImeMode(AsEnum<TImeMode>(name, v,
                                      {{"imDisable", TImeMode::imDisable},
                                       {"imClose", TImeMode::imClose},
                                       {"imOpen", TImeMode::imOpen},
                                       {"imDontCare", TImeMode::imDontCare},
                                       {"imSAlpha", TImeMode::imSAlpha},
                                       {"imAlpha", TImeMode::imAlpha},
                                       {"imHira", TImeMode::imHira},
                                       {"imSKata", TImeMode::imSKata},
                                       {"imKata", TImeMode::imKata},
                                       {"imChinese", TImeMode::imChinese},
                                       {"imSHanguel", TImeMode::imSHanguel},
                                       {"imHanguel", TImeMode::imHanguel}}));
    } else if (name == "Color" || name == "DisabledColor" || name == "ImeName") {
        AsText(name, v); // drawing and input-method choices: nothing the model reports depends on them
    } else if (name == "Font") {
        // Text is measured by text_width_per_byte here, so the font has nothing to change.
    } else if (name == "ClientWidth") {
        run.clientWidth = AsInt(name, v);
        m.SetClientSize(run.clientWidth, run.clientHeight);
    } else if (name == "ClientHeight") {
        run.clientHeight = AsInt(name, v);
        m.SetClientSize(run.clientWidth, run.clientHeight);
    } else {
        Bad("unknown property " + name);
    }
}

// {SET:Name=value}: the value as JSON when it reads as JSON (true, 12, ["eoMinusOnly"]), else as a
// plain string; Options also take a bare comma list.
void ApplyText(Run& run, const std::string& assignment) {
    std::size_t eq = assignment.find('=');
    if (eq == std::string::npos) Bad("{SET:Name=value} needs an '='");
    std::string name = assignment.substr(0, eq);
    std::string text = assignment.substr(eq + 1);
    json value = json::parse(text, nullptr, false);
    if (name == "LeftMark" || name == "RightMark" || name == "Text" || value.is_discarded()) value = text;
    if (name == "Options" && value.is_string()) {
        json list = json::array();
        std::string item;
        for (char c : text + ",") {
            if (c == ',') {
                if (!item.empty()) list.push_back(item);
                item.clear();
            } else if (c != ' ' && c != '[' && c != ']') {
                item += c;
            }
        }
        value = list;
    }
    Apply(run, name, value);
}

void KeyDownPress(Run& run, KyKey key, KyModifiers mods, std::optional<unsigned> press) {
    KeyResult down = run.m.KeyDown(key, mods);
    KeyResult up = press ? run.m.KeyPress(*press) : KeyResult::Consumed;
    if (down == KeyResult::Refused || up == KeyResult::Refused) ++run.refused;
}

void TypeText(Run& run, const std::string& utf8) {
    std::string bytes = cp932::FromUtf8(utf8);
    for (std::size_t i = 0; i < bytes.size(); i = cp932::NextChar(bytes, i)) {
        unsigned code = static_cast<unsigned char>(bytes[i]);
        if (cp932::CharLength(bytes, i) == 2) code = code << 8 | static_cast<unsigned char>(bytes[i + 1]);
        run.Count(run.m.KeyPress(code));
    }
}

void Ime(Run& run, const std::string& utf8) {
    std::string bytes = cp932::FromUtf8(utf8);
    for (std::size_t i = 0; i < bytes.size(); i = cp932::NextChar(bytes, i))
        run.Count(run.m.ImeChar(std::string_view(bytes).substr(i, cp932::CharLength(bytes, i))));
}

struct Plain {
    KyKey key;
    KyModifiers mods;
    std::optional<unsigned> press;
};

// A token's name without braces; false when it is not one.
bool RunToken(Run& run, const std::string& token) {
    static const std::map<std::string, Plain> keys = {
        {"BS", {KyKey::Backspace, {}, kCharBackspace}},
        {"DEL", {KyKey::Delete, {}, std::nullopt}},
        {"ENTER", {KyKey::Enter, {}, kCharEnter}},
        {"LEFT", {KyKey::Left, {}, std::nullopt}},
        {"RIGHT", {KyKey::Right, {}, std::nullopt}},
        {"UP", {KyKey::Up, {}, std::nullopt}},
        {"DOWN", {KyKey::Down, {}, std::nullopt}},
        {"HOME", {KyKey::Home, {}, std::nullopt}},
        {"END", {KyKey::End, {}, std::nullopt}},
        {"PGUP", {KyKey::PageUp, {}, std::nullopt}},
        {"PGDN", {KyKey::PageDown, {}, std::nullopt}},
        {"S-LEFT", {KyKey::Left, {true, false, false}, std::nullopt}},
        {"S-RIGHT", {KyKey::Right, {true, false, false}, std::nullopt}},
        {"C-A", {KyKey::A, {false, true, false}, kCharCtrlA}},
        {"C-C", {KyKey::C, {false, true, false}, kCharCtrlC}},
        {"C-V", {KyKey::V, {false, true, false}, kCharCtrlV}},
        {"C-X", {KyKey::X, {false, true, false}, kCharCtrlX}},
    };
    KyNumEditModel& m = run.m;
    if (auto it = keys.find(token); it != keys.end()) {
        KeyDownPress(run, it->second.key, it->second.mods, it->second.press);
        return true;
    }
    static const std::map<std::string, void (KyNumEditModel::*)()> ops = {
        {"FOCUS", &KyNumEditModel::FocusEnter},     {"BLUR", &KyNumEditModel::FocusExit},
        {"SELECTALL", &KyNumEditModel::SelectAll},  {"DESELECT", &KyNumEditModel::Deselect},
        {"CLEAR", &KyNumEditModel::ClearValue},     {"UNDO", &KyNumEditModel::Undo},
        {"COPY", &KyNumEditModel::CopyToClipboard}, {"CUT", &KyNumEditModel::CutToClipboard},
    };
    if (auto it = ops.find(token); it != ops.end()) {
        (m.*it->second)();
        return true;
    }
    std::size_t colon = token.find(':');
    if (colon == std::string::npos) return false;
    const std::string head = token.substr(0, colon), arg = token.substr(colon + 1);
    if (head == "IME") {
        Ime(run, arg);
    } else if (head == "CLIP") {
        run.clipboard = cp932::FromUtf8(arg);
    } else if (head == "PASTE") {
        // The operation itself, with this text as what the clipboard holds; the clipboard stays.
        auto saved = m.ClipboardGet;
        std::string text = cp932::FromUtf8(arg);
        m.ClipboardGet = [text] { return std::optional<std::string>(text); };
        m.PasteFromClipboard();
        m.ClipboardGet = saved;
    } else if (head == "TEXT") {
        m.SetText(cp932::FromUtf8(arg));
    } else if (head == "SET") {
        ApplyText(run, arg);
    } else if (head == "MENU") {
        int tag = -1;
        try {
            std::size_t used = 0;
            tag = std::stoi(arg, &used);
            if (used != arg.size()) tag = -1;
        } catch (const std::exception&) {
        }
        if (tag < 0 || tag >= kMenuItemCount) Bad("{MENU:n} wants a tag 0..7, not " + arg);
        if (m.MenuItemEnabled(tag, run.clipboard.has_value())) m.MenuClick(tag);
    } else {
        return false;
    }
    return true;
}

// One entry of "keys": a whole token, or plain text with tokens inside it.
void RunKeys(Run& run, const std::string& entry) {
    if (entry.size() >= 2 && entry.front() == '{' && entry.back() == '}' &&
        RunToken(run, entry.substr(1, entry.size() - 2)))
        return;
    std::string plain;
    std::size_t i = 0;
    while (i < entry.size()) {
        if (entry[i] == '{') {
            std::size_t close = entry.find('}', i);
            if (close != std::string::npos) {
                std::string token = entry.substr(i + 1, close - i - 1);
                TypeText(run, plain);
                plain.clear();
                if (RunToken(run, token)) {
                    i = close + 1;
                    continue;
                }
            }
        }
        plain += entry[i++];
    }
    TypeText(run, plain);
}

json Utf8OrNull(const std::optional<std::string>& cp) {
    return cp ? json(cp932::ToUtf8(*cp)) : json(nullptr);
}

} // namespace

int NumEdit(const Args& args) {
    if (!args.empty()) throw UsageError{"numedit < request.json"};
    json in = json::parse(ReadStdin());
    if (!in.is_object()) Bad("the request must be a JSON object");
    Run run;
    if (in.contains("text_width_per_byte")) {
        const json& n = in["text_width_per_byte"];
        if (!n.is_number_integer() || n.get<long long>() < 0 || n.get<long long>() > 1000)
            Bad("text_width_per_byte wants an integer 0..1000");
        const int perByte = n.get<int>();
        run.m.SetMeasure([perByte](std::string_view s) { return static_cast<int>(s.size()) * perByte; });
    }
    if (in.contains("settings")) {
        if (!in["settings"].is_object()) Bad("settings must be an object");
        for (const auto& [name, value] : in["settings"].items())
            Apply(run, name, value);
    }
    if (in.contains("initial_text")) run.m.SetText(AsText("initial_text", in["initial_text"]));
    run.changes = 0;
    if (in.contains("keys")) {
        if (!in["keys"].is_array()) Bad("keys must be a list of strings");
        for (const json& k : in["keys"]) {
            if (!k.is_string()) Bad("keys must be a list of strings");
            RunKeys(run, k.get<std::string>());
        }
    }
    json out = {
        {"value", cp932::ToUtf8(run.m.Text())},
        {"display", cp932::ToUtf8(run.m.DisplayText())},
        {"on_change", run.changes},
        {"selected", run.m.Selected()},
        {"undo_text", cp932::ToUtf8(run.m.UndoText())},
        {"undo_available", run.m.UndoAvailable()},
        {"refused", run.refused},
        {"beeps", run.beeps},
        {"focus_moves", run.moves},
        {"clipboard", Utf8OrNull(run.clipboard)},
    };
    std::cout << out.dump() << "\n";
    return 0;
}

} // namespace probe
