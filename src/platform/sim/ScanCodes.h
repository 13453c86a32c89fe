#pragma once
// The simulated keyboard's layout: set-1 scan codes of the keys the library presses.
#include "platform/WinTypes.h"

namespace vesim {

// The scan code of virtual key `vk`, 0 for a key the table does not know (as MapVirtualKeyW).
vewin::UINT ScanCodeOf(vewin::UINT vk);

}  // namespace vesim
