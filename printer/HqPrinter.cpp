#include "printer/HqPrinter.h"

#include "platform/Cp932.h"

#include <array>
#include <string_view>

namespace {

constexpr std::uint8_t kPapersLoaded = 1;
constexpr std::uint8_t kBinsLoaded = 2;
constexpr std::size_t kPaperNameBytes = 64;
constexpr std::size_t kBinNameBytes = 24;

// Bit i of the supported-fields set stands for the i-th of these device-setting fields.
constexpr std::array<std::uint32_t, 17> kFieldBits = {
    DM_ORIENTATION,   DM_PAPERSIZE,    DM_PAPERLENGTH, DM_PAPERWIDTH,   DM_SCALE,        DM_COPIES,
    DM_DEFAULTSOURCE, DM_PRINTQUALITY, DM_COLOR,       DM_DUPLEX,       DM_YRESOLUTION,  DM_TTOPTION,
    DM_COLLATE,       DM_FORMNAME,     DM_LOGPIXELS,   DM_PANNINGWIDTH, DM_PANNINGHEIGHT};

constexpr unsigned kFieldPaperSize = 1;
constexpr unsigned kFieldScale = 4;
constexpr unsigned kFieldDefaultSource = 6;

[[noreturn]] void AssertionFailure(int line) {
    throw EAssertionFailed("Assertion failure (HqPrinter.cpp, line " + std::to_string(line) + ")");
}
#define HQ_ASSERT(cond)                                                                                      \
    do {                                                                                                     \
        if (!(cond)) AssertionFailure(__LINE__);                                                             \
    } while (0)

// A driver's name field ends at its first zero byte and holds at most `limit` bytes; a cut never
// leaves half of a double-byte character behind.
std::string FieldName(const std::string& raw, std::size_t limit) {
    std::string_view name(raw);
    name = name.substr(0, name.find('\0'));
    return cp932::CutBytes(name, limit);
}

// A driver lists each paper once, so the first match is the one; a source may be listed under several
// names, and the last of them is the one in force.
int FirstMatch(const std::vector<std::uint16_t>& numbers, int n) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == n) return static_cast<int>(i);
    }
    return -1;
}

int LastMatch(const std::vector<std::uint16_t>& numbers, int n) {
    int found = -1;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == n) found = static_cast<int>(i);
    }
    return found;
}

std::vector<std::uint16_t> NumbersOf(const std::vector<NumberedName>& items) {
    std::vector<std::uint16_t> numbers;
    for (const NumberedName& item : items)
        numbers.push_back(item.number);
    return numbers;
}

THqPrinter* g_hqPrinter = nullptr;
std::function<THqPrinter&()> g_pendingHqPrinter;

} // namespace

THqPrinter::THqPrinter(std::unique_ptr<PlatformPrinter> platform)
    : platform_(std::move(platform)), printersInfo_(std::make_unique<THqAllPrintersInfo>(*platform_)) {}

void THqPrinter::CheckNoPrinter() {
    for (int i = 0; i < printersInfo_->Count(); ++i) {
        if (!printersInfo_->IsHidden(i)) return;
    }
    cachedIndex_ = -1;
    throw EHqPrinterNoPrinter("THqPrinter.CheckNoPrinter: No Printer", platform_->NoPrinterCause());
}

const std::vector<std::string>& THqPrinter::GetPrinterNames() {
    CheckNoPrinter();
    printerNames_.clear();
    for (int i = 0; i < printersInfo_->Count(); ++i) {
        if (!printersInfo_->IsHidden(i)) printerNames_.push_back(printersInfo_->GetName(i));
    }
    return printerNames_;
}

int THqPrinter::GetIndex() {
    CheckNoPrinter();
    int p = platform_->PrinterIndex();
    if (p == -1) return -1;
    if (p >= 0 && p < printersInfo_->Count() && printersInfo_->IsHidden(p))
        throw EHqPrinterIllegalIndex("THqPrinter.GetIndex: Printers.PrinterIndex is Illegal");
    const std::string device = platform_->DeviceName();
    int r = 0;
    while (r < printersInfo_->Count() && printersInfo_->GetName(r) != device)
        ++r;
    HQ_ASSERT(r < printersInfo_->Count());
    int hiddenBefore = 0;
    for (int i = 0; i < r; ++i) {
        if (printersInfo_->IsHidden(i)) ++hiddenBefore;
    }
    return r - hiddenBefore;
}

void THqPrinter::SetIndex(int index) {
    CheckNoPrinter();
    if (index < -1) throw EHQPrinterRangeError("THqPrinter.SetIndex: Index is out of Range");
    if (index == GetIndex()) return;
    int p = -1;
    if (index >= 0) {
        int visible = 0;
        for (int i = 0; i < printersInfo_->Count() && p < 0; ++i) {
            if (printersInfo_->IsHidden(i)) continue;
            if (visible == index) p = i;
            ++visible;
        }
        if (p < 0) throw EHQPrinterRangeError("THqPrinter.SetIndex: Index is out of Range");
    }
    platform_->SetPrinterIndex(p);
    platform_->ResetDeviceMode();
    cachedIndex_ = -1;
    UpdateCapabilities();
    ClearDeviceMode();
}

void THqPrinter::FetchDeviceMode() {
    ClearDeviceMode();
    DeviceMode mode = platform_->GetDeviceMode();
    HQ_ASSERT(mode.size > 0);
    deviceMode_ = mode;
}

void THqPrinter::EnsureDeviceMode() {
    if (!deviceMode_) FetchDeviceMode();
}

std::uint32_t THqPrinter::GetSupportedFields() {
    CheckNoPrinter();
    EnsureDeviceMode();
    std::uint32_t set = 0;
    for (std::size_t i = 0; i < kFieldBits.size(); ++i) {
        if (deviceMode_->dmFields & kFieldBits[i]) set |= 1u << i;
    }
    return set;
}

void THqPrinter::CheckSupported(unsigned field, const char* message) {
    if (field > 31 || (GetSupportedFields() & (1u << field)) == 0) throw EHqPrinterNotSupported(message);
}

void THqPrinter::LoadPaperSizes() {
    paperNumbers_.clear();
    paperNames_.clear();
    std::vector<NumberedName> papers = platform_->Papers(platform_->DeviceName());
    if (papers.empty()) return;
    capabilities_ |= kPapersLoaded;
    for (const NumberedName& paper : papers) {
        paperNumbers_.push_back(paper.number);
        paperNames_.push_back(FieldName(paper.name, kPaperNameBytes));
    }
}

void THqPrinter::LoadBins() {
    binNumbers_.clear();
    binNames_.clear();
    std::vector<NumberedName> bins = platform_->Bins(platform_->DeviceName());
    if (bins.empty()) return;
    capabilities_ |= kBinsLoaded;
    for (const NumberedName& bin : bins) {
        binNumbers_.push_back(bin.number);
        binNames_.push_back(FieldName(bin.name, kBinNameBytes));
    }
}

void THqPrinter::UpdateCapabilities() {
    int p = platform_->PrinterIndex();
    if (p == cachedIndex_) return;
    cachedIndex_ = p;
    GetSupportedFields(); // for its printer check and the settings copy it leaves behind
    capabilities_ = 0;
    LoadPaperSizes();
    LoadBins();
}

void THqPrinter::Refresh() {
    platform_->Reload();
    ClearDeviceMode();
    cachedIndex_ = -1;
    UpdateCapabilities();
}

int THqPrinter::GetPaperSizeNumber() {
    CheckNoPrinter();
    CheckSupported(kFieldPaperSize, "THqPrinter.GetPaperSizeNumber: PaperSize is not Supported");
    EnsureDeviceMode();
    return deviceMode_->dmPaperSize;
}

const std::vector<std::string>& THqPrinter::GetPaperSizeNames() {
    CheckNoPrinter();
    CheckSupported(kFieldPaperSize, "THqPrinter.GetPaperSizeNames: PaperSize is not Supported");
    UpdateCapabilities();
    if (!(capabilities_ & kPapersLoaded))
        throw EHqPrinterNoInfo("THqPrinter.GetPaperSizeNames: No Papersize Info Available");
    return paperNames_;
}

int THqPrinter::GetPaperSizeIndex() {
    CheckNoPrinter();
    CheckSupported(kFieldPaperSize, "THqPrinter.GetPaperSizeIndex: PaperSize is not Supported");
    int n = GetPaperSizeNumber();
    UpdateCapabilities();
    if (!(capabilities_ & kPapersLoaded))
        throw EHqPrinterNoInfo("THqPrinter.GetPaperSizeIndex: No Papersize Info Available");
    if (int found = FirstMatch(paperNumbers_, n); found >= 0) return found;
    throw EHQPrinterPaperSizeError("THqPrinter.GetPaperSizeIndex: Cannot Get Paper Index");
}

int THqPrinter::GetBinNumber() {
    CheckNoPrinter();
    CheckSupported(kFieldDefaultSource, "THqPrinter.GetBinNumber: Bin is not Supported");
    EnsureDeviceMode();
    return deviceMode_->dmDefaultSource;
}

const std::vector<std::string>& THqPrinter::GetBinNames() {
    CheckNoPrinter();
    CheckSupported(kFieldDefaultSource, "THqPrinter.GetBinNames: Bin is not Supported");
    UpdateCapabilities();
    if (!(capabilities_ & kBinsLoaded))
        throw EHqPrinterNoInfo("THqPrinter.GetBinNames: No Bin Info Available");
    return binNames_;
}

int THqPrinter::GetBinIndex() {
    CheckNoPrinter();
    CheckSupported(kFieldDefaultSource, "THqPrinter.GetBinIndex: Bin is not Supported");
    int n = GetBinNumber();
    UpdateCapabilities();
    if (!(capabilities_ & kBinsLoaded))
        throw EHqPrinterNoInfo("THqPrinter.GetBinIndex: No Bin Info Available");
    const int found = LastMatch(binNumbers_, n);
    if (found < 0) throw EHqPrinterBinError("THqPrinter.GetBinIndex: Cannot Get Bin Index");
    return found;
}

void THqPrinter::GetResolution(TPoint& point) {
    CheckNoPrinter();
    point = platform_->Resolution();
}

std::int16_t THqPrinter::GetScale() {
    CheckNoPrinter();
    if (!(GetSupportedFields() & (1u << kFieldScale))) return 100;
    EnsureDeviceMode();
    return deviceMode_->dmScale;
}

PageGeometry THqPrinter::GetPageGeometry() {
    CheckNoPrinter();
    return platform_->Page();
}

HqCanvas& THqPrinter::GetCanvas() {
    return platform_->Canvas();
}

void THqPrinter::BeginDoc(const std::string& title) {
    platform_->SetTitle(title);
    platform_->BeginDoc();
}

void THqPrinter::EndDoc() {
    platform_->EndDoc();
}

void THqPrinter::Abort() {
    platform_->Abort();
}

void THqPrinter::PrintRaw(const std::string& title, const std::string& bytes) {
    platform_->SetTitle(title);
    platform_->SendRaw(bytes);
}

const std::vector<std::string>& THqPrinter::GetPortNames() {
    portNames_.clear();
    for (std::string& port : platform_->EnumPorts()) {
        bool known = false;
        for (const std::string& p : portNames_)
            known = known || p == port;
        if (!known) portNames_.push_back(std::move(port));
    }
    return portNames_;
}

void THqPrinter::SettingsChanged() {
    auto fresh = std::make_unique<THqAllPrintersInfo>(*platform_);
    if (!fresh->IsSame(*printersInfo_)) {
        platform_->Discard();
        printersInfo_ = std::move(fresh);
        cachedIndex_ = -1;
        ClearDeviceMode();
        if (OnChange) OnChange(*this);
        return;
    }
    std::vector<std::string> oldPorts = portNames_;
    GetPortNames();
    if (oldPorts != portNames_ && OnChange) OnChange(*this);
}

PrinterChoice THqPrinter::ChoiceFor(int index) {
    const std::string device = GetPrinterNames().at(static_cast<std::size_t>(index));
    const DeviceMode mode =
        index == GetIndex() ? platform_->GetDeviceMode() : platform_->DefaultDeviceMode(device);
    PrinterChoice choice;
    choice.papers = platform_->Papers(device);
    choice.bins = platform_->Bins(device);
    choice.paperIndex = FirstMatch(NumbersOf(choice.papers), mode.dmPaperSize);
    choice.binIndex = LastMatch(NumbersOf(choice.bins), mode.dmDefaultSource);
    return choice;
}

void THqPrinter::Choose(int index, std::optional<std::uint16_t> paper, std::optional<std::uint16_t> bin) {
    SetIndex(index);
    const DeviceMode mode = platform_->GetDeviceMode();
    platform_->SetPaperAndBin(paper ? static_cast<std::int16_t>(*paper) : mode.dmPaperSize,
                              bin ? static_cast<std::int16_t>(*bin) : mode.dmDefaultSource);
    Refresh();
}

void THqPrinter::SetSlipForm(SlipForm form) {
    if (form == slipForm_) return;
    slipForm_ = form;
    platform_->SetSlipForm(form);
    ClearDeviceMode();
    cachedIndex_ = -1;
}

PrinterPlace THqPrinter::FindPrinter(std::string_view name) const {
    int visible = 0;
    for (int i = 0; i < printersInfo_->Count(); ++i) {
        const bool hidden = printersInfo_->IsHidden(i);
        if (cp932::EqualsIgnoreAsciiCase(printersInfo_->GetName(i), name))
            return hidden ? PrinterPlace{PrinterPlace::Hidden, -1}
                          : PrinterPlace{PrinterPlace::Visible, visible};
        if (!hidden) ++visible;
    }
    return {};
}

THqPrinter& HqPrinter() {
    if (!g_hqPrinter && g_pendingHqPrinter) g_hqPrinter = &g_pendingHqPrinter();
    HQ_ASSERT(g_hqPrinter != nullptr);
    return *g_hqPrinter;
}

void SetHqPrinter(THqPrinter* printer) {
    g_hqPrinter = printer;
    if (!printer) g_pendingHqPrinter = nullptr;
}

void SetPendingHqPrinter(std::function<THqPrinter&()> finish) {
    g_hqPrinter = nullptr;
    g_pendingHqPrinter = std::move(finish);
}
