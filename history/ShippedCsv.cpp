#include "history/ShippedCsv.h"

#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "shipped/SheetWriter.h"

namespace history {

std::string DefaultCarrier() {
    return cp932::FromUtf8("佐川急便");
}

std::string ShippedCsv(const std::vector<ShippedRow>& rows, CsvEncoding encoding,
                       const std::string& carrier) {
    using shipped::CellKind;
    shipped::SheetWriter sheet(',', encoding == CsvEncoding::ShiftJis ? shipped::TextEncoding::Cp932
                                                                      : shipped::TextEncoding::Utf8Bom);
    const std::string order = cp932::FromUtf8("注文番号"), day = cp932::FromUtf8("出荷日"),
                      carrierName = cp932::FromUtf8("配送業者"),
                      tracking = cp932::FromUtf8("お問い合わせ伝票番号"),
                      name = cp932::FromUtf8("お届け先名");
    for (const std::string* header : {&order, &day, &carrierName, &tracking, &name})
        sheet.Cell(*header, CellKind::Text, *header);
    sheet.EndRow();
    for (const ShippedRow& r : rows) {
        sheet.Cell(r.order, CellKind::Id, order);
        sheet.Cell(r.shipDay, CellKind::Date, day);
        sheet.Cell(carrier, CellKind::Text, carrierName);
        sheet.Cell(r.tracking, CellKind::Id, tracking);
        sheet.Cell(r.name, CellKind::Text, name);
        sheet.EndRow();
    }
    return sheet.Bytes();
}

std::size_t ExportShipped(Store& store, const std::string& from, const std::string& to, CsvEncoding encoding,
                          const std::string& path, const std::string& carrier) {
    auto rows = store.Shipped(from, to);
    fileio::WriteFileAtomic(path, ShippedCsv(rows, encoding, carrier));
    return rows.size();
}

} // namespace history
