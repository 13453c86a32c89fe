// The host's own tables, read from a UTF-8 JSON file next to the DLL (VeScene.host.json):
//   { "websites":  { "spoken name": "https://..." },
//     "commands":  { "spoken phrase": "command line" },
//     "files":     { "spoken name": "path of a document or folder" },
//     "templates": { "spoken name": "path of a Word template" },
//     "endpoints": { "online": "https://...", "songsearch": "https://..." },
//     "understanding": true }
// An endpoint the host sets through the C API wins over the file's.
// The file is read at every lookup, so an edit takes effect at once and no state is shared
// between the host's thread and the online request's thread.
#include "platform/DataFile.h"
#include "platform/HostConfigTable.h"
#include "platform/HttpConfig.h"
#include "platform/TextCodec.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Support.h"

#include <mutex>

namespace vewin32 {
namespace {

constexpr std::uint64_t kMaxConfigBytes = 4 << 20;  // a hand-written table; anything larger is not one

std::mutex g_pathMutex;
std::u16string g_path;

std::u16string ModuleDirectory() {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&ModuleDirectory), &module))
        return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return std::u16string(path.begin(), path.end());
}

const char* TableKey(HostTable table) {
    switch (table) {
    case HostTable::Websites: return "websites";
    case HostTable::Commands: return "commands";
    case HostTable::Files: return "files";
    case HostTable::Templates: return "templates";
    case HostTable::Endpoints: return "endpoints";
    }
    return "";
}

void Complain(const std::u16string& path, const char16_t* problem) {
    std::u16string line = u"VeScene: " + path + u": " + problem + u"\n";
    ::OutputDebugStringW(W(line));
}

}  // namespace

void SetHostConfigPath(const std::u16string& path) {
    std::lock_guard lock(g_pathMutex);
    g_path = path;
}

std::u16string HostConfigPath() {
    {
        std::lock_guard lock(g_pathMutex);
        if (!g_path.empty()) return g_path;
    }
    return ModuleDirectory() + u"VeScene.host.json";
}

std::optional<std::u16string> LookupHostTable(HostTable table, const std::u16string& name) {
    if (name.empty()) return std::nullopt;
    std::u16string path = HostConfigPath();
    std::string bytes = vefile::ReadDataFile(textcodec::Utf16ToUtf8(path), kMaxConfigBytes).value_or("");
    if (bytes.empty()) return std::nullopt;
    bool malformed = false;
    auto value = vehostconfig::FindEntry(std::move(bytes), TableKey(table), name, &SameName, malformed);
    if (malformed) Complain(path, u"not a JSON object");
    return value;
}

namespace {

std::string ConfiguredEndpoint(std::string_view name) {
    auto url = LookupHostTable(HostTable::Endpoints, textcodec::Utf8ToUtf16(name));
    return url ? textcodec::Utf16ToUtf8(*url) : std::string();
}

std::optional<bool> ConfiguredFlag(const char* name) {
    const std::u16string path = HostConfigPath();
    std::string bytes = vefile::ReadDataFile(textcodec::Utf16ToUtf8(path), kMaxConfigBytes).value_or("");
    if (bytes.empty()) return std::nullopt;
    bool malformed = false;
    auto flag = vehostconfig::FindFlag(std::move(bytes), name, malformed);
    if (malformed) Complain(path, u"not a JSON object");
    return flag;
}

// Set as the library loads: the file beside the DLL may name the endpoints and switches from
// the first call.
const bool g_endpointsFromFile = (vehttp::SetEndpointSource(&ConfiguredEndpoint), true);
const bool g_flagsFromFile = (vehostconfig::SetFlagSource(&ConfiguredFlag), true);

}  // namespace

}  // namespace vewin32
