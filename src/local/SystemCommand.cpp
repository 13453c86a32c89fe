#include "local/SystemCommand.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/DataFactory.h"
#include "host/Environment.h"
#include "host/VeUI.h"
#include "keyboard/KeyPlayer.h"
#include "keyboard/VirtualKeys.h"
#include "local/VolumeMessage.h"
#include "platform/ProgramStart.h"
#include "platform/Win32Api.h"

namespace {

using namespace vewin;
using namespace vk;

constexpr int kShowDefault = 10;
constexpr DWORD kRightClick = MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP;

struct Context {
    WindowsVersion version;
    LogType& logType;
};
using Action = std::function<void(Context&)>;

enum class Match { Exact, AlsoWithOpen };
enum class Versions { Any, OldOnly };

struct Row {
    std::vector<std::u16string_view> phrases;
    Match match;
    Versions versions;
    Action action;

    bool Matches(const CString& name) const {
        std::u16string_view text = name.str();
        if (match == Match::AlsoWithOpen && text.starts_with(u"打开")) {
            std::u16string_view rest = text.substr(2);
            for (auto phrase : phrases)
                if (rest == phrase) return true;
        }
        for (auto phrase : phrases)
            if (text == phrase) return true;
        return false;
    }
};

// ---------------------------------------------------------------- kinds of action

void Down(BYTE vk) { KeyDown(vk); }
void Up(BYTE vk) { KeyUp(vk); }

enum class Release { InOrder, Reversed };

// All keys down in order, then all up, with an optional pause while they are held.
Action Chord(std::vector<BYTE> keys, Release order = Release::InOrder, DWORD holdMs = 0) {
    return [keys, order, holdMs](Context&) {
        for (BYTE key : keys) Down(key);
        if (holdMs) Sleep(holdMs);
        if (order == Release::InOrder)
            for (BYTE key : keys) Up(key);
        else
            for (auto it = keys.rbegin(); it != keys.rend(); ++it) Up(*it);
    };
}

Action Tap(BYTE key) { return Chord({key}); }
Action CtrlWith(char letter) { return Chord({kCtrl, static_cast<BYTE>(letter)}); }
Action WindowsWith(char letter) { return Chord({kWindows, static_cast<BYTE>(letter)}); }

// Shift+F10 opens the focused item's context menu; the letters pick its entries.
Action ContextMenu(std::string_view letters) {
    std::vector<BYTE> keys = {kShift, kF10};
    for (char letter : letters) keys.push_back(static_cast<BYTE>(letter));
    return Chord(keys);
}

// A tool of Windows by its full path (see ToolPath), with its arguments.
Action Run(ToolFolder folder, std::u16string file, std::u16string arguments = {}) {
    return [folder, file, arguments](Context&) { StartProgram(ToolPath(folder, file), arguments); };
}
Action SystemTool(std::u16string file, std::u16string arguments = {}) {
    return Run(ToolFolder::System, std::move(file), std::move(arguments));
}
Action ControlPanel(std::u16string arguments) { return SystemTool(u"control.exe", std::move(arguments)); }

// Windows 11 moved some tools out of the Windows folders (Paint is an app now): the shell finds
// them by name wherever this Windows keeps them.
Action ByName(std::u16string program) {
    return [program](Context&) { ShellExecuteW(nullptr, nullptr, program.c_str(), nullptr, nullptr, SW_SHOWNORMAL); };
}

Action Shell(std::string target) {
    return [target](Context&) { VeUI::VeShellExecuteA(target); };
}

Action ByVersion(Action oldWindows, Action current) {
    return [oldWindows, current](Context& context) {
        (context.version == WindowsVersion_Old ? oldWindows : current)(context);
    };
}

// Never EWX_FORCE: each program may ask the user to save; only a hung one is ended.
Action AskThenExitWindows(std::u16string question, UINT flags) {
    return [question, flags](Context&) {
        if (!VeUI::YesOrNot(question.c_str(), nullptr)) return VeUI::TellNotCarriedOut(nullptr);
        CEnvironmentMonitor::ElevatePermission();
        ExitWindowsEx(flags, 0);
    };
}

Action Mute(bool on) {
    return [on](Context&) { CEnvironmentMonitor::SetVolume(on ? 1 : 0, true); };
}

Action VolumeStep(int step) {
    return [step](Context&) {
        ShowVolumeLevel(CEnvironmentMonitor::SetVolume(step, false));
    };
}

void LockComputer(Context&) { LockWorkStation(); }

void Screenshot(Context& context) {
    VeUI::MainMenu(MainMenu_16);
    context.logType = LogType_Screenshot;
}

// The old desktop menu has no accelerator path for this entry: right-click, then I and N.
void AutoArrangeByClick(Context&) {
    if (!InputAllowed()) return;
    mouse_event(kRightClick, 0, 0, 0, 0);
    Down('I');
    Up('I');
    Down('N');
    Up('N');
}

// It asks for elevation: the shell shows the prompt.
void StartSystemConfiguration(Context&) {
    std::u16string path = ToolPath(ToolFolder::System, u"msconfig.exe");
    HWND desktop = GetDesktopWindow();
    ShellExecuteW(desktop, nullptr, path.c_str(), nullptr, nullptr, kShowDefault);
}

// ---------------------------------------------------------------- the table

using enum Match;
using enum Versions;

const std::vector<Row>& Table() {
    static const std::vector<Row> rows = {
        {{u"媒体播放器"}, AlsoWithOpen, Any, Shell("mplayer2.exe")},
        {{u"显示设置"}, AlsoWithOpen, Any, ControlPanel(u"desk.cpl")},
        {{u"计算机属性"}, AlsoWithOpen, Any,
         ByVersion(ControlPanel(u"sysdm.cpl"), ControlPanel(u"/name Microsoft.System"))},
        {{u"我的电脑", u"计算机", u"打开我的电脑", u"打开计算机"}, Exact, Any, Run(ToolFolder::Windows, u"explorer.exe", u"/s,")},
        {{u"帮助"}, AlsoWithOpen, Any, Run(ToolFolder::Windows, u"winhlp32.exe")},
        {{u"搜索"}, AlsoWithOpen, Any, Tap(kF3)},
        {{u"关闭"}, Exact, Any, Chord({kAlt, kF4}, Release::Reversed)},
        {{u"关闭网页"}, Exact, Any, Chord({kCtrl, 'W'}, Release::InOrder, 10)},
        {{u"最小化"}, AlsoWithOpen, Any, Chord({kLeftAlt, kSpace, 'N'})},
        {{u"最大化"}, AlsoWithOpen, Any, Chord({kLeftAlt, kSpace, 'X'})},
        {{u"全角", u"半角"}, AlsoWithOpen, Any, Chord({kShift, kSpace}, Release::Reversed)},
        {{u"中文输入", u"英文输入", u"中文", u"英文"}, Exact, Any, Tap(kShift)},
        {{u"删除"}, Exact, Any, Tap(kDelete)},
        {{u"打开"}, Exact, Any, ContextMenu("O")},
        {{u"撤销"}, Exact, Any, CtrlWith('Z')},
        {{u"剪切"}, Exact, Any, CtrlWith('X')},
        {{u"复制"}, Exact, Any, CtrlWith('C')},
        {{u"粘贴"}, Exact, Any, CtrlWith('V')},
        {{u"全选"}, Exact, Any, CtrlWith('A')},
        {{u"开始", u"开始菜单"}, Exact, Any, Tap(kWindows)},
        {{u"输入法", u"切换输入法", u"打开输入法"}, Exact, Any, Chord({kCtrl, kSpace})},
        {{u"锁定", u"锁定计算机"}, Exact, Any, LockComputer},
        {{u"桌面", u"显示桌面"}, Exact, Any, WindowsWith('D')},
        {{u"投影"}, AlsoWithOpen, Any, WindowsWith('P')},
        {{u"运行"}, AlsoWithOpen, Any, WindowsWith('R')},
        {{u"大图标"}, AlsoWithOpen, Any, ContextMenu("VR")},
        {{u"中等图标", u"中图标"}, AlsoWithOpen, Any, ContextMenu("VM")},
        {{u"小图标"}, AlsoWithOpen, Any, ContextMenu("VN")},
        {{u"自动排列"}, AlsoWithOpen, Any, ByVersion(AutoArrangeByClick, ContextMenu("VA"))},
        {{u"网格对齐"}, AlsoWithOpen, Any, ContextMenu("VI")},
        {{u"显示桌面图标"}, Exact, Any, ContextMenu("VD")},
        {{u"显示桌面小工具"}, Exact, Any, ContextMenu("VG")},
        {{u"排序方式"}, AlsoWithOpen, Any, ContextMenu("O")},
        {{u"刷新"}, Exact, Any, Tap(kF5)},
        {{u"分辨率"}, AlsoWithOpen, Any, ControlPanel(u"desk.cpl")},
        {{u"小工具"}, AlsoWithOpen, Any, ContextMenu("G")},
        {{u"创建快捷方式"}, AlsoWithOpen, Any, ContextMenu("S")},
        {{u"重命名"}, AlsoWithOpen, Any, ContextMenu("M")},
        {{u"属性"}, AlsoWithOpen, Any, ContextMenu("R")},
        {{u"系统配置"}, AlsoWithOpen, Any,
         ByVersion(Run(ToolFolder::Windows, u"pchealth\\helpctr\\binaries\\msconfig.exe"), StartSystemConfiguration)},
        {{u"设备管理器"}, AlsoWithOpen, OldOnly, Shell("C:\\WINDOWS\\system32\\devmgmt.msc")},
        {{u"资源管理器"}, AlsoWithOpen, Any,
         Run(ToolFolder::Windows, u"explorer.exe")},
        {{u"写字板"}, AlsoWithOpen, Any, ByName(u"wordpad.exe")},
        {{u"画图"}, AlsoWithOpen, Any, ByName(u"mspaint.exe")},
        {{u"远程桌面"}, AlsoWithOpen, Any, SystemTool(u"mstsc.exe")},
        {{u"记事本", u"文本文档", u"TXT", u"txt"}, AlsoWithOpen, Any, SystemTool(u"notepad.exe")},
        {{u"控制面板"}, AlsoWithOpen, Any, SystemTool(u"control.exe")},
        {{u"任务管理器"}, AlsoWithOpen, Any, SystemTool(u"taskmgr.exe")},
        {{u"注册表"}, AlsoWithOpen, Any,
         Run(ToolFolder::Windows, u"regedit.exe")},
        {{u"DOS命令"}, AlsoWithOpen, Any, SystemTool(u"cmd.exe")},
        {{u"计算器"}, AlsoWithOpen, Any, SystemTool(u"calc.exe")},
        {{u"屏幕键盘"}, AlsoWithOpen, Any, SystemTool(u"osk.exe")},
        {{u"网络设置"}, AlsoWithOpen, OldOnly, ControlPanel(u"ncpa.cpl")},
        {{u"卸载程序"}, AlsoWithOpen, OldOnly, ControlPanel(u"appwiz.cpl")},
        {{u"防火墙"}, AlsoWithOpen, OldOnly, ControlPanel(u"firewall.cpl")},
        {{u"声音设置", u"声音"}, AlsoWithOpen, Any,
         ByVersion(ControlPanel(u"mmsys.cpl"), ControlPanel(u"/name Microsoft.AudioDevicesAndSoundThemes"))},
        {{u"用户帐户"}, AlsoWithOpen, OldOnly, ControlPanel(u"nusrmgr.cpl")},
        {{u"时间"}, AlsoWithOpen, OldOnly, ControlPanel(u"timedate.cpl")},
        {{u"更新"}, AlsoWithOpen, OldOnly, ControlPanel(u"wuaucpl.cpl")},
        {{u"红心大战"}, AlsoWithOpen, OldOnly, SystemTool(u"mshearts.exe")},
        {{u"空当接龙"}, AlsoWithOpen, OldOnly, SystemTool(u"freecell.exe")},
        {{u"扫雷"}, AlsoWithOpen, OldOnly, SystemTool(u"winmine.exe")},
        {{u"蜘蛛纸牌"}, AlsoWithOpen, OldOnly, SystemTool(u"spider.exe")},
        {{u"纸牌"}, AlsoWithOpen, OldOnly, SystemTool(u"sol.exe")},
        {{u"静音"}, AlsoWithOpen, Any, Mute(true)},
        {{u"取消静音"}, Exact, Any, Mute(false)},
        {{u"音量大", u"音量调大", u"音量调高", u"音量最大", u"音量最高"}, Exact, Any, VolumeStep(200)},
        {{u"音量小", u"音量调低", u"音量调小", u"音量最小", u"音量最低"}, Exact, Any, VolumeStep(-200)},
        {{u"关机", u"关闭电脑", u"关闭计算机"}, Exact, Any,
         AskThenExitWindows(u"是否确定关机？", EWX_SHUTDOWN | EWX_FORCEIFHUNG)},
        {{u"重启", u"重启电脑", u"重启计算机"}, Exact, Any,
         AskThenExitWindows(u"是否确定重启电脑？", EWX_REBOOT | EWX_FORCEIFHUNG)},
        {{u"注销", u"注销电脑", u"注销计算机"}, Exact, Any,
         AskThenExitWindows(u"是否确定注销计算机？", EWX_LOGOFF | EWX_FORCEIFHUNG)},
        {{u"截图", u"截图工具", u"图片识别", u"图像识别", u"屏幕截图"}, Exact, Any, Screenshot},
    };
    return rows;
}

}  // namespace

bool RunSystemCommand(CString name, LogType& logType, HICON& icon) {
    if (name.IsEmpty()) return false;
    if (CPreferences::Data()->OpenPcSoftwareLnk(name, logType, icon)) return true;
    if (CPreferences::Data()->OpenWebsite_Grm(name, logType)) return true;

    Context context{CEnvironmentMonitor::OsVersion(), logType};
    for (const Row& row : Table()) {
        if (row.versions == OldOnly && context.version != WindowsVersion_Old) continue;
        if (!row.Matches(name)) continue;
        InputScope input;
        row.action(context);
        if (input.Blocked()) logType = LogType_NotCarriedOut;
        return true;
    }
    return false;
}
