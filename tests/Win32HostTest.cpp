// The win32 backend's own host services, run against the real (Wine) Windows: the host's
// configuration file, Start Menu shortcuts and uninstall entries the tests create, the
// foreground window, date, version, adapter address and volume; the online request on a real
// Windows thread with WinHTTP; and the owners of Windows handles.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "host/Environment.h"
#include "host/VeNet.h"
#include "host/VeChar.h"
#include "host/VeOffice.h"
#include "platform/Backend.h"
#include "platform/HttpConfig.h"
#include "platform/ProgramStart.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32Support.h"
#include "scenes/shared/ApplicationActions.h"
#include "vescene/CVeSceneFactory.h"
#include "vescene/vescene.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <future>
#include <mutex>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Found = std::optional<std::u16string>;

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::u16string U16(const fs::path& path) { return U16(path.wstring()); }
std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// Every test runs on the win32 backend with no host callbacks, whatever ran before.
class Win32HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = vebackend::Install(nullptr);
        VeScene_SetHostCallbacks(nullptr);
        m_dir = fs::temp_directory_path() / ("vescene-host-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        vewin32::SetHostConfigPath(u"");
        VeScene_SetHostCallbacks(nullptr);
        vebackend::Install(m_previous);
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Writes the host's configuration file (UTF-8) and points the backend at it.
    void WriteConfig(const std::string& utf8) {
        fs::path file = m_dir / "VeScene.host.json";
        std::ofstream(file, std::ios::binary) << utf8;
        vewin32::SetHostConfigPath(U16(file));
    }

    fs::path m_dir;
    vebackend::Backend* m_previous = nullptr;
};

// --- the configuration file ---

const std::string kConfig = R"({
  "websites": { "内网": "http://intranet.example/", "Mail": "https://mail.example/", "bad": 7 },
  "commands": { "打开工作区": "cmd.exe /c exit 0" },
  "files": { "周报": "C:\\周报.docx" },
  "templates": { "简历": "C:\\templates\\简历.dotx" },
  "endpoints": { "online": "http://nlu.intranet.example/v1/", "songsearch": "https://songs.example/" }
})";

TEST_F(Win32HostTest, ConfigTablesAnswerByNameIgnoringCase) {
    WriteConfig("\xEF\xBB\xBF" + kConfig);  // a byte order mark is allowed
    using enum vewin32::HostTable;
    const struct { vewin32::HostTable table; std::u16string name; Found value; } cases[] = {
        {Websites, u"内网", u"http://intranet.example/"}, {Websites, u"mail", u"https://mail.example/"},
        {Websites, u"bad", std::nullopt},  // not a text
        {Websites, u"打开工作区", std::nullopt}, {Commands, u"打开工作区", u"cmd.exe /c exit 0"},
        {Files, u"周报", u"C:\\周报.docx"}, {Templates, u"简历", u"C:\\templates\\简历.dotx"},
        {Files, u"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(vewin32::LookupHostTable(c.table, c.name), c.value) << Narrow(c.name);
    // An endpoint the host did not set comes from the file; one already set keeps its value.
    EXPECT_EQ(vehttp::Endpoint("online"), "http://nlu.intranet.example/v1");
    EXPECT_NE(vehttp::Endpoint("songsearch"), "https://songs.example");
}

TEST_F(Win32HostTest, ConfigThatIsMissingOrBrokenAnswersNothing) {
    for (const std::string text : {"", "{", "[1,2]", "{\"websites\": [\"内网\"]}", "\xEF\xBB\xBF{\"websites\":"}) {
        WriteConfig(text);
        EXPECT_EQ(vewin32::LookupHostTable(vewin32::HostTable::Websites, u"内网"), std::nullopt) << text;
    }
    vewin32::SetHostConfigPath(U16(m_dir / "missing.json"));
    EXPECT_EQ(vewin32::LookupHostTable(vewin32::HostTable::Websites, u"内网"), std::nullopt);

    vewin32::SetHostConfigPath(u"");  // by default it lives next to the module
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    EXPECT_EQ(vewin32::HostConfigPath(), U16(fs::path(exe).parent_path() / "VeScene.host.json"));
}

TEST_F(Win32HostTest, UserCommandsAndTemplatesComeFromTheConfigUnlessTheHostAnswers) {
    WriteConfig(kConfig);
    CString known(u"打开工作区"), unknown(u"打开别处");
    LogType type = LogType_Base;
    vewin::HICON icon = nullptr;
    EXPECT_TRUE(CVeAccount::Data()->OpenUserSelf(known, type, icon));
    EXPECT_FALSE(CVeAccount::Data()->OpenUserSelf(unknown, type, icon));
    std::string gbkCommand = "nothing";
    EXPECT_FALSE(CUtil::OpenCommand(gbkCommand));

    // A template never leaves the templates folder.
    EXPECT_EQ(vewin32::FindWordTemplate(u"简历"), u"C:\\templates\\简历.dotx");
    for (const char16_t* name : {u"..\\..\\Windows\\win", u"C:\\x", u"a/b", u"", u"没有的模板"})
        EXPECT_EQ(vewin32::FindWordTemplate(name), std::nullopt);

    // A host with its own table decides alone, also when it knows nothing.
    VeHostCallbacks callbacks{};
    callbacks.size = sizeof callbacks;
    callbacks.open_user_self = [](void*, const char*, int*, void**) { return 0; };
    VeScene_SetHostCallbacks(&callbacks);
    EXPECT_FALSE(CVeAccount::Data()->OpenUserSelf(known, type, icon));
}

// --- Start Menu shortcuts ---

// A shortcut to cmd.exe in the user's Start Menu for the length of a test.
class StartMenuShortcut {
public:
    explicit StartMenuShortcut(const std::wstring& name) {
        wchar_t* programs = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Programs, 0, nullptr, &programs)))
            m_path = fs::path(programs) / L"VeScene Test" / (name + L".lnk");
        ::CoTaskMemFree(programs);
        std::error_code error;
        fs::create_directories(m_path.parent_path(), error);

        HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IShellLinkW* link = nullptr;
        IPersistFile* file = nullptr;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         reinterpret_cast<void**>(&link)))) {
            wchar_t system[MAX_PATH] = {};
            ::GetSystemDirectoryW(system, MAX_PATH);
            link->SetPath((std::wstring(system) + L"\\cmd.exe").c_str());
            link->SetArguments(L"/c exit 0");
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                m_created = !m_path.empty() && SUCCEEDED(file->Save(m_path.c_str(), TRUE));
                file->Release();
            }
            link->Release();
        }
        if (SUCCEEDED(init)) ::CoUninitialize();
    }
    ~StartMenuShortcut() {
        std::error_code error;
        if (!m_path.empty()) fs::remove_all(m_path.parent_path(), error);
    }
    fs::path m_path;
    bool m_created = false;
};

TEST_F(Win32HostTest, ProgramStartsFromItsStartMenuShortcutBySpokenName) {
    StartMenuShortcut shortcut(L"VeScene 测试工具");
    ASSERT_TRUE(shortcut.m_created);
    EXPECT_EQ(vewin32::FindStartMenuShortcut(u"vescene 测试工具"), U16(shortcut.m_path));
    for (const char16_t* name : {u"VeScene 测试", u""})  // whole names only
        EXPECT_EQ(vewin32::FindStartMenuShortcut(name), std::nullopt);

    CString name(u"VeScene 测试工具"), other(u"没有这个程序");
    LogType type = LogType_Base;
    vewin::HICON icon = nullptr;
    EXPECT_FALSE(CPreferences::Data()->OpenPcSoftwareLnk(other, type, icon));
    EXPECT_EQ(type, LogType_Base);
    EXPECT_TRUE(CPreferences::Data()->OpenPcSoftwareLnk(name, type, icon));
    EXPECT_EQ(type, LogType_Application);

    // The name Explorer shows counts too: a folder's desktop.ini names its shortcuts in the
    // user's language (Notepad.lnk is 记事本 on a Chinese Windows).
    const fs::path folder = shortcut.m_path.parent_path();
    {
        std::ofstream ini(folder / "desktop.ini", std::ios::binary);
        const std::wstring text = L"\xFEFF[LocalizedFileNames]\r\n" + shortcut.m_path.filename().wstring() +
                                  L"=VeScene 本地化名称\r\n";
        ini.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
    }
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_READONLY);  // Explorer reads desktop.ini only so
    SHFILEINFOW info{};
    ASSERT_TRUE(::SHGetFileInfoW(shortcut.m_path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME));
    const std::u16string shown = U16(std::wstring(info.szDisplayName));
    EXPECT_EQ(vewin32::FindStartMenuShortcut(shown), U16(shortcut.m_path)) << Narrow(shown);
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (shown != u"VeScene 本地化名称") std::printf("note: this shell shows no localised shortcut names\n");
}

// --- starting programs ---

// By full path, never from the current directory: a System32 tool through Sysnative in a 32-bit
// process on 64-bit Windows, a command line's program read as CreateProcess reads it.
TEST_F(Win32HostTest, ProgramsStartByFullPathAndSystemToolsFromTheNativeFolder) {
    BOOL wow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow64);
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::u16string cmd = vewin::ToolPath(vewin::ToolFolder::System, u"cmd.exe");
    EXPECT_EQ(cmd, U16(std::wstring(wow64 ? std::wstring(windows) + L"\\Sysnative" : std::wstring(system)) + L"\\cmd.exe"));
    EXPECT_NE(::GetFileAttributesW(reinterpret_cast<const wchar_t*>(cmd.c_str())), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(vewin::StartProgram(cmd, u"/c exit 0"));
    EXPECT_FALSE(vewin::StartProgram(vewin::ToolPath(vewin::ToolFolder::System, u"vescene-no-such-tool.exe")));

    // A program without a folder comes from the PATH; an unquoted path with spaces is read up to
    // the first run of words that names a file.
    const fs::path spaced = m_dir / "with space" / "tool.exe";
    fs::create_directories(spaced.parent_path());
    ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\cmd.exe").c_str(), spaced.c_str(), FALSE));
    EXPECT_TRUE(vewin32::RunCommandLine(u"cmd.exe /c exit 0"));
    EXPECT_TRUE(vewin32::RunCommandLine(U16(spaced) + u" /c exit 0"));
    EXPECT_TRUE(vewin32::RunCommandLine(u"\"" + U16(spaced) + u"\" /c exit 0"));
}

// --- uninstall entries ---

// Uninstall entries under HKCU for the length of a test.
struct UninstallEntries {
    void Add(const std::wstring& key, const std::wstring& displayName, const std::wstring& command,
             DWORD commandType = REG_SZ) {
        keys.push_back(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key);
        HKEY entry = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, keys.back().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &entry, nullptr),
                  ERROR_SUCCESS);
        const auto set = [&](const wchar_t* name, const std::wstring& text, DWORD type) {
            ::RegSetValueExW(entry, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        };
        set(L"DisplayName", displayName, REG_SZ);
        if (!command.empty()) set(L"UninstallString", command, commandType);
        ::RegCloseKey(entry);
    }
    ~UninstallEntries() {
        for (const auto& key : keys) ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }
    std::vector<std::wstring> keys;
};

TEST_F(Win32HostTest, UninstallEntryIsFoundByDisplayName) {
    UninstallEntries entries;
    entries.Add(L"VeSceneTestA", L"VeScene Demo", L"cmd.exe /c exit 0");
    entries.Add(L"VeSceneTestB", L"VeScene Demo Tools 2.1", L"cmd.exe /c exit 1");
    entries.Add(L"VeSceneTestC", L"VeScene 无卸载", L"");
    entries.Add(L"VeSceneTestD", L"VeScene 变量", L"%SystemRoot%\\system32\\cmd.exe /c exit 0", REG_EXPAND_SZ);
    wchar_t root[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);

    const struct { std::u16string name; Found command; } cases[] = {
        {u"vescene demo", u"cmd.exe /c exit 0"},    // exact, ignoring case
        {u"VeScene Demo T", u"cmd.exe /c exit 1"},  // the only one starting so
        {u"VeScene Dem", u"cmd.exe /c exit 0"},     // the shortest starting so
        {u"VeScene 无卸载", std::nullopt},          // no uninstall command
        {u"VeScene 变量", U16(std::wstring(root) + L"\\system32\\cmd.exe /c exit 0")},
        {u"Demo", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(vewin32::FindUninstallCommand(c.name), c.command) << Narrow(c.name);

    CString name(u"VeScene Demo"), unknown(u"VeScene 不存在的程序");
    LogType type = LogType_Base;
    EXPECT_TRUE(CPreferences::Data()->UninstSystemExe(name, type));  // runs the harmless entry
    EXPECT_FALSE(CPreferences::Data()->UninstSystemExe(unknown, type));
}

// --- the foreground window ---

// A visible top-level window of its own class, brought to the foreground.
class TestWindow {
public:
    TestWindow(const wchar_t* className, const wchar_t* title) : m_class(className) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                     nullptr, wc.hInstance, nullptr);
        if (!m_window) return;
        ::SetForegroundWindow(m_window);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    ~TestWindow() {
        if (m_window) ::DestroyWindow(m_window);
        ::UnregisterClassW(m_class, ::GetModuleHandleW(nullptr));
    }
    bool InForeground() const { return m_window && ::GetForegroundWindow() == m_window; }

private:
    const wchar_t* m_class;
    HWND m_window = nullptr;
};

TEST_F(Win32HostTest, ForegroundWindowTitleAndSlideShowCheck) {
    {
        TestWindow window(L"VeSceneTestWindow", L"VeScene 前台窗口 - 文档");
        if (!window.InForeground()) GTEST_SKIP() << "no window station to bring a window to the foreground";
        EXPECT_EQ(CurrentWnd::GetCurrentWndText().str(), u"VeScene 前台窗口 - 文档");
        EXPECT_FALSE(CurrentWnd::IsPPtSlideShow());
    }
    TestWindow show(L"screenClass", L"幻灯片放映");
    ASSERT_TRUE(show.InForeground());
    EXPECT_TRUE(CurrentWnd::IsPPtSlideShow());
}

// --- closing a program ---

struct TitleSearch {
    DWORD pid;
    std::wstring title;
};

BOOL CALLBACK TakeTitle(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<TitleSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t title[256] = {};
    if (owner != search.pid || !::IsWindowVisible(window) || ::GetWindowTextW(window, title, 256) == 0) return TRUE;
    search.title = title;
    return FALSE;
}

// The title of the process's first visible top-level window, waited for up to 10 s.
std::wstring WindowTitleOf(DWORD pid) {
    TitleSearch search{pid, {}};
    for (int tries = 0; tries < 100 && search.title.empty(); ++tries) {
        ::EnumWindows(TakeTitle, reinterpret_cast<LPARAM>(&search));
        if (search.title.empty()) ::Sleep(100);
    }
    return search.title;
}

TEST_F(Win32HostTest, CloseAsksARealWindowToCloseAndNeverTheLibrarysOwnProcess) {
    // A question would mean the program did not close: answered no, so nothing is ended.
    static std::atomic<int> asked{0};
    VeHostCallbacks callbacks{};
    callbacks.size = sizeof callbacks;
    callbacks.yes_or_no = [](void*, const char*) -> int { return ++asked, 0; };
    VeScene_SetHostCallbacks(&callbacks);
    LogType type = LogType_Application;
    vewin::HICON icon = nullptr;
    {
        TestWindow own(L"VeSceneOwnWindow", L"VeScene own window");
        EXPECT_EQ(RunApplicationAction(GBK("关闭"), "VeScene own window", type, icon, {}), ActionOutcome::Declined);
        EXPECT_TRUE(::FindWindowW(nullptr, L"VeScene own window"));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    wchar_t commandLine[] = L"notepad.exe";
    if (!::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        GTEST_SKIP() << "no notepad to close";
    ::WaitForInputIdle(child.hProcess, 10000);
    const std::wstring title = WindowTitleOf(child.dwProcessId);
    if (!title.empty()) {
        EXPECT_EQ(RunApplicationAction(GBK("关闭"), Narrow(U16(title)), type, icon, {}), ActionOutcome::CarriedOut);
        EXPECT_EQ(::WaitForSingleObject(child.hProcess, 0), WAIT_OBJECT_0);
        EXPECT_EQ(asked, 0);
    }
    if (::WaitForSingleObject(child.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(child.hProcess, 0);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    if (title.empty()) GTEST_SKIP() << "notepad showed no window";
}

// --- system facts ---

TEST_F(Win32HostTest, DateVersionAndAdapterAddress) {
    const auto localDate = [] {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        char text[16];
        std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
        return std::string(text);
    };
    const std::string before = localDate(), today = TyTime::GetTime_2020_01_01(), after = localDate();
    EXPECT_TRUE(today == before || today == after) << today;  // midnight may pass in between

    EXPECT_EQ(CEnvironmentMonitor::OsVersion(), WindowsVersion_Current);

    std::string mac = MacAddress::GetMac(MacForm_Plain);
    if (mac.empty()) GTEST_SKIP() << "no physical adapter";
    ASSERT_EQ(mac.size(), 12u);
    for (char c : mac) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << mac;
}

TEST_F(Win32HostTest, VolumeLevelsStepsAndMute) {
    int original = CEnvironmentMonitor::SetVolume(0, true);  // unmute, and learn the level
    if (original < 0) GTEST_SKIP() << "no audio endpoint";
    EXPECT_EQ(CEnvironmentMonitor::SetVolume(1, true), original);  // muting keeps the level
    EXPECT_EQ(CEnvironmentMonitor::SetVolume(0, true), original);
    if (CEnvironmentMonitor::SetVolume(50, false) < 0) GTEST_SKIP() << "the endpoint takes no levels";
    // 200 and -200 step up and down by ten; levels clamp and steps saturate at 0 and 100.
    const std::pair<int, int> cases[] = {{50, 50}, {200, 60}, {-200, 50}, {95, 95}, {200, 100},
                                         {3, 3},   {-200, 0}, {150, 100}, {-5, 0}};
    for (const auto& [level, expected] : cases) EXPECT_EQ(CEnvironmentMonitor::SetVolume(level, false), expected) << level;
    CEnvironmentMonitor::SetVolume(original, false);
}

TEST_F(Win32HostTest, BrightnessAnswersALevelOrNothing) {
    const int before = CEnvironmentMonitor::GetBrightness();
    EXPECT_GE(before, -1);
    EXPECT_LE(before, 255);
    int level = CEnvironmentMonitor::SetBrightness(128);
    if (level < 0) GTEST_SKIP() << "no monitor takes brightness commands";
    EXPECT_LE(level, 255);
    EXPECT_EQ(CEnvironmentMonitor::SetBrightness(400), 255);
    EXPECT_EQ(CEnvironmentMonitor::GetBrightness(), 255);
    CEnvironmentMonitor::SetBrightness(before < 0 ? level : before);
}

// --- the online request on a real thread ---

// What the host saw of the worker thread: the answer window's texts, in order.
struct SeenOnline {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> answers, opened;

    static void OnAnswer(void* user, const char* text, int) {
        auto* seen = static_cast<SeenOnline*>(user);
        std::lock_guard lock(seen->mutex);
        if (text) seen->answers.push_back(text);
        seen->changed.notify_all();
    }
    static void OnOpen(void* user, const char* target) {
        auto* seen = static_cast<SeenOnline*>(user);
        std::lock_guard lock(seen->mutex);
        seen->opened.push_back(target);
    }
    bool WaitForAnswer() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] { return !answers.empty(); });
    }
};

// The thread procedure and the WinHTTP status callback run as Windows calls them (WINAPI and
// CALLBACK: stdcall on i686): the reply's scene runs on the thread, the thread gives its handle
// back, and Release stops a request in flight.
TEST_F(Win32HostTest, TheOnlineRequestRunsOnAWindowsThreadWithWinHttp) {
    SeenOnline seen;
    VeHostCallbacks callbacks{};
    callbacks.size = sizeof callbacks;
    callbacks.user = &seen;
    callbacks.interactive_set = &SeenOnline::OnAnswer;
    callbacks.shell_execute = &SeenOnline::OnOpen;  // no browser opens under the tests
    VeScene_SetHostCallbacks(&callbacks);
    const std::string unhandled = R"({"text":"讲个故事","rc":4})";

    std::promise<void> arrived, letGo;
    std::shared_future<void> letGoShared = letGo.get_future().share();
    std::atomic<bool> holdSecond{false};
    vetest::LoopbackServer server([&](const std::string&) {
        if (!holdSecond) return vetest::Http(200, R"({"scene":"chat","message":"从前有座山"})");
        arrived.set_value();
        letGoShared.wait_for(std::chrono::seconds(10));
        return vetest::Http(200, R"({"scene":"chat","message":"太晚了"})");
    });
    ASSERT_TRUE(vehttp::SetEndpoint("online", server.Url("")));
    struct Restore {
        std::promise<void>& letGo;
        bool let = false;
        ~Restore() {
            if (!let) letGo.set_value();
            vehttp::SetEndpoint("online", "http://127.0.0.1:9");  // the tests' closed port
        }
    } restore{letGo};
    {
        CVeSceneFactory factory;
        EXPECT_EQ(factory.ProcessM(unhandled.c_str(), IatAPI_Default, false), ProcessUnhandled);
        ASSERT_TRUE(seen.WaitForAnswer());
    }
    {
        std::lock_guard lock(seen.mutex);
        EXPECT_EQ(seen.answers, std::vector<std::string>{"从前有座山"});
    }
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(server.Requests()[0].starts_with("GET /semantic/comprehend?text=%E8%AE%B2%E4%B8%AA%E6%95%85%E4%BA%8B&deviceno="))
        << server.Requests()[0];

    // The thread gives its handle back when it ends (one request at a time until then), so a later
    // utterance goes online again. Release then aborts that request in flight, and the thread ends
    // without carrying it out.
    holdSecond = true;
    std::future<void> second = arrived.get_future();
    {
        CVeSceneFactory factory;
        for (int i = 0; i < 100 && second.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready; ++i) {
            factory.ProcessM(unhandled.c_str(), IatAPI_Default, false);
            second.wait_for(std::chrono::milliseconds(100));
        }
    }
    ASSERT_EQ(second.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const auto started = std::chrono::steady_clock::now();
    CVeSceneFactory::Release();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    letGo.set_value();
    restore.let = true;
    std::lock_guard lock(seen.mutex);
    EXPECT_EQ(seen.answers, std::vector<std::string>{"从前有座山"});
    EXPECT_TRUE(seen.opened.empty());
}

// A host as MFC writes one: its callbacks, whatever thread they come on, are marshalled to its
// window with SendMessage and handled on its UI thread, which is also the thread that calls the
// entries. An entry that abandons a request waits for it; were that wait deaf to sent messages,
// the request's last callback and the entry would wait for each other for the whole wait.
class MarshallingHost {
public:
    MarshallingHost() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &MarshallingHost::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VeSceneMarshallingHost";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MarshallingHost() {
        ::DestroyWindow(m_window);
        ::UnregisterClassW(L"VeSceneMarshallingHost", ::GetModuleHandleW(nullptr));
    }
    static void VESCENE_CALL OnlineResult(void* user, const char*, const char*, int status) {
        auto* host = static_cast<MarshallingHost*>(user);
        ::SendMessageW(host->m_window, WM_APP, static_cast<WPARAM>(status), 0);
    }
    std::vector<int> statuses;  // on the UI thread only
    HWND m_window = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* host = reinterpret_cast<MarshallingHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_APP && host) {
            host->statuses.push_back(static_cast<int>(wParam));
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

TEST_F(Win32HostTest, AHostThatMarshalsWithSendMessageIsNeverBlockedByAnEntrysWait) {
    MarshallingHost host;
    ASSERT_TRUE(host.m_window);
    VeHostCallbacks callbacks{};
    callbacks.size = sizeof callbacks;
    callbacks.user = &host;
    callbacks.online_result = &MarshallingHost::OnlineResult;
    callbacks.shell_execute = [](void*, const char*) {};  // no browser opens under the tests
    VeScene_SetHostCallbacks(&callbacks);

    std::promise<void> arrived;
    std::atomic<int> requests{0};
    vetest::LoopbackServer server([&](const std::string&) {
        if (requests++ == 0) {
            arrived.set_value();
            std::this_thread::sleep_for(std::chrono::seconds(5));  // the first never answers in time
        }
        return vetest::Http(200, R"({"scene":"chat","message":"好"})");
    });
    ASSERT_TRUE(vehttp::SetEndpoint("online", server.Url("")));
    struct Restore {
        ~Restore() { vehttp::SetEndpoint("online", "http://127.0.0.1:9"); }
    } restore;
    const std::string unhandled = R"({"text":"讲个故事","rc":4})";
    CVeSceneFactory factory;
    factory.ProcessM(unhandled.c_str(), IatAPI_Default, false);
    ASSERT_EQ(arrived.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);

    // The next utterance abandons the first request: its outcome comes, marshalled, while the
    // entry waits, and the entry goes on at once.
    const auto started = std::chrono::steady_clock::now();
    factory.ProcessM(unhandled.c_str(), IatAPI_Default, false);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.front(), VESCENE_ONLINE_ABANDONED);
    CVeSceneFactory::Release();
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

// --- unloading the library ---

#ifdef VESCENE_DLL
// Release never kills the request's thread: one still inside a host callback when Release gives
// up waiting finishes by itself, and the library stays loaded until it has, so unloading right
// after Release never pulls code from under it (nor from under a late WinHTTP notice).
TEST_F(Win32HostTest, TheLibraryStaysLoadedUntilItsLastRequestHasEnded) {
    std::string path = VESCENE_DLL;
    for (char& c : path)
        if (c == '/') c = '\\';
    HMODULE dll = ::LoadLibraryA(path.c_str());
    ASSERT_TRUE(dll) << path;
    const auto api = [&](const char* name) { return reinterpret_cast<void*>(::GetProcAddress(dll, name)); };
    auto setCallbacks = reinterpret_cast<int(VESCENE_CALL*)(const VeHostCallbacks*)>(api("VeScene_SetHostCallbacks"));
    auto setEndpoint = reinterpret_cast<int(VESCENE_CALL*)(const char*, const char*)>(api("VeScene_SetEndpoint"));
    auto create = reinterpret_cast<VeSceneHandle*(VESCENE_CALL*)()>(api("VeScene_Create"));
    auto processM = reinterpret_cast<int(VESCENE_CALL*)(VeSceneHandle*, const char*, int, int)>(api("VeScene_ProcessM"));
    auto destroy = reinterpret_cast<void(VESCENE_CALL*)(VeSceneHandle*)>(api("VeScene_Destroy"));
    auto release = reinterpret_cast<void(VESCENE_CALL*)()>(api("VeScene_Release"));
    ASSERT_TRUE(setCallbacks && setEndpoint && create && processM && destroy && release);

    // The reply's answer reaches a host callback that takes 2.5 s to return.
    static std::promise<void>* entered;
    std::promise<void> inCallback;
    entered = &inCallback;
    VeHostCallbacks callbacks{};
    callbacks.size = sizeof callbacks;
    callbacks.interactive_set = [](void*, const char* text, int) {
        if (!text) return;
        entered->set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    };
    vetest::LoopbackServer server([](const std::string&) { return vetest::Http(200, R"({"scene":"chat","message":"好"})"); });
    // The host's side runs on a thread of its own that ends before the checks: mingw's runtime
    // keeps a library loaded while a thread that used its thread-local objects lives.
    std::thread([&] {
        ASSERT_EQ(setCallbacks(&callbacks), 1);
        ASSERT_EQ(setEndpoint("online", server.Url("").c_str()), 1);
        VeSceneHandle* scene = create();
        processM(scene, R"({"text":"讲个故事","rc":4})", 0, 0);
        ASSERT_EQ(inCallback.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
        const auto started = std::chrono::steady_clock::now();
        release();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));  // waited, bounded
        destroy(scene);
        EXPECT_TRUE(::FreeLibrary(dll));
    }).join();
    HMODULE still = nullptr;
    EXPECT_TRUE(::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(), &still));
    // Once the callback has returned and the request's thread has ended, the library goes.
    bool unloaded = false;
    for (int i = 0; i < 100 && !unloaded; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        unloaded = !::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(), &still);
    }
    EXPECT_TRUE(unloaded);
}
#endif

// --- the owners of Windows handles (core/UniqueAny.h with the kinds of Win32Support.h) ---

TEST(Win32OwnersTest, FailedFilesPutReleaseAndVariants) {
    // Both of CreateFileW's "no file" values own nothing.
    for (HANDLE none : {HANDLE(nullptr), INVALID_HANDLE_VALUE}) EXPECT_FALSE(vewin32::UniqueFile(none));
    EXPECT_FALSE(vewin32::UniqueFile(::CreateFileW(L"C:\\vescene-missing\\none.json", GENERIC_READ, 0, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));

    // put() closes the old handle before it hands out the storage; release() closes nothing.
    DWORD flags = 0;
    vewin32::UniqueEvent event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE first = event.get();
    ASSERT_TRUE(::GetHandleInformation(first, &flags));
    HANDLE* storage = event.put();
    EXPECT_EQ(*storage, nullptr);
    EXPECT_FALSE(::GetHandleInformation(first, &flags));
    *storage = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE second = event.release();
    EXPECT_FALSE(event);
    EXPECT_TRUE(::GetHandleInformation(second, &flags));
    ::CloseHandle(second);

    // A moved VARIANT leaves VT_EMPTY behind and its text goes with it.
    vewin32::UniqueVariant text;
    text.put()->vt = VT_BSTR;
    text.addressof()->bstrVal = ::SysAllocString(L"VeScene");
    vewin32::UniqueVariant moved(std::move(text));
    EXPECT_EQ(text.get().vt, VT_EMPTY);
    EXPECT_FALSE(text);
    ASSERT_EQ(moved.get().vt, VT_BSTR);
    EXPECT_STREQ(moved.get().bstrVal, L"VeScene");
}

}  // namespace

#endif  // _WIN32
