#pragma once
#include "scenes/online/NoltAppScene.h"

class NoltSceneLink : public NoltAppScene {
public:
    int Execute() override;
};
