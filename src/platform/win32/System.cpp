// Windows version, network, adapter address, date, shutdown privilege and the foreground window.
#include "platform/win32/Win32Host.h"
#include <winsock2.h>  // before the others: the adapter records need its address types

#include "platform/win32/Win32Support.h"

#include <iphlpapi.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace vewin32 {
namespace {

// The adapter list; empty when Windows cannot give one.
std::vector<unsigned char> Adapters(ULONG flags) {
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        buffer.resize(size);
        ULONG result = ::GetAdaptersAddresses(AF_UNSPEC, flags, nullptr,
                                              reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        if (result == NO_ERROR) return buffer;
        if (result != ERROR_BUFFER_OVERFLOW) break;
    }
    return {};
}

template <typename Fn>
void ForEachAdapter(ULONG flags, Fn fn) {
    std::vector<unsigned char> buffer = Adapters(flags);
    if (buffer.empty()) return;
    for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next)
        if (a->IfType != IF_TYPE_SOFTWARE_LOOPBACK && a->IfType != IF_TYPE_TUNNEL && !fn(*a)) return;
}

}  // namespace

bool IsOldWindows() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    // RtlGetVersion tells the truth where GetVersionEx answers what the manifest allows.
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return false;
    return info.dwMajorVersion < 6;
}

bool NetworkUp() {
    bool up = false;
    ForEachAdapter(GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_MULTICAST,
                   [&](const IP_ADAPTER_ADDRESSES& a) {
                       up = a.OperStatus == IfOperStatusUp && a.FirstGatewayAddress != nullptr;
                       return !up;
                   });
    return up;
}

std::string MacAddress() {
    std::string text;
    ForEachAdapter(GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_MULTICAST,
                   [&](const IP_ADAPTER_ADDRESSES& a) {
                       if (a.PhysicalAddressLength != 6) return true;
                       char hex[3];
                       for (ULONG i = 0; i < a.PhysicalAddressLength; ++i) {
                           std::snprintf(hex, sizeof hex, "%02X", a.PhysicalAddress[i]);
                           text += hex;
                       }
                       return false;
                   });
    return text;
}

std::string Today() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

bool EnableShutdownPrivilege() {
    UniqueHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return false;
    // Succeeds even when the privilege is not held; only ERROR_SUCCESS means it was granted.
    return ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

// InternalGetWindowText reads the title Windows keeps: GetWindowTextW would send WM_GETTEXT to a
// window of the host's own process and wait for its thread, which may be waiting for ours.
std::u16string ForegroundTitle() {
    HWND window = ::GetForegroundWindow();
    if (!window) return {};
    std::wstring title(256, L'\0');
    for (;;) {
        const int length = ::InternalGetWindowText(window, title.data(), static_cast<int>(title.size()));
        if (length <= 0) return {};
        if (static_cast<size_t>(length) + 1 < title.size() || title.size() >= 32768) {
            title.resize(static_cast<size_t>(length));
            return std::u16string(title.begin(), title.end());
        }
        title.resize(title.size() * 2);  // filled to the last place: perhaps cut, try a larger one
    }
}

std::u16string ProcessImage(HANDLE process) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(path.size());
        if (::QueryFullProcessImageNameW(process, 0, path.data(), &size)) {
            path.resize(size);
            return std::u16string(path.begin(), path.end());
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

DWORD IntegrityLevel(DWORD processId) {
    constexpr DWORD kUnreadable = 0xFFFFFFFF;
    const bool own = processId == ::GetCurrentProcessId();
    UniqueHandle opened(own ? nullptr : ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!own && !opened) return ::GetLastError() == ERROR_ACCESS_DENIED ? kUnreadable : 0;
    UniqueHandle token;
    if (!::OpenProcessToken(own ? ::GetCurrentProcess() : opened.get(), TOKEN_QUERY, token.put()))
        return ::GetLastError() == ERROR_ACCESS_DENIED ? kUnreadable : 0;
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL)) return kUnreadable;
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return kUnreadable;
    PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!sid || !::IsValidSid(sid) || *::GetSidSubAuthorityCount(sid) == 0) return kUnreadable;
    return *::GetSidSubAuthority(sid, *::GetSidSubAuthorityCount(sid) - 1u);
}

bool SlideShowInForeground() {
    HWND window = ::GetForegroundWindow();
    if (!window) return false;
    wchar_t name[256] = {};  // class names are at most 256 characters
    int length = ::GetClassNameW(window, name, 256);
    return length > 0 && std::wstring(name, static_cast<size_t>(length)) == L"screenClass";
}

}  // namespace vewin32
