#include "shipped/ShippedFile.h"

#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "tracking/SlipNumber.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <set>

namespace shipped {
namespace {

struct Kept {
    std::size_t slip;
    std::string number; // folded
};

bool Takes(const ShippedFormat& format, const ShippedSlip& slip) {
    const std::string_view platform = slip.platform.empty() ? "other" : std::string_view(slip.platform);
    return format.platform.empty() || format.platform == platform;
}

std::string Value(const ShippedColumn& column, const ShippedSlip& slip, const std::string& number,
                  const std::string& carrier) {
    switch (column.source) {
    case Source::Order:
        return slip.order;
    case Source::Ref: {
        auto it = slip.refs.find(cp932::FromUtf8(column.ref));
        return it == slip.refs.end() ? "" : it->second;
    }
    case Source::Tracking:
        return number;
    case Source::Carrier:
        return carrier;
    case Source::ShipDay:
        return slip.shipDay;
    case Source::ShipDaySlashed: {
        std::string day = slip.shipDay;
        std::replace(day.begin(), day.end(), '-', '/');
        return day;
    }
    case Source::Consignee:
        return slip.consignee;
    case Source::Blank:
        break;
    }
    return "";
}

void Row(SheetWriter& sheet, std::span<const std::string_view> utf8Cells) {
    for (std::string_view cell : utf8Cells) {
        const std::string cp = cp932::FromUtf8(cell);
        sheet.Cell(cp, CellKind::Text, cp);
    }
    sheet.EndRow();
}

} // namespace

ShippedFile BuildShippedFile(const ShippedFormat& format, std::span<const ShippedSlip> slips,
                             Carrier carrier) {
    ShippedFile file;
    std::vector<std::size_t> order(slips.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return slips[a].printedUtc < slips[b].printedUtc; });

    std::vector<Kept> kept;
    std::set<std::pair<std::string, std::string>> written; // order, number
    std::map<std::string, std::size_t> firstOfOrder;       // order -> its entry in `extra`
    for (std::size_t i : order) {
        const ShippedSlip& slip = slips[i];
        if (!Takes(format, slip)) continue;
        const tracking::SlipNumber n = tracking::ReadSlipNumber(slip.tracking);
        std::optional<ApartReason> apart;
        if (slip.isVoid)
            apart = ApartReason::Void;
        else if (tracking::CheckSlipEntry(slip.tracking).verdict == tracking::SlipEntry::Empty)
            apart = ApartReason::NoNumber;
        else if (!n.valid)
            apart = ApartReason::InvalidNumber;
        else if (format.needsOrder && slip.order.empty())
            apart = ApartReason::NoOrder;
        else if (!written.emplace(slip.order, n.number).second)
            apart = ApartReason::Duplicate;
        if (apart) {
            file.apart.push_back({i, *apart});
            continue;
        }
        if (format.rows == Rows::FirstOfOrder) {
            auto [it, first] = firstOfOrder.emplace(slip.order, file.extra.size());
            if (!first) {
                file.extra[it->second].numbers.push_back(n.number);
                continue;
            }
            file.extra.push_back({slip.order, {}});
        }
        kept.push_back({i, n.number});
    }
    std::erase_if(file.extra, [](const ExtraNumbers& e) { return e.numbers.empty(); });
    std::sort(file.apart.begin(), file.apart.end(),
              [](const ApartSlip& a, const ApartSlip& b) { return a.slip < b.slip; });

    SheetWriter sheet(format.separator, format.encoding);
    if (!format.preamble.empty()) Row(sheet, format.preamble);
    std::vector<std::string_view> labels, headers;
    for (const ShippedColumn& c : format.columns) {
        labels.push_back(c.label);
        headers.push_back(c.header);
    }
    if (format.labels) Row(sheet, labels);
    Row(sheet, headers);
    const std::string carrierCode = cp932::FromUtf8(format.carriers[static_cast<std::size_t>(carrier)]);
    for (const Kept& k : kept) {
        for (const ShippedColumn& c : format.columns)
            sheet.Cell(Value(c, slips[k.slip], k.number, carrierCode), c.kind, cp932::FromUtf8(c.header));
        sheet.EndRow();
    }
    file.bytes = sheet.Bytes();
    file.rows = kept.size();
    file.notices = sheet.Notices();
    return file;
}

std::string ApartReasonText(ApartReason reason) {
    switch (reason) {
    case ApartReason::Void:
        return cp932::FromUtf8("書き損じの送り状です");
    case ApartReason::NoNumber:
        return cp932::FromUtf8("送り状番号がありません");
    case ApartReason::InvalidNumber:
        return cp932::FromUtf8("送り状番号が正しくありません");
    case ApartReason::Duplicate:
        return cp932::FromUtf8("同じ送り状番号がもう書かれています");
    case ApartReason::NoOrder:
        return cp932::FromUtf8("注文番号がありません");
    }
    return {};
}

std::string ShippedFileName(const ShippedFormat& format, std::string_view from, std::string_view to) {
    auto compact = [](std::string_view day) {
        std::string s(day);
        std::erase(s, '-');
        return s;
    };
    return std::string(format.fileStem) + "_" + compact(from) + "-" + compact(to) + "." +
           std::string(format.extension);
}

std::string WriteShippedFile(const std::string& folder, const ShippedFormat& format, std::string_view from,
                             std::string_view to, const ShippedFile& file) {
    const std::string path = fileio::JoinPath(folder, ShippedFileName(format, from, to));
    fileio::WriteFileAtomic(path, file.bytes);
    return path;
}

} // namespace shipped
