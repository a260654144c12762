#pragma once
// Shared plumbing of the probe's subcommands: UTF-8 on the outside, CP932 inside.
#include "print/SlipLayout.h"
#include "slip/SlipRecord.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orders {
struct Order;
}

namespace probe {

using Args = std::vector<std::string>; // the arguments after the subcommand's name, UTF-8

// Each subcommand returns the exit code; errors are thrown and reported by main.
int Ini(const Args& args);
int Cp932Hex(const Args& args);
int Layout(const Args& args);
int Preview(const Args& args);
int Escp(const Args& args);
int Tax(const Args& args);
int Printers(const Args& args);
int NumEdit(const Args& args);
int Fold(const Args& args);
int Count(const Args& args);
int Classify(const Args& args);
int Judge(const Args& args);
int Strip(const Args& args);
int CompactMemo(const Args& args);
int Split(const Args& args);
int Transfer(const Args& args);
int Orders(const Args& args);
int OrderQueue(const Args& args); // orders load|claim|done|status
int History(const Args& args);
int Postcode(const Args& args);
int Tracking(const Args& args);

std::string ReadStdin();
// The slip as `layout` takes it: {"Label_dpix": "360", "Edit_Zip": ..., "CheckBox_My": true}, every
// field of slip::kFields by its name and the four captions. A missing text is empty, a missing flag
// false.
struct SlipInput {
    LayoutCaptions captions;
    slip::Record slip;
};
SlipInput SlipFromJson(const nlohmann::json& fields);
// The toolkit's fonts without a screen, for the subcommands that draw.
void EnsureGuiApplication();
// A JSON string as nlohmann's compact dump writes it, appended to `out`.
void AppendJsonString(std::string& out, std::string_view s);
// One order as `orders import` lists it (keys in byte order), with "id" when given.
void AppendOrderJson(std::string& out, const orders::Order& order, std::optional<std::int64_t> id = {});
// Upper-case hex pairs, `separator` between them.
std::string HexBytes(const std::string& bytes, const char* separator);
// Lines of `text` split at LF, a CR before the LF dropped; no empty last line for a final LF.
std::vector<std::string> SplitLines(const std::string& text);

// Raised for wrong usage; main prints the text and exits 2.
struct UsageError {
    std::string text;
};

} // namespace probe
