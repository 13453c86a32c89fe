#include "scenes/tpp/TppSceneApp.h"

void TppSceneApp::Parse(VeJson&) {}

int TppSceneApp::Execute() { return 0; }
