#pragma once
// A lookup in the host's configuration file (VeScene.host.json): the text of the file, apart
// from where it is read, so that it can be tested and fuzzed on any platform.
#include <optional>
#include <string>

namespace vehostconfig {

// How a key that is not exactly the name may still match it (Windows: ordinal, ignoring case).
using SameNameFn = bool (*)(const std::u16string& key, const std::u16string& name);

// The value of `name` in the object `table` of the configuration's UTF-8 JSON text (a leading
// byte-order mark allowed): the entry whose key is the name, else the first `sameName` accepts.
// `malformed` tells a text that is no JSON object from one without the entry.
std::optional<std::u16string> FindEntry(std::string json, const char* table, const std::u16string& name,
                                        SameNameFn sameName, bool& malformed);

// The boolean `name` at the top of the configuration (`"understanding": true`); none when the
// file has no such boolean.
std::optional<bool> FindFlag(std::string json, const char* name, bool& malformed);

// Where HostFlag reads the host's switches: on Windows the configuration file; elsewhere none is
// set and every switch keeps the library's default.
using FlagSource = std::optional<bool> (*)(const char* name);
void SetFlagSource(FlagSource source);
std::optional<bool> HostFlag(const char* name);

}  // namespace vehostconfig
