#include "scenes/semantic/travel/VeJsonFlight.h"

void VeJsonFlight::Parse(VeJson&) {}

int VeJsonFlight::Execute() { return 0; }
