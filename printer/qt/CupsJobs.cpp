#include "printer/qt/CupsJobs.h"

#include "platform/Cp932Codec.h"
#include "printer/HqPrinterErrors.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::string SchedulerMessage() {
    const char* message = cupsLastErrorString();
    return message && *message ? message : "the scheduler did not answer";
}

std::string PrinterUri(const std::string& queue) {
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.c_str());
    return uri;
}

ipp_t* JobRequest(ipp_op_t op, const std::string& queue, int job) {
    ipp_t* request = ippNewRequest(op);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri(queue).c_str());
    if (job > 0) ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// One Create-Job request, nothing more: cupsCreateJob would first look the queue up twice more, and
// those look-ups wait on a connection of their own, for as long as they like.
int CreateJob(http_t* http, const std::string& queue, const std::string& title, int count,
              cups_option_t* options) {
    ipp_t* request = JobRequest(IPP_OP_CREATE_JOB, queue, 0);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    cupsEncodeOptions2(request, count, options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, count, options, IPP_TAG_JOB);
    ipp_t* response = cupsDoRequest(http, request, ("/printers/" + queue).c_str());
    int job = 0;
    if (response && ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING) {
        if (ipp_attribute_t* id = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER))
            job = ippGetInteger(id, 0);
    }
    ippDelete(response);
    return job;
}

// The queue and the likely cause of a refusal, for the line under the message.
std::string CauseOf(ipp_status_t status, const std::string& queue) {
    const char* cause = "";
    switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        cause = "が削除されました";
        break;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        cause = "はジョブを受け付けていません";
        break;
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        cause = "はこの印刷データを受け付けません";
        break;
    default:
        break;
    }
    return cp932::FromUtf8("プリンタ「" + queue + "」" + cause);
}

[[noreturn]] void Refused(const char* call, const std::string& message, SchedulerTrouble trouble,
                          ipp_status_t status, const std::string& queue) {
    const std::string head = std::string(call) + ": ";
    if (trouble == SchedulerTrouble::NoAnswer)
        throw EHqPrinterNoAnswer(
            head + TroubleText(trouble),
            cp932::FromUtf8("プリンタ「" + queue + "」: CUPS が止まっているか、混み合っています"));
    if (trouble == SchedulerTrouble::NotRunning)
        throw EHqPrinter(head + cp932::FromUtf8(message), TroubleText(trouble));
    throw EHqPrinter(head + cp932::FromUtf8(message), CauseOf(status, queue));
}

} // namespace

// Jobs left behind by a scheduler that stopped answering: held, so they cannot print, and cancelled
// here once it answers again.
struct CupsJobs::Sweep {
    struct Orphan {
        std::string queue, title;
        int id = 0; // 0: the job may or may not have been made
    };
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<Orphan> orphans;
    std::string address;
    bool stop = false;
    bool running = false;
    std::thread thread;

    void Add(Orphan orphan, const std::string& schedulerAddress) {
        std::unique_lock lock(mutex);
        orphans.push_back(std::move(orphan));
        address = schedulerAddress;
        if (running) return;
        if (thread.joinable()) thread.join(); // a sweep that had finished
        running = true;
        thread = std::thread([this] { Run(); });
    }

    void Stop() {
        {
            std::unique_lock lock(mutex);
            stop = true;
        }
        wake.notify_all();
        if (thread.joinable()) thread.join();
    }

    void Run() {
        std::string server;
        {
            std::unique_lock lock(mutex);
            server = address;
        }
        cupsSetServer(server.c_str()); // this thread's scheduler is the one the jobs were left at
        const Clock::time_point giveUp = Clock::now() + std::chrono::minutes(10);
        std::optional<Clock::time_point> answered;
        for (;;) {
            std::vector<Orphan> pending;
            {
                std::unique_lock lock(mutex);
                wake.wait_for(lock, std::chrono::seconds(1), [this] { return stop; });
                if (stop || orphans.empty() || Clock::now() > giveUp) {
                    running = false;
                    return;
                }
                pending = orphans;
            }
            CupsConnection connection;
            if (!connection.Http()) continue;
            std::vector<Orphan> left;
            for (const Orphan& o : pending) {
                if (!Settle(connection, o, answered)) left.push_back(o);
            }
            std::unique_lock lock(mutex);
            orphans.erase(orphans.begin(), orphans.begin() + static_cast<std::ptrdiff_t>(pending.size()));
            orphans.insert(orphans.begin(), left.begin(), left.end());
        }
    }

    // True when the orphan is dealt with: cancelled, or found not to be held.
    static bool Settle(CupsConnection& connection, const Orphan& o,
                       std::optional<Clock::time_point>& answered) {
        http_t* http = connection.Http();
        if (o.id > 0) {
            ipp_t* request = JobRequest(IPP_OP_GET_JOB_ATTRIBUTES, o.queue, o.id);
            ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                         "job-state");
            ipp_t* response = cupsDoRequest(http, request, "/");
            if (!response) return cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
            ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
            const bool held = state && ippGetInteger(state, 0) == IPP_JSTATE_HELD;
            ippDelete(response);
            return !held || cupsCancelJob2(http, o.queue.c_str(), o.id, 0) == IPP_STATUS_OK;
        }
        // The scheduler may still be working through the request that created it: look twice, a
        // moment apart, after it first answers.
        ipp_t* request = JobRequest(IPP_OP_GET_JOBS, o.queue, 0);
        ippAddBoolean(request, IPP_TAG_OPERATION, "my-jobs", 1);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
        static const char* const kAttributes[] = {"job-id", "job-state", "job-name"};
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                      kAttributes);
        ipp_t* response = cupsDoRequest(http, request, "/");
        if (!response) return false;
        int id = 0;
        bool held = false;
        std::string name;
        auto cancel = [&] {
            if (id > 0 && held && name == o.title) cupsCancelJob2(http, o.queue.c_str(), id, 0);
            id = 0;
            held = false;
            name.clear();
        };
        for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
            const char* attr = ippGetName(a);
            if (!attr) {
                cancel();
            } else if (!std::strcmp(attr, "job-id")) {
                id = ippGetInteger(a, 0);
            } else if (!std::strcmp(attr, "job-state")) {
                held = ippGetInteger(a, 0) == IPP_JSTATE_HELD;
            } else if (!std::strcmp(attr, "job-name")) {
                name = ippGetString(a, 0, nullptr);
            }
        }
        cancel();
        ippDelete(response);
        if (!answered) answered = Clock::now();
        return Clock::now() - *answered >= std::chrono::seconds(2);
    }
};

CupsJobs::CupsJobs() : sweep_(std::make_shared<Sweep>()) {}

CupsJobs::~CupsJobs() {
    sweep_->Stop();
}

void CupsJobs::Submit(CupsConnection& connection, const std::string& queue, const std::string& title,
                      const Options& options, const Document& document) {
    const char* call = document.call;
    http_t* http = connection.Http();
    if (!http)
        Refused(call, "Connection refused", connection.Trouble(), IPP_STATUS_ERROR_SERVICE_UNAVAILABLE,
                queue);
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
    count = cupsAddOption("job-hold-until", "indefinite", count, &list); // released once the document is in
    const int job = CreateJob(http, queue, title, count, list);
    cupsFreeOptions(count, list);
    if (job <= 0) {
        const std::string message = SchedulerMessage();
        if (connection.Trouble() == SchedulerTrouble::NoAnswer)
            sweep_->Add({queue, title, 0}, connection.Address());
        Refused(call, message, connection.Trouble(), cupsLastError(), queue);
    }

    auto abandon = [&] {
        const std::string message = SchedulerMessage();
        const ipp_status_t status = cupsLastError();
        if (connection.Trouble() != SchedulerTrouble::None ||
            cupsCancelJob2(http, queue.c_str(), job, 0) != IPP_STATUS_OK)
            sweep_->Add({queue, title, job}, connection.Address());
        Refused(call, message, connection.Trouble(), status, queue);
    };
    if (cupsStartDocument(http, queue.c_str(), job, title.c_str(), document.format, 1) !=
        HTTP_STATUS_CONTINUE)
        abandon();
    const bool written = cupsWriteRequestData(http, document.data, document.size) == HTTP_STATUS_CONTINUE;
    const ipp_status_t status = cupsFinishDocument(http, queue.c_str());
    if (!written || status > IPP_STATUS_OK_CONFLICTING) abandon();
    ippDelete(cupsDoRequest(http, JobRequest(IPP_OP_RELEASE_JOB, queue, job), "/jobs/"));
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) abandon();
}
