#include "app/qt/common/SlipNumberEntry.h"

#include "app/qt/common/MessageBoxes.h"
#include "platform/qt/QtText.h"
#include "tracking/SlipNumber.h"
#include "tracking/StackCounter.h"

CheckedSlipEntry CheckTypedSlipNumber(const QString& typed) {
    const tracking::SlipEntry entry = tracking::CheckSlipEntry(ToCp932(typed));
    switch (entry.verdict) {
    case tracking::SlipEntry::Empty:
        break;
    case tracking::SlipEntry::Refuse:
        return {CheckedSlipEntry::Refused, entry.number};
    case tracking::SlipEntry::Take:
        return {CheckedSlipEntry::Take, entry.number};
    case tracking::SlipEntry::Confirm:
        // Other carriers exist; a misread of ours is more likely, so it takes a second word.
        if (msgbox::AskYesNo(
                QFromUtf8("「%1」は知っている形の送り状番号（12桁・11桁の数字、国際郵便の13字）では"
                          "ありません。\nほかの運送会社の番号として、このまま保存しますか?")
                    .arg(FromCp932(entry.number))))
            return {CheckedSlipEntry::Take, entry.number};
        break;
    }
    return {CheckedSlipEntry::Nothing, {}};
}

std::optional<std::string> AskStackSlipNumber(const QString& question, const QString& alternative) {
    for (;;) {
        const std::optional<QString> typed = msgbox::AskText(question, alternative);
        if (!typed || typed->isEmpty()) return typed ? std::optional<std::string>("") : std::nullopt;
        try {
            return tracking::StackNumber(ToCp932(*typed));
        } catch (const tracking::ESlipCounter& e) {
            msgbox::Notify(FromCp932(e.Message()));
        }
    }
}
