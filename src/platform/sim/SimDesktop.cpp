// The sim's own members and its Windows calls: input, windows, processes, threads, the clock.
#include "platform/sim/SimDesktop.h"

#include <algorithm>

#include "platform/sim/ScanCodes.h"
#include "platform/sim/TraceArgs.h"

namespace vesim {

using namespace traced;

namespace {
constexpr DWORD kWaitObject0 = 0;
constexpr DWORD kWaitTimeout = 0x102;
constexpr int kShellExecuteOk = 42;

// A window's handle tells its process: bits 4 and up are the process id, bits 1 to 3 which of
// the process's windows it is, and bit 0 marks the window found by its class.
HWND WindowOf(DWORD pid, bool byClass = false, unsigned index = 0) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(pid) << 4 | (index & 7u) << 1 | (byClass ? 1 : 0));
}
DWORD ProcessOf(HWND window) { return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(window) >> 4); }

// The calling thread's last error, as Windows keeps it.
thread_local DWORD t_lastError = 0;
}  // namespace

SimDesktop::SimDesktop() = default;
SimDesktop::SimDesktop(SimState state) : m_state(std::move(state)) {}

SimDesktop::~SimDesktop() { WaitForThreads(); }

void SimDesktop::WaitForThreads() {
    SimLock lock(m_mutex);
    m_threads.WaitAll(lock);
}

void SimDesktop::HoldThreads(bool hold) {
    SimLock lock(m_mutex);
    m_threads.Hold(lock, hold);
}

void SimDesktop::Record(std::string call, std::vector<TraceValue> args, std::optional<TraceValue> result) {
    SimLock lock(m_mutex);
    Record(lock, std::move(call), std::move(args), std::move(result));
}

void SimDesktop::Record(SimLock& held, std::string call, std::vector<TraceValue> args,
                        std::optional<TraceValue> result) {
    AssertHeld(held, m_mutex);
    const bool pause = !m_pauseAfter.empty() && call == m_pauseAfter;
    m_trace.push_back({std::move(call), std::move(args), std::move(result), CurrentThreadTag()});
    if (!pause) return;
    m_pauseAfter.clear();
    m_paused = true;
    m_pauseChanged.notify_all();
    const unsigned long long begun = m_waitsBegun;
    m_pauseChanged.wait(held, [&] { return m_waitsBegun != begun; });
    m_paused = false;
}

void SimDesktop::PauseAfter(std::string call) {
    SimLock lock(m_mutex);
    m_pauseAfter = std::move(call);
}

void SimDesktop::WaitUntilPaused() {
    SimLock lock(m_mutex);
    m_pauseChanged.wait(lock, [&] { return m_paused; });
}

std::vector<TraceEvent> SimDesktop::Trace() const {
    SimLock lock(m_mutex);
    return m_trace;
}

void SimDesktop::ClearTrace() {
    SimLock lock(m_mutex);
    m_trace.clear();
}

unsigned long long SimDesktop::Clock() const {
    SimLock lock(m_mutex);
    return m_clockMs;
}

std::set<BYTE> SimDesktop::HeldKeys() const {
    SimLock lock(m_mutex);
    return m_heldKeys;
}

HANDLE SimDesktop::NewHandle(const SimLock& held) {
    AssertHeld(held, m_mutex);
    return reinterpret_cast<HANDLE>(m_nextHandle += 4);
}

HWND SimDesktop::HandleOf(const SimLock& held, const std::string& title, DWORD pid) {
    AssertHeld(held, m_mutex);
    auto it = m_windowHandles.find(title);
    if (it != m_windowHandles.end() && ProcessOf(it->second) == pid) return it->second;
    unsigned index = 0;
    for (const auto& [seen, handle] : m_windowHandles)
        if (seen != title && ProcessOf(handle) == pid) ++index;
    return m_windowHandles[title] = WindowOf(pid, false, index);
}

std::optional<std::string> SimDesktop::TitleOf(const SimLock& held, HWND window) {
    AssertHeld(held, m_mutex);
    if (!window) return std::nullopt;
    for (const auto& [title, pid] : m_state.windows)
        if (HandleOf(held, title, pid) == window) return title;
    return std::nullopt;
}

bool SimDesktop::ProcessAlive(const SimLock& held, DWORD pid) const {
    AssertHeld(held, m_mutex);
    return std::any_of(m_state.windows.begin(), m_state.windows.end(), [&](const auto& w) { return w.second == pid; });
}

// ---------------------------------------------------------------- input and windows

void SimDesktop::keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) {
    SimLock lock(m_mutex);
    if (flags & KEYEVENTF_KEYUP) m_heldKeys.erase(vk);
    else m_heldKeys.insert(vk);
    Record(lock, "keybd_event", {Num(vk), Num(scan), Num(flags), Num(static_cast<long long>(extra))});
}

UINT SimDesktop::MapVirtualKeyW(UINT code, UINT mapType) {
    UINT result = mapType == MAPVK_VK_TO_VSC ? ScanCodeOf(code) : 0;
    Record("MapVirtualKeyW", {Num(code), Num(mapType)}, Num(result));
    return result;
}

UINT SimDesktop::SendInput(UINT count, const INPUT* inputs, int size) {
    std::vector<TraceValue> args{Num(count)};
    if (!inputs || size != static_cast<int>(sizeof(INPUT))) count = 0;
    SimLock lock(m_mutex);
    for (UINT i = 0; i < count; ++i) {
        const INPUT& in = inputs[i];
        args.push_back(Num(in.type));
        if (in.type == INPUT_KEYBOARD) {
            args.push_back(Num(in.ki.wVk));
            args.push_back(Num(in.ki.wScan));
            args.push_back(Num(in.ki.dwFlags));
            if (in.ki.dwFlags & KEYEVENTF_UNICODE) continue;
            if (in.ki.dwFlags & KEYEVENTF_KEYUP) m_heldKeys.erase(static_cast<BYTE>(in.ki.wVk));
            else m_heldKeys.insert(static_cast<BYTE>(in.ki.wVk));
        } else {
            args.push_back(Num(in.mi.dx));
            args.push_back(Num(in.mi.dy));
            args.push_back(Num(in.mi.dwFlags));
        }
    }
    Record(lock, "SendInput", std::move(args), Num(count));
    return count;
}

SHORT SimDesktop::VkKeyScanW(char16_t ch) {
    SHORT result = -1;
    if (ch >= u'a' && ch <= u'z') result = static_cast<SHORT>(ch - u'a' + 'A');
    else if (ch >= u'A' && ch <= u'Z') result = static_cast<SHORT>(0x100 | ch);
    else if (ch >= u'0' && ch <= u'9') result = static_cast<SHORT>(ch);
    else if (ch == u' ') result = 0x20;
    Record("VkKeyScanW", {Num(ch)}, Num(result));
    return result;
}

SHORT SimDesktop::GetKeyState(int vk) {
    SimLock lock(m_mutex);
    SHORT result = m_heldKeys.count(static_cast<BYTE>(vk)) ? static_cast<SHORT>(0x8000) : 0;
    Record(lock, "GetKeyState", {Num(vk)}, Num(result));
    return result;
}

void SimDesktop::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) {
    Record("mouse_event", {Num(flags), Num(dx), Num(dy), Num(data), Num(static_cast<long long>(extra))});
}

HWND SimDesktop::FindWindowW(const char16_t* className, const char16_t* title) {
    SimLock lock(m_mutex);
    HWND found = nullptr;
    if (title) {
        auto it = m_state.windows.find(Utf8(title));
        if (it != m_state.windows.end()) found = HandleOf(lock, it->first, it->second);
    } else if (className) {
        auto it = m_state.windowClasses.find(Utf8(className));
        if (it != m_state.windowClasses.end()) found = WindowOf(it->second, true);
    }
    Record(lock, "FindWindowW", {WideOrNull(className), WideOrNull(title)}, Ptr(found));
    return found;
}

DWORD SimDesktop::GetWindowThreadProcessId(HWND window, DWORD* processId) {
    DWORD pid = ProcessOf(window);
    if (processId) *processId = pid;
    Record("GetWindowThreadProcessId", {Ptr(window)}, Num(pid));
    return window ? 1 : 0;
}

HWND SimDesktop::GetDesktopWindow() {
    HWND desktop = reinterpret_cast<HWND>(0x10010);
    Record("GetDesktopWindow", {}, Ptr(desktop));
    return desktop;
}

// The shell's window is the one titled as on a real desktop, when the sim has it.
HWND SimDesktop::GetShellWindow() {
    SimLock lock(m_mutex);
    auto it = m_state.windows.find("Program Manager");
    HWND shell = it != m_state.windows.end() ? HandleOf(lock, it->first, it->second) : nullptr;
    Record(lock, "GetShellWindow", {}, Ptr(shell));
    return shell;
}

BOOL SimDesktop::EnumWindows(WNDENUMPROC callback, LPARAM param) {
    std::vector<HWND> windows;
    {
        SimLock lock(m_mutex);
        for (const auto& [title, pid] : m_state.windows) windows.push_back(HandleOf(lock, title, pid));
        Record(lock, "EnumWindows", {}, Num(static_cast<DWORD>(windows.size())));
    }
    // Not under the lock: the callback calls back into the sim.
    for (HWND window : windows)
        if (!callback(window, param)) break;
    return 1;
}

// WM_CLOSE closes the window unless it is set to stay open; a process lives while it has a window,
// and ends, taking its hidden windows along, when its last visible one has closed.
BOOL SimDesktop::PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SimLock lock(m_mutex);
    const auto title = TitleOf(lock, window);
    if (title && message == WM_CLOSE && !m_state.keepOpen.count(*title)) {
        const DWORD pid = ProcessOf(window);
        m_state.windows.erase(*title);
        const bool visibleLeft = std::any_of(m_state.windows.begin(), m_state.windows.end(), [&](const auto& w) {
            return w.second == pid && !m_state.hiddenWindows.count(w.first);
        });
        if (!visibleLeft) std::erase_if(m_state.windows, [&](const auto& w) { return w.second == pid; });
    }
    Record(lock, "PostMessageW", {Ptr(window), Num(message), Num(static_cast<long long>(wParam)), Num(lParam)},
           Num(title ? 1 : 0));
    return title ? 1 : 0;
}

HWND SimDesktop::GetForegroundWindow() {
    SimLock lock(m_mutex);
    auto it = m_state.windows.find(m_state.foregroundTitle);
    HWND window = it != m_state.windows.end() ? HandleOf(lock, it->first, it->second) : nullptr;
    Record(lock, "GetForegroundWindow", {}, Ptr(window));
    return window;
}

// The foreground window's class is the state's; a window found by its class has that class.
std::u16string SimDesktop::GetClassNameW(HWND window) {
    SimLock lock(m_mutex);
    std::string name;
    if (auto title = TitleOf(lock, window); title && *title == m_state.foregroundTitle) name = m_state.foregroundClass;
    for (const auto& [className, pid] : m_state.windowClasses)
        if (window && WindowOf(pid, true) == window) name = className;
    Record(lock, "GetClassNameW", {Ptr(window)}, TraceValue::Text(name));
    return textcodec::Utf8ToUtf16(name);
}

BOOL SimDesktop::IsWindowVisible(HWND window) {
    SimLock lock(m_mutex);
    const auto title = TitleOf(lock, window);
    const bool visible = title && !m_state.hiddenWindows.count(*title);
    Record(lock, "IsWindowVisible", {Ptr(window)}, Num(visible ? 1 : 0));
    return visible ? 1 : 0;
}

// An owned window's owner is the first window of its process that is not owned itself.
HWND SimDesktop::GetWindow(HWND window, UINT command) {
    SimLock lock(m_mutex);
    HWND owner = nullptr;
    const auto title = TitleOf(lock, window);
    if (title && command == GW_OWNER && m_state.ownedWindows.count(*title)) {
        const DWORD pid = ProcessOf(window);
        for (const auto& [other, otherPid] : m_state.windows)
            if (otherPid == pid && !m_state.ownedWindows.count(other)) {
                owner = HandleOf(lock, other, otherPid);
                break;
            }
    }
    Record(lock, "GetWindow", {Ptr(window), Num(command)}, Ptr(owner));
    return owner;
}

BOOL SimDesktop::ExitWindowsEx(UINT flags, DWORD reason) {
    Record("ExitWindowsEx", {Num(flags), Num(reason)}, Num(1));
    return 1;
}

BOOL SimDesktop::LockWorkStation() {
    Record("LockWorkStation", {}, Num(1));
    return 1;
}

// ---------------------------------------------------------------- processes and threads

HANDLE SimDesktop::CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) {
    SimLock lock(m_mutex);
    HANDLE handle = NewHandle(lock);
    Record(lock, "CreateThread", {Ptr(handle)});
    m_threads.Start(lock, handle, start, param);
    if (threadId) *threadId = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(handle));
    return handle;
}

DWORD SimDesktop::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return Wait("WaitForSingleObject", handle, milliseconds);
}

// No message is ever sent to the sim's threads: the same wait.
DWORD SimDesktop::MsgWaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return Wait("MsgWaitForSingleObject", handle, milliseconds);
}

DWORD SimDesktop::Wait(const char* call, HANDLE handle, DWORD milliseconds) {
    SimLock lock(m_mutex);
    DWORD result;
    if (auto process = m_processHandles.find(handle); process != m_processHandles.end()) {
        // A process ends when its last window has gone; waiting for one that lives takes the
        // whole timeout on the virtual clock.
        const bool alive = ProcessAlive(lock, process->second);
        if (alive) m_clockMs += milliseconds;
        result = alive ? kWaitTimeout : kWaitObject0;
    } else {
        ++m_waitsBegun;
        m_pauseChanged.notify_all();
        result = m_threads.WaitFor(lock, handle, milliseconds) ? kWaitObject0 : kWaitTimeout;
    }
    Record(lock, call, {Ptr(handle), Num(milliseconds)}, Num(result));
    return result;
}

BOOL SimDesktop::CloseHandle(HANDLE handle) {
    SimLock lock(m_mutex);
    const bool process = m_processHandles.erase(handle) > 0;
    const bool thread = m_threads.Close(lock, handle);
    const BOOL closed = process || thread ? 1 : 0;
    Record(lock, "CloseHandle", {Ptr(handle)}, Num(closed));
    return closed;
}

void SimDesktop::Sleep(DWORD milliseconds) {
    SimLock lock(m_mutex);
    m_clockMs += milliseconds;
    Record(lock, "Sleep", {Num(milliseconds)});
}

DWORD SimDesktop::GetLastError() {
    Record("GetLastError", {}, Num(t_lastError));
    return t_lastError;
}

BOOL SimDesktop::CreateProcessW(const char16_t* application, const char16_t* commandLine) {
    SimLock lock(m_mutex);
    auto it = m_state.startErrors.find(Utf8(application));
    t_lastError = it == m_state.startErrors.end() ? 0 : it->second;
    const BOOL started = t_lastError == 0 ? 1 : 0;
    Record(lock, "CreateProcessW", {WideOrNull(application), WideOrNull(commandLine)}, Num(started));
    return started;
}

HANDLE SimDesktop::OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
    SimLock lock(m_mutex);
    HANDLE handle = nullptr;
    if (ProcessAlive(lock, processId) && processId != 0) {
        handle = NewHandle(lock);
        m_processHandles[handle] = processId;
    }
    Record(lock, "OpenProcess", {Num(access), Num(inherit), Num(processId)}, Ptr(handle));
    return handle;
}

std::u16string SimDesktop::QueryFullProcessImageNameW(HANDLE process) {
    SimLock lock(m_mutex);
    std::string path;
    if (auto it = m_processHandles.find(process); it != m_processHandles.end())
        if (auto image = m_state.processImages.find(it->second); image != m_state.processImages.end()) path = image->second;
    Record(lock, "QueryFullProcessImageNameW", {Ptr(process)}, TraceValue::Text(path));
    return textcodec::Utf8ToUtf16(path);
}

// Every process runs at the medium level unless the state says otherwise.
DWORD SimDesktop::GetProcessIntegrityLevel(DWORD processId) {
    SimLock lock(m_mutex);
    DWORD level = 0;
    if (processId == m_state.processId || ProcessAlive(lock, processId)) {
        auto it = m_state.integrityLevels.find(processId);
        level = it == m_state.integrityLevels.end() ? SECURITY_MANDATORY_MEDIUM_RID : it->second;
    }
    Record(lock, "GetProcessIntegrityLevel", {Num(processId)}, Num(level));
    return level;
}

BOOL SimDesktop::TerminateProcess(HANDLE process, UINT exitCode) {
    SimLock lock(m_mutex);
    BOOL ok = 0;
    auto it = m_processHandles.find(process);
    if (it != m_processHandles.end()) {
        DWORD pid = it->second;
        std::erase_if(m_state.windows, [&](const auto& w) { return w.second == pid; });
        ok = 1;
    }
    Record(lock, "TerminateProcess", {Ptr(process), Num(exitCode)}, Num(ok));
    return ok;
}

BOOL SimDesktop::IsWow64Process(HANDLE process, BOOL* wow64) {
    SimLock lock(m_mutex);
    if (wow64) *wow64 = m_state.wow64 ? 1 : 0;
    Record(lock, "IsWow64Process", {Ptr(process)}, Flag(m_state.wow64));
    return 1;
}

HANDLE SimDesktop::GetCurrentProcess() {
    HANDLE pseudo = reinterpret_cast<HANDLE>(~std::uintptr_t{0});
    Record("GetCurrentProcess", {}, Ptr(pseudo));
    return pseudo;
}

DWORD SimDesktop::GetCurrentProcessId() {
    SimLock lock(m_mutex);
    Record(lock, "GetCurrentProcessId", {}, Num(m_state.processId));
    return m_state.processId;
}

std::u16string SimDesktop::GetSystemDirectoryW() {
    Record("GetSystemDirectoryW", {}, TraceValue::Text("C:\\Windows\\system32"));
    return u"C:\\Windows\\system32";
}

std::u16string SimDesktop::GetWindowsDirectoryW() {
    Record("GetWindowsDirectoryW", {}, TraceValue::Text("C:\\Windows"));
    return u"C:\\Windows";
}

void SimDesktop::OutputDebugStringW(const char16_t* text) { Record("OutputDebugStringW", {WideOrNull(text)}); }

HINSTANCE SimDesktop::ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file,
                                    const char16_t* parameters, const char16_t* directory, int show) {
    Record("ShellExecuteW",
           {Ptr(window), WideOrNull(verb), WideOrNull(file), WideOrNull(parameters), WideOrNull(directory), Num(show)},
           Num(kShellExecuteOk));
    return reinterpret_cast<HINSTANCE>(kShellExecuteOk);
}

BOOL SimDesktop::ShellExecuteExW(SHELLEXECUTEINFOW* info) {
    const bool ok = info && info->cbSize == sizeof(SHELLEXECUTEINFOW);
    if (ok) info->hInstApp = reinterpret_cast<HINSTANCE>(kShellExecuteOk);
    Record("ShellExecuteExW",
           ok ? std::vector<TraceValue>{Num(info->fMask), WideOrNull(info->lpVerb), WideOrNull(info->lpFile),
                                        WideOrNull(info->lpParameters), WideOrNull(info->lpDirectory), Num(info->nShow)}
              : std::vector<TraceValue>{},
           Num(ok ? 1 : 0));
    return ok ? 1 : 0;
}

}  // namespace vesim
