#pragma once
#include "scenes/base/VeBasicService.h"

class NoltSceneRc_4 : public VeBasicService {
public:
    NoltSceneRc_4() : VeBasicService(LogType_NotCarriedOut) {}
    void Parse(VeJson& doc) override;
    int Execute() override;
};
