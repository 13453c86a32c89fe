#pragma once
// The replies whose "message" is the page the service chose; each scene says what an empty
// message falls back to.
#include "scenes/online/NoltMessageScene.h"

class NoltUrlScene : public NoltMessageScene {
public:
    int Execute() final;

protected:
    using NoltMessageScene::NoltMessageScene;
    virtual int ExecuteWithoutMessage() = 0;
};
