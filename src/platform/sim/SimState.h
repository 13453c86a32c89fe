#pragma once
// What the simulated desktop answers from, and the part of it that the library's calls change
// (volume, brightness, the windows of terminated processes). Texts are UTF-8. The `sim`
// settings of the README set it by these names in camelCase (see SimSettings.cpp).
#include <map>
#include <set>
#include <string>

#include "core/HostTypes.h"
#include "platform/WinTypes.h"

namespace vesim {

struct SimState {
    bool network = true;
    WindowsVersion windowsVersion = WindowsVersion_Current;
    std::string foregroundTitle = "Program Manager";  // the foreground window is the one of `windows` of this title
    std::string foregroundClass;                      // its class, when a test gives one (WorkerW after Win+D)
    bool slideShow = false;
    bool yesNoAnswer = true;
    bool wow64 = false;
    std::map<std::string, std::string> websites;  // the host's named web sites: name -> URL
    std::set<std::string> programs;               // installed programs the host can start by name
    std::set<std::string> uninstallable;          // programs the host can uninstall
    std::set<std::string> userCommands;           // the user's own commands
    std::set<std::string> userFiles;              // files and commands bound by the user
    std::set<std::string> hostCommands;           // commands CUtil::OpenCommand knows
    std::map<std::string, int> confidence;        // minimum score per command text
    std::map<std::string, vewin::DWORD> startErrors;    // program path -> CreateProcessW's error (default: it starts)
    std::map<std::string, vewin::DWORD> windows;        // top-level window title -> process id
    std::set<std::string> keepOpen;     // titles of windows that stay on WM_CLOSE (a save prompt, a hung program)
    std::set<std::string> hiddenWindows;  // titles of windows that are not visible (IME, OLE, a hidden frame)
    std::set<std::string> ownedWindows;   // titles of windows owned by another window of their process (dialogs)
    std::map<vewin::DWORD, std::string> processImages;   // process id -> image path (default unknown)
    std::map<vewin::DWORD, vewin::DWORD> integrityLevels;  // process id -> integrity level (default medium)
    std::map<std::string, vewin::DWORD> windowClasses;  // window class -> process id (Shell_TrayWnd)
    vewin::DWORD processId = 4000;                      // the library's (and the host's) own process
    int volume = 50;                              // 0..100
    bool muted = false;
    bool audioAvailable = true;
    int brightness = 128;                         // 0..255, the library's scale (128 normal); -1: no
                                                  // display takes brightness commands
    std::string city = "北京";
    std::string date = "2026-12-06";
    std::string mac = "00-1A-2B-3C-4D-5E";
    bool wordTemplateOk = true;
};

}  // namespace vesim
