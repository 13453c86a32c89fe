#pragma once
#include "scenes/base/VeBasicService.h"

// A hot topic, opened like a web site name.
class VeJsonCurrentHot : public VeBasicService {
public:
    VeJsonCurrentHot() : VeBasicService(LogType_Website) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdValue;
    std::string m_stdNormValue;
};
