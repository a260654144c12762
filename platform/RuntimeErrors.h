#pragma once
// The one exception hierarchy. Messages are CP932 text, shown as they stand in the error box.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// File input and output. The messages are the runtime's English texts, chosen by cause.
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, std::string message) : Exception(std::move(message)), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; } // the errno value behind it, 0 when none

    // The runtime's message for a failed open, read or write of `path` with `err` (an errno value).
    static EInOutError FromErrno(int err, const std::string& path);

private:
    int errorCode_;
};

// Text that is not a number where one is needed: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A broken internal assumption, with the file and line where it was checked.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};
