#pragma once
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
