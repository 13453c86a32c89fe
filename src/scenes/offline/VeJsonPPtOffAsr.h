#pragma once
#include "scenes/base/VeBasicService.h"

// A pen command in slide-show control, carried out by the local command engine.
class VeJsonPPtOffAsr : public VeBasicService {
public:
    VeJsonPPtOffAsr() : VeBasicService(LogType_Base) {}
    void Parse(VeJson&) override {}
    int Execute() override;
};
