#include "scenes/semantic/everyday/VeJsonLife.h"

void VeJsonLife::Parse(VeJson&) {}

int VeJsonLife::Execute() { return 0; }
