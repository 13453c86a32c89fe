#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneNothing : public VeBasicService {
public:
    NoltSceneNothing() : VeBasicService(LogType_NotCarriedOut) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};
