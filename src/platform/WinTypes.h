#pragma once
// The Windows types and constants the library uses, without <windows.h>.
// Values and layouts match the Windows SDK so the win32 backend can pass them through.
#include <cstdint>

#include "vescene/WinAbi.h"

// The calling convention of Windows callbacks (thread procedures).
#ifndef WINAPI
#  define WINAPI VESCENE_WINAPI
#endif

namespace vewin {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
#if defined(_WIN32)
using LONG = long;
#else
using LONG = std::int32_t;
#endif
using UINT = unsigned int;
using BOOL = int;
using SHORT = std::int16_t;
using ULONG_PTR = std::uintptr_t;
using HANDLE = void*;
using HWND = void*;
using HICON = void*;
using HINSTANCE = void*;
using WCHAR = char16_t;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

using LPTHREAD_START_ROUTINE = DWORD(WINAPI*)(void*);
using WNDENUMPROC = BOOL(WINAPI*)(HWND, LPARAM);

constexpr BOOL TRUE_ = 1;
constexpr BOOL FALSE_ = 0;

constexpr DWORD KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;
constexpr DWORD KEYEVENTF_UNICODE = 0x0004;
constexpr DWORD KEYEVENTF_SCANCODE = 0x0008;

constexpr DWORD INPUT_MOUSE = 0;
constexpr DWORD INPUT_KEYBOARD = 1;

constexpr UINT MAPVK_VK_TO_VSC = 0;

constexpr DWORD MOUSEEVENTF_MOVE = 0x0001;
constexpr DWORD MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr DWORD MOUSEEVENTF_LEFTUP = 0x0004;
constexpr DWORD MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr DWORD MOUSEEVENTF_RIGHTUP = 0x0010;
constexpr DWORD MOUSEEVENTF_WHEEL = 0x0800;

constexpr UINT EWX_LOGOFF = 0x0000;
constexpr UINT EWX_SHUTDOWN = 0x0001;
constexpr UINT EWX_REBOOT = 0x0002;
constexpr UINT EWX_FORCE = 0x0004;
constexpr UINT EWX_POWEROFF = 0x0008;
constexpr UINT EWX_FORCEIFHUNG = 0x0010;

constexpr DWORD PROCESS_TERMINATE = 0x0001;
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr DWORD SYNCHRONIZE = 0x00100000;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT GW_OWNER = 4;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_ELEVATION_REQUIRED = 740;

// Mandatory integrity levels (the RID of a token's label). UIPI drops synthesised input sent
// to a window of a higher level than the sender's.
constexpr DWORD SECURITY_MANDATORY_MEDIUM_RID = 0x2000;
constexpr DWORD SECURITY_MANDATORY_HIGH_RID = 0x3000;
// Ours: what GetProcessIntegrityLevel answers when Windows refuses to tell (a process of a
// higher level, or a protected one).
constexpr DWORD INTEGRITY_UNREADABLE = 0xFFFFFFFF;

constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr DWORD SEE_MASK_NOASYNC = 0x00000100;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr UINT MAX_PATH = 260;

struct KEYBDINPUT {
    WORD wVk;
    WORD wScan;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
};

struct MOUSEINPUT {
    LONG dx;
    LONG dy;
    DWORD mouseData;
    DWORD dwFlags;
    DWORD time;
    ULONG_PTR dwExtraInfo;
};

struct INPUT {
    DWORD type;
    union {
        MOUSEINPUT mi;
        KEYBDINPUT ki;
    };
};

// Windows' own layout, checked against the SDK's in the win32 backend.
struct SHELLEXECUTEINFOW {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCWSTR lpClass;
    void* hkeyClass;
    DWORD dwHotKey;
    HANDLE hIconOrMonitor;
    HANDLE hProcess;
};

}  // namespace vewin
