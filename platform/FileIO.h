#pragma once
// Whole-file reads and crash-safe whole-file writes. Paths are native (UTF-8) byte strings.
#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace fileio {

// No file of ours comes near this; anything longer is not one.
inline constexpr std::size_t kMaxFileBytes = 16u << 20;

// The file's bytes; EInOutError ("File not found", "File access denied" ...) when it cannot be read.
// Only regular files are read (links followed): a pipe, a device or a socket, and a file of more than
// kMaxFileBytes, raise an EInOutError that names the file, without waiting on it.
std::string ReadFile(const std::string& path);

// As ReadFile, but nullopt when the file does not exist.
std::optional<std::string> ReadFileIfExists(const std::string& path);

// Writes a temporary file beside `path`, flushes it to disk and renames it over `path`, keeping the old
// file's permissions. On failure (EInOutError) the old file is exactly as it was and no temporary is left.
// When `path` is a symbolic link, its final target is replaced, in the target's folder, and the link
// stays. A write beyond the process's file-size limit fails like any other instead of ending it.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// Removes from `dir` the temporary files WriteFileAtomic leaves when the process dies between creating
// and renaming one (".NAME.XXXXXX" for each NAME of `names`), if they are regular files of this user
// last changed more than `age` ago; a younger one may belong to a write in progress. Best effort: what
// cannot be removed stays for the next time. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& dir, std::span<const std::string> names,
                           std::chrono::seconds age);

// The process's working directory without a trailing separator.
std::string CurrentDirectory();

// `dir` + "/" + `name`.
std::string JoinPath(const std::string& dir, const std::string& name);

} // namespace fileio
