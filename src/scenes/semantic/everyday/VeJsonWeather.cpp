#include "scenes/semantic/everyday/VeJsonWeather.h"

void VeJsonWeather::Parse(VeJson&) {}

int VeJsonWeather::Execute() { return 0; }
