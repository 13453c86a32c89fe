// The normal pen-mode dispatcher: desktop phrases, volume and brightness, window switching,
// slide-show commands spoken outside the slide show, then the host's own bindings.
#include "host/DataFactory.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeNet.h"
#include "keyboard/OfficeGrammar.h"
#include "keyboard/KeyPlayer.h"
#include "keyboard/OfficeSenders.h"
#include "keyboard/VirtualKeys.h"
#include "local/LocalCommandEngine.h"
#include "platform/ProgramStart.h"
#include "platform/Win32Api.h"

namespace {

using namespace vewin;
using namespace vk;

constexpr DWORD kPauseMs = 30;

void Down(BYTE vk) { KeyDown(vk); }
void Up(BYTE vk) { KeyUp(vk); }

}  // namespace

bool LocalCommandEngine::ExecuteNormalCommand(CString text, LogType& logType, HICON& icon) {
    if (text.IsEmpty()) return false;
    InputScope command;

    if (IsOneOf(text, {u"我的电脑", u"计算机", u"打开我的电脑", u"打开计算机"})) {
        StartProgram(ToolPath(ToolFolder::Windows, u"explorer.exe"), u"/s,");
        return true;
    }
    if (IsOneOf(text, {u"关闭", u"退出放映", u"关闭窗口", u"关闭文件夹", u"关闭软件", u"关闭文件"})) {
        Down(kAlt);
        Sleep(kPauseMs);
        Down(kF4);
        Up(kAlt);
        Up(kF4);
        return true;
    }
    if (IsOneOf(text, {u"确定"})) {
        Down(kEnter);
        Up(kEnter);
        return true;
    }
    if (IsOneOf(text, {u"回到桌面", u"返回桌面", u"桌面", u"显示桌面", u"我的桌面"})) {
        Down(kWindows);
        Down(kKeyD);
        Up(kWindows);
        Up(kKeyD);
        return true;
    }
    if (IsOneOf(text, {u"记事本", u"文本文档", u"TXT", u"txt", u"打开记事本", u"打开文本文档", u"打开TXT", u"打开txt"})) {
        StartProgram(ToolPath(ToolFolder::System, u"notepad.exe"));
        return true;
    }
    if (IsOneOf(text, {u"控制面板", u"打开控制面板"})) {
        StartProgram(ToolPath(ToolFolder::System, u"control.exe"));
        return true;
    }
    if (AdjustVolume(text)) return true;

    const std::string gbkText = VeChar::VeCString2string(text);
    if (AdjustBrightness(gbkText)) return true;
    if (text.Find(u"切换") >= 0 && text.Find(u"窗口") >= 0) {
        SwitchWindows(CountInText(gbkText));
        return true;
    }
    if (ContainsAny(text, {u"继续ppt", u"返回ppt"})) {
        Down(kAlt);
        Sleep(kPauseMs);
        Down(kTab);
        Up(kTab);
        Sleep(kPauseMs);
        Up(kAlt);
        return true;
    }

    EnsureOfficeCtrlGrammars();
    switch (SendOutPPtKeys(gbkText)) {
        case OutPpt_Sent:
            logType = LogType_SlideShow;
            return true;
        case OutPpt_NoSlideShow:
            logType = LogType_Failure;  // kept unless a host binding below takes the text
            break;
        default: break;
    }

    if (CPreferences::Data()->OpenPcSoftwareLnk(text, logType, icon)) return true;
    if (CVeAccount::Data()->OpenUserSelf(text, logType, icon)) return true;
    return CPreferences::Data()->OpenWebsite_Grm(text, logType);
}
