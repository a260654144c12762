// Any bytes as an order file: read, recognised, built into orders. Besides the sanitizers' checks, the
// import's own promises are checked and a breach aborts: a file is refused or read whole, every data row
// lands in exactly one order, and what an order holds is UTF-8 the window can show.
#include "orders/OrderQueue.h"
#include "orders/Orders.h"
#include "platform/Cp932Codec.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool IsUtf8(const std::string& s) {
    char32_t cp;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t len = cp932::DecodeUtf8(s, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orders;
    OrderTable t;
    try {
        t = ParseOrderTable(std::string(reinterpret_cast<const char*>(data), size), "fuzz.csv");
    } catch (const EOrderFile&) {
        return 0;
    }
    Check(!t.rows.empty() && IsUtf8(t.text));
    ColumnMapping m = RecogniseColumns(t.header);
    UnsureColumns(m, t.header);
    // Whatever is required and missing gets a column, so that every file is built.
    const int last = static_cast<int>(t.header.size()) - 1;
    if (m[OrderColumn::Zip] == kNoColumn) m[OrderColumn::Zip] = 0;
    if (m[OrderColumn::Address1] == kNoColumn) m[OrderColumn::Address1] = std::min(1, last);
    if (m[OrderColumn::Name] == kNoColumn) m[OrderColumn::Name] = std::min(2, last);
    std::vector<Order> orders = BuildOrders(t, m);

    std::size_t rows = 0;
    for (const Order& o : orders) {
        rows += o.rows.size();
        for (const std::string* s :
             {&o.ref, &o.fields.Edit_Zip, &o.fields.Edit_Add1, &o.fields.Edit_Add2, &o.fields.Edit_Add3,
              &o.fields.Edit_Custo1, &o.fields.Edit_tel, &o.fields.Edit_G1, &o.fields.Edit_G2,
              &o.fields.Edit_G3, &o.delivery.date, &o.delivery.time})
            Check(IsUtf8(*s));
        for (const OrderWarning& w : o.warnings)
            Check(IsUtf8(w.text) && !w.text.empty());
        Check(!o.needsAmount || o.heldForCheck);
        Check(o.fields.KyNumEdit_PriceSub.size() <= 7);
        slip::Record slip = FieldsForSlip(o.fields);
        Check(slip.Edit_G1.size() <= 30 && slip.Edit_G2.size() <= 30 && slip.Edit_G3.size() <= 30);
    }
    Check(rows == t.rows.size());

    OrderQueue q;
    q.Reset(std::move(orders), nullptr);
    OrderQueue::RunPlan plan = q.PlanRun();
    q.StartRun(plan);
    while (auto next = q.RunNext())
        q.CurrentPrinted();
    Check(q.Counts().printed == plan.orders.size());
    return 0;
}
