#include "printer/qt/CupsConnection.h"

#include "platform/Cp932Codec.h"

#include <cerrno>

CupsConnection::CupsConnection() : address_(SchedulerAddress()) {
    const int connectMs = static_cast<int>(kSchedulerAnswerSeconds * 1000);
    http_ =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, connectMs, nullptr);
    if (!http_) {
        // A listening scheduler accepts at once, even when it is stopped; only a connect that ran out
        // of time means one is there but does not answer.
        timedOut_ = errno == ETIMEDOUT;
        return;
    }
    httpSetTimeout(http_, kSchedulerAnswerSeconds, &CupsConnection::StopWaiting, this);
}

CupsConnection::~CupsConnection() {
    if (http_) httpClose(http_);
}

int CupsConnection::StopWaiting(http_t*, void* self) {
    static_cast<CupsConnection*>(self)->timedOut_ = true;
    return 0; // give up
}

SchedulerTrouble CupsConnection::Trouble() const {
    if (timedOut_) return SchedulerTrouble::NoAnswer;
    if (!http_) return SchedulerTrouble::NotRunning;
    return SchedulerTrouble::None;
}

std::string SchedulerAddress() {
    std::string server = cupsServer();
    if (!server.empty() && server[0] != '/') server += ":" + std::to_string(ippPort());
    return server;
}

std::string TroubleText(SchedulerTrouble trouble) {
    switch (trouble) {
    case SchedulerTrouble::NotRunning:
        return cp932::FromUtf8("CUPS が動いていません");
    case SchedulerTrouble::NoAnswer:
        return cp932::FromUtf8("プリンタの応答がありません");
    case SchedulerTrouble::None:
        break;
    }
    return {};
}
