#include "scenes/semantic/travel/VeJsonHotel.h"

void VeJsonHotel::Parse(VeJson&) {}

int VeJsonHotel::Execute() { return 0; }
