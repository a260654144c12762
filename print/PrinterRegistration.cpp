#include "print/PrinterRegistration.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"
#include "printer/HqPrinter.h"

PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType) {
    ProfileFile file(path);
    PrinterRegistration r;
    r.printerName = cp932::PlainTrim(file.ReadString(slipType, "PrnName", ""));
    r.printerIndex = file.ReadString(slipType, "PrnNoIndex", "0");
    r.top = file.ReadString(slipType, "tavPrn_Top", "0");
    r.left = file.ReadString(slipType, "tavPrn_Left", "0");
    return r;
}

void WritePrinterRegistration(const std::string& path, const std::string& slipType,
                              const PrinterRegistration& r) {
    ProfileFile file(path);
    file.WriteString(slipType, "PrnName", r.printerName);
    file.WriteString(slipType, "PrnNoIndex", r.printerIndex);
    file.WriteString(slipType, "tavPrn_Top", r.top);
    file.WriteString(slipType, "tavPrn_Left", r.left);
    file.Save();
}

int NamedPrinterIndex(const THqPrinter& printer, const std::string& name) {
    const PrinterPlace place = printer.FindPrinter(name);
    if (place.kind == PrinterPlace::Visible) return place.index;
    const char* why =
        place.kind == PrinterPlace::Hidden ? "」は印刷を受け付けていません" : "」が見つかりません";
    throw EHqPrinterNotThere(cp932::FromUtf8("登録されたプリンタ「") + name + cp932::FromUtf8(why));
}
