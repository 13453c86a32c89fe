#include "scenes/tpp/TppSceneEntity.h"

void TppSceneEntity::Parse(VeJson&) {}

int TppSceneEntity::Execute() { return 0; }
