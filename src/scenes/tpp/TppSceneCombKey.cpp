#include "scenes/tpp/TppSceneCombKey.h"

void TppSceneCombKey::Parse(VeJson&) {}

int TppSceneCombKey::Execute() { return 0; }
