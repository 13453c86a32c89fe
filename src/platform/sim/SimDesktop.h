#pragma once
// The simulated desktop: records every call in order, answers from a configurable state,
// and keeps the state the calls change (held keys, volume, brightness, windows, processes).
// Sleep advances a virtual clock and never waits.
//
// Its files: this class and its Windows calls (SimDesktop.cpp), its host services
// (SimHostServices.cpp), the `sim` settings (SimSettings.cpp), the state (SimState.h), the
// threads it starts (SimThreads), the keyboard's scan codes (ScanCodes), the recorded
// events (Trace, TraceArgs.h), ScopedSim and the Linux default backend (ScopedSim.cpp).
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/sim/SimState.h"
#include "platform/sim/SimThreads.h"
#include "platform/sim/Trace.h"

namespace vesim {

using namespace vewin;

class SimDesktop final : public vebackend::Backend {
public:
    SimDesktop();
    explicit SimDesktop(SimState state);
    ~SimDesktop() override;

    // Applies a JSON object of state settings (the keys are SimState's names in camelCase,
    // see the README); false with a message for an unknown key or a wrong type.
    bool Configure(const std::string& json, std::string& error);

    // The state itself, for setting it up before a run and reading it after one: unguarded,
    // so only while no thread the sim started is running.
    SimState& State() { return m_state; }
    std::vector<TraceEvent> Trace() const;
    void ClearTrace();
    unsigned long long Clock() const;  // the virtual clock, in ms: the sum of every Sleep
    std::set<BYTE> HeldKeys() const;
    // Waits until every thread the sim started has ended (the online request, for instance).
    void WaitForThreads();
    // While on, a thread started (CreateThread) makes no call until it is off again or a wait
    // for it (or for every thread) begins: what a call did is then all in the trace before its
    // thread's calls.
    void HoldThreads(bool hold);
    // A race made certain, for a test: the next thread to record `call` stops right after it
    // until another thread begins a wait (WaitForSingleObject), as a newer utterance or
    // Release does for the online request; WaitUntilPaused returns once it has stopped.
    void PauseAfter(std::string call);
    void WaitUntilPaused();

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
    HWND GetShellWindow() override;
    BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) override;
    BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND GetForegroundWindow() override;
    std::u16string GetClassNameW(HWND window) override;
    BOOL IsWindowVisible(HWND window) override;
    HWND GetWindow(HWND window, UINT command) override;
    BOOL ExitWindowsEx(UINT flags, DWORD reason) override;
    BOOL LockWorkStation() override;
    HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    DWORD MsgWaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    BOOL CloseHandle(HANDLE handle) override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetLastError() override;
    BOOL CreateProcessW(const char16_t* application, const char16_t* commandLine) override;
    HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override;
    std::u16string QueryFullProcessImageNameW(HANDLE process) override;
    DWORD GetProcessIntegrityLevel(DWORD processId) override;
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override;
    BOOL IsWow64Process(HANDLE process, BOOL* wow64) override;
    HANDLE GetCurrentProcess() override;
    DWORD GetCurrentProcessId() override;
    std::u16string GetSystemDirectoryW() override;
    std::u16string GetWindowsDirectoryW() override;
    void OutputDebugStringW(const char16_t* text) override;
    HINSTANCE ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                            const char16_t* directory, int show) override;
    BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) override;

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
    void OnlineResult(const std::string& utf8Text, const std::string& utf8Scene, int status) override;
    int SetBrightness(int level) override;
    int GetBrightness() override;
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
    // Appends one event, tagged with the calling thread. The first form takes the mutex
    // itself; the second is for a caller that holds it.
    void Record(std::string call, std::vector<TraceValue> args, std::optional<TraceValue> result = std::nullopt);
    void Record(SimLock& held, std::string call, std::vector<TraceValue> args,
                std::optional<TraceValue> result = std::nullopt);
    // Records `call` answered from one field of the state, in one step, and returns the answer.
    template <class T>
    T Answer(std::string call, std::vector<TraceValue> args, T SimState::*field);
    HANDLE NewHandle(const SimLock& held);
    // A window's handle, the same for its title all along: its process's number, and which of
    // the process's windows it is. The title of a handle, nothing for no window now open.
    HWND HandleOf(const SimLock& held, const std::string& title, DWORD pid);
    std::optional<std::string> TitleOf(const SimLock& held, HWND window);
    bool ProcessAlive(const SimLock& held, DWORD pid) const;
    DWORD Wait(const char* call, HANDLE handle, DWORD milliseconds);

    // The locking rule. The sim is called from the host's thread and from the threads it
    // started (the online request). This one mutex guards every member below: the state, the
    // trace, the clock, the held keys, the handles and the threads; they are read and written
    // only while it is held (State() aside, see there). A call holds it for its whole step:
    // it reads the state, changes it and appends its event under one hold, so the trace shows
    // the calls in the order they saw and changed the state. Record() takes it itself; code
    // that holds it passes its lock to Record(held, ...). While it is held the sim calls only
    // pure helpers (text conversion, the scan code table, JSON reading): nothing that could
    // reach a backend (this one or another) or wait for a thread that needs the mutex, and no
    // join; the one wait, for a thread's end, is on SimThreads' condition variable, which
    // releases it.
    mutable std::mutex m_mutex;
    SimState m_state;
    std::vector<TraceEvent> m_trace;
    unsigned long long m_clockMs = 0;
    std::set<BYTE> m_heldKeys;
    std::uintptr_t m_nextHandle = 0x100;
    std::map<HANDLE, DWORD> m_processHandles;  // handle -> process id
    std::map<std::string, HWND> m_windowHandles;  // title -> handle, once the window was seen
    SimThreads m_threads{m_mutex};             // handle -> thread
    std::string m_pauseAfter;                  // PauseAfter's call, until a thread records it
    bool m_paused = false;
    unsigned long long m_waitsBegun = 0;
    std::condition_variable m_pauseChanged;
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
