#include "scenes/semantic/media/VeJsonDrama.h"

void VeJsonDrama::Parse(VeJson&) {}

int VeJsonDrama::Execute() { return 0; }
