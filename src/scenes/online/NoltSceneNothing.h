#pragma once
#include "scenes/online/NoltLocalScene.h"

class NoltSceneNothing : public NoltLocalScene {};
