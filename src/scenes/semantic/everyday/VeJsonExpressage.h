#pragma once
#include "scenes/base/VeBasicService.h"

// Parcel tracking: the courier's own site, else the general tracking page.
class VeJsonExpressage : public VeBasicService {
public:
    VeJsonExpressage() : VeBasicService(LogType_Parcel) {}
    void Parse(VeJson& doc) override;
    int Execute() override;

    std::string m_stdCompany;
};
