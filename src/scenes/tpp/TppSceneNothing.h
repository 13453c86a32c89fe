#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneNothing : public VeBasicService {
public:
    TppSceneNothing() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};
