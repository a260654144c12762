#pragma once
// An order as the shared queue keeps it (history/QueueStore.h): the text of its order, and the key that
// makes it the same order when a file is imported again, on any desk.
//
// The text is UTF-8, one NAME=VALUE line per value, "%" and control bytes written as %XX:
//   platform=rakuten
//   order=100001-20240501-0001
//   ref=送付先ID<TAB>1001           the platform's IDs, name and value
//   row=2                           the file's rows, first one first
//   field=Edit_Zip<TAB>160-0022     the fields an order fills (check boxes 0 or 1)
//   item=緑茶<TAB>2
//   total=3000 / payment=代金引換 / delivery=2024-12-10<TAB>14-16時
//   sender=zip<TAB>address1<TAB>address2<TAB>name<TAB>tel
//   warning=problem<TAB>text        or note<TAB>text
//   held=1 / amount=1               held for a check, needs its amount typed
// Lines of names it does not know are passed over, so an older program reads a newer one's orders.
#include "orders/Orders.h"

#include <string>
#include <string_view>
#include <vector>

namespace orders {

std::string OrderToText(const Order& order);
Order OrderFromText(std::string_view text);

// The keys of a batch, one per order, in its order: the platform and the order reference, with the
// shipment's number among those of its reference; an order without reference is known by what it
// holds (a hash of its fields, goods, amount, payment, delivery and sender), with a count when the
// file has the same one more than once.
std::vector<std::string> OrderKeys(const std::vector<Order>& orders);

} // namespace orders
