#pragma once
#include "scenes/base/VeBasicService.h"

// An offline grammar result: a site request or a Windows function, without its "打开".
class VeJsonOffAsr : public VeBasicService {
public:
    VeJsonOffAsr() : VeBasicService(LogType_Base) {}
    void Parse(VeJson&) override {}
    int Execute() override;
};
