#include "scenes/online/NoltSceneApp.h"

void NoltSceneApp::Parse(VeJson&) {}

int NoltSceneApp::Execute() { return 0; }
