#pragma once
// Sender files my0.txt to my9.txt: five CR LF lines (postcode, address 1, address 2, name, phone).
#include <string>
#include <string_view>

struct SenderRecord {
    std::string Zip, Add1, Add2, Name, Tel;
    bool cut = false; // a line was longer than cp932::kLongestText and was cut there when read
    bool operator==(const SenderRecord&) const = default;
};

inline constexpr int kSenderSlots = 10;

// "my0.txt" .. "my9.txt", a bare name: the file lives in the working directory.
std::string SenderFileName(int slot);

// Lines end at CR LF, LF or CR; missing lines read as empty, lines after the fifth are ignored, and a
// line longer than cp932::kLongestText is cut there on a character boundary.
SenderRecord ParseSenderFile(std::string_view bytes);
std::string FormatSenderFile(const SenderRecord& r);

// EInOutError ("File not found" ...) when the file cannot be read.
SenderRecord LoadSenderFile(const std::string& path);
// Replaces the file in one step: a failure leaves the old file as it was.
void SaveSenderFile(const std::string& path, const SenderRecord& r);
