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

std::u16string ForegroundTitle() {
    HWND window = ::GetForegroundWindow();
    int length = window ? ::GetWindowTextLengthW(window) : 0;
    if (length <= 0) return {};
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    title.resize(static_cast<size_t>(::GetWindowTextW(window, title.data(), length + 1)));
    return std::u16string(title.begin(), title.end());
}

bool SlideShowInForeground() {
    HWND window = ::GetForegroundWindow();
    if (!window) return false;
    wchar_t name[256] = {};  // class names are at most 256 characters
    int length = ::GetClassNameW(window, name, 256);
    return length > 0 && std::wstring(name, static_cast<size_t>(length)) == L"screenClass";
}

}  // namespace vewin32
