#pragma once
// The tray message after a volume change: "音量：n" with the level the host reports.
#include <string>

#include "host/VeUI.h"

// -1 is the host's "volume unchanged" answer: nothing is shown then.
inline void ShowVolumeLevel(int level) {
    if (level == -1) return;
    const std::string digits = std::to_string(level);
    VeUI::Tray((u"音量：" + std::u16string(digits.begin(), digits.end())).c_str(), VeTray_Show);
}
