#pragma once
// What the win32 backend does by itself when the embedding host installed no callback for it.
// Free of <windows.h>, so the backend and the tests can include it before the system headers.
#include <optional>
#include <string>

namespace vewin32 {

// --- Audio.cpp: the default playback endpoint ---
// (1, true) mutes, (0, true) unmutes, (200, false) one step up, (-200, false) one step down,
// (n, false) level n (clamped to 0..100). Returns the level now set, or -1 without an endpoint.
int SetVolume(int level, bool muteSwitch);

// --- Brightness.cpp: the primary display's monitor configuration, else WMI ---
// Levels run 0..255 (the library asks for 128 as normal, 256 as the top, steps of 15); the
// request is clamped, mapped to the monitor's own range, and the level now set is returned,
// or -1 when no monitor takes brightness commands.
int SetBrightness(int level);
int GetBrightness();  // -1 when no monitor answers

// --- System.cpp ---
bool IsOldWindows();          // the generation before Vista
bool NetworkUp();             // an operational adapter with a gateway
std::string MacAddress();     // the first physical adapter's address, 12 upper-case hex digits; "" when none
std::string Today();          // "YYYY-MM-DD", local time
bool EnableShutdownPrivilege();
std::u16string ForegroundTitle();
bool SlideShowInForeground();

// --- Programs.cpp ---
// The shortcut under the user's or the common Start Menu whose file name or shown (localised)
// name is the spoken name (case-insensitive); the user's own shortcut wins.
std::optional<std::u16string> FindStartMenuShortcut(const std::u16string& name);
// The uninstall command of the program of that display name (exact match first, else the
// shortest display name that starts with it); HKCU before HKLM.
std::optional<std::u16string> FindUninstallCommand(const std::u16string& name);
// Opens a document, shortcut or URL; true when Windows started it.
bool OpenFile(const std::u16string& target, const wchar_t* verb = nullptr);
// Runs a command line: its program (a full path, else found on the PATH, never in the current
// directory) with CreateProcessW, through the shell when it needs elevation; a line that is no
// program is opened as a document or URL instead.
bool RunCommandLine(const std::u16string& commandLine);
// Starts the program at a full path; one that needs elevation through the shell (the prompt).
bool StartProgram(const std::u16string& program, const std::u16string& arguments);
// The icon of a file, shared: owned here and valid while the library is loaded.
void* FileIcon(const std::u16string& path);
// A Word template by name: the configured one, else one in the user's Templates folder.
std::optional<std::u16string> FindWordTemplate(const std::u16string& name);

// --- HostConfig.cpp: the host's tables, a UTF-8 JSON file next to the DLL ---
enum class HostTable { Websites, Commands, Files, Templates, Endpoints };
// The value of that name in that table, or nothing (also when the file is missing or bad).
std::optional<std::u16string> LookupHostTable(HostTable table, const std::u16string& name);
// Where the file is read from; empty restores "VeScene.host.json" next to the module.
void SetHostConfigPath(const std::u16string& path);
std::u16string HostConfigPath();

}  // namespace vewin32
