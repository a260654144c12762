#pragma once
// Whole-file reads and crash-safe whole-file writes. Paths are native (UTF-8) byte strings.
#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace fileio {

// The limit of the small files of ours (settings, senders, registrations, mappings, the pending
// records). Each kind of larger file reads with a limit of its own, kept beside its reader.
inline constexpr std::size_t kMaxFileBytes = 16u << 20;

// The file's bytes; EInOutError ("File not found", "File access denied" ...) when it cannot be read.
// Only regular files are read (links followed): a pipe, a device or a socket, and a file of more than
// `limit` bytes, raise an EInOutError whose message names the file and says why, without waiting on it.
std::string ReadFile(const std::string& path, std::size_t limit = kMaxFileBytes);

// As ReadFile, but nullopt when the file does not exist.
std::optional<std::string> ReadFileIfExists(const std::string& path, std::size_t limit = kMaxFileBytes);

// "16 MB": a limit as the messages give it.
std::string LimitText(std::size_t limit);

// Writes a temporary file beside `path`, flushes it to disk and renames it over `path`. The old file's
// permissions are kept; a new file is the user's alone (0600, less the umask). On failure (EInOutError)
// the old file is exactly as it was and no temporary is left. When `path` is a symbolic link, its final
// target is replaced, in the target's folder, and the link stays. A write beyond the process's file-size
// limit fails like any other instead of ending it.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// Removes from `dir` the temporary files WriteFileAtomic leaves when the process dies between creating
// and renaming one, of every file it writes (".NAME.tavo-XXXXXX"), and those older programs left for each
// NAME of `legacyNames` (".NAME.XXXXXX"), if they are regular files of this user last changed more than
// `age` ago; a younger one may belong to a write in progress. Best effort: what cannot be removed stays
// for the next time. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& dir, std::span<const std::string> legacyNames,
                           std::chrono::seconds age);

// Whether users other than the owner may read or enter the folder: a place for customer data should not
// let them.
bool OpenToOthers(const std::string& dir);

// The process's working directory without a trailing separator.
std::string CurrentDirectory();

// `dir` + "/" + `name`.
std::string JoinPath(const std::string& dir, const std::string& name);

} // namespace fileio
