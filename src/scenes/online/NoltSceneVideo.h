#pragma once
#include "scenes/online/NoltUrlScene.h"

class NoltSceneVideo : public NoltUrlScene {
public:
    NoltSceneVideo() : NoltUrlScene(LogType_Video) {}

protected:
    int ExecuteWithoutMessage() override;
};
