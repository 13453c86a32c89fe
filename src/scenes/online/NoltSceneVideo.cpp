#include "scenes/online/NoltSceneVideo.h"

void NoltSceneVideo::Parse(VeJson&) {}

int NoltSceneVideo::Execute() { return 0; }
