// Part of the Linux library (libVeScene.so) only, not of its layers: Linux has no desktop to act
// on, so the library acts on none. A host's callbacks run as everywhere; what the Windows build
// would do by itself (keys, windows, programs, pages, volume, brightness, power) is reported
// through `diagnostic` as "no desktop: ..." and answers as a platform that cannot do it: -1 for
// volume and brightness, "no" to a question, "not found" for every table. The simulated desktop
// underneath only answers queries (the foreground window, the date) and runs the online thread.
#include "exports/HostBackend.h"

namespace {

[[maybe_unused]] const bool noDesktop = (vecapi::HaveNoDesktop(u"no desktop"), true);

}  // namespace
