#include "scenes/online/NoltSceneTrain.h"

void NoltSceneTrain::Parse(VeJson&) {}

int NoltSceneTrain::Execute() { return 0; }
