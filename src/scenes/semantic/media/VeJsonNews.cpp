#include "scenes/semantic/media/VeJsonNews.h"

void VeJsonNews::Parse(VeJson&) {}

int VeJsonNews::Execute() { return 0; }
