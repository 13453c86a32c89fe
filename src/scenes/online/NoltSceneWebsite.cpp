#include "scenes/online/NoltSceneWebsite.h"

void NoltSceneWebsite::Parse(VeJson&) {}

int NoltSceneWebsite::Execute() { return 0; }
