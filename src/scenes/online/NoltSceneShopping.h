#pragma once
#include "scenes/online/NoltUrlScene.h"

class NoltSceneShopping : public NoltUrlScene {
public:
    NoltSceneShopping() : NoltUrlScene(LogType_Shopping) {}

protected:
    int ExecuteWithoutMessage() override;
};
