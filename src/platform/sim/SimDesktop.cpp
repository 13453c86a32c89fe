#include "platform/sim/SimDesktop.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "platform/TextCodec.h"

namespace vesim {

namespace {
constexpr DWORD kWaitObject0 = 0;
constexpr DWORD kWaitTimeout = 0x102;
constexpr UINT kWinExecOk = 33;
constexpr int kVolumeStep = 2;

thread_local int t_threadTag = 0;  // which started thread records, 0 for the installing one

std::string Utf8(const char16_t* text) { return text ? textcodec::Utf16ToUtf8(text) : std::string(); }
TraceValue Num(long long n) { return TraceValue::Num(n); }
TraceValue Flag(bool b) { return TraceValue::Bool(b); }
TraceValue Ptr(const void* p) { return TraceValue::Num(static_cast<long long>(reinterpret_cast<std::uintptr_t>(p))); }
TraceValue WideOrNull(const char16_t* text) { return text ? TraceValue::Text(Utf8(text)) : TraceValue::Null(); }

// Set-1 scan codes of the keys the library presses.
UINT ScanCodeOf(UINT vk) {
    static const std::map<UINT, UINT> kScan = {
        {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C}, {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x13, 0x45},
        {0x14, 0x3A}, {0x1B, 0x01}, {0x20, 0x39}, {0x21, 0x49}, {0x22, 0x51}, {0x23, 0x4F}, {0x24, 0x47},
        {0x25, 0x4B}, {0x26, 0x48}, {0x27, 0x4D}, {0x28, 0x50}, {0x2C, 0x37}, {0x2D, 0x52}, {0x2E, 0x53},
        {0x5B, 0x5B}, {0x5C, 0x5C}, {0x5D, 0x5D}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x1D},
        {0xA4, 0x38}, {0xA5, 0x38}, {0xBA, 0x27}, {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C}, {0xBE, 0x34},
        {0xBF, 0x35}, {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B}, {0xDD, 0x1B}, {0xDE, 0x28},
        {'1', 0x02}, {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07}, {'7', 0x08},
        {'8', 0x09}, {'9', 0x0A}, {'0', 0x0B}, {'Q', 0x10}, {'W', 0x11}, {'E', 0x12}, {'R', 0x13},
        {'T', 0x14}, {'Y', 0x15}, {'U', 0x16}, {'I', 0x17}, {'O', 0x18}, {'P', 0x19}, {'A', 0x1E},
        {'S', 0x1F}, {'D', 0x20}, {'F', 0x21}, {'G', 0x22}, {'H', 0x23}, {'J', 0x24}, {'K', 0x25},
        {'L', 0x26}, {'Z', 0x2C}, {'X', 0x2D}, {'C', 0x2E}, {'V', 0x2F}, {'B', 0x30}, {'N', 0x31},
        {'M', 0x32}, {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40},
        {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58},
    };
    auto it = kScan.find(vk);
    return it == kScan.end() ? 0 : it->second;
}
}  // namespace

struct SimDesktop::SimThread {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    bool closed = false;  // its handle was closed (guarded by the sim's mutex)
    std::thread thread;
};

SimDesktop::SimDesktop() = default;
SimDesktop::SimDesktop(SimState state) : m_state(std::move(state)) {}

SimDesktop::~SimDesktop() { WaitForThreads(); }

void SimDesktop::WaitForThreads() {
    std::vector<SimThread*> threads;
    {
        std::lock_guard lock(m_mutex);
        for (auto& [handle, thread] : m_threads) threads.push_back(thread.get());
    }
    for (SimThread* thread : threads)
        if (thread->thread.joinable()) thread->thread.join();
    // A thread that ended and whose handle is closed is forgotten, so a long run stays small.
    std::lock_guard lock(m_mutex);
    std::erase_if(m_threads, [](const auto& entry) { return entry.second->closed && !entry.second->thread.joinable(); });
}

void SimDesktop::Record(std::string call, std::vector<TraceValue> args, std::optional<TraceValue> result) {
    std::lock_guard lock(m_mutex);
    m_trace.push_back({std::move(call), std::move(args), std::move(result), t_threadTag});
}

std::vector<TraceEvent> SimDesktop::Trace() const {
    std::lock_guard lock(m_mutex);
    return m_trace;
}

void SimDesktop::ClearTrace() {
    std::lock_guard lock(m_mutex);
    m_trace.clear();
}

std::set<BYTE> SimDesktop::HeldKeys() const {
    std::lock_guard lock(m_mutex);
    return m_heldKeys;
}

HANDLE SimDesktop::NewHandle() { return reinterpret_cast<HANDLE>(m_nextHandle += 4); }

TraceValue SimDesktop::Text(const CString& text) { return TraceValue::Text(textcodec::Utf16ToUtf8(text.str())); }
TraceValue SimDesktop::Gbk(const std::string& gbkText) { return TraceValue::Text(textcodec::GbkToUtf8(gbkText)); }

// ---------------------------------------------------------------- input and windows

void SimDesktop::keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) {
    {
        std::lock_guard lock(m_mutex);
        if (flags & KEYEVENTF_KEYUP) m_heldKeys.erase(vk);
        else m_heldKeys.insert(vk);
    }
    Record("keybd_event", {Num(vk), Num(scan), Num(flags), Num(static_cast<long long>(extra))});
}

UINT SimDesktop::MapVirtualKeyW(UINT code, UINT mapType) {
    UINT result = mapType == MAPVK_VK_TO_VSC ? ScanCodeOf(code) : 0;
    Record("MapVirtualKeyW", {Num(code), Num(mapType)}, Num(result));
    return result;
}

UINT SimDesktop::SendInput(UINT count, const INPUT* inputs, int size) {
    std::vector<TraceValue> args{Num(count)};
    if (!inputs || size != static_cast<int>(sizeof(INPUT))) count = 0;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& in = inputs[i];
        args.push_back(Num(in.type));
        if (in.type == INPUT_KEYBOARD) {
            args.push_back(Num(in.ki.wVk));
            args.push_back(Num(in.ki.wScan));
            args.push_back(Num(in.ki.dwFlags));
            std::lock_guard lock(m_mutex);
            if (in.ki.dwFlags & KEYEVENTF_UNICODE) continue;
            if (in.ki.dwFlags & KEYEVENTF_KEYUP) m_heldKeys.erase(static_cast<BYTE>(in.ki.wVk));
            else m_heldKeys.insert(static_cast<BYTE>(in.ki.wVk));
        } else {
            args.push_back(Num(in.mi.dx));
            args.push_back(Num(in.mi.dy));
            args.push_back(Num(in.mi.dwFlags));
        }
    }
    Record("SendInput", std::move(args), Num(count));
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
    bool held;
    {
        std::lock_guard lock(m_mutex);
        held = m_heldKeys.count(static_cast<BYTE>(vk)) > 0;
    }
    SHORT result = held ? static_cast<SHORT>(0x8000) : 0;
    Record("GetKeyState", {Num(vk)}, Num(result));
    return result;
}

void SimDesktop::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) {
    Record("mouse_event", {Num(flags), Num(dx), Num(dy), Num(data), Num(static_cast<long long>(extra))});
}

HWND SimDesktop::FindWindowW(const char16_t* className, const char16_t* title) {
    HWND found = nullptr;
    if (title) {
        auto it = m_state.windows.find(Utf8(title));
        if (it != m_state.windows.end()) found = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(it->second) << 4);
    }
    Record("FindWindowW", {WideOrNull(className), WideOrNull(title)}, Ptr(found));
    return found;
}

DWORD SimDesktop::GetWindowThreadProcessId(HWND window, DWORD* processId) {
    DWORD pid = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(window) >> 4);
    if (processId) *processId = pid;
    Record("GetWindowThreadProcessId", {Ptr(window)}, Num(pid));
    return window ? 1 : 0;
}

HWND SimDesktop::GetDesktopWindow() {
    HWND desktop = reinterpret_cast<HWND>(0x10010);
    Record("GetDesktopWindow", {}, Ptr(desktop));
    return desktop;
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
    auto thread = std::make_unique<SimThread>();
    HANDLE handle;
    int tag;
    {
        std::lock_guard lock(m_mutex);
        handle = NewHandle();
        tag = static_cast<int>(m_threads.size()) + 1;
    }
    Record("CreateThread", {Ptr(handle)});
    SimThread* raw = thread.get();
    raw->thread = std::thread([raw, start, param, tag] {
        t_threadTag = tag;
        start(param);
        std::lock_guard lock(raw->mutex);
        raw->done = true;
        raw->cv.notify_all();
    });
    if (threadId) *threadId = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(handle));
    std::lock_guard lock(m_mutex);
    m_threads.emplace(handle, std::move(thread));
    return handle;
}

DWORD SimDesktop::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    SimThread* thread = nullptr;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_threads.find(handle);
        if (it != m_threads.end()) thread = it->second.get();
    }
    DWORD result = kWaitObject0;
    if (thread) {
        std::unique_lock lock(thread->mutex);
        bool done = thread->cv.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return thread->done; });
        result = done ? kWaitObject0 : kWaitTimeout;
    }
    Record("WaitForSingleObject", {Ptr(handle), Num(milliseconds)}, Num(result));
    return result;
}

BOOL SimDesktop::TerminateThread(HANDLE thread, DWORD exitCode) {
    Record("TerminateThread", {Ptr(thread), Num(exitCode)}, Num(1));
    return 1;
}

BOOL SimDesktop::CloseHandle(HANDLE handle) {
    bool known;
    {
        std::lock_guard lock(m_mutex);
        known = m_processHandles.erase(handle) > 0;
        if (auto it = m_threads.find(handle); it != m_threads.end() && !it->second->closed) {
            it->second->closed = true;
            known = true;
        }
    }
    Record("CloseHandle", {Ptr(handle)}, Num(known ? 1 : 0));
    return known ? 1 : 0;
}

void SimDesktop::Sleep(DWORD milliseconds) {
    {
        std::lock_guard lock(m_mutex);
        m_clockMs += milliseconds;
    }
    Record("Sleep", {Num(milliseconds)});
}

UINT SimDesktop::WinExec(const std::string& gbkCommandLine, UINT show) {
    std::string command = textcodec::GbkToUtf8(gbkCommandLine);
    auto it = m_state.winExecResults.find(command);
    UINT result = it == m_state.winExecResults.end() ? kWinExecOk : it->second;
    Record("WinExec", {TraceValue::Text(command), Num(show)}, Num(result));
    return result;
}

HANDLE SimDesktop::OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
    HANDLE handle = nullptr;
    {
        std::lock_guard lock(m_mutex);
        bool alive = std::any_of(m_state.windows.begin(), m_state.windows.end(),
                                 [&](const auto& w) { return w.second == processId; });
        if (alive && processId != 0) {
            handle = NewHandle();
            m_processHandles[handle] = processId;
        }
    }
    Record("OpenProcess", {Num(access), Num(inherit), Num(processId)}, Ptr(handle));
    return handle;
}

BOOL SimDesktop::TerminateProcess(HANDLE process, UINT exitCode) {
    BOOL ok = 0;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_processHandles.find(process);
        if (it != m_processHandles.end()) {
            DWORD pid = it->second;
            std::erase_if(m_state.windows, [&](const auto& w) { return w.second == pid; });
            ok = 1;
        }
    }
    Record("TerminateProcess", {Ptr(process), Num(exitCode)}, Num(ok));
    return ok;
}

BOOL SimDesktop::IsWow64Process(HANDLE process, BOOL* wow64) {
    if (wow64) *wow64 = m_state.wow64 ? 1 : 0;
    Record("IsWow64Process", {Ptr(process)}, Flag(m_state.wow64));
    return 1;
}

HANDLE SimDesktop::GetCurrentProcess() {
    HANDLE pseudo = reinterpret_cast<HANDLE>(~std::uintptr_t{0});
    Record("GetCurrentProcess", {}, Num(-1));
    return pseudo;
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
           Num(42));
    return reinterpret_cast<HINSTANCE>(42);
}

// ---------------------------------------------------------------- VeUI

void SimDesktop::Tray(const CString& text, VeTrayParams params) { Record("VeUI::Tray", {Text(text), Num(params)}); }
void SimDesktop::Tray_2(const CString& text) { Record("VeUI::Tray_2", {Text(text)}); }
void SimDesktop::InteractiveSet(const char16_t* text, VeInteractiveParams params) {
    Record("VeUI::InteractiveSet", {WideOrNull(text), Num(params)});
}
void SimDesktop::Log(const CString& text, LogType type) { Record("VeUI::Log", {Text(text), Num(type)}); }
void SimDesktop::Log_2(const CString& text, LogType type) { Record("VeUI::Log_2", {Text(text), Num(type)}); }
void SimDesktop::Log_HICON(const CString& text, HICON icon) { Record("VeUI::Log_HICON", {Text(text), Ptr(icon)}); }
void SimDesktop::Log_nolt(const CString& text, LogType type) { Record("VeUI::Log_nolt", {Text(text), Num(type)}); }
void SimDesktop::DebugLog(const CString& text, LogType type) { Record("VeUI::DebugLog", {Text(text), Num(type)}); }
void SimDesktop::MainMenu(MainMenuType page) { Record("VeUI::MainMenu", {Num(page)}); }

bool SimDesktop::YesOrNot(const CString& question) {
    Record("VeUI::YesOrNot", {Text(question)}, Flag(m_state.yesNoAnswer));
    return m_state.yesNoAnswer;
}

void SimDesktop::VeShellExecuteA(const std::string& gbkTarget) { Record("VeUI::VeShellExecuteA", {Gbk(gbkTarget)}); }

// ---------------------------------------------------------------- data factory

bool SimDesktop::OpenWebsite(CString& name, LogType& type) {
    bool known = m_state.websites.count(textcodec::Utf16ToUtf8(name.str())) > 0;
    if (known) type = LogType_Website;
    Record("CDataFactory::OpenWebsite", {Text(name)}, Flag(known));
    return known;
}

bool SimDesktop::OpenWebsite_Grm(CString& name, LogType& type) {
    bool known = m_state.websites.count(textcodec::Utf16ToUtf8(name.str())) > 0;
    if (known) type = LogType_Website;
    Record("CDataFactory::OpenWebsite_Grm", {Text(name)}, Flag(known));
    return known;
}

bool SimDesktop::OpenPcSoftwareLnk(CString& name, LogType& type, HICON& icon) {
    std::string utf8 = textcodec::Utf16ToUtf8(name.str());
    auto it = m_state.programs.find(utf8);
    bool known = it != m_state.programs.end();
    if (known) {
        type = LogType_Application;
        icon = reinterpret_cast<HICON>(0x1000 + 4 * std::distance(m_state.programs.begin(), it));
    }
    Record("CDataFactory::OpenPcSoftwareLnk", {Text(name)}, Flag(known));
    return known;
}

bool SimDesktop::VeOpenUserFiles(const CString& name, LogType& type, HICON& icon) {
    bool known = m_state.userFiles.count(textcodec::Utf16ToUtf8(name.str())) > 0;
    if (known) {
        type = LogType_Application;
        icon = nullptr;
    }
    Record("CDataFactory::VeOpenUserFiles", {Text(name)}, Flag(known));
    return known;
}

bool SimDesktop::UninstSystemExe(CString& name, LogType& type) {
    bool known = m_state.uninstallable.count(textcodec::Utf16ToUtf8(name.str())) > 0;
    if (known) type = LogType_Application;
    Record("CDataFactory::UninstSystemExe", {Text(name)}, Flag(known));
    return known;
}

void SimDesktop::SetNormal(bool normal) { Record("CDataFactory::SetNormal", {Flag(normal)}); }

int SimDesktop::GetConfidenceLevel(const std::string& gbkText) {
    std::string utf8 = textcodec::GbkToUtf8(gbkText);
    auto it = m_state.confidence.find(utf8);
    int level = it == m_state.confidence.end() ? -1 : it->second;
    Record("CDataFactory::GetConfidenceLevel", {TraceValue::Text(utf8)}, Num(level));
    return level;
}

// ---------------------------------------------------------------- environment

int SimDesktop::SetVolume(int level, bool muteSwitch) {
    int result = -1;
    if (m_state.audioAvailable) {
        if (muteSwitch) {
            m_state.muted = level == 1;
        } else if (level == 200) {
            m_state.volume = std::min(100, m_state.volume + kVolumeStep);
        } else if (level == -200) {
            m_state.volume = std::max(0, m_state.volume - kVolumeStep);
        } else {
            m_state.volume = std::clamp(level, 0, 100);
        }
        result = m_state.volume;
    }
    Record("CEnvironmentMonitor::SetVolume", {Num(level), Flag(muteSwitch)}, Num(result));
    return result;
}

int SimDesktop::SetBrightness(int level) {
    m_state.brightness = std::clamp(level, 0, 100);
    Record("CEnvironmentMonitor::SetBrightness", {Num(level)}, Num(m_state.brightness));
    return m_state.brightness;
}

bool SimDesktop::CheckNet(bool flag) {
    Record("CEnvironmentMonitor::CheckNet", {Flag(flag)}, Flag(m_state.network));
    return m_state.network;
}

WindowsVersion SimDesktop::OsVersion() {
    Record("CEnvironmentMonitor::OsVersion", {}, Num(m_state.windowsVersion));
    return m_state.windowsVersion;
}

void SimDesktop::ElevatePermission() { Record("CEnvironmentMonitor::ElevatePermission", {}); }

// ---------------------------------------------------------------- CUtil and friends

bool SimDesktop::OpenCommand(std::string& gbkCommand) {
    std::string utf8 = textcodec::GbkToUtf8(gbkCommand);
    bool known = m_state.hostCommands.count(utf8) > 0;
    Record("CUtil::OpenCommand", {TraceValue::Text(utf8)}, Flag(known));
    return known;
}

void SimDesktop::SearchInBaidu_unicode(const std::string& gbkText) {
    Record("CUtil::SearchInBaidu_unicode", {Gbk(gbkText)});
}

void SimDesktop::NoteHttpRequest(const std::string& url, int result) {
    Record("CVeCurl::OpenUrl_get", {TraceValue::Text(url)}, Num(result));
}

void SimDesktop::SearchInBaidu_utf8(const std::string& utf8Text) {
    Record("CUtil::SearchInBaidu_utf8", {TraceValue::Text(utf8Text)});
}

void SimDesktop::RefreshToolbarAreaIcon() { Record("CUtil::RefreshToolbarAreaIcon", {}); }

CString SimDesktop::GetCurrentWndText() {
    Record("CurrentWnd::GetCurrentWndText", {}, TraceValue::Text(m_state.foregroundTitle));
    return CString(textcodec::Utf8ToUtf16(m_state.foregroundTitle));
}

bool SimDesktop::IsPPtSlideShow() {
    Record("CurrentWnd::IsPPtSlideShow", {}, Flag(m_state.slideShow));
    return m_state.slideShow;
}

std::string SimDesktop::GetMac(MacForm form) {
    Record("MacAddress::GetMac", {Num(form)}, TraceValue::Text(m_state.mac));
    return m_state.mac;
}

std::string SimDesktop::GetTime_2020_01_01() {
    Record("TyTime::GetTime_2020_01_01", {}, TraceValue::Text(m_state.date));
    return m_state.date;
}

bool SimDesktop::OpenUserSelf(CString& name, LogType& /*type*/, HICON& /*icon*/) {
    bool known = m_state.userCommands.count(textcodec::Utf16ToUtf8(name.str())) > 0;
    Record("CAccountData::OpenUserSelf", {Text(name)}, Flag(known));
    return known;
}

void SimDesktop::openAi(const std::string& utf8Text) { Record("CAiManager::openAi", {TraceValue::Text(utf8Text)}); }

std::string SimDesktop::GetCity() {
    Record("VeAddress::GetCity", {}, TraceValue::Text(m_state.city));
    return textcodec::Utf8ToGbk(m_state.city);
}

bool SimDesktop::WordTemplate(CString& name) {
    Record("CVeOffice::WordTemplate", {Text(name)}, Flag(m_state.wordTemplateOk));
    return m_state.wordTemplateOk;
}

// ---------------------------------------------------------------- configuration

namespace {

bool ReadStringSet(const rapidjson::Value& v, std::set<std::string>& out) {
    if (!v.IsArray()) return false;
    out.clear();
    for (const auto& item : v.GetArray()) {
        if (!item.IsString()) return false;
        out.insert(item.GetString());
    }
    return true;
}

template <typename T, typename Read>
bool ReadMap(const rapidjson::Value& v, std::map<std::string, T>& out, Read read) {
    if (!v.IsObject()) return false;
    out.clear();
    for (const auto& m : v.GetObject()) {
        T value;
        if (!read(m.value, value)) return false;
        out[m.name.GetString()] = value;
    }
    return true;
}

bool ReadInt(const rapidjson::Value& v, int& out) {
    if (!v.IsInt()) return false;
    out = v.GetInt();
    return true;
}

}  // namespace

bool SimDesktop::Configure(const std::string& json, std::string& error) {
    rapidjson::Document doc;
    doc.Parse(json.c_str(), json.size());
    if (doc.HasParseError() || !doc.IsObject()) {
        error = "sim settings must be a JSON object";
        return false;
    }
    SimState s = m_state;
    for (const auto& m : doc.GetObject()) {
        std::string key = m.name.GetString();
        const rapidjson::Value& v = m.value;
        auto str = [&](std::string& out) {
            if (!v.IsString()) return false;
            out = v.GetString();
            return true;
        };
        auto flag = [&](bool& out) {
            if (!v.IsBool()) return false;
            out = v.GetBool();
            return true;
        };
        bool ok;
        if (key == "network") ok = flag(s.network);
        else if (key == "windowsVersion") {
            int version = 0;
            ok = ReadInt(v, version);
            s.windowsVersion = static_cast<WindowsVersion>(version);
        } else if (key == "foreground") ok = str(s.foregroundTitle);
        else if (key == "slideShow") ok = flag(s.slideShow);
        else if (key == "yesNo") ok = flag(s.yesNoAnswer);
        else if (key == "wow64") ok = flag(s.wow64);
        else if (key == "websites")
            ok = ReadMap<std::string>(v, s.websites, [](const rapidjson::Value& x, std::string& out) {
                if (!x.IsString()) return false;
                out = x.GetString();
                return true;
            });
        else if (key == "programs") ok = ReadStringSet(v, s.programs);
        else if (key == "uninstallable") ok = ReadStringSet(v, s.uninstallable);
        else if (key == "userCommands") ok = ReadStringSet(v, s.userCommands);
        else if (key == "userFiles") ok = ReadStringSet(v, s.userFiles);
        else if (key == "hostCommands") ok = ReadStringSet(v, s.hostCommands);
        else if (key == "confidence") ok = ReadMap<int>(v, s.confidence, ReadInt);
        else if (key == "winExec")
            ok = ReadMap<UINT>(v, s.winExecResults, [](const rapidjson::Value& x, UINT& out) {
                if (!x.IsUint()) return false;
                out = x.GetUint();
                return true;
            });
        else if (key == "windows")
            ok = ReadMap<DWORD>(v, s.windows, [](const rapidjson::Value& x, DWORD& out) {
                if (!x.IsUint()) return false;
                out = x.GetUint();
                return true;
            });
        else if (key == "volume") ok = ReadInt(v, s.volume);
        else if (key == "muted") ok = flag(s.muted);
        else if (key == "audio") ok = flag(s.audioAvailable);
        else if (key == "brightness") ok = ReadInt(v, s.brightness);
        else if (key == "city") ok = str(s.city);
        else if (key == "date") ok = str(s.date);
        else if (key == "mac") ok = str(s.mac);
        else if (key == "wordTemplate") ok = flag(s.wordTemplateOk);
        else {
            error = "unknown sim setting \"" + key + "\"";
            return false;
        }
        if (!ok) {
            error = "sim setting \"" + key + "\" has the wrong type";
            return false;
        }
    }
    m_state = std::move(s);
    return true;
}

// ---------------------------------------------------------------- ScopedSim

ScopedSim::ScopedSim() : ScopedSim(SimState{}) {}
ScopedSim::ScopedSim(SimState state) : m_sim(std::make_unique<SimDesktop>(std::move(state))) {
    m_previous = vebackend::Install(m_sim.get());
}
ScopedSim::~ScopedSim() {
    m_sim->WaitForThreads();  // a thread still running must not outlive the backend it calls
    vebackend::Install(m_previous);
}

}  // namespace vesim

#if !defined(_WIN32)
namespace vebackend {
Backend& DefaultBackend() {
    static vesim::SimDesktop sim;
    return sim;
}
}  // namespace vebackend
#endif
