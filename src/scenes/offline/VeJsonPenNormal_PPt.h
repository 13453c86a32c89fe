#pragma once
#include "scenes/base/VeBasicService.h"

// The laser-control slot of an online pen result in normal control.
class VeJsonPenNormal_PPt : public VeBasicService {
public:
    VeJsonPenNormal_PPt() : VeBasicService(LogType_Application) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdCommand;
};
