#pragma once
// The platform printer over the CUPS scheduler: its destinations, their facts through the destination
// API, one-page PDF jobs and raw ones. One listing of the queues serves every call until the list is
// discarded; no call waits on the scheduler longer than kSchedulerAnswerSeconds.
#include "printer/PlatformPrinter.h"
#include "printer/qt/CupsConnection.h"
#include "printer/qt/CupsJobs.h"
#include "printer/qt/CupsQueue.h"
#include "printer/qt/PdfCanvas.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CupsPrinter : public PlatformPrinter {
public:
    CupsPrinter();
    ~CupsPrinter() override;

    std::vector<PrinterRecord> EnumPrinters() override;
    std::vector<std::string> EnumPorts() override;
    int PrinterIndex() override;
    void SetPrinterIndex(int index) override;
    std::string DeviceName() override;
    void ResetDeviceMode() override;
    DeviceMode GetDeviceMode() override;
    DeviceMode DefaultDeviceMode(const std::string& device) override;
    void SetPaperAndBin(std::int16_t paper, std::int16_t bin) override;
    void SetSlipForm(SlipForm form) override;
    std::vector<NumberedName> Papers(const std::string& device) override;
    std::vector<NumberedName> Bins(const std::string& device) override;
    TPoint Resolution() override;
    PageGeometry Page() override;
    void SetTitle(const std::string& title) override { title_ = title; }
    void BeginDoc() override;
    void EndDoc() override;
    void Abort() override;
    HqCanvas& Canvas() override { return canvas_; }
    void SendRaw(const std::string& bytes) override;
    std::string NoPrinterCause() override;
    void Discard() override;
    void Reload() override;

private:
    struct Destination {
        std::string name; // UTF-8, as the scheduler spells it
        bool accepting = true;
        bool isDefault = false;
        std::string deviceUri;
        CupsQueueAddress address;
    };
    struct Listing {
        std::vector<Destination> destinations;
        SchedulerTrouble trouble = SchedulerTrouble::None;
    };
    Listing ReadDestinations();
    const std::vector<Destination>& List();
    const CupsQueue& Queue(const std::string& utf8Name);
    // The current queue, with its offer and settings loaded.
    const CupsQueue& CurrentQueue();
    const CupsOffer& CurrentOffer();
    void KeepChoice();
    static DeviceMode ModeOf(const CupsQueue& queue, const CupsOffer& offer, std::optional<int> paper,
                             std::optional<int> source);
    // The open connection to the calling thread's scheduler. Right after it failed to answer, every
    // call fails at once for a while instead of waiting again.
    CupsConnection& Connection();
    [[noreturn]] void NoAnswer();
    // Hands `document` to the current queue as one job.
    void Submit(const CupsJobs::Options& options, const CupsJobs::Document& document);

    std::optional<std::vector<Destination>> list_;   // the list the current index counts in
    std::optional<std::vector<Destination>> unused_; // the last listing read, not yet the current list
    SchedulerTrouble listTrouble_ = SchedulerTrouble::None;
    bool listEmpty_ = false;
    std::map<std::string, CupsQueue> queues_;
    int chosen_ = -1; // position in list_; -1: the default destination
    SlipForm form_;
    CupsOffer offer_;          // the current queue's, for form_
    std::optional<int> paper_; // positions in offer_'s lists; empty: none
    std::optional<int> source_;
    bool sendPaper_ = false, sendSource_ = false; // the job asks for them: not the queue's own default
    bool settingsLoaded_ = false;
    struct Kept {
        std::string queue;                        // the printer in force when the list was discarded
        std::optional<std::string> paper, source; // the keywords asked for there
        bool chosen = false;                      // the queue was chosen, not the default destination
    };
    std::optional<Kept> kept_;
    std::string title_;
    PdfCanvas canvas_;
    std::unique_ptr<CupsConnection> connection_;
    std::chrono::steady_clock::time_point quietUntil_;
    CupsJobs jobs_;
};
