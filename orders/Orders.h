#pragma once
// Orders from a shop's order file, ready to fill the main window one after another.
//
// One import path for the window, the probe, the tests and the benchmarks:
//   ImportResult r = ImportOrders(path, {.mappingIni = ..., .ask = ..., .progress = ...});
// reads the file (EOrderFile: show it, the slip stays as it is), recognises its columns and its platform,
// applies what the user chose before for this header row, asks `ask` for the columns still open and
// saves the answer, then builds the orders. Only `ask` differs between callers: the window passes its
// mapping dialog, the probe and the tests their answers (or none).
// Picking one: FieldsForSlip(order.fields) into the fields an order fills (slip::kOrder).
#include "orders/Delivery.h"
#include "orders/OrderColumns.h"
#include "orders/OrderFile.h"
#include "orders/OrderWarning.h"
#include "orders/Platforms.h"
#include "slip/SlipRecord.h"

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace orders {

// The slip's fields an order fills are the rows of slip::kFields marked slip::kOrder: the consignee
// (Edit_Zip ... Edit_tel), the goods (Edit_G1 to Edit_G3), the pieces (KyNumEdit_KOSUU), the amount
// (KyNumEdit_PriceSub) and cash on delivery (CheckBox_p1). An order holds them in a slip::Record whose
// texts are UTF-8 until FieldsForSlip; the record's other fields (the sender, the date) stay untouched,
// as the window keeps its own.
slip::Record EmptyOrderFields();

struct OrderItem {
    std::string name, quantity;
    bool operator==(const OrderItem&) const = default;
};

// The file's own sender columns, when it has them, as they stand.
struct OrderSender {
    std::string zip, address1, address2, name, tel;
    bool operator==(const OrderSender&) const = default;
};

// One shipment: the rows of one order reference that go to one consignee. Texts are UTF-8 and keep
// characters CP932 cannot hold; each such character is a problem and becomes "?" only in FieldsForSlip.
struct Order {
    std::string ref; // the order reference, empty when the file has none; shared by an order's shipments
    Platform platform = Platform::Other;
    // The platform's IDs an upload back to the shop refers to (送付先ID, 商品明細ID, order-item-id), by
    // name; an ID that differs between the order's rows holds each value once, joined with ",".
    std::vector<std::pair<std::string, std::string>> refs;
    std::vector<std::size_t> rows;            // the file's row numbers, first one first
    slip::Record fields = EmptyOrderFields(); // cleaned; UTF-8
    std::vector<OrderItem> items;             // one per row with an item name
    std::string total, payment;               // as in the file
    Delivery delivery;                        // the day and time slot the customer asked for
    OrderSender sender;
    std::vector<OrderWarning> warnings; // every change the cleaning made, and what the user must check
    bool heldForCheck = false; // starts held: the user decides (two rows disagree, cash on delivery unsure)
    bool needsAmount = false;  // cash on delivery without an amount: never printed unattended

    bool HasProblem() const;
    bool operator==(const Order&) const = default;
};

// The columns the user is asked for, and the answer.
struct MappingQuestion {
    const OrderTable& table;
    ColumnMapping mapping;        // what was recognised and saved; the answer is written here
    std::vector<OrderColumn> ask; // required kinds without a column first, then payment and total
    std::vector<OrderColumn> Required() const; // of `ask`, those orders cannot be built without
};

// Asks the user (or answers for them); false cancels the import.
using AskMapping = std::function<bool(MappingQuestion&)>;
// Progress of building: `done` rows of `total`; false gives up (ImportCancelled).
using ImportProgress = std::function<bool(std::size_t done, std::size_t total)>;

struct ImportOptions {
    std::string mappingIni; // the mapping file (kOrderMappingFile); "" reads and saves none
    AskMapping ask;         // none: required kinds left open raise EOrderFile, payment and total stay open
    ImportProgress progress;
};

struct ImportResult {
    std::vector<Order> orders;
    Platform platform = Platform::Other;
    std::string mappingNotSaved; // why the answer could not be saved (CP932); the orders are read anyway
    bool cancelled = false;      // the question was cancelled or progress gave up: nothing was read
};

class ImportCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "order import cancelled"; }
};

// Groups the rows by order reference and consignee, in the order of each shipment's first row, and
// cleans each. Rows of one reference that name another consignee (or, where the platform has one,
// another shipping-address ID) become a shipment of their own under the same reference; goods never
// move onto another consignee's slip. Values that belong to the whole order are taken from the first
// of its rows that has them. A row with no reference continues the order above it unless it has an
// address or name of its own. Raises EOrderFile when a required column has no mapping.
std::vector<Order> BuildOrders(const OrderTable& table, const ColumnMapping& mapping,
                               const ImportProgress& progress = {});

// The order's fields as the slip holds them: its texts in CP932, each character CP932 cannot hold as "?".
slip::Record FieldsForSlip(const slip::Record& utf8Fields);

// Reads, recognises, asks and builds, as described at the top. Raises EOrderFile for everything
// ReadOrderTable refuses and for required columns left without a mapping.
ImportResult ImportOrders(const std::string& path, const ImportOptions& options);

} // namespace orders
