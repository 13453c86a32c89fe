#include "scenes/shared/ApplicationActions.h"

#include <algorithm>
#include <string_view>

#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "host/TextMatch.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "local/SystemCommand.h"
#include "platform/Diagnostic.h"
#include "platform/ProgramStart.h"
#include "platform/Url.h"
#include "platform/Win32Api.h"
#include "scenes/shared/DataTables.h"
#include "scenes/shared/Endpoints.h"

namespace {

enum class AppAction { Open, Close, Download, Uninstall };

// "卸载" uninstalls, "下载"/"安装" download, "关闭"/"退出" close; anything else opens.
AppAction AppActionOf(const std::string& gbkAction) {
    if (gbkAction == GBK("卸载")) return AppAction::Uninstall;
    if (gbkAction == GBK("下载") || gbkAction == GBK("安装")) return AppAction::Download;
    if (gbkAction == GBK("关闭") || gbkAction == GBK("退出")) return AppAction::Close;
    return AppAction::Open;
}

// The host uninstalls it, or else the system's list of installed programs opens.
void UninstallApplication(const std::string& gbkName, LogType& logType) {
    CString name = VeChar::VeUnicodeChar_2_CString(gbkName);
    if (!CPreferences::Data()->UninstSystemExe(name, logType))
        vewin::StartProgram(vewin::ToolPath(vewin::ToolFolder::System, u"control.exe"), u"/name Microsoft.ProgramsAndFeatures");
}

// The software centre's search page for the name.
std::string SoftwareCentreSearchUrl(const std::string& gbkName) {
    return weburl::Url(endpoints::kSoftCentreSearch).Text(gbkName);
}

// The name's row of the download table, or else the software centre's search.
std::string SoftwareDownloadUrl(const std::string& gbkName) {
    const auto& table = GetSoftDownloadTable();
    auto row = table.find(gbkName);
    // A row is opened by the shell: one that is no web address is passed over like a missing one.
    if (row != table.end() && !row->second.empty())
        if (auto page = weburl::WebPageFromGbk(row->second)) return *page;
    return SoftwareCentreSearchUrl(gbkName);
}

// Long enough for a program to save its settings and go; a program that asks about unsaved
// work is still asking after it, and the user's answer to our question decides.
constexpr vewin::DWORD kCloseWaitMs = 5000;

// The process's other windows a user sees as its own: visible and unowned top-level ones, not
// the hidden windows of its input method or OLE, not its dialogs.
struct OtherMainWindows {
    vewin::DWORD pid;
    vewin::HWND except;
    int count = 0;
};

vewin::BOOL WINAPI CountOtherMainWindow(vewin::HWND window, vewin::LPARAM param) {
    auto& found = *reinterpret_cast<OtherMainWindows*>(param);
    vewin::DWORD pid = 0;
    if (window == found.except || !vewin::GetWindowThreadProcessId(window, &pid) || pid != found.pid)
        return vewin::TRUE_;
    if (vewin::IsWindowVisible(window) && !vewin::GetWindow(window, vewin::GW_OWNER)) ++found.count;
    return vewin::TRUE_;
}

// Calculator, Settings, Photos and the other Store apps are frames of this one process.
bool IsSharedFrameHost(vewin::HANDLE process) {
    const std::u16string image = vewin::QueryFullProcessImageNameW(process);
    const std::u16string_view name = std::u16string_view(image).substr(image.find_last_of(u"\\/") + 1);
    constexpr std::u16string_view kFrameHost = u"applicationframehost.exe";
    return name.size() == kFrameHost.size() &&
           std::equal(name.begin(), name.end(), kFrameHost.begin(),
                      [](char16_t a, char16_t b) { return (a >= u'A' && a <= u'Z' ? a + 32 : a) == b; });
}

// The shell (the desktop, Program Manager, the task bar) and the process the library runs in,
// which is the host's.
bool IsShellOrHost(vewin::DWORD pid) {
    if (pid == vewin::GetCurrentProcessId()) return true;
    for (vewin::HWND shell : {vewin::GetDesktopWindow(), vewin::GetShellWindow(),
                              vewin::FindWindowW(u"Shell_TrayWnd", nullptr)}) {
        vewin::DWORD shellPid = 0;
        if (shell && vewin::GetWindowThreadProcessId(shell, &shellPid) && shellPid == pid) return true;
    }
    return false;
}

// The close did not happen and the user is told why; nothing else is tried for the utterance.
ActionOutcome NotClosed(const std::u16string& why) {
    VeUI::TellNotCarriedOut(why.empty() ? nullptr : why.c_str());
    return ActionOutcome::Declined;
}

// Asks the top-level window titled exactly the name to close (WM_CLOSE, so it can offer to
// save). Only a process that has no other window of its own, and is still there after a
// while, is ended, and only when the user says yes: a process with other windows (a terminal,
// the frame host of the Store apps) keeps them. With no such window the user is told and
// nothing starts.
ActionOutcome CloseApplicationWindow(const std::string& gbkName) {
    const std::u16string title = VeChar::Vestring2wstring(gbkName);
    vewin::HWND window = vewin::FindWindowW(nullptr, title.c_str());
    if (!window) return NotClosed(u"没有找到要关闭的“" + title + u"”");
    vewin::DWORD pid = 0;
    vewin::GetWindowThreadProcessId(window, &pid);
    // The window may have gone between the two calls; pid 0 is no program to end.
    if (pid == 0) return ActionOutcome::CarriedOut;
    if (IsShellOrHost(pid)) {
        vediag::Warn(u"refused to close \"" + title + u"\": it is the shell or the host");
        return NotClosed(u"“" + title + u"”不能关闭");
    }
    {
        vewin::ScopedHandle process(vewin::OpenProcess(
            vewin::SYNCHRONIZE | vewin::PROCESS_TERMINATE | vewin::PROCESS_QUERY_LIMITED_INFORMATION, vewin::FALSE_, pid));
        if (!process) {
            vediag::Warn(u"could not close \"" + title + u"\": its process cannot be opened");
            return NotClosed(u"无法关闭“" + title + u"”");
        }
        OtherMainWindows others{pid, window};
        vewin::EnumWindows(CountOtherMainWindow, reinterpret_cast<vewin::LPARAM>(&others));
        const bool keepsProcess = others.count > 0 || IsSharedFrameHost(process.get());
        vewin::PostMessageW(window, vewin::WM_CLOSE, 0, 0);
        if (keepsProcess) return ActionOutcome::CarriedOut;
        if (vewin::MsgWaitForSingleObject(process.get(), kCloseWaitMs) != vewin::WAIT_OBJECT_0) {
            const std::u16string question = u"“" + title + u"”没有关闭，是否强制结束？未保存的内容将会丢失。";
            if (!VeUI::YesOrNot(question.c_str(), nullptr)) return NotClosed({});  // the question said it all
            if (!vewin::TerminateProcess(process.get(), 0)) return NotClosed(u"无法关闭“" + title + u"”");
        }
    }
    // After the handle is closed, so the icon's owner is really gone.
    CUtil::RefreshToolbarAreaIcon();
    return ActionOutcome::CarriedOut;
}

// The command, else the page; false when there is neither (a refused page counts as none).
bool OpenAppLinks(AppLinks links) {  // a copy: the host's OpenCommand takes a mutable text
    if (!links.gbkCommand.empty()) {
        // The host's verdict does not matter: the result named this command as the way.
        CUtil::OpenCommand(links.gbkCommand);
        return true;
    }
    if (links.gbkUrl.empty()) return false;
    const auto page = weburl::WebPageFromGbk(links.gbkUrl);
    if (page) VeUI::VeShellExecuteA(*page);
    return page.has_value();
}

}  // namespace

namespace {

bool Said(const std::string& gbkUtterance, const std::string& gbkObject, bool whole) {
    if (gbkObject.empty()) return false;  // nothing to act on, nothing to note
    const std::u16string object = VeChar::Vestring2wstring(gbkObject);
    if (AsksAQuestion(gbkUtterance)) {
        vediag::Warn(u"declined \"" + object + u"\" from a reply or result: the user asked a question");
        return false;
    }
    if (whole ? SaidWhole(gbkUtterance, gbkObject) : ContainsGbk(gbkUtterance, gbkObject)) return true;
    vediag::Warn(u"declined \"" + object + u"\" from a reply or result: the user did not say it");
    return false;
}

}  // namespace

bool SaidByUser(const std::string& gbkUtterance, const std::string& gbkCommand) {
    return Said(gbkUtterance, gbkCommand, false);
}

bool NameSaidByUser(const std::string& gbkUtterance, const std::string& gbkName) {
    return Said(gbkUtterance, gbkName, true);
}

void OpenApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                             const AppLinks& links) {
    if (!RunSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkName), logType, icon) && !OpenAppLinks(links))
        CUtil::SearchInBaidu_unicode(gbkName);
}

ActionOutcome RunApplicationAction(const std::string& gbkAction, const std::string& gbkName, LogType& logType,
                                   vewin::HICON& icon, const AppActionWays& ways) {
    if (gbkName.empty()) return ActionOutcome::NotApplied;
    const AppAction action = AppActionOf(gbkAction);
    if (action == AppAction::Open && !ways.open) return ActionOutcome::NotApplied;
    if (ways.gbkUtterance && !NameSaidByUser(*ways.gbkUtterance, gbkName)) {
        logType = LogType_NotCarriedOut;
        return ActionOutcome::Declined;
    }
    switch (action) {
    case AppAction::Uninstall:
        UninstallApplication(gbkName, logType);
        return ActionOutcome::CarriedOut;
    case AppAction::Download:
        if (ways.startInstalled && RunSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkName), logType, icon))
            return ActionOutcome::CarriedOut;
        if (!OpenAppLinks(ways.links))
            VeUI::VeShellExecuteA(ways.downloadTable ? SoftwareDownloadUrl(gbkName) : SoftwareCentreSearchUrl(gbkName));
        return ActionOutcome::CarriedOut;
    case AppAction::Close: {
        const ActionOutcome outcome = CloseApplicationWindow(gbkName);
        if (outcome == ActionOutcome::Declined) logType = LogType_NotCarriedOut;
        return outcome;
    }
    case AppAction::Open:
        OpenApplicationOrSearch(gbkName, logType, icon, ways.links);
        return ActionOutcome::CarriedOut;
    }
    return ActionOutcome::NotApplied;
}
