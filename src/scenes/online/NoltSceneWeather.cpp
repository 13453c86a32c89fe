#include "scenes/online/NoltSceneWeather.h"

void NoltSceneWeather::Parse(VeJson&) {}

int NoltSceneWeather::Execute() { return 0; }
