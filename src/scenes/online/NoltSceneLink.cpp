#include "scenes/online/NoltSceneLink.h"

void NoltSceneLink::Parse(VeJson&) {}

int NoltSceneLink::Execute() { return 0; }
