#include "scenes/semantic/everyday/VeJsonStock.h"

void VeJsonStock::Parse(VeJson&) {}

int VeJsonStock::Execute() { return 0; }
