#include "scenes/semantic/everyday/VeJsonMap.h"

void VeJsonMap::Parse(VeJson&) {}

int VeJsonMap::Execute() { return 0; }
