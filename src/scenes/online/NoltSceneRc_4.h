#pragma once
#include "scenes/online/NoltLocalScene.h"

class NoltSceneRc_4 : public NoltLocalScene {};
