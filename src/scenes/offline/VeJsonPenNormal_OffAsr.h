#pragma once
#include "scenes/base/VeBasicService.h"

// A pen command in normal control, carried out by the local command engine.
class VeJsonPenNormal_OffAsr : public VeBasicService {
public:
    VeJsonPenNormal_OffAsr() : VeBasicService(LogType_Base) {}
    void Parse(VeJson&) override {}
    int Execute() override;
};
