#pragma once
#include "scenes/base/VeBasicService.h"

class TppSceneOther : public VeBasicService {
public:
    TppSceneOther() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};
