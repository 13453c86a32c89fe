#include "scenes/online/NoltSceneRc_4.h"

void NoltSceneRc_4::Parse(VeJson&) {}

int NoltSceneRc_4::Execute() { return 0; }
