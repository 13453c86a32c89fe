#pragma once
#include "scenes/online/NoltUrlScene.h"

class NoltSceneMusic : public NoltUrlScene {
public:
    NoltSceneMusic() : NoltUrlScene(LogType_Music) {}

protected:
    int ExecuteWithoutMessage() override;
};
