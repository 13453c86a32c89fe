#pragma once
// The one way the library reads a file from disk: a regular file only (a device, a pipe or a
// directory never is one, whatever link leads to it) and no more than a cap the caller picks
// for its kind of table, so a damaged or hostile installation costs neither time nor memory.
#include <cstdint>
#include <optional>
#include <string>

namespace vefile {

// The whole file; nullopt when it is missing, unreadable, not a regular file or larger than
// `maxBytes`. The last two are reported with one warning; a missing file is not, as several
// tables are optional.
std::optional<std::string> ReadDataFile(const std::string& utf8Path, std::uint64_t maxBytes);

// The OS part of ReadDataFile (posix/ and win32/): fills `bytes` only on `ok`.
enum class FileRead { ok, missing, notRegular, tooLarge };
FileRead ReadRegularFile(const std::string& utf8Path, std::uint64_t maxBytes, std::string& bytes);

}  // namespace vefile
