#include "scenes/tpp/TppSceneOffline.h"

void TppSceneOffline::Parse(VeJson&) {}

int TppSceneOffline::Execute() { return 0; }
