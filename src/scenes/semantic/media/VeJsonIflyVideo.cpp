#include "scenes/semantic/media/VeJsonIflyVideo.h"

void VeJsonIflyVideo::Parse(VeJson&) {}

int VeJsonIflyVideo::Execute() { return 0; }
