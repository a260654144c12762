// orders import: the orders of a shop's order file as the queue would show them, as JSON.
#include "Probe.h"

#include "orders/Orders.h"
#include "platform/Cp932Codec.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace probe {

int Orders(const Args& a) {
    const char* usage = "orders import FILE [--mapping INI]";
    if (a.size() != 2 && a.size() != 4) throw UsageError{usage};
    if (a[0] != "import" || (a.size() == 4 && a[2] != "--mapping")) throw UsageError{usage};
    using nlohmann::json;
    std::vector<orders::Order> list;
    try {
        list = orders::ImportOrders(a[1], a.size() == 4 ? a[3] : "");
    } catch (const orders::EOrderFile& e) {
        std::cout << json{{"error", cp932::ToUtf8(e.Message())}}.dump() << "\n";
        return 1;
    }
    json out = json::array();
    for (const orders::Order& o : list) {
        const orders::OrderFields& f = o.fields;
        out.push_back({{"order", o.ref},
                       {"fields",
                        {{"Edit_Zip", f.Zip},
                         {"Edit_Add1", f.Add1},
                         {"Edit_Add2", f.Add2},
                         {"Edit_Add3", f.Add3},
                         {"Edit_Custo1", f.Custo1},
                         {"Edit_tel", f.Tel},
                         {"Edit_G1", f.G1},
                         {"Edit_G2", f.G2},
                         {"Edit_G3", f.G3},
                         {"KyNumEdit_KOSUU", f.Kosuu},
                         {"KyNumEdit_PriceSub", f.PriceSub},
                         {"CheckBox_p1", f.P1}}},
                       {"warnings", o.warnings}});
    }
    std::cout << out.dump() << "\n";
    return 0;
}

} // namespace probe
