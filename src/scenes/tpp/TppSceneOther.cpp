#include "scenes/tpp/TppSceneOther.h"

void TppSceneOther::Parse(VeJson&) {}

int TppSceneOther::Execute() { return 0; }
