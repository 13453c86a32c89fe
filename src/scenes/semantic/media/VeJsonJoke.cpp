#include "scenes/semantic/media/VeJsonJoke.h"

void VeJsonJoke::Parse(VeJson&) {}

int VeJsonJoke::Execute() { return 0; }
