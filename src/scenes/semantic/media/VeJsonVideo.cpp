#include "scenes/semantic/media/VeJsonVideo.h"

void VeJsonVideo::Parse(VeJson&) {}

int VeJsonVideo::Execute() { return 0; }
