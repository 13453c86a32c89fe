#pragma once
// Starting programs of Windows by full path: no search of the current directory, no wait for
// the program, the elevation prompt for one that needs it.
#include <string>
#include <string_view>

namespace vewin {

enum class ToolFolder { System, Windows };

// The full path of a tool of Windows. A 32-bit process on 64-bit Windows reaches System32
// through Sysnative: asking for System32 would give SysWOW64, where some tools are missing
// (msconfig) or start broken (osk).
std::u16string ToolPath(ToolFolder folder, std::u16string_view file);

// Starts the program at `path` with `arguments` (CreateProcessW); when it needs elevation
// (error 740), through the shell (ShellExecuteExW), which shows the prompt. True when it
// started or the prompt was shown.
bool StartProgram(const std::u16string& path, std::u16string_view arguments = {});

}  // namespace vewin
