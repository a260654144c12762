#include "transfer/Transfer.h"

#include "platform/Cp932.h"
#include "transfer/AddressWarning.h"
#include "transfer/Compact.h"
#include "transfer/Judge.h"
#include "transfer/Split.h"
#include "transfer/Strip.h"
#include "transfer/ZipTel.h"

const std::string_view kNoTextMessage =
    "\x93\x5D\x91\x97\x83\x65\x83\x4C\x83\x58\x83\x67\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";

namespace {

// What the recognition passes found; each slot keeps the first line of its kind.
struct Slots {
    std::string postcode, phone, prefecture, address1, address2, name;
};

void TakeFirst(std::string& slot, const std::string& text) {
    if (slot.empty()) slot = text;
}

Slots Recognise(std::vector<std::string> lines) {
    Slots slots;
    for (std::string& line : lines) {
        switch (ClassifyZipTel(line)) {
        case ZipTel::Postcode:
            TakeFirst(slots.postcode, line);
            line.clear();
            break;
        case ZipTel::Phone:
            TakeFirst(slots.phone, line);
            line.clear();
            break;
        case ZipTel::Neither:
            break;
        }
    }
    int addresses = 0;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        switch (JudgeLine(line)) {
        case LineKind::Prefecture:
            TakeFirst(slots.prefecture, line);
            break;
        case LineKind::Address:
            if (addresses == 0)
                slots.address1 = line;
            else if (addresses == 1)
                slots.address2 = line;
            ++addresses;
            break;
        case LineKind::Name:
            TakeFirst(slots.name, line);
            break;
        }
    }
    return slots;
}

} // namespace

TransferResult RunTransfer(std::span<const std::string> memo, const slip::Record& before) {
    TransferResult result;
    result.fields = before;

    // A line of megabytes is no address; its start is kept so nothing is lost without a trace.
    auto cut = [&result](std::string_view text) {
        if (text.size() <= cp932::kLongestText) return std::string(text);
        result.cut = true;
        return cp932::CutBytes(text, cp932::kLongestText);
    };
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < memo.size() && i < kMemoLinesRead; ++i)
        lines.push_back(cut(memo[i]));

    result.memo = Compact(lines);
    if (result.memo.empty()) {
        result.noText = true;
    } else {
        result.memo = SplitOneLine(StripLines(result.memo));

        std::vector<std::string> working;
        working.reserve(result.memo.size());
        for (const std::string& line : result.memo)
            working.push_back(cp932::PlainTrim(line));
        const Slots slots = Recognise(std::move(working));

        slip::Record& f = result.fields;
        f.Edit_Zip = FoldToHalfWidth(slots.postcode);
        f.Edit_Add1 = cut(cp932::PlainTrim(slots.prefecture) + cp932::PlainTrim(slots.address1));
        f.Edit_Add2 = slots.address2;
        f.Edit_Custo1 = slots.name;
        f.Edit_tel = FoldToHalfWidth(slots.phone);
    }
    result.warning = AddressWarning(result.fields.Edit_Add1);
    return result;
}

std::string_view MemoHead(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t lines = 0; lines < count && end < text.size(); ++lines) {
        const std::size_t lf = text.find('\n', end);
        end = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    return text.substr(0, end);
}

std::vector<std::string> FirstMemoLines(std::string_view text, std::size_t count) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size() && lines.size() < count) {
        const std::size_t lf = text.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        pos = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    return lines;
}
