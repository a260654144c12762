// The numbers of a pre-printed stack at print time: the slip type's counter, asked for when none is set,
// taken before the job goes and given back when the job was not accepted.
#include "app/SlipCounterFile.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/common/SlipNumberEntry.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "print/PrinterRegistration.h"

std::optional<std::string> TForm_Main::NextSlipNumber() {
    const std::string slipType = StockName();
    const tracking::StoredSlipCounter counter = ReadSlipCounter(WorkingDir(), slipType);
    if (counter.state == tracking::StoredSlipCounter::Set) return counter.number;
    if (slipTypesWithoutNumbers_.contains(slipType)) return std::string();
    QString question;
    if (counter.state == tracking::StoredSlipCounter::Broken)
        question = QFromUtf8("%1 の「%2」の NextSlipNo=%3 は送り状番号として使えません。\n")
                       .arg(QString::fromLatin1(kRegistrationFileName), FromCp932(slipType),
                            FromCp932(counter.number));
    question +=
        QFromUtf8("「%1」の次の送り状番号（プリンタにセットした送り状の番号）を入力するか、"
                  "送り状のバーコードをスキャンしてください。\n番号のない用紙なら「番号なしで印刷」を押してく"
                  "ださい。")
            .arg(FromCp932(slipType));
    const std::optional<std::string> typed = AskStackSlipNumber(question, QFromUtf8("番号なしで印刷"));
    if (!typed) return std::nullopt;
    if (typed->empty()) {
        slipTypesWithoutNumbers_.insert(slipType);
        return typed;
    }
    // It names the slip in the printer, printed now or not: kept from here on.
    SaveSlipCounter(WorkingDir(), slipType, *typed);
    return typed;
}

void TForm_Main::TakeSlipNumber(const std::string& slipNo) {
    if (slipNo.empty()) return;
    SaveSlipCounter(WorkingDir(), StockName(), tracking::NextSlipNoAfter(slipNo));
}

void TForm_Main::GiveBackSlipNumber(const std::string& slipNo) {
    if (slipNo.empty()) return;
    try {
        SaveSlipCounter(WorkingDir(), StockName(), slipNo);
    } catch (const Exception& e) {
        // The job's own error is what the box shows; this one must not be lost under it.
        Help().Notice(QFromUtf8("次の送り状番号を %1 に戻せませんでした（%2）。番号を確かめてください")
                          .arg(FromCp932(slipNo), FromCp932(e.Message())));
    }
}
