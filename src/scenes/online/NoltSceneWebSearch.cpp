#include "scenes/online/NoltSceneWebSearch.h"

void NoltSceneWebSearch::Parse(VeJson&) {}

int NoltSceneWebSearch::Execute() { return 0; }
