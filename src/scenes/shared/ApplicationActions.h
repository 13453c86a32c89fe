#pragma once
// What the application scenes (semantic, TPP and online) do with a named program. Names are
// GBK as the documents give them.
#include <string>

#include "core/HostTypes.h"
#include "platform/WinTypes.h"

// A TPP result's own ways to a program, tried after the system command table: a command the
// host runs, else a web page. Either may be empty.
struct AppLinks {
    std::string gbkCommand;
    std::string gbkUrl;
};

// A program, site or system command of that name, else the links, else a web search for it.
void OpenApplicationOrSearch(const std::string& gbkName, LogType& logType, vewin::HICON& icon,
                             const AppLinks& links = {});

// Where the application scenes differ; the defaults are the semantic scene's.
struct AppActionWays {
    // Download: a program the desktop already has starts instead (semantic, TPP; not online).
    bool startInstalled = true;
    // Download: the download table's page for the name, else the software centre's search;
    // false goes to the software centre's search at once (TPP).
    bool downloadTable = true;
    // The result's own command and page, tried before the download page and, on open, before
    // the web search (TPP).
    AppLinks links{};
    // Open (also what a missing action means): false does nothing and returns false (online).
    bool open = true;
};

// Carries out the action ("卸载" uninstalls, "下载"/"安装" download, "关闭"/"退出" close, anything
// else opens) on the named program. True when it did: an uninstall or a download always, a close
// when a top-level window has exactly that title (its process is ended), an open when
// `ways.open`. An empty name is no action: false.
bool RunApplicationAction(const std::string& gbkAction, const std::string& gbkName, LogType& logType,
                          vewin::HICON& icon, const AppActionWays& ways);
