#pragma once
// A run that reaches nothing on the desktop: a host's dry run, and the Linux library, which has
// no desktop to act on. While it is on, whatever would press a key, move the mouse, post to a
// window, start, end or open anything, change the volume or the brightness, or lock or shut
// down the machine is reported (diagnostic, info) instead of done; queries still answer.
#include <string>
#include <string_view>

namespace vedryrun {

// `label` names the run in each report ("dry run", "no desktop"); nullptr ends it.
void Set(const char16_t* label);
bool Active();

// When active: reports "<label>: <action>" and returns true, and the caller does not act.
bool Skip(std::u16string_view action);

}  // namespace vedryrun
