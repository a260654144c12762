#pragma once
// The slip stock: the pre-printed forms the slip is printed on, in the order the main window's list
// shows them. Its name is the list's text, the section of the registration file and what the history
// keeps (CP932).
#include <optional>
#include <string>
#include <string_view>

namespace slip {

enum class Stock {
    HandFed = 0,    // "手差し": one form at a time, 9 x 5.5 inches
    Continuous = 1, // "連続(４インチ)": the 4-inch continuous form, 10 inches wide
};

inline constexpr Stock kStocks[] = {Stock::HandFed, Stock::Continuous};

std::string StockName(Stock stock);

// The stock the name stands for; nullopt for any other text.
std::optional<Stock> StockNamed(std::string_view name);

} // namespace slip
