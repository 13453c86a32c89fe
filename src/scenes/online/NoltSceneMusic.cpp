#include "scenes/online/NoltSceneMusic.h"

void NoltSceneMusic::Parse(VeJson&) {}

int NoltSceneMusic::Execute() { return 0; }
