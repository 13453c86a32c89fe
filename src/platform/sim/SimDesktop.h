#pragma once
// The simulated desktop: records every call in order, answers from a configurable state,
// and keeps the state the calls change (held keys, volume, brightness, windows, processes).
// Sleep advances a virtual clock and never waits.
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/sim/Trace.h"

namespace vesim {

using namespace vewin;

// Texts are UTF-8.
struct SimState {
    bool network = true;
    WindowsVersion windowsVersion = WindowsVersion_Current;
    std::string foregroundTitle = "Program Manager";
    bool slideShow = false;
    bool yesNoAnswer = true;
    bool wow64 = false;
    std::map<std::string, std::string> websites;  // the host's named web sites: name -> URL
    std::set<std::string> programs;               // installed programs the host can start by name
    std::set<std::string> uninstallable;          // programs the host can uninstall
    std::set<std::string> userCommands;           // the user's own commands
    std::set<std::string> userFiles;              // files and commands bound by the user
    std::set<std::string> hostCommands;           // commands CUtil::OpenCommand knows
    std::map<std::string, int> confidence;        // minimum score per command text
    std::map<std::string, UINT> winExecResults;   // command line -> WinExec result (default 33)
    std::map<std::string, DWORD> windows;         // top-level window title -> process id
    int volume = 50;
    bool muted = false;
    bool audioAvailable = true;
    int brightness = 50;
    std::string city = "北京";
    std::string date = "2026-12-06";
    std::string mac = "00-1A-2B-3C-4D-5E";
    bool wordTemplateOk = true;
};

class SimDesktop final : public vebackend::Backend {
public:
    SimDesktop();
    explicit SimDesktop(SimState state);
    ~SimDesktop() override;

    // Applies a JSON object of state settings (the keys are SimState's names in camelCase,
    // see the README); false with a message for an unknown key or a wrong type.
    bool Configure(const std::string& json, std::string& error);

    SimState& State() { return m_state; }
    std::vector<TraceEvent> Trace() const;
    void ClearTrace();
    unsigned long long Clock() const { return m_clockMs; }
    std::set<BYTE> HeldKeys() const;
    // Waits until every thread the sim started has ended (the online request, for instance).
    void WaitForThreads();

    // --- Backend ---
    void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) override;
    UINT MapVirtualKeyW(UINT code, UINT mapType) override;
    UINT SendInput(UINT count, const INPUT* inputs, int size) override;
    SHORT VkKeyScanW(char16_t ch) override;
    SHORT GetKeyState(int vk) override;
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) override;
    HWND FindWindowW(const char16_t* className, const char16_t* title) override;
    DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override;
    HWND GetDesktopWindow() override;
    BOOL ExitWindowsEx(UINT flags, DWORD reason) override;
    BOOL LockWorkStation() override;
    HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    BOOL TerminateThread(HANDLE thread, DWORD exitCode) override;
    BOOL CloseHandle(HANDLE handle) override;
    void Sleep(DWORD milliseconds) override;
    UINT WinExec(const std::string& gbkCommandLine, UINT show) override;
    HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override;
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override;
    BOOL IsWow64Process(HANDLE process, BOOL* wow64) override;
    HANDLE GetCurrentProcess() override;
    std::u16string GetSystemDirectoryW() override;
    std::u16string GetWindowsDirectoryW() override;
    void OutputDebugStringW(const char16_t* text) override;
    HINSTANCE ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                            const char16_t* directory, int show) override;

    void Tray(const CString& text, VeTrayParams params) override;
    void Tray_2(const CString& text) override;
    void InteractiveSet(const char16_t* text, VeInteractiveParams params) override;
    void Log(const CString& text, LogType type) override;
    void Log_2(const CString& text, LogType type) override;
    void Log_HICON(const CString& text, HICON icon) override;
    void Log_nolt(const CString& text, LogType type) override;
    void DebugLog(const CString& text, LogType type) override;
    void MainMenu(MainMenuType page) override;
    bool YesOrNot(const CString& question) override;
    void VeShellExecuteA(const std::string& gbkTarget) override;

    bool OpenWebsite(CString& name, LogType& type) override;
    bool OpenWebsite_Grm(CString& name, LogType& type) override;
    bool OpenPcSoftwareLnk(CString& name, LogType& type, HICON& icon) override;
    bool VeOpenUserFiles(const CString& name, LogType& type, HICON& icon) override;
    bool UninstSystemExe(CString& name, LogType& type) override;
    void SetNormal(bool normal) override;
    int GetConfidenceLevel(const std::string& gbkText) override;

    int SetVolume(int level, bool muteSwitch) override;
    void NoteHttpRequest(const std::string& url, int result) override;
    int SetBrightness(int level) override;
    bool CheckNet(bool flag) override;
    WindowsVersion OsVersion() override;
    void ElevatePermission() override;

    bool OpenCommand(std::string& gbkCommand) override;
    void SearchInBaidu_unicode(const std::string& gbkText) override;
    void SearchInBaidu_utf8(const std::string& utf8Text) override;
    void RefreshToolbarAreaIcon() override;
    CString GetCurrentWndText() override;
    bool IsPPtSlideShow() override;
    std::string GetMac(MacForm form) override;
    std::string GetTime_2020_01_01() override;

    bool OpenUserSelf(CString& name, LogType& type, HICON& icon) override;
    void openAi(const std::string& utf8Text) override;
    std::string GetCity() override;
    bool WordTemplate(CString& name) override;

private:
    struct SimThread;

    void Record(std::string call, std::vector<TraceValue> args, std::optional<TraceValue> result = std::nullopt);
    HANDLE NewHandle();
    static TraceValue Text(const CString& text);
    static TraceValue Gbk(const std::string& gbkText);

    mutable std::mutex m_mutex;  // the online thread records too
    SimState m_state;
    std::vector<TraceEvent> m_trace;
    unsigned long long m_clockMs = 0;
    std::set<BYTE> m_heldKeys;
    std::uintptr_t m_nextHandle = 0x100;
    std::map<HANDLE, DWORD> m_processHandles;                   // handle -> process id
    std::map<HANDLE, std::unique_ptr<SimThread>> m_threads;     // handle -> thread
};

// Installs a sim as the backend for the life of the object and restores the previous one.
class ScopedSim {
public:
    ScopedSim();
    explicit ScopedSim(SimState state);
    ~ScopedSim();
    ScopedSim(const ScopedSim&) = delete;
    ScopedSim& operator=(const ScopedSim&) = delete;
    SimDesktop& operator*() { return *m_sim; }
    SimDesktop* operator->() { return m_sim.get(); }

private:
    std::unique_ptr<SimDesktop> m_sim;
    vebackend::Backend* m_previous = nullptr;
};

}  // namespace vesim
