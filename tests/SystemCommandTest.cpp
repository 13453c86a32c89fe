// The system command table: a spoken name of a Windows tool, desktop, editing, volume or power
// command, observed as the calls it makes after the host's own programs and sites.
#include "TestSupport.h"
#include "local/SystemCommand.h"
#include "platform/sim/ScanCodes.h"

using namespace vetest;

namespace {

enum : int { Shift = 16, Ctrl = 17, Alt = 18, Space = 32, F3 = 114, F4 = 115, F10 = 121, LAlt = 164 };
constexpr WindowsVersion Old = WindowsVersion_Old, Now = WindowsVersion_Current;

Lines Down(int vk) { return KeyCalls(vk, static_cast<int>(vesim::ScanCodeOf(vk)), false); }
Lines Up(int vk) { return KeyCalls(vk, static_cast<int>(vesim::ScanCodeOf(vk)), true); }
// Before the first key, the foreground window's integrity level (none in front here).
const Lines kInputCheck = {"GetForegroundWindow() -> 0"};
Lines Keys(const std::vector<std::pair<int, bool>>& keys) {
    Lines out = kInputCheck;
    for (auto [vk, up] : keys) out = Concat(out, up ? Up(vk) : Down(vk));
    return out;
}
Lines Chord(std::vector<int> keys) {
    Lines out = kInputCheck;
    for (int k : keys) out = Concat(out, Down(k));
    for (int k : keys) out = Concat(out, Up(k));
    return out;
}
// A program started by full path: CreateProcessW, and on error 740 the shell (the elevation prompt).
Lines Started(const std::string& path, const std::string& arguments = "", vewin::DWORD error = 0) {
    Lines out = {"CreateProcessW(" + Q(path) + ", " + Q("\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments)) +
                 ") -> " + (error ? "0" : "1")};
    if (error) out.push_back("GetLastError() -> " + std::to_string(error));
    if (error == vewin::ERROR_ELEVATION_REQUIRED)
        out.push_back("ShellExecuteExW(256, null, " + Q(path) + ", " + (arguments.empty() ? "null" : Q(arguments)) +
                      ", null, 1) -> 1");
    return out;
}
Lines SystemTool(const std::string& file, const std::string& arguments = "", vewin::DWORD error = 0) {
    return Concat({"GetCurrentProcess() -> -1", "IsWow64Process(-1) -> false",
                   R"(GetSystemDirectoryW() -> "C:\\Windows\\system32")"},
                  Started("C:\\Windows\\system32\\" + file, arguments, error));
}
Lines WindowsTool(const std::string& file, const std::string& arguments = "", vewin::DWORD error = 0) {
    return Concat({R"(GetWindowsDirectoryW() -> "C:\\Windows")"}, Started("C:\\Windows\\" + file, arguments, error));
}

struct Case {
    const char* name;
    Lines actions = {};  // the calls after the host lookups and the version query
    WindowsVersion version = Now;
    std::map<std::string, vewin::DWORD> startErrors = {};
};

class SystemCommandTest : public SimTest {
protected:
    LogType logType = LogType_Base;
    vewin::HICON icon = nullptr;

    Lines Actions(const Case& c, bool handled = true) {
        SCOPED_TRACE(std::string(c.name) + " version " + std::to_string(c.version));
        sim->ClearTrace();
        sim->State().windowsVersion = c.version;
        sim->State().startErrors = c.startErrors;
        sim->State().volume = 50;
        logType = LogType_Base;
        EXPECT_EQ(RunSystemCommand(Wide(c.name), logType, icon), handled);
        EXPECT_TRUE(sim->HeldKeys().empty());
        Lines trace = Readable(Trace());
        const Lines lookups = {"CDataFactory::OpenPcSoftwareLnk(" + Q(c.name) + ") -> false",
                               "CDataFactory::OpenWebsite_Grm(" + Q(c.name) + ") -> false",
                               "CEnvironmentMonitor::OsVersion() -> " + std::to_string(c.version)};
        EXPECT_TRUE(trace.size() >= 3 && Lines(trace.begin(), trace.begin() + 3) == lookups);
        return trace.size() < 3 ? trace : Lines(trace.begin() + 3, trace.end());
    }
    void Check(const std::vector<Case>& cases, bool handled = true) {
        for (const auto& c : cases) EXPECT_EQ(Actions(c, handled), c.actions) << c.name;
    }
};

TEST_F(SystemCommandTest, KeyProgramAndVolumeRows) {
    Check({
        {"打开搜索", Chord({F3})}, {"关闭", Keys({{Alt, false}, {F4, false}, {F4, true}, {Alt, true}})},
        {"关闭网页", Seq(Keys({{Ctrl, false}, {'W', false}}), Wait(10), Up(Ctrl), Up('W'))},
        {"最小化", Chord({LAlt, Space, 'N'})},
        {"打开", Chord({Shift, F10, 'O'})}, {"打开中图标", Chord({Shift, F10, 'V', 'M'})},
        {"自动排列", Chord({Shift, F10, 'V', 'A'})},
        {"自动排列", Concat(kInputCheck, Seq(Lines{"mouse_event(24, 0, 0, 0, 0)"}, Down('I'), Up('I'), Down('N'), Up('N'))), Old},
        // The Windows key and Delete are of the extended set: KEYEVENTF_EXTENDEDKEY both ways.
        {"开始菜单", Chord({0x5B})}, {"删除", Chord({0x2E})}, {"显示桌面", Chord({0x5B, 'D'})},
        {"锁定计算机", {"LockWorkStation() -> 1"}}, {"媒体播放器", {R"(VeUI::VeShellExecuteA("mplayer2.exe"))"}},
        // By full path, never searched for; what needs elevation through the shell (the prompt).
        {"打开记事本", SystemTool("notepad.exe")},
        {"任务管理器", SystemTool("taskmgr.exe", "", 740), Now, {{"C:\\Windows\\system32\\taskmgr.exe", 740}}},
        {"注册表", WindowsTool("regedit.exe", "", 740), Now, {{"C:\\Windows\\regedit.exe", 740}}},
        {"计算器", SystemTool("calc.exe", "", 2), Now, {{"C:\\Windows\\system32\\calc.exe", 2}}},
        {"显示设置", SystemTool("control.exe", "desk.cpl")},
        {"我的电脑", WindowsTool("explorer.exe", "/s,")},
        {"资源管理器", WindowsTool("explorer.exe"), Old},
        {"系统配置", WindowsTool("pchealth\\helpctr\\binaries\\msconfig.exe"), Old},
        {"扫雷", SystemTool("winmine.exe"), Old},
        // Moved by Windows 11: by name, through the shell.
        {"画图", {R"(ShellExecuteW(0, null, "mspaint.exe", null, null, 1) -> 42)"}},
        {"写字板", {R"(ShellExecuteW(0, null, "wordpad.exe", null, null, 1) -> 42)"}},
        {"打开静音", {"CEnvironmentMonitor::SetVolume(1, true) -> 50"}},
        {"音量最小", {"CEnvironmentMonitor::SetVolume(-200, false) -> 40", "VeUI::Tray(" + Q("音量：40") + ", 1)"}},
    });
    // Old-only rows on the current generation; exact rows take no "打开".
    Check({{"设备管理器"}, {"打开扫雷"}, {"打开关闭"}, {"打开打开"}, {"关机吧"}}, false);

    sim->State().audioAvailable = false;
    Check({{"音量大", {"CEnvironmentMonitor::SetVolume(200, false) -> -1"}}});
    EXPECT_EQ(Actions({"屏幕截图"}), Lines{"VeUI::MainMenu(16)"});
    EXPECT_EQ(logType, LogType_Screenshot);
}

TEST_F(SystemCommandTest, SystemConfigurationReachesTheNativeSystemDirectory) {
    for (bool wow64 : {false, true}) {
        sim->State().wow64 = wow64;
        const std::string path = wow64 ? R"("C:\\Windows\\Sysnative\\msconfig.exe")" : R"("C:\\Windows\\system32\\msconfig.exe")";
        EXPECT_EQ(Actions({"打开系统配置"}),
                  (Lines{"GetCurrentProcess() -> -1", std::string("IsWow64Process(-1) -> ") + (wow64 ? "true" : "false"),
                         wow64 ? R"(GetWindowsDirectoryW() -> "C:\\Windows")" : R"(GetSystemDirectoryW() -> "C:\\Windows\\system32")",
                         "GetDesktopWindow() -> 65552", "ShellExecuteW(65552, null, " + path + ", null, null, 10) -> 42"}));
    }
}

TEST_F(SystemCommandTest, PowerRowsAskFirstAndARefusalIsStillHandled) {
    const struct { const char* name; const char* question; int flags; bool yes; } rows[] = {
        // Never EWX_FORCE (4): programs may ask to save; EWX_FORCEIFHUNG (16) ends only hung ones.
        {"关机", "是否确定关机？", 17, true}, {"关闭计算机", "是否确定关机？", 17, false},
        {"重启电脑", "是否确定重启电脑？", 18, true}, {"注销计算机", "是否确定注销计算机？", 16, true},
    };
    for (const auto& row : rows) {
        sim->State().yesNoAnswer = row.yes;
        const Lines asked = {"VeUI::YesOrNot(" + Q(row.question) + ") -> " + (row.yes ? "true" : "false")};
        EXPECT_EQ(Actions({row.name}), !row.yes ? asked : Concat(asked, {"CEnvironmentMonitor::ElevatePermission()",
                                                      "ExitWindowsEx(" + std::to_string(row.flags) + ", 0) -> 1"}));
    }
}

TEST_F(SystemCommandTest, HostProgramsAndSitesComeFirst) {
    sim->State().programs = {"记事本"};
    sim->State().websites = {{"计算器", "https://calc.example/"}};
    EXPECT_TRUE(RunSystemCommand(Wide("记事本"), logType, icon));
    EXPECT_EQ(Readable(Trace()), Lines{R"(CDataFactory::OpenPcSoftwareLnk("记事本") -> true)"});
    EXPECT_TRUE(RunSystemCommand(Wide("计算器"), logType, icon));
    EXPECT_EQ(logType, LogType_Website);
    EXPECT_TRUE(EventsOf("CreateProcessW").empty());
    sim->ClearTrace();
    EXPECT_FALSE(RunSystemCommand(CString(), logType, icon));
    EXPECT_TRUE(Trace().empty());
}

}  // namespace
