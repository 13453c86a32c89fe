#include "scenes/online/NoltSceneCmd.h"

void NoltSceneCmd::Parse(VeJson&) {}

int NoltSceneCmd::Execute() { return 0; }
