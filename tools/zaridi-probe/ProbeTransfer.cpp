// fold, count, classify, judge, strip, compact, split, transfer: the pasted-text rules from the
// command line.
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "slip/SlipRecord.h"
#include "transfer/Compact.h"
#include "transfer/Judge.h"
#include "transfer/Split.h"
#include "transfer/Strip.h"
#include "transfer/Transfer.h"
#include "transfer/ZipTel.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <map>
#include <stdexcept>

namespace probe {

namespace {

std::vector<std::string> ReadCp932Lines() {
    std::vector<std::string> lines = SplitLines(ReadStdin());
    for (std::string& line : lines)
        line = cp932::FromUtf8(line);
    return lines;
}

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        std::cout << cp932::ToUtf8(line) << "\n";
}

void NoArgs(const Args& a, const char* usage) {
    if (!a.empty()) throw UsageError{usage};
}

const char* ZipTelName(ZipTel kind) {
    switch (kind) {
    case ZipTel::Postcode:
        return "postcode";
    case ZipTel::Phone:
        return "phone";
    case ZipTel::Neither:
        break;
    }
    return "neither";
}

const char* LineKindName(LineKind kind) {
    switch (kind) {
    case LineKind::Prefecture:
        return "prefecture";
    case LineKind::Address:
        return "address";
    case LineKind::Name:
        break;
    }
    return "name";
}

// The consignee fields, as the JSON of the transfer command names them: those the transfer reads.
const slip::Field* ConsigneeField(const std::string& name) {
    const slip::Field* f = slip::FindField(name);
    return f && (f->filledBy & slip::kTransfer) ? f : nullptr;
}

} // namespace

int Fold(const Args& a) {
    NoArgs(a, "fold < lines");
    for (const std::string& line : ReadCp932Lines())
        std::cout << cp932::ToUtf8(FoldToHalfWidth(line)) << "\n";
    return 0;
}

int Count(const Args& a) {
    if (a.size() != 1 || a[0].empty()) throw UsageError{"count PATTERN < lines   (PATTERN not empty)"};
    const std::string pattern = cp932::FromUtf8(a[0]);
    for (const std::string& line : ReadCp932Lines())
        std::cout << CountOccurrences(line, pattern) << "\n";
    return 0;
}

int Classify(const Args& a) {
    NoArgs(a, "classify < lines");
    for (const std::string& line : ReadCp932Lines())
        std::cout << ZipTelName(ClassifyZipTel(line)) << "\n";
    return 0;
}

int Judge(const Args& a) {
    NoArgs(a, "judge < lines");
    for (const std::string& line : ReadCp932Lines())
        std::cout << LineKindName(JudgeLine(line)) << "\n";
    return 0;
}

int Strip(const Args& a) {
    NoArgs(a, "strip < memo");
    PrintLines(StripLines(ReadCp932Lines()));
    return 0;
}

int CompactMemo(const Args& a) {
    NoArgs(a, "compact < memo");
    PrintLines(Compact(ReadCp932Lines()));
    return 0;
}

int Split(const Args& a) {
    NoArgs(a, "split < memo");
    PrintLines(SplitOneLine(ReadCp932Lines()));
    return 0;
}

int Transfer(const Args& a) {
    NoArgs(a, "transfer < {\"memo\": TEXT, \"fields\": {\"Edit_Zip\": ..., ...}}");
    const nlohmann::json in = nlohmann::json::parse(ReadStdin());
    if (!in.is_object()) throw std::runtime_error("transfer: the input is not a JSON object");
    if (!in.contains("memo") || !in["memo"].is_string())
        throw std::runtime_error("transfer: \"memo\" must be a text");
    for (const auto& [key, value] : in.items())
        if (key != "memo" && key != "fields")
            throw std::runtime_error("transfer: unknown key \"" + key + "\"");

    slip::Record before;
    if (in.contains("fields")) {
        const nlohmann::json& fields = in["fields"];
        if (!fields.is_object()) throw std::runtime_error("transfer: \"fields\" must be an object");
        for (const auto& [key, value] : fields.items()) {
            const slip::Field* field = ConsigneeField(key);
            if (!field) throw std::runtime_error("transfer: unknown field \"" + key + "\"");
            if (!value.is_string())
                throw std::runtime_error("transfer: field \"" + key + "\" must be a text");
            before.*field->text = cp932::FromUtf8(value.get<std::string>());
        }
    }
    // The postcode and telephone fields fold whatever is written into them.
    before.Edit_Zip = FoldToHalfWidth(before.Edit_Zip);
    before.Edit_tel = FoldToHalfWidth(before.Edit_tel);

    // Only the lines the transfer reads are converted, however long the memo.
    const std::string& text = in["memo"].get_ref<const std::string&>();
    const std::vector<std::string> memo =
        FirstMemoLines(cp932::FromUtf8(MemoHead(text, kMemoLinesRead)), kMemoLinesRead);
    const TransferResult result = RunTransfer(memo, before);

    nlohmann::ordered_json out;
    for (const slip::Field& f : slip::kFields)
        if (f.filledBy & slip::kTransfer) out[f.name] = cp932::ToUtf8(result.fields.*f.text);
    out["memo"] = nlohmann::json::array();
    for (const std::string& line : result.memo)
        out["memo"].push_back(cp932::ToUtf8(line));
    out["message_shown"] = result.noText;
    out["Label_Warning"] = cp932::ToUtf8(result.warning);
    std::cout << out.dump() << "\n";
    return 0;
}

} // namespace probe
