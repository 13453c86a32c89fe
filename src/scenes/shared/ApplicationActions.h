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

// Whether the user asked for the command phrase (删除, 关机, 全选 ...) that an online reply or a TPP
// result named: said in the utterance, which does not ask how to do it or whether. When not, the
// reason goes to the debugger output. What deletes, presses keys or runs a command because of
// such text needs it.
bool SaidByUser(const std::string& gbkUtterance, const std::string& gbkCommand);
// The same for a program's name, which must be said whole: not part of a longer name, not with
// an ending taken off or added. What closes, uninstalls or starts a program needs it.
bool NameSaidByUser(const std::string& gbkUtterance, const std::string& gbkName);

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
    // Open (also what a missing action means): false does nothing (online).
    bool open = true;
    // The utterance, when the name comes from a reply or a result rather than the user's own
    // words: a name not said in it is declined.
    const std::string* gbkUtterance = nullptr;
};

enum class ActionOutcome { NotApplied, CarriedOut, Declined };

// Carries out the action ("卸载" uninstalls, "下载"/"安装" download, "关闭"/"退出" close, anything
// else opens) on the named program: an uninstall or a download always, an open when `ways.open`.
// A close needs a top-level window of exactly that title (else the user is told, nothing starts,
// and it is Declined) and asks it to close;
// the process is ended only when it stays and the user says yes. The shell and the host are
// never closed. An empty name is NotApplied; Declined sets the log type to not carried out.
ActionOutcome RunApplicationAction(const std::string& gbkAction, const std::string& gbkName, LogType& logType,
                                   vewin::HICON& icon, const AppActionWays& ways);
