#include "print/PrintTarget.h"

#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "print/EffectiveResolution.h"
#include "printer/HqPrinter.h"
#include "slip/SlipStock.h"

namespace {

std::string Pick(const std::vector<std::string>& names, int index) {
    return index >= 0 && index < static_cast<int>(names.size()) ? names[index] : "";
}

std::string Quoted(const std::string& name) {
    return cp932::FromUtf8("「") + name + cp932::FromUtf8("」");
}

} // namespace

PageGeometry NominalPaper(const std::string& slipType) {
    return slip::StockNamed(slipType) == slip::Stock::Continuous ? PageGeometry{720, 288, 0, 0}
                                                                 : PageGeometry{648, 396, 0, 0};
}

PrintTarget CurrentPrintTarget(THqPrinter& printer, const std::string& slipType,
                               const std::optional<PrinterRegistration>& registration,
                               const std::string& indexInForce) {
    PrintTarget t;
    t.page = NominalPaper(slipType);
    t.dpix = t.dpiy = kNominalDpi;
    const std::optional<std::int32_t> registered = TryStrToInt(indexInForce);
    // The name was written with the index; after an F7 choice the index in force is another printer.
    const bool named =
        registration && !registration->printerName.empty() && registration->printerIndex == indexInForce;
    const std::string who =
        named ? Quoted(registration->printerName) : cp932::FromUtf8("番号 ") + indexInForce;
    try {
        printer.CheckNoPrinter();
    } catch (const EHqPrinterNoPrinter&) {
        t.missing = cp932::FromUtf8("プリンタがありません（登録: ") + who + cp932::FromUtf8("）");
        return t;
    }
    try {
        t.printer = Pick(printer.GetPrinterNames(), printer.GetIndex());
        // A printer without paper or source lists still prints; the names stay empty.
        try {
            t.paper = Pick(printer.GetPaperSizeNames(), printer.GetPaperSizeIndex());
        } catch (const EHqPrinter&) {
        }
        try {
            t.source = Pick(printer.GetBinNames(), printer.GetBinIndex());
        } catch (const EHqPrinter&) {
        }
        const TPoint dpi = EffectiveResolutionOf(printer);
        t.dpix = dpi.X;
        t.dpiy = dpi.Y;
        if (!registration) {
            t.missing = Quoted(slipType) + cp932::FromUtf8("にはプリンタが登録されていません");
        } else if (registered && *registered >= 0 && *registered != printer.GetIndex()) {
            // The registered printer is gone: the first one stands in for it.
            t.missing = cp932::FromUtf8("登録されたプリンタ") + who + cp932::FromUtf8("が見つかりません");
        } else {
            t.page = printer.GetPageGeometry();
        }
    } catch (const Exception& e) {
        t.missing = cp932::FromUtf8("プリンタ") + who + cp932::FromUtf8("を使えません: ") + e.Message();
    }
    return t;
}
