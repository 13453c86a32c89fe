#include "scenes/semantic/media/VeJsonMusic.h"

void VeJsonMusic::Parse(VeJson&) {}

int VeJsonMusic::Execute() { return 0; }
