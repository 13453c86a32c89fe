#pragma once
#include "scenes/base/VeBasicService.h"

// The laser-control slot of an online pen result in slide-show control.
class VeJsonPPtOnLine : public VeBasicService {
public:
    VeJsonPPtOnLine() : VeBasicService(LogType_Base) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdCommand;
};
