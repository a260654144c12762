#pragma once
// Whole-file reads and crash-safe whole-file writes. Paths are native (UTF-8) byte strings.
#include <optional>
#include <string>

namespace fileio {

// The file's bytes; EInOutError ("File not found", "File access denied" ...) when it cannot be read.
std::string ReadFile(const std::string& path);

// As ReadFile, but nullopt when the file does not exist.
std::optional<std::string> ReadFileIfExists(const std::string& path);

// Writes a temporary file beside `path`, flushes it to disk and renames it over `path`, keeping the old
// file's permissions. On failure (EInOutError) the old file is exactly as it was and no temporary is left.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// The process's working directory without a trailing separator.
std::string CurrentDirectory();

// `dir` + "/" + `name`.
std::string JoinPath(const std::string& dir, const std::string& name);

} // namespace fileio
