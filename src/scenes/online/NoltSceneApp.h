#pragma once
#include "scenes/online/NoltAppScene.h"

class NoltSceneApp : public NoltAppScene {
public:
    int Execute() override;
};
