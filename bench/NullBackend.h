#pragma once
// A backend that answers as a default sim does and records nothing: what ProcessM costs
// without the sim's trace.
#include <algorithm>
#include <cstdint>
#include <set>

#include "platform/Backend.h"
#include "platform/TextCodec.h"
#include "platform/sim/ScanCodes.h"
#include "platform/sim/SimState.h"

namespace vebench {

using namespace vewin;

class NullBackend final : public vebackend::Backend {
public:
    void keybd_event(BYTE vk, BYTE, DWORD flags, ULONG_PTR) override { Press(vk, !(flags & KEYEVENTF_KEYUP)); }
    UINT MapVirtualKeyW(UINT code, UINT mapType) override {
        return mapType == MAPVK_VK_TO_VSC ? vesim::ScanCodeOf(code) : 0;
    }
    UINT SendInput(UINT count, const INPUT* inputs, int size) override {
        if (!inputs || size != static_cast<int>(sizeof(INPUT))) return 0;
        for (UINT i = 0; i < count; ++i) {
            const auto& key = inputs[i].ki;
            if (inputs[i].type == INPUT_KEYBOARD && !(key.dwFlags & KEYEVENTF_UNICODE))
                Press(static_cast<BYTE>(key.wVk), !(key.dwFlags & KEYEVENTF_KEYUP));
        }
        return count;
    }
    SHORT VkKeyScanW(char16_t ch) override {
        if (ch >= u'a' && ch <= u'z') return static_cast<SHORT>(ch - u'a' + 'A');
        if (ch >= u'A' && ch <= u'Z') return static_cast<SHORT>(0x100 | ch);
        if (ch >= u'0' && ch <= u'9') return static_cast<SHORT>(ch);
        return ch == u' ' ? 0x20 : -1;
    }
    SHORT GetKeyState(int vk) override { return m_held.count(static_cast<BYTE>(vk)) ? static_cast<SHORT>(0x8000) : 0; }
    void mouse_event(DWORD, DWORD, DWORD, DWORD, ULONG_PTR) override {}
    HWND FindWindowW(const char16_t*, const char16_t*) override { return nullptr; }
    DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override {
        if (processId) *processId = 0;
        return window ? 1 : 0;
    }
    HWND GetDesktopWindow() override { return reinterpret_cast<HWND>(0x10010); }
    HWND GetShellWindow() override { return nullptr; }
    BOOL EnumWindows(WNDENUMPROC, LPARAM) override { return 1; }
    BOOL PostMessageW(HWND, UINT, WPARAM, LPARAM) override { return 1; }
    HWND GetForegroundWindow() override { return nullptr; }
    std::u16string GetClassNameW(HWND) override { return {}; }
    BOOL IsWindowVisible(HWND) override { return 0; }
    HWND GetWindow(HWND, UINT) override { return nullptr; }
    DWORD GetCurrentProcessId() override { return 4000; }
    BOOL ExitWindowsEx(UINT, DWORD) override { return 1; }
    BOOL LockWorkStation() override { return 1; }

    // The thread runs to its end before CreateThread returns, so every wait finds it done.
    HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) override {
        if (threadId) *threadId = 0x104;
        start(param);
        return reinterpret_cast<HANDLE>(0x104);
    }
    DWORD WaitForSingleObject(HANDLE, DWORD) override { return 0; }
    DWORD MsgWaitForSingleObject(HANDLE, DWORD) override { return 0; }
    BOOL CloseHandle(HANDLE) override { return 1; }
    void Sleep(DWORD) override {}
    DWORD GetLastError() override { return 0; }
    BOOL CreateProcessW(const char16_t*, const char16_t*) override { return 1; }
    std::u16string QueryFullProcessImageNameW(HANDLE) override { return {}; }
    DWORD GetProcessIntegrityLevel(DWORD processId) override { return processId ? SECURITY_MANDATORY_MEDIUM_RID : 0; }
    HANDLE OpenProcess(DWORD, BOOL, DWORD) override { return nullptr; }
    BOOL TerminateProcess(HANDLE, UINT) override { return 0; }
    BOOL IsWow64Process(HANDLE, BOOL* wow64) override {
        if (wow64) *wow64 = m_state.wow64 ? 1 : 0;
        return 1;
    }
    HANDLE GetCurrentProcess() override { return reinterpret_cast<HANDLE>(~std::uintptr_t{0}); }
    std::u16string GetSystemDirectoryW() override { return u"C:\\Windows\\system32"; }
    std::u16string GetWindowsDirectoryW() override { return u"C:\\Windows"; }
    void OutputDebugStringW(const char16_t*) override {}
    HINSTANCE ShellExecuteW(HWND, const char16_t*, const char16_t*, const char16_t*, const char16_t*, int) override {
        return reinterpret_cast<HINSTANCE>(42);
    }
    BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) override {
        if (info) info->hInstApp = reinterpret_cast<HINSTANCE>(42);
        return 1;
    }

    void Tray(const CString&, VeTrayParams) override {}
    void Tray_2(const CString&) override {}
    void InteractiveSet(const char16_t*, VeInteractiveParams) override {}
    void Log(const CString&, LogType) override {}
    void Log_2(const CString&, LogType) override {}
    void Log_HICON(const CString&, HICON) override {}
    void Log_nolt(const CString&, LogType) override {}
    void DebugLog(const CString&, LogType) override {}
    void MainMenu(MainMenuType) override {}
    bool YesOrNot(const CString&) override { return m_state.yesNoAnswer; }
    void VeShellExecuteA(const std::string&) override {}

    // The default sim knows no web sites, programs, files or commands.
    bool OpenWebsite(CString&, LogType&) override { return false; }
    bool OpenWebsite_Grm(CString&, LogType&) override { return false; }
    bool OpenPcSoftwareLnk(CString&, LogType&, HICON&) override { return false; }
    bool VeOpenUserFiles(const CString&, LogType&, HICON&) override { return false; }
    bool UninstSystemExe(CString&, LogType&) override { return false; }
    void SetNormal(bool) override {}
    int GetConfidenceLevel(const std::string&) override { return -1; }

    int SetVolume(int level, bool muteSwitch) override {
        if (muteSwitch) m_state.muted = level == 1;
        else if (level == 200 || level == -200) m_state.volume = std::clamp(m_state.volume + level / 100, 0, 100);
        else m_state.volume = std::clamp(level, 0, 100);
        return m_state.volume;
    }
    int SetBrightness(int level) override {
        if (m_state.brightness >= 0) m_state.brightness = std::clamp(level, 0, 255);
        return std::max(m_state.brightness, -1);
    }
    int GetBrightness() override { return std::max(m_state.brightness, -1); }
    bool CheckNet(bool) override { return m_state.network; }
    WindowsVersion OsVersion() override { return m_state.windowsVersion; }
    void ElevatePermission() override {}

    bool OpenCommand(std::string&) override { return false; }
    void SearchInBaidu_unicode(const std::string&) override {}
    void SearchInBaidu_utf8(const std::string&) override {}
    void RefreshToolbarAreaIcon() override {}
    CString GetCurrentWndText() override { return CString(textcodec::Utf8ToUtf16(m_state.foregroundTitle)); }
    bool IsPPtSlideShow() override { return m_state.slideShow; }
    std::string GetMac(MacForm) override { return m_state.mac; }
    std::string GetTime_2020_01_01() override { return m_state.date; }

    bool OpenUserSelf(CString&, LogType&, HICON&) override { return false; }
    void openAi(const std::string&) override {}
    std::string GetCity() override { return textcodec::Utf8ToGbk(m_state.city); }
    bool WordTemplate(CString&) override { return m_state.wordTemplateOk; }

private:
    void Press(BYTE vk, bool down) {
        if (down) m_held.insert(vk);
        else m_held.erase(vk);
    }

    vesim::SimState m_state;
    std::set<BYTE> m_held;
};

// Installs a backend for the life of the object and puts the previous one back.
class ScopedBackend {
public:
    explicit ScopedBackend(vebackend::Backend& backend) : m_previous(vebackend::Install(&backend)) {}
    ~ScopedBackend() { vebackend::Install(m_previous); }
    ScopedBackend(const ScopedBackend&) = delete;
    ScopedBackend& operator=(const ScopedBackend&) = delete;

private:
    vebackend::Backend* m_previous;
};

}  // namespace vebench
