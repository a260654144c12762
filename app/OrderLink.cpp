#include "app/OrderLink.h"

#include "platform/Cp932Codec.h"

history::OrderLink LinkOf(const orders::Order& order) {
    history::OrderLink link{cp932::FromUtf8(order.ref),
                            std::string(orders::PlatformName(order.platform)),
                            {},
                            {cp932::FromUtf8(order.delivery.date), cp932::FromUtf8(order.delivery.time)}};
    for (const auto& [name, value] : order.refs)
        link.refs[cp932::FromUtf8(name)] = cp932::FromUtf8(value);
    return link;
}
