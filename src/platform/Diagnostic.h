#pragma once
// The library's warnings: one way out, so the debugger output and the host hear the same things.
#include <string>
#include <string_view>

namespace vediag {

enum class Level { info = 0, warning = 1, error = 2 };

// Writes "VeScene: <message>" to the debugger output and hands it to the sink, if one is set;
// a warning or an error also becomes the calling thread's last error.
void Report(Level level, std::u16string_view message);
inline void Warn(std::u16string_view message) { Report(Level::warning, message); }

// Where Report's messages go besides the debugger output (the host's callback); nullptr for
// nowhere. The sink may be called from any thread.
using Sink = void (*)(Level level, std::u16string_view message);
void SetSink(Sink sink);

// The calling thread's last error, UTF-8: set by Report and by Fail (a call's failure that is
// no warning, such as an invalid input), cleared by whoever starts a call the host can query.
void Fail(std::u16string_view message);
void ClearLastError();
const std::string& LastError();

}  // namespace vediag
