#pragma once
// The text transfer: the pasted memo's lines in, the consignee fields, the rewritten memo and the
// address warning out. One pure function, so the main window only reads its controls, calls it and
// writes the results back through the fields' change handlers.
#include "slip/SlipRecord.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TransferResult {
    // Memo1's lines afterwards: none when there was no text, otherwise exactly seven (stripped and
    // split), empty ones included.
    std::vector<std::string> memo;
    // True when "転送テキストがありません" is to be shown; the fields are then left as they were.
    bool noText = false;
    // The slip after the transfer: the consignee fields (those filled by slip::kTransfer) replaced, all
    // others as passed in. Edit_Add3 is always the one passed in; Edit_Zip and Edit_tel are folded to
    // half-width; nothing is cut to the fields' typing limits.
    slip::Record fields;
    // Label_Warning's text: the address-length warning for fields.Edit_Add1, or empty.
    std::string warning;
    // True when a memo line or a field was longer than cp932::kLongestText and was cut there.
    bool cut = false;
};

// "転送テキストがありません" in CP932.
extern const std::string_view kNoTextMessage;

// Runs the whole transfer on the memo's lines (CP932, without line breaks). Only the first 16 lines
// are read, so a caller may pass just those; each is first cut to cp932::kLongestText bytes.
TransferResult RunTransfer(std::span<const std::string> memo, const slip::Record& before);

// The first `count` lines of a memo text whose lines end with LF or CR LF; the rest is not scanned.
std::vector<std::string> FirstMemoLines(std::string_view text, std::size_t count);

// The start of a memo text that holds its first `count` lines. LF is one byte in UTF-8 and never part
// of a double-byte CP932 character, so a caller can cut UTF-8 text before converting just that part.
std::string_view MemoHead(std::string_view text, std::size_t count);
