#include "scenes/semantic/everyday/VeJsonTranslation.h"

void VeJsonTranslation::Parse(VeJson&) {}

int VeJsonTranslation::Execute() { return 0; }
