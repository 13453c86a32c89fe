#include "scenes/semantic/everyday/VeJsonCookbook.h"

void VeJsonCookbook::Parse(VeJson&) {}

int VeJsonCookbook::Execute() { return 0; }
