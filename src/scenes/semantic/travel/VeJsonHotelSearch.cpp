#include "scenes/semantic/travel/VeJsonHotelSearch.h"

void VeJsonHotelSearch::Parse(VeJson&) {}

int VeJsonHotelSearch::Execute() { return 0; }
