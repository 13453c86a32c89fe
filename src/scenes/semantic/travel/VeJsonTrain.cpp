#include "scenes/semantic/travel/VeJsonTrain.h"

void VeJsonTrain::Parse(VeJson&) {}

int VeJsonTrain::Execute() { return 0; }
