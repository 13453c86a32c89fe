#include "scenes/tpp/TppSceneNothing.h"

void TppSceneNothing::Parse(VeJson&) {}

int TppSceneNothing::Execute() { return 0; }
