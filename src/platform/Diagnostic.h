#pragma once
// The library's warnings: one way out, so the debugger output and the host hear the same things.
#include <string_view>

namespace vediag {

enum class Level { info = 0, warning = 1, error = 2 };

// Writes "VeScene: <message>" to the debugger output.
void Report(Level level, std::u16string_view message);
inline void Warn(std::u16string_view message) { Report(Level::warning, message); }

}  // namespace vediag
