#include "slip/SlipStock.h"

#include "platform/Cp932Codec.h"

namespace slip {

std::string StockName(Stock stock) {
    return cp932::FromUtf8(stock == Stock::Continuous ? "連続(４インチ)" : "手差し");
}

std::optional<Stock> StockNamed(std::string_view name) {
    for (Stock s : kStocks)
        if (name == StockName(s)) return s;
    return std::nullopt;
}

} // namespace slip
