#pragma once
// Which column of an order file holds what. Headers are recognised by the names shop platforms and
// carriers' import layouts use, in Japanese and English; what is not recognised is assigned once by the
// user and saved under the file's header row, so the next export of the same shape needs no question.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ProfileFile;

namespace orders {

// What a column can hold. Split values are joined: Zip "-" Zip2, Tel "-" Tel2 "-" Tel3, Name "　"
// Name2 (a family and a given name, or two name lines); Address1 to Address3 follow the prefecture.
enum class OrderColumn {
    OrderNo,
    Zip,
    Zip2,
    Prefecture,
    Address1,
    Address2,
    Address3,
    Building,
    Name,
    Name2,
    Company,
    Tel,
    Tel2,
    Tel3,
    ItemName,
    ItemName2,
    ItemName3,
    Quantity,
    Total,
    Payment,
    DeliveryDate,
    DeliveryTime,
    Notes, // the customer's own words: read for a delivery day or slot they ask for
    SenderZip,
    SenderAddress1,
    SenderAddress2,
    SenderName,
    SenderTel,
};
inline constexpr std::size_t kOrderColumnCount = static_cast<std::size_t>(OrderColumn::SenderTel) + 1;

struct OrderColumnInfo {
    OrderColumn column;
    std::string_view key;     // its key in the mapping file (ASCII)
    std::string_view caption; // what the mapping dialog shows (UTF-8)
    bool required;            // orders cannot be built while it has no column
    bool money;               // payment and total: asked for when the file seems to have them (UnsureColumns)
};

// Every kind of column, in the order the mapping dialog lists them.
const std::array<OrderColumnInfo, kOrderColumnCount>& OrderColumnInfos();

inline constexpr int kNoColumn = -1;

enum class Platform;

// The file's column (0-based) for each kind, or kNoColumn; and what the header row tells beyond that:
// the platform and the columns of its IDs.
struct ColumnMapping {
    std::array<int, kOrderColumnCount> columns;
    Platform platform{};                           // Platform::Other unless the header is a platform's
    std::vector<std::pair<std::string, int>> refs; // the platform's IDs kept with the order: name, column
    int destination = kNoColumn;                   // the platform's shipping-address ID
    ColumnMapping() { columns.fill(kNoColumn); }
    int& operator[](OrderColumn c) { return columns[static_cast<std::size_t>(c)]; }
    int operator[](OrderColumn c) const { return columns[static_cast<std::size_t>(c)]; }
    bool operator==(const ColumnMapping&) const = default;
};

// Recognises the header row's cells (UTF-8). A platform's file (Platforms.h) takes its columns from the
// platform's table first. Otherwise, shipping-address columns win over unprefixed ones, and the
// orderer's or billing columns are used only when the file has no shipping address; of two headers
// that name one kind equally well, the first wins.
ColumnMapping RecogniseColumns(const std::vector<std::string>& header);

// Required kinds that have no column yet: when not empty, orders cannot be built without the dialog.
std::vector<OrderColumn> MissingColumns(const ColumnMapping& mapping);

// Payment and total when they have no column although the header has one that looks like it (支払,
// 決済, 金額, 合計, payment, total ... that no rule recognised): cash on delivery would be lost without a
// word, so the dialog asks for them too, but lets the user answer "none".
std::vector<OrderColumn> UnsureColumns(const ColumnMapping& mapping, const std::vector<std::string>& header);

// Those columns themselves: the file's columns that look like a payment method (first) or an amount
// (second) and that no kind uses.
std::pair<std::vector<int>, std::vector<int>> MoneyLookalikes(const ColumnMapping& mapping,
                                                              const std::vector<std::string>& header);

// Columns of the file no kind uses, for the dialog's list of what was not recognised.
std::vector<int> UnusedColumns(const ColumnMapping& mapping, std::size_t headerSize);

// The mapping file, in the working directory beside the settings file. Each header row has its own
// section, named by the row (cells joined with ","); a key per kind (OrderColumnInfo::key) holds the
// column's header text, "#N" for the Nth column where the text is not unique, or nothing for none:
//   [注文番号,送り先〒,送り先住所,送り先氏名]
//   Zip=送り先〒
inline constexpr std::string_view kOrderMappingFile = "tavo_orders.ini";

// Overrides `mapping` with what was saved for this header row, including kinds saved as having no
// column. False when nothing was saved for it (or the file is missing or unreadable).
bool LoadMapping(const std::string& iniPath, const std::vector<std::string>& header, ColumnMapping& mapping);

// Saves the whole mapping under this header row (CP932, replaced atomically); raises EInOutError
// "<path> に書き込めません" when the file cannot be written.
void SaveMapping(const std::string& iniPath, const std::vector<std::string>& header,
                 const ColumnMapping& mapping);

// The same on a mapping file in memory.
bool ReadMapping(const ProfileFile& ini, const std::vector<std::string>& header, ColumnMapping& mapping);
void WriteMapping(ProfileFile& ini, const std::vector<std::string>& header, const ColumnMapping& mapping);

} // namespace orders
