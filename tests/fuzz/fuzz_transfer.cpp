// The transfer pipeline on arbitrary bytes: six field values, then the memo text. Besides the
// sanitizers' checks, the pipeline's own promises are checked and a breach aborts.
#include "platform/Cp932.h"
#include "transfer/AddressWarning.h"
#include "transfer/Compact.h"
#include "transfer/Judge.h"
#include "transfer/Strip.h"
#include "transfer/Transfer.h"
#include "transfer/ZipTel.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckFold(const std::string& s) {
    const std::string once = FoldToHalfWidth(s);
    Check(once.size() <= s.size());
    Check(FoldToHalfWidth(once) == once);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    slip::Record before;
    for (const slip::Field& f : slip::kFields)
        if (f.filledBy & slip::kTransfer) before.*f.text = in.ConsumeRandomLengthString(64);
    const std::string pattern = in.ConsumeRandomLengthString(8);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::vector<std::string> all = FirstMemoLines(text, std::numeric_limits<std::size_t>::max());
    const TransferResult r = RunTransfer(all, before);

    Check(r.noText == r.memo.empty());
    Check(r.noText || r.memo.size() == kWorkingLines);
    Check(r.fields.Edit_Add3 == before.Edit_Add3);
    if (r.noText) Check(r.fields == before);
    Check(r.warning == AddressWarning(r.fields.Edit_Add1));
    if (!r.noText) {
        Check(FoldToHalfWidth(r.fields.Edit_Zip) == r.fields.Edit_Zip);
        Check(FoldToHalfWidth(r.fields.Edit_tel) == r.fields.Edit_tel);
        // However long the pasted lines, no field takes more than the longest text kept.
        for (const std::string* f : {&r.fields.Edit_Zip, &r.fields.Edit_Add1, &r.fields.Edit_Add2,
                                     &r.fields.Edit_Custo1, &r.fields.Edit_tel})
            Check(f->size() <= cp932::kLongestText);
    }
    // Only the first 16 lines matter.
    const TransferResult head = RunTransfer(FirstMemoLines(text, kMemoLinesRead), before);
    Check(head.memo == r.memo && head.fields == r.fields && head.noText == r.noText);

    for (const std::string& line : all) {
        CheckFold(line);
        (void)ClassifyZipTel(line);
        (void)JudgeLine(line);
        const std::string trimmed = TrimWide(line);
        Check(trimmed.size() <= line.size());
        if (!pattern.empty()) (void)CountOccurrences(line, pattern);
    }
    return 0;
}
