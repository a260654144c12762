#include "platform/RuntimeErrors.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

EInOutError EInOutError::FromErrno(int err, const std::string& path) {
    switch (err) {
    case ENOENT: {
        // The runtime tells a missing file from a missing folder.
        std::error_code ec;
        auto parent = std::filesystem::path(path).parent_path();
        if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) return {err, "Path not found"};
        return {err, "File not found"};
    }
    case ENOTDIR:
        return {err, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return {err, "File access denied"};
    case ENOSPC:
    case EDQUOT:
        return {err, "Disk full"};
    default:
        return {err, std::string("I/O error: ") + std::strerror(err)};
    }
}
