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

std::optional<std::u16string> FindShortcutUnder(const std::u16string& folder, const std::u16string& name) {
    if (folder.empty()) return std::nullopt;
    std::error_code error;
    fs::recursive_directory_iterator it(fs::path(std::wstring(folder.begin(), folder.end())),
                                        fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        if (SameName(ToU16(path.extension()), u".lnk") && SameName(ToU16(path.stem()), name)) return ToU16(path);
    }
    return std::nullopt;
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

std::optional<std::u16string> RegistryText(HKEY key, const wchar_t* value) {
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
    if (type == REG_EXPAND_SZ) text = Expanded(text);
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
        auto command = RegistryText(entry.get(), L"UninstallString");
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
        SHFILEINFOW info{};
        if (!::SHGetFileInfoW(W(path), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON) || !info.hIcon)
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

bool OpenFile(const std::u16string& target, const wchar_t* verb) {
    if (target.empty()) return false;
    if (vedryrun::Skip(u"open \"" + target + u"\"" + (verb ? u" (" + std::u16string(verb, verb + wcslen(verb)) + u")" : u""))) return true;
    auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, verb, W(target), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool RunCommandLine(const std::u16string& commandLine) {
    if (commandLine.empty()) return false;
    if (vedryrun::Skip(u"run \"" + commandLine + u"\"")) return true;
    std::wstring line(commandLine.begin(), commandLine.end());  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
        return true;
    }
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
