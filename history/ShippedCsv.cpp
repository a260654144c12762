#include "history/ShippedCsv.h"

#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"

namespace history {
namespace {

// CP932 is safe to scan byte by byte here: no trail byte is a comma, a quote or a line break.
std::string Field(const std::string& cp) {
    if (cp.find_first_of(",\"\r\n") == std::string::npos) return cp;
    std::string out = "\"";
    for (char c : cp) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace

std::string DefaultCarrier() {
    return cp932::FromUtf8("佐川急便");
}

std::string ShippedCsv(const std::vector<ShippedRow>& rows, CsvEncoding encoding,
                       const std::string& carrier) {
    std::string cp = cp932::FromUtf8("注文番号,出荷日,配送業者,お問い合わせ伝票番号,お届け先名") + "\r\n";
    for (const ShippedRow& r : rows)
        cp += Field(r.order) + "," + Field(r.shipDay) + "," + Field(carrier) + "," + Field(r.tracking) + "," +
              Field(r.name) + "\r\n";
    if (encoding == CsvEncoding::ShiftJis) return cp;
    return "\xEF\xBB\xBF" + cp932::ToUtf8(cp);
}

std::size_t ExportShipped(Store& store, const std::string& from, const std::string& to, CsvEncoding encoding,
                          const std::string& path, const std::string& carrier) {
    auto rows = store.Shipped(from, to);
    fileio::WriteFileAtomic(path, ShippedCsv(rows, encoding, carrier));
    return rows.size();
}

} // namespace history
