// Installed programs: Start Menu shortcuts by spoken name, uninstall entries, Word templates,
// and starting documents and command lines.
#include "platform/DryRun.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Support.h"

#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>
#include <map>
#include <mutex>

namespace vewin32 {
namespace {

namespace fs = std::filesystem;

std::u16string KnownFolder(REFKNOWNFOLDERID id) {
    UniqueCoTaskMemString path;
    if (FAILED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, path.put()))) return {};
    return U16(path.get());
}

std::u16string ToU16(const fs::path& path) {
    const std::wstring& text = path.native();
    return std::u16string(text.begin(), text.end());
}

// The name Explorer shows for a file: a shortcut's localised name from its folder's desktop.ini
// (Notepad.lnk shows as 记事本 on a Chinese Windows), else the file name without its extension.
std::u16string DisplayName(const std::u16string& path) {
    ComScope com;
    SHFILEINFOW info{};
    if (!com.Usable() || !::SHGetFileInfoW(W(path), 0, &info, sizeof(info), SHGFI_DISPLAYNAME)) return {};
    return U16(info.szDisplayName);
}

// A shortcut named so, by its file name or by the name Explorer shows for it.
std::optional<std::u16string> FindShortcutUnder(const std::u16string& folder, const std::u16string& name) {
    if (folder.empty()) return std::nullopt;
    std::error_code error;
    fs::recursive_directory_iterator it(fs::path(std::wstring(folder.begin(), folder.end())),
                                        fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        if (!SameName(ToU16(path.extension()), u".lnk")) continue;
        if (SameName(ToU16(path.stem()), name) || SameName(DisplayName(ToU16(path)), name)) return ToU16(path);
    }
    return std::nullopt;
}

std::wstring EnvironmentVariable(const wchar_t* name) {
    DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    DWORD written = ::GetEnvironmentVariableW(name, value.data(), size);
    value.resize(written < size ? written : 0);
    return value;
}

// Replaces every `from` (ignoring case) in `text` with `to`.
std::wstring ReplacedNoCase(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = 0; at + from.size() <= text.size();) {
        if (::CompareStringOrdinal(text.c_str() + at, static_cast<int>(from.size()), from.c_str(),
                                   static_cast<int>(from.size()), TRUE) == CSTR_EQUAL) {
            text.replace(at, from.size(), to);
            at += to.size();
        } else {
            ++at;
        }
    }
    return text;
}

// "%ProgramFiles%\..." with the variables put in; unchanged when Windows cannot.
std::wstring Expanded(const std::wstring& text) {
    DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0) return text;
    std::wstring result(size, L'\0');
    DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), result.data(), size);
    if (written == 0 || written > size) return text;
    result.resize(written - 1);
    return result;
}

// A 32-bit process sees the 32-bit program folders as %ProgramFiles% and %CommonProgramFiles%; an
// entry of the 64-bit registry view means the 64-bit ones, which Windows names %ProgramW6432% and
// %CommonProgramW6432% (where there are any).
std::wstring For64BitView(std::wstring text) {
    if (EnvironmentVariable(L"ProgramW6432").empty()) return text;
    text = ReplacedNoCase(std::move(text), L"%ProgramFiles%", L"%ProgramW6432%");
    return ReplacedNoCase(std::move(text), L"%CommonProgramFiles%", L"%CommonProgramW6432%");
}

std::optional<std::u16string> RegistryText(HKEY key, const wchar_t* value, bool view64 = false) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (::RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &read) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(std::min<size_t>(read / sizeof(wchar_t), text.size()));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    if (type == REG_EXPAND_SZ) text = Expanded(view64 ? For64BitView(std::move(text)) : text);
    return std::u16string(text.begin(), text.end());
}

struct UninstallMatch {
    std::u16string displayName;
    std::u16string command;
    bool exact = false;
};

// Keeps the better entry: an exact display name, else the shortest one starting with the name.
void ScanUninstallKey(HKEY root, REGSAM view, const std::u16string& name, std::optional<UninstallMatch>& best) {
    UniqueRegKey list;
    if (::RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                        KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, list.put()) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t subName[256];  // registry key names are at most 255 characters
        DWORD length = 256;
        LONG status = ::RegEnumKeyExW(list.get(), index, subName, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;
        UniqueRegKey entry;
        if (::RegOpenKeyExW(list.get(), subName, 0, KEY_QUERY_VALUE | view, entry.put()) != ERROR_SUCCESS) continue;
        auto display = RegistryText(entry.get(), L"DisplayName");
        auto command = RegistryText(entry.get(), L"UninstallString", view == KEY_WOW64_64KEY);
        if (!display || !command || command->empty() || display->size() < name.size()) continue;
        bool exact = SameName(*display, name);
        if (!exact && !SameName(display->substr(0, name.size()), name)) continue;
        if (best && (best->exact || (!exact && best->displayName.size() <= display->size()))) continue;
        best = UninstallMatch{*display, *command, exact};
    }
}

// One icon per file, owned here for the library's lifetime: the host gets the handle without
// the ownership, so an icon is never freed while the library is loaded; the cache (a static)
// frees them all when the library is unloaded.
class IconCache {
public:
    HICON Get(const std::u16string& path) {
        std::lock_guard lock(m_mutex);
        if (auto it = m_icons.find(path); it != m_icons.end()) return it->second.get();
        ComScope com;
        SHFILEINFOW info{};
        if (!com.Usable() || !::SHGetFileInfoW(W(path), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON) ||
            !info.hIcon)
            return nullptr;
        return m_icons.emplace(path, UniqueIcon(info.hIcon)).first->second.get();
    }

private:
    std::mutex m_mutex;
    std::map<std::u16string, UniqueIcon> m_icons;
};

}  // namespace

std::optional<std::u16string> FindStartMenuShortcut(const std::u16string& name) {
    if (name.empty()) return std::nullopt;
    for (const KNOWNFOLDERID* folder : {&FOLDERID_Programs, &FOLDERID_CommonPrograms})
        if (auto found = FindShortcutUnder(KnownFolder(*folder), name)) return found;
    return std::nullopt;
}

std::optional<std::u16string> FindUninstallCommand(const std::u16string& name) {
    if (name.empty()) return std::nullopt;
    std::optional<UninstallMatch> best;
    ScanUninstallKey(HKEY_CURRENT_USER, 0, name, best);
    ScanUninstallKey(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, name, best);
    ScanUninstallKey(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, name, best);
    if (!best) return std::nullopt;
    return best->command;
}

HINSTANCE ShellStart(HWND window, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                       const wchar_t* directory, int show) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = window;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = show;
    ShellStartEx(&info);
    return info.hInstApp;
}

BOOL ShellStartEx(SHELLEXECUTEINFOW* info) {
    ComScope com;
    if (!com.Usable()) return FALSE;
    info->fMask |= SEE_MASK_NOASYNC;
    return ::ShellExecuteExW(info);
}

bool OpenFile(const std::u16string& target, const wchar_t* verb) {
    if (target.empty()) return false;
    if (vedryrun::Skip(u"open \"" + target + u"\"" + (verb ? u" (" + std::u16string(verb, verb + wcslen(verb)) + u")" : u""))) return true;
    auto result = reinterpret_cast<INT_PTR>(ShellStart(nullptr, verb, W(target), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

namespace {

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFullPath(const std::wstring& path) {
    return path.size() > 2 && ((path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
                               (path[0] == L'\\' && path[1] == L'\\'));
}

// A program named without a folder, on the PATH only: never the current directory, from which a
// planted program would run.
std::wstring OnPath(const std::wstring& program) {
    const std::wstring path = EnvironmentVariable(L"PATH");
    if (path.empty()) return {};
    std::wstring found(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = ::SearchPathW(path.c_str(), program.c_str(), L".exe", static_cast<DWORD>(found.size()),
                                   found.data(), nullptr);
        if (size == 0) return {};
        if (size < found.size()) {
            found.resize(size);
            return found;
        }
        found.resize(size);
    }
}

// A 32-bit process under WOW64 asking for System32 gets SysWOW64; Sysnative is the real one.
std::wstring Native(std::wstring path) {
    BOOL wow64 = FALSE;
    if (!::IsWow64Process(::GetCurrentProcess(), &wow64) || !wow64) return path;
    const std::wstring windows = EnvironmentVariable(L"SystemRoot");
    const std::wstring system32 = windows + L"\\System32\\";
    if (windows.empty() || path.size() <= system32.size() ||
        ::CompareStringOrdinal(path.c_str(), static_cast<int>(system32.size()), system32.c_str(),
                               static_cast<int>(system32.size()), TRUE) != CSTR_EQUAL)
        return path;
    return windows + L"\\Sysnative\\" + path.substr(system32.size());
}

struct SplitLine {
    std::wstring program;    // a full path, or empty when the line names no program
    std::wstring arguments;
};

// The program and the arguments of a command line, read as CreateProcess reads it: a quoted
// first part, else the shortest run of words that names an existing file.
SplitLine Split(const std::wstring& line) {
    size_t begin = line.find_first_not_of(L" \t");
    if (begin == std::wstring::npos) return {};
    std::wstring program, arguments;
    if (line[begin] == L'"') {
        const size_t end = line.find(L'"', begin + 1);
        program = line.substr(begin + 1, end == std::wstring::npos ? std::wstring::npos : end - begin - 1);
        if (end != std::wstring::npos) arguments = line.substr(end + 1);
    } else {
        size_t end = begin;
        for (;;) {
            end = line.find(L' ', end + 1);
            const std::wstring candidate = line.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
            if (!IsFullPath(candidate) || IsFile(candidate) || IsFile(candidate + L".exe") ||
                end == std::wstring::npos) {
                program = candidate;
                if (end != std::wstring::npos) arguments = line.substr(end + 1);
                break;
            }
        }
    }
    arguments.erase(0, std::min(arguments.find_first_not_of(L" \t"), arguments.size()));
    if (!IsFullPath(program)) program = OnPath(program);
    else if (!IsFile(program) && IsFile(program + L".exe")) program += L".exe";
    if (program.empty() || !IsFile(program)) return {};
    return {Native(program), arguments};
}

}  // namespace

bool StartProgram(const std::u16string& program, const std::u16string& arguments) {
    const std::wstring path(program.begin(), program.end()), args(arguments.begin(), arguments.end());
    std::wstring line = L"\"" + path + L"\"";
    if (!args.empty()) line += L" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
        return true;
    }
    // A program that asks for elevation starts through the shell, which shows the prompt.
    constexpr DWORD kElevationRequired = 740;
    if (::GetLastError() != kElevationRequired) return false;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.lpFile = path.c_str();
    info.lpParameters = args.empty() ? nullptr : args.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellStartEx(&info) != FALSE;
}

bool RunCommandLine(const std::u16string& commandLine) {
    if (commandLine.empty()) return false;
    if (vedryrun::Skip(u"run \"" + commandLine + u"\"")) return true;
    const SplitLine split = Split(std::wstring(commandLine.begin(), commandLine.end()));
    if (!split.program.empty())
        return StartProgram(U16(split.program.c_str()), U16(split.arguments.c_str()));
    return OpenFile(commandLine);
}

void* FileIcon(const std::u16string& path) {
    static IconCache cache;
    return cache.Get(path);
}

std::optional<std::u16string> FindWordTemplate(const std::u16string& name) {
    if (name.empty()) return std::nullopt;
    if (auto configured = LookupHostTable(HostTable::Templates, name)) return configured;
    // A spoken name is a file name, never a way out of the Templates folder.
    if (name.find_first_of(u"\\/:") != std::u16string::npos || name == u"." || name == u"..") return std::nullopt;
    std::u16string folder = KnownFolder(FOLDERID_RoamingAppData);
    if (folder.empty()) return std::nullopt;
    folder += u"\\Microsoft\\Templates\\";
    for (const char16_t* extension : {u".dotx", u".dotm", u".dot"}) {
        std::u16string path = folder + name + extension;
        DWORD attributes = ::GetFileAttributesW(W(path));
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return path;
    }
    return std::nullopt;
}

}  // namespace vewin32
