#include "scenes/semantic/everyday/VeJsonRestaurant.h"

void VeJsonRestaurant::Parse(VeJson&) {}

int VeJsonRestaurant::Execute() { return 0; }
