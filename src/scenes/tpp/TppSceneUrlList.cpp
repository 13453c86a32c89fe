#include "scenes/tpp/TppSceneUrlList.h"

void TppSceneUrlList::Parse(VeJson&) {}

int TppSceneUrlList::Execute() { return 0; }
