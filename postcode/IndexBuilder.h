#pragma once
// Writes the postcode index file (IndexFormat.h) from rows of data: used by the build's converter of
// the packaged data and by the import of the official files.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace postcode {

// One row of the data, CP932. Texts longer than 255 bytes are cut on a character boundary.
struct Row {
    std::string code; // 7 half-width digits
    std::string pref, city, town;
    std::string street, office; // business-office codes
    std::string chome;          // "1-19,21" when the town is limited to those chōme
    bool business = false;
};

class IndexBuilder {
public:
    // Rows of one code keep the order they were added in; a row equal to an earlier one of the same code
    // adds nothing. False, and nothing added, when the code is not 7 digits.
    bool Add(Row row);

    std::size_t StandardRows() const { return standard_; }
    std::size_t BusinessRows() const { return business_; }
    std::size_t Codes() const;

    // The index file's bytes; `dataDate` is "YYYY-MM-DD" (at most 15 bytes kept).
    std::string Build(std::string_view dataDate) const;

private:
    std::vector<Row> rows_;
    std::unordered_set<std::string> seen_;
    std::size_t standard_ = 0, business_ = 0;
};

} // namespace postcode
