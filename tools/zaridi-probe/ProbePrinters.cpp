// printers [--index N]: what the printer object sees of the scheduler's printers, as one JSON object.
#include "Probe.h"

#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "printer/qt/HqPrinterInstance.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace probe {

namespace {

using json = nlohmann::ordered_json;

json Utf8List(const std::vector<std::string>& list) {
    json out = json::array();
    for (const std::string& s : list)
        out.push_back(cp932::ToUtf8(s));
    return out;
}

json NumberedList(const std::vector<std::string>& names, const std::vector<std::uint16_t>& numbers) {
    json out = json::array();
    for (std::size_t i = 0; i < names.size() && i < numbers.size(); ++i)
        out.push_back({{"number", numbers[i]}, {"name", cp932::ToUtf8(names[i])}});
    return out;
}

} // namespace

int Printers(const Args& a) {
    const std::string usage = "printers [--index N]";
    if (!(a.empty() || (a.size() == 2 && a[0] == "--index"))) throw UsageError{usage};
    THqPrinterInstance instance;
    THqPrinter& printer = HqPrinter();
    if (a.size() == 2) printer.SetIndex(StrToInt(a[1]));

    json errors = json::object();
    // Each value is taken on its own: a failing operation gives null and its message under "errors".
    auto take = [&](const char* key, auto get) -> json {
        try {
            return get();
        } catch (const Exception& e) {
            errors[key] = cp932::ToUtf8(e.Message());
            return nullptr;
        }
    };

    json out;
    out["printers"] = take("printers", [&] { return Utf8List(printer.GetPrinterNames()); });
    out["index"] = take("index", [&] { return json(printer.GetIndex()); });
    out["ports"] = take("ports", [&] { return Utf8List(printer.GetPortNames()); });
    json current;
    current["papers"] =
        take("papers", [&] { return NumberedList(printer.GetPaperSizeNames(), printer.PaperNumbers()); });
    current["paperIndex"] = take("paperIndex", [&] { return json(printer.GetPaperSizeIndex()); });
    current["bins"] = take("bins", [&] { return NumberedList(printer.GetBinNames(), printer.BinNumbers()); });
    current["binIndex"] = take("binIndex", [&] { return json(printer.GetBinIndex()); });
    current["resolution"] = take("resolution", [&] {
        TPoint dpi;
        printer.GetResolution(dpi);
        return json::array({dpi.X, dpi.Y});
    });
    current["scale"] = take("scale", [&] { return json(printer.GetScale()); });
    current["fields"] = take("fields", [&] { return json(printer.GetSupportedFields()); });
    out["current"] = current;
    if (!errors.empty()) out["errors"] = errors;
    std::cout << out.dump() << "\n";
    return 0;
}

} // namespace probe
