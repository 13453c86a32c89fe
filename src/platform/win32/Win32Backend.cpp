// The real desktop: Windows calls pass straight through; host services go to the callbacks
// the embedding host installed, or, where there is none, to what Windows offers by itself
// (Win32Host.h).
// Our declarations come first: <windows.h> defines macros with the same names.
#include "platform/Backend.h"
#include "platform/Diagnostic.h"
#include "platform/TextCodec.h"
#include "platform/Url.h"
#include "platform/win32/Win32Host.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/Win32Support.h"

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// The seam's thread procedure is Windows' own, calling convention included (stdcall on i686),
// so a procedure declared without WINAPI does not compile rather than corrupting the stack.
static_assert(std::is_same_v<vewin::LPTHREAD_START_ROUTINE, ::LPTHREAD_START_ROUTINE>, "thread procedure");
static_assert(sizeof(vewin::LPARAM) == sizeof(::LPARAM) && sizeof(vewin::WPARAM) == sizeof(::WPARAM), "message words");
static_assert(sizeof(vewin::SHELLEXECUTEINFOW) == sizeof(::SHELLEXECUTEINFOW) &&
                  offsetof(vewin::SHELLEXECUTEINFOW, hInstApp) == offsetof(::SHELLEXECUTEINFOW, hInstApp) &&
                  offsetof(vewin::SHELLEXECUTEINFOW, hProcess) == offsetof(::SHELLEXECUTEINFOW, hProcess),
              "SHELLEXECUTEINFOW layout");

namespace vebackend {
namespace {

const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// The seam's window procedure takes our HWND; Windows calls this one, which passes it on.
struct EnumCall {
    vewin::WNDENUMPROC callback;
    vewin::LPARAM param;
};
::BOOL CALLBACK EnumTrampoline(::HWND window, ::LPARAM self) {
    const EnumCall& call = *reinterpret_cast<const EnumCall*>(self);
    return call.callback(window, call.param);
}

struct ThreadStart {
    vewin::LPTHREAD_START_ROUTINE start;
    void* param;
    HMODULE library;
};

DWORD WINAPI RunThread(void* param) {
    const ThreadStart run = *std::unique_ptr<ThreadStart>(static_cast<ThreadStart*>(param));
    const DWORD result = run.start(run.param);
    ::FreeLibraryAndExitThread(run.library, result);
}

class Win32Backend final : public Backend {
public:
    void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) override { ::keybd_event(vk, scan, flags, extra); }
    UINT MapVirtualKeyW(UINT code, UINT mapType) override { return ::MapVirtualKeyW(code, mapType); }
    UINT SendInput(UINT count, const vewin::INPUT* inputs, int size) override {
        static_assert(sizeof(vewin::INPUT) == sizeof(::INPUT), "INPUT layout");
        return ::SendInput(count, reinterpret_cast<::INPUT*>(const_cast<vewin::INPUT*>(inputs)), size);
    }
    vewin::SHORT VkKeyScanW(char16_t ch) override { return ::VkKeyScanW(static_cast<wchar_t>(ch)); }
    vewin::SHORT GetKeyState(int vk) override { return ::GetKeyState(vk); }
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) override {
        ::mouse_event(flags, dx, dy, data, extra);
    }
    HWND FindWindowW(const char16_t* className, const char16_t* title) override {
        return ::FindWindowW(W(className), W(title));
    }
    DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override {
        DWORD pid = 0;
        DWORD thread = ::GetWindowThreadProcessId(static_cast<::HWND>(window), &pid);
        if (processId) *processId = pid;
        return thread;
    }
    HWND GetDesktopWindow() override { return ::GetDesktopWindow(); }
    HWND GetShellWindow() override { return ::GetShellWindow(); }
    BOOL EnumWindows(vewin::WNDENUMPROC callback, vewin::LPARAM param) override {
        EnumCall call{callback, param};
        return ::EnumWindows(EnumTrampoline, reinterpret_cast<::LPARAM>(&call));
    }
    BOOL PostMessageW(HWND window, UINT message, vewin::WPARAM wParam, vewin::LPARAM lParam) override {
        return ::PostMessageW(static_cast<::HWND>(window), message, wParam, lParam);
    }
    HWND GetForegroundWindow() override { return ::GetForegroundWindow(); }
    std::u16string GetClassNameW(HWND window) override {
        wchar_t name[257] = {};  // class names are at most 256 characters
        const int length = window ? ::GetClassNameW(static_cast<::HWND>(window), name, 257) : 0;
        return std::u16string(name, name + (length > 0 ? length : 0));
    }
    BOOL IsWindowVisible(HWND window) override { return ::IsWindowVisible(static_cast<::HWND>(window)); }
    HWND GetWindow(HWND window, UINT command) override { return ::GetWindow(static_cast<::HWND>(window), command); }
    BOOL ExitWindowsEx(UINT flags, DWORD reason) override { return ::ExitWindowsEx(flags, reason); }
    BOOL LockWorkStation() override { return ::LockWorkStation(); }

    // The thread holds a reference on this library until its very end (FreeLibraryAndExitThread):
    // a host that unloads the library while a request still finishes leaves it loaded until then.
    HANDLE CreateThread(vewin::LPTHREAD_START_ROUTINE start, void* param, DWORD* threadId) override {
        auto run = std::make_unique<ThreadStart>(ThreadStart{start, param, nullptr});
        if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunThread),
                                  &run->library))
            return nullptr;
        DWORD id = 0;
        HANDLE h = ::CreateThread(nullptr, 0, RunThread, run.get(), 0, &id);
        if (!h) {
            ::FreeLibrary(run->library);
            return nullptr;
        }
        static_cast<void>(run.release());  // the thread's now
        if (threadId) *threadId = id;
        return h;
    }
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
        return ::WaitForSingleObject(handle, milliseconds);
    }
    DWORD MsgWaitForSingleObject(HANDLE handle, DWORD milliseconds) override {
        const ULONGLONG start = ::GetTickCount64();
        for (;;) {
            DWORD left = INFINITE;
            if (milliseconds != INFINITE) {
                const ULONGLONG spent = ::GetTickCount64() - start;
                left = spent >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - spent);
            }
            const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &handle, left, QS_SENDMESSAGE, 0);
            if (result != WAIT_OBJECT_0 + 1) return result;
            // Peeking dispatches the messages sent to this thread; nothing posted is taken.
            MSG message;
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            if (left == 0) return ::WaitForSingleObject(handle, 0);
        }
    }
    // The seam itself: vewin::ScopedHandle (the owner of the handles the library opens through
    // the seam) closes here.
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
    DWORD GetLastError() override { return ::GetLastError(); }
    BOOL CreateProcessW(const char16_t* application, const char16_t* commandLine) override {
        std::wstring line = commandLine ? std::wstring(W(commandLine)) : std::wstring();  // Windows may write into it
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(W(application), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return FALSE;
        vewin32::UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
        return TRUE;
    }
    std::u16string QueryFullProcessImageNameW(HANDLE process) override { return vewin32::ProcessImage(process); }
    DWORD GetProcessIntegrityLevel(DWORD processId) override { return vewin32::IntegrityLevel(processId); }
    HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) override {
        return ::OpenProcess(access, inherit, processId);
    }
    BOOL TerminateProcess(HANDLE process, UINT exitCode) override { return ::TerminateProcess(process, exitCode); }
    BOOL IsWow64Process(HANDLE process, BOOL* wow64) override { return ::IsWow64Process(process, wow64); }
    HANDLE GetCurrentProcess() override { return ::GetCurrentProcess(); }
    DWORD GetCurrentProcessId() override { return ::GetCurrentProcessId(); }
    std::u16string GetSystemDirectoryW() override { return Directory(::GetSystemDirectoryW); }
    std::u16string GetWindowsDirectoryW() override { return Directory(::GetWindowsDirectoryW); }
    void OutputDebugStringW(const char16_t* text) override { ::OutputDebugStringW(W(text)); }
    HINSTANCE ShellExecuteW(HWND window, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                            const char16_t* directory, int show) override {
        return vewin32::ShellStart(static_cast<::HWND>(window), W(verb), W(file), W(parameters), W(directory), show);
    }
    BOOL ShellExecuteExW(vewin::SHELLEXECUTEINFOW* info) override {
        return vewin32::ShellStartEx(reinterpret_cast<::SHELLEXECUTEINFOW*>(info));
    }

    // The host's windows: only its callbacks (the layer the C API installs in front of this
    // backend) can show anything there.
    void Tray(const CString&, VeTrayParams) override {}
    void Tray_2(const CString&) override {}
    void InteractiveSet(const char16_t*, VeInteractiveParams) override {}
    void Log(const CString&, LogType) override {}
    void Log_2(const CString&, LogType) override {}
    void Log_HICON(const CString&, HICON) override {}
    void Log_nolt(const CString&, LogType) override {}
    void DebugLog(const CString&, LogType) override {}
    void MainMenu(MainMenuType) override {}
    bool YesOrNot(const CString& question) override {
        return ::MessageBoxW(nullptr, W(question.GetString()), L"", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES;
    }
    void VeShellExecuteA(const std::string& gbkTarget) override {
        std::u16string target = textcodec::GbkToUtf16(gbkTarget);
        vewin32::ShellStart(nullptr, L"open", W(target.c_str()), nullptr, nullptr, SW_SHOWNORMAL);
    }

    bool OpenWebsite(CString& name, LogType& type) override {
        return OwnWebsite(name, type);
    }
    bool OpenWebsite_Grm(CString& name, LogType& type) override {
        return OwnWebsite(name, type);
    }
    bool OpenPcSoftwareLnk(CString& name, LogType& type, HICON& icon) override {
        auto shortcut = vewin32::FindStartMenuShortcut(name.str());
        if (!shortcut || !vewin32::OpenFile(*shortcut)) return false;
        type = LogType_Application;
        icon = vewin32::FileIcon(*shortcut);
        return true;
    }
    bool VeOpenUserFiles(const CString& name, LogType& type, HICON& icon) override {
        auto file = vewin32::LookupHostTable(vewin32::HostTable::Files, name.str());
        if (!file || !vewin32::OpenFile(*file)) return false;
        icon = vewin32::FileIcon(*file);
        return true;
    }
    bool UninstSystemExe(CString& name, LogType& type) override {
        auto command = vewin32::FindUninstallCommand(name.str());
        return command && vewin32::RunCommandLine(*command);
    }
    void SetNormal(bool) override {}
    int GetConfidenceLevel(const std::string&) override { return -1; }

    int SetVolume(int level, bool muteSwitch) override { return vewin32::SetVolume(level, muteSwitch); }
    int SetBrightness(int level) override { return vewin32::SetBrightness(level); }
    int GetBrightness() override { return vewin32::GetBrightness(); }
    bool CheckNet(bool) override { return vewin32::NetworkUp(); }
    WindowsVersion OsVersion() override {
        return vewin32::IsOldWindows() ? WindowsVersion_Old : WindowsVersion_Current;
    }
    void ElevatePermission() override { vewin32::EnableShutdownPrivilege(); }

    bool OpenCommand(std::string& gbkCommand) override {
        return RunUserCommand(textcodec::GbkToUtf16(gbkCommand));
    }
    void SearchInBaidu_unicode(const std::string& gbkText) override {
        SearchInBaidu_utf8(textcodec::GbkToUtf8(gbkText));
    }
    void SearchInBaidu_utf8(const std::string& utf8Text) override;
    void RefreshToolbarAreaIcon() override {}
    CString GetCurrentWndText() override { return CString(vewin32::ForegroundTitle()); }
    bool IsPPtSlideShow() override { return vewin32::SlideShowInForeground(); }
    std::string GetMac(MacForm) override { return vewin32::MacAddress(); }
    std::string GetTime_2020_01_01() override { return vewin32::Today(); }

    bool OpenUserSelf(CString& name, LogType& type, HICON& icon) override {
        return RunUserCommand(name.str());
    }
    void openAi(const std::string&) override {}
    std::string GetCity() override { return {}; }
    bool WordTemplate(CString& name) override {
        auto path = vewin32::FindWordTemplate(name.str());
        return path && vewin32::OpenFile(*path, L"new");  // "new" makes a document from the template
    }

private:
    template <typename Fn>
    static std::u16string Directory(Fn fn) {
        UINT size = fn(nullptr, 0);
        std::wstring path(size, L'\0');
        UINT written = size ? fn(path.data(), size) : 0;
        path.resize(written < size ? written : 0);
        return std::u16string(path.begin(), path.end());
    }

    static bool OwnWebsite(const CString& name, LogType& type) {
        auto row = vewin32::LookupHostTable(vewin32::HostTable::Websites, name.str());
        if (!row) return false;
        // The shell would run a row that is no web address.
        auto url = weburl::ParseWebUrl(textcodec::Utf16ToUtf8(*row));
        if (!url) {
            vediag::Warn(u"refused to open a configured site that is no web address: " + *row);
            return false;
        }
        if (!vewin32::OpenFile(textcodec::Utf8ToUtf16(*url))) return false;
        type = LogType_Website;
        return true;
    }

    static bool RunUserCommand(const std::u16string& phrase) {
        auto command = vewin32::LookupHostTable(vewin32::HostTable::Commands, phrase);
        return command && vewin32::RunCommandLine(*command);
    }
};

void Win32Backend::SearchInBaidu_utf8(const std::string& utf8Text) {
    const std::string url = weburl::Url("https://www.baidu.com/s?wd=").TextUtf8(utf8Text);
    std::u16string wide = textcodec::Utf8ToUtf16(url);
    vewin32::ShellStart(nullptr, L"open", W(wide.c_str()), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

Backend& DefaultBackend() {
    static Win32Backend backend;
    return backend;
}

}  // namespace vebackend
