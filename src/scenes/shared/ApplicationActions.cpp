#include "scenes/shared/ApplicationActions.h"

#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "local/SystemCommand.h"
#include "platform/Diagnostic.h"
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
        vewin::WinExec("control.exe /name Microsoft.ProgramsAndFeatures", vewin::SW_SHOWNORMAL);
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

// Ends the process of the top-level window titled exactly the name; true when there was
// such a window.
bool CloseApplicationWindow(const std::string& gbkName) {
    CString title = VeChar::VeUnicodeChar_2_CString(gbkName);
    vewin::HWND window = vewin::FindWindowW(nullptr, title.GetString());
    if (!window) return false;
    vewin::DWORD pid = 0;
    vewin::GetWindowThreadProcessId(window, &pid);
    // The window may have gone between the two calls; pid 0 is no program to end.
    if (pid == 0) return true;
    bool ended = false;
    {
        vewin::ScopedHandle process(vewin::OpenProcess(vewin::PROCESS_TERMINATE, vewin::FALSE_, pid));
        if (process) ended = vewin::TerminateProcess(process.get(), 0) != 0;
    }
    // After the handle is closed, so the icon's owner is really gone.
    if (ended) CUtil::RefreshToolbarAreaIcon();
    return true;
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

void OpenApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                             const AppLinks& links) {
    if (!RunSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkName), logType, icon) && !OpenAppLinks(links))
        CUtil::SearchInBaidu_unicode(gbkName);
}

bool RunApplicationAction(const std::string& gbkAction, const std::string& gbkName, LogType& logType,
                          vewin::HICON& icon, const AppActionWays& ways) {
    if (gbkName.empty()) return false;
    switch (AppActionOf(gbkAction)) {
    case AppAction::Uninstall:
        UninstallApplication(gbkName, logType);
        return true;
    case AppAction::Download:
        if (ways.startInstalled && RunSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkName), logType, icon))
            return true;
        if (!OpenAppLinks(ways.links))
            VeUI::VeShellExecuteA(ways.downloadTable ? SoftwareDownloadUrl(gbkName) : SoftwareCentreSearchUrl(gbkName));
        return true;
    case AppAction::Close:
        return CloseApplicationWindow(gbkName);
    case AppAction::Open:
        if (!ways.open) return false;
        OpenApplicationOrSearch(gbkName, logType, icon, ways.links);
        return true;
    }
    return false;
}
