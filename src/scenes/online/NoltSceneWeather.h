#pragma once
#include "scenes/online/NoltUrlScene.h"

class NoltSceneWeather : public NoltUrlScene {
public:
    NoltSceneWeather() : NoltUrlScene(LogType_Weather) {}

protected:
    int ExecuteWithoutMessage() override;
};
