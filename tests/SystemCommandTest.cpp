// The system command table: a spoken name of a Windows tool, desktop, editing, volume or power
// command, observed as the calls it makes after the host's own programs and sites.
#include "TestSupport.h"
#include "local/SystemCommand.h"

using namespace vetest;

namespace {

enum : int { Shift = 16, Ctrl = 17, Alt = 18, Space = 32, F3 = 114, F4 = 115, F10 = 121, LAlt = 164 };
constexpr WindowsVersion Old = WindowsVersion_Old, Now = WindowsVersion_Current;

std::string Down(int vk) { return "keybd_event(" + std::to_string(vk) + ", 0, 0, 0)"; }
std::string Up(int vk) { return "keybd_event(" + std::to_string(vk) + ", 0, 2, 0)"; }
Lines Chord(std::vector<int> keys) {
    Lines out;
    for (int k : keys) out.push_back(Down(k));
    for (int k : keys) out.push_back(Up(k));
    return out;
}
std::string Exec(const std::string& command, int result = 33) {
    return "WinExec(" + Q(command) + ", 1) -> " + std::to_string(result);
}
const std::string kSys32 = "C:\\Windows\\System32\\", kWow64 = "C:\\Windows\\SysWOW64\\";

struct Case {
    const char* name;
    Lines actions = {};  // the calls after the host lookups and the version query
    WindowsVersion version = Now;
    std::map<std::string, vewin::UINT> winExec = {};
};

class SystemCommandTest : public SimTest {
protected:
    LogType logType = LogType_Base;
    vewin::HICON icon = nullptr;

    Lines Actions(const Case& c, bool handled = true) {
        SCOPED_TRACE(std::string(c.name) + " version " + std::to_string(c.version));
        sim->ClearTrace();
        sim->State().windowsVersion = c.version;
        sim->State().winExecResults = c.winExec;
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
        {"打开搜索", Chord({F3})}, {"关闭", {Down(Alt), Down(F4), Up(F4), Up(Alt)}},
        {"关闭网页", {Down(Ctrl), Down('W'), "Sleep(10)", Up(Ctrl), Up('W')}}, {"最小化", Chord({LAlt, Space, 'N'})},
        {"打开", Chord({Shift, F10, 'O'})}, {"打开中图标", Chord({Shift, F10, 'V', 'M'})},
        {"自动排列", Chord({Shift, F10, 'V', 'A'})},
        {"自动排列", {"mouse_event(24, 0, 0, 0, 0)", Down('I'), Up('I'), Down('N'), Up('N')}, Old},
        {"锁定计算机", {"LockWorkStation() -> 1"}}, {"媒体播放器", {R"(VeUI::VeShellExecuteA("mplayer2.exe"))"}},
        // A start result of 32 or less is a failure: the next command line is tried.
        {"打开记事本", {Exec(kSys32 + "notepad.exe", 32), Exec(kWow64 + "notepad.exe")}, Now,
         {{kSys32 + "notepad.exe", 32}}},
        {"任务管理器", {Exec(kSys32 + "taskmgr.exe", 0), Exec(kWow64 + "taskmgr.exe", 31), Exec("C:\\Windows\\taskmgr.exe")},
         Now, {{kSys32 + "taskmgr.exe", 0}, {kWow64 + "taskmgr.exe", 31}}},
        {"资源管理器", {Exec("C:\\WINDOWS\\explorer.exe", 2)}, Old, {{"C:\\WINDOWS\\explorer.exe", 2}}},
        {"系统配置", {Exec("C:\\WINDOWS\\pchealth\\helpctr\\binaries\\msconfig.exe")}, Old},
        {"扫雷", {Exec("C:\\WINDOWS\\System32\\winmine.exe", 0), Exec("C:\\WINDOWS\\SysWOW64\\winmine.exe")}, Old,
         {{"C:\\WINDOWS\\System32\\winmine.exe", 0}}},
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
        {"关机", "是否确定关机？", 5, true}, {"关闭计算机", "是否确定关机？", 5, false},
        {"重启电脑", "是否确定重启电脑？", 6, true}, {"注销计算机", "是否确定注销计算机？", 4, true},
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
    EXPECT_TRUE(EventsOf("WinExec").empty());
    sim->ClearTrace();
    EXPECT_FALSE(RunSystemCommand(CString(), logType, icon));
    EXPECT_TRUE(Trace().empty());
}

}  // namespace
