#pragma once
// The services the embedding host installed through the C API.
#include "vescene/vescene.h"

namespace vehost {
// A copy of the installed table; every member is NULL when none is installed.
VeHostCallbacks Callbacks();
void SetCallbacks(const VeHostCallbacks* callbacks);
}  // namespace vehost
