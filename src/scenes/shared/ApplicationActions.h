#pragma once
// What the application scenes (semantic, TPP and online) do with a named program. Names are
// GBK as the documents give them.
#include <string>

#include "core/HostTypes.h"
#include "platform/WinTypes.h"

enum class AppAction { Open, Close, Download, Uninstall };

// "卸载" uninstalls, "下载"/"安装" download, "关闭"/"退出" close; anything else opens.
AppAction AppActionOf(const std::string& gbkAction);

// The host uninstalls it, or else the system's list of installed programs opens.
void UninstallApplication(const std::string& gbkName, LogType& logType);

// The software centre's search page for the name.
std::string SoftwareCentreSearchUrl(const std::string& gbkName);
// The name's row of the download table, or else the software centre's search.
std::string SoftwareDownloadUrl(const std::string& gbkName);

// Ends the process of the top-level window titled exactly the name; true when there was
// such a window.
bool CloseApplicationWindow(const std::string& gbkName);

// A TPP result's own ways to a program, tried after the system command table: a command the
// host runs, else a web page. Either may be empty.
struct AppLinks {
    std::string gbkCommand;
    std::string gbkUrl;
};

// True for an http or https URL. Anything else a recognition result may carry (a program path,
// a file: URL, a command line) is refused with a debug note: a result must never start a program.
bool AcceptWebPage(const std::string& gbkUrl);

// The command, else the page; false when there is neither (a refused page counts as none).
bool OpenAppLinks(AppLinks links);

// A program, site or system command of that name, else the links, else a web search for it.
void OpenApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                             const AppLinks& links = {});

// A program the desktop already has starts; else the links; else the software centre's search.
void DownloadApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                                 const AppLinks& links);
