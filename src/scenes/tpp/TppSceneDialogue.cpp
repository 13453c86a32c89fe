#include "scenes/tpp/TppSceneDialogue.h"

void TppSceneDialogue::Parse(VeJson&) {}

int TppSceneDialogue::Execute() { return 0; }
