#include "scenes/semantic/everyday/VeJsonIflyMapU.h"

void VeJsonIflyMapU::Parse(VeJson&) {}

int VeJsonIflyMapU::Execute() { return 0; }
