#pragma once
// One document, one job: the job is created held, the document sent, then the job released. A job the
// scheduler did not confirm therefore never prints; it is cancelled in the background as soon as the
// scheduler answers again, so a slip is either accepted or cleanly not there.
#include "printer/qt/CupsConnection.h"

#include <cups/cups.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CupsJobs {
public:
    CupsJobs();
    ~CupsJobs(); // stops the background sweep
    CupsJobs(const CupsJobs&) = delete;
    CupsJobs& operator=(const CupsJobs&) = delete;

    using Options = std::vector<std::pair<std::string, std::string>>;

    struct Document {
        const char* format; // its MIME type: a PDF page, or raw bytes that pass the driver by
        const char* data;
        std::size_t size;
        const char* call; // the printer object's call that sends it, for the messages
    };

    // Submits `document` to `queue` as `title` (both UTF-8) over `connection`. Raises EHqPrinter with
    // the message "<call>: <the scheduler's message>" and the queue and likely cause below it.
    void Submit(CupsConnection& connection, const std::string& queue, const std::string& title,
                const Options& options, const Document& document);

private:
    struct Sweep;
    std::shared_ptr<Sweep> sweep_;
};
