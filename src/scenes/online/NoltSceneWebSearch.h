#pragma once
#include "scenes/online/NoltUrlScene.h"

class NoltSceneWebSearch : public NoltUrlScene {
public:
    NoltSceneWebSearch() : NoltUrlScene(LogType_WebSearch) {}

protected:
    int ExecuteWithoutMessage() override;
};
