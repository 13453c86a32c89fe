// Host services go to the host's callback when it installed one and to the backend underneath
// otherwise; Windows calls always go underneath. In a dry run (vedryrun) what would act on the
// desktop stops here and is reported instead; a host's callback still hears its call.
#include "exports/HostBackend.h"

#include <cstdint>
#include <mutex>
#include <string_view>
#include <type_traits>

#include "host/HostCallbacks.h"
#include "platform/Backend.h"
#include "platform/DryRun.h"
#include "platform/TextCodec.h"

namespace vecapi {
namespace {

using namespace vebackend;

std::string Utf8(const CString& text) { return textcodec::Utf16ToUtf8(text.str()); }

// "name(a, b, ...)" for the report of a call a dry run leaves out.
template <typename... Args>
std::u16string Call(std::u16string_view name, const Args&... args) {
    std::u16string line(name);
    line += u'(';
    const char16_t* separator = u"";
    [[maybe_unused]] auto add = [&](const auto& arg) {
        line += separator;
        separator = u", ";
        using T = std::decay_t<decltype(arg)>;
        if constexpr (std::is_arithmetic_v<T>) line += textcodec::Utf8ToUtf16(std::to_string(arg));
        else if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, const char16_t*>)
            line += textcodec::Utf8ToUtf16(std::to_string(reinterpret_cast<std::uintptr_t>(arg)));
        else if constexpr (std::is_same_v<T, const char16_t*>) line += arg ? u"\"" + std::u16string(arg) + u"\"" : u"null";
        else line += u"\"" + std::u16string(arg) + u"\"";
    };
    (add(args), ...);
    return line + u')';
}

// In a dry run: reports the call and returns true, so the caller leaves it out. The report is
// made only then: every key press goes through here.
template <typename... Args>
bool LeftOut(std::u16string_view name, const Args&... args) {
    return vedryrun::Active() && vedryrun::Skip(Call(name, args...));
}

class HostBackend final : public Backend {
public:
    void SetInner(Backend* inner) { m_inner = inner; }

    void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) override {
        if (!LeftOut(u"keybd_event", vk, scan, flags)) m_inner->keybd_event(vk, scan, flags, extra);
    }
    UINT MapVirtualKeyW(UINT code, UINT mapType) override { return m_inner->MapVirtualKeyW(code, mapType); }
    UINT SendInput(UINT count, const INPUT* inputs, int size) override {
        if (vedryrun::Active()) return DryRunInput(count, inputs, size);
        return m_inner->SendInput(count, inputs, size);
    }
    SHORT VkKeyScanW(char16_t ch) override { return m_inner->VkKeyScanW(ch); }
    SHORT GetKeyState(int vk) override { return m_inner->GetKeyState(vk); }
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) override {
        if (!LeftOut(u"mouse_event", flags, dx, dy, data)) m_inner->mouse_event(flags, dx, dy, data, extra);
    }
    HWND FindWindowW(const char16_t* className, const char16_t* title) override {
        return m_inner->FindWindowW(className, title);
    }
    DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override {
        return m_inner->GetWindowThreadProcessId(window, processId);
    }
    HWND GetDesktopWindow() override { return m_inner->GetDesktopWindow(); }
    HWND GetShellWindow() override { return m_inner->GetShellWindow(); }
    BOOL EnumWindows(vewin::WNDENUMPROC callback, vewin::LPARAM param) override {
        return m_inner->EnumWindows(callback, param);
    }
    BOOL PostMessageW(HWND window, UINT message, vewin::WPARAM wParam, vewin::LPARAM lParam) override {
        if (LeftOut(u"PostMessageW", window, message, wParam)) return 1;
        return m_inner->PostMessageW(window, message, wParam, lParam);
    }
    HWND GetForegroundWindow() override { return m_inner->GetForegroundWindow(); }
    std::u16string GetClassNameW(HWND window) override { return m_inner->GetClassNameW(window); }
    BOOL IsWindowVisible(HWND window) override { return m_inner->IsWindowVisible(window); }
    HWND GetWindow(HWND window, UINT command) override { return m_inner->GetWindow(window, command); }
    BOOL ExitWindowsEx(UINT flags, DWORD reason) override {
        return LeftOut(u"ExitWindowsEx", flags, reason) ? 1 : m_inner->ExitWindowsEx(flags, reason);
    }
    BOOL LockWorkStation() override {
        return LeftOut(u"LockWorkStation") ? 1 : m_inner->LockWorkStation();
    }
    HANDLE CreateThread(LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) override {
        return m_inner->CreateThread(start, param, threadId);
    }
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
        return m_inner->WaitForSingleObject(handle, milliseconds);
    }
    DWORD MsgWaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
        return m_inner->MsgWaitForSingleObject(handle, milliseconds);
    }
    BOOL CloseHandle(HANDLE handle) override { return m_inner->CloseHandle(handle); }
    void Sleep(DWORD milliseconds) override { m_inner->Sleep(milliseconds); }
    DWORD GetLastError() override { return m_inner->GetLastError(); }
    BOOL CreateProcessW(const char16_t* application, const char16_t* commandLine) override {
        if (LeftOut(u"CreateProcessW", application, commandLine)) return 1;
        return m_inner->CreateProcessW(application, commandLine);
    }
    std::u16string QueryFullProcessImageNameW(HANDLE process) override {
        return m_inner->QueryFullProcessImageNameW(process);
    }
    DWORD GetProcessIntegrityLevel(DWORD processId) override { return m_inner->GetProcessIntegrityLevel(processId); }
    HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override {
        return m_inner->OpenProcess(access, inherit, processId);
    }
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override {
        return LeftOut(u"TerminateProcess", process, exitCode) ? 1 : m_inner->TerminateProcess(process, exitCode);
    }
    BOOL IsWow64Process(HANDLE process, BOOL* wow64) override { return m_inner->IsWow64Process(process, wow64); }
    HANDLE GetCurrentProcess() override { return m_inner->GetCurrentProcess(); }
    DWORD GetCurrentProcessId() override { return m_inner->GetCurrentProcessId(); }
    std::u16string GetSystemDirectoryW() override { return m_inner->GetSystemDirectoryW(); }
    std::u16string GetWindowsDirectoryW() override { return m_inner->GetWindowsDirectoryW(); }
    void OutputDebugStringW(const char16_t* text) override { m_inner->OutputDebugStringW(text); }
    HINSTANCE ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                            const char16_t* directory, int show) override {
        constexpr std::uintptr_t kOpened = 42;  // above 32: success
        if (LeftOut(u"ShellExecuteW", verb, file, parameters, directory))
            return reinterpret_cast<HINSTANCE>(kOpened);
        return m_inner->ShellExecuteW(window, verb, file, parameters, directory, show);
    }
    BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) override {
        if (LeftOut(u"ShellExecuteExW", info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory)) {
            info->hInstApp = reinterpret_cast<HINSTANCE>(std::uintptr_t{42});  // above 32: success
            return 1;
        }
        return m_inner->ShellExecuteExW(info);
    }

    void Tray(const CString& text, VeTrayParams params) override {
        if (auto cb = vehost::Callbacks(); cb.tray) cb.tray(cb.user, Utf8(text).c_str(), params);
        else m_inner->Tray(text, params);
    }
    void Tray_2(const CString& text) override {
        if (auto cb = vehost::Callbacks(); cb.tray_question) cb.tray_question(cb.user, Utf8(text).c_str());
        else m_inner->Tray_2(text);
    }
    void InteractiveSet(const char16_t* text, VeInteractiveParams params) override {
        auto cb = vehost::Callbacks();
        if (!cb.interactive_set) return m_inner->InteractiveSet(text, params);
        std::string utf8 = text ? textcodec::Utf16ToUtf8(text) : std::string();
        cb.interactive_set(cb.user, text ? utf8.c_str() : nullptr, params);
    }
    void Log(const CString& text, LogType type) override {
        if (!LogLine(text, type, VESCENE_LOG)) m_inner->Log(text, type);
    }
    void Log_2(const CString& text, LogType type) override {
        if (!LogLine(text, type, VESCENE_LOG_2)) m_inner->Log_2(text, type);
    }
    void Log_HICON(const CString& text, HICON icon) override {
        if (auto cb = vehost::Callbacks(); cb.log_icon) cb.log_icon(cb.user, Utf8(text).c_str(), icon);
        else m_inner->Log_HICON(text, icon);
    }
    void Log_nolt(const CString& text, LogType type) override {
        if (!LogLine(text, type, VESCENE_LOG_NOLT)) m_inner->Log_nolt(text, type);
    }
    void DebugLog(const CString& text, LogType type) override {
        if (!LogLine(text, type, VESCENE_LOG_DEBUG)) m_inner->DebugLog(text, type);
    }
    void MainMenu(MainMenuType page) override {
        if (auto cb = vehost::Callbacks(); cb.main_menu) cb.main_menu(cb.user, page);
        else m_inner->MainMenu(page);
    }
    bool YesOrNot(const CString& question) override {
        if (auto cb = vehost::Callbacks(); cb.yes_or_no) return cb.yes_or_no(cb.user, Utf8(question).c_str()) != 0;
        if (vedryrun::Skip(u"ask \"" + question.str() + u"\": no")) return false;
        return m_inner->YesOrNot(question);
    }
    void VeShellExecuteA(const std::string& gbkTarget) override {
        if (auto cb = vehost::Callbacks(); cb.shell_execute) cb.shell_execute(cb.user, textcodec::GbkToUtf8(gbkTarget).c_str());
        else if (!vedryrun::Skip(u"open \"" + textcodec::GbkToUtf16(gbkTarget) + u"\"")) m_inner->VeShellExecuteA(gbkTarget);
    }

    bool OpenWebsite(CString& name, LogType& type) override {
        return Lookup(&VeHostCallbacks::open_website, name, type, [&] { return m_inner->OpenWebsite(name, type); });
    }
    bool OpenWebsite_Grm(CString& name, LogType& type) override {
        return Lookup(&VeHostCallbacks::open_website_grm, name, type,
                      [&] { return m_inner->OpenWebsite_Grm(name, type); });
    }
    bool OpenPcSoftwareLnk(CString& name, LogType& type, HICON& icon) override {
        return LookupIcon(&VeHostCallbacks::open_program, name, type, icon,
                          [&] { return m_inner->OpenPcSoftwareLnk(name, type, icon); });
    }
    bool VeOpenUserFiles(const CString& name, LogType& type, HICON& icon) override {
        return LookupIcon(&VeHostCallbacks::open_user_files, name, type, icon,
                          [&] { return m_inner->VeOpenUserFiles(name, type, icon); });
    }
    bool UninstSystemExe(CString& name, LogType& type) override {
        return Lookup(&VeHostCallbacks::uninstall_program, name, type,
                      [&] { return m_inner->UninstSystemExe(name, type); });
    }
    void SetNormal(bool normal) override {
        if (auto cb = vehost::Callbacks(); cb.set_normal) cb.set_normal(cb.user, normal ? 1 : 0);
        else m_inner->SetNormal(normal);
    }
    int GetConfidenceLevel(const std::string& gbkText) override {
        auto cb = vehost::Callbacks();
        if (!cb.confidence_level) return m_inner->GetConfidenceLevel(gbkText);
        return cb.confidence_level(cb.user, textcodec::GbkToUtf8(gbkText).c_str());
    }

    int SetVolume(int level, bool muteSwitch) override {
        auto cb = vehost::Callbacks();
        if (cb.set_volume) return cb.set_volume(cb.user, level, muteSwitch ? 1 : 0);
        return LeftOut(u"SetVolume", level, muteSwitch ? 1 : 0) ? -1 : m_inner->SetVolume(level, muteSwitch);
    }
    int SetBrightness(int level) override {
        auto cb = vehost::Callbacks();
        if (cb.set_brightness) return cb.set_brightness(cb.user, level);
        return LeftOut(u"SetBrightness", level) ? -1 : m_inner->SetBrightness(level);
    }
    int GetBrightness() override {
        auto cb = vehost::Callbacks();
        if (cb.get_brightness) return cb.get_brightness(cb.user);
        // A host that sets the brightness itself owns the level: the display underneath may not be its.
        return cb.set_brightness ? -1 : m_inner->GetBrightness();
    }
    bool CheckNet(bool flag) override {
        auto cb = vehost::Callbacks();
        return cb.check_net ? cb.check_net(cb.user) != 0 : m_inner->CheckNet(flag);
    }
    WindowsVersion OsVersion() override {
        auto cb = vehost::Callbacks();
        if (!cb.os_version) return m_inner->OsVersion();
        return cb.os_version(cb.user) == 0 ? WindowsVersion_Old : WindowsVersion_Current;
    }
    void ElevatePermission() override {
        if (auto cb = vehost::Callbacks(); cb.elevate_permission) cb.elevate_permission(cb.user);
        else if (!LeftOut(u"ElevatePermission")) m_inner->ElevatePermission();
    }

    bool OpenCommand(std::string& gbkCommand) override {
        auto cb = vehost::Callbacks();
        if (!cb.open_command) return m_inner->OpenCommand(gbkCommand);
        return cb.open_command(cb.user, textcodec::GbkToUtf8(gbkCommand).c_str()) != 0;
    }
    void SearchInBaidu_unicode(const std::string& gbkText) override {
        if (auto cb = vehost::Callbacks(); cb.web_search) cb.web_search(cb.user, textcodec::GbkToUtf8(gbkText).c_str());
        else if (!vedryrun::Skip(u"web search \"" + textcodec::GbkToUtf16(gbkText) + u"\"")) m_inner->SearchInBaidu_unicode(gbkText);
    }
    void SearchInBaidu_utf8(const std::string& utf8Text) override {
        if (auto cb = vehost::Callbacks(); cb.web_search) cb.web_search(cb.user, utf8Text.c_str());
        else if (!vedryrun::Skip(u"web search \"" + textcodec::Utf8ToUtf16(utf8Text) + u"\"")) m_inner->SearchInBaidu_utf8(utf8Text);
    }
    void RefreshToolbarAreaIcon() override { m_inner->RefreshToolbarAreaIcon(); }
    CString GetCurrentWndText() override { return m_inner->GetCurrentWndText(); }
    bool IsPPtSlideShow() override { return m_inner->IsPPtSlideShow(); }
    std::string GetMac(MacForm form) override { return m_inner->GetMac(form); }
    std::string GetTime_2020_01_01() override { return m_inner->GetTime_2020_01_01(); }

    bool OpenUserSelf(CString& name, LogType& type, HICON& icon) override {
        return LookupIcon(&VeHostCallbacks::open_user_self, name, type, icon,
                          [&] { return m_inner->OpenUserSelf(name, type, icon); });
    }
    void openAi(const std::string& utf8Text) override {
        if (auto cb = vehost::Callbacks(); cb.open_ai) cb.open_ai(cb.user, utf8Text.c_str());
        else m_inner->openAi(utf8Text);
    }
    std::string GetCity() override {
        auto cb = vehost::Callbacks();
        if (!cb.city) return m_inner->GetCity();
        const char* city = cb.city(cb.user);
        return city ? textcodec::Utf8ToGbk(city) : std::string();
    }
    bool WordTemplate(CString& name) override {
        auto cb = vehost::Callbacks();
        return cb.word_template ? cb.word_template(cb.user, Utf8(name).c_str()) != 0 : m_inner->WordTemplate(name);
    }
    void NoteHttpRequest(const std::string& url, int result) override { m_inner->NoteHttpRequest(url, result); }
    void OnlineResult(const std::string& utf8Text, const std::string& utf8Scene, int status) override {
        if (auto cb = vehost::Callbacks(); cb.online_result) cb.online_result(cb.user, utf8Text.c_str(), utf8Scene.c_str(), status);
        else m_inner->OnlineResult(utf8Text, utf8Scene, status);
    }

private:
    // Reports each key of a SendInput a dry run leaves out and answers that all went.
    static UINT DryRunInput(UINT count, const INPUT* inputs, int size) {
        if (!inputs || size != static_cast<int>(sizeof(INPUT))) return 0;
        for (UINT i = 0; i < count; ++i) {
            const auto& key = inputs[i].ki;
            if (inputs[i].type == vewin::INPUT_KEYBOARD) LeftOut(u"SendInput", key.wVk, key.wScan, key.dwFlags);
            else LeftOut(u"SendInput", inputs[i].type);
        }
        return count;
    }

    static bool LogLine(const CString& text, LogType type, int channel) {
        auto cb = vehost::Callbacks();
        if (!cb.log) return false;
        cb.log(cb.user, Utf8(text).c_str(), type, channel);
        return true;
    }

    template <typename Fallback>
    static bool Lookup(decltype(VeHostCallbacks::open_website) VeHostCallbacks::*member, const CString& name,
                       LogType& type, Fallback fallback) {
        auto cb = vehost::Callbacks();
        if (!(cb.*member)) return fallback();
        int logType = type;
        bool done = (cb.*member)(cb.user, Utf8(name).c_str(), &logType) != 0;
        if (done) type = static_cast<LogType>(logType);
        return done;
    }

    template <typename Fallback>
    static bool LookupIcon(decltype(VeHostCallbacks::open_program) VeHostCallbacks::*member, const CString& name,
                           LogType& type, HICON& icon, Fallback fallback) {
        auto cb = vehost::Callbacks();
        if (!(cb.*member)) return fallback();
        int logType = type;
        void* hostIcon = icon;
        bool done = (cb.*member)(cb.user, Utf8(name).c_str(), &logType, &hostIcon) != 0;
        if (done) {
            type = static_cast<LogType>(logType);
            icon = hostIcon;
        }
        return done;
    }

    Backend* m_inner = nullptr;
};

// Function-local, so that a static initializer of another file (the Linux library's) may call in.
struct Installation {
    std::mutex mutex;
    HostBackend backend;
    bool installed = false;
    bool callbacks = false;
    bool dryRun = false;
    const char16_t* noDesktop = nullptr;
    Backend* previous = nullptr;
};
Installation& State() {
    static Installation state;
    return state;
}

// In front of the backend while the host has callbacks or a dry run is on.
void Update(Installation& s) {
    const bool wanted = s.callbacks || s.dryRun;
    if (wanted == s.installed) return;
    if (wanted) {
        s.backend.SetInner(&Current());
        s.previous = Install(&s.backend);
    } else if (&Current() == &s.backend) {
        Install(s.previous);
    }
    // When another backend went in over ours meanwhile, it stays: it is whoever installed it
    // to take out again.
    s.installed = wanted;
}

}  // namespace

void UseHostCallbacks(bool on) {
    Installation& s = State();
    std::lock_guard lock(s.mutex);
    s.callbacks = on;
    Update(s);
}

void UseDryRun(bool on) {
    Installation& s = State();
    std::lock_guard lock(s.mutex);
    s.dryRun = on;
    const char16_t* label = on ? u"dry run" : s.noDesktop;
    vedryrun::Set(label);
    s.dryRun = label != nullptr;
    Update(s);
}

void HaveNoDesktop(const char16_t* label) {
    {
        Installation& s = State();
        std::lock_guard lock(s.mutex);
        s.noDesktop = label;
    }
    UseDryRun(false);
}

}  // namespace vecapi
