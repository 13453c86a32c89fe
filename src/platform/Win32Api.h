#pragma once
// The Windows calls the library makes, with their Windows names, forwarded to the installed
// backend. Library code calls these instead of <windows.h>.
#include <string>

#include "core/UniqueAny.h"
#include "platform/Backend.h"

namespace vewin {

inline void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) {
    vebackend::Current().keybd_event(vk, scan, flags, extra);
}
inline UINT MapVirtualKeyW(UINT code, UINT mapType) { return vebackend::Current().MapVirtualKeyW(code, mapType); }
inline UINT SendInput(UINT count, const INPUT* inputs, int size) {
    return vebackend::Current().SendInput(count, inputs, size);
}
inline SHORT VkKeyScanW(char16_t ch) { return vebackend::Current().VkKeyScanW(ch); }
inline SHORT GetKeyState(int vk) { return vebackend::Current().GetKeyState(vk); }
inline void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) {
    vebackend::Current().mouse_event(flags, dx, dy, data, extra);
}
inline HWND FindWindowW(const char16_t* className, const char16_t* title) {
    return vebackend::Current().FindWindowW(className, title);
}
inline DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
    return vebackend::Current().GetWindowThreadProcessId(window, processId);
}
inline HWND GetDesktopWindow() { return vebackend::Current().GetDesktopWindow(); }
inline HWND GetShellWindow() { return vebackend::Current().GetShellWindow(); }
inline BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) { return vebackend::Current().EnumWindows(callback, param); }
inline BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return vebackend::Current().PostMessageW(window, message, wParam, lParam);
}
inline HWND GetForegroundWindow() { return vebackend::Current().GetForegroundWindow(); }
inline std::u16string GetClassNameW(HWND window) { return vebackend::Current().GetClassNameW(window); }
inline BOOL IsWindowVisible(HWND window) { return vebackend::Current().IsWindowVisible(window); }
inline HWND GetWindow(HWND window, UINT command) { return vebackend::Current().GetWindow(window, command); }
inline BOOL ExitWindowsEx(UINT flags, DWORD reason) { return vebackend::Current().ExitWindowsEx(flags, reason); }
inline BOOL LockWorkStation() { return vebackend::Current().LockWorkStation(); }

inline HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) {
    return vebackend::Current().CreateThread(start, param, threadId);
}
inline DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return vebackend::Current().WaitForSingleObject(handle, milliseconds);
}
inline DWORD MsgWaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return vebackend::Current().MsgWaitForSingleObject(handle, milliseconds);
}
inline BOOL CloseHandle(HANDLE handle) { return vebackend::Current().CloseHandle(handle); }
inline void Sleep(DWORD milliseconds) { vebackend::Current().Sleep(milliseconds); }
inline DWORD GetLastError() { return vebackend::Current().GetLastError(); }
inline BOOL CreateProcessW(const char16_t* application, const char16_t* commandLine) {
    return vebackend::Current().CreateProcessW(application, commandLine);
}
inline HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
    return vebackend::Current().OpenProcess(access, inherit, processId);
}
inline std::u16string QueryFullProcessImageNameW(HANDLE process) {
    return vebackend::Current().QueryFullProcessImageNameW(process);
}
inline DWORD GetProcessIntegrityLevel(DWORD processId) {
    return vebackend::Current().GetProcessIntegrityLevel(processId);
}
inline BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    return vebackend::Current().TerminateProcess(process, exitCode);
}
inline BOOL IsWow64Process(HANDLE process, BOOL* wow64) { return vebackend::Current().IsWow64Process(process, wow64); }
inline HANDLE GetCurrentProcess() { return vebackend::Current().GetCurrentProcess(); }
inline DWORD GetCurrentProcessId() { return vebackend::Current().GetCurrentProcessId(); }
inline std::u16string GetSystemDirectoryW() { return vebackend::Current().GetSystemDirectoryW(); }
inline std::u16string GetWindowsDirectoryW() { return vebackend::Current().GetWindowsDirectoryW(); }
inline void OutputDebugStringW(const char16_t* text) { vebackend::Current().OutputDebugStringW(text); }
inline HINSTANCE ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                               const char16_t* directory, int show) {
    return vebackend::Current().ShellExecuteW(window, verb, file, parameters, directory, show);
}

inline BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) { return vebackend::Current().ShellExecuteExW(info); }

// Joins two path pieces with one backslash, as shlwapi does; pure text work.
std::u16string PathAppendW(std::u16string path, std::u16string_view more);

// A kernel handle the library's code opened through the seam (a process, a thread): closed
// with the seam's CloseHandle, so the simulated desktop records the close like any other call.
using ScopedHandle = vecore::UniqueAny<vecore::NullTraits<HANDLE, CloseHandle>>;

}  // namespace vewin
