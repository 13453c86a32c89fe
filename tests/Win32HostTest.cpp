// The win32 backend's own host services, run against the real (Wine) Windows: the host's
// configuration file, Start Menu shortcuts and uninstall entries the tests create, the
// foreground window, date, version, adapter address and volume.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "host/Environment.h"
#include "vescene/vescene.h"
#include "host/VeNet.h"
#include "host/VeOffice.h"
#include "platform/Backend.h"
#include "platform/win32/Win32Host.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::u16string U16(const fs::path& path) { return U16(path.wstring()); }
const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A cmd.exe line that starts, does nothing and ends.
const std::u16string kHarmless = u"cmd.exe /c exit 0";

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

const char* const kConfig = R"({
  "websites": { "内网": "http://intranet.example/", "Mail": "https://mail.example/", "bad": 7 },
  "commands": { "打开工作区": "cmd.exe /c exit 0" },
  "files": { "周报": "C:\\周报.docx" },
  "templates": { "简历": "C:\\templates\\简历.dotx" }
})";

struct TableCase {
    vewin32::HostTable table;
    std::u16string name;
    std::optional<std::u16string> value;
};

TEST_F(Win32HostTest, ConfigTablesAnswerByNameIgnoringCase) {
    WriteConfig(kConfig);
    const TableCase cases[] = {
        {vewin32::HostTable::Websites, u"内网", u"http://intranet.example/"},
        {vewin32::HostTable::Websites, u"mail", u"https://mail.example/"},
        {vewin32::HostTable::Websites, u"bad", std::nullopt},  // not a text
        {vewin32::HostTable::Websites, u"打开工作区", std::nullopt},
        {vewin32::HostTable::Commands, u"打开工作区", u"cmd.exe /c exit 0"},
        {vewin32::HostTable::Files, u"周报", u"C:\\周报.docx"},
        {vewin32::HostTable::Templates, u"简历", u"C:\\templates\\简历.dotx"},
        {vewin32::HostTable::Files, u"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vewin32::LookupHostTable(c.table, c.name), c.value) << std::string(c.name.begin(), c.name.end());
}

TEST_F(Win32HostTest, ConfigThatIsMissingOrBrokenAnswersNothing) {
    const std::string bad[] = {"", "{", "[1,2]", "{\"websites\": [\"内网\"]}", "\xEF\xBB\xBF{\"websites\":"};
    for (const auto& text : bad) {
        WriteConfig(text);
        EXPECT_EQ(vewin32::LookupHostTable(vewin32::HostTable::Websites, u"内网"), std::nullopt) << text;
    }
    vewin32::SetHostConfigPath(U16(m_dir / "missing.json"));
    EXPECT_EQ(vewin32::LookupHostTable(vewin32::HostTable::Websites, u"内网"), std::nullopt);
}

TEST_F(Win32HostTest, ConfigWithByteOrderMarkIsRead) {
    WriteConfig("\xEF\xBB\xBF{\"websites\": {\"内网\": \"http://intranet.example/\"}}");
    EXPECT_EQ(vewin32::LookupHostTable(vewin32::HostTable::Websites, u"内网"), u"http://intranet.example/");
}

TEST_F(Win32HostTest, ConfigLivesNextToTheModuleByDefault) {
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    fs::path expected = fs::path(exe).parent_path() / "VeScene.host.json";
    EXPECT_EQ(vewin32::HostConfigPath(), U16(expected));
}

TEST_F(Win32HostTest, UserCommandsRunFromTheConfigUnlessTheHostAnswers) {
    WriteConfig(kConfig);
    CString known(u"打开工作区"), unknown(u"打开别处");
    LogType type = LogType_Base;
    vewin::HICON icon = nullptr;
    EXPECT_TRUE(CVeAccount::Data()->OpenUserSelf(known, type, icon));
    EXPECT_FALSE(CVeAccount::Data()->OpenUserSelf(unknown, type, icon));
    std::string gbkCommand = "nothing";
    EXPECT_FALSE(CUtil::OpenCommand(gbkCommand));

    // A host with its own table decides alone, also when it knows nothing.
    VeHostCallbacks callbacks{};
    callbacks.size = sizeof callbacks;
    callbacks.open_user_self = [](void*, const char*, int*, void**) { return 0; };
    VeScene_SetHostCallbacks(&callbacks);
    EXPECT_FALSE(CVeAccount::Data()->OpenUserSelf(known, type, icon));
}

TEST_F(Win32HostTest, WordTemplateComesFromTheConfigAndNeverLeavesTheTemplatesFolder) {
    WriteConfig(kConfig);
    EXPECT_EQ(vewin32::FindWordTemplate(u"简历"), u"C:\\templates\\简历.dotx");
    for (const char16_t* name : {u"..\\..\\Windows\\win", u"C:\\x", u"a/b", u"", u"没有的模板"})
        EXPECT_EQ(vewin32::FindWordTemplate(name), std::nullopt);
}

// --- Start Menu shortcuts ---

std::u16string KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::u16string result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = U16(std::wstring(path));
    ::CoTaskMemFree(path);
    return result;
}

// Creates a shortcut to cmd.exe in the user's Start Menu; removes it at the end.
class StartMenuShortcut {
public:
    explicit StartMenuShortcut(const std::u16string& name) {
        fs::path folder = fs::path(std::wstring(W(KnownFolder(FOLDERID_Programs)))) / L"VeScene Test";
        std::error_code error;
        fs::create_directories(folder, error);
        m_path = folder / (std::wstring(W(name)) + L".lnk");

        HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IShellLinkW* link = nullptr;
        if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         reinterpret_cast<void**>(&link)))) {
            wchar_t system[MAX_PATH] = {};
            ::GetSystemDirectoryW(system, MAX_PATH);
            link->SetPath((std::wstring(system) + L"\\cmd.exe").c_str());
            link->SetArguments(L"/c exit 0");
            IPersistFile* file = nullptr;
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                m_created = SUCCEEDED(file->Save(m_path.c_str(), TRUE));
                file->Release();
            }
            link->Release();
        }
        if (SUCCEEDED(init)) ::CoUninitialize();
    }
    ~StartMenuShortcut() {
        std::error_code error;
        fs::remove_all(m_path.parent_path(), error);
    }
    bool Created() const { return m_created; }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    bool m_created = false;
};

TEST_F(Win32HostTest, ProgramStartsFromItsStartMenuShortcutBySpokenName) {
    StartMenuShortcut shortcut(u"VeScene 测试工具");
    ASSERT_TRUE(shortcut.Created());

    EXPECT_EQ(vewin32::FindStartMenuShortcut(u"vescene 测试工具"), U16(shortcut.Path()));
    EXPECT_EQ(vewin32::FindStartMenuShortcut(u"VeScene 测试"), std::nullopt);  // whole names only
    EXPECT_EQ(vewin32::FindStartMenuShortcut(u""), std::nullopt);

    CString name(u"VeScene 测试工具");
    LogType type = LogType_Base;
    vewin::HICON icon = nullptr;
    EXPECT_TRUE(CPreferences::Data()->OpenPcSoftwareLnk(name, type, icon));
    EXPECT_EQ(type, LogType_Application);

    CString other(u"没有这个程序");
    type = LogType_Base;
    EXPECT_FALSE(CPreferences::Data()->OpenPcSoftwareLnk(other, type, icon));
    EXPECT_EQ(type, LogType_Base);
}

// --- uninstall entries ---

const wchar_t* const kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Uninstall entries under HKCU for the length of a test.
class UninstallEntries {
public:
    void Add(const std::wstring& key, const std::wstring& displayName, const std::wstring& command,
             DWORD commandType = REG_SZ) {
        HKEY entry = nullptr;
        std::wstring path = std::wstring(kUninstallKey) + L"\\" + key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &entry,
                                    nullptr),
                  ERROR_SUCCESS);
        m_keys.push_back(path);
        Set(entry, L"DisplayName", displayName, REG_SZ);
        if (!command.empty()) Set(entry, L"UninstallString", command, commandType);
        ::RegCloseKey(entry);
    }
    ~UninstallEntries() {
        for (const auto& key : m_keys) ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }

private:
    static void Set(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type) {
        ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::vector<std::wstring> m_keys;
};

TEST_F(Win32HostTest, UninstallEntryIsFoundByDisplayName) {
    UninstallEntries entries;
    entries.Add(L"VeSceneTestA", L"VeScene Demo", L"cmd.exe /c exit 0");
    entries.Add(L"VeSceneTestB", L"VeScene Demo Tools 2.1", L"cmd.exe /c exit 1");
    entries.Add(L"VeSceneTestC", L"VeScene 无卸载", L"");
    entries.Add(L"VeSceneTestD", L"VeScene 变量", L"%SystemRoot%\\system32\\cmd.exe /c exit 0", REG_EXPAND_SZ);
    wchar_t root[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);

    struct Case {
        std::u16string name;
        std::optional<std::u16string> command;
    };
    const Case cases[] = {
        {u"vescene demo", u"cmd.exe /c exit 0"},         // exact, ignoring case
        {u"VeScene Demo T", u"cmd.exe /c exit 1"},       // the only one starting so
        {u"VeScene Dem", u"cmd.exe /c exit 0"},          // the shortest starting so
        {u"VeScene 无卸载", std::nullopt},               // no uninstall command
        {u"VeScene 变量", U16(std::wstring(root) + L"\\system32\\cmd.exe /c exit 0")},
        {u"Demo", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vewin32::FindUninstallCommand(c.name), c.command) << std::string(c.name.begin(), c.name.end());

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

// --- system facts ---

TEST_F(Win32HostTest, TodayIsTheLocalDateAsText) {
    SYSTEMTIME before, after;
    ::GetLocalTime(&before);
    std::string today = TyTime::GetTime_2020_01_01();
    ::GetLocalTime(&after);
    char expected[2][16];
    std::snprintf(expected[0], 16, "%04u-%02u-%02u", before.wYear, before.wMonth, before.wDay);
    std::snprintf(expected[1], 16, "%04u-%02u-%02u", after.wYear, after.wMonth, after.wDay);
    EXPECT_TRUE(today == expected[0] || today == expected[1]) << today;  // midnight may pass in between
}

TEST_F(Win32HostTest, CurrentWindowsIsNotTheOldGeneration) {
    EXPECT_EQ(CEnvironmentMonitor::OsVersion(), WindowsVersion_Current);
}

TEST_F(Win32HostTest, AdapterAddressIsTwelveHexDigitsOrEmpty) {
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
    struct Case {
        int level;
        bool mute;
        int expected;
    };
    const Case cases[] = {
        {50, false, 50}, {200, false, 60}, {-200, false, 50}, {95, false, 95}, {200, false, 100},
        {200, false, 100}, {3, false, 3}, {-200, false, 0}, {150, false, 100}, {-5, false, 0},
        {40, false, 40}, {1, true, 40}, {0, true, 40},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CEnvironmentMonitor::SetVolume(c.level, c.mute), c.expected) << c.level << (c.mute ? " mute" : "");
    CEnvironmentMonitor::SetVolume(original, false);
}

TEST_F(Win32HostTest, BrightnessAnswersALevelOrNothing) {
    int level = CEnvironmentMonitor::SetBrightness(128);
    if (level < 0) GTEST_SKIP() << "no monitor takes brightness commands";
    EXPECT_LE(level, 255);
    EXPECT_EQ(CEnvironmentMonitor::SetBrightness(400), 255);
}

}  // namespace

#endif  // _WIN32
