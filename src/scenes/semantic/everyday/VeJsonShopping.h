#pragma once
#include "scenes/base/VeBasicService.h"

// A commodity on the shopping site asked for, else on the default one.
class VeJsonShopping : public VeBasicService {
public:
    VeJsonShopping() : VeBasicService(LogType_Shopping) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdSite;
    std::string m_stdCommodity;
};
