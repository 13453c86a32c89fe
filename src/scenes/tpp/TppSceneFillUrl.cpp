#include "scenes/tpp/TppSceneFillUrl.h"

void TppSceneFillUrl::Parse(VeJson&) {}

int TppSceneFillUrl::Execute() { return 0; }
