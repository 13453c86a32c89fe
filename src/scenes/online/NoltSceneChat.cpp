#include "scenes/online/NoltSceneChat.h"

void NoltSceneChat::Parse(VeJson&) {}

int NoltSceneChat::Execute() { return 0; }
