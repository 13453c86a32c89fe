#pragma once
#include "scenes/online/NoltMessageScene.h"

class NoltSceneCmd : public NoltMessageScene {
public:
    NoltSceneCmd() : NoltMessageScene(LogType_Base) {}
    int Execute() override;
};
