#pragma once
// A connection to the scheduler on which no call waits longer than kSchedulerAnswerSeconds: a scheduler
// that was stopped or hangs is reported, never waited for.
#include <cups/cups.h>

#include <string>

inline constexpr double kSchedulerAnswerSeconds = 5.0;

// What stood in the way of the last exchange.
enum class SchedulerTrouble {
    None,
    NotRunning, // nothing accepted the connection
    NoAnswer,   // connected, but no answer in time
};

class CupsConnection {
public:
    // To the scheduler that CUPS_SERVER or cupsSetServer names for the calling thread.
    CupsConnection();
    ~CupsConnection();
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    http_t* Http() const { return http_; } // null when no connection could be made
    SchedulerTrouble Trouble() const;
    // The scheduler's address as it was named when connecting.
    const std::string& Address() const { return address_; }

private:
    static int StopWaiting(http_t*, void* self);

    http_t* http_ = nullptr;
    std::string address_;
    bool timedOut_ = false;
};

// The calling thread's scheduler address, "host:port" or a socket path: another thread that is given
// it (cupsSetServer) talks to the same scheduler.
std::string SchedulerAddress();

// The lines for the user: what stood in the way, in CP932.
std::string TroubleText(SchedulerTrouble trouble);
