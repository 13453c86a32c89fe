#include "scenes/shared/ApplicationActions.h"

#include "host/CUtil.h"
#include "host/DataFactory.h"
#include "platform/HttpConfig.h"
#include "host/VeChar.h"
#include "host/VeUI.h"
#include "local/SystemCommand.h"
#include "platform/Win32Api.h"
#include "scenes/shared/DataTables.h"
#include "scenes/shared/Endpoints.h"

AppAction AppActionOf(const std::string& gbkAction) {
    if (gbkAction == GBK("卸载")) return AppAction::Uninstall;
    if (gbkAction == GBK("下载") || gbkAction == GBK("安装")) return AppAction::Download;
    if (gbkAction == GBK("关闭") || gbkAction == GBK("退出")) return AppAction::Close;
    return AppAction::Open;
}

void UninstallApplication(const std::string& gbkName, LogType& logType) {
    CString name = VeChar::VeUnicodeChar_2_CString(gbkName);
    if (!CPreferences::Data()->UninstSystemExe(name, logType))
        vewin::WinExec("control.exe /name Microsoft.ProgramsAndFeatures", vewin::SW_SHOWNORMAL);
}

std::string SoftwareCentreSearchUrl(const std::string& gbkName) {
    return endpoints::kSoftCentreSearch + VeChar::UnicodeChar_2_Urlcode(gbkName);
}

std::string SoftwareDownloadUrl(const std::string& gbkName) {
    const auto& table = GetSoftDownloadTable();
    auto row = table.find(gbkName);
    if (row != table.end() && !row->second.empty()) return row->second;
    return SoftwareCentreSearchUrl(gbkName);
}

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

bool AcceptWebPage(const std::string& gbkUrl) {
    if (vehttp::IsHttpUrl(gbkUrl)) return true;
    const std::u16string note = u"VeScene: refused to open a result that is no web address: " +
                                VeChar::Vestring2wstring(gbkUrl);
    vewin::OutputDebugStringW(note.c_str());
    return false;
}

bool OpenAppLinks(AppLinks links) {
    if (!links.gbkCommand.empty()) {
        // The host's verdict does not matter: the result named this command as the way.
        CUtil::OpenCommand(links.gbkCommand);
        return true;
    }
    if (links.gbkUrl.empty() || !AcceptWebPage(links.gbkUrl)) return false;
    VeUI::VeShellExecuteA(links.gbkUrl);
    return true;
}

void OpenApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                             const AppLinks& links) {
    if (!RunSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkName), logType, icon) && !OpenAppLinks(links))
        CUtil::SearchInBaidu_unicode(gbkName);
}

void DownloadApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                                 const AppLinks& links) {
    if (!RunSystemCommand(VeChar::VeUnicodeChar_2_CString(gbkName), logType, icon) && !OpenAppLinks(links))
        VeUI::VeShellExecuteA(SoftwareCentreSearchUrl(gbkName));
}
