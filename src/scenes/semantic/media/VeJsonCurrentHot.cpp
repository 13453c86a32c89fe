#include "scenes/semantic/media/VeJsonCurrentHot.h"

void VeJsonCurrentHot::Parse(VeJson&) {}

int VeJsonCurrentHot::Execute() { return 0; }
