#pragma once
// The name of a slip saved as a PDF where no printer can take it: the day and the consignee, so a
// folder of saved slips reads like the day's shipments. CP932 in and out.
#include <string>
#include <string_view>

// "送り状_2026-12-08_山田 太郎.pdf" for `day` "2026/12/08" and that consignee; without a consignee
// "送り状_2026-12-08.pdf". Characters a file name cannot hold or that a file manager would trip over
// (path separators, control bytes, a leading dot) are left out, and the consignee is cut at 80 bytes.
// `copy` 2 and up gives "… (2).pdf", for when the first name is taken.
std::string SlipPdfFileName(std::string_view day, std::string_view consignee, int copy = 1);
