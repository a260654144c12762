#pragma once
// The user's own refresh of the postcode data from the official files:
//   utf_ken_all.csv (UTF-8, one row per code and town),
//   KEN_ALL.CSV     (Shift_JIS, long town names split over several rows, notes in parentheses),
//   JIGYOSYO.CSV    (Shift_JIS, business-office codes),
// each as the CSV or as the ZIP it is published in; the kind and the encoding are told by the content,
// not by the file name.
//
// For `tavo_Zaridi2 --import-postcodes FILE…` the program calls
//   RunImportPostcodes(files, fileio::JoinPath(settingsDir, kIndexFileName), currentIndexPath, std::cout,
//   std::cerr)
// and exits with its result; a running window then picks the new file up with IndexHolder::Reset.
#include "platform/RuntimeErrors.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace postcode {

// A file that is not one of the official files, or is damaged. The message names the file, and the
// line where there is one.
class EPostcodeImport : public Exception {
public:
    using Exception::Exception;
};

struct ImportReport {
    struct File {
        std::string name; // as given (CSV inside a ZIP: "ZIP:CSV")
        std::string kind; // "KEN_ALL (UTF-8)", "KEN_ALL (Shift_JIS)", "JIGYOSYO"
        std::size_t rows = 0;
    };
    std::vector<File> files;
    std::size_t standardRows = 0, businessRows = 0, codes = 0; // in the index written
    std::size_t carriedStandard = 0, carriedBusiness = 0;      // of those, taken from `carryFrom`
    std::string dataDate;                                      // "YYYY-MM-DD": the newest input's date
    std::string carryProblem; // why nothing could be carried over from an index that exists (CP932)
};

// The largest official file is the UTF-8 KEN_ALL CSV, about 22 MB unzipped.
inline constexpr std::size_t kMaxOfficialFileBytes = std::size_t{64} << 20;

// Asked (CP932) before an import replaces the index in use with one of less than half its rows, as a
// file cut short or the wrong file would; true goes on.
using ShrinkQuestion = std::function<bool(const std::string& question)>;

// Reads every file, then writes the new index to `outputPath` in one atomic replacement. The kind of
// rows (addresses, business offices) that no file brings is carried over from the index `carryFrom`,
// the one in use, when it can be opened. Throws EPostcodeImport (or EInOutError for an unreadable file)
// before writing anything, so the old index stays whole; so does a shrink that `confirmShrink` (none:
// every shrink) refuses.
ImportReport ImportPostcodeFiles(const std::vector<std::string>& files, const std::string& outputPath,
                                 const std::string& carryFrom = {}, const ShrinkQuestion& confirmShrink = {});

// The report as lines for the user (CP932).
std::vector<std::string> ReportLines(const ImportReport& report, const std::string& outputPath);

// The command-line entry: runs the import and prints the report to `out`, or the error to `err`, in
// UTF-8. 0 on success, 1 on failure, 2 without files.
int RunImportPostcodes(const std::vector<std::string>& files, const std::string& outputPath,
                       const std::string& carryFrom, std::ostream& out, std::ostream& err,
                       const ShrinkQuestion& confirmShrink = {});

} // namespace postcode
