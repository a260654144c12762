#include "printer/qt/CupsPrinter.h"

#include "platform/Cp932Codec.h"
#include "printer/HqPrinterErrors.h"

#include <cups/cups.h>

#include <cstring>

namespace {

// After a scheduler left a call unanswered, further calls fail at once for this long rather than each
// waiting its full time again.
constexpr auto kQuietAfterNoAnswer = std::chrono::seconds(2);

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

} // namespace

CupsPrinter::CupsPrinter() = default;
CupsPrinter::~CupsPrinter() = default;

CupsConnection& CupsPrinter::Connection() {
    if (std::chrono::steady_clock::now() < quietUntil_) NoAnswer();
    if (!connection_ || !connection_->Http() || connection_->Trouble() != SchedulerTrouble::None ||
        connection_->Address() != SchedulerAddress())
        connection_ = std::make_unique<CupsConnection>();
    if (connection_->Trouble() == SchedulerTrouble::NoAnswer) NoAnswer();
    return *connection_;
}

void CupsPrinter::NoAnswer() {
    connection_.reset(); // what it was waiting for may still arrive: never read it as the next answer
    quietUntil_ = std::chrono::steady_clock::now() + kQuietAfterNoAnswer;
    throw EHqPrinterNoAnswer(TroubleText(SchedulerTrouble::NoAnswer));
}

CupsPrinter::Listing CupsPrinter::ReadDestinations() {
    // The scheduler's own queues only: printers that libcups would add from network discovery are
    // not the scheduler's, and looking for them costs time on every snapshot.
    static const char* const kAttributes[] = {"printer-name",        "printer-is-accepting-jobs",
                                              "device-uri",          "printer-uri-supported",
                                              "printer-strings-uri", "scaling-default"};
    Listing listing;
    http_t* http = nullptr;
    try {
        http = Connection().Http();
    } catch (const EHqPrinterNoAnswer&) {
        listing.trouble = SchedulerTrouble::NoAnswer;
        return listing;
    }
    if (!http) {
        listing.trouble = SchedulerTrouble::NotRunning;
        return listing;
    }
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  sizeof kAttributes / sizeof kAttributes[0], nullptr, kAttributes);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (!response) {
        listing.trouble = connection_->Trouble() == SchedulerTrouble::NoAnswer ? SchedulerTrouble::NoAnswer
                          : cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND
                              ? SchedulerTrouble::None // no queues
                              : SchedulerTrouble::NotRunning;
        if (listing.trouble == SchedulerTrouble::NoAnswer) {
            connection_.reset();
            quietUntil_ = std::chrono::steady_clock::now() + kQuietAfterNoAnswer;
        }
        return listing;
    }
    Destination dest;
    auto flush = [&] {
        dest.address.name = dest.name;
        if (!dest.name.empty()) listing.destinations.push_back(dest);
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
        else if (!std::strcmp(name, "printer-uri-supported"))
            dest.address.uri = ippGetString(attr, 0, nullptr);
        else if (!std::strcmp(name, "printer-strings-uri"))
            dest.address.stringsUri = ippGetString(attr, 0, nullptr);
        else if (!std::strcmp(name, "scaling-default") && ippGetInteger(attr, 0) > 0)
            dest.address.scale = ippGetInteger(attr, 0);
    }
    flush();
    ippDelete(response);

    if (const char* def = cupsGetDefault2(http)) {
        std::string name = def;
        name = name.substr(0, name.find('/')); // an instance names its queue first
        for (Destination& d : listing.destinations)
            d.isDefault = d.name == name;
    }
    return listing;
}

const std::vector<CupsPrinter::Destination>& CupsPrinter::List() {
    if (!list_) {
        // The listing just read for the printer list, when there is one, so that both count alike.
        if (unused_) {
            list_ = std::move(unused_);
            unused_.reset();
        } else {
            list_ = ReadDestinations().destinations;
        }
        if (kept_ && kept_->chosen) {
            for (std::size_t i = 0; i < list_->size(); ++i) {
                if ((*list_)[i].name == kept_->queue) chosen_ = static_cast<int>(i);
            }
        }
    }
    return *list_;
}

std::vector<PrinterRecord> CupsPrinter::EnumPrinters() {
    Listing listing = ReadDestinations();
    listTrouble_ = listing.trouble;
    listEmpty_ = listing.destinations.empty();
    std::vector<PrinterRecord> records;
    for (const Destination& d : listing.destinations)
        records.push_back({cp932::FromUtf8(d.name), d.accepting ? 0u : PRINTER_ATTRIBUTE_HIDDEN});
    unused_ = std::move(listing.destinations);
    return records;
}

std::string CupsPrinter::NoPrinterCause() {
    if (listTrouble_ != SchedulerTrouble::None) return TroubleText(listTrouble_);
    return cp932::FromUtf8(listEmpty_ ? "CUPS にプリンタが登録されていません"
                                      : "ジョブを受け付けるプリンタがありません");
}

std::vector<std::string> CupsPrinter::EnumPorts() {
    std::vector<std::string> ports;
    for (const Destination& d : ReadDestinations().destinations) {
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
    if (it != queues_.end()) return it->second;
    CupsQueueAddress address;
    for (const Destination& d : List()) {
        if (d.name == utf8Name) address = d.address;
    }
    CupsQueue queue;
    if (!address.uri.empty()) { // else gone: nothing to offer
        try {
            queue = ReadCupsQueue(Connection(), address);
        } catch (const EHqPrinterNoAnswer&) {
            NoAnswer();
        }
    }
    return queues_.emplace(utf8Name, std::move(queue)).first->second;
}

const CupsQueue& CupsPrinter::CurrentQueue() {
    static const CupsQueue kNone;
    int p = PrinterIndex();
    if (p < 0) return kNone;
    const CupsQueue& queue = Queue(List()[p].name);
    if (!settingsLoaded_) {
        offer_ = OfferOf(queue, form_);
        paper_ = offer_.paper;
        source_ = offer_.source;
        sendPaper_ = offer_.sendPaper;
        sendSource_ = offer_.sendSource;
        if (kept_ && kept_->queue == List()[p].name) {
            for (std::size_t i = 0; kept_->paper && i < offer_.papers.size(); ++i) {
                if (offer_.papers[i].keyword == *kept_->paper) {
                    paper_ = static_cast<int>(i);
                    sendPaper_ = true;
                }
            }
            for (std::size_t i = 0; kept_->source && i < offer_.sources.size(); ++i) {
                if (offer_.sources[i].keyword == *kept_->source) {
                    source_ = static_cast<int>(i);
                    sendSource_ = true;
                }
            }
        }
        kept_.reset();
        settingsLoaded_ = true;
    }
    return queue;
}

const CupsOffer& CupsPrinter::CurrentOffer() {
    CurrentQueue();
    return offer_;
}

void CupsPrinter::ResetDeviceMode() {
    // The queue's defaults as this listing read them; Reload reads them afresh.
    settingsLoaded_ = false;
    CurrentQueue();
}

DeviceMode CupsPrinter::ModeOf(const CupsQueue& queue, const CupsOffer& offer, std::optional<int> paper,
                               std::optional<int> source) {
    DeviceMode mode;
    mode.size = sizeof(DeviceMode);
    if (!offer.papers.empty()) mode.dmFields |= DM_PAPERSIZE;
    if (!offer.sources.empty()) mode.dmFields |= DM_DEFAULTSOURCE;
    if (queue.scale) mode.dmFields |= DM_SCALE;
    if (paper) mode.dmPaperSize = static_cast<std::int16_t>(offer.papers[*paper].number);
    if (source) mode.dmDefaultSource = static_cast<std::int16_t>(offer.sources[*source].number);
    mode.dmScale = static_cast<std::int16_t>(queue.scale.value_or(100));
    return mode;
}

DeviceMode CupsPrinter::GetDeviceMode() {
    const CupsQueue& queue = CurrentQueue();
    return ModeOf(queue, offer_, paper_, source_);
}

DeviceMode CupsPrinter::DefaultDeviceMode(const std::string& device) {
    const CupsQueue& queue = Queue(cp932::ToUtf8(device));
    const CupsOffer offer = OfferOf(queue, form_);
    return ModeOf(queue, offer, offer.paper, offer.source);
}

void CupsPrinter::SetPaperAndBin(std::int16_t paper, std::int16_t bin) {
    // Only a change is the user's choice: what is in force by default is not asked for by the job.
    const CupsOffer& offer = CurrentOffer();
    for (std::size_t i = 0; i < offer.papers.size(); ++i) {
        if (offer.papers[i].number == static_cast<std::uint16_t>(paper)) {
            if (paper_ != static_cast<int>(i)) sendPaper_ = !offer.papers[i].keyword.empty();
            paper_ = static_cast<int>(i);
            break;
        }
    }
    for (std::size_t i = 0; i < offer.sources.size(); ++i) {
        if (offer.sources[i].number == static_cast<std::uint16_t>(bin)) {
            if (source_ != static_cast<int>(i)) sendSource_ = !offer.sources[i].keyword.empty();
            source_ = static_cast<int>(i);
            break;
        }
    }
}

void CupsPrinter::SetSlipForm(SlipForm form) {
    if (form == form_) return;
    form_ = form;
    settingsLoaded_ = false; // the new form's defaults; a choice made for the old one is dropped
    if (kept_) kept_->paper = kept_->source = std::nullopt;
}

std::vector<NumberedName> CupsPrinter::Papers(const std::string& device) {
    std::vector<NumberedName> papers;
    for (const CupsPaper& p : OfferOf(Queue(cp932::ToUtf8(device)), form_).papers)
        papers.push_back({p.number, cp932::FromUtf8(p.name)});
    return papers;
}

std::vector<NumberedName> CupsPrinter::Bins(const std::string& device) {
    std::vector<NumberedName> bins;
    for (const CupsSource& s : OfferOf(Queue(cp932::ToUtf8(device)), form_).sources)
        bins.push_back({s.number, cp932::FromUtf8(s.name)});
    return bins;
}

TPoint CupsPrinter::Resolution() {
    const CupsQueue& queue = CurrentQueue();
    return {queue.resolutionX, queue.resolutionY};
}

PageGeometry CupsPrinter::Page() {
    const CupsOffer& offer = CurrentOffer();
    PageGeometry page;
    if (paper_) {
        const CupsPaper& paper = offer.papers[*paper_];
        page.width = paper.width;
        page.length = paper.length;
        page.originX = paper.left;
        page.originY = paper.top; // the queue reports margins, the top one from the paper's top edge
    }
    // No paper list, or the printer's own setting without a size: A4.
    if (page.width <= 0 || page.length <= 0) page = {595, 842, 0, 0};
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
    if (PrinterIndex() < 0) throw EHqPrinter("THqPrinter.EndDoc: No Printer");
    const CupsQueue& queue = CurrentQueue();

    // The IPP attributes for every queue; the resolution also as the driver option, which the
    // scheduler does not derive from them. Paper and source only where they are not the queue's own
    // default, which the queue applies by itself (for a driver's default source, the only way to get it).
    CupsJobs::Options options;
    if (paper_ && sendPaper_) options.emplace_back("media", offer_.papers[*paper_].keyword);
    if (source_ && sendSource_)
        options.emplace_back("media-col", "{media-source=" + offer_.sources[*source_].keyword + "}");
    if (queue.resolutionKnown) {
        const std::string resolution = ResolutionKeyword(queue.resolutionX, queue.resolutionY);
        options.emplace_back("printer-resolution", std::to_string(queue.resolutionX) + "x" +
                                                       std::to_string(queue.resolutionY) + "dpi");
        options.emplace_back("Resolution", resolution);
    }
    options.emplace_back("print-scaling", "none");
    Submit(options,
           {CUPS_FORMAT_PDF, pdf.constData(), static_cast<std::size_t>(pdf.size()), "THqPrinter.EndDoc"});
}

void CupsPrinter::SendRaw(const std::string& bytes) {
    if (canvas_.Printing()) throw EHqPrinter("Printing in progress");
    if (PrinterIndex() < 0) throw EHqPrinter("THqPrinter.PrintRaw: No Printer");
    // Nothing but the bytes: no filter runs, so paper, source and resolution would mean nothing.
    Submit({}, {CUPS_FORMAT_RAW, bytes.data(), bytes.size(), "THqPrinter.PrintRaw"});
}

void CupsPrinter::Submit(const CupsJobs::Options& options, const CupsJobs::Document& document) {
    const std::string queueName = List()[PrinterIndex()].name;
    CupsConnection* connection = nullptr;
    try {
        connection = &Connection();
    } catch (const EHqPrinterNoAnswer& e) { // a moment ago it did not answer
        throw EHqPrinterNoAnswer(std::string(document.call) + ": " + e.Message(), e.Cause());
    }
    try {
        jobs_.Submit(*connection, queueName, cp932::ToUtf8(title_), options, document);
    } catch (const EHqPrinterNoAnswer&) {
        connection_.reset();
        quietUntil_ = std::chrono::steady_clock::now() + kQuietAfterNoAnswer;
        throw;
    }
}

void CupsPrinter::Abort() {
    canvas_.Drop();
}

// Remembers the current printer, paper and source by name, to find them again in fresh lists.
void CupsPrinter::KeepChoice() {
    kept_.reset();
    int p = list_ ? PrinterIndex() : -1;
    if (p < 0) return;
    Kept kept{(*list_)[p].name, {}, {}, chosen_ >= 0};
    // Only what was asked for: the defaults are read afresh with the fresh lists.
    if (settingsLoaded_) {
        if (paper_ && sendPaper_) kept.paper = offer_.papers[*paper_].keyword;
        if (source_ && sendSource_) kept.source = offer_.sources[*source_].keyword;
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
    // The queue's scaling default comes with the listing: read both again.
    KeepChoice();
    list_.reset();
    unused_.reset();
    queues_.clear();
    chosen_ = -1;
    settingsLoaded_ = false;
}
