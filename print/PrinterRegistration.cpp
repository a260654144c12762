#include "print/PrinterRegistration.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/ProfileFile.h"
#include "printer/HqPrinter.h"

namespace {

// A line break never ends up in a value, so it marks a key that is not there.
constexpr const char* kAbsent = "\n";
constexpr const char* kModeKey = "PrintMode";

PrinterRegistration ReadSection(const ProfileFile& file, const std::string& slipType) {
    PrinterRegistration r;
    r.registered = file.ReadString(slipType, "PrnNoIndex", kAbsent) != kAbsent;
    r.printerName = cp932::PlainTrim(file.ReadString(slipType, "PrnName", ""));
    r.printerIndex = file.ReadString(slipType, "PrnNoIndex", "0");
    r.top = file.ReadString(slipType, "tavPrn_Top", "0");
    r.left = file.ReadString(slipType, "tavPrn_Left", "0");
    r.mode = cp932::EqualsIgnoreAsciiCase(cp932::PlainTrim(file.ReadString(slipType, kModeKey, "")), "text")
                 ? PrintMode::Text
                 : PrintMode::Graphics;
    return r;
}

} // namespace

PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType) {
    return ReadSection(ProfileFile(path), slipType);
}

std::optional<PrinterRegistration> FindPrinterRegistration(const std::string& path,
                                                           const std::string& slipType) {
    ProfileFile file(path);
    PrinterRegistration r = ReadSection(file, slipType);
    if (!r.registered) return std::nullopt;
    r.printerName = file.ReadString(slipType, "PrnName", "");
    return r;
}

void WritePrinterRegistration(const std::string& path, const std::string& slipType,
                              const PrinterRegistration& r) {
    ProfileFile file(path);
    if (r.registered) {
        file.WriteString(slipType, "PrnName", r.printerName);
        file.WriteString(slipType, "PrnNoIndex", r.printerIndex);
    }
    file.WriteString(slipType, "tavPrn_Top", r.top);
    file.WriteString(slipType, "tavPrn_Left", r.left);
    if (r.mode == PrintMode::Text || file.ReadString(slipType, kModeKey, kAbsent) != kAbsent)
        file.WriteString(slipType, kModeKey, r.mode == PrintMode::Text ? "text" : "graphics");
    file.Save();
}

std::string NotRegisteredText() {
    return cp932::FromUtf8("この用紙の印刷先が登録されていません");
}

int NamedPrinterIndex(const THqPrinter& printer, const std::string& name) {
    const PrinterPlace place = printer.FindPrinter(name);
    if (place.kind == PrinterPlace::Visible) return place.index;
    const char* why =
        place.kind == PrinterPlace::Hidden ? "」は印刷を受け付けていません" : "」が見つかりません";
    throw EHqPrinterNotThere(cp932::FromUtf8("登録されたプリンタ「") + name + cp932::FromUtf8(why));
}

std::string RegistrationFilePath(const std::string& dir) {
    return fileio::JoinPath(dir, kRegistrationFileName);
}
