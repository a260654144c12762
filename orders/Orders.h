#pragma once
// Orders from a shop's order file, ready to fill the main window one after another.
//
// The order queue's glue runs, in this order:
//   OrderTable t = ReadOrderTable(path);                   // EOrderFile: show it, the slip stays as it is
//   ColumnMapping m = RecogniseColumns(t.header);
//   LoadMapping(mappingIni, t.header, m);                  // what the user chose before for this header
//   if (!MissingColumns(m).empty()) { mapping dialog over t.header, t.samples, OrderColumnInfos();
//                                     SaveMapping(mappingIni, t.header, m); }
//   std::vector<Order> orders = BuildOrders(t, m);
//   picking one: FieldsForSlip(order.fields) into the consignee, goods, pieces and amount fields.
// ImportOrders does the same without the dialog.
#include "orders/OrderColumns.h"
#include "orders/OrderFile.h"

#include <string>
#include <vector>

namespace orders {

// The main window's fields an order fills, by their controls: Edit_Zip, Edit_Add1 to Edit_Add3,
// Edit_Custo1, Edit_tel, Edit_G1 to Edit_G3, KyNumEdit_KOSUU, KyNumEdit_PriceSub (value text) and
// CheckBox_p1 (現金). The sender is not among them: the window keeps its current sender.
struct OrderFields {
    std::string Zip, Add1, Add2, Add3, Custo1, Tel, G1, G2, G3;
    std::string Kosuu = "1";
    std::string PriceSub = "0";
    bool P1 = false;
    bool operator==(const OrderFields&) const = default;
};

struct OrderItem {
    std::string name, quantity;
};

// The file's own sender columns, when it has them, as they stand.
struct OrderSender {
    std::string zip, address1, address2, name, tel;
};

// One order: its rows grouped by the order reference. Texts are UTF-8 and keep characters CP932
// cannot hold; each such character has a warning and becomes "?" only in FieldsForSlip.
struct Order {
    std::string ref;               // the order reference, empty when the file has none
    std::vector<std::size_t> rows; // the file's row numbers, first one first
    OrderFields fields;            // cleaned
    std::vector<OrderItem> items;  // one per row with an item name
    std::string total, payment;    // as in the file
    std::string deliveryDate, deliveryTime;
    OrderSender sender;
    std::vector<std::string> warnings; // every change the cleaning made, and what the user must check
};

// Groups the rows by order reference, in the order of each order's first row, and cleans each order.
// Values that belong to the whole order are taken from the first of its rows that has them. A row with
// no reference continues the order above it unless it has an address or name of its own. Raises
// EOrderFile when a required column has no mapping.
std::vector<Order> BuildOrders(const OrderTable& table, const ColumnMapping& mapping);

// The fields as CP932 text for the window, each character CP932 cannot hold as "?".
OrderFields FieldsForSlip(const OrderFields& utf8Fields);

// Reads, recognises (with what `mappingIni` saved for this header, when given) and builds. Raises
// EOrderFile for everything ReadOrderTable refuses and for required columns left without a mapping.
std::vector<Order> ImportOrders(const std::string& path, const std::string& mappingIni);

} // namespace orders
