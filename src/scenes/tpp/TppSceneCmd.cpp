#include "scenes/tpp/TppSceneCmd.h"

void TppSceneCmd::Parse(VeJson&) {}

int TppSceneCmd::Execute() { return 0; }
