#include "printer/qt/CupsPrinter.h"

#include "platform/Cp932Codec.h"
#include "printer/HqPrinterErrors.h"

#include <cups/cups.h>

#include <cstring>
#include <memory>

namespace {

// A device URI without any user name and password in it.
std::string WithoutCredentials(const char* uri) {
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, host, sizeof host,
                        &port, resource, sizeof resource) < HTTP_URI_STATUS_OK)
        return uri;
    if (!user[0]) return uri;
    char clean[2048];
    if (httpAssembleURI(HTTP_URI_CODING_ALL, clean, sizeof clean, scheme, nullptr, host, port, resource) <
        HTTP_URI_STATUS_OK)
        return uri;
    return clean;
}

std::string SchedulerMessage() {
    const char* message = cupsLastErrorString();
    return message && *message ? message : "the scheduler did not answer";
}

// The queue's default paper and source as positions in its lists; the first entry when it names none.
void QueueDefaults(const CupsQueue& queue, std::optional<int>& paper, std::optional<int>& source) {
    paper.reset();
    source.reset();
    if (queue.defaultPaper >= 0)
        paper = queue.defaultPaper;
    else if (!queue.papers.empty())
        paper = 0;
    if (queue.defaultSource >= 0)
        source = queue.defaultSource;
    else if (!queue.sources.empty())
        source = 0;
}

} // namespace

std::vector<CupsPrinter::Destination> CupsPrinter::ReadDestinations() {
    // The scheduler's own queues only: printers that libcups would add from network discovery are
    // not the scheduler's, and looking for them costs time on every snapshot.
    static const char* const kAttributes[] = {"printer-name", "printer-is-accepting-jobs", "device-uri"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  sizeof kAttributes / sizeof kAttributes[0], nullptr, kAttributes);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    std::vector<Destination> list;
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response) return list; // no scheduler: no printers
    Destination dest;
    auto flush = [&] {
        if (!dest.name.empty()) list.push_back(dest);
        dest = Destination();
    };
    for (ipp_attribute_t* attr = ippFirstAttribute(response); attr; attr = ippNextAttribute(response)) {
        const char* name = ippGetName(attr);
        if (!name) { // a separator between two printers' groups
            flush();
            continue;
        }
        if (ippGetGroupTag(attr) != IPP_TAG_PRINTER) continue;
        if (!std::strcmp(name, "printer-name"))
            dest.name = ippGetString(attr, 0, nullptr);
        else if (!std::strcmp(name, "printer-is-accepting-jobs"))
            dest.accepting = ippGetBoolean(attr, 0);
        else if (!std::strcmp(name, "device-uri"))
            dest.deviceUri = ippGetString(attr, 0, nullptr);
    }
    flush();
    ippDelete(response);

    if (const char* def = cupsGetDefault2(CUPS_HTTP_DEFAULT)) {
        std::string name = def;
        name = name.substr(0, name.find('/')); // an instance names its queue first
        for (Destination& d : list)
            d.isDefault = d.name == name;
    }
    return list;
}

const std::vector<CupsPrinter::Destination>& CupsPrinter::List() {
    if (!list_) {
        list_ = ReadDestinations();
        if (kept_) {
            for (std::size_t i = 0; i < list_->size(); ++i) {
                if ((*list_)[i].name == kept_->queue) chosen_ = static_cast<int>(i);
            }
        }
    }
    return *list_;
}

std::vector<PrinterRecord> CupsPrinter::EnumPrinters() {
    std::vector<PrinterRecord> records;
    for (const Destination& d : ReadDestinations())
        records.push_back({cp932::FromUtf8(d.name), d.accepting ? 0u : PRINTER_ATTRIBUTE_HIDDEN});
    return records;
}

std::vector<std::string> CupsPrinter::EnumPorts() {
    std::vector<std::string> ports;
    for (const Destination& d : ReadDestinations()) {
        if (!d.deviceUri.empty()) ports.push_back(cp932::FromUtf8(WithoutCredentials(d.deviceUri.c_str())));
    }
    return ports;
}

int CupsPrinter::PrinterIndex() {
    const auto& list = List();
    if (chosen_ >= 0 && chosen_ < static_cast<int>(list.size())) return chosen_;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].isDefault) return static_cast<int>(i);
    }
    // Without a default destination the first one that takes jobs stands in for it.
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].accepting) return static_cast<int>(i);
    }
    return list.empty() ? -1 : 0;
}

void CupsPrinter::SetPrinterIndex(int index) {
    kept_.reset();
    chosen_ = index >= 0 && index < static_cast<int>(List().size()) ? index : -1;
    settingsLoaded_ = false;
}

std::string CupsPrinter::DeviceName() {
    int p = PrinterIndex();
    if (p < 0) return {};
    return cp932::FromUtf8(List()[p].name);
}

const CupsQueue& CupsPrinter::Queue(const std::string& utf8Name) {
    auto it = queues_.find(utf8Name);
    if (it == queues_.end()) it = queues_.emplace(utf8Name, ReadCupsQueue(utf8Name)).first;
    return it->second;
}

const CupsQueue& CupsPrinter::CurrentQueue() {
    static const CupsQueue kNone;
    int p = PrinterIndex();
    if (p < 0) return kNone;
    const CupsQueue& queue = Queue(List()[p].name);
    if (!settingsLoaded_) {
        QueueDefaults(queue, paper_, source_);
        if (kept_ && kept_->queue == List()[p].name) {
            for (std::size_t i = 0; i < queue.papers.size(); ++i) {
                if (queue.papers[i].keyword == kept_->paper) paper_ = static_cast<int>(i);
            }
            for (std::size_t i = 0; i < queue.sources.size(); ++i) {
                if (queue.sources[i].keyword == kept_->source) source_ = static_cast<int>(i);
            }
        }
        kept_.reset();
        settingsLoaded_ = true;
    }
    return queue;
}

void CupsPrinter::ResetDeviceMode() {
    if (int p = PrinterIndex(); p >= 0) queues_.erase(List()[p].name); // the queue's defaults as they are now
    settingsLoaded_ = false;
    CurrentQueue();
}

DeviceMode CupsPrinter::ModeOf(const CupsQueue& queue, std::optional<int> paper, std::optional<int> source) {
    DeviceMode mode;
    mode.size = sizeof(DeviceMode);
    if (!queue.papers.empty()) mode.dmFields |= DM_PAPERSIZE;
    if (!queue.sources.empty()) mode.dmFields |= DM_DEFAULTSOURCE;
    if (queue.scale) mode.dmFields |= DM_SCALE;
    if (paper) mode.dmPaperSize = static_cast<std::int16_t>(queue.papers[*paper].number);
    if (source) mode.dmDefaultSource = static_cast<std::int16_t>(queue.sources[*source].number);
    mode.dmScale = static_cast<std::int16_t>(queue.scale.value_or(100));
    return mode;
}

DeviceMode CupsPrinter::GetDeviceMode() {
    const CupsQueue& queue = CurrentQueue();
    return ModeOf(queue, paper_, source_);
}

DeviceMode CupsPrinter::DefaultDeviceMode(const std::string& device) {
    const CupsQueue& queue = Queue(cp932::ToUtf8(device));
    std::optional<int> paper, source;
    QueueDefaults(queue, paper, source);
    return ModeOf(queue, paper, source);
}

void CupsPrinter::SetPaperAndBin(std::int16_t paper, std::int16_t bin) {
    const CupsQueue& queue = CurrentQueue();
    for (std::size_t i = 0; i < queue.papers.size(); ++i) {
        if (queue.papers[i].number == static_cast<std::uint16_t>(paper)) {
            paper_ = static_cast<int>(i);
            break;
        }
    }
    for (std::size_t i = 0; i < queue.sources.size(); ++i) {
        if (queue.sources[i].number == static_cast<std::uint16_t>(bin)) {
            source_ = static_cast<int>(i);
            break;
        }
    }
}

std::vector<NumberedName> CupsPrinter::Papers(const std::string& device) {
    std::vector<NumberedName> papers;
    for (const CupsPaper& p : Queue(cp932::ToUtf8(device)).papers)
        papers.push_back({p.number, cp932::FromUtf8(p.name)});
    return papers;
}

std::vector<NumberedName> CupsPrinter::Bins(const std::string& device) {
    std::vector<NumberedName> bins;
    for (const CupsSource& s : Queue(cp932::ToUtf8(device)).sources)
        bins.push_back({s.number, cp932::FromUtf8(s.name)});
    return bins;
}

TPoint CupsPrinter::Resolution() {
    const CupsQueue& queue = CurrentQueue();
    return {queue.resolutionX, queue.resolutionY};
}

PageGeometry CupsPrinter::Page() {
    const CupsQueue& queue = CurrentQueue();
    PageGeometry page;
    if (paper_) {
        const CupsPaper& paper = queue.papers[*paper_];
        page.width = paper.width;
        page.length = paper.length;
        page.originX = paper.left;
        page.originY = paper.length - paper.top;
    }
    if (page.width <= 0 || page.length <= 0) page = {595, 842, 0, 0}; // no paper list: A4
    return page;
}

void CupsPrinter::BeginDoc() {
    if (canvas_.Printing()) throw EHqPrinter("Printing in progress");
    const CupsQueue& queue = CurrentQueue();
    PdfPageSetup setup;
    setup.title = QString::fromUtf8(cp932::ToUtf8(title_));
    setup.resolutionX = queue.resolutionX;
    setup.resolutionY = queue.resolutionY;
    const PageGeometry page = Page();
    setup.width = page.width;
    setup.length = page.length;
    setup.originX = page.originX;
    setup.originY = page.originY;
    canvas_.Begin(setup);
}

void CupsPrinter::EndDoc() {
    if (!canvas_.Printing()) throw EHqPrinter("Printer is not currently printing");
    const QByteArray pdf = canvas_.Finish();
    int p = PrinterIndex();
    if (p < 0) throw EHqPrinter("THqPrinter.EndDoc: No Printer");
    const std::string queueName = List()[p].name;
    const CupsQueue& queue = CurrentQueue();

    cups_option_t* options = nullptr;
    int count = 0;
    if (paper_) {
        count = cupsAddOption("media", queue.papers[*paper_].keyword.c_str(), count, &options);
        count = cupsAddOption("PageSize", queue.papers[*paper_].keyword.c_str(), count, &options);
    }
    if (source_) count = cupsAddOption("InputSlot", queue.sources[*source_].keyword.c_str(), count, &options);
    if (!queue.resolutionKeyword.empty())
        count = cupsAddOption("Resolution", queue.resolutionKeyword.c_str(), count, &options);
    count = cupsAddOption("print-scaling", "none", count, &options);

    const std::string title = cp932::ToUtf8(title_);
    int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queueName.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0) throw EHqPrinter("THqPrinter.EndDoc: " + cp932::FromUtf8(SchedulerMessage()));

    auto refuse = [&] {
        std::string message = SchedulerMessage();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queueName.c_str(), job, 0);
        throw EHqPrinter("THqPrinter.EndDoc: " + cp932::FromUtf8(message));
    };
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queueName.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE)
        refuse();
    bool written =
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), pdf.size()) == HTTP_STATUS_CONTINUE;
    ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, queueName.c_str());
    if (!written || status > IPP_STATUS_OK_CONFLICTING) refuse();
}

void CupsPrinter::Abort() {
    canvas_.Drop();
}

// Remembers the current printer, paper and source by name, to find them again in fresh lists.
void CupsPrinter::KeepChoice() {
    kept_.reset();
    int p = list_ ? PrinterIndex() : -1;
    if (p < 0) return;
    Kept kept{(*list_)[p].name, {}, {}};
    if (settingsLoaded_) {
        const CupsQueue& queue = Queue(kept.queue);
        if (paper_) kept.paper = queue.papers[*paper_].keyword;
        if (source_) kept.source = queue.sources[*source_].keyword;
    }
    kept_ = kept;
}

void CupsPrinter::Discard() {
    // A fresh list, but the chosen printer stays chosen while it exists: slips must not move to the
    // default printer because another printer came or went.
    if (chosen_ >= 0)
        KeepChoice();
    else
        kept_.reset();
    list_.reset();
    queues_.clear();
    chosen_ = -1;
    settingsLoaded_ = false;
}

void CupsPrinter::Reload() {
    KeepChoice();
    queues_.clear();
    settingsLoaded_ = false;
}
