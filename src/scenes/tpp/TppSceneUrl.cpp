#include "scenes/tpp/TppSceneUrl.h"

void TppSceneUrl::Parse(VeJson&) {}

int TppSceneUrl::Execute() { return 0; }
