#pragma once
#include <atomic>
#include <string>

#include "core/CString.h"
#include "core/HostTypes.h"
#include "platform/WinTypes.h"

class CUtil {
public:
    static bool OpenCommand(std::string& gbkCommand);
    static void SearchInBaidu_unicode(std::string gbkText);
    static void SearchInBaidu_utf8(std::string utf8Text);
    static void RefreshToolbarAreaIcon();
    // Ends the thread if it still runs (after a bounded wait), closes its handle and clears
    // it. Takes the handle out atomically, so two callers can never close it twice.
    static void VeTerminateThread(std::atomic<vewin::HANDLE>& thread, vewin::DWORD exitCode);
};

namespace CurrentWnd {
CString GetCurrentWndText();
bool IsPPtSlideShow();
}  // namespace CurrentWnd

namespace MacAddress {
std::string GetMac(MacForm form);
}

namespace TyTime {
std::string GetTime_2020_01_01();
}
