#pragma once
#include "scenes/online/NoltUrlScene.h"

class NoltSceneTrain : public NoltUrlScene {
public:
    NoltSceneTrain() : NoltUrlScene(LogType_Train) {}

protected:
    int ExecuteWithoutMessage() override;
};
