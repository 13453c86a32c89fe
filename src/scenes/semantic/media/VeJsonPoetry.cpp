#include "scenes/semantic/media/VeJsonPoetry.h"

void VeJsonPoetry::Parse(VeJson&) {}

int VeJsonPoetry::Execute() { return 0; }
