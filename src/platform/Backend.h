#pragma once
// The one seam between the library and the desktop. Every Windows call and every host
// service the library makes goes through the installed Backend: the sim records and answers,
// the win32 backend passes through to Windows and to the embedding host.
#include <string>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"

namespace vebackend {

using vewin::BOOL;
using vewin::BYTE;
using vewin::DWORD;
using vewin::HANDLE;
using vewin::HICON;
using vewin::HINSTANCE;
using vewin::HWND;
using vewin::INPUT;
using vewin::LPARAM;
using vewin::LPTHREAD_START_ROUTINE;
using vewin::SHELLEXECUTEINFOW;
using vewin::SHORT;
using vewin::UINT;
using vewin::ULONG_PTR;
using vewin::WNDENUMPROC;
using vewin::WPARAM;

class Backend {
public:
    virtual ~Backend() = default;

    // --- Windows: input and windows (user32) ---
    virtual void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) = 0;
    virtual UINT MapVirtualKeyW(UINT code, UINT mapType) = 0;
    virtual UINT SendInput(UINT count, const INPUT* inputs, int size) = 0;
    virtual SHORT VkKeyScanW(char16_t ch) = 0;
    virtual SHORT GetKeyState(int vk) = 0;
    virtual void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) = 0;
    virtual HWND FindWindowW(const char16_t* className, const char16_t* title) = 0;
    virtual DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) = 0;
    virtual HWND GetDesktopWindow() = 0;
    virtual HWND GetShellWindow() = 0;
    virtual BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) = 0;
    virtual BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual HWND GetForegroundWindow() = 0;
    virtual std::u16string GetClassNameW(HWND window) = 0;  // empty when there is no such window
    virtual BOOL IsWindowVisible(HWND window) = 0;
    virtual HWND GetWindow(HWND window, UINT command) = 0;  // GW_OWNER only
    virtual BOOL ExitWindowsEx(UINT flags, DWORD reason) = 0;
    virtual BOOL LockWorkStation() = 0;

    // --- Windows: processes, threads, files (kernel32, shell32) ---
    virtual HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) = 0;
    virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
    // WaitForSingleObject for the host's thread: messages sent to the thread's windows meanwhile
    // (a host marshalling a callback with SendMessage) are dispatched, so neither side blocks the
    // other (MsgWaitForMultipleObjectsEx with QS_SENDMESSAGE).
    virtual DWORD MsgWaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual DWORD GetLastError() = 0;
    // Starts the program at the full path `application` with `commandLine` (its quoted path and
    // its arguments); the process and thread handles are closed at once, nothing waits for it.
    virtual BOOL CreateProcessW(const char16_t* application, const char16_t* commandLine) = 0;
    virtual HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) = 0;
    // The image file's full path of a process opened with PROCESS_QUERY_LIMITED_INFORMATION;
    // empty when Windows cannot tell.
    virtual std::u16string QueryFullProcessImageNameW(HANDLE process) = 0;
    // The mandatory integrity level (SECURITY_MANDATORY_*_RID) of a process's token: 0 for no
    // such process, INTEGRITY_UNREADABLE when Windows refuses to tell.
    virtual DWORD GetProcessIntegrityLevel(DWORD processId) = 0;
    virtual BOOL TerminateProcess(HANDLE process, UINT exitCode) = 0;
    virtual BOOL IsWow64Process(HANDLE process, BOOL* wow64) = 0;
    virtual HANDLE GetCurrentProcess() = 0;
    virtual DWORD GetCurrentProcessId() = 0;
    virtual std::u16string GetSystemDirectoryW() = 0;
    virtual std::u16string GetWindowsDirectoryW() = 0;
    virtual void OutputDebugStringW(const char16_t* text) = 0;
    virtual HINSTANCE ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file,
                                    const char16_t* parameters, const char16_t* directory, int show) = 0;
    virtual BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) = 0;

    // --- host: VeUI ---
    virtual void Tray(const CString& text, VeTrayParams params) = 0;
    virtual void Tray_2(const CString& text) = 0;
    virtual void InteractiveSet(const char16_t* text, VeInteractiveParams params) = 0;
    virtual void Log(const CString& text, LogType type) = 0;
    virtual void Log_2(const CString& text, LogType type) = 0;
    virtual void Log_HICON(const CString& text, HICON icon) = 0;
    virtual void Log_nolt(const CString& text, LogType type) = 0;
    virtual void DebugLog(const CString& text, LogType type) = 0;
    virtual void MainMenu(MainMenuType page) = 0;
    virtual bool YesOrNot(const CString& question) = 0;
    virtual void VeShellExecuteA(const std::string& gbkTarget) = 0;

    // --- host: data factory (CPreferences::Data()) ---
    virtual bool OpenWebsite(CString& name, LogType& type) = 0;
    virtual bool OpenWebsite_Grm(CString& name, LogType& type) = 0;
    virtual bool OpenPcSoftwareLnk(CString& name, LogType& type, HICON& icon) = 0;
    virtual bool VeOpenUserFiles(const CString& name, LogType& type, HICON& icon) = 0;
    virtual bool UninstSystemExe(CString& name, LogType& type) = 0;
    virtual void SetNormal(bool normal) = 0;
    virtual int GetConfidenceLevel(const std::string& gbkText) = 0;

    // --- host: CEnvironmentMonitor ---
    virtual int SetVolume(int level, bool muteSwitch) = 0;
    virtual int SetBrightness(int level) = 0;
    virtual int GetBrightness() = 0;  // the display's level, 0..255, or -1 when it cannot be read
    virtual bool CheckNet(bool flag) = 0;
    virtual WindowsVersion OsVersion() = 0;
    virtual void ElevatePermission() = 0;

    // --- host: CUtil, CurrentWnd, MacAddress, TyTime ---
    virtual bool OpenCommand(std::string& gbkCommand) = 0;
    virtual void SearchInBaidu_unicode(const std::string& gbkText) = 0;
    virtual void SearchInBaidu_utf8(const std::string& utf8Text) = 0;
    virtual void RefreshToolbarAreaIcon() = 0;
    virtual CString GetCurrentWndText() = 0;
    virtual bool IsPPtSlideShow() = 0;
    virtual std::string GetMac(MacForm form) = 0;
    virtual std::string GetTime_2020_01_01() = 0;

    // --- host: VeNet and VeOffice ---
    virtual bool OpenUserSelf(CString& name, LogType& type, HICON& icon) = 0;
    virtual void openAi(const std::string& utf8Text) = 0;
    virtual std::string GetCity() = 0;  // GBK, empty when unknown
    virtual bool WordTemplate(CString& name) = 0;

    // --- the library's own HTTP client (CVeCurl): a note of each request and its result ---
    virtual void NoteHttpRequest(const std::string& /*url*/, int /*result*/) {}
    // --- what became of an online request (the host's online_result) ---
    virtual void OnlineResult(const std::string& /*utf8Text*/, const std::string& /*utf8Scene*/, int /*status*/) {}
};

// The installed backend: the sim on Linux and the win32 backend on Windows until a host or
// a test installs another. Installing nullptr restores the default. Returns the backend
// installed before (nullptr for the default), so that it can be put back.
Backend& Current();
Backend* Install(Backend* backend);

}  // namespace vebackend
