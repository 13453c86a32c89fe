#pragma once
#include "core/HostTypes.h"

class CEnvironmentMonitor {
public:
    // (1, true) mutes, (0, true) unmutes, (200, false) one step up, (-200, false) one step
    // down, (n, false) level n; returns the level now set (0..100) or -1.
    static int SetVolume(int level, bool muteSwitch);
    static int SetBrightness(int level);
    static int GetBrightness();  // 0..255, or -1 when the display's level cannot be read
    static bool CheckNet(bool flag);
    static WindowsVersion OsVersion();
    static void ElevatePermission();
};
