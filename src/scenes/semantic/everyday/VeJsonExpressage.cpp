#include "scenes/semantic/everyday/VeJsonExpressage.h"

void VeJsonExpressage::Parse(VeJson&) {}

int VeJsonExpressage::Execute() { return 0; }
