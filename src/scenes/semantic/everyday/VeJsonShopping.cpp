#include "scenes/semantic/everyday/VeJsonShopping.h"

void VeJsonShopping::Parse(VeJson&) {}

int VeJsonShopping::Execute() { return 0; }
