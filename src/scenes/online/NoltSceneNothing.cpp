#include "scenes/online/NoltSceneNothing.h"

void NoltSceneNothing::Parse(VeJson&) {}

int NoltSceneNothing::Execute() { return 0; }
