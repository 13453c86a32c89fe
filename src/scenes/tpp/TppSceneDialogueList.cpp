#include "scenes/tpp/TppSceneDialogueList.h"

void TppSceneDialogueList::Parse(VeJson&) {}

int TppSceneDialogueList::Execute() { return 0; }
